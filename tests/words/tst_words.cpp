#include "platform/Clock.h"
#include "platform/Paths.h"
#include "support/TestSupport.h"
#include "words/ModVokabo.h"
#include "words/WordFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace ModVokabo;
using WordFile::Encoding;

namespace {
const QByteArray Bom("\xEF\xBB\xBF");

QByteArray cp1254(const QString& text) {
    return QStringEncoder("windows-1254")(text);
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

constexpr WordListKind A = WordListKind::Active;
constexpr WordListKind P = WordListKind::Passive;

void fill(WordStore& store, WordListKind list, const QStringList& englishWords) {
    for (const QString& english : englishWords)
        store.AppendWord({english, english + "-tr", english + " example", 0}, list);
}

QStringList english(const WordList& list) {
    QStringList result;
    for (const WordDef& w : list)
        result.append(w.English);
    return result;
}

} // namespace

class TestWords : public QObject {
    Q_OBJECT
private slots:
    void init() { program.emplace(); }
    void cleanup() { program.reset(); }

    void parseLine_data();
    void parseLine();
    void lineEndings_data();
    void lineEndings();

    void loadKeepsEveryWord_data();
    void loadKeepsEveryWord();

    void saveWritesActiveThenPassiveWithCrLf();
    void aChangeDuringABackgroundSaveIsSavedNext();
    void encodingOnReadAndWriteBack_data();
    void encodingOnReadAndWriteBack();
    void savedBytesReadBackAsTheSameWords_data();
    void savedBytesReadBackAsTheSameWords();
    void generatedFilesSurviveLoadSaveLoad();

    void unreadableFileIsNeverOverwritten();
    void failedSaveIsReportedWithPathAndReason();
    void shortWriteIsReportedWithTheSizes();
    void killedSaveLeavesOldOrNewFileWhole();

    void wordFileLocation();
    void programFolderFileIsTheStartingPoint();

    void unreadLinesAreKeptBeforeASave();
    void outsideChangesAreNeverOverwrittenUnseen();
    void aLoadWithoutWordsKeepsTheUsersWords();
    void aSaveReadsNothingBack();
    void mixedEncodingsAreReadLineByLine_data();
    void mixedEncodingsAreReadLineByLine();
    void watchTellsOutsideChangesOnly();

    void deleteAndToggleSayWhichListChanged();

private:
    WordStore& store() { return program->words(); }
    const WordList& active() { return store().words(A); }
    const WordList& passive() { return store().words(P); }

    std::optional<FreshProgram> program;
};

void TestWords::parseLine_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("record"); // read back as English|Turkish|Ornek|count|A or P
    auto row = [](const char* name, const QByteArray& line, const QString& record = {}) {
        QTest::newRow(name) << line << record;
    };
    row("full active", "income|gelir|One fourth|3|A", "income|gelir|One fourth|3|A");
    row("no status is active", "a|b|c|7", "a|b|c|7|A");
    row("empty status is active", "a|b|c|3|", "a|b|c|3|A");
    row("passive, empty example", "a|b||3|P", "a|b||3|P");
    row("unknown status is passive", "a|b|c|3|x", "a|b|c|3|P");
    row("A with a blank is passive", "a|b|c|3|A ", "a|b|c|3|P");
    row("status holding bars", "a|b|c|3|A|A", "a|b|c|3|P");
    row("blanks, tabs and sign", "a|b|c| \t+12\t |A", "a|b|c|12|A");
    row("16-bit top", "a|b|c|32767|A", "a|b|c|32767|A");
    row("16-bit bottom", "a|b|c|-32768|P", "a|b|c|-32768|P");
    row("empty English", "|b|c|0|A", "|b|c|0|A");
    row("NUL inside a text", QByteArray("a\0b|c|d|1|A", 11),
        QString::fromLatin1("a\0b|c|d|1|A", 11));
    row("two bars only", "half|yarı|");
    row("count is empty", "a|b|c||A");
    row("count above 16 bits", "a|b|c|32768|A");
    row("count below 16 bits", "a|b|c|-32769|A");
    row("count with a fraction", "a|b|c|3.5|A");
    row("sign alone", "a|b|c|-|A");
    row("blank inside the count", "a|b|c|1 2|A");
}

