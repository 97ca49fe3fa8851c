// Times loading and saving a large word file through the word store, with the
// real progress window and main list on screen, against the bare cost of
// decoding and encoding the same bytes.
//
// Each measurement runs in a child process of its own, so that the peak memory
// getrusage reports belongs to that measurement alone.

#include "app/Resources.h"
#include "app/WordListPanel.h"
#include "platform/MsgBox.h"
#include "settings/Settings.h"
#include "words/FormProgress.h"
#include "words/ModVokabo.h"

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QIcon>
#include <QListWidget>
#include <QLocale>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringList>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <vector>

using ModVokabo::WordDef;
using ModVokabo::WordList;

namespace {

constexpr int WordsPerList = 32767;
// A load within 3x reading and decoding the same bytes; a save within 1.5x
// encoding and writing them through QSaveFile, as every save must.
constexpr double LoadAim = 3.0;
constexpr double SaveAim = 1.5;
const char* const CodePage = "windows-1254";

// --- The word file ---

QStringList pool(std::initializer_list<const char16_t*> words) {
    QStringList out;
    for (const char16_t* word : words)
        out.append(QString::fromUtf16(word));
    return out;
}

const QStringList EnglishWords = pool({
    u"account",   u"advice",   u"afford",   u"agreement", u"allowance", u"amount",    u"apply",
    u"approve",   u"arrears",  u"assets",   u"attempt",   u"average",   u"balance",   u"bargain",
    u"behaviour", u"belong",   u"benefit",  u"borrow",    u"branch",    u"budget",    u"burden",
    u"career",    u"careful",  u"cheap",    u"claim",     u"collect",   u"compare",   u"complain",
    u"condition", u"consider", u"contract", u"convince",  u"county",    u"credit",    u"customer",
    u"damage",    u"debt",     u"decline",  u"deliver",   u"demand",    u"deposit",   u"deserve",
    u"develop",   u"discount", u"earn",     u"effort",    u"employ",    u"enough",    u"estate",
    u"evidence",  u"expense",  u"fair",     u"fee",       u"figure",    u"fortune",   u"freight",
    u"fund",      u"gain",     u"goods",    u"growth",    u"guarantee", u"half",      u"household",
    u"improve",   u"income",   u"increase", u"insurance", u"interest",  u"invest",    u"invoice",
    u"issue",     u"lease",    u"lend",     u"liability", u"loan",      u"loss",      u"maintain",
    u"margin",    u"merchant", u"mortgage", u"negotiate", u"obtain",    u"owe",       u"owner",
    u"payment",   u"pension",  u"person",   u"price",     u"profit",    u"property",  u"purchase",
    u"quantity",  u"receipt",  u"reduce",   u"refund",    u"rent",      u"require",   u"retail",
    u"revenue",   u"salary",   u"saving",   u"share",     u"shortage",  u"spend",     u"student",
    u"supply",    u"surplus",  u"tax",      u"tenant",    u"trade",     u"transfer",  u"value",
    u"wage",      u"wealth",   u"withdraw", u"worth",     u"yield",     u"take over", u"look after",
    u"give up",
});

const QStringList TurkishWords = pool({
    u"hesap",        u"öğüt",        u"karşılamak",  u"anlaşma",
    u"ödenek",       u"miktar",      u"başvurmak",   u"onaylamak",
    u"borç",         u"varlıklar",   u"girişim",     u"ortalama",
    u"bakiye",       u"pazarlık",    u"davranış",    u"ait olmak",
    u"yarar",        u"ödünç almak", u"şube",        u"bütçe",
    u"yük",          u"meslek",      u"dikkatli",    u"ucuz",
    u"iddia",        u"toplamak",    u"karşılaştır", u"şikâyet",
    u"koşul",        u"düşünmek",    u"sözleşme",    u"ikna etmek",
    u"ilçe",         u"kredi",       u"müşteri",     u"zarar",
    u"düşüş",        u"teslim",      u"talep",       u"mevduat",
    u"hak etmek",    u"geliştirmek", u"indirim",     u"kazanmak",
    u"çaba",         u"işe almak",   u"yeterli",     u"mülk",
    u"kanıt",        u"gider",       u"adil",        u"ücret",
    u"rakam",        u"servet",      u"yük taşıma",  u"fon",
    u"kazanç",       u"mallar",      u"büyüme",      u"güvence",
    u"yarım",        u"buçuk",       u"hane",        u"iyileştirmek",
    u"gelir",        u"artış",       u"sigorta",     u"faiz",
    u"yatırım",      u"fatura",      u"sorun",       u"kira",
    u"ödünç vermek", u"yükümlülük",  u"kayıp",       u"sürdürmek",
    u"kâr payı",     u"tüccar",      u"ipotek",      u"görüşmek",
    u"elde etmek",   u"sahip",       u"ödeme",       u"emekli aylığı",
    u"kişi",         u"şahıs",       u"fiyat",       u"özellik",
    u"emlak",        u"arazi",       u"satın alma",  u"nicelik",
    u"makbuz",       u"azaltmak",    u"geri ödeme",  u"perakende",
    u"İstanbul",     u"İngiliz",     u"İş",          u"İlgi",
    u"maaş",         u"birikim",     u"hisse",       u"kıtlık",
    u"harcamak",     u"öğrenci",     u"tedarik",     u"fazlalık",
    u"vergi",        u"kiracı",      u"ticaret",     u"aktarma",
    u"değer",        u"gündelik",    u"zenginlik",   u"çekmek",
    u"değerinde",    u"getiri",      u"üstlenmek",   u"ılık",
});

const QStringList SentenceWords = pool({
    u"the",    u"a",      u"of",      u"to",   u"and",   u"in",    u"is",       u"are",
    u"was",    u"for",    u"on",      u"with", u"his",   u"her",   u"their",    u"my",
    u"our",    u"John's", u"company", u"bank", u"month", u"year",  u"people",   u"every",
    u"never",  u"always", u"better",  u"than", u"none",  u"goes",  u"pays",     u"total",
    u"new",    u"old",    u"last",    u"next", u"small", u"large", u"family",   u"city",
    u"market", u"house",  u"money",   u"time", u"work",  u"today", u"tomorrow", u"yesterday",
});

struct Rng {
    std::mt19937 engine{20240611u};
    // The plain modulus keeps the words the same on every standard library.
    int below(int n) { return static_cast<int>(engine() % static_cast<unsigned>(n)); }
    const QString& pick(const QStringList& from) { return from.at(below(int(from.size()))); }
};

QString englishTerm(Rng& rng) {
    const int roll = rng.below(20);
    QString term = rng.pick(EnglishWords);
    if (roll >= 14)
        term += u' ' + rng.pick(EnglishWords);
    if (roll >= 19)
        term += u' ' + rng.pick(EnglishWords);
    return term;
}

QString turkishMeaning(Rng& rng) {
    const int parts = 1 + rng.below(4);
    QString meaning = rng.pick(TurkishWords);
    for (int i = 1; i < parts; ++i)
        meaning += (rng.below(4) == 0 ? QStringLiteral("  ") : QStringLiteral(" ")) +
                   rng.pick(TurkishWords);
    return meaning;
}

QString exampleSentence(Rng& rng, const QString& term) {
    const int length = 4 + rng.below(11);
    const int termAt = rng.below(length);
    QString sentence;
    for (int i = 0; i < length; ++i) {
        if (i > 0)
            sentence += u' ';
        sentence += i == termAt ? term : rng.pick(SentenceWords);
    }
    sentence[0] = sentence[0].toUpper();
    if (rng.below(3) != 0)
        sentence += u'.';
    return sentence;
}

struct Vocabulary {
    WordList active;
    WordList passive;
};

// Always the same words, so that runs on different days compare.
Vocabulary makeVocabulary() {
    Rng rng;
    Vocabulary vocabulary;
    for (WordList* list : {&vocabulary.active, &vocabulary.passive}) {
        list->reserve(WordsPerList);
        for (int i = 0; i < WordsPerList; ++i) {
            WordDef word;
            word.English = englishTerm(rng);
            word.Turkish = turkishMeaning(rng);
            word.Ornek = exampleSentence(rng, word.English);
            word.Dogru = static_cast<qint16>(rng.below(21));
            list->append(word);
        }
    }
    return vocabulary;
}

QByteArray wordFileBytes(const Vocabulary& vocabulary) {
    QString text;
    for (const auto& [list, status] :
         {std::pair{&vocabulary.active, u'A'}, std::pair{&vocabulary.passive, u'P'}})
        for (const WordDef& word : *list)
            text += word.English + u'|' + word.Turkish + u'|' + word.Ornek + u'|' +
                    QString::number(word.Dogru) + u'|' + QChar(status) + QStringLiteral("\r\n");
    QStringEncoder encoder(CodePage);
    QByteArray bytes = encoder(text);
    if (encoder.hasError()) {
        std::fputs("The generated words do not fit Windows-1254.\n", stderr);
        std::exit(1);
    }
    return bytes;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size() && file.flush();
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// --- Measuring ---

long peakKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Bytes read so far (rchar), by this thread or by the whole process.
long long bytesRead(const char* io) {
    QFile file(QString::fromLatin1(io));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : file.readAll().split('\n'))
        if (line.startsWith("rchar:"))
            return line.mid(6).trimmed().toLongLong();
    return -1;
}

struct Figures {
    double medianMs = 0;
    double minMs = 0;
    double firstMs = 0; // the only one a program that has just started sees
    long baseKb = 0;    // peak before the first timed run
    long peakKb = 0;
    long repaints = -1; // in one run; -1 when no progress window was shown
    // Bytes of the word file read per run, in sizes of the file: on the UI
    // thread, and on any other; -1 where not counted.
    double uiReads = -1;
    double otherReads = -1;
    bool ok = true;
};

// Runs body `runs` times, each after an untimed prepare.
Figures timeRuns(int runs, const std::function<void()>& prepare,
                 const std::function<void()>& body) {
    Figures figures;
    figures.baseKb = peakKb();
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        prepare();
        const auto start = std::chrono::steady_clock::now();
        body();
        const auto end = std::chrono::steady_clock::now();
        ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    figures.firstMs = ms.front();
    std::sort(ms.begin(), ms.end());
    figures.medianMs = ms[ms.size() / 2];
    figures.minMs = ms.front();
    figures.peakKb = peakKb();
    return figures;
}

void fail(Figures& figures, const char* what) {
    std::fprintf(stderr, "bench_wordfile: %s\n", what);
    figures.ok = false;
}

struct Setup {
    QString wordFile;
    QString scratch; // written by the saves
    qint64 fileBytes = 0;
    int runs = 11;
    // The main list sorts by the user's language; the program's users read
    // Turkish, whatever locale the machine running this happens to have.
    QString locale = QStringLiteral("tr_TR");
    QByteArray only; // one measurement by name, in this process (for a profiler)
    QString writeTo; // only write the generated word file there
    QString folder;  // where the word files go; the system's temporary folder if empty
    int argc = 0;
    char** argv = nullptr;
};

// The offscreen platform says so whenever a window is shown; it is no news.
void quietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains(u"does not support raise()") || message.contains(u"XDG_RUNTIME_DIR"))
        return;
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

