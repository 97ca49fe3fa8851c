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

private:
    QPlainTextEdit* TextYardim;
    QLabel* LblBilgi;
    QLabel* Label3;
    QLabel* ImgLogo;
    QPushButton* CmdTamam;

    void Form_Load(QWidget* mainWindow, const QString& wordFilePath);
};
