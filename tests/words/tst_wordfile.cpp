#include "platform/Paths.h"
#include "support/TestSupport.h"
#include "words/ModVokabo.h"
#include "words/WordFile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>

#ifdef Q_OS_LINUX
#include <csignal>
#include <sys/resource.h>
#endif

using namespace ModVokabo;

namespace {
const QByteArray Bom("\xEF\xBB\xBF");

QByteArray cp1254(const QString& text) {
    QStringEncoder encoder("windows-1254");
    return encoder(text);
}

WordList withoutEmptyEnglish(WordList list) {
    list.removeIf([](const WordDef& w) { return w.English.isEmpty(); });
    return list;
}

void reload() {
    ActiveWords.clear();
    PassiveWords.clear();
    LoadWordFile();
}
} // namespace

class TestWordFile : public QObject {
    Q_OBJECT
private slots:
    void codePageIsWindows1254();

    void parseLine_data();
    void parseLine();
    void lineEndings_data();
    void lineEndings();

    void missingFileSeedsSamples();
    void emptyFileSeedsSamplesButUnparsableLinesDoNot();
    void progressMaxDoublesAsLinesArrive();
    void hostileFilesLoseNoWord_data();
    void hostileFilesLoseNoWord();

    void saveWritesActiveThenPassiveWithCrLf();
    void emptyListsGiveAZeroByteFileInEveryEncoding_data();
    void emptyListsGiveAZeroByteFileInEveryEncoding();

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
    void installedCopyKeepsWordsInTheUserFolder();
    void programFolderFileIsTheStartingPoint();
};

void TestWordFile::codePageIsWindows1254() {
    QStringDecoder codec("windows-1254");
    QVERIFY(codec.isValid());
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    WordFile::Reader reader(QByteArray("\xFE"));
    QCOMPARE(reader.encoding(), WordFile::Encoding::Windows1254);
    QCOMPARE(reader.decode(all), QString(codec(all)));
    QCOMPARE(reader.decode("\xFD\xDD\xFE\xDE\xF0\xD0"), QStringLiteral("ıİşŞğĞ"));
}

void TestWordFile::parseLine_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("parsed");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("ornek");
    QTest::addColumn<int>("dogru");
    QTest::addColumn<bool>("active");

    QTest::newRow("full active") << QByteArray("income|gelir|One fourth|3|A") << true << "income"
                                 << "One fourth" << 3 << true;
    QTest::newRow("no status is active") << QByteArray("a|b|c|7") << true << "a"
                                         << "c" << 7 << true;
    QTest::newRow("empty status is active") << QByteArray("a|b|c|3|") << true << "a"
                                            << "c" << 3 << true;
    QTest::newRow("passive, empty example") << QByteArray("a|b||3|P") << true << "a"
                                            << "" << 3 << false;
    QTest::newRow("unknown status is passive") << QByteArray("a|b|c|3|x") << true << "a"
                                               << "c" << 3 << false;
    QTest::newRow("A with a blank is passive") << QByteArray("a|b|c|3|A ") << true << "a"
                                               << "c" << 3 << false;
    QTest::newRow("status holding bars") << QByteArray("a|b|c|3|A|A") << true << "a"
                                         << "c" << 3 << false;
    QTest::newRow("blanks and sign") << QByteArray("a|b|c| +12 |A") << true << "a"
                                     << "c" << 12 << true;
    QTest::newRow("tabs around the count") << QByteArray("a|b|c|\t7\t|A") << true << "a"
                                           << "c" << 7 << true;
    QTest::newRow("16-bit top") << QByteArray("a|b|c|32767|A") << true << "a"
                                << "c" << 32767 << true;
    QTest::newRow("empty english") << QByteArray("|b|c|0|A") << true << ""
                                   << "c" << 0 << true;
    QTest::newRow("NUL inside a text") << QByteArray("a\0b|c|d|1|A", 11) << true
                                       << QString::fromLatin1("a\0b", 3) << "d" << 1 << true;
    QTest::newRow("two bars only") << QByteArray("half|yarı|") << false << ""
                                   << "" << 0 << false;
    QTest::newRow("empty line") << QByteArray("") << false << ""
                                << "" << 0 << false;
    QTest::newRow("count is letters") << QByteArray("a|b|c|x|A") << false << ""
                                      << "" << 0 << false;
    QTest::newRow("count is empty") << QByteArray("a|b|c||A") << false << ""
                                    << "" << 0 << false;
    QTest::newRow("count above 16 bits") << QByteArray("a|b|c|32768|A") << false << ""
                                         << "" << 0 << false;
    QTest::newRow("count below 16 bits") << QByteArray("a|b|c|-32769|A") << false << ""
                                         << "" << 0 << false;
    QTest::newRow("count with a fraction") << QByteArray("a|b|c|3.5|A") << false << ""
                                           << "" << 0 << false;
    QTest::newRow("sign alone") << QByteArray("a|b|c|-|A") << false << ""
                                << "" << 0 << false;
    QTest::newRow("blank inside the count") << QByteArray("a|b|c|1 2|A") << false << ""
                                            << "" << 0 << false;
}

