#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QAbstractItemModel;
class QPushButton;

// Each line break (CR LF, CR or LF) of text as one blank.
QString lineBreaksToBlanks(QString text);

// The dialog in which a new word is typed, or the word on the main list's
// selected line is corrected.
class FormYeni : public QDialog {
    Q_OBJECT
public:
    // Set by the opener before the dialog is shown. Duzenleme: edit the word
    // on line Index of the main list; otherwise add a new word. Every close
    // sets Duzenleme back to false.
    static bool Duzenleme;
    static int Index;

    // List1Lines: the lines of the main window's list, each with its record's
    // position in the shown list.
    FormYeni(const QAbstractItemModel* List1Lines, QWidget* parent);

    void CmdEkle_Click();

    QLineEdit* TextEnglish;
    QLineEdit* TextTurkish;
    QLineEdit* TextOrnek;
    QPushButton* CmdEkle;
    QPushButton* CmdIptal;

    void done(int result) override;

private:
    void Form_Load();

    const QAbstractItemModel* List1_;
    int RecordIndex = 0;
};
