#include "history/AnswerHistory.h"

#include "platform/Clock.h"
#include "words/WordExport.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>
#include <QTimeZone>
#include <QTimer>
#include <QtEndian>
#include <algorithm>

namespace History {

namespace {

// SQLite's primary result codes that the history acts on.
constexpr int SqlitePerm = 3;
constexpr int SqliteReadOnly = 8;
constexpr int SqliteCorrupt = 11;
constexpr int SqliteCantOpen = 14;
constexpr int SqliteNotADb = 26;
constexpr int SqliteShortRead = 522;

// How long after the last answer the log is folded into the file, and how
// large it may grow in a burst before a commit folds it itself (pages).
constexpr int CheckpointAfterMs = 3000;
constexpr int LargestLogPages = 4000;

// Each step brings the file from the version before it to its own; the
// first makes version 1 from nothing. A released step never changes: a new
// version adds a step, and every file, however old, walks up step by step.
const QList<QStringList>& migrations() {
    static const QList<QStringList> steps = {
        {
            QStringLiteral("CREATE TABLE words (id INTEGER PRIMARY KEY, key INTEGER NOT NULL "
                           "UNIQUE, english TEXT NOT NULL, turkish TEXT NOT NULL)"),
            // moment: milliseconds since 1970 in UTC; day: the learner's own
            // date then, as a Julian day; direction: 0 from the word to its
            // meaning, 1 the other way; slot from 1; ms: from the answers
            // showing to the click.
            QStringLiteral("CREATE TABLE answers (id INTEGER PRIMARY KEY, moment INTEGER NOT "
                           "NULL, day INTEGER NOT NULL, word INTEGER NOT NULL REFERENCES "
                           "words(id), direction INTEGER NOT NULL, choices INTEGER NOT NULL, "
                           "correct INTEGER NOT NULL, slot INTEGER NOT NULL, ms INTEGER NOT "
                           "NULL, asked INTEGER NOT NULL)"),
            QStringLiteral("CREATE INDEX answers_by_day ON answers (day, correct)"),
            QStringLiteral("CREATE INDEX answers_by_word ON answers (word)"),
            // list: 0 active, 1 passive, where the word stands afterwards (a
            // deleted word: where it stood); active, passive: the lists'
            // sizes afterwards.
            QStringLiteral("CREATE TABLE list_changes (id INTEGER PRIMARY KEY, moment INTEGER "
                           "NOT NULL, day INTEGER NOT NULL, kind TEXT NOT NULL, list INTEGER, "
                           "old_word INTEGER REFERENCES words(id), new_word INTEGER REFERENCES "
                           "words(id), old_example TEXT, new_example TEXT, active INTEGER NOT "
                           "NULL, passive INTEGER NOT NULL)"),
        },
        {
            // chosen: a wrong answer's word, the one whose answer was clicked.
            QStringLiteral("ALTER TABLE answers ADD COLUMN chosen INTEGER REFERENCES words(id)"),
        },
    };
    return steps;
}

const char* const ChangeNames[] = {"added", "edited", "deleted", "to passive", "to active", "read"};

const QString DamagedTitle = QStringLiteral("Cevap geçmişi yeniden başladı");
const QString InMemoryTitle = QStringLiteral("Cevap geçmişi yalnızca bellekte");
const QString WriteFailedTitle = QStringLiteral("Cevap geçmişi yazılamadı");

int resultCode(const QSqlError& error) {
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? code : -1;
}

// A file that trying again will not mend: it is moved aside.
bool unusableFile(const QSqlError& error) {
    const int code = resultCode(error);
    switch (code & 0xff) {
    case SqlitePerm:
    case SqliteReadOnly:
    case SqliteCorrupt:
    case SqliteCantOpen:
    case SqliteNotADb:
        return true;
    default:
        // The file ends before its pages do.
        return code == SqliteShortRead;
    }
}

QString reasonOf(const QSqlError& error) {
    return error.databaseText().isEmpty() ? error.text() : error.databaseText();
}

// Quoted where a spreadsheet would otherwise split or join it.
void appendField(QString& out, const QString& field) {
    if (!field.contains(u';') && !field.contains(u'"') && !field.contains(u'\r') &&
        !field.contains(u'\n')) {
        out += field;
        return;
    }
    out += u'"';
    out += QString(field).replace(u'"', QStringLiteral("\"\""));
    out += u'"';
}

// Local time as the learner read his clock, through the zone's own rules:
// the system's conversion looks at the time zone file at every call.
class LocalTimes {
public:
    QString text(qint64 msSinceEpoch) const {
        return QDateTime::fromMSecsSinceEpoch(msSinceEpoch, zone_).toString(u"yyyy-MM-dd HH:mm:ss");
    }

private:
    const QTimeZone zone_ = QTimeZone::systemTimeZone();
};

const QString CsvHeader = QStringLiteral("Zaman;Vokabo;Karşılığı;Yön;Seçenek;Sonuç;Seçilen;Süre "
                                         "(ms);Nasıl Geldi\r\n");

// UTF-8 with a byte-order mark, which spreadsheets need to tell UTF-8.
QByteArray csvBytes(const QString& text) {
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

QString writeCsv(const QSqlDatabase& db, const QString& csvPath, QSqlError* failure) {
    QString text = CsvHeader;
    {
        QSqlQuery q(db);
        q.setForwardOnly(true);
        LocalTimes times;
        if (q.exec(QStringLiteral("SELECT a.moment, w.english, w.turkish, a.direction, "
                                  "a.choices, a.correct, a.slot, a.ms, a.asked FROM answers a "
                                  "JOIN words w ON w.id = a.word ORDER BY a.id"))) {
            const QChar separator = u';';
            while (q.next()) {
                text += times.text(q.value(0).toLongLong());
                text += separator;
                appendField(text, q.value(1).toString());
                text += separator;
                appendField(text, q.value(2).toString());
                text += separator;
                text += q.value(3).toInt() ? QStringLiteral("Karşılığı → Vokabo")
                                           : QStringLiteral("Vokabo → Karşılığı");
                text += separator;
                text += QString::number(q.value(4).toInt());
                text += separator;
                text += q.value(5).toBool() ? QStringLiteral("Doğru") : QStringLiteral("Yanlış");
                text += separator;
                const int slot = q.value(6).toInt();
                if (slot >= 1 && slot <= 26)
                    text += QChar(u'a' + slot - 1);
                text += separator;
                text += QString::number(q.value(7).toLongLong());
                text += separator;
                text += q.value(8).toBool() ? QStringLiteral("İstendi")
                                            : QStringLiteral("Kendiliğinden");
                text += QStringLiteral("\r\n");
            }
        }
        *failure = q.lastError();
    }
    if (failure->type() != QSqlError::NoError)
        return QStringLiteral("Cevap geçmişi okunamadı: %1").arg(reasonOf(*failure));
    return WordExport::save(csvPath, csvBytes(text));
}

} // namespace

struct AnswerHistory::Statements {
    explicit Statements(const QSqlDatabase& db)
        : findWord(db), insertWord(db), insertAnswer(db), insertChange(db) {}
    QSqlQuery findWord;
    QSqlQuery insertWord;
    QSqlQuery insertAnswer;
    QSqlQuery insertChange;
    QSqlError failure;
};

qint64 dayOf(const QDateTime& moment) {
    return moment.toLocalTime().date().toJulianDay();
}

QString pathBeside(const QString& wordFilePath) {
    return QFileInfo(wordFilePath).dir().filePath(FileName);
}

qint64 wordKey(const QString& English, const QString& Turkish) {
    const QByteArray word = English.toUtf8();
    QCryptographicHash hash(QCryptographicHash::Sha1);
    // The word's length first: "ab"+"c" and "a"+"bc" stay apart.
    hash.addData(QByteArray::number(word.size()) + ':');
    hash.addData(word);
    hash.addData(Turkish.toUtf8());
    return qFromBigEndian<qint64>(hash.result().constData());
}

AnswerHistory::AnswerHistory(const QString& path, QObject* parent)
    : QObject(parent), path_(path),
      connection_(QStringLiteral("vokabo-gecmis-%1").arg(quintptr(this), 0, 16)),
      checkpointSoon_(new QTimer(this)) {
    checkpointSoon_->setSingleShot(true);
    checkpointSoon_->setInterval(CheckpointAfterMs);
    connect(checkpointSoon_, &QTimer::timeout, this, &AnswerHistory::checkpoint);
}

AnswerHistory::~AnswerHistory() {
    flush();
    closeConnection();
}

void AnswerHistory::open() {
    if (where_ != Where::NotOpen)
        return;
    if (path_.isEmpty())
        openInMemory({});
    else if (!QFileInfo::exists(path_))
        where_ = Where::Waiting;
    else
        openPath();
    noteListSizes();
    flush();
}

void AnswerHistory::openPath() {
    QString reason;
    bool damaged = false;
    if (!openFile(&reason, &damaged)) {
        if (damaged)
            replaceDamaged(reason);
        else
            openInMemory(reason);
    }
}

void AnswerHistory::noteListSizes() {
    if (store_)
        listChanged(ListChange::Read, ModVokabo::WordListKind::Active, {}, {});
}

bool AnswerHistory::openConnection(const QString& name, QString* reason) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    db.setDatabaseName(name);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=250"));
    if (db.open())
        return true;
    *reason = reasonOf(db.lastError());
    return false;
}

bool AnswerHistory::openFile(QString* reason, bool* damaged) {
    const QFileInfo info(path_);
    *damaged = info.exists();
    if (info.exists() && !info.isFile()) {
        *reason = QStringLiteral("bu ad bir klasöre ait");
        return false;
    }
    if (info.exists() && !info.isWritable()) {
        *reason = QStringLiteral("dosyaya yazılamıyor");
        return false;
    }
    if (!openConnection(path_, reason)) {
        closeConnection();
        return false;
    }
    const QList<QStringList>& steps = migrations();
    bool ok = true;
    bool unusable = true;
    QString why;
    {
        QSqlQuery q(QSqlDatabase::database(connection_, false));
        const auto failed = [&] {
            ok = false;
            why = reasonOf(q.lastError());
            unusable = unusableFile(q.lastError());
        };
        // What the file is, before anything is written to it.
        int version = 0;
        if (q.exec(QStringLiteral("SELECT version FROM schema_version")) && q.next()) {
            version = q.value(0).toInt();
        } else if (q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) && q.next()) {
            // No version: a new file, or another program's database.
            if (q.value(0).toInt() != 0) {
                ok = false;
                why = QStringLiteral("dosya bir cevap geçmişi değil");
            }
        } else {
            failed();
        }
        if (ok && version > steps.size()) {
            // A later version of the program wrote it: it is left as it is.
            ok = unusable = false;
            why = QStringLiteral("dosya programın daha yeni bir sürümüne ait");
        }
        // Each answer is committed to the write-ahead log as it is judged: a
        // crash or a kill keeps it, and no commit waits for the disk; only a
        // power cut may lose the last ones, never the file.
        // Folding the log into the file waits for the disk: it is done while
        // no answer waits for it.
        if (ok && !(q.exec(QStringLiteral("PRAGMA journal_mode=WAL")) &&
                    q.exec(QStringLiteral("PRAGMA synchronous=NORMAL")) &&
                    q.exec(QStringLiteral("PRAGMA wal_autocheckpoint=%1").arg(LargestLogPages))))
            failed();
        if (ok && version < steps.size()) {
            bool done = q.exec(QStringLiteral("BEGIN"));
            if (done && version == 0)
                done = q.exec(QStringLiteral(
                           "CREATE TABLE schema_version (version INTEGER NOT NULL)")) &&
                       q.exec(QStringLiteral("INSERT INTO schema_version VALUES (0)"));
            for (qsizetype step = version; done && step < steps.size(); ++step)
                for (const QString& statement : steps[step])
                    done = done && q.exec(statement);
            done =
                done &&
                q.exec(
                    QStringLiteral("UPDATE schema_version SET version = %1").arg(steps.size())) &&
                q.exec(QStringLiteral("COMMIT"));
            if (!done) {
                failed();
                q.exec(QStringLiteral("ROLLBACK"));
            }
        }
    }
    if (ok && !prepare(&why))
        ok = false;
    if (!ok) {
        closeConnection();
        *reason = why;
        *damaged = unusable;
        return false;
    }
    where_ = Where::File;
    return true;
}