void TestWordFile::parseLine() {
    QFETCH(QByteArray, line);
    QFETCH(bool, parsed);
    WordFile::Reader reader{QByteArray()};
    const auto result = reader.parse(line);
    QCOMPARE(result.has_value(), parsed);
    if (!parsed)
        return;
    QFETCH(QString, english);
    QFETCH(QString, ornek);
    QFETCH(int, dogru);
    QFETCH(bool, active);
    QCOMPARE(result->word.English, english);
    QCOMPARE(result->word.Ornek, ornek);
    QCOMPARE(int(result->word.Dogru), dogru);
    QCOMPARE(result->active, active);
}

void TestWordFile::lineEndings_data() {
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
}

void TestWordFile::lineEndings() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    WordFile::Reader reader(bytes);
    QStringList read;
    for (QByteArrayView line; reader.nextLine(line);)
        read.append(reader.decode(line));
    QCOMPARE(read, lines);
}

void TestWordFile::missingFileSeedsSamples() {
    FreshProgram program;
    RecordingListView view;
    setWordListView(&view);
    QVERIFY(LoadWordFile().ok);
    QCOMPARE(ActiveWords.size(), 5);
    QCOMPARE(ActiveWords[0].English, QStringLiteral("student loan"));
    QCOMPARE(ActiveWords[4],
             word("income", "gelir  kazanç", "One fourth of my income goes for rent"));
    QVERIFY(PassiveWords.isEmpty());
    QVERIFY(!WordsChanged);
    QCOMPARE(view.caption, QStringLiteral("Aktif Vokaboleriniz (5)"));
    QVERIFY(!QFile::exists(program.wordFile()));
}

void TestWordFile::emptyFileSeedsSamplesButUnparsableLinesDoNot() {
    {
        FreshProgram program;
        program.writeWordFile("");
        LoadWordFile();
        QCOMPARE(ActiveWords.size(), 5);
    }
    {
        FreshProgram program;
        program.writeWordFile("half|yar\xFD|\r\n");
        LoadWordFile();
        QVERIFY(ActiveWords.isEmpty());
        QVERIFY(PassiveWords.isEmpty());
    }
    {
        FreshProgram program;
        program.writeWordFile("\r\n");
        LoadWordFile();
        QVERIFY(ActiveWords.isEmpty());
    }
}

void TestWordFile::progressMaxDoublesAsLinesArrive() {
    FreshProgram program;
    QByteArray bytes;
    for (int i = 0; i < 120; ++i)
        bytes += "w" + QByteArray::number(i) + "|t|o|0|A\r\n";
    program.writeWordFile(bytes);
    RecordingProgress progress;
    setProgressView(&progress);
    LoadWordFile();
    QCOMPARE(progress.statusTexts.first(), QStringLiteral("Vokaboler yükleniyor..."));
    QCOMPARE(progress.max(), 200);
    QCOMPARE(progress.values.size(), 120);
    QCOMPARE(progress.values.first(), 0);
    QCOMPARE(progress.values.last(), 119);
    QVERIFY(progress.finished >= 1);
    QCOMPARE(ActiveWords.size(), 120);
}