// The program's own start-up, as far as the word file's windows need it.
struct GuiApp {
    // Installed before QApplication, which already has things to say.
    QtMessageHandler previousHandler = qInstallMessageHandler(quietMessages);
    QApplication app;
    GuiApp(int& argc, char** argv, const QString& locale) : app(argc, argv) {
        QLocale::setDefault(QLocale(locale));
        loadVokaboResources();
        QApplication::setWindowIcon(QIcon(QStringLiteral(":/vokabo.svg")));
        QFont::insertSubstitution(QStringLiteral("MS Sans Serif"),
                                  QStringLiteral("Liberation Sans"));
        setMsgBoxHandler([](const QString& prompt, int style, const QString&) {
            std::fprintf(stderr, "bench_wordfile: message box: %s\n", qPrintable(prompt));
            return firstButton(style);
        });
    }
};

Figures floorRead(const Setup& setup) {
    QString text;
    Figures figures = timeRuns(
        setup.runs, [&] { text.clear(); },
        [&] {
            QStringDecoder decoder(CodePage);
            text = decoder(readFile(setup.wordFile));
        });
    if (text.size() != setup.fileBytes)
        fail(figures, "the word file did not decode one character a byte");
    return figures;
}

// atomic: through QSaveFile as the program saves (it syncs and renames).
Figures floorWrite(const Setup& setup, bool atomic) {
    QStringDecoder decoder(CodePage);
    const QString text = decoder(readFile(setup.wordFile));
    Figures figures = timeRuns(
        setup.runs, [] {},
        [&] {
            QStringEncoder encoder(CodePage);
            const QByteArray bytes = encoder(text);
            if (atomic) {
                QSaveFile file(setup.scratch);
                if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() ||
                    !file.commit())
                    std::exit(1);
            } else if (!writeFile(setup.scratch, bytes)) {
                std::exit(1);
            }
        });
    if (readFile(setup.scratch) != readFile(setup.wordFile))
        fail(figures, "the encoded text differs from the word file");
    return figures;
}