void TestWords::parseLine() {
    QFETCH(QByteArray, line);
    const auto parsed = WordFile::Reader(QByteArray()).parse(line);
    QString record;
    if (parsed)
        record = QStringList{parsed->word.English, parsed->word.Turkish, parsed->word.Ornek,
                             QString::number(parsed->word.Dogru), parsed->active ? "A" : "P"}
                     .join(u'|');
    QTEST(record, "record");
}

void TestWords::lineEndings_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("lone CR") << QByteArray("a\rb\r") << QStringList{"a", "b"};
    QTest::newRow("lone LF") << QByteArray("a\nb\n") << QStringList{"a", "b"};
    QTest::newRow("mixed, no final break")
        << QByteArray("a\r\nb\rc\nd") << QStringList{"a", "b", "c", "d"};
    QTest::newRow("empty lines count") << QByteArray("\r\n\r\na") << QStringList{"", "", "a"};
    QTest::newRow("LF CR is two breaks") << QByteArray("a\n\rb") << QStringList{"a", "", "b"};
    QTest::newRow("CR CR LF") << QByteArray("a\r\r\nb") << QStringList{"a", "", "b"};
    QTest::newRow("byte-order mark is not text") << Bom + "a\r\n" << QStringList{"a"};
    QTest::newRow("nothing") << QByteArray() << QStringList{};
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += b == '\r' || b == '\n' ? "" : QByteArray(1, static_cast<char>(b));
    QTest::newRow("every byte of the code page")
        << all << QStringList{QStringDecoder("windows-1254")(all)};
}

void TestWords::lineEndings() {
    QFETCH(QByteArray, bytes);
    WordFile::Reader reader(bytes);
    QStringList read;
    for (QByteArrayView line; reader.nextLine(line);)
        read.append(reader.decode(line));
    QTEST(read, "lines");
}

void TestWords::loadKeepsEveryWord_data() {
    QTest::addColumn<QByteArray>("bytes"); // null: no file
    QTest::addColumn<int>("lines");
    QTest::addColumn<qint64>("max"); // of the progress bar
    QTest::addColumn<int>("active");
    QTest::addColumn<int>("passive");
    auto numbered = [](int lines, const char* end) {
        QByteArray bytes;
        for (int i = 0; i < lines; ++i)
            bytes += "w" + QByteArray::number(i) + "|t||0|A" + end;
        return bytes;
    };
    // The samples come only when there is no line at all.
    QTest::newRow("no file") << QByteArray() << 0 << qint64(50) << 5 << 0;
    QTest::newRow("empty file") << QByteArray("") << 0 << qint64(50) << 5 << 0;
    QTest::newRow("no record") << QByteArray("half|yar\xFD|\r\n") << 1 << qint64(50) << 0 << 0;
    QTest::newRow("120 lines") << numbered(120, "\r\n") << 120 << qint64(200) << 120 << 0;
    const QByteArray bigLine = "big|b\xFCy\xFCk|" + QByteArray(10 << 20, 'x') + "|1|A\r\n";
    QTest::newRow("a 10 MB line") << bigLine + "after|sonra||0|P\r\n" << 2 << qint64(50) << 1 << 1;
    static const char nuls[] = "\0\0\0\r\nw\0|t\0||0|A\r\n\0|\0|\0|0|P";
    QTest::newRow("NUL bytes") << QByteArray(nuls, sizeof nuls - 1) << 3 << qint64(50) << 1 << 1;
    QTest::newRow("100,000 lines ended by lone CRs")
        << numbered(100000, "\r") << 100000 << qint64(102400) << 100000 << 0;
}

void TestWords::loadKeepsEveryWord() {
    QFETCH(QByteArray, bytes);
    if (!bytes.isNull())
        program->writeWordFile(bytes);
    RecordingProgress progress(store());
    QVERIFY(store().LoadWordFile().ok);
    // The bar follows every line, to the last.
    QTEST(int(progress.values.last()), "lines");
    QTEST(progress.max(), "max");
    QTEST(int(active().size()), "active");
    QTEST(int(passive().size()), "passive");
    QVERIFY(!store().WordsChanged());
    QCOMPARE(QFile::exists(program->wordFile()), !bytes.isNull());
    const WordList before = active() + passive();
    if (before.isEmpty())
        return;
    QVERIFY(store().SaveWordFile().ok);
    store().LoadWordFile();
    QCOMPARE(active() + passive(), before);
}