void TestWordFile::hostileFilesLoseNoWord_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("active");
    QTest::addColumn<int>("passive");
    QTest::addColumn<QString>("lastEnglish");

    const QByteArray bigLine = "big|b\xFCy\xFCk|" + QByteArray(10 << 20, 'x') + "|1|A\r\n";
    QTest::newRow("a 10 MB line") << bigLine + "after|sonra||0|P\r\n" << 1 << 1 << "after";
    static const char nuls[] = "\0\0\0\r\nw\0|t\0||0|A\r\n\0|\0|\0|0|P";
    QTest::newRow("NUL bytes") << QByteArray(nuls, sizeof nuls - 1) << 1 << 1 << QString(QChar(0));
    QByteArray loneCrs;
    for (int i = 0; i < 100000; ++i)
        loneCrs += "w" + QByteArray::number(i) + "|t||0|A\r";
    QTest::newRow("100,000 lines ended by lone CRs") << loneCrs << 100000 << 0 << "w99999";
}

void TestWordFile::hostileFilesLoseNoWord() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, active);
    QFETCH(int, passive);
    QFETCH(QString, lastEnglish);
    FreshProgram program;
    program.writeWordFile(bytes);
    QVERIFY(LoadWordFile().ok);
    QCOMPARE(ActiveWords.size(), active);
    QCOMPARE(PassiveWords.size(), passive);
    QCOMPARE((passive ? PassiveWords : ActiveWords).last().English, lastEnglish);
    const WordList before = ActiveWords + PassiveWords;
    QVERIFY(SaveWordFile().ok);
    reload();
    QCOMPARE(ActiveWords + PassiveWords, before);
}

void TestWordFile::saveWritesActiveThenPassiveWithCrLf() {
    FreshProgram program;
    RecordingProgress progress;
    setProgressView(&progress);
    AppendWord("run", "koşmak", "I run", 2, "P");
    AppendWord("income", "gelir  kazanç", "One fourth of my income goes for rent", 0, "A");
    AppendWord("", "boş", "", 0, "A");
    AppendWord("half", "yarım", "", -3, "A");
    QVERIFY(SaveWordFile().ok);
    QCOMPARE(program.readWordFile(),
             cp1254("income|gelir  kazanç|One fourth of my income goes for rent|0|A\r\n"
                    "half|yarım||-3|A\r\n"
                    "run|koşmak|I run|2|P\r\n"));
    QCOMPARE(progress.statusTexts,
             (QStringList{"Aktif Vokaboler saklanıyor...", "Pasif Vokaboler saklanıyor..."}));
    QCOMPARE(progress.values, (QList<qint64>{1, 2, 3, 1}));
}

void TestWordFile::emptyListsGiveAZeroByteFileInEveryEncoding_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("windows-1254") << QByteArray("a|\xFE|o|0|A\r\n");
    QTest::newRow("UTF-8") << QByteArray("a|\xC5\x9F|o|0|A\r\n");
    QTest::newRow("UTF-8 with BOM") << Bom + "a|b|o|0|P\r\n";
}

void TestWordFile::emptyListsGiveAZeroByteFileInEveryEncoding() {
    QFETCH(QByteArray, bytes);
    FreshProgram program;
    program.writeWordFile(bytes);
    LoadWordFile();
    QCOMPARE(ActiveWords.size() + PassiveWords.size(), 1);
    ActiveWords.clear();
    PassiveWords.clear();
    QVERIFY(SaveWordFile().ok);
    QVERIFY(QFile::exists(program.wordFile()));
    QCOMPARE(program.readWordFile(), QByteArray());
    // An empty file brings the samples back at the next start.
    reload();
    QCOMPARE(ActiveWords.size(), 5);
}