bool AnswerHistory::prepare(QString* reason) {
    const QSqlDatabase db = QSqlDatabase::database(connection_, false);
    st_ = std::make_unique<Statements>(db);
    const bool ok =
        st_->findWord.prepare(QStringLiteral("SELECT id FROM words WHERE key = ?")) &&
        st_->insertWord.prepare(
            QStringLiteral("INSERT INTO words (key, english, turkish) VALUES (?, ?, ?)")) &&
        st_->insertAnswer.prepare(QStringLiteral(
            "INSERT INTO answers (moment, day, word, direction, choices, correct, slot, ms, "
            "asked, chosen) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")) &&
        st_->insertChange.prepare(QStringLiteral(
            "INSERT INTO list_changes (moment, day, kind, list, old_word, new_word, "
            "old_example, new_example, active, passive) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    QSqlQuery last(db);
    if (!ok || !last.exec(QStringLiteral(
                   "SELECT active, passive FROM list_changes ORDER BY id DESC LIMIT 1"))) {
        *reason = QStringLiteral("dosyadaki tablolar okunamadı");
        return false;
    }
    // A new file learns the lists' sizes at the next change.
    const bool known = last.next();
    lastActive_ = known ? last.value(0).toInt() : -1;
    lastPassive_ = known ? last.value(1).toInt() : -1;
    return true;
}

void AnswerHistory::openInMemory(const QString& why) {
    closeConnection();
    QString reason;
    QSqlQuery q;
    bool ok = openConnection(QStringLiteral(":memory:"), &reason);
    if (ok) {
        q = QSqlQuery(QSqlDatabase::database(connection_, false));
        for (const QStringList& step : migrations())
            for (const QString& statement : step)
                ok = ok && q.exec(statement);
        q = QSqlQuery();
        ok = ok && prepare(&reason);
    }
    if (!ok) {
        // Without SQLite at all, the answers wait in memory.
        closeConnection();
        tellOnce(InMemoryTitle, QStringLiteral("Cevap geçmişi tutulamıyor: %1").arg(reason));
        return;
    }
    where_ = Where::Memory;
    if (!why.isEmpty())
        tellOnce(InMemoryTitle,
                 QStringLiteral("Cevap geçmişinin dosyası kullanılamıyor:\n%1\n(%2)\nBu "
                                "oturumdaki cevaplar yalnızca bellekte tutuluyor; sorular her "
                                "zamanki gibi gelir.")
                     .arg(QDir::toNativeSeparators(path_), why));
}

void AnswerHistory::closeConnection() {
    st_.reset();
    wordIds_.clear();
    if (QSqlDatabase::contains(connection_)) {
        QSqlDatabase::database(connection_, false).close();
        QSqlDatabase::removeDatabase(connection_);
    }
    where_ = Where::NotOpen;
}

QString AnswerHistory::moveAside() {
    closeConnection();
    const QFileInfo info(path_);
    const QString stem = info.dir().filePath(info.completeBaseName() + QStringLiteral(".bozuk-") +
                                             Now().toString(u"yyyy-MM-dd"));
    const QString suffix = u'.' + info.suffix();
    QString target = stem + suffix;
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = stem + u'-' + QString::number(n) + suffix;
    if (!QDir().rename(path_, target))
        return {};
    // The log holds the file's last pages: it goes along. The shared index
    // is rebuilt from the log.
    QDir().rename(path_ + QStringLiteral("-wal"), target + QStringLiteral("-wal"));
    QFile::remove(path_ + QStringLiteral("-shm"));
    return target;
}

void AnswerHistory::replaceDamaged(const QString& reason) {
    const QString moved = moveAside();
    if (moved.isEmpty()) {
        openInMemory(reason);
        return;
    }
    QString again;
    bool damaged = false;
    if (!openFile(&again, &damaged)) {
        openInMemory(again);
        return;
    }
    // The new file starts from the lists as they are.
    noteListSizes();
    tellOnce(DamagedTitle,
             QStringLiteral("Cevap geçmişinin dosyası kullanılamadı (%1). Dosya şu adla kenara "
                            "alındı:\n%2\nYeni bir geçmiş başladı; sorular her zamanki gibi gelir.")
                 .arg(reason, QDir::toNativeSeparators(moved)));
}

void AnswerHistory::follow(const ModVokabo::WordStore& store) {
    using ModVokabo::WordDef;
    using ModVokabo::WordListKind;
    using ModVokabo::WordStore;
    store_ = &store;
    connect(&store, &WordStore::wordsAdded, this,
            [this](WordListKind list, const ModVokabo::WordList& words) {
                for (const WordDef& word : words)
                    listChanged(ListChange::Added, list, {}, word);
                flush();
            });
    connect(&store, &WordStore::wordEdited, this,
            [this](WordListKind list, const WordDef& before, const WordDef& after) {
                if (before.English != after.English || before.Turkish != after.Turkish ||
                    before.Ornek != after.Ornek)
                    listChanged(ListChange::Edited, list, before, after);
                flush();
            });
    connect(&store, &WordStore::wordsDeleted, this,
            [this](WordListKind list, const ModVokabo::WordList& words) {
                for (const WordDef& word : words)
                    listChanged(ListChange::Deleted, list, word, {});
                flush();
            });
    connect(&store, &WordStore::wordMoved, this, [this](WordListKind from, const WordDef& word) {
        listChanged(from == WordListKind::Active ? ListChange::ToPassive : ListChange::ToActive,
                    ModVokabo::otherList(from), word, word);
        flush();
    });
    // Whatever else changed the lists' sizes (a read of the word file).
    connect(&store, &WordStore::changed, this, [this](WordListKind list, WordStore::Change what) {
        if (what == WordStore::Change::Lines) {
            listChanged(ListChange::Read, list, {}, {});
            flush();
        }
    });
}

void AnswerHistory::listChanged(ListChange kind, ModVokabo::WordListKind list,
                                const ModVokabo::WordDef& before, const ModVokabo::WordDef& after) {
    const int active = static_cast<int>(store_->words(ModVokabo::WordListKind::Active).size());
    const int passive = static_cast<int>(store_->words(ModVokabo::WordListKind::Passive).size());
    if (kind == ListChange::Read) {
        // Known already, from the change just recorded or one before.
        int knownActive = lastActive_, knownPassive = lastPassive_;
        for (const Entry& entry : std::as_const(pending_))
            if (const auto* change = std::get_if<Change>(&entry)) {
                knownActive = change->active;
                knownPassive = change->passive;
            }
        if (active == knownActive && passive == knownPassive)
            return;
    }
    pending_.append(Change{Now(), kind, list, before, after, active, passive});
}

void AnswerHistory::record(const Answer& answer) {
    emit answered(answer);
    pending_.append(answer);
    flush();
}

void AnswerHistory::flush() {
    if (pending_.isEmpty())
        return;
    if (where_ == Where::Waiting) {
        // A program only started and ended leaves no file behind: the lists'
        // sizes alone do not make one.
        const bool worthAFile = std::any_of(pending_.cbegin(), pending_.cend(), [](const Entry& e) {
            const auto* change = std::get_if<Change>(&e);
            return !change || change->kind != ListChange::Read;
        });
        if (!worthAFile)
            return;
        where_ = Where::NotOpen;
        openPath();
    }
    if (!connected())
        return;
    QSqlError failure;
    if (!writePending(&failure) && where_ == Where::File && unusableFile(failure)) {
        replaceDamaged(reasonOf(failure));
        if (!connected())
            return;
        writePending(&failure);
    }
    if (pending_.isEmpty()) {
        if (where_ == Where::File)
            checkpointSoon_->start();
        emit recorded();
        return;
    }
    tellOnce(WriteFailedTitle,
             QStringLiteral("Son cevaplar geçmiş dosyasına yazılamadı:\n%1\n(%2)\nDisk dolmuş "
                            "olabilir. Cevaplar bellekte bekliyor; yer açılınca yazılır.")
                 .arg(QDir::toNativeSeparators(path_), reasonOf(failure)));
}

bool AnswerHistory::writePending(QSqlError* failure) {
    // Through statements rather than the driver's own transactions, whose
    // errors lose SQLite's code.
    QSqlQuery transaction(QSqlDatabase::database(connection_, false));
    const int active = lastActive_, passive = lastPassive_;
    bool ok = transaction.exec(QStringLiteral("BEGIN"));
    if (!ok)
        *failure = transaction.lastError();
    for (qsizetype i = 0; ok && i < pending_.size(); ++i) {
        ok = std::visit([this](const auto& entry) { return write(entry); }, pending_[i]);
        if (!ok)
            *failure = st_->failure;
    }
    if (ok && !transaction.exec(QStringLiteral("COMMIT"))) {
        ok = false;
        *failure = transaction.lastError();
    }
    if (!ok) {
        transaction.exec(QStringLiteral("ROLLBACK"));
        // Words written in the rolled-back transaction are gone again.
        wordIds_.clear();
        lastActive_ = active;
        lastPassive_ = passive;
        return false;
    }
    pending_.clear();
    return true;
}

bool AnswerHistory::write(const Answer& answer) {
    const qint64 word = wordId(answer.English, answer.Turkish);
    if (word < 0)
        return false;
    QSqlQuery& q = st_->insertAnswer;
    q.bindValue(0, answer.moment.toMSecsSinceEpoch());
    q.bindValue(1, dayOf(answer.moment));
    q.bindValue(2, word);
    q.bindValue(3, answer.direction == Direction::MeaningToWord ? 1 : 0);
    q.bindValue(4, answer.choices);
    q.bindValue(5, answer.right ? 1 : 0);
    q.bindValue(6, answer.slot);
    q.bindValue(7, answer.msToAnswer);
    q.bindValue(8, answer.askedFor ? 1 : 0);
    QVariant chosen;
    if (!answer.chosenEnglish.isEmpty() || !answer.chosenTurkish.isEmpty()) {
        const qint64 id = wordId(answer.chosenEnglish, answer.chosenTurkish);
        if (id < 0)
            return false;
        chosen = id;
    }
    q.bindValue(9, chosen);
    if (q.exec())
        return true;
    st_->failure = q.lastError();
    return false;
}

bool AnswerHistory::write(const Change& change) {
    if (change.kind == ListChange::Read && change.active == lastActive_ &&
        change.passive == lastPassive_)
        return true;
    QVariant before, after, beforeExample, afterExample;
    if (change.kind != ListChange::Added && change.kind != ListChange::Read) {
        const qint64 id = wordId(change.before.English, change.before.Turkish);
        if (id < 0)
            return false;
        before = id;
        beforeExample = change.before.Ornek;
    }
    if (change.kind != ListChange::Deleted && change.kind != ListChange::Read) {
        const qint64 id = wordId(change.after.English, change.after.Turkish);
        if (id < 0)
            return false;
        after = id;
        afterExample = change.after.Ornek;
    }
    QSqlQuery& q = st_->insertChange;
    q.bindValue(0, change.moment.toMSecsSinceEpoch());
    q.bindValue(1, dayOf(change.moment));
    q.bindValue(2, QString::fromLatin1(ChangeNames[static_cast<int>(change.kind)]));
    q.bindValue(3, change.kind == ListChange::Read
                       ? QVariant()
                       : QVariant(change.list == ModVokabo::WordListKind::Active ? 0 : 1));
    q.bindValue(4, before);
    q.bindValue(5, after);
    q.bindValue(6, beforeExample);
    q.bindValue(7, afterExample);
    q.bindValue(8, change.active);
    q.bindValue(9, change.passive);
    if (!q.exec()) {
        st_->failure = q.lastError();
        return false;
    }
    lastActive_ = change.active;
    lastPassive_ = change.passive;
    return true;
}

qint64 AnswerHistory::wordId(const QString& English, const QString& Turkish) {
    const qint64 key = wordKey(English, Turkish);
    if (const auto known = wordIds_.constFind(key); known != wordIds_.cend())
        return *known;
    QSqlQuery& find = st_->findWord;
    find.bindValue(0, key);
    if (!find.exec()) {
        st_->failure = find.lastError();
        return -1;
    }
    qint64 id = -1;
    if (find.next()) {
        id = find.value(0).toLongLong();
        find.finish();
    } else {
        QSqlQuery& insert = st_->insertWord;
        insert.bindValue(0, key);
        insert.bindValue(1, English);
        insert.bindValue(2, Turkish);
        if (!insert.exec()) {
            st_->failure = insert.lastError();
            return -1;
        }
        id = insert.lastInsertId().toLongLong();
    }
    wordIds_.insert(key, id);
    return id;
}

void AnswerHistory::readFailed(const QSqlError& error) {
    if (where_ == Where::File && unusableFile(error)) {
        replaceDamaged(reasonOf(error));
        flush();
    }
}

AnswerHistory::Identities AnswerHistory::identities() {
    QSqlError failure;
    Identities ids = identitiesIn(QSqlDatabase::database(connection_, false), &failure);
    if (failure.type() != QSqlError::NoError)
        st_->failure = failure;
    return ids;
}

AnswerHistory::Identities AnswerHistory::identitiesIn(const QSqlDatabase& db, QSqlError* failure) {
    Identities ids;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT old_word, new_word FROM list_changes WHERE kind = "
                               "'edited' ORDER BY id"))) {
        *failure = q.lastError();
        return ids;
    }
    const auto root = [&ids](qint64 id) {
        while (ids.group.contains(id) && ids.group[id] != id)
            id = ids.group[id];
        return id;
    };
    while (q.next()) {
        const qint64 before = q.value(0).toLongLong(), after = q.value(1).toLongLong();
        const qint64 a = root(before), b = root(after);
        if (a != b) {
            ids.group[b] = a;
            ids.current.remove(b);
        }
        ids.group.insert(a, a);
        ids.current[a] = after;
    }
    for (auto it = ids.group.begin(); it != ids.group.end(); ++it)
        it.value() = root(it.key());
    return ids;
}

