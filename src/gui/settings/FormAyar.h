#pragma once

#include <QDialog>
#include <QLocale>

class BevelLine;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class SettingsRecord;
class Speech;

// "Program Ayarları": shows the settings record; "Tamam" stores every setting,
// creates or removes the entry that starts the program at logon; the main
// window, following the record, goes on top or not at once. "İptal" and Esc change nothing.
class FormAyar : public QDialog {
    Q_OBJECT
public:
    // Modal, owned by parent; shows the settings and stores them on "Tamam".
    // The speech service tells which languages the words may have.
    FormAyar(SettingsRecord& settings, Speech& speech, QWidget* parent);

    void CheckSoru_Click();
    void CmdTamam_Click();
    void CmdIptal_Click();

    void done(int result) override;

private:
    QCheckBox* CheckOto;
    QCheckBox* CheckUstte;
    BevelLine* BevelLine1;
    QCheckBox* CheckSoru;
    QGroupBox* Frame1;
    QLabel* LblPeriyot;
    QComboBox* ComboPeriyot;
    QLabel* LblSecenek;
    QComboBox* CmbSecenek;
    QLabel* LblLimit;
    QComboBox* CmbLimit;
    QLabel* LblQuestion;
    QComboBox* CmbQuestion;
    QGroupBox* Frame3;
    QRadioButton* OptSor[2];
    QPushButton* CmdTamam;
    QPushButton* CmdIptal;

    void Form_Load();
    // Creates the entry that starts the program at logon; on failure, with
    // ShowErrors, says so in message boxes.
    bool CreateStartupShortcut(bool ShowErrors);
    // Removes that entry; what to tell the user when it stays, else empty.
    QString RemoveStartupShortcut();
    // Puts the buttons under the last row and ends the dialog below them.
    void placeButtonsBelow(const QWidget* last);
    // The languages the speech service has voices for, and the one chosen.
    void fillLanguages(QLocale::Language chosen);

    SettingsRecord& settings_;
    Speech& speech_;
    QGroupBox* Frame4;
    QCheckBox* CheckSeslendir;
    QLabel* LblDil;
    QComboBox* CmbDil;
    QCheckBox* CheckAkilli;
    // Closed while a message box of "Tamam" was open (the program is ending).
    bool closed_ = false;
};
