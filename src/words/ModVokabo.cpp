#include "words/ModVokabo.h"

#include "platform/MsgBox.h"

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

int WordListUpper(const WordList& list) {
    return list.isEmpty() ? -1 : static_cast<int>(list.size());
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
    fileState.path = path;
}

QString wordFilePath() {
    return fileState.path;
}

WordFile::Encoding wordFileEncoding() {
    return fileState.encoding;
}

FileOutcome LoadWordFile() {
    FileOutcome outcome{true, fileState.path, {}};
    const QString loading = QStringLiteral("Vokaboler yükleniyor...");
    progressView->begin(loading, 50);

    qint64 lineCounter = -1;
    QFile file(fileState.path);
    const QFileInfo info(fileState.path);
    if (info.exists()) {
        QByteArray bytes;
        if (info.isDir()) {
            outcome = {false, fileState.path, QStringLiteral("Bu ad bir klasöre ait.")};
        } else if (!file.open(QIODevice::ReadOnly)) {
            outcome = {false, fileState.path, file.errorString()};
        } else {
            bytes = file.readAll();
            if (file.error() != QFileDevice::NoError)
                outcome = {false, fileState.path, file.errorString()};
            file.close();
        }
        if (outcome.ok) {
            const QString text = WordFile::decode(bytes, fileState.encoding);
            lineCounter +=
                WordFile::forEachLine(text, [&, counter = lineCounter](QStringView line) mutable {
                    ++counter;
                    if (progressView->max() < counter)
                        progressView->setMax(progressView->max() * 2);
                    progressView->UpdateStatus(counter);
                    if (const auto parsed = WordFile::parseLine(line))
                        (parsed->active ? ActiveWords : PassiveWords).append(parsed->word);
                });
        }
    }

    if (!outcome.ok) {
        fileState.unreadable = true;
        fileState.unreadableReason = outcome.reason;
        progressView->finish();
        MsgBox(QStringLiteral("Vokabo dosyası okunamadı:\n%1\n\n%2\n\nDosyadaki vokaboler "
                              "korunacak: program bu dosyanın üzerine yazmayacak.")
                   .arg(outcome.path, outcome.reason),
               MsgBoxStyle::OkOnly | MsgBoxStyle::Critical, QStringLiteral("Vokabo Retano"));
    } else if (lineCounter == -1) {
        for (const WordDef& word : SampleWords)
            AppendWord(word.English, word.Turkish, word.Ornek, 0, QStringLiteral("A"));
    }
    FillWordList(QStringLiteral("A"));
    progressView->finish();
    return outcome;
}

FileOutcome SaveWordFile() {
    if (fileState.unreadable)
        return {false, fileState.path,
                QStringLiteral("Dosya açılışta okunamadı (%1); içindeki vokaboler kaybolmasın "
                               "diye üzerine yazılmıyor.")
                    .arg(fileState.unreadableReason)};

    QString text;
    appendList(text, ActiveWords, QStringLiteral("Aktif Vokaboler saklanıyor..."), u'A');
    appendList(text, PassiveWords, QStringLiteral("Pasif Vokaboler saklanıyor..."), u'P');

    WordFile::Encoding encoding = fileState.encoding;
    const QByteArray bytes = WordFile::encode(text, encoding);

    QSaveFile file(fileState.path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return {false, fileState.path, file.errorString()};
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return {false, fileState.path, reason};
    }
    if (!file.commit())
        return {false, fileState.path, file.errorString()};
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
    for (int i = 0; i < count; ++i)
        lines.append({list[i].English + QStringLiteral(" || ") + list[i].Turkish, i + 1});
    wordListView->showWordList(caption, lines);
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