QList<qint64> AnswerHistory::idsOf(const ModVokabo::WordDef& word, const Identities& ids) {
    QSqlQuery& find = st_->findWord;
    find.bindValue(0, wordKey(word.English, word.Turkish));
    if (!find.exec()) {
        st_->failure = find.lastError();
        return {};
    }
    if (!find.next())
        return {};
    const qint64 id = find.value(0).toLongLong();
    find.finish();
    const qint64 group = ids.groupOf(id);
    QList<qint64> all{id};
    for (auto it = ids.group.cbegin(); it != ids.group.cend(); ++it)
        if (it.value() == group && it.key() != id)
            all.append(it.key());
    return all;
}

QList<Answer> AnswerHistory::answersOf(const ModVokabo::WordDef& word) {
    flush();
    if (!connected())
        return {};
    QList<Answer> answers;
    QSqlError failure;
    {
        st_->failure = {};
        const QList<qint64> ids = idsOf(word, identities());
        QStringList numbers;
        for (qint64 id : ids)
            numbers.append(QString::number(id));
        QSqlQuery q(QSqlDatabase::database(connection_, false));
        q.setForwardOnly(true);
        if (!numbers.isEmpty() &&
            q.exec(QStringLiteral("SELECT a.moment, w.english, w.turkish, a.direction, "
                                  "a.choices, a.correct, a.slot, a.ms, a.asked, c.english, "
                                  "c.turkish FROM answers a JOIN words w ON w.id = a.word LEFT "
                                  "JOIN words c ON c.id = a.chosen WHERE a.word IN (%1) ORDER BY "
                                  "a.id")
                       .arg(numbers.join(u',')))) {
            while (q.next())
                answers.append(
                    {QDateTime::fromMSecsSinceEpoch(q.value(0).toLongLong(), Qt::UTC),
                     q.value(1).toString(), q.value(2).toString(),
                     q.value(3).toInt() ? Direction::MeaningToWord : Direction::WordToMeaning,
                     q.value(4).toInt(), q.value(5).toBool(), q.value(6).toInt(),
                     q.value(7).toLongLong(), q.value(8).toBool(), q.value(9).toString(),
                     q.value(10).toString()});
        }
        failure = st_->failure.type() != QSqlError::NoError ? st_->failure : q.lastError();
    }
    readFailed(failure);
    return answers;
}

