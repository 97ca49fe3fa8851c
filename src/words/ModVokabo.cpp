#include "words/ModVokabo.h"

#include "platform/Clock.h"
#include "platform/MsgBox.h"
#include "platform/Paths.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QSaveFile>
#include <QSet>
#include <QTimer>
#include <limits>

namespace ModVokabo {

namespace {

// How long the file system may go on changing the word file before it is
// looked at: an editor's save is several steps.
constexpr int DiskSettleMs = 300;

// Shows nothing, and has room for any number of lines.
class NoProgress : public ProgressView {
public:
    void begin(const QString&, qint64) override {}
    void setMax(qint64) override {}
    qint64 max() const override { return std::numeric_limits<qint64>::max(); }
    void UpdateStatus(qint64) override {}
    void finish() override {}
};

ProgressView* noProgress() {
    static NoProgress none;
    return &none;
}

QString quoted(const QString& text) {
    return u'"' + text + u'"';
}

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

// The reason in Turkish, then the system's own words where it gave any.
FileOutcome failure(const QString& path, const QString& reason, const QFileDevice* file = nullptr) {
    FileOutcome outcome{false, path, reason};
    if (file && file->error() != QFileDevice::NoError)
        outcome.reason += QStringLiteral("\nSistemin bildirdiği hata: ") + file->errorString();
    return outcome;
}

void appendList(QString& out, ProgressView& progress, const WordList& list,
                const QString& statusText, QChar status) {
    if (list.isEmpty())
        return;
    progress.begin(statusText, list.size());
    for (qsizetype i = 0; i < list.size(); ++i) {
        progress.UpdateStatus(i + 1);
        if (!list[i].English.isEmpty())
            WordFile::appendLine(out, list[i], status);
    }
    progress.finish();
}

} // namespace

WordStore::WordStore(const QString& path, const QString& startFrom, QObject* parent)
    : QObject(parent), progress_(noProgress()), path_(path), startFrom_(startFrom) {}

WordStore::WordStore(const QString& path, QObject* parent)
    : WordStore(path, startingWordFile(path, programFolder()), parent) {}

void WordStore::setProgressView(ProgressView* view) {
    progress_ = view ? view : noProgress();
}

const WordList& WordStore::words(WordListKind list) const {
    return list == WordListKind::Active ? active_ : passive_;
}

WordList& WordStore::listOf(WordListKind list) {
    return list == WordListKind::Active ? active_ : passive_;
}

void WordStore::markChanged(WordListKind list, Change what) {
    changed_ = true;
    emit changed(list, what);
}

const WordDef& WordStore::GetWord(WordListKind list, int index) const {
    return words(list).at(index);
}

int WordStore::AppendWord(const WordDef& word, WordListKind list) {
    WordList& words = listOf(list);
    words.append(word);
    emit wordsAdded(list, {word});
    markChanged(list, Change::Lines);
    return static_cast<int>(words.size() - 1);
}

void WordStore::AppendWords(const WordList& words, WordListKind list) {
    if (words.isEmpty())
        return;
    listOf(list).append(words);
    emit wordsAdded(list, words);
    markChanged(list, Change::Lines);
}

void WordStore::UpdateWord(WordListKind list, int index, const QString& English,
                           const QString& Turkish, const QString& Ornek) {
    WordDef& word = listOf(list)[index];
    const WordDef before = word;
    word.English = English;
    word.Turkish = Turkish;
    word.Ornek = Ornek;
    emit wordEdited(list, before, word);
    markChanged(list, Change::Lines);
}

void WordStore::SetWordDogru(WordListKind list, int index, qint16 Dogru) {
    listOf(list)[index].Dogru = Dogru;
    markChanged(list, Change::Count);
}

bool WordStore::DeleteWordAsk(WordListKind list, int index, bool ask) {
    WordList& words = listOf(list);
    if (ask) {
        const QString prompt = quoted(words.at(index).English) +
                               QStringLiteral(" vokabo tanımını silmek istiyor musunuz ?");
        if (MsgBox(prompt, MsgBoxStyle::YesNo | MsgBoxStyle::Question,
                   QStringLiteral("Vokabo Silme")) == MsgBoxResult::No)
            return false;
    }
    const WordDef gone = words.takeAt(index);
    emit wordDeleted(list, gone);
    markChanged(list, Change::Lines);
    return true;
}

bool WordStore::ToggleWordAsk(WordListKind list, int index, bool ask) {
    if (ask) {
        const QString prompt =
            quoted(words(list).at(index).English) +
            (list == WordListKind::Active
                 ? QStringLiteral(" vokabo tanımını pasif yapmak istiyor musunuz ?")
                 : QStringLiteral(" vokabo tanımını aktif yapmak istiyor musunuz ?"));
        if (MsgBox(prompt, MsgBoxStyle::YesNo | MsgBoxStyle::Question,
                   QStringLiteral("Vokabo Aktif/Pasif")) == MsgBoxResult::No)
            return false;
    }
    return moveWord(list, index);
}

bool WordStore::moveWord(WordListKind from, int index) {
    const WordListKind to = otherList(from);
    const WordDef word = listOf(from).takeAt(index);
    listOf(to).append(word);
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
    progress_->begin(QStringLiteral("Vokaboler yükleniyor..."), 50);

    QString source = path_;
    if (!QFileInfo::exists(source) && !startFrom_.isEmpty() && QFileInfo::exists(startFrom_))
        source = startFrom_;
    FileOutcome outcome{true, source, {}};
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

    WordList active, passive;
    QStringList unread;
    qint64 lineCounter = -1;
    if (found && outcome.ok) {
        WordFile::Reader reader(bytes);
        encoding_ = reader.encoding();
        QByteArrayView line;
        while (reader.nextLine(line)) {
            ++lineCounter;
            if (progress_->max() < lineCounter)
                progress_->setMax(progress_->max() * 2);
            progress_->UpdateStatus(lineCounter);
            if (std::optional<WordFile::ParsedLine> parsed = reader.parse(line))
                (parsed->active ? active : passive).append(std::move(parsed->word));
            else if (!line.trimmed().isEmpty())
                unread.append(reader.decode(line));
        }
    }

    unreadable_ = !outcome.ok;
    unreadableReason_ = outcome.ok ? QString() : outcome.reason;
    // A file read from elsewhere leaves the word file itself unseen: absent.
    seen_ = found && outcome.ok && source == path_ ? diskStateOf(path_, bytes) : DiskState{};
    unread_ = std::move(unread);
    if (outcome.ok && lineCounter == -1)
        active = WordList(std::begin(SampleWords), std::end(SampleWords));
    active_ = std::move(active);
    passive_ = std::move(passive);
    changed_ = false;
    progress_->finish();
    emit changed(WordListKind::Active, Change::Lines);
    emit changed(WordListKind::Passive, Change::Lines);
    return outcome;
}

FileOutcome WordStore::SaveWordFile(OutsideChanges outside, Progress progress) {
    if (unreadable_) {
        FileOutcome outcome =
            failure(path_, QStringLiteral("Dosya açılışta okunamadı (%1); içindeki vokaboler "
                                          "kaybolmasın diye üzerine yazılmıyor.")
                               .arg(unreadableReason_));
        outcome.retryMayHelp = false;
        return outcome;
    }

    if (outside == OutsideChanges::Keep && !fileIsAsSeen()) {
        FileOutcome outcome = failure(
            path_, QStringLiteral("Dosya, program açıkken başka bir programda değiştirilmiş; "
                                  "üzerine yazılmadı."));
        outcome.changedOnDisk = true;
        return outcome;
    }
    if (!unread_.isEmpty())
        if (FileOutcome kept = setAsideUnreadLines(); !kept.ok)
            return kept;

    QString text;
    ProgressView& shown = progress == Progress::Shown ? *progress_ : *noProgress();
    appendList(text, shown, active_, QStringLiteral("Aktif Vokaboler saklanıyor..."), u'A');
    appendList(text, shown, passive_, QStringLiteral("Pasif Vokaboler saklanıyor..."), u'P');

    WordFile::Encoding encoding = encoding_;
    const QByteArray bytes = WordFile::encode(text, encoding);

    QSaveFile file(path_);
    file.setDirectWriteFallback(false);
    // Unbuffered: every write reaches the file here, where its size is checked.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failure(path_, QStringLiteral("Dosya yazılmak üzere açılamadı."), &file);
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
        const FileOutcome outcome = failure(
            path_,
            QStringLiteral("Dosyanın %1 baytından yalnızca %2 bayt yazılabildi; disk dolmuş ya da "
                           "dosya boyu sınırına varılmış olabilir. Eski dosya olduğu gibi duruyor.")
                .arg(bytes.size())
                .arg(written),
            &file);
        file.cancelWriting();
        return outcome;
    }
    if (!file.commit())
        return failure(path_,
                       QStringLiteral("Dosya diske yazılıp yerine konamadı. Eski dosya olduğu "
                                      "gibi duruyor."),
                       &file);
    encoding_ = encoding;
    changed_ = false;
    seen_ = diskStateOf(path_, bytes);
    return {true, path_, {}};
}

