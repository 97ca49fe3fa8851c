#pragma once

#include "words/ModVokabo.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <functional>
#include <memory>
#include <variant>

class QSqlDatabase;
class QSqlError;
class QTimer;

// Every answer the learner gives, and every change of a word's list, kept
// in an SQLite file beside the word file, so that a program kept on a USB
// stick keeps its history too.
namespace History {

inline const QString FileName = QStringLiteral("vokabo-gecmis.sqlite");

// The history file that belongs to a word file.
QString pathBeside(const QString& wordFilePath);

// A word's key in the history: the same for the same word and meaning,
// whatever its example sentence says, on every machine.
qint64 wordKey(const QString& English, const QString& Turkish);

enum class Direction { WordToMeaning, MeaningToWord };

// One answered question.
struct Answer {
    QDateTime moment; // when it was judged
    QString English;  // the asked word and its meaning, as they were then
    QString Turkish;
    Direction direction = Direction::WordToMeaning;
    int choices = 0;
    bool right = false;
    int slot = 0;          // the answer clicked, from 1 (lettered a)
    qint64 msToAnswer = 0; // from the answers showing to the click
    bool askedFor = false; // the user asked for it; else it came by itself
    // A wrong answer: the word whose answer was chosen, as it was then.
    QString chosenEnglish{};
    QString chosenTurkish{};
    bool operator==(const Answer&) const = default;
};

// One answer of the file as the words read now, for those who go through
// every answer.
struct StoredAnswer {
    qint64 word = 0;   // the asked word's key, as it reads after every edit
    qint64 chosen = 0; // the key of the word whose answer was chosen; 0 for none
    qint64 moment = 0; // milliseconds since 1970 (UTC)
    qint64 day = 0;    // the learner's own date then, as a Julian day
    int choices = 0;
    bool right = false;
};

// How a word's list changed. Read: the lists were found at other sizes
// than the history last knew (the word file was read, or changed outside).
enum class ListChange { Added, Edited, Deleted, ToPassive, ToActive, Read };

// What the progress window shows.
struct DayCount {
    QDate day;
    int right = 0;
    int wrong = 0;
};
struct ListSizes {
    QDate day; // the sizes at the end of that day
    int active = 0;
    int passive = 0;
};
struct WrongWord {
    QString English; // as the word reads now, after any edits
    QString Turkish;
    int wrong = 0;
};
struct Figures {
    QList<DayCount> days;       // every day of the period, oldest first
    QList<ListSizes> lists;     // each day the lists changed, oldest first
    int streak = 0;             // days in a row with a right answer, up to today
    QList<WrongWord> mostWrong; // most often wrong in the period first
};

inline constexpr int FigureDays = 30;
inline constexpr int MostWrongCount = 10;

// The one owner of the history while the program runs, created in main.
// Writing never fails for the caller: what cannot be written yet waits in
// memory and goes in with the next answer. A file that is damaged or cannot
// be written is moved aside and a new one started; where that is
// impossible, the history of this session is kept in memory.
class AnswerHistory : public QObject {
    Q_OBJECT
public:
    // path: the database file; empty keeps the history in memory only.
    explicit AnswerHistory(const QString& path, QObject* parent = nullptr);
    ~AnswerHistory() override;

    // Opens (or creates, or brings up to date) the file; what was recorded
    // before goes in now.
    void open();
    QString path() const { return path_; }
    // False while the history lives in memory only (and before open()).
    bool keptInFile() const { return where_ == Where::File; }

    // From now on records the store's list changes as it makes them.
    void follow(const ModVokabo::WordStore& store);

    // Records an answer as it is judged.
    void record(const Answer& answer);

    // A word's answers, oldest first, through every edit of its word or
    // meaning.
    QList<Answer> answersOf(const ModVokabo::WordDef& word);
    // Each word's answers, in the list's order, read in one pass.
    QList<QList<Answer>> answersOf(const ModVokabo::WordList& words);

    // The figures of the days up to today.
    Figures figures(const QDate& today, int days = FigureDays);

    // Every answer as CSV (UTF-8 with a byte-order mark, ";", a header row),
    // for spreadsheets. An empty text, or why it failed. A history kept in
    // a file is better exported away from the window's thread, with the
    // function below.
    QString exportCsv(const QString& csvPath);

signals:
    // An answer was judged (said before it reaches the file).
    void answered(const History::Answer& answer);
    // An answer or a list change reached the file (or memory).
    void recorded();
    // Something the user should hear of, once a session for each title.
    void trouble(const QString& title, const QString& text);

private:
    friend bool readAnswers(const QString& historyPath,
                            const std::function<bool(const StoredAnswer&)>& each);
    // Waiting: there is no file yet; the first answer or change of a list
    // makes it.
    enum class Where { NotOpen, Waiting, File, Memory };
    bool connected() const { return where_ == Where::File || where_ == Where::Memory; }
    struct Change {
        QDateTime moment;
        ListChange kind;
        ModVokabo::WordListKind list;
        ModVokabo::WordDef before;
        ModVokabo::WordDef after;
        int active = 0;
        int passive = 0;
    };
    using Entry = std::variant<Answer, Change>;
    struct Statements;
    // Words joined by edits are one word: its ids, and the id it reads as now.
    struct Identities {
        QHash<qint64, qint64> group;   // id -> the group's first id
        QHash<qint64, qint64> current; // group -> the latest id
        qint64 groupOf(qint64 id) const { return group.value(id, id); }
        qint64 currentOf(qint64 id) const { return current.value(groupOf(id), id); }
    };

    static Identities identitiesIn(const QSqlDatabase& db, QSqlError* failure);
    bool openConnection(const QString& name, QString* reason);
    // The file, else a new one in place of a damaged one, else memory.
    void openPath();
    bool openFile(QString* reason, bool* damaged);
    void openInMemory(const QString& why);
    void closeConnection();
    bool prepare(QString* reason);
    QString moveAside();
    void replaceDamaged(const QString& reason);
    void flush();
    bool writePending(QSqlError* failure);
    bool write(const Answer& answer);
    bool write(const Change& change);
    qint64 wordId(const QString& English, const QString& Turkish);
    // After a failed read: a damaged file is replaced.
    void readFailed(const QSqlError& error);
    Identities identities();
    QList<qint64> idsOf(const ModVokabo::WordDef& word, const Identities& ids);
    // The lists' sizes, where they differ from those last recorded.
    void noteListSizes();
    void listChanged(ListChange kind, ModVokabo::WordListKind list,
                     const ModVokabo::WordDef& before, const ModVokabo::WordDef& after);
    void tellOnce(const QString& title, const QString& text);
    void checkpoint();

    QString path_;
    QString connection_;
    Where where_ = Where::NotOpen;
    std::unique_ptr<Statements> st_;
    QHash<qint64, qint64> wordIds_; // key -> id
    QList<Entry> pending_;
    const ModVokabo::WordStore* store_ = nullptr;
    int lastActive_ = -1;
    int lastPassive_ = -1;
    QSet<QString> told_;
    // Folds the log into the file while the learner does not answer.
    QTimer* checkpointSoon_;
};

// The same for the history file at historyPath, on a connection of its own
// that only reads: it may run on any thread.
QString exportCsv(const QString& historyPath, const QString& csvPath);

// Every answer in the history file at historyPath, oldest first, on a
// connection of its own that only reads: it may run on any thread. Stops
// when each returns false. False when the file could not be read.
bool readAnswers(const QString& historyPath, const std::function<bool(const StoredAnswer&)>& each);

// The learner's day of a moment, as the history counts days.
qint64 dayOf(const QDateTime& moment);

} // namespace History