void TestWordFile::encodingOnReadAndWriteBack_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("turkish");
    QTest::addColumn<WordFile::Encoding>("encoding");

    QTest::newRow("windows-1254") << QByteArray("a|\xFE\xFD\xF0|o|0|A\r\n") << "a"
                                  << "şığ" << WordFile::Encoding::Windows1254;
    QTest::newRow("plain ASCII") << QByteArray("a|b|o|0|A\r\n") << "a"
                                 << "b" << WordFile::Encoding::Windows1254;
    QTest::newRow("UTF-8") << QByteArray("a|\xC5\x9F\xC4\xB1\xC4\x9F|o|0|A\r\n") << "a"
                           << "şığ" << WordFile::Encoding::Utf8;
    QTest::newRow("UTF-8 with BOM") << Bom + "a|b|o|0|A\r\n"
                                    << "a"
                                    << "b" << WordFile::Encoding::Utf8Bom;
    // Only the file's first bytes can be a byte-order mark.
    QTest::newRow("UTF-8, a field starting with U+FEFF")
        << QByteArray("a|\xEF\xBB\xBF\xC5\x9F|o|0|A\r\n") << "a" << QStringLiteral("\uFEFFş")
        << WordFile::Encoding::Utf8;
    QTest::newRow("two byte-order marks")
        << Bom + Bom + "a|b|o|0|A\r\n"
        << QStringLiteral("\uFEFFa") << "b" << WordFile::Encoding::Utf8Bom;
    // Bytes that are not valid UTF-8 are the code page, even when a
    // stretch of them would be.
    QTest::newRow("invalid UTF-8") << QByteArray("a|\xC5\x9F\xFE|o|0|A\r\n") << "a"
                                   << QString(QStringDecoder("windows-1254")("\xC5\x9F\xFE"))
                                   << WordFile::Encoding::Windows1254;
}

void TestWordFile::encodingOnReadAndWriteBack() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, english);
    QFETCH(QString, turkish);
    QFETCH(WordFile::Encoding, encoding);
    FreshProgram program;
    program.writeWordFile(bytes);
    LoadWordFile();
    QCOMPARE(ActiveWords.size(), 1);
    QCOMPARE(ActiveWords[0].English, english);
    QCOMPARE(ActiveWords[0].Turkish, turkish);
    QCOMPARE(wordFileEncoding(), encoding);
    QVERIFY(SaveWordFile().ok);
    QCOMPARE(program.readWordFile(), bytes);
}

void TestWordFile::savedBytesReadBackAsTheSameWords_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("newFirst");
    QTest::addColumn<QString>("newFirstTurkish");

    // Deleting the line that kept the file from being valid UTF-8: "Ş…" is
    // DE 85 in the code page, which is also UTF-8 for another letter.
    QTest::newRow("rest becomes valid UTF-8")
        << QByteArray("a|\xFE|o|0|A\r\nTAMAM|\xDE\x85|o|0|A\r\n") << QString() << QString();
    QTest::newRow("first word starts with the letters of a byte-order mark")
        << QByteArray("a|\xFE|o|0|A\r\n") << QStringLiteral("ï»¿dikkat") << QStringLiteral("ş");
    QTest::newRow("UTF-8 text starting with U+FEFF")
        << QByteArray("a|\xC5\x9F|o|0|A\r\n") << QStringLiteral("\uFEFFsıfır")
        << QStringLiteral("genişliksiz");
    QTest::newRow("ASCII-only UTF-8 stays readable")
        << QByteArray("a|\xC5\x9F|o|0|A\r\nb|c|d|0|A\r\n") << QString() << QString();
}

void TestWordFile::savedBytesReadBackAsTheSameWords() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, newFirst);
    QFETCH(QString, newFirstTurkish);
    FreshProgram program;
    program.writeWordFile(bytes);
    LoadWordFile();
    if (newFirst.isNull())
        ActiveWords.removeFirst();
    else
        ActiveWords.prepend(word(newFirst, newFirstTurkish));
    const WordList expected = ActiveWords;
    QVERIFY(SaveWordFile().ok);
    reload();
    QCOMPARE(ActiveWords, expected);
}

