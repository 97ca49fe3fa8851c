#pragma once

#include "history/AnswerHistory.h"
#include "platform/MsgBox.h"
#include "platform/Speech.h"
#include "settings/Settings.h"
#include "words/ModVokabo.h"

#include <QList>
#include <QString>
#include <QTemporaryDir>

// A child of parent by its object name; a test cannot go on without it.
template <typename Child = QObject> Child* part(const QObject& parent, const QString& name) {
    auto* found = parent.findChild<Child*>(name);
    if (!found)
        qFatal("%s has no %s", qPrintable(parent.objectName()), qPrintable(name));
    return found;
}

// Answers message boxes from a script and records what was asked.
class ScriptedMsgBox {
public:
    struct Asked {
        QString prompt;
        int style;
        QString title;
    };

    ScriptedMsgBox();
    ~ScriptedMsgBox();
    ScriptedMsgBox(const ScriptedMsgBox&) = delete;
    ScriptedMsgBox& operator=(const ScriptedMsgBox&) = delete;

    // Answers in order; once they run out, the first button of the set.
    void answer(std::initializer_list<MsgBoxResult> answers);
    const QList<Asked>& asked() const { return asked_; }

private:
    QList<MsgBoxResult> answers_;
    QList<Asked> asked_;
    MsgBoxHandler previous_;
};

// Records what the word store says of its loads and saves.
class RecordingProgress : public QObject {
public:
    explicit RecordingProgress(const ModVokabo::WordStore& store);
    qint64 max() const { return max_; }

    QStringList statusTexts;
    QList<qint64> values;
    int finished = 0;

private:
    qint64 max_ = 0;
};

// The speech service as a test sets it up (not there, until it becomes()
// something else); records what the windows ask it to read, ready or not.
class RecordingSpeech : public Speech {
public:
    struct Said {
        QString text;
        QLocale::Language language;
        bool operator==(const Said&) const = default;
    };

    void start() override { ++starts; }
    State state() const override { return state_; }
    QList<QLocale::Language> languages() const override { return languages_; }
    void say(const QString& text, QLocale::Language language) override {
        said.append({text, language});
    }
    void becomes(State state, const QList<QLocale::Language>& languages = {});

    int starts = 0;
    QList<Said> said;

private:
    State state_ = State::Unavailable;
    QList<QLocale::Language> languages_;
};

// A program that has just started: empty lists, default state, a word file
// path and a settings store inside a fresh temporary folder.
class FreshProgram {
public:
    FreshProgram();
    ~FreshProgram();
    QString dir() const { return dir_.path(); }
    QString wordFile() const;
    void writeWordFile(const QByteArray& bytes) const;
    QByteArray readWordFile() const;
    // Its settings record, read from nothing yet: every value zero.
    SettingsRecord& settings() { return settings_; }
    // Its word store, loaded from nothing yet: both lists empty.
    ModVokabo::WordStore& words() { return words_; }
    // Its answer history beside the word file, following the store; not
    // opened yet.
    History::AnswerHistory& history() { return history_; }
    // Its speech service, not there until a test says otherwise.
    RecordingSpeech& speech() { return speech_; }
    // Writes the lists as the word file (UTF-8) and loads it. Both empty
    // load the sample words, as an empty file does.
    void loadWords(const ModVokabo::WordList& active, const ModVokabo::WordList& passive = {});

private:
    QTemporaryDir dir_;
    SettingsRecord settings_;
    ModVokabo::WordStore words_;
    History::AnswerHistory history_;
    RecordingSpeech speech_;
    QByteArray oldConfigHome_;
    QByteArray oldDataHome_;
};

ModVokabo::WordDef word(const QString& english, const QString& turkish = QStringLiteral("t"),
                        const QString& ornek = {}, qint16 dogru = 0);
