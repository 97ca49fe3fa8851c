#pragma once

#include "words/WordDef.h"
#include "words/WordFile.h"

#include <QString>

// The vocabulary: the active and passive word lists, the word file, and the
// operations that change them.
namespace ModVokabo {

extern WordList ActiveWords;
extern WordList PassiveWords;
// Set by every change made on the user's behalf; the word file is saved at
// exit only when it is true.
extern bool WordsChanged;
// "A" or "P": the list the main window shows.
extern QString ShownList;

// --- What the store needs from the screen; the GUI installs real ones. ---

class ProgressView {
public:
    virtual ~ProgressView() = default;
    virtual void begin(const QString& statusText, qint64 max) = 0;
    virtual void setMax(qint64 max) = 0;
    virtual qint64 max() const = 0;
    virtual void UpdateStatus(qint64 Deger) = 0;
    virtual void finish() = 0;
};

struct ListLine {
    QString text;
    int index; // the record's position in the shown list
};

class WordListView {
public:
    virtual ~WordListView() = default;
    virtual void showWordList(const QString& caption, QList<ListLine> lines) = 0;
};

void setProgressView(ProgressView* view);
void setWordListView(WordListView* view);

// --- Lists ---

WordList& listFor(const QString& status);
WordList GetWordList(const QString& status);
void SetWordList(const QString& status, const WordList& list);
void RemoveWordAt(WordList& list, int index);
int AppendWord(const QString& English, const QString& Turkish, const QString& Ornek, qint16 Dogru,
               const QString& status);

// --- Single words ---

void GetWord(const QString& status, int index, QString& English, QString& Turkish, QString& Ornek);
void UpdateWord(const QString& status, int index, const QString& English, const QString& Turkish,
                const QString& Ornek);
void SetWordDogru(const QString& status, int index, qint16 Dogru);
bool DeleteWordAsk(int index, bool ask);
bool ToggleWordAsk(const QString& status, int index, bool ask);
bool MoveToPassive(int index);
bool MoveToActive(int index);

// --- The word file ---

// How a load or a save went; the window reports a failure.
struct FileOutcome {
    bool ok = true;
    QString path;
    QString reason; // in Turkish, or the system's own words for a failure
    // False when trying again cannot work, whatever the user does meanwhile.
    bool retryMayHelp = true;
};

// Where the word file is written; set once at start-up. While it does not
// exist yet, the first load reads startFrom instead. The one-argument form
// starts from the program folder's own file when the word file lives
// elsewhere.
void setWordFilePath(const QString& path);
void setWordFilePath(const QString& path, const QString& startFrom);
QString wordFilePath();
WordFile::Encoding wordFileEncoding();

// Fills both lists from the word file, or seeds the sample words. A file that
// exists but cannot be read yields no words and a failed outcome, and is
// never written over.
FileOutcome LoadWordFile();
// Rewrites the word file atomically: afterwards it holds either the old
// content or the new, whole. A failure is returned, never hidden.
FileOutcome SaveWordFile();
void FillWordList(const QString& status);

// Back to the state of a program that has just started.
void resetState();

} // namespace ModVokabo