// Files of words in every shape the reading rules tell apart, as other
// programs and editors leave them: after one load, a save and a load give
// the same lists, and a second save the same bytes.
void TestWordFile::generatedFilesSurviveLoadSaveLoad() {
    // Pieces that fit Windows-1254 first, then pieces that need UTF-8.
    QStringList pieces;
    for (const char16_t* piece : {u"word",   u"ş", u"İı",     u"ğüöç", u"ï»¿",  u"Þ…", u"Ã§",
                                  u"€",      u" ", u"  ",     u"\t",   u"x",    u"Ş",  u"TAMAM",
                                  u"\u0081", u"0", u"\uFEFF", u"😀",    u"日本", u"ޅ",  u"\uFFFD"})
        pieces.append(QStringView(piece).toString());
    pieces.prepend(QString(QChar(0)));
    const int fitting = static_cast<int>(pieces.indexOf(QStringLiteral("\uFEFF")));
    QRandomGenerator random(20240611);
    auto text = [&](bool fits, bool mayBeEmpty) {
        QString out;
        const int count = static_cast<int>(random.bounded(mayBeEmpty ? 0 : 1, 5));
        for (int i = 0; i < count; ++i)
            out += pieces[random.bounded(fits ? fitting : static_cast<int>(pieces.size()))];
        return out;
    };
    const QStringList breaks{"\r\n", "\r", "\n"};
    const QStringList statuses{"|A", "|P", "", "|", "|x"};

    for (int round = 0; round < 400; ++round) {
        const int encoding = static_cast<int>(random.bounded(3));
        const bool fits = encoding == 0;
        QString content;
        const int lines = static_cast<int>(random.bounded(1, 12));
        for (int i = 0; i < lines; ++i) {
            switch (random.bounded(i == 0 ? 1 : 8)) {
            case 6:
                content += text(fits, true) + u'|' + text(fits, true); // not a record
                break;
            case 7:
                content += u'|' + text(fits, true) + QStringLiteral("||1|A"); // no English: dropped
                break;
            default:
                content += text(fits, false) + u'|' + text(fits, true) + u'|' + text(fits, true) +
                           u'|' + QString::number(random.bounded(-32768, 32768)) +
                           statuses[random.bounded(static_cast<int>(statuses.size()))];
            }
            if (i + 1 < lines || random.bounded(2))
                content += breaks[random.bounded(3)];
        }
        const QByteArray bytes = encoding == 0   ? cp1254(content)
                                 : encoding == 1 ? content.toUtf8()
                                                 : Bom + content.toUtf8();

        FreshProgram program;
        program.writeWordFile(bytes);
        LoadWordFile();
        const WordList active = withoutEmptyEnglish(ActiveWords);
        const WordList passive = withoutEmptyEnglish(PassiveWords);
        QVERIFY(SaveWordFile().ok);
        const QByteArray saved = program.readWordFile();
        reload();
        const QByteArray context = "round " + QByteArray::number(round) + ": " + bytes.toHex(' ');
        QVERIFY2(ActiveWords == active, context.constData());
        QVERIFY2(PassiveWords == passive, context.constData());
        QVERIFY(SaveWordFile().ok);
        QVERIFY2(program.readWordFile() == saved, context.constData());
    }
}

void TestWordFile::unreadableFileIsNeverOverwritten() {
    FreshProgram program;
    // A folder where the file should be: it exists, and cannot be read.
    QVERIFY(QDir().mkpath(program.wordFile()));
    QFile inside(QDir(program.wordFile()).filePath("keep.txt"));
    QVERIFY(inside.open(QIODevice::WriteOnly));
    inside.close();
    ScriptedMsgBox box;
    RecordingListView view;
    setWordListView(&view);
    const FileOutcome load = LoadWordFile();
    QVERIFY(!load.ok);
    QCOMPARE(load.path, program.wordFile());
    QVERIFY(!load.reason.isEmpty());
    // The window reports it; the word store shows nothing itself.
    QVERIFY(box.asked().isEmpty());
    // No samples pretend to be the user's words.
    QVERIFY(ActiveWords.isEmpty());
    QCOMPARE(view.caption, QStringLiteral("Aktif Vokaboleriniz (0)"));

    AppendWord("new", "yeni", "", 0, "A");
    const FileOutcome save = SaveWordFile();
    QVERIFY(!save.ok);
    QVERIFY(!save.retryMayHelp);
    QCOMPARE(save.path, program.wordFile());
    QVERIFY(save.reason.contains(load.reason));
    QVERIFY(QFileInfo(program.wordFile()).isDir());
    QVERIFY(QFile::exists(QDir(program.wordFile()).filePath("keep.txt")));
}