void TestWords::saveWritesActiveThenPassiveWithCrLf() {
    RecordingProgress progress(store());
    store().AppendWord(word("run", "koşmak", "I run", 2), P);
    store().AppendWord(word("income", "gelir  kazanç", "One fourth"), A);
    store().AppendWord(word("", "boş"), A);
    store().AppendWord(word("half", "yarım", "", -3), A);
    QVERIFY(store().WordsChanged());
    QVERIFY(store().SaveWordFile().ok);
    QVERIFY(!store().WordsChanged());
    QCOMPARE(program->readWordFile(), cp1254("income|gelir  kazanç|One fourth|0|A\r\n"
                                             "half|yarım||-3|A\r\nrun|koşmak|I run|2|P\r\n"));
    QCOMPARE(progress.values, (QList<qint64>{0, 1, 2, 3, 0, 1}));
}

// The file is written on a thread of its own while the user goes on.
void TestWords::aChangeDuringABackgroundSaveIsSavedNext() {
    store().AppendWord(word("first", "bir"), A);
    QSignalSpy saved(&store(), &WordStore::saved);
    const quint64 save = store().saveInBackground();
    store().AppendWord(word("second", "iki"), A);
    QVERIFY(saved.wait());
    QCOMPARE(saved[0][0].value<quint64>(), save);
    QVERIFY(saved[0][1].value<FileOutcome>().ok);
    QCOMPARE(program->readWordFile(), QByteArray("first|bir||0|A\r\n"));
    QVERIFY(store().WordsChanged());
    QVERIFY(store().SaveWordFile().ok);
    QCOMPARE(program->readWordFile(), QByteArray("first|bir||0|A\r\nsecond|iki||0|A\r\n"));
}

void TestWords::encodingOnReadAndWriteBack_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("turkish");
    QTest::addColumn<Encoding>("encoding");
    auto row = [](const char* name, const QByteArray& bytes, const QString& english,
                  const QString& turkish, Encoding encoding) {
        QTest::newRow(name) << bytes << english << turkish << encoding;
    };
    row("windows-1254", "a|\xFE\xFD\xF0|o|0|A\r\n", "a", "şığ", Encoding::Windows1254);
    row("plain ASCII", "a|b|o|0|A\r\n", "a", "b", Encoding::Windows1254);
    row("UTF-8", "a|\xC5\x9F\xC4\xB1\xC4\x9F|o|0|A\r\n", "a", "şığ", Encoding::Utf8);
    row("UTF-8 with BOM", Bom + "a|b|o|0|P\r\n", "a", "b", Encoding::Utf8Bom);
    row("UTF-8, a field starting with U+FEFF", "a|\xEF\xBB\xBF\xC5\x9F|o|0|A\r\n", "a",
        QStringLiteral("\uFEFFş"), Encoding::Utf8);
    row("two byte-order marks", Bom + Bom + "a|b|o|0|A\r\n", QStringLiteral("\uFEFFa"), "b",
        Encoding::Utf8Bom);
    row("invalid UTF-8 is the code page", "a|\xC5\x9F\xFE|o|0|A\r\n", "a",
        QStringLiteral("Å\u0178ş"), Encoding::Windows1254);
}

void TestWords::encodingOnReadAndWriteBack() {
    QFETCH(QByteArray, bytes);
    program->writeWordFile(bytes);
    store().LoadWordFile();
    const WordList words = active() + passive();
    QCOMPARE(words.size(), 1);
    QTEST(words[0].English, "english");
    QTEST(words[0].Turkish, "turkish");
    QTEST(store().wordFileEncoding(), "encoding");
    QVERIFY(store().SaveWordFile().ok);
    QCOMPARE(program->readWordFile(), bytes);
    store().DeleteWord(active().isEmpty() ? P : A, 0);
    QVERIFY(store().SaveWordFile().ok);
    QVERIFY(QFile::exists(program->wordFile()));
    QCOMPARE(program->readWordFile(), QByteArray());
}