Figures load(Setup& setup, bool withList, bool withProgress) {
    GuiApp gui(setup.argc, setup.argv, setup.locale);
    FormProgress progress;
    std::unique_ptr<ModVokabo::WordStore> store;
    // The main window's list, which follows the word store.
    std::unique_ptr<WordListPanel> list;
    int reports = 0;
    int before = 0;
    Figures figures = timeRuns(
        setup.runs,
        [&] {
            // The program starts with empty lists.
            list.reset();
            store = std::make_unique<ModVokabo::WordStore>(setup.wordFile, QString());
            if (withProgress) {
                progress.follow(*store);
                QObject::connect(store.get(), &ModVokabo::WordStore::fileWorkProgressed,
                                 [&reports] { ++reports; });
            }
            if (withList)
                list = std::make_unique<WordListPanel>(*store);
            before = reports;
        },
        [&] {
            if (!store->LoadWordFile().ok)
                std::exit(1);
        });
    if (withProgress)
        figures.repaints = reports - before;
    if (store->words(ModVokabo::WordListKind::Active).size() != WordsPerList ||
        store->words(ModVokabo::WordListKind::Passive).size() != WordsPerList)
        fail(figures, "the load did not give both lists in full");
    if (withList && list->lineCount() != WordsPerList)
        fail(figures, "the main list was not filled");
    return figures;
}

