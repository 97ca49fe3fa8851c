#pragma once

#include "words/WordDef.h"
#include "words/WordFile.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QFileSystemWatcher;
class QThread;
class QTimer;

// The vocabulary: the active and passive word lists, the word file, and the
// operations that change them.
namespace ModVokabo {

// How a load or a save went; the window reports a failure.
struct FileOutcome {
    bool ok = true;
    QString path;
    QString reason; // in Turkish, or the system's own words for a failure
    // False when trying again cannot work, whatever the user does meanwhile.
    bool retryMayHelp = true;
    // The save found a word file that another program changed since this
    // one last read or wrote it, and left it alone.
    bool changedOnDisk = false;
    // The load found lines in two encodings (each was read in its own): how
    // many were in the other one. The next save writes UTF-8 throughout.
    qint64 linesInOtherEncoding = 0;
    // A load while the program held words found no word in the file, or could
    // not read it: the words stayed as they were.
    bool wordsKept = false;
};

// The file beside the word file where lines that the reader could not take
// are kept, so that no save loses them.
inline const QString SetAsideFileName = QStringLiteral("vokabo-okunamayan.txt");

// The word store: the one owner of both lists while the program runs,
// created in main and handed to the windows that show or change words. Every
// change goes through it; it marks itself changed and says so.
class WordStore : public QObject {
    Q_OBJECT
public:
    // What a change touched: the texts or the membership of a list (what the
    // main list shows), or only a word's count.
    enum class Change { Lines, Count };
    Q_ENUM(Change)

    // path: where the word file is written. While it does not exist yet, the
    // first load reads startFrom instead.
    WordStore(const QString& path, const QString& startFrom, QObject* parent = nullptr);
    // Starts from the program folder's own word file when the word file lives
    // elsewhere.
    explicit WordStore(const QString& path, QObject* parent = nullptr);
    ~WordStore() override;

    // --- Lists ---

    const WordList& words(WordListKind list) const;
    const WordDef& GetWord(WordListKind list, int index) const;
    // Returns the new word's position.
    int AppendWord(const WordDef& word, WordListKind list);
    // Many words as one change: those who follow the store hear of it once.
    void AppendWords(const WordList& words, WordListKind list);
    // Takes back words that AppendWords added, while the list still ends
    // with them as they were added; false, and nothing changes, otherwise.
    bool RemoveAppendedWords(const WordList& words, WordListKind list);
    void UpdateWord(WordListKind list, int index, const QString& English, const QString& Turkish,
                    const QString& Ornek);
    void SetWordDogru(WordListKind list, int index, qint16 Dogru);
    void DeleteWord(WordListKind list, int index);
    // Moves the word to the end of the other list, with its count.
    void ToggleWord(WordListKind list, int index);
    bool MoveToPassive(int index);
    bool MoveToActive(int index);

    // Changed since the last load or save: the word file would be saved at
    // exit.
    bool WordsChanged() const { return changed_; }

    // --- The word file ---

    QString wordFilePath() const { return path_; }
    WordFile::Encoding wordFileEncoding() const { return encoding_; }

    // Fills both lists from the word file, or seeds the sample words. A file
    // that exists but cannot be read yields no words and a failed outcome,
    // and is never written over. Once the lists hold words, a file without a
    // word or one that cannot be read leaves them as they are: the words are
    // not given up for the samples or for nothing. Runs on this thread.
    FileOutcome LoadWordFile();
    // What a save does with a word file another program changed meanwhile.
    enum class OutsideChanges { Keep, Overwrite };
    // Whether a save shows its progress: a save the user waits for does, one
    // made while he works does not.
    enum class Progress { Shown, Hidden };
    // Rewrites the word file atomically: afterwards it holds either the old
    // content or the new, whole. A failure is returned, never hidden; the
    // words stay marked changed then. A file changed by another program since
    // the last load or save is kept unless overwriting is asked for; the
    // save tells it by the file's size and time and by what the last look
    // found, without reading the file. Lines the last load could not read
    // are first added to the set-aside file. Runs on this thread.
    FileOutcome SaveWordFile(OutsideChanges outside = OutsideChanges::Keep,
                             Progress progress = Progress::Shown);

    // The same two on a thread of their own, for a caller that must not
    // wait: loaded() or saved() follows, from the event loop or from
    // finishFileWork(). The lists are the store's all the while; a change
    // made during a save keeps the words marked changed.
    void loadInBackground();
    // The save's number, which its saved() carries.
    quint64 saveInBackground(OutsideChanges outside = OutsideChanges::Keep,
                             Progress progress = Progress::Shown);
    bool fileWorkRunning() const { return job_ != nullptr; }
    // Waits up to waitMs (-1: as long as it takes) for the work under way;
    // once it is done, its signal has been given here. False when it still
    // runs.
    bool finishFileWork(int waitMs = -1);

    // Writes both lists, in UTF-8, to a new file beside the word file or in
    // the user's data folder: the words' last refuge when the word file
    // cannot take them and nobody can be asked. The path written, or empty.
    QString saveRescueCopy();
    // Copies saveRescueCopy left behind that are newer than the word file.
    QStringList rescueCopies() const;