void TestWords::savedBytesReadBackAsTheSameWords_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("newFirst"); // null: the first word is deleted instead
    // "Ş…" is DE 85 in the code page, which is also UTF-8 for another letter.
    QTest::newRow("rest becomes valid UTF-8")
        << QByteArray("a|\xFE|o|0|A\r\nTAMAM|\xDE\x85|o|0|A\r\n") << QString();
    QTest::newRow("first word starts with the letters of a byte-order mark")
        << QByteArray("a|\xFE|o|0|A\r\n") << QStringLiteral("ï»¿dikkat");
    QTest::newRow("UTF-8 text starting with U+FEFF")
        << QByteArray("a|\xC5\x9F|o|0|A\r\n") << QStringLiteral("\uFEFFsıfır");
    QTest::newRow("a word the code page cannot hold")
        << QByteArray("a|\xFE|o|0|A\r\n") << QStringLiteral("日本");
}

void TestWords::savedBytesReadBackAsTheSameWords() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, newFirst);
    program->writeWordFile(bytes);
    store().LoadWordFile();
    if (newFirst.isNull())
        store().DeleteWord(A, 0);
    else
        store().UpdateWord(A, 0, newFirst, QStringLiteral("ş"), {});
    const WordList expected = active();
    QVERIFY(store().SaveWordFile().ok);
    store().LoadWordFile();
    QCOMPARE(active(), expected);
}

// Files in every shape the reading rules tell apart: after one load, a save
// and a load give the same lists, and a second save the same bytes.
void TestWords::generatedFilesSurviveLoadSaveLoad() {
    using namespace Qt::StringLiterals;
    // Pieces that fit Windows-1254 first, then pieces that need UTF-8.
    const QStringList pieces{u"\0"_s, u"word"_s, u"ş"_s,     u"İı"_s,     u"ğüöç"_s, u"ï»¿"_s,
                             u"Þ…"_s, u"Ã§"_s,   u"€"_s,     u" "_s,      u"  "_s,   u"\t"_s,
                             u"x"_s,  u"Ş"_s,    u"TAMAM"_s, u"\u0081"_s, u"0"_s,    u"\uFEFF"_s,
                             u"😀"_s,  u"日本"_s, u"ޅ"_s,     u"\uFFFD"_s};
    const QStringList breaks{"\r\n", "\r", "\n", ""}, statuses{"|A", "|P", "", "|", "|x"};
    QRandomGenerator random(20240611);
    for (int round = 0; round < 400; ++round) {
        const int encoding = random.bounded(3);
        const int choices = encoding == 0 ? pieces.indexOf(u"\uFEFF"_s) : pieces.size();
        auto text = [&] {
            QString out;
            for (int i = random.bounded(5); i > 0; --i)
                out += pieces[random.bounded(choices)];
            return out;
        };
        QString content;
        for (int line = random.bounded(1, 12); line > 0; --line) {
            content += text() + u'|' + text() + u'|' + text();
            if (random.bounded(8)) // else no record
                content += u'|' + QString::number(random.bounded(-32768, 32768)) +
                           statuses[random.bounded(5)];
            content += breaks[random.bounded(4)];
        }
        const QByteArray bytes = encoding == 0   ? cp1254(content)
                                 : encoding == 1 ? content.toUtf8()
                                                 : Bom + content.toUtf8();
        program->writeWordFile(bytes);
        store().LoadWordFile();
        // A save drops words without English.
        auto named = [](WordList list) {
            list.removeIf([](const WordDef& w) { return w.English.isEmpty(); });
            return list;
        };
        const WordList activeBefore = named(active()), passiveBefore = named(passive());
        if (activeBefore.isEmpty() && passiveBefore.isEmpty())
            continue; // an empty file, which brings the samples
        QVERIFY(store().SaveWordFile().ok);
        const QByteArray saved = program->readWordFile();
        store().LoadWordFile();
        const QByteArray context = "round " + QByteArray::number(round) + ": " + bytes.toHex(' ');
        QVERIFY2(active() == activeBefore && passive() == passiveBefore, context.constData());
        QVERIFY(store().SaveWordFile().ok);
        QVERIFY2(program->readWordFile() == saved, context.constData());
    }
}

