#include "platform/Paths.h"
#include "support/TestSupport.h"
#include "words/ModVokabo.h"
#include "words/WordFile.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>

using namespace ModVokabo;

namespace {
QByteArray cp1254(const QString& text) {
    QStringEncoder encoder("windows-1254");
    return encoder(text);
}

QStringList linesOf(const QString& text) {
    QStringList lines;
    WordFile::forEachLine(text, [&](QStringView line) { lines.append(line.toString()); });
    return lines;
}
} // namespace

class TestWordFile : public QObject {
    Q_OBJECT
private slots:
    void codePageIsAvailable();

    void parseLine_data();
    void parseLine();
    void lineEndings_data();
    void lineEndings();

    void missingFileSeedsSamples();
    void emptyFileSeedsSamplesButUnparsableLinesDoNot();
    void progressMaxDoublesAsLinesArrive();
    void moreLinesThanSixteenBitsHold();

    void saveWritesActiveThenPassiveWithCrLf();
    void saveDropsEmptyEnglishAndEmptyListsGiveEmptyFile();
    void saveAndLoadRestoreBothLists();

    void encodingOnReadAndWriteBack_data();
    void encodingOnReadAndWriteBack();
    void textOutsideCodePageSwitchesToUtf8();

    void unreadableFileIsReportedAndNeverOverwritten();
    void failedSaveIsReportedWithPathAndReason();
    void killedSaveLeavesOldOrNewFileWhole();
    void wordFileMovesToTheUserFolderWhenTheProgramFolderIsReadOnly();
};

void TestWordFile::codePageIsAvailable() {
    QVERIFY(WordFile::windows1254Available());
    QCOMPARE(QStringDecoder("windows-1254")(QByteArray("\xFD\xDD\xFE\xDE\xF0\xD0")),
             QStringLiteral("ıİşŞğĞ"));
}

void TestWordFile::parseLine_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("parsed");
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("ornek");
    QTest::addColumn<int>("dogru");
    QTest::addColumn<bool>("active");

    QTest::newRow("full active") << "income|gelir|One fourth|3|A" << true << "income"
                                 << "One fourth" << 3 << true;
    QTest::newRow("no status is active") << "a|b|c|7" << true << "a"
                                         << "c" << 7 << true;
    QTest::newRow("empty status is active") << "a|b|c|3|" << true << "a"
                                            << "c" << 3 << true;
    QTest::newRow("passive, empty example") << "a|b||3|P" << true << "a"
                                            << "" << 3 << false;
    QTest::newRow("unknown status is passive") << "a|b|c|3|x" << true << "a"
                                               << "c" << 3 << false;
    QTest::newRow("lower-case a is passive") << "a|b|c|3|a" << true << "a"
                                             << "c" << 3 << false;
    QTest::newRow("A with a blank is passive") << "a|b|c|3|A " << true << "a"
                                               << "c" << 3 << false;
    QTest::newRow("status holding bars") << "a|b|c|3|A|A" << true << "a"
                                         << "c" << 3 << false;
    QTest::newRow("blanks and sign") << "a|b|c| +12 |A" << true << "a"
                                     << "c" << 12 << true;
    QTest::newRow("negative") << "a|b|c|-5|A" << true << "a"
                              << "c" << -5 << true;
    QTest::newRow("16-bit top") << "a|b|c|32767|A" << true << "a"
                                << "c" << 32767 << true;
    QTest::newRow("16-bit bottom") << "a|b|c|-32768|A" << true << "a"
                                   << "c" << -32768 << true;
    QTest::newRow("empty english") << "|b|c|0|A" << true << ""
                                   << "c" << 0 << true;
    QTest::newRow("two bars only") << "half|yarı|" << false << ""
                                   << "" << 0 << false;
    QTest::newRow("empty line") << "" << false << ""
                                << "" << 0 << false;
    QTest::newRow("count is letters") << "a|b|c|x|A" << false << ""
                                      << "" << 0 << false;
    QTest::newRow("count is empty") << "a|b|c||A" << false << ""
                                    << "" << 0 << false;
    QTest::newRow("count is missing") << "a|b|c|" << false << ""
                                      << "" << 0 << false;
    QTest::newRow("count above 16 bits") << "a|b|c|32768|A" << false << ""
                                         << "" << 0 << false;
    QTest::newRow("count below 16 bits") << "a|b|c|-32769|A" << false << ""
                                         << "" << 0 << false;
    QTest::newRow("count with a fraction") << "a|b|c|3.5|A" << false << ""
                                           << "" << 0 << false;
    QTest::newRow("sign alone") << "a|b|c|-|A" << false << ""
                                << "" << 0 << false;
}