Figures save(Setup& setup, bool withProgress) {
    GuiApp gui(setup.argc, setup.argv, setup.locale);
    FormProgress progress;
    // A word file of another run is none of this store's: it starts from none.
    QFile::remove(setup.scratch);
    // The same lists a load of the word file gives, added directly so that
    // this process's peak memory is the save's and not a load's.
    ModVokabo::WordStore store(setup.scratch, QString());
    {
        const Vocabulary vocabulary = makeVocabulary();
        for (const WordDef& word : vocabulary.active)
            store.AppendWord(word, ModVokabo::WordListKind::Active);
        for (const WordDef& word : vocabulary.passive)
            store.AppendWord(word, ModVokabo::WordListKind::Passive);
    }
    if (withProgress)
        progress.follow(store);
    // Watched as the program watches it: whatever the save and the watch
    // read, right after the save and once the watch has settled, is counted.
    store.watchWordFile();
    long long uiBefore = bytesRead("/proc/thread-self/io");
    long long allBefore = bytesRead("/proc/self/io");
    long long uiBytes = 0;
    long long allBytes = 0;
    const auto settle = [&] {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 600)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        const long long ui = bytesRead("/proc/thread-self/io");
        const long long all = bytesRead("/proc/self/io");
        uiBytes += ui - uiBefore;
        allBytes += all - allBefore;
        // The counts' own reading is not counted.
        uiBefore = bytesRead("/proc/thread-self/io");
        allBefore = bytesRead("/proc/self/io");
    };
    int reports = 0;
    if (withProgress)
        QObject::connect(&store, &ModVokabo::WordStore::fileWorkProgressed,
                         [&reports] { ++reports; });
    int before = 0;
    Figures figures = timeRuns(
        setup.runs,
        [&] {
            settle();
            before = reports;
        },
        [&] {
            if (!store.SaveWordFile().ok)
                std::exit(1);
        });
    settle();
    figures.uiReads = double(uiBytes) / double(setup.fileBytes) / setup.runs;
    figures.otherReads = double(allBytes - uiBytes) / double(setup.fileBytes) / setup.runs;
    if (withProgress)
        figures.repaints = reports - before;
    if (readFile(setup.scratch) != readFile(setup.wordFile))
        fail(figures, "the saved file differs from the one generated");
    return figures;
}

struct Measurement {
    const char* name;
    const char* title;
    std::function<Figures(Setup&)> run;
};