void TestWords::unreadableFileIsNeverOverwritten() {
    // A folder where the file should be: it exists, and cannot be read.
    QVERIFY(QDir().mkpath(program->wordFile()));
    ScriptedMsgBox box;
    const FileOutcome load = store().LoadWordFile();
    QVERIFY(!load.ok && !load.reason.isEmpty());
    QCOMPARE(load.path, program->wordFile());
    QVERIFY(box.asked().isEmpty()); // the window reports it, not the word store
    QVERIFY(active().isEmpty());    // no samples pretend to be the user's words

    store().AppendWord(word("new", "yeni"), A);
    const FileOutcome save = store().SaveWordFile();
    QVERIFY(!save.ok && !save.retryMayHelp);
    QVERIFY(save.reason.contains(load.reason));
    QVERIFY(QFileInfo(program->wordFile()).isDir());
}

void TestWords::failedSaveIsReportedWithPathAndReason() {
    const QString path = QDir(program->dir()).filePath("gone/vokabo.txt");
    WordStore store(path, {});
    store.AppendWord(word("a", "b"), A);
    const FileOutcome outcome = store.SaveWordFile();
    QVERIFY(!outcome.ok && outcome.retryMayHelp);
    QCOMPARE(outcome.path, path);
    QVERIFY2(outcome.reason.startsWith(QStringLiteral("Dosya yazılmak üzere açılamadı.")) &&
                 outcome.reason.contains(QStringLiteral("Böyle bir dosya ya da klasör yok.")),
             qPrintable(outcome.reason));
    QVERIFY(store.WordsChanged());
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QVERIFY(store.SaveWordFile().ok);
    QVERIFY(QFile::exists(path));
}

// A disk that fills up mid-save: a file-size limit on a saving process holds
// for root too, and with its signal ignored the write comes up short.
void TestWords::shortWriteIsReportedWithTheSizes() {
#ifndef Q_OS_LINUX
    QSKIP("needs a file-size limit on a child process");
#else
    const QByteArray old("old|eski||0|A\r\n");
    program->writeWordFile(old);
    constexpr rlim_t Limit = 65536;
    QProcess saver;
    saver.setChildProcessModifier([] {
        const rlimit limit{Limit, Limit};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_IGN);
    });
    saver.start(QStringLiteral(WORDFILE_SAVER), {"--once", program->wordFile()});
    QVERIFY(saver.waitForFinished(60000));
    QVERIFY(saver.exitStatus() == QProcess::NormalExit && saver.exitCode() == 1);
    const QString reason = QString::fromUtf8(saver.readAllStandardOutput());
    QVERIFY2(reason.contains(QStringLiteral("yalnızca %1 bayt yazılabildi").arg(Limit)) &&
                 reason.contains(QStringLiteral("disk dolmuş")) &&
                 !reason.contains(QStringLiteral("Unknown error")),
             qPrintable(reason));
    QCOMPARE(program->readWordFile(), old);
    QCOMPARE(QDir(program->dir()).entryList(QDir::Files | QDir::Hidden), QStringList{"vokabo.txt"});
#endif
}

// The saver writes 20,000 words, whose last line only a whole file ends with.
void TestWords::killedSaveLeavesOldOrNewFileWhole() {
    const QByteArray old("old|eski||0|A\r\n");
    program->writeWordFile(old);
    for (int round = 0; round < 12; ++round) {
        QProcess saver;
        saver.start(QStringLiteral(WORDFILE_SAVER), {program->wordFile()});
        QVERIFY(saver.waitForStarted());
        if (round % 2)
            QVERIFY(saver.waitForReadyRead(20000));
        QTest::qWait(QRandomGenerator::global()->bounded(round % 2 ? 80 : 30));
        saver.kill();
        QVERIFY(saver.waitForFinished());
        const QByteArray now = program->readWordFile();
        QVERIFY2(now == old || (now.count('\n') == 20000 && now.endsWith("word 19999|0|A\r\n")),
                 qPrintable(QStringLiteral("round %1: %2 bytes").arg(round).arg(now.size())));
    }
}