QList<QList<Answer>> AnswerHistory::answersOf(const ModVokabo::WordList& words) {
    flush();
    QList<QList<Answer>> answers(words.size());
    if (!connected())
        return answers;
    QSqlError failure;
    {
        st_->failure = {};
        const Identities ids = identities();
        QSqlQuery q(QSqlDatabase::database(connection_, false));
        q.setForwardOnly(true);
        // Every word the history knows, with its texts, read once.
        QHash<qint64, qint64> idOfKey;
        QHash<qint64, std::pair<QString, QString>> texts;
        if (q.exec(QStringLiteral("SELECT id, key, english, turkish FROM words")))
            while (q.next()) {
                idOfKey.insert(q.value(1).toLongLong(), q.value(0).toLongLong());
                texts.insert(q.value(0).toLongLong(),
                             {q.value(2).toString(), q.value(3).toString()});
            }
        QHash<qint64, QList<int>> listed; // group -> positions in words
        for (int i = 0; i < words.size(); ++i)
            if (const auto id = idOfKey.constFind(wordKey(words[i].English, words[i].Turkish));
                id != idOfKey.cend())
                listed[ids.groupOf(*id)].append(i);
        if (!listed.isEmpty() &&
            q.exec(QStringLiteral("SELECT word, moment, direction, choices, correct, slot, ms, "
                                  "asked, chosen FROM answers ORDER BY id"))) {
            while (q.next()) {
                const qint64 word = q.value(0).toLongLong();
                const auto positions = listed.constFind(ids.groupOf(word));
                if (positions == listed.cend())
                    continue;
                const auto& [english, turkish] = texts.value(word);
                const auto chosen = texts.value(q.value(8).toLongLong());
                const Answer answer{
                    QDateTime::fromMSecsSinceEpoch(q.value(1).toLongLong(), Qt::UTC),
                    english,
                    turkish,
                    q.value(2).toInt() ? Direction::MeaningToWord : Direction::WordToMeaning,
                    q.value(3).toInt(),
                    q.value(4).toBool(),
                    q.value(5).toInt(),
                    q.value(6).toLongLong(),
                    q.value(7).toBool(),
                    chosen.first,
                    chosen.second};
                for (int i : *positions)
                    answers[i].append(answer);
            }
        }
        failure = st_->failure.type() != QSqlError::NoError ? st_->failure : q.lastError();
    }
    readFailed(failure);
    return answers;
}