    // The word file on disk against what was last read or written here.
    enum class OnDisk { AsSeen, Changed, Emptied, Removed, Unreadable };
    Q_ENUM(OnDisk)
    // Follows the word file on disk from now on: each change by another
    // program is looked at away from the UI thread, and said by changedOnDisk.
    void watchWordFile();
    // Looks at the word file away from the UI thread; changedOnDisk or
    // diskAsSeen follows.
    void lookAtDisk();
    // Looks at once, on this thread: for the end of the program, which
    // cannot wait.
    OnDisk lookAtDiskNow();
    // Lines of the word file the last load could not read, not yet kept in
    // the set-aside file.
    const QStringList& unreadLines() const { return unread_; }

signals:
    // A list changed, by the user or by a load.
    void changed(ModVokabo::WordListKind list, ModVokabo::WordStore::Change what);
    // Which words of a list a change touched, said before its changed(), by
    // their positions: count words appended from first on; count words taken
    // out from first on (those after them moved up); the texts of one word;
    // every word (a load).
    void rowsAppended(ModVokabo::WordListKind list, int first, int count);
    void rowsRemoved(ModVokabo::WordListKind list, int first, int count);
    void rowEdited(ModVokabo::WordListKind list, int index);
    void listReplaced(ModVokabo::WordListKind list);
    // The same changes word by word, for those who follow each word (the
    // answer history); each comes just before its changed().
    void wordsAdded(ModVokabo::WordListKind list, const ModVokabo::WordList& words);
    void wordEdited(ModVokabo::WordListKind list, const ModVokabo::WordDef& before,
                    const ModVokabo::WordDef& after);
    void wordsDeleted(ModVokabo::WordListKind list, const ModVokabo::WordList& words);
    void wordMoved(ModVokabo::WordListKind from, const ModVokabo::WordDef& word);
    // The word file on disk is no longer the one last read or written here.
    void changedOnDisk(ModVokabo::WordStore::OnDisk what);
    // A look found the word file as it was last read or written here.
    void diskAsSeen();
    // A save kept count unreadable lines in the set-aside file.
    void linesSetAside(int count, const QString& path);
    // A load or a save the user may wait for: what it does, how far it has
    // come (of max steps, which may grow), and its end.
    void fileWorkBegun(const QString& statusText);
    void fileWorkProgressed(qint64 done, qint64 max);
    void fileWorkEnded();
    // What loadInBackground() and saveInBackground() came to.
    void loaded(const ModVokabo::FileOutcome& outcome);
    void saved(quint64 save, const ModVokabo::FileOutcome& outcome);

private:
    // The word file as last read or written: what a save may replace.
    struct DiskState {
        bool exists = false;
        qint64 size = 0;
        QDateTime modified;
        size_t hash = 0;
    };
    // content: what the file holds, as read or as just written.
    static DiskState diskStateOf(const QString& path, QByteArrayView content);
    // Whether the file's size and time are still those seen.
    static bool sameSizeAndTime(const QString& path, const DiskState& seen);
    struct Look {
        OnDisk what = OnDisk::AsSeen;
        // The file as found: what is seen from now on when it is as seen.
        DiskState state;
        bool hasWord = false;
    };
    // Reads the word file and tells how it stands against what was seen.
    static Look lookAt(const QString& path, const DiskState& seen);
    class Steps;
    // What a load read, and what a save wrote, away from the lists.
    struct Loaded;
    struct Written;
    struct SaveJob;
    static Loaded readWordFile(const QString& path, const QString& startFrom,
                               WordFile::Encoding encoding, Steps& steps);
    static Written writeWordFile(const SaveJob& job, Steps& steps);
    FileOutcome applyLoad(Loaded& loaded);
    FileOutcome applySave(Written& written, quint64 revision);
    // The checks a save makes before it writes; a failed outcome stops it.
    FileOutcome mayWrite(OutsideChanges outside) const;
    SaveJob saveJob() const;
    // Runs work on a thread of its own; done applies its result here.
    // Its number. shown: its progress is told.
    quint64 startJob(std::function<void(Steps&)> work, std::function<void()> done, bool shown);
    void endJob();
    // Where the look's outcome becomes the store's, on its own thread.
    OnDisk apply(const Look& look);
    QStringList rescueFolders() const;
    QString setAsidePath() const;
    void checkDisk();
    // The watch sleeps while the program writes beside the word file itself.
    void pauseWatch();
    void resumeWatch();

    WordList& listOf(WordListKind list);
    void markChanged(WordListKind list, Change what);
    bool moveWord(WordListKind from, int index);

    WordList active_;
    WordList passive_;
    bool changed_ = false;
    // Counts the changes, so that a save knows whether one came meanwhile.
    quint64 revision_ = 0;
    // The lists hold the user's words (from a file, or changed by him), not
    // the samples a first start shows.
    bool usersWords_ = false;
    QString path_;
    QString startFrom_;
    WordFile::Encoding encoding_ = WordFile::Encoding::Windows1254;
    // The file was there but could not be read: writing would destroy words
    // that were never loaded.
    bool unreadable_ = false;
    QString unreadableReason_;
    DiskState seen_;
    // What the last look at the word file found.
    OnDisk onDisk_ = OnDisk::AsSeen;
    // Counts the program's own loads and saves: a look begun before one of
    // them tells nothing about the file afterwards.
    int generation_ = 0;
    QStringList unread_;
    QFileSystemWatcher* watcher_ = nullptr;
    QTimer* diskCheck_ = nullptr;
    // Where the word file is looked at, away from the UI thread.
    QThread* worker_ = nullptr;
    QObject* workerContext_ = nullptr;
    // The load or save under way on a thread of its own, and what applies
    // its result; jobs_ counts them, so that a finished one's late news is
    // known.
    std::unique_ptr<QThread> job_;
    std::function<void()> jobDone_;
    quint64 jobs_ = 0;
};

} // namespace ModVokabo
