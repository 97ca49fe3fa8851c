#pragma once

#include "words/WordDef.h"

#include <QDialog>
#include <QLocale>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class Speech;
class SpeakerButton;

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
    // The speaker beside the word reads it in a voice of wordsLanguage.
    FormYeni(ModVokabo::WordStore& words, std::optional<Edited> edited, Speech& speech,
             QLocale::Language wordsLanguage, QWidget* parent);

    void CmdEkle_Click();
    void CmdSeslendir_Click();

private:
    void Form_Load();

    QLineEdit* TextEnglish;
    QLineEdit* TextTurkish;
    QLineEdit* TextOrnek;
    QPushButton* CmdEkle;
    QPushButton* CmdIptal;

    ModVokabo::WordStore& words_;
    const std::optional<Edited> edited_;
    Speech& speech_;
    const QLocale::Language wordsLanguage_;
    SpeakerButton* CmdSeslendir;
};
