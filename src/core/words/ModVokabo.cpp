#include "words/ModVokabo.h"

#include "platform/Clock.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHash>
#include <QSaveFile>
#include <QScopeGuard>
#include <QSet>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <limits>
#include <utility>

namespace ModVokabo {

namespace {

// How long the file system may go on changing the word file before it is
// looked at: an editor's save is several steps.
constexpr int DiskSettleMs = 300;

const QString LoadingText = QStringLiteral("Vokaboler yükleniyor...");
const QString SavingActiveText = QStringLiteral("Aktif Vokaboler saklanıyor...");
const QString SavingPassiveText = QStringLiteral("Pasif Vokaboler saklanıyor...");

// The beginning of the names saveRescueCopy gives.
const QString RescuePrefix = QStringLiteral("vokabo-kurtarilan-");

const WordDef SampleWords[] = {
    {QStringLiteral("student loan"), QStringLiteral("ögrenci  bursu kredisi"),
     QStringLiteral("John's student loan payments are in arrears"), 0},
    {QStringLiteral("person,"), QStringLiteral("kimse kişi şahıs"),
     QStringLiteral("a company's or an individual person's assets are their total possessions "
                    "and property."),
     0},
    {QStringLiteral("property"), QStringLiteral("mal özellik emlak arazi"),
     QStringLiteral("a companys or an individual persons assets are their total possessions and "
                    "property"),
     0},
    {QStringLiteral("half"), QStringLiteral("yarım  yarı buçuk yarı yarıya"),
     QStringLiteral("Half a loaf is better than none"), 0},
    {QStringLiteral("income"), QStringLiteral("gelir  kazanç"),
     QStringLiteral("One fourth of my income goes for rent"), 0},
};

// The system's reason in Turkish where it is one of the usual ones, else in
// its own words.
QString systemReason(const QString& text) {
    static const std::pair<int, const char16_t*> usual[] = {
        {ENOSPC, u"Diskte yer kalmadı."},
#ifdef EDQUOT
        {EDQUOT, u"Disk kotası doldu."},
#endif
        {EROFS, u"Disk yalnızca okunabilir; üzerine yazılamıyor."},
        {EACCES, u"Bu işlem için izin yok."},
        {EPERM, u"Bu işleme izin verilmedi."},
        {ENOENT, u"Böyle bir dosya ya da klasör yok."},
        {EISDIR, u"Bu ad bir klasöre ait."},
        {ENOTDIR, u"Yoldaki bir ad klasör değil."},
        {EIO, u"Disk okunurken ya da yazılırken bir donanım hatası oldu."},
        {EFBIG, u"Dosya, izin verilen en büyük boyu aşıyor."},
        {ENAMETOOLONG, u"Dosyanın adı çok uzun."},
        {EMFILE, u"Programın açabileceği dosya sayısı doldu."},
        {ENFILE, u"Sistemin açabileceği dosya sayısı doldu."},
    };
    for (const auto& [code, turkish] : usual)
        if (text == qt_error_string(code))
            return QString::fromUtf16(turkish);
    if (text == u"Filename refers to a directory")
        return QStringLiteral("Bu ad bir klasöre ait.");
    return text;
}

// The reason in Turkish, then the system's own where it gave any.
FileOutcome failure(const QString& path, const QString& reason, const QFileDevice* file = nullptr) {
    FileOutcome outcome{false, path, reason};
    if (file && file->error() != QFileDevice::NoError)
        outcome.reason +=
            QStringLiteral("\nSistemin bildirdiği hata: ") + systemReason(file->errorString());
    return outcome;
}

} // namespace

// Tells how far file work has come: at most once for each thousandth of the
// way, so that a large file is not slowed down by its own progress window.
class WordStore::Steps {
public:
    using Begun = std::function<void(const QString&)>;
    using Progressed = std::function<void(qint64 done, qint64 max)>;
    Steps() = default;
    Steps(Begun begun, Progressed progressed)
        : begun_(std::move(begun)), progressed_(std::move(progressed)) {}