void TestWordFile::parseLine() {
    QFETCH(QString, line);
    QFETCH(bool, parsed);
    const auto result = WordFile::parseLine(line);
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
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("CR LF") << "a\r\nb\r\n" << QStringList{"a", "b"};
    QTest::newRow("lone CR") << "a\rb\r" << QStringList{"a", "b"};
    QTest::newRow("lone LF") << "a\nb\n" << QStringList{"a", "b"};
    QTest::newRow("mixed, no final break") << "a\r\nb\rc\nd" << QStringList{"a", "b", "c", "d"};
    QTest::newRow("empty lines count") << "\r\n\r\na" << QStringList{"", "", "a"};
    QTest::newRow("LF CR is two breaks") << "a\n\rb" << QStringList{"a", "", "b"};
    QTest::newRow("nothing") << "" << QStringList{};
}

void TestWordFile::lineEndings() {
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QCOMPARE(linesOf(text), lines);
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

void TestWordFile::moreLinesThanSixteenBitsHold() {
    FreshProgram program;
    QByteArray bytes;
    constexpr int Lines = 40000;
    for (int i = 0; i < Lines; ++i)
        bytes += "w" + QByteArray::number(i) + "|t||32767|A\r\n";
    program.writeWordFile(bytes);
    RecordingProgress progress;
    setProgressView(&progress);
    LoadWordFile();
    QCOMPARE(ActiveWords.size(), Lines);
    QCOMPARE(WordListUpper(ActiveWords), Lines);
    QCOMPARE(ActiveWords.last().English, QStringLiteral("w39999"));
    QVERIFY(progress.max() >= Lines - 1);
    QCOMPARE(progress.values.last(), Lines - 1);
}

void TestWordFile::saveWritesActiveThenPassiveWithCrLf() {
    FreshProgram program;
    RecordingProgress progress;
    setProgressView(&progress);
    AppendWord("run", "koşmak", "I run", 2, "P");
    AppendWord("income", "gelir  kazanç", "One fourth of my income goes for rent", 0, "A");
    AppendWord("half", "yarım", "", -3, "A");
    QVERIFY(SaveWordFile().ok);
    QCOMPARE(program.readWordFile(),
             cp1254("income|gelir  kazanç|One fourth of my income goes for rent|0|A\r\n"
                    "half|yarım||-3|A\r\n"
                    "run|koşmak|I run|2|P\r\n"));
    QCOMPARE(progress.statusTexts,
             (QStringList{"Aktif Vokaboler saklanıyor...", "Pasif Vokaboler saklanıyor..."}));
    QCOMPARE(progress.values, (QList<qint64>{1, 2, 1}));
}

void TestWordFile::saveDropsEmptyEnglishAndEmptyListsGiveEmptyFile() {
    FreshProgram program;
    AppendWord("", "boş", "", 0, "A");
    AppendWord("full", "dolu", "", 0, "A");
    QVERIFY(SaveWordFile().ok);
    QCOMPARE(program.readWordFile(), QByteArray("full|dolu||0|A\r\n"));

    ActiveWords.clear();
    QVERIFY(SaveWordFile().ok);
    QVERIFY(QFile::exists(program.wordFile()));
    QCOMPARE(program.readWordFile(), QByteArray());
    // An empty file brings the samples back at the next start.
    ActiveWords.clear();
    LoadWordFile();
    QCOMPARE(ActiveWords.size(), 5);
}

void TestWordFile::saveAndLoadRestoreBothLists() {
    FreshProgram program;
    AppendWord("şişe", "bottle", "Şişeyi aç.", 4, "A");
    AppendWord("ağaç", "tree", "", 32767, "A");
    AppendWord("İstanbul", "city", "a | b", 0, "P");
    AppendWord("ıhlamur", "linden", "", -32768, "P");
    const WordList active = ActiveWords;
    const WordList passive = PassiveWords;
    QVERIFY(SaveWordFile().ok);
    ActiveWords.clear();
    PassiveWords.clear();
    LoadWordFile();
    QCOMPARE(ActiveWords, active);
    // A bar inside a text cannot survive the format: the example sentence
    // is cut there, and the rest becomes the count, which fails: the line
    // is skipped. The dialog that takes texts refuses the bar for this.
    QCOMPARE(PassiveWords.size(), 1);
    QCOMPARE(PassiveWords[0], passive[1]);
}

void TestWordFile::encodingOnReadAndWriteBack_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("turkish");
    QTest::addColumn<int>("encoding");

    QTest::newRow("windows-1254") << QByteArray("a|\xFE\xFD\xF0|o|0|A\r\n") << "şığ"
                                  << int(WordFile::Encoding::Windows1254);
    QTest::newRow("plain ASCII") << QByteArray("a|b|o|0|A\r\n") << "b"
                                 << int(WordFile::Encoding::Windows1254);
    QTest::newRow("UTF-8") << QByteArray("a|\xC5\x9F\xC4\xB1\xC4\x9F|o|0|A\r\n") << "şığ"
                           << int(WordFile::Encoding::Utf8);
    QTest::newRow("UTF-8 with BOM") << QByteArray("\xEF\xBB\xBF"
                                                  "a|b|o|0|A\r\n")
                                    << "b" << int(WordFile::Encoding::Utf8Bom);
    // Bytes that are not valid UTF-8 are the code page, even when a
    // stretch of them would be.
    QTest::newRow("invalid UTF-8") << QByteArray("a|\xC5\x9F\xFE|o|0|A\r\n")
                                   << QString(QStringDecoder("windows-1254")("\xC5\x9F\xFE"))
                                   << int(WordFile::Encoding::Windows1254);
}