Figures AnswerHistory::figures(const QDate& today, int days) {
    flush();
    Figures figures;
    const QDate first = today.addDays(1 - days);
    for (QDate day = first; day <= today; day = day.addDays(1))
        figures.days.append({day, 0, 0});
    if (!connected())
        return figures;
    QSqlError failure;
    {
        QSqlDatabase db = QSqlDatabase::database(connection_, false);
        QSqlQuery q(db);
        q.setForwardOnly(true);
        const auto run = [&q, &failure](const QString& sql, const QVariantList& values = {}) {
            if (failure.type() != QSqlError::NoError)
                return false;
            bool ok = q.prepare(sql);
            for (qsizetype i = 0; ok && i < values.size(); ++i)
                q.bindValue(static_cast<int>(i), values[i]);
            ok = ok && q.exec();
            if (!ok)
                failure = q.lastError();
            return ok;
        };
        if (run(QStringLiteral("SELECT day, correct, count(*) FROM answers WHERE day BETWEEN ? "
                               "AND ? GROUP BY day, correct"),
                {first.toJulianDay(), today.toJulianDay()}))
            while (q.next()) {
                DayCount& count = figures.days[q.value(0).toLongLong() - first.toJulianDay()];
                (q.value(1).toBool() ? count.right : count.wrong) = q.value(2).toInt();
            }

        if (run(QStringLiteral("SELECT day, active, passive FROM list_changes WHERE id IN "
                               "(SELECT max(id) FROM list_changes GROUP BY day) ORDER BY day")))
            while (q.next())
                figures.lists.append({QDate::fromJulianDay(q.value(0).toLongLong()),
                                      q.value(1).toInt(), q.value(2).toInt()});

        // A day without a right answer yet does not end the streak before
        // it is over.
        QSqlQuery right(db);
        const bool prepared = right.prepare(
            QStringLiteral("SELECT 1 FROM answers WHERE day = ? AND correct = 1 LIMIT 1"));
        const auto rightOn = [&](const QDate& day) {
            right.bindValue(0, day.toJulianDay());
            if (right.exec())
                return right.next();
            failure = right.lastError();
            return false;
        };
        if (prepared && failure.type() == QSqlError::NoError) {
            QDate day = rightOn(today) ? today : today.addDays(-1);
            while (rightOn(day)) {
                ++figures.streak;
                day = day.addDays(-1);
            }
        }

        const Identities ids = identities();
        QHash<qint64, int> wrong; // group -> wrong answers
        if (run(QStringLiteral("SELECT word, count(*) FROM answers WHERE day BETWEEN ? AND ? "
                               "AND correct = 0 GROUP BY word"),
                {first.toJulianDay(), today.toJulianDay()}))
            while (q.next())
                wrong[ids.groupOf(q.value(0).toLongLong())] += q.value(1).toInt();
        QList<std::pair<qint64, int>> ranked;
        for (auto it = wrong.cbegin(); it != wrong.cend(); ++it)
            ranked.append({it.key(), it.value()});
        std::sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) {
            return a.second != b.second ? a.second > b.second : a.first < b.first;
        });
        ranked.resize(std::min<qsizetype>(ranked.size(), MostWrongCount));
        for (const auto& [group, count] : std::as_const(ranked))
            if (run(QStringLiteral("SELECT english, turkish FROM words WHERE id = ?"),
                    {ids.currentOf(group)}) &&
                q.next())
                figures.mostWrong.append({q.value(0).toString(), q.value(1).toString(), count});
        // Equal counts in the order a reader looks for them.
        std::stable_sort(figures.mostWrong.begin(), figures.mostWrong.end(),
                         [](const WrongWord& a, const WrongWord& b) {
                             return a.wrong != b.wrong
                                        ? a.wrong > b.wrong
                                        : a.English.localeAwareCompare(b.English) < 0;
                         });
    }
    readFailed(failure);
    return figures;
}

