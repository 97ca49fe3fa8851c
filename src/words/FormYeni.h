#pragma once

#include "words/WordDef.h"

#include <QDialog>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace ModVokabo {
class WordStore;
}

// Each line break (CR LF, CR or LF) of text as one blank.
QString lineBreaksToBlanks(QString text);

// The dialog in which a new word is typed, or the word on the main list's
// selected line is corrected.
class FormYeni : public QDialog {
    Q_OBJECT
public:
    // The word the dialog corrects.
    struct Edited {
        ModVokabo::WordListKind list;
        int index;
    };

    // Adds a new word to the active list, or, given one, corrects that word.
    FormYeni(ModVokabo::WordStore& words, std::optional<Edited> edited, QWidget* parent);

    void CmdEkle_Click();

    QLineEdit* TextEnglish;
    QLineEdit* TextTurkish;
    QLineEdit* TextOrnek;
    QPushButton* CmdEkle;
    QPushButton* CmdIptal;

private:
    void Form_Load();

    ModVokabo::WordStore& words_;
    const std::optional<Edited> edited_;
};