void TestWordFile::encodingOnReadAndWriteBack() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, turkish);
    QFETCH(int, encoding);
    FreshProgram program;
    program.writeWordFile(bytes);
    LoadWordFile();
    QCOMPARE(ActiveWords.size(), 1);
    QCOMPARE(ActiveWords[0].Turkish, turkish);
    QCOMPARE(int(wordFileEncoding()), encoding);
    QVERIFY(SaveWordFile().ok);
    QCOMPARE(program.readWordFile(), bytes);
}

void TestWordFile::textOutsideCodePageSwitchesToUtf8() {
    FreshProgram program;
    program.writeWordFile("a|\xFE|o|0|A\r\n");
    LoadWordFile();
    AppendWord("日本", "Japonya", "", 0, "A");
    QVERIFY(SaveWordFile().ok);
    const QByteArray bytes = program.readWordFile();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    QCOMPARE(QString::fromUtf8(bytes.mid(3)), QStringLiteral("a|ş|o|0|A\r\n日本|Japonya||0|A\r\n"));

    ActiveWords.clear();
    LoadWordFile();
    QCOMPARE(ActiveWords[1].English, QStringLiteral("日本"));
    QCOMPARE(ActiveWords[0].Turkish, QStringLiteral("ş"));
}

void TestWordFile::unreadableFileIsReportedAndNeverOverwritten() {
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
    QCOMPARE(box.asked().size(), 1);
    QVERIFY(box.asked()[0].prompt.contains(program.wordFile()));
    QCOMPARE(box.asked()[0].style & MsgBoxStyle::IconMask, int(MsgBoxStyle::Critical));
    // No samples pretend to be the user's words.
    QVERIFY(ActiveWords.isEmpty());
    QCOMPARE(view.caption, QStringLiteral("Aktif Vokaboleriniz (0)"));

    AppendWord("new", "yeni", "", 0, "A");
    const FileOutcome save = SaveWordFile();
    QVERIFY(!save.ok);
    QCOMPARE(save.path, program.wordFile());
    QVERIFY(!save.reason.isEmpty());
    QVERIFY(QFileInfo(program.wordFile()).isDir());
    QVERIFY(QFile::exists(QDir(program.wordFile()).filePath("keep.txt")));
}

void TestWordFile::failedSaveIsReportedWithPathAndReason() {
    FreshProgram program;
    const QString path = QDir(program.dir()).filePath("gone/vokabo.txt");
    setWordFilePath(path);
    AppendWord("a", "b", "", 0, "A");
    const FileOutcome outcome = SaveWordFile();
    QVERIFY(!outcome.ok);
    QCOMPARE(outcome.path, path);
    QVERIFY(!outcome.reason.isEmpty());
    QVERIFY(!QFile::exists(path));
    // Once the folder is there, the same words are saved.
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QVERIFY(SaveWordFile().ok);
    QVERIFY(QFile::exists(path));
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
        setWordFilePath(path);
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

void TestWordFile::wordFileMovesToTheUserFolderWhenTheProgramFolderIsReadOnly() {
    QTemporaryDir dir;
    const QString program = QDir(dir.path()).filePath("program");
    const QString user = QDir(dir.path()).filePath("user/vokabo");
    QVERIFY(QDir().mkpath(program));
    QCOMPARE(chooseWordFilePath(program, user), QDir(program).filePath("vokabo.txt"));
    QVERIFY(QDir(program).entryList(QDir::Files | QDir::Hidden).isEmpty());

    // A folder nothing can be created in, even for root: a file stands in
    // the place of its parent.
    QFile blocker(QDir(dir.path()).filePath("blocked"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString readOnly = QDir(dir.path()).filePath("blocked/program");
    QCOMPARE(chooseWordFilePath(readOnly, user), QDir(user).filePath("vokabo.txt"));
    QVERIFY(QFileInfo(user).isDir());
}

QTEST_GUILESS_MAIN(TestWordFile)
#include "tst_wordfile.moc"