QString AnswerHistory::exportCsv(const QString& csvPath) {
    flush();
    if (where_ == Where::Waiting)
        return WordExport::save(csvPath, csvBytes(CsvHeader));
    if (!connected())
        return QStringLiteral("Cevap geçmişi açılamadı.");
    QSqlError failure;
    const QString outcome = writeCsv(QSqlDatabase::database(connection_, false), csvPath, &failure);
    readFailed(failure);
    return outcome;
}

QString exportCsv(const QString& historyPath, const QString& csvPath) {
    const QString name =
        QStringLiteral("vokabo-gecmis-disa-%1").arg(quintptr(QThread::currentThreadId()), 0, 16);
    QString outcome;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(historyPath);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=1000"));
        QSqlError failure;
        outcome = db.open()
                      ? writeCsv(db, csvPath, &failure)
                      : QStringLiteral("Cevap geçmişi açılamadı: %1").arg(reasonOf(db.lastError()));
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return outcome;
}

bool readAnswers(const QString& historyPath, const std::function<bool(const StoredAnswer&)>& each) {
    const QString name =
        QStringLiteral("vokabo-gecmis-oku-%1").arg(quintptr(QThread::currentThreadId()), 0, 16);
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(historyPath);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=1000"));
        if (db.open()) {
            QSqlError failure;
            const AnswerHistory::Identities ids = AnswerHistory::identitiesIn(db, &failure);
            QSqlQuery q(db);
            q.setForwardOnly(true);
            // Each word's key as it reads now: that of the latest word of its group.
            QHash<qint64, qint64> keyOf;
            ok = failure.type() == QSqlError::NoError &&
                 q.exec(QStringLiteral("SELECT id, key FROM words"));
            while (ok && q.next())
                keyOf.insert(q.value(0).toLongLong(), q.value(1).toLongLong());
            const auto currentKey = [&](qint64 id) { return keyOf.value(ids.currentOf(id)); };
            // A file of the first version has no chosen answers.
            const bool hasChosen =
                db.record(QStringLiteral("answers")).contains(QStringLiteral("chosen"));
            ok = ok &&
                 q.exec(QStringLiteral("SELECT word, moment, day, choices, correct, %1 FROM "
                                       "answers ORDER BY id")
                            .arg(hasChosen ? QStringLiteral("chosen") : QStringLiteral("NULL")));
            bool more = true;
            while (ok && more && q.next()) {
                StoredAnswer answer;
                answer.word = currentKey(q.value(0).toLongLong());
                answer.moment = q.value(1).toLongLong();
                answer.day = q.value(2).toLongLong();
                answer.choices = q.value(3).toInt();
                answer.right = q.value(4).toBool();
                if (!q.value(5).isNull())
                    answer.chosen = currentKey(q.value(5).toLongLong());
                more = each(answer);
            }
            ok = ok && q.lastError().type() == QSqlError::NoError;
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

void AnswerHistory::checkpoint() {
    // A failure here costs nothing: the log stays, and the next try folds it.
    if (where_ == Where::File)
        QSqlQuery(QSqlDatabase::database(connection_, false))
            .exec(QStringLiteral("PRAGMA wal_checkpoint(PASSIVE)"));
}

void AnswerHistory::tellOnce(const QString& title, const QString& text) {
    if (told_.contains(title))
        return;
    told_.insert(title);
    emit trouble(title, text);
}

} // namespace History
