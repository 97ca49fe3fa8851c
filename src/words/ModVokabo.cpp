#include "words/ModVokabo.h"

#include "platform/MsgBox.h"
#include "platform/Paths.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace ModVokabo {

WordList ActiveWords;
WordList PassiveWords;
bool WordsChanged = false;
QString ShownList = QStringLiteral("A");

namespace {

class NoProgress : public ProgressView {
public:
    void begin(const QString&, qint64 max) override { max_ = max; }
    void setMax(qint64 max) override { max_ = max; }
    qint64 max() const override { return max_; }
    void UpdateStatus(qint64) override {}
    void finish() override {}

private:
    qint64 max_ = 0;
};

NoProgress noProgress;
ProgressView* progressView = &noProgress;
WordListView* wordListView = nullptr;

struct FileState {
    QString path;
    QString startFrom;
    WordFile::Encoding encoding = WordFile::Encoding::Windows1254;
    // The file was there but could not be read: writing would destroy words
    // that were never loaded.
    bool unreadable = false;
    QString unreadableReason;
};
FileState fileState;

bool isActive(const QString& status) {
    return status == u"A";
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

void appendList(QString& out, const WordList& list, const QString& statusText, QChar status) {
    if (list.isEmpty())
        return;
    progressView->begin(statusText, list.size());
    for (qsizetype i = 0; i < list.size(); ++i) {
        progressView->UpdateStatus(i + 1);
        if (!list[i].English.isEmpty())
            WordFile::appendLine(out, list[i], status);
    }
    progressView->finish();
}

} // namespace

void setProgressView(ProgressView* view) {
    progressView = view ? view : &noProgress;
}

void setWordListView(WordListView* view) {
    wordListView = view;
}

WordList& listFor(const QString& status) {
    return isActive(status) ? ActiveWords : PassiveWords;
}

WordList GetWordList(const QString& status) {
    return listFor(status);
}

void SetWordList(const QString& status, const WordList& list) {
    listFor(status) = list;
}

void RemoveWordAt(WordList& list, int index) {
    list.removeAt(index - 1);
}

int AppendWord(const QString& English, const QString& Turkish, const QString& Ornek, qint16 Dogru,
               const QString& status) {
    WordList& list = listFor(status);
    list.append({English, Turkish, Ornek, Dogru});
    return static_cast<int>(list.size());
}

void GetWord(const QString& status, int index, QString& English, QString& Turkish, QString& Ornek) {
    const WordDef& word = listFor(status).at(index - 1);
    English = word.English;
    Turkish = word.Turkish;
    Ornek = word.Ornek;
}

void UpdateWord(const QString& status, int index, const QString& English, const QString& Turkish,
                const QString& Ornek) {
    WordDef& word = listFor(status)[index - 1];
    word.English = English;
    word.Turkish = Turkish;
    word.Ornek = Ornek;
}

void SetWordDogru(const QString& status, int index, qint16 Dogru) {
    listFor(status)[index - 1].Dogru = Dogru;
}

bool DeleteWordAsk(int index, bool ask) {
    WordList& list = listFor(ShownList);
    if (ask) {
        const QString prompt = quoted(list.at(index - 1).English) +
                               QStringLiteral(" vokabo tanımını silmek istiyor musunuz ?");
        if (MsgBox(prompt, MsgBoxStyle::YesNo | MsgBoxStyle::Question,
                   QStringLiteral("Vokabo Silme")) == MsgBoxResult::No)
            return false;
    }
    RemoveWordAt(list, index);
    WordsChanged = true;
    return true;
}

bool ToggleWordAsk(const QString& status, int index, bool ask) {
    if (ask) {
        const QString prompt =
            quoted(listFor(ShownList).at(index - 1).English) +
            (isActive(status) ? QStringLiteral(" vokabo tanımını pasif yapmak istiyor musunuz ?")
                              : QStringLiteral(" vokabo tanımını aktif yapmak istiyor musunuz ?"));
        if (MsgBox(prompt, MsgBoxStyle::YesNo | MsgBoxStyle::Question,
                   QStringLiteral("Vokabo Aktif/Pasif")) == MsgBoxResult::No)
            return false;
    }
    return isActive(status) ? MoveToPassive(index) : MoveToActive(index);
}

namespace {
bool moveWord(WordList& from, int index, const QString& toStatus) {
    const WordDef word = from.at(index - 1);
    AppendWord(word.English, word.Turkish, word.Ornek, word.Dogru, toStatus);
    RemoveWordAt(from, index);
    WordsChanged = true;
    return true;
}
} // namespace

bool MoveToPassive(int index) {
    return moveWord(ActiveWords, index, QStringLiteral("P"));
}

bool MoveToActive(int index) {
    return moveWord(PassiveWords, index, QStringLiteral("A"));
}

void setWordFilePath(const QString& path) {
    setWordFilePath(path, startingWordFile(path, programFolder()));
}

void setWordFilePath(const QString& path, const QString& startFrom) {
    fileState.path = path;
    fileState.startFrom = startFrom;
}

QString wordFilePath() {
    return fileState.path;
}

WordFile::Encoding wordFileEncoding() {
    return fileState.encoding;
}

FileOutcome LoadWordFile() {
    progressView->begin(QStringLiteral("Vokaboler yükleniyor..."), 50);

    QString source = fileState.path;
    if (!QFileInfo::exists(source) && !fileState.startFrom.isEmpty() &&
        QFileInfo::exists(fileState.startFrom))
        source = fileState.startFrom;
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

    qint64 lineCounter = -1;
    if (found && outcome.ok) {
        WordFile::Reader reader(bytes);
        fileState.encoding = reader.encoding();
        QByteArrayView line;
        while (reader.nextLine(line)) {
            ++lineCounter;
            if (progressView->max() < lineCounter)
                progressView->setMax(progressView->max() * 2);
            progressView->UpdateStatus(lineCounter);
            if (std::optional<WordFile::ParsedLine> parsed = reader.parse(line))
                (parsed->active ? ActiveWords : PassiveWords).append(std::move(parsed->word));
        }
    }

    if (!outcome.ok) {
        fileState.unreadable = true;
        fileState.unreadableReason = outcome.reason;
    } else if (lineCounter == -1) {
        for (const WordDef& word : SampleWords)
            AppendWord(word.English, word.Turkish, word.Ornek, 0, QStringLiteral("A"));
    }
    FillWordList(QStringLiteral("A"));
    progressView->finish();
    return outcome;
}

FileOutcome SaveWordFile() {
    if (fileState.unreadable) {
        FileOutcome outcome = failure(
            fileState.path, QStringLiteral("Dosya açılışta okunamadı (%1); içindeki vokaboler "
                                           "kaybolmasın diye üzerine yazılmıyor.")
                                .arg(fileState.unreadableReason));
        outcome.retryMayHelp = false;
        return outcome;
    }

    QString text;
    appendList(text, ActiveWords, QStringLiteral("Aktif Vokaboler saklanıyor..."), u'A');
    appendList(text, PassiveWords, QStringLiteral("Pasif Vokaboler saklanıyor..."), u'P');

    WordFile::Encoding encoding = fileState.encoding;
    const QByteArray bytes = WordFile::encode(text, encoding);

    QSaveFile file(fileState.path);
    file.setDirectWriteFallback(false);
    // Unbuffered: every write reaches the file here, where its size is checked.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failure(fileState.path, QStringLiteral("Dosya yazılmak üzere açılamadı."), &file);
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
            fileState.path,
            QStringLiteral("Dosyanın %1 baytından yalnızca %2 bayt yazılabildi; disk dolmuş ya da "
                           "dosya boyu sınırına varılmış olabilir. Eski dosya olduğu gibi duruyor.")
                .arg(bytes.size())
                .arg(written),
            &file);
        file.cancelWriting();
        return outcome;
    }
    if (!file.commit())
        return failure(fileState.path,
                       QStringLiteral("Dosya diske yazılıp yerine konamadı. Eski dosya olduğu "
                                      "gibi duruyor."),
                       &file);
    fileState.encoding = encoding;
    return {true, fileState.path, {}};
}

void FillWordList(const QString& status) {
    const WordList& list = listFor(status);
    const int count = static_cast<int>(list.size());
    QString caption;
    if (isActive(status)) {
        caption = QStringLiteral("Aktif Vokaboleriniz (%1)").arg(count);
        ShownList = QStringLiteral("A");
    } else {
        caption = QStringLiteral("Pasif Vokaboleriniz (%1)").arg(count);
        ShownList = QStringLiteral("P");
    }
    if (!wordListView)
        return;
    QList<ListLine> lines;
    lines.reserve(count);
    const QLatin1StringView separator(" || ");
    for (int i = 0; i < count; ++i) {
        // One allocation a line: there may be tens of thousands.
        QString text;
        text.reserve(list[i].English.size() + separator.size() + list[i].Turkish.size());
        text.append(list[i].English).append(separator).append(list[i].Turkish);
        lines.append({std::move(text), i + 1});
    }
    wordListView->showWordList(caption, std::move(lines));
}

void resetState() {
    ActiveWords.clear();
    PassiveWords.clear();
    WordsChanged = false;
    ShownList = QStringLiteral("A");
    fileState = {};
    progressView = &noProgress;
    wordListView = nullptr;
}

} // namespace ModVokabo