void TestWords::wordFileLocation() {
    const QString dir = program->dir();
    const QString portable = QDir(dir).filePath("program");
    const QString user = QDir(dir).filePath("user/vokabo");
    QVERIFY(QDir().mkpath(portable));
    QCOMPARE(chooseWordFilePath(portable, user), QDir(portable).filePath("vokabo.txt"));
    QVERIFY(QDir(portable).entryList(QDir::Files | QDir::Hidden).isEmpty());
    QCOMPARE(startingWordFile(QDir(portable).filePath("vokabo.txt"), portable), QString());

    // Nothing can be created, even by root, where a file stands for a folder.
    writeFile(QDir(dir).filePath("blocked"), {});
    const QString readOnly = QDir(dir).filePath("blocked/program");
    QVERIFY(!canCreateFilesIn(readOnly));
    const QString chosen = chooseWordFilePath(readOnly, user);
    QCOMPARE(chosen, QDir(user).filePath("vokabo.txt"));
    QCOMPARE(startingWordFile(chosen, readOnly), QDir(readOnly).filePath("vokabo.txt"));

    // An installed copy, also where it can write (as root can).
    const QString installed = installedProgramFolder();
    if (!QFileInfo(installed).isDir())
        QSKIP("the install folder this build names does not exist here");
    QCOMPARE(chooseWordFilePath(installed, user), QDir(user).filePath("vokabo.txt"));
    const QString link = QDir(dir).filePath("bin");
    QVERIFY(QFile::link(installed, link));
    QVERIFY(isInstalledCopy(link));
    QVERIFY(!isInstalledCopy(portable));
}

// Words beside a program that cannot write there are read until the first
// save puts them in the user's own file; the program folder's is never written.
void TestWords::programFolderFileIsTheStartingPoint() {
    const QString beside = QDir(program->dir()).filePath("beside.txt");
    const QByteArray besideBytes("mine|benim||3|A\r\nold|eski||0|P\r\n");
    writeFile(beside, besideBytes);
    WordStore store(program->wordFile(), beside);
    const FileOutcome load = store.LoadWordFile();
    QVERIFY(load.ok);
    QCOMPARE(load.path, beside);
    QCOMPARE(store.words(A), WordList{word("mine", "benim", "", 3)});
    QCOMPARE(store.words(P).size(), 1);

    store.AppendWord(word("new", "yeni"), A);
    QVERIFY(store.SaveWordFile().ok);
    QCOMPARE(program->readWordFile(),
             besideBytes.first(17) + "new|yeni||0|A\r\n" + besideBytes.sliced(17));
    QFile file(beside);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), besideBytes);
    store.LoadWordFile();
    QCOMPARE(store.words(A).size(), 2);
}

void TestWords::unreadLinesAreKeptBeforeASave() {
    setClock([] { return QDateTime(QDate(2026, 12, 6), QTime(21, 5)); });
    const QString aside = QDir(program->dir()).filePath("vokabo-okunamayan.txt");
    program->writeWordFile("good|iyi||0|A\r\nbroken|count||x|A\r\n\r\n  \r\nonly two|fields\r\n");
    QVERIFY(store().LoadWordFile().ok);
    QCOMPARE(store().unreadLines(), (QStringList{"broken|count||x|A", "only two|fields"}));
    // Loading alone writes nothing.
    QVERIFY(!QFile::exists(aside));

    QSignalSpy told(&store(), &WordStore::linesSetAside);
    store().AppendWord(word("new", "yeni"), A);
    QVERIFY(store().SaveWordFile().ok);
    QCOMPARE(program->readWordFile(), QByteArray("good|iyi||0|A\r\nnew|yeni||0|A\r\n"));
    QFile file(aside);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray keptOnce = "2026-12-06 21:05\tbroken|count||x|A\r\n"
                                "2026-12-06 21:05\tonly two|fields\r\n";
    QCOMPARE(file.readAll(), keptOnce);
    file.close();
    QCOMPARE(told.size(), 1);
    QCOMPARE(told[0][0].toInt(), 2);
    QCOMPARE(told[0][1].toString(), aside);

    // The same line in the file again (copied back by hand) is not kept twice.
    program->writeWordFile("good|iyi||0|A\r\nonly two|fields\r\n");
    store().LoadWordFile();
    store().AppendWord(word("more", "daha"), A);
    QVERIFY(store().SaveWordFile().ok);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), keptOnce);
    file.close();

    // Where they cannot be kept, the word file is not written either.
    QVERIFY(QFile::remove(aside));
    QVERIFY(QDir().mkpath(aside));
    program->writeWordFile("good|iyi||0|A\r\nbad\r\n");
    store().LoadWordFile();
    store().AppendWord(word("lost?", "kayıp?"), A);
    const FileOutcome blocked = store().SaveWordFile();
    QVERIFY(!blocked.ok && blocked.retryMayHelp);
    QCOMPARE(blocked.path, aside);
    QCOMPARE(program->readWordFile(), QByteArray("good|iyi||0|A\r\nbad\r\n"));
    setClock(nullptr);
}