WordStore::DiskState WordStore::diskStateOf(const QString& path, const QByteArray& content) {
    const QFileInfo info(path);
    return {true, info.size(), info.lastModified(),
            QCryptographicHash::hash(content, QCryptographicHash::Sha1)};
}

bool WordStore::fileIsAsSeen() {
    const QFileInfo info(path_);
    if (!info.exists() || !seen_.exists)
        return info.exists() == seen_.exists;
    if (info.size() != seen_.size)
        return false;
    // Same size: the content tells, whatever the time says (an editor may
    // keep it, a copy may set it back).
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QCryptographicHash hash(QCryptographicHash::Sha1);
    if (!hash.addData(&file) || hash.result() != seen_.hash)
        return false;
    seen_.modified = info.lastModified();
    return true;
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
    watcher_->addPath(QFileInfo(path_).absolutePath());
    if (QFileInfo::exists(path_))
        watcher_->addPath(path_);
}

void WordStore::checkDisk() {
    if (QFileInfo::exists(path_) && !watcher_->files().contains(path_))
        watcher_->addPath(path_);
    if (!fileIsAsSeen())
        emit changedOnDisk();
}

QString WordStore::setAsidePath() const {
    return QFileInfo(path_).dir().filePath(SetAsideFileName);
}

FileOutcome WordStore::setAsideUnreadLines() {
    const QString path = setAsidePath();
    QFile file(path);
    // Each line once, however often the file is read and saved.
    QSet<QString> kept;
    if (file.open(QIODevice::ReadOnly)) {
        const QString old = QString::fromUtf8(file.readAll());
        for (const QString& entry : old.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
            kept.insert(entry.section(u'\t', 1));
        file.close();
    }
    const QString date = Now().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    QString added;
    int count = 0;
    for (const QString& line : std::as_const(unread_)) {
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
        file.close();
    }
    unread_.clear();
    if (count > 0)
        emit linesSetAside(count, path);
    return {true, path, {}};
}

} // namespace ModVokabo