const Measurement Measurements[] = {
    {"read", "floor: read + decode", [](Setup& s) { return floorRead(s); }},
    {"write", "floor: encode + write", [](Setup& s) { return floorWrite(s, false); }},
    {"write-atomic", "  ...through QSaveFile", [](Setup& s) { return floorWrite(s, true); }},
    {"load", "LoadWordFile", [](Setup& s) { return load(s, true, true); }},
    {"load-bare", "  without the list view", [](Setup& s) { return load(s, false, true); }},
    {"load-quiet", "  without list view or progress",
     [](Setup& s) { return load(s, false, false); }},
    {"save", "SaveWordFile", [](Setup& s) { return save(s, true); }},
    {"save-quiet", "  without the progress window", [](Setup& s) { return save(s, false); }},
};

// Runs one measurement in a child process, so that its peak memory is its own.
Figures isolated(const Measurement& measurement, Setup& setup) {
    int channel[2];
    if (pipe(channel) != 0) {
        std::perror("pipe");
        std::exit(1);
    }
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) {
        std::perror("fork");
        std::exit(1);
    }
    if (child == 0) {
        close(channel[0]);
        const Figures figures = measurement.run(setup);
        const bool sent = write(channel[1], &figures, sizeof figures) == sizeof figures;
        std::fflush(nullptr);
        _exit(sent ? 0 : 1);
    }
    close(channel[1]);
    Figures figures;
    const bool received = read(channel[0], &figures, sizeof figures) == sizeof figures;
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!received || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "bench_wordfile: measurement %s failed\n", measurement.name);
        std::exit(1);
    }
    return figures;
}

// --- Report ---

double mb(long kb) {
    return static_cast<double>(kb) / 1024.0;
}

void printHeader() {
    std::printf("%-32s %9s %7s %7s %7s %8s %6s %9s\n", "", "median ms", "min", "1st run", "floor",
                "peak MB", "+MB", "reports");
}

void printRow(const char* title, const Figures& figures, double floorMs) {
    std::printf("%-32s %9.1f %7.1f %7.1f", title, figures.medianMs, figures.minMs, figures.firstMs);
    if (floorMs > 0)
        std::printf(" %6.1fx", figures.medianMs / floorMs);
    else
        std::printf(" %7s", "");
    std::printf(" %8.1f %6.1f", mb(figures.peakKb), mb(figures.peakKb - figures.baseKb));
    if (figures.repaints >= 0)
        std::printf(" %9ld", figures.repaints);
    std::printf("\n");
}

void printShare(const char* what, double partMs, double wholeMs) {
    std::printf("    %-28s %9.1f ms, %.0f%% of it\n", what, partMs, 100.0 * partMs / wholeMs);
}

void printVerdict(const char* what, double ms, double floorMs, const char* floorName, double aim) {
    const double ratio = ms / floorMs;
    std::printf("%s: %.2fx %s, %s the aim of %.1fx\n", what, ratio, floorName,
                ratio <= aim ? "within" : "NOT within", aim);
}

void printReads(const char* what, const Figures& figures) {
    std::printf("%s: %.2f full reads of the word file on the UI thread per save (aim: 0, %s), "
                "%.2f on other threads\n",
                what, figures.uiReads, figures.uiReads < 0.5 ? "met" : "NOT met",
                figures.otherReads);
}

