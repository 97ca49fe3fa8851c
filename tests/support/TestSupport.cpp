#include "support/TestSupport.h"

#include "settings/Settings.h"

#include <QDir>
#include <QFile>
#include <utility>

ScriptedMsgBox::ScriptedMsgBox() {
    previous_ = setMsgBoxHandler([this](const QString& prompt, int style, const QString& title) {
        asked_.append({prompt, style, title});
        if (!answers_.isEmpty())
            return answers_.takeFirst();
        return firstButton(style);
    });
}

ScriptedMsgBox::~ScriptedMsgBox() {
    setMsgBoxHandler(std::move(previous_));
}

void ScriptedMsgBox::answer(std::initializer_list<MsgBoxResult> answers) {
    answers_ = answers;
}

RecordingProgress::RecordingProgress(const ModVokabo::WordStore& store) {
    connect(&store, &ModVokabo::WordStore::fileWorkBegun, this,
            [this](const QString& text) { statusTexts.append(text); });
    connect(&store, &ModVokabo::WordStore::fileWorkProgressed, this,
            [this](qint64 done, qint64 max) {
                values.append(done);
                max_ = max;
            });
    connect(&store, &ModVokabo::WordStore::fileWorkEnded, this, [this] { ++finished; });
}

void RecordingSpeech::becomes(State state, const QList<QLocale::Language>& languages) {
    state_ = state;
    languages_ = languages;
    emit stateChanged();
}

FreshProgram::FreshProgram()
    : words_(QDir(dir_.path()).filePath(QStringLiteral("vokabo.txt")), QString()),
      history_(History::pathBeside(words_.wordFilePath())),
      oldConfigHome_(qgetenv("XDG_CONFIG_HOME")), oldDataHome_(qgetenv("XDG_DATA_HOME")) {
    history_.follow(words_);
    qputenv("XDG_CONFIG_HOME", QDir(dir_.path()).filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_DATA_HOME", QDir(dir_.path()).filePath(QStringLiteral("data")).toUtf8());
}

FreshProgram::~FreshProgram() {
    qputenv("XDG_CONFIG_HOME", oldConfigHome_);
    qputenv("XDG_DATA_HOME", oldDataHome_);
}

QString FreshProgram::wordFile() const {
    return QDir(dir_.path()).filePath(QStringLiteral("vokabo.txt"));
}

void FreshProgram::writeWordFile(const QByteArray& bytes) const {
    QFile file(wordFile());
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

void FreshProgram::loadWords(const ModVokabo::WordList& active,
                             const ModVokabo::WordList& passive) {
    QString text;
    for (const ModVokabo::WordDef& w : active)
        WordFile::appendLine(text, w, u'A');
    for (const ModVokabo::WordDef& w : passive)
        WordFile::appendLine(text, w, u'P');
    writeWordFile(text.toUtf8());
    words_.LoadWordFile();
}

QByteArray FreshProgram::readWordFile() const {
    QFile file(wordFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

ModVokabo::WordDef word(const QString& english, const QString& turkish, const QString& ornek,
                        qint16 dogru) {
    return {english, turkish, ornek, dogru};
}