void TestWords::outsideChangesAreNeverOverwrittenUnseen() {
    using OnDisk = WordStore::OnDisk;
    program->writeWordFile("a|1||0|A\r\n");
    store().LoadWordFile();
    // The same bytes written again (a touch, a copy) are no change.
    program->writeWordFile("a|1||0|A\r\n");
    QCOMPARE(store().lookAtDiskNow(), OnDisk::AsSeen);
    // Another size shows without a look; the same size, to a look.
    for (const QByteArray edited : {"a|1||0|A\r\nb|2||0|A\r\n", "b|2||0|A\r\n"}) {
        program->writeWordFile(edited);
        if (edited.size() == 10)
            QCOMPARE(store().lookAtDiskNow(), OnDisk::Changed);
        store().AppendWord(word("mine", "benim"), A);
        const FileOutcome kept = store().SaveWordFile();
        QVERIFY(!kept.ok && kept.changedOnDisk && kept.retryMayHelp);
        QCOMPARE(program->readWordFile(), edited);
        QVERIFY(store().WordsChanged());
        // Asked to, the program's words go in; after that its own saves go on.
        QVERIFY(store().SaveWordFile(WordStore::OutsideChanges::Overwrite).ok);
        QCOMPARE(store().lookAtDiskNow(), OnDisk::AsSeen);
        store().AppendWord(word("again", "yine"), A);
        QVERIFY(store().SaveWordFile().ok);
        store().LoadWordFile();
    }
    QVERIFY(QFile::remove(program->wordFile()));
    QCOMPARE(store().lookAtDiskNow(), OnDisk::Removed);
}

// Emptied, or made a folder, while the program runs: the words it holds
// are not given up, and go back into the file once it can take them.
void TestWords::aLoadWithoutWordsKeepsTheUsersWords() {
    program->writeWordFile("a|1||0|A\r\nb|2||0|P\r\n");
    store().LoadWordFile();
    const WordList before = active() + passive();
    program->writeWordFile("no word here\r\n");
    const FileOutcome emptied = store().LoadWordFile();
    QVERIFY(emptied.ok && emptied.wordsKept);
    QCOMPARE(active() + passive(), before);
    QVERIFY(store().SaveWordFile().ok);
    QCOMPARE(program->readWordFile(), QByteArray("a|1||0|A\r\nb|2||0|P\r\n"));
    QFile aside(QDir(program->dir()).filePath(SetAsideFileName));
    QVERIFY(aside.open(QIODevice::ReadOnly) && aside.readAll().endsWith("no word here\r\n"));

    QVERIFY(QFile::remove(program->wordFile()) && QDir().mkpath(program->wordFile()));
    const FileOutcome folder = store().LoadWordFile();
    QVERIFY(!folder.ok && folder.wordsKept);
    QCOMPARE(active() + passive(), before);
    store().AppendWord(word("c", "3"), A);
    QVERIFY(!store().SaveWordFile().ok);
    QVERIFY(QDir().rmdir(program->wordFile()));
    QCOMPARE(store().lookAtDiskNow(), WordStore::OnDisk::Removed);
    QVERIFY(store().SaveWordFile(WordStore::OutsideChanges::Overwrite).ok);
    QVERIFY(program->readWordFile().endsWith("b|2||0|P\r\n"));
}