    void begin(const QString& statusText, qint64 max) {
        max_ = max;
        told_ = -1;
        done_ = -1;
        toldDone_ = -1;
        if (begun_)
            begun_(statusText);
        step(0);
    }
    qint64 max() const { return max_; }
    void setMax(qint64 max) { max_ = max; }
    void step(qint64 done) {
        if (!progressed_)
            return;
        done_ = done;
        const qint64 mark = max_ > 0 ? std::clamp<qint64>(done * 1000 / max_, 0, 1000) : 0;
        if (mark == told_)
            return;
        told_ = mark;
        toldDone_ = done;
        progressed_(done, max_);
    }
    // The last step is always told.
    void end() {
        if (progressed_ && done_ >= 0 && done_ != toldDone_) {
            toldDone_ = done_;
            progressed_(done_, max_);
        }
    }

private:
    Begun begun_;
    Progressed progressed_;
    qint64 max_ = std::numeric_limits<qint64>::max();
    qint64 told_ = -1;
    qint64 done_ = -1;
    qint64 toldDone_ = -1;
};

struct WordStore::Loaded {
    FileOutcome outcome;
    WordList active;
    WordList passive;
    QStringList unread;
    // -1: the file was not there, or held no line.
    qint64 lineCounter = -1;
    WordFile::Encoding encoding = WordFile::Encoding::Windows1254;
    DiskState read;
};

struct WordStore::SaveJob {
    QString path;
    WordList active;
    WordList passive;
    WordFile::Encoding encoding = WordFile::Encoding::Windows1254;
    QStringList unread;
    QString setAsidePath;
    QString date; // when the unread lines were set aside
};

struct WordStore::Written {
    FileOutcome outcome;
    WordFile::Encoding encoding = WordFile::Encoding::Windows1254;
    DiskState state;
    // The unread lines are in the set-aside file now (count of them new there).
    bool unreadKept = false;
    int setAside = 0;
};

namespace {
void appendList(QString& out, const WordList& list, QChar status) {
    for (const WordDef& word : list)
        if (!word.English.isEmpty())
            WordFile::appendLine(out, word, status);
}

void appendList(QString& out, const WordList& list, QChar status, const QString& statusText,
                auto& steps) {
    if (list.isEmpty())
        return;
    steps.begin(statusText, list.size());
    for (qsizetype i = 0; i < list.size(); ++i) {
        steps.step(i + 1);
        if (!list[i].English.isEmpty())
            WordFile::appendLine(out, list[i], status);
    }
    steps.end();
}

// Adds the lines the reader could not take to the file at path, each once
// however often the word file is read and saved.
FileOutcome keepUnreadLines(const QString& path, const QStringList& unread, const QString& date,
                            int& count) {
    QFile file(path);
    QSet<QString> kept;
    if (file.open(QIODevice::ReadOnly)) {
        const QString old = QString::fromUtf8(file.readAll());
        for (const QString& entry : old.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
            kept.insert(entry.section(u'\t', 1));
        file.close();
    }
    QString added;
    count = 0;
    for (const QString& line : unread) {
        if (kept.contains(line))
            continue;
        kept.insert(line);
        added += date + u'\t' + line + QStringLiteral("\r\n");
        ++count;
    }
    if (count > 0) {
        const QByteArray bytes = added.toUtf8();
        if (!file.open(QIODevice::WriteOnly | QIODevice::Append) ||
            file.write(bytes) != bytes.size() || !file.flush())
            return failure(path,
                           QStringLiteral("Vokabo dosyasının okunamayan satırları bu dosyada "
                                          "saklanamadı; vokabo dosyası, o satırlar kaybolmasın "
                                          "diye yazılmadı."),
                           &file);
    }
    return {true, path, {}};
}
} // namespace

WordStore::WordStore(const QString& path, const QString& startFrom, QObject* parent)
    : QObject(parent), path_(path), startFrom_(startFrom) {}

WordStore::WordStore(const QString& path, QObject* parent)
    : WordStore(path, startingWordFile(path, programFolder()), parent) {}

WordStore::~WordStore() {
    // A save under way ends whole: the file is the old one or the new one.
    if (job_)
        job_->wait();
    if (worker_) {
        worker_->quit();
        worker_->wait();
        delete workerContext_;
    }
}

const WordList& WordStore::words(WordListKind list) const {
    return list == WordListKind::Active ? active_ : passive_;
}

WordList& WordStore::listOf(WordListKind list) {
    return list == WordListKind::Active ? active_ : passive_;
}

void WordStore::markChanged(WordListKind list, Change what) {
    changed_ = true;
    ++revision_;
    usersWords_ = true;
    emit changed(list, what);
}

const WordDef& WordStore::GetWord(WordListKind list, int index) const {
    return words(list).at(index);
}

int WordStore::AppendWord(const WordDef& word, WordListKind list) {
    WordList& words = listOf(list);
    words.append(word);
    const int index = static_cast<int>(words.size() - 1);
    emit rowsAppended(list, index, 1);
    emit wordsAdded(list, {word});
    markChanged(list, Change::Lines);
    return index;
}

void WordStore::AppendWords(const WordList& words, WordListKind list) {
    if (words.isEmpty())
        return;
    WordList& to = listOf(list);
    to.append(words);
    emit rowsAppended(list, static_cast<int>(to.size() - words.size()),
                      static_cast<int>(words.size()));
    emit wordsAdded(list, words);
    markChanged(list, Change::Lines);
}

bool WordStore::RemoveAppendedWords(const WordList& words, WordListKind list) {
    WordList& from = listOf(list);
    if (words.isEmpty() || from.size() < words.size() ||
        !std::equal(words.cbegin(), words.cend(), from.cend() - words.size()))
        return false;
    from.resize(from.size() - words.size());
    emit rowsRemoved(list, static_cast<int>(from.size()), static_cast<int>(words.size()));
    emit wordsDeleted(list, words);
    markChanged(list, Change::Lines);
    return true;
}

void WordStore::UpdateWord(WordListKind list, int index, const QString& English,
                           const QString& Turkish, const QString& Ornek) {
    WordDef& word = listOf(list)[index];
    const WordDef before = word;
    word.English = English;
    word.Turkish = Turkish;
    word.Ornek = Ornek;
    emit rowEdited(list, index);
    emit wordEdited(list, before, word);
    markChanged(list, Change::Lines);
}

void WordStore::SetWordDogru(WordListKind list, int index, qint16 Dogru) {
    listOf(list)[index].Dogru = Dogru;
    markChanged(list, Change::Count);
}

void WordStore::DeleteWord(WordListKind list, int index) {
    const WordDef gone = listOf(list).takeAt(index);
    emit rowsRemoved(list, index, 1);
    emit wordsDeleted(list, {gone});
    markChanged(list, Change::Lines);
}

void WordStore::ToggleWord(WordListKind list, int index) {
    moveWord(list, index);
}

bool WordStore::moveWord(WordListKind from, int index) {
    const WordListKind to = otherList(from);
    WordList& target = listOf(to);
    const WordDef word = listOf(from).takeAt(index);
    target.append(word);
    // Both lists are whole again before anyone hears of either.
    emit rowsRemoved(from, index, 1);
    emit rowsAppended(to, static_cast<int>(target.size() - 1), 1);
    emit wordMoved(from, word);
    markChanged(from, Change::Lines);
    markChanged(to, Change::Lines);
    return true;
}

bool WordStore::MoveToPassive(int index) {
    return moveWord(WordListKind::Active, index);
}

bool WordStore::MoveToActive(int index) {
    return moveWord(WordListKind::Passive, index);
}

FileOutcome WordStore::LoadWordFile() {
    finishFileWork();
    Steps steps([this](const QString& text) { emit fileWorkBegun(text); },
                [this](qint64 done, qint64 max) { emit fileWorkProgressed(done, max); });
    Loaded result = readWordFile(path_, startFrom_, encoding_, steps);
    const FileOutcome outcome = applyLoad(result);
    emit fileWorkEnded();
    return outcome;
}

WordStore::Loaded WordStore::readWordFile(const QString& path, const QString& startFrom,
                                          WordFile::Encoding encoding, Steps& steps) {
    steps.begin(LoadingText, 50);

    QString source = path;
    if (!QFileInfo::exists(source) && !startFrom.isEmpty() && QFileInfo::exists(startFrom))
        source = startFrom;
    Loaded result;
    result.encoding = encoding;
    FileOutcome& outcome = result.outcome;
    outcome = {true, source, {}};
    QByteArray bytes;
    bool found = false;
    if (const QFileInfo info(source); info.exists()) {
        found = true;
        QFile file(source);
        if (info.isDir())
            outcome = failure(source, QStringLiteral("Bu ad bir klasöre ait."));
        else if (!file.open(QIODevice::ReadOnly))
            outcome = failure(source, QStringLiteral("Dosya okunmak üzere açılamadı."), &file);
        else if (bytes = file.readAll(); file.error() != QFileDevice::NoError)
            outcome = failure(source, QStringLiteral("Dosya okunamadı."), &file);
    }

    if (found && outcome.ok) {
        WordFile::Reader reader(bytes);
        QByteArrayView line;
        qint64& lineCounter = result.lineCounter;
        while (reader.nextLine(line)) {
            ++lineCounter;
            if (steps.max() < lineCounter)
                steps.setMax(steps.max() * 2);
            steps.step(lineCounter + 1);
            if (std::optional<WordFile::ParsedLine> parsed = reader.parse(line))
                (parsed->active ? result.active : result.passive).append(std::move(parsed->word));
            else if (!line.trimmed().isEmpty())
                result.unread.append(reader.decode(line));
        }
        steps.end();
        // A file of two encodings becomes one that holds every line.
        outcome.linesInOtherEncoding = reader.otherEncodingLines();
        result.encoding =
            outcome.linesInOtherEncoding > 0 ? WordFile::Encoding::Utf8Bom : reader.encoding();
    }
    // A file read from elsewhere leaves the word file itself unseen: absent.
    if (found && outcome.ok && source == path)
        result.read = diskStateOf(path, bytes);
    return result;
}

FileOutcome WordStore::applyLoad(Loaded& result) {
    FileOutcome& outcome = result.outcome;
    ++generation_;

    WordList& active = result.active;
    WordList& passive = result.passive;
    const bool wordsHeld = usersWords_ && !(active_.isEmpty() && passive_.isEmpty());
    if (wordsHeld && (!outcome.ok || (active.isEmpty() && passive.isEmpty()))) {
        // Emptied or made unreadable while the program ran: its words are all
        // that is left of the file's, and the file gets them back when it can
        // be written. The lines of an emptied file are kept aside first.
        outcome.wordsKept = true;
        if (outcome.ok) {
            seen_ = result.read;
            onDisk_ = OnDisk::AsSeen;
            unread_ = std::move(result.unread);
        } else {
            onDisk_ = OnDisk::Unreadable;
        }
        // They are in no file now: the end of the program must not pass
        // them over.
        changed_ = true;
        return outcome;
    }

    unreadable_ = !outcome.ok;
    unreadableReason_ = outcome.ok ? QString() : outcome.reason;
    seen_ = result.read;
    onDisk_ = OnDisk::AsSeen;
    unread_ = std::move(result.unread);
    encoding_ = result.encoding;
    usersWords_ = !active.isEmpty() || !passive.isEmpty();
    if (outcome.ok && result.lineCounter == -1)
        active = WordList(std::begin(SampleWords), std::end(SampleWords));
    active_ = std::move(active);
    passive_ = std::move(passive);
    changed_ = false;
    emit listReplaced(WordListKind::Active);
    emit listReplaced(WordListKind::Passive);
    emit changed(WordListKind::Active, Change::Lines);
    emit changed(WordListKind::Passive, Change::Lines);
    return outcome;
}

FileOutcome WordStore::mayWrite(OutsideChanges outside) const {
    if (unreadable_) {
        FileOutcome outcome =
            failure(path_, QStringLiteral("Dosya açılışta okunamadı (%1); içindeki vokaboler "
                                          "kaybolmasın diye üzerine yazılmıyor.")
                               .arg(unreadableReason_));
        outcome.retryMayHelp = false;
        return outcome;
    }
    // Told without reading the file: by its size and time, and by what the
    // last look at it found.
    if (outside == OutsideChanges::Keep &&
        (onDisk_ != OnDisk::AsSeen || !sameSizeAndTime(path_, seen_))) {
        FileOutcome outcome = failure(
            path_, QStringLiteral("Dosya, program açıkken başka bir programda değiştirilmiş; "
                                  "üzerine yazılmadı."));
        outcome.changedOnDisk = true;
        return outcome;
    }
    return {true, path_, {}};
}

WordStore::SaveJob WordStore::saveJob() const {
    return {path_,
            active_,
            passive_,
            encoding_,
            unread_,
            setAsidePath(),
            Now().toString(QStringLiteral("yyyy-MM-dd HH:mm"))};
}

FileOutcome WordStore::SaveWordFile(OutsideChanges outside, Progress progress) {
    finishFileWork();
    if (FileOutcome refused = mayWrite(outside); !refused.ok)
        return refused;
    // The program's own writes are no news to the watch.
    pauseWatch();
    Steps steps;
    if (progress == Progress::Shown)
        steps = Steps([this](const QString& text) { emit fileWorkBegun(text); },
                      [this](qint64 done, qint64 max) { emit fileWorkProgressed(done, max); });
    Written written = writeWordFile(saveJob(), steps);
    const FileOutcome outcome = applySave(written, revision_);
    if (progress == Progress::Shown)
        emit fileWorkEnded();
    return outcome;
}

WordStore::Written WordStore::writeWordFile(const SaveJob& job, Steps& steps) {
    Written result;
    result.unreadKept = job.unread.isEmpty();
    if (!result.unreadKept) {
        if (FileOutcome kept =
                keepUnreadLines(job.setAsidePath, job.unread, job.date, result.setAside);
            !kept.ok) {
            result.outcome = kept;
            return result;
        }
        result.unreadKept = true;
    }

    QString text;
    appendList(text, job.active, u'A', SavingActiveText, steps);
    appendList(text, job.passive, u'P', SavingPassiveText, steps);

    result.encoding = job.encoding;
    const QByteArray bytes = WordFile::encode(text, result.encoding);
    const QString& path = job.path;

    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    // Unbuffered: every write reaches the file here, where its size is checked.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        result.outcome = failure(path, QStringLiteral("Dosya yazılmak üzere açılamadı."), &file);
        return result;
    }
    qint64 written = 0;
    while (written < bytes.size()) {
        // A full disk first gives a short write with no error; the next
        // write then fails with the system's reason.
        const qint64 n = file.write(bytes.constData() + written, bytes.size() - written);
        if (n <= 0)
            break;
        written += n;
    }
    if (written < bytes.size()) {
        result.outcome = failure(
            path,
            QStringLiteral("Dosyanın %1 baytından yalnızca %2 bayt yazılabildi; disk dolmuş ya da "
                           "dosya boyu sınırına varılmış olabilir. Eski dosya olduğu gibi duruyor.")
                .arg(bytes.size())
                .arg(written),
            &file);
        file.cancelWriting();
        return result;
    }
    if (!file.commit()) {
        result.outcome = failure(path,
                                 QStringLiteral("Dosya diske yazılıp yerine konamadı. Eski dosya "
                                                "olduğu gibi duruyor."),
                                 &file);
        return result;
    }
    // What was written is what is seen: the file is not read back for it.
    result.state = diskStateOf(path, bytes);
    result.outcome = {true, path, {}};
    return result;
}

FileOutcome WordStore::applySave(Written& written, quint64 revision) {
    resumeWatch();
    if (written.unreadKept && !unread_.isEmpty()) {
        unread_.clear();
        if (written.setAside > 0)
            emit linesSetAside(written.setAside, setAsidePath());
    }
    if (!written.outcome.ok)
        return written.outcome;
    encoding_ = written.encoding;
    // A change made while the file was written is not in it.
    changed_ = revision_ != revision;
    seen_ = written.state;
    onDisk_ = OnDisk::AsSeen;
    ++generation_;
    return written.outcome;
}

void WordStore::loadInBackground() {
    finishFileWork();
    emit fileWorkBegun(LoadingText);
    auto result = std::make_shared<Loaded>();
    startJob([result, path = path_, from = startFrom_, encoding = encoding_](
                 Steps& steps) { *result = readWordFile(path, from, encoding, steps); },
             [this, result] {
                 const FileOutcome outcome = applyLoad(*result);
                 emit fileWorkEnded();
                 emit loaded(outcome);
             },
             true);
}

quint64 WordStore::saveInBackground(OutsideChanges outside, Progress progress) {
    finishFileWork();
    if (FileOutcome refused = mayWrite(outside); !refused.ok)
        return startJob([](Steps&) {}, [this, refused, id = jobs_ + 1] { emit saved(id, refused); },
                        false);
    pauseWatch();
    const bool shown = progress == Progress::Shown;
    if (shown)
        emit fileWorkBegun(active_.isEmpty() ? SavingPassiveText : SavingActiveText);
    auto result = std::make_shared<Written>();
    return startJob(
        [result, job = saveJob()](Steps& steps) { *result = writeWordFile(job, steps); },
        [this, result, revision = revision_, id = jobs_ + 1, shown] {
            const FileOutcome outcome = applySave(*result, revision);
            if (shown)
                emit fileWorkEnded();
            emit saved(id, outcome);
        },
        shown);
}

quint64 WordStore::startJob(std::function<void(Steps&)> work, std::function<void()> done,
                            bool shown) {
    const quint64 id = ++jobs_;
    // News of a job reaches this thread later: a job that ended meanwhile
    // says nothing any more.
    const auto live = [this, id] { return job_ && jobs_ == id; };
    Steps steps;
    if (shown)
        steps = Steps(
            [this, live](const QString& text) {
                QMetaObject::invokeMethod(
                    this,
                    [this, live, text] {
                        if (live())
                            emit fileWorkBegun(text);
                    },
                    Qt::QueuedConnection);
            },
            [this, live](qint64 done, qint64 max) {
                QMetaObject::invokeMethod(
                    this,
                    [this, live, done, max] {
                        if (live())
                            emit fileWorkProgressed(done, max);
                    },
                    Qt::QueuedConnection);
            });
    jobDone_ = std::move(done);
    job_.reset(QThread::create([work = std::move(work), steps]() mutable { work(steps); }));
    job_->setObjectName(QStringLiteral("WordFileJob"));
    connect(job_.get(), &QThread::finished, this, [this, live] {
        if (live())
            endJob();
    });
    job_->start();
    return id;
}

void WordStore::endJob() {
    job_->wait();
    job_.reset();
    std::exchange(jobDone_, {})();
}

bool WordStore::finishFileWork(int waitMs) {
    if (!job_)
        return true;
    if (!job_->wait(waitMs < 0 ? QDeadlineTimer(QDeadlineTimer::Forever) : QDeadlineTimer(waitMs)))
        return false;
    endJob();
    return true;
}

QStringList WordStore::rescueFolders() const {
    QStringList folders{QFileInfo(path_).absolutePath()};
    const QString own = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (!own.isEmpty() && own != folders.constFirst())
        folders.append(own);
    return folders;
}

QString WordStore::saveRescueCopy() {
    QString text;
    appendList(text, active_, u'A');
    appendList(text, passive_, u'P');
    // UTF-8 holds every word, and its mark tells any reader so.
    WordFile::Encoding encoding = WordFile::Encoding::Utf8Bom;
    const QByteArray bytes = WordFile::encode(text, encoding);
    const QString name =
        RescuePrefix + Now().toString(QStringLiteral("yyyy-MM-dd-HHmmss")) + QStringLiteral(".txt");
    const QStringList folders = rescueFolders();
    for (const QString& folder : folders) {
        // The word file's own folder is not made: its being gone may be why
        // the words are here.
        if (folder != folders.constFirst())
            QDir().mkpath(folder);
        QSaveFile file(QDir(folder).filePath(name));
        file.setDirectWriteFallback(false);
        if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
            return file.fileName();
    }
    return {};
}

QStringList WordStore::rescueCopies() const {
    const QDateTime saved = QFileInfo(path_).lastModified();
    QStringList copies;
    for (const QString& folder : rescueFolders())
        for (const QFileInfo& copy : QDir(folder).entryInfoList(
                 {RescuePrefix + QStringLiteral("*.txt")}, QDir::Files, QDir::Name))
            if (!saved.isValid() || copy.lastModified() > saved)
                copies.append(copy.filePath());
    return copies;
}

WordStore::DiskState WordStore::diskStateOf(const QString& path, QByteArrayView content) {
    const QFileInfo info(path);
    return {true, info.size(), info.lastModified(), qHash(content, 0)};
}

bool WordStore::sameSizeAndTime(const QString& path, const DiskState& seen) {
    const QFileInfo info(path);
    if (!info.exists() || !seen.exists)
        return info.exists() == seen.exists;
    return info.isFile() && info.size() == seen.size && info.lastModified() == seen.modified;
}

WordStore::Look WordStore::lookAt(const QString& path, const DiskState& seen) {
    Look look;
    const QFileInfo info(path);
    if (!info.exists()) {
        look.what = seen.exists ? OnDisk::Removed : OnDisk::AsSeen;
        return look;
    }
    QFile file(path);
    QByteArray bytes;
    if (info.isDir() || !file.open(QIODevice::ReadOnly) ||
        (bytes = file.readAll(), file.error() != QFileDevice::NoError)) {
        look.what = OnDisk::Unreadable;
        return look;
    }
    look.state = diskStateOf(path, bytes);
    // Same size and content: the time may say otherwise (an editor may keep
    // it, a copy may set it back, a touch moves it), the words are the same.
    if (seen.exists && look.state.size == seen.size && look.state.hash == seen.hash)
        return look;
    look.what = OnDisk::Changed;
    WordFile::Reader reader(bytes);
    for (QByteArrayView line; !look.hasWord && reader.nextLine(line);)
        look.hasWord = reader.parse(line).has_value();
    return look;
}

WordStore::OnDisk WordStore::apply(const Look& look) {
    OnDisk what = look.what;
    // Words the user has are not given up for a file without one.
    if (what == OnDisk::Changed && !look.hasWord && usersWords_ &&
        !(active_.isEmpty() && passive_.isEmpty()))
        what = OnDisk::Emptied;
    onDisk_ = what;
    // Words in no file that can be read are not saved yet.
    if (what == OnDisk::Unreadable && usersWords_)
        changed_ = true;
    if (what == OnDisk::AsSeen) {
        seen_ = look.state;
        emit diskAsSeen();
    } else {
        emit changedOnDisk(what);
    }
    return what;
}

void WordStore::lookAtDisk() {
    if (!worker_) {
        worker_ = new QThread(this);
        worker_->setObjectName(QStringLiteral("WordFileWorker"));
        workerContext_ = new QObject;
        workerContext_->moveToThread(worker_);
        worker_->start(QThread::LowPriority);
    }
    // Answered on this thread; a look that a load or a save of the program's
    // own overtook says nothing any more.
    QMetaObject::invokeMethod(
        workerContext_,
        [this, path = path_, seen = seen_, generation = generation_] {
            const Look look = lookAt(path, seen);
            QMetaObject::invokeMethod(
                this,
                [this, look, generation] {
                    if (generation == generation_)
                        apply(look);
                },
                Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

WordStore::OnDisk WordStore::lookAtDiskNow() {
    return apply(lookAt(path_, seen_));
}

void WordStore::watchWordFile() {
    if (watcher_)
        return;
    watcher_ = new QFileSystemWatcher(this);
    diskCheck_ = new QTimer(this);
    diskCheck_->setSingleShot(true);
    diskCheck_->setInterval(DiskSettleMs);
    connect(diskCheck_, &QTimer::timeout, this, &WordStore::checkDisk);
    // The folder too: a save by rename (this program's, most editors')
    // puts another file in the watched one's place.
    const auto look = [this] { diskCheck_->start(); };
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, look);
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, look);
    resumeWatch();
}

void WordStore::pauseWatch() {
    if (!watcher_)
        return;
    const QStringList watched = watcher_->files() + watcher_->directories();
    if (!watched.isEmpty())
        watcher_->removePaths(watched);
}

void WordStore::resumeWatch() {
    if (!watcher_)
        return;
    watcher_->addPath(QFileInfo(path_).absolutePath());
    if (QFileInfo::exists(path_))
        watcher_->addPath(path_);
}

void WordStore::checkDisk() {
    if (QFileInfo::exists(path_) && !watcher_->files().contains(path_))
        watcher_->addPath(path_);
    lookAtDisk();
}

QString WordStore::setAsidePath() const {
    return QFileInfo(path_).dir().filePath(SetAsideFileName);
}

} // namespace ModVokabo