void TestWordFile::failedSaveIsReportedWithPathAndReason() {
    FreshProgram program;
    const QString path = QDir(program.dir()).filePath("gone/vokabo.txt");
    setWordFilePath(path, {});
    AppendWord("a", "b", "", 0, "A");
    const FileOutcome outcome = SaveWordFile();
    QVERIFY(!outcome.ok);
    QVERIFY(outcome.retryMayHelp);
    QCOMPARE(outcome.path, path);
    QVERIFY2(outcome.reason.startsWith(QStringLiteral("Dosya yazılmak üzere açılamadı.")),
             qPrintable(outcome.reason));
    QVERIFY(!outcome.reason.contains(QStringLiteral("Unknown error")));
    QVERIFY(!QFile::exists(path));
    // Once the folder is there, the same words are saved.
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QVERIFY(SaveWordFile().ok);
    QVERIFY(QFile::exists(path));
}

// A disk that fills up mid-save, made with a file-size limit on a saving
// process (which holds for root too); the limit's signal is ignored so that
// the write comes up short, as on a full disk.
void TestWordFile::shortWriteIsReportedWithTheSizes() {
#ifndef Q_OS_LINUX
    QSKIP("needs a file-size limit on a child process");
#else
    FreshProgram program;
    const QByteArray old("old|eski||0|A\r\n");
    program.writeWordFile(old);
    constexpr rlim_t Limit = 65536;

    QProcess saver;
    saver.setChildProcessModifier([] {
        const rlimit limit{Limit, Limit};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_IGN);
    });
    saver.start(QStringLiteral(WORDFILE_SAVER), {"--once", program.wordFile()});
    QVERIFY(saver.waitForFinished(60000));
    QCOMPARE(saver.exitStatus(), QProcess::NormalExit);
    QCOMPARE(saver.exitCode(), 1);
    const QString reason = QString::fromUtf8(saver.readAllStandardOutput());
    QVERIFY2(reason.contains(QStringLiteral("yalnızca %1 bayt yazılabildi").arg(Limit)),
             qPrintable(reason));
    QVERIFY2(reason.contains(QStringLiteral("disk dolmuş")), qPrintable(reason));
    QVERIFY2(!reason.contains(QStringLiteral("Unknown error")), qPrintable(reason));
    QCOMPARE(program.readWordFile(), old);
    QCOMPARE(QDir(program.dir()).entryList(QDir::Files | QDir::Hidden), QStringList{"vokabo.txt"});
#endif
}

void TestWordFile::killedSaveLeavesOldOrNewFileWhole() {
    FreshProgram program;
    const QByteArray old("old|eski||0|A\r\n");
    program.writeWordFile(old);

    // The two versions the saver writes, made the same way beside it.
    QList<QByteArray> versions{old};
    for (const char* tag : {"birinci", "ikinci"}) {
        ActiveWords.clear();
        for (int i = 0; i < 20000; ++i)
            AppendWord(QStringLiteral("word %1").arg(i), QString::fromLatin1(tag),
                       QStringLiteral("a sentence of some length for word %1").arg(i),
                       static_cast<qint16>(i % 7), "A");
        const QString path = QDir(program.dir()).filePath(QString::fromLatin1(tag));
        setWordFilePath(path, {});
        QVERIFY(SaveWordFile().ok);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        versions.append(file.readAll());
    }

    auto* random = QRandomGenerator::global();
    for (int round = 0; round < 12; ++round) {
        QProcess saver;
        saver.start(QStringLiteral(WORDFILE_SAVER), {program.wordFile()});
        QVERIFY(saver.waitForStarted());
        if (round % 2)
            QVERIFY(saver.waitForReadyRead(20000));
        QTest::qWait(random->bounded(round % 2 ? 80 : 30));
        saver.kill();
        QVERIFY(saver.waitForFinished());
        const QByteArray now = program.readWordFile();
        QVERIFY2(versions.contains(now),
                 qPrintable(QStringLiteral("round %1: %2 bytes").arg(round).arg(now.size())));
    }
}