int usage(const char* program) {
    std::fprintf(stderr,
                 "usage: %s [--runs N] [--locale NAME] [--dir FOLDER] [--only MEASUREMENT]\n"
                 "       %s --write FILE    writes the generated word file and ends\n"
                 "measurements:",
                 program, program);
    for (const Measurement& measurement : Measurements)
        std::fprintf(stderr, " %s", measurement.name);
    std::fprintf(stderr, "\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    Setup setup;
    setup.argc = argc;
    setup.argv = argv;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--runs") == 0 && hasValue)
            setup.runs = std::max(1, std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--locale") == 0 && hasValue)
            setup.locale = QString::fromLocal8Bit(argv[++i]);
        else if (std::strcmp(argv[i], "--only") == 0 && hasValue)
            setup.only = argv[++i];
        else if (std::strcmp(argv[i], "--dir") == 0 && hasValue)
            setup.folder = QString::fromLocal8Bit(argv[++i]);
        else if (std::strcmp(argv[i], "--write") == 0 && hasValue)
            setup.writeTo = QString::fromLocal8Bit(argv[++i]);
        else
            return usage(argv[0]);
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    if (!setup.writeTo.isEmpty())
        return writeFile(setup.writeTo, wordFileBytes(makeVocabulary())) ? 0 : 1;

    QTemporaryDir folder(setup.folder.isEmpty()
                             ? QDir::tempPath() + QStringLiteral("/bench_wordfile-XXXXXX")
                             : setup.folder + QStringLiteral("/bench_wordfile-XXXXXX"));
    if (!folder.isValid()) {
        std::fputs("bench_wordfile: no temporary folder\n", stderr);
        return 1;
    }
    setup.wordFile = folder.filePath(QStringLiteral("vokabo.txt"));
    setup.scratch = folder.filePath(QStringLiteral("saved.txt"));
    {
        const QByteArray bytes = wordFileBytes(makeVocabulary());
        if (!writeFile(setup.wordFile, bytes)) {
            std::fputs("bench_wordfile: could not write the word file\n", stderr);
            return 1;
        }
        setup.fileBytes = bytes.size();
    }

    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    std::printf("Word file: %d active + %d passive words, %.2f MB Windows-1254, CR LF, in %s\n"
                "Platform %s, main list sorted for %s, median of %d runs\n\n",
                WordsPerList, WordsPerList, static_cast<double>(setup.fileBytes) / 1048576.0,
                qPrintable(folder.path()),
                platform.isEmpty() ? "from DISPLAY" : platform.constData(),
                qPrintable(setup.locale), setup.runs);

    if (!setup.only.isEmpty()) {
        for (const Measurement& measurement : Measurements) {
            if (setup.only == measurement.name) {
                const Figures figures = measurement.run(setup);
                printHeader();
                printRow(measurement.title, figures, 0);
                return figures.ok ? 0 : 1;
            }
        }
        return usage(argv[0]);
    }

    std::vector<Figures> results;
    for (const Measurement& measurement : Measurements)
        results.push_back(isolated(measurement, setup));
    const Figures& read = results[0];
    const Figures& write = results[1];
    const Figures& writeAtomic = results[2];
    const Figures& load = results[3];
    const Figures& loadBare = results[4];
    const Figures& loadQuiet = results[5];
    const Figures& save = results[6];
    const Figures& saveQuiet = results[7];

    printHeader();
    printRow(Measurements[0].title, read, 0);
    printRow(Measurements[1].title, write, 0);
    printRow(Measurements[2].title, writeAtomic, 0);
    printRow(Measurements[3].title, load, read.medianMs);
    printShare("filling the main list", load.medianMs - loadBare.medianMs, load.medianMs);
    printShare("the progress window", loadBare.medianMs - loadQuiet.medianMs, load.medianMs);
    printRow(Measurements[4].title, loadBare, read.medianMs);
    printRow(Measurements[5].title, loadQuiet, read.medianMs);
    printRow(Measurements[6].title, save, write.medianMs);
    printShare("the progress window", save.medianMs - saveQuiet.medianMs, save.medianMs);
    printRow(Measurements[7].title, saveQuiet, write.medianMs);
    std::printf(
        "\nshares: differences of medians, so as noisy as two medians\n"
        "1st run: the first in its process, as at the program's start (page faults, "
        "caches)\n"
        "peak MB: ru_maxrss of the process that measured; +MB: its growth in the timed "
        "runs\nreports: progress reports to the progress window in one load (%d lines) or save (%d "
        "words)\n\n",
        2 * WordsPerList, 2 * WordsPerList);
    printVerdict("load", load.medianMs, read.medianMs, "reading and decoding", LoadAim);
    printVerdict("save", save.medianMs, writeAtomic.medianMs,
                 "encoding and writing through QSaveFile", SaveAim);
    printVerdict("  without the progress window", saveQuiet.medianMs, writeAtomic.medianMs,
                 "encoding and writing through QSaveFile", SaveAim);
    printReads("save", save);
    printReads("  without the progress window", saveQuiet);

    const bool ok =
        std::all_of(results.begin(), results.end(), [](const Figures& f) { return f.ok; });
    return ok ? 0 : 1;
}
