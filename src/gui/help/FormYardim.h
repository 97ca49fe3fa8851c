#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// "Program Hakkında": the user guide, the product line and who to write to.
class FormYardim : public QDialog {
    Q_OBJECT
public:
    // Owned by mainWindow, modal; shows mainWindow's icon, and where the
    // words are kept.
    FormYardim(QWidget* mainWindow, const QString& wordFile);

    // The guide as the window shows it: blocks parted by an empty line, each
    // heading directly above its paragraph, lines ended by CR LF.
    static QString helpText();

    QPlainTextEdit* TextYardim;
    QLabel* LblBilgi;
    QLabel* Label3;
    QLabel* ImgLogo;
    QPushButton* CmdTamam;

private:
    void Form_Load(QWidget* mainWindow, const QString& wordFilePath);
};