// What a save wrote is what it sees: it reads nothing back, and the watch
// sleeps through the program's own write.
void TestWords::aSaveReadsNothingBack() {
#ifndef Q_OS_LINUX
    QSKIP("counts the bytes read through /proc");
#else
    const auto bytesRead = [] {
        QFile io(QStringLiteral("/proc/self/io"));
        io.open(QIODevice::ReadOnly);
        return io.readAll().split('\n').value(0).mid(6).trimmed().toLongLong();
    };
    for (int i = 0; i < 20000; ++i)
        store().AppendWord(word(QString::number(i), "bir kelime", QString(40, u'x')), A);
    QVERIFY(store().SaveWordFile().ok);
    store().watchWordFile();
    QSignalSpy looked(&store(), &WordStore::diskAsSeen);
    const qint64 before = bytesRead();
    store().SetWordDogru(A, 0, 1);
    QVERIFY(store().SaveWordFile().ok);
    QTest::qWait(700);
    const qint64 read = bytesRead() - before;
    QVERIFY(read < program->readWordFile().size() / 4);
    QVERIFY(looked.isEmpty());
#endif
}

// A file of one encoding with a line of another: each line is read in its
// own, and the file is written in UTF-8 from then on.
void TestWords::mixedEncodingsAreReadLineByLine_data() {
    QTest::addColumn<QByteArray>("utf8");
    QTest::newRow("UTF-8 with a byte-order mark") << Bom;
    QTest::newRow("UTF-8 without") << QByteArray("");
}

void TestWords::mixedEncodingsAreReadLineByLine() {
    QFETCH(QByteArray, utf8);
    program->writeWordFile(utf8 + QStringLiteral("şişe|bottle||0|A\r\n").toUtf8() +
                           cp1254("kötü|bad||0|A\r\n"));
    QCOMPARE(store().LoadWordFile().linesInOtherEncoding, 1);
    QCOMPARE(english(active()), (QStringList{"şişe", "kötü"}));
    store().AppendWord(word("日本", "Japonya"), A);
    QVERIFY(store().SaveWordFile().ok);
    QCOMPARE(
        program->readWordFile(),
        Bom +
            QStringLiteral("şişe|bottle||0|A\r\nkötü|bad||0|A\r\n日本|Japonya||0|A\r\n").toUtf8());
}

void TestWords::watchTellsOutsideChangesOnly() {
    program->writeWordFile("a|1||0|A\r\n");
    store().LoadWordFile();
    store().watchWordFile();
    QSignalSpy outside(&store(), &WordStore::changedOnDisk);
    store().AppendWord(word("b", "2"), A);
    QVERIFY(store().SaveWordFile().ok);
    QTest::qWait(700);
    QCOMPARE(outside.size(), 0);
    // An editor that saves by renaming a new file over the old one.
    const QString temporary = program->wordFile() + ".new";
    writeFile(temporary, "edited|düzeltilmiş||0|A\r\n");
    QVERIFY(QFile::remove(program->wordFile()) && QFile::rename(temporary, program->wordFile()));
    QTRY_COMPARE(outside.size(), 1);
    store().LoadWordFile();
    // The file put in place is followed as well.
    program->writeWordFile("edited again|yine||0|A\r\n");
    QTRY_COMPARE(outside.size(), 2);
}

void TestWords::deleteAndToggleSayWhichListChanged() {
    fill(store(), A, {"a1", "a2"});
    fill(store(), P, {"p1", "p2", "p3"});
    QVERIFY(store().SaveWordFile().ok);
    QSignalSpy changes(&store(), &WordStore::changed);
    store().DeleteWord(P, 1);
    QCOMPARE(english(passive()), (QStringList{"p1", "p3"}));
    QVERIFY(store().WordsChanged());
    QCOMPARE(changes.size(), 1);
    QCOMPARE(changes[0][0].value<WordListKind>(), P);
    // A count is a change of its own kind: the list's lines stay as they are.
    store().SetWordDogru(A, 0, 5);
    QCOMPARE(changes[1][1].value<WordStore::Change>(), WordStore::Change::Count);
    // The record goes to the end of the other list with its count, and both
    // lists say so.
    store().ToggleWord(A, 0);
    QCOMPARE(english(active()), QStringList{"a2"});
    QCOMPARE(passive().last(), word("a1", "a1-tr", "a1 example", 5));
    QCOMPARE(changes.size(), 4);
    QCOMPARE(changes[2][0].value<WordListKind>(), A);
    QCOMPARE(changes[3][0].value<WordListKind>(), P);
}

QTEST_GUILESS_MAIN(TestWords)
#include "tst_words.moc"