void TestWordFile::wordFileLocation() {
    QTemporaryDir dir;
    const QString program = QDir(dir.path()).filePath("program");
    const QString user = QDir(dir.path()).filePath("user/vokabo");
    QVERIFY(QDir().mkpath(program));
    QCOMPARE(chooseWordFilePath(program, user), QDir(program).filePath("vokabo.txt"));
    QVERIFY(QDir(program).entryList(QDir::Files | QDir::Hidden).isEmpty());
    QCOMPARE(startingWordFile(QDir(program).filePath("vokabo.txt"), program), QString());

    // A folder nothing can be created in, even for root: a file stands in
    // the place of its parent.
    QFile blocker(QDir(dir.path()).filePath("blocked"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString readOnly = QDir(dir.path()).filePath("blocked/program");
    QVERIFY(!canCreateFilesIn(readOnly));
    const QString chosen = chooseWordFilePath(readOnly, user);
    QCOMPARE(chosen, QDir(user).filePath("vokabo.txt"));
    QCOMPARE(startingWordFile(chosen, readOnly), QDir(readOnly).filePath("vokabo.txt"));
}

void TestWordFile::installedCopyKeepsWordsInTheUserFolder() {
    const QString installed = installedProgramFolder();
    if (!QFileInfo(installed).isDir())
        QSKIP("the install folder this build names does not exist here");
    QTemporaryDir dir;
    const QString user = QDir(dir.path()).filePath("user");
    // Also when the folder can be written, as by root.
    QCOMPARE(chooseWordFilePath(installed, user), QDir(user).filePath("vokabo.txt"));
    const QString link = QDir(dir.path()).filePath("bin");
    QVERIFY(QFile::link(installed, link));
    QVERIFY(isInstalledCopy(link));
    QVERIFY(!isInstalledCopy(dir.path()));
    QCOMPARE(chooseWordFilePath(dir.path(), user), QDir(dir.path()).filePath("vokabo.txt"));
}

// A user's words beside a program folder that cannot be written: they are
// read from there until the first save puts them in the user's own file,
// and the program folder's file is never written.
void TestWordFile::programFolderFileIsTheStartingPoint() {
    FreshProgram program;
    const QString beside = QDir(program.dir()).filePath("beside.txt");
    const QByteArray besideBytes("mine|benim||3|A\r\nold|eski||0|P\r\n");
    QFile file(beside);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(besideBytes);
    file.close();
    setWordFilePath(program.wordFile(), beside);

    const FileOutcome load = LoadWordFile();
    QVERIFY(load.ok);
    QCOMPARE(load.path, beside);
    QCOMPARE(ActiveWords, WordList{word("mine", "benim", "", 3)});
    QCOMPARE(PassiveWords.size(), 1);
    QVERIFY(!WordsChanged);

    AppendWord("new", "yeni", "", 0, "A");
    QVERIFY(SaveWordFile().ok);
    QCOMPARE(program.readWordFile(),
             besideBytes.first(17) + "new|yeni||0|A\r\n" + besideBytes.sliced(17));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), besideBytes);
    file.close();

    // From now on the user's own file is the one read.
    reload();
    QCOMPARE(ActiveWords.size(), 2);
}

QTEST_GUILESS_MAIN(TestWordFile)
#include "tst_wordfile.moc"
