#include "TestData.h"
#include "words/WordExport.h"
#include "words/WordImport.h"

#include <QFile>
#include <QRandomGenerator>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using namespace WordImport;
using ModVokabo::WordDef;
using ModVokabo::WordList;

class TestWordImport : public QObject {
    Q_OBJECT
private slots:
    void readsEachFormat_data();
    void readsEachFormat();
    void guessesOnFiles_data();
    void guessesOnFiles();
    void choicesOverrideTheGuesses();
    void refusesWhatIsNoWordList_data();
    void refusesWhatIsNoWordList();
    void nulFarIntoTheFileSpoilsOnlyItsLine();
    void largeFileReportsProgressAndStops();
    void tooLargeFileIsRefusedUnread();
    void planLeavesOutWhatIsThere();
    void exportReadsBackWhole_data();
    void exportReadsBackWhole();
    void kvtmlExportNamesBothLanguages();
    void randomTextsComeBackExactly();
};

namespace {

QByteArray cp1254(const QString& text) {
    return QStringEncoder("windows-1254")(text);
}

QByteArray utf16le(const QString& text) {
    return QByteArray("\xFF\xFE") + QStringEncoder(QStringConverter::Utf16LE)(text);
}

// "line:word|meaning|example|count|list" for each entry.
QStringList described(const QList<Entry>& entries) {
    QStringList out;
    for (const Entry& e : entries)
        out.append(QStringLiteral("%1:%2|%3|%4|%5|%6")
                       .arg(e.line)
                       .arg(e.word.English, e.word.Turkish, e.word.Ornek)
                       .arg(e.word.Dogru)
                       .arg(QChar(e.passive ? u'P' : u'A')));
    return out;
}

QList<qint64> lines(const QList<Problem>& problems) {
    QList<qint64> out;
    for (const Problem& p : problems)
        out.append(p.line);
    return out;
}

// A KVTML 2 file: languages as "name/locale", each entry one text per
// language ("" for none, "word//hint" with a hint). Entry i is on line
// 4 + languages + i.
QByteArray kvtml(const QStringList& languages, const QList<QStringList>& entries) {
    QString xml = QStringLiteral("<?xml version=\"1.0\"?>\n<kvtml version=\"2.0\"><identifiers>\n");
    for (int i = 0; i < languages.size(); ++i)
        xml += QStringLiteral("<identifier id=\"%1\"><name>%2</name><locale>%3</locale>"
                              "</identifier>\n")
                   .arg(i)
                   .arg(languages[i].section(u'/', 0, 0), languages[i].section(u'/', 1));
    xml += QStringLiteral("</identifiers><entries>\n");
    for (const QStringList& entry : entries) {
        xml += QStringLiteral("<entry>");
        for (int i = 0; i < entry.size(); ++i)
            if (!entry[i].isEmpty())
                xml += QStringLiteral("<translation id=\"%1\"><text>%2</text><comment>%3</comment>"
                                      "</translation>")
                           .arg(i)
                           .arg(entry[i].section(QStringLiteral("//"), 0, 0),
                                entry[i].section(QStringLiteral("//"), 1));
        xml += QStringLiteral("</entry>\n");
    }
    return (xml + QStringLiteral("</entries></kvtml>\n")).toUtf8();
}

} // namespace

void TestWordImport::readsEachFormat_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QList<qint64>>("problemLines");
    QTest::addColumn<QString>("encoding");

    QTest::newRow("csv, comma, UTF-8")
        << "house,ev\r\nbook,kitap,This is a book.\r\n"_qba
        << "list.csv" << QStringList{"1:house|ev||0|A", "2:book|kitap|This is a book.|0|A"}
        << QList<qint64>{} << "UTF-8";
    QTest::newRow("csv, Windows-1254")
        << cp1254(u"light;ışık\r\nIstanbul;İstanbul;Çağ öğür\r\n"_qs) << "x.csv"
        << QStringList{"1:light|ışık||0|A", "2:Istanbul|İstanbul|Çağ öğür|0|A"} << QList<qint64>{}
        << "Windows-1254";
    QTest::newRow("a stray byte spoils its own line, not the file")
        << "tree;ağaç\nflower;çiçek\ndog;kö\xFFpek\nsugar;şeker\nhand;el\n"_qba
        << "x.csv"
        << QStringList{"1:tree|ağaç||0|A", "2:flower|çiçek||0|A", "4:sugar|şeker||0|A",
                       "5:hand|el||0|A"}
        << QList<qint64>{3} << "UTF-8";
    QTest::newRow("csv, RFC 4180 quoting across lines")
        << "\"say \"\"hi\"\"\",merhaba de,\"one, two\"\r\n\"multi\r\nline\",çok satır\r\n"
           "next,sonraki\n"_qba
        << "x.csv"
        << QStringList{"1:say \"hi\"|merhaba de|one, two|0|A", "2:multi line|çok satır||0|A",
                       "4:next|sonraki||0|A"}
        << QList<qint64>{} << "UTF-8";
    QTest::newRow("a spreadsheet's header row names the columns")
        << "Vokabo;Anlamı;Örnek\r\nbook;kitap;A book.\r\n"_qba
        << "x.csv" << QStringList{"2:book|kitap|A book.|0|A"} << QList<qint64>{} << "UTF-8";
    QTest::newRow("a header naming Turkish first")
        << "Türkçe;English\nkitap;book\n"_qba
        << "x.csv" << QStringList{"2:book|kitap||0|A"} << QList<qint64>{} << "UTF-8";
    QTest::newRow("without a header, Turkish letters tell the meaning")
        << "ağaç;tree\nşeker;sugar\nev;house\n"_qba
        << "x.csv" << QStringList{"1:tree|ağaç||0|A", "2:sugar|şeker||0|A", "3:house|ev||0|A"}
        << QList<qint64>{} << "UTF-8";
    QTest::newRow("a line beginning with # is a word in a plain spreadsheet")
        << "#1;bir\n"_qba
        << "x.csv" << QStringList{"1:#1|bir||0|A"} << QList<qint64>{} << "UTF-8";
    QTest::newRow("this program's export keeps count and list")
        << "Vokabo;Karşılığı;Örnek Cümle;Doğru;Liste\r\nw;m;e;4;P\r\nv;n;;x;A\r\n"_qba
        << "x.csv" << QStringList{"2:w|m|e|4|P", "3:v|n||0|A"} << QList<qint64>{} << "UTF-8";
    QTest::newRow("other files' fourth and fifth columns are no count")
        << "w;m;e;4;P\r\n"_qba
        << "x.csv" << QStringList{"1:w|m|e|0|A"} << QList<qint64>{} << "UTF-8";
    QTest::newRow("spreadsheet's UTF-16 text, a NUL in a line")
        << utf16le(u"göz\teye\r\nel\tha"_qs + QChar(0) + u"nd\r\nbaş\thead\r\n"_qs) << "x.txt"
        << QStringList{"1:eye|göz||0|A", "3:head|baş||0|A"} << QList<qint64>{2} << "UTF-16";
    QTest::newRow("broken lines are told with their number; texts stay as they are")
        << "house;ev\nlonely\n;boş vokabo\nword;\npipe|x;y\n\n  ok ; tamam\xC2\xA0\n"_qba
        << "x.csv" << QStringList{"1:house|ev||0|A", "7:  ok | tamam\u00a0||0|A"}
        << QList<qint64>{2, 3, 4, 5} << "UTF-8";
    QTest::newRow("a quote never closed")
        << "a;b\n\"never closed;x\nc;d\n"_qba
        << "x.csv" << QStringList{"1:a|b||0|A"} << QList<qint64>{2} << "UTF-8";
    QTest::newRow("KVTML: Turkish by its name, listed first")
        << kvtml({"Türkçe/", "English/en"}, {{"köpek", "dog"}}) << "x.kvtml"
        << QStringList{"6:dog|köpek||0|A"} << QList<qint64>{} << "XML";
    QTest::newRow("KVTML: Turkish named in English, three languages")
        << kvtml({"English/en", "German/de", "Turkish/"}, {{"apple", "Apfel", "elma"}}) << "x.kvtml"
        << QStringList{"7:apple|elma||0|A"} << QList<qint64>{} << "XML";
    QTest::newRow("KVTML: broken XML keeps what came before")
        << kvtml({"a/en", "b/tr"}, {{"house", "ev"}, {"cat", "kedi"}})
               .replace("<entry><translation id=\"0\"><text>cat", "<entry><oops>")
        << "x.kvtml" << QStringList{"6:house|ev||0|A"} << QList<qint64>{7} << "XML";
    QTest::newRow("word file, Windows-1254")
        << cp1254(u"income|gelir  kazanç|One fourth|3|A\r\nhalf|yarı\r\nx|y||abc|P\r\n"
                  "old|eski||5|P\r\nyaş|age|| 7 |\r\n"_qs)
        << "vokabo.txt"
        << QStringList{"1:income|gelir  kazanç|One fourth|3|A", "4:old|eski||5|P", "5:yaş|age||7|A"}
        << QList<qint64>{2, 3} << "Windows-1254";
}

void TestWordImport::readsEachFormat() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, fileName);
    QFETCH(QStringList, entries);
    QFETCH(QList<qint64>, problemLines);
    QFETCH(QString, encoding);

    const Result result = read(bytes, fileName);
    QCOMPARE(result.refusal, QString());
    QCOMPARE(described(result.entries), entries);
    QCOMPARE(lines(result.problems), problemLines);
    QCOMPARE(result.problemCount, problemLines.size());
    for (const Problem& p : result.problems)
        QVERIFY2(!p.reason.isEmpty(), qPrintable(QString::number(p.line)));
    QCOMPARE(result.encodingName, encoding);
}

void TestWordImport::guessesOnFiles_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("encoding");
    QTest::addColumn<bool>("header");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<qint64>("problems");

    const auto row = [](const char* file, const char* encoding, bool header,
                        const QStringList& entries, qint64 problems) {
        QTest::newRow(file) << QString::fromLatin1(file) << QString::fromUtf8(encoding) << header
                            << entries << problems;
    };
    row("libreoffice.csv", "UTF-8", true,
        {"2:book|kitap|This is a book; a good one.|0|A", "3:tree|ağaç||0|A",
         "4:flower|çiçek|Roses are red, violets are blue.|0|A", "6:say \"hi\"|merhaba de||0|A"},
        0);
    row("excel-utf8.csv", "UTF-8, BOM ile", true,
        {"2:book|kitap|I read a book.|0|A", "3:light|ışık||0|A",
         "4:needle|iğne|Looking for a needle; in a haystack|0|A"},
        0);
    row("excel-ansi.csv", "Windows-1254", false,
        {"1:light|ışık||0|A", "2:needle|iğne|Iğne ile kuyu kazmak.|0|A",
         "3:city|şehir|İstanbul büyük bir şehir.|0|A"},
        0);
    row("flashcards.txt", "UTF-8", false,
        {"4:house|ev konut||0|A", "5:to run|koşmak||0|A", "6:cat dog|kedi, köpek||0|A"}, 0);
    row("two-languages.kvtml", "XML", false,
        {"19:house|ev|The house is big.|0|A", "29:salt & pepper|tuz ve biber||0|A"}, 0);
    row("three-languages.kvtml", "XML", false, {"10:apple|elma||0|A"}, 1);
    row("one-language.kvtml", "XML", false,
        {"8:aeroplane|A flying machine||0|A", "9:bicycle|Two wheels and pedals||0|A"}, 1);
}

void TestWordImport::guessesOnFiles() {
    QFETCH(QString, file);
    const Result result = readFile(QStringLiteral(VOKABO_TEST_DATA_DIR "/import/") + file);
    QCOMPARE(result.refusal, QString());
    QTEST(result.encodingName, "encoding");
    QTEST(result.header, "header");
    QTEST(described(result.entries), "entries");
    QTEST(result.problemCount, "problems");
    // What the learner is told of a file in one language.
    QCOMPARE(result.note.contains(u"tek dil var"), file.startsWith(u"one-"));
}

void TestWordImport::choicesOverrideTheGuesses() {
    const QByteArray csv = "Kelime;Anlamı\nköpek;dog\n"_qba;
    Options options;
    options.header = false;
    QCOMPARE(described(read(csv, "x.csv", options).entries),
             (QStringList{"1:Kelime|Anlamı||0|A", "2:köpek|dog||0|A"}));
    options.columns = Columns{1, 0, -1};
    QCOMPARE(described(read(csv, "x.csv", options).entries),
             (QStringList{"1:Anlamı|Kelime||0|A", "2:dog|köpek||0|A"}));

    options = {};
    options.encoding = Encoding::Windows1254;
    QCOMPARE(described(read("ağaç;tree\n"_qba, "x.csv", options).entries),
             QStringList{"1:aÄŸaÃ§|tree||0|A"});
    options.encoding = Encoding::Utf8;
    const Result notUtf8 = read(cp1254(u"ağaç;tree\nev;house\n"_qs), "x.csv", options);
    QCOMPARE(described(notUtf8.entries), QStringList{"2:ev|house||0|A"});
    QCOMPARE(lines(notUtf8.problems), QList<qint64>{1});

    options = {};
    options.languages = Languages{1, 0};
    const QByteArray three = kvtml({"en/en", "de/de", "tr/tr"}, {{"apple", "Apfel", "elma"}});
    QCOMPARE(described(read(three, "x.kvtml", options).entries), QStringList{"7:Apfel|apple||0|A"});
    options.languages = Languages{0, HintLanguage};
    QCOMPARE(described(
                 read(kvtml({"en/en", "tr/tr"}, {{"kite//toy", "uçurtma"}}), "x", options).entries),
             QStringList{"6:kite|toy||0|A"});
}

void TestWordImport::refusesWhatIsNoWordList_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("told");

    QByteArray binary(200000, '\0');
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = static_cast<char>((i * 7919) % 251);
    QTest::newRow("binary bytes") << binary << "metin dosyası değil";
    QTest::newRow("empty file") << QByteArray() << "okunabilen vokabo bulunamadı";
    QTest::newRow("text without one word") << "lorem ipsum\n"_qba
                                           << "bulunamadı";
    QTest::newRow("other XML") << "<?xml version=\"1.0\"?><html/>"_qba
                               << "KVTML vokabo dosyası değil";
    QTest::newRow("KVTML 1") << "<kvtml version=\"1.0\"><e><o>a</o><t>b</t></e></kvtml>"_qba
                             << "KVTML 1";
    QTest::newRow("KVTML in one language, no hints")
        << kvtml({"English/en"}, {{"kite"}, {"ball"}}) << "Bu dosyada tek dil var (English)";
}

void TestWordImport::refusesWhatIsNoWordList() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, told);
    const Result result = read(bytes, QStringLiteral("x.csv"));
    QVERIFY2(result.refusal.contains(told), qPrintable(result.refusal));
    QVERIFY(result.entries.isEmpty());
    // One sentence, not a line per word.
    QVERIFY(result.problemCount <= 1);
}

void TestWordImport::nulFarIntoTheFileSpoilsOnlyItsLine() {
    QByteArray bytes;
    for (int i = 0; bytes.size() < 100 * 1024; ++i)
        bytes += "word" + QByteArray::number(i) + ";anlam\n";
    const qint64 spoilt = bytes.count('\n') + 1;
    bytes += "bad\0word;anlam\nlast;son\n"_qba;
    const Result result = read(bytes, QStringLiteral("x.csv"));
    QCOMPARE(lines(result.problems), QList<qint64>{spoilt});
    QCOMPARE(result.entries.size(), spoilt);
    QCOMPARE(result.entries.last().word.English, QStringLiteral("last"));
}

void TestWordImport::largeFileReportsProgressAndStops() {
    QByteArray bytes;
    for (int i = 0; i < 100000; ++i)
        bytes += "word" + QByteArray::number(i) + ";anlam " + QByteArray::number(i) + "\r\n";
    QList<qint64> seen;
    const Result whole = read(bytes, {}, {}, [&](qint64 done, qint64 total) {
        seen.append(done);
        return done <= total;
    });
    QCOMPARE(whole.entries.size(), 100000);
    QCOMPARE(whole.entries.last().line, 100000);
    QVERIFY(seen.size() > 10);
    QVERIFY(std::is_sorted(seen.cbegin(), seen.cend()));

    int calls = 0;
    const Result stopped = read(bytes, {}, {}, [&](qint64, qint64) { return ++calls < 3; });
    QVERIFY(stopped.cancelled);
    QVERIFY(stopped.entries.size() < 100000);
}

void TestWordImport::tooLargeFileIsRefusedUnread() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.csv"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.resize(MaxFileBytes + 1)); // sparse: no disk used
    file.close();
    const Result result = readFile(path);
    // One byte over is not shown as the limit itself.
    QVERIFY2(result.refusal.contains(u"çok büyük (33.554.433 bayt)"), qPrintable(result.refusal));
    QVERIFY(result.entries.isEmpty());
    QVERIFY(readFile(dir.path()).refusal.contains(u"klasör"));
}

void TestWordImport::planLeavesOutWhatIsThere() {
    const WordList active{{"house", "ev", "", 3}};
    const WordList passive{{"cat", "kedi", "", 9}};
    const auto entry = [](const char* en, const char* tr) {
        return Entry{{QString::fromUtf8(en), QString::fromUtf8(tr), "ex", 5}, true, 1};
    };
    const QList<Entry> entries{entry("house", "ev"),  entry("cat", "kedi"), entry("dog", "köpek"),
                               entry("dog", "köpek"), entry("dog", "it"),   entry("House", "ev")};
    const Plan p = plan(entries, active, passive);
    // Same word and meaning is the same word; a new one comes in with count 0.
    QCOMPARE(
        p.active,
        (WordList{{"dog", "köpek", "ex", 0}, {"dog", "it", "ex", 0}, {"House", "ev", "ex", 0}}));
    QVERIFY(p.passive.isEmpty());
    QCOMPARE(p.alreadyInLists, 2);
    QCOMPARE(p.repeatedInFile, 1);
    QCOMPARE(p.noRoom, 0);
    // Kept counts go to the list the file named.
    const Plan kept = plan(entries, active, passive, true);
    QCOMPARE(kept.passive.constFirst(), (WordDef{"dog", "köpek", "ex", 5}));
    QVERIFY(kept.active.isEmpty());

    // A list holds at most 32,767 words.
    const WordList full(MaxListSize - 1, WordDef{"w", "m", "", 0});
    const Plan crowded = plan({entry("a", "1"), entry("b", "2"), entry("w", "m")}, full, {});
    QCOMPARE(crowded.active.size(), 1);
    QCOMPARE(crowded.noRoom, 1);
    QCOMPARE(crowded.alreadyInLists, 1);
}

void TestWordImport::exportReadsBackWhole_data() {
    QTest::addColumn<int>("format");
    QTest::newRow("csv") << int(WordExport::Format::Csv);
    QTest::newRow("tab-separated") << int(WordExport::Format::Tab);
}

void TestWordImport::exportReadsBackWhole() {
    QFETCH(int, format);
    const WordList active{
        {"Vokabo", "Karşılığı", "a header's names as a word", 1},
        {"say \"hi\"", "\"merhaba\" de", "\"", 0},
        {"a;b,c", "x\ty", "one; two, three\tfour", 32767},
        {"#hashtag", "#etiket", "#", -5},
        {"=1+2", "+90 212", "-lik", 0},
        {"@ev", "\tsekme", "'=zaten tırnaklı", 0},
        {"\v\v\vdikey", "\vsekme\v", " boşluklu ", 0},
        {"emoji 😀👍🏽", "gülen yüz 🙂", "<b>not HTML</b> &amp;", 0},
        {"", "no word: not written", "", 0},
    };
    const WordList passive{{"old", "eski", "\"#\";", 7}};
    const QByteArray bytes = WordExport::toBytes(static_cast<WordExport::Format>(format),
                                                 {{&active, u'A'}, {&passive, u'P'}});
    const Result back = read(bytes, QStringLiteral("x"));
    QCOMPARE(back.problemCount, 0);
    const Plan added = plan(back.entries, {}, {}, true);
    QCOMPARE(added.active, active.first(active.size() - 1));
    QCOMPARE(added.passive, passive);
    // What a spreadsheet would calculate shows as text.
    if (format == int(WordExport::Format::Csv))
        for (const char* guarded : {"\n'=1+2;'+90 212;'-lik;", "\n'@ev;\"'\tsekme\";''=zaten"})
            QVERIFY2(bytes.contains(guarded), guarded);

    // Only the shown list, and the file on disk.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.csv"));
    QCOMPARE(
        WordExport::save(path, WordExport::toBytes(WordExport::Format::Csv, {{&passive, u'P'}})),
        QString());
    QCOMPARE(described(readFile(path).entries), QStringList{"2:old|eski|\"#\";|7|P"});
    QVERIFY(!WordExport::save(dir.path(), bytes).isEmpty());
}

void TestWordImport::kvtmlExportNamesBothLanguages() {
    const WordList active{{"Haus", "ev", "Das Haus ist groß.", 3}, {"", "not written", "", 0}};
    const WordList passive{{"alt\x01", "eski", "", 9}};
    const Result back = read(
        WordExport::toBytes(WordExport::Format::Kvtml, {{&active, u'A'}, {&passive, u'P'}}, "de"),
        QStringLiteral("x.kvtml"));
    QCOMPARE(back.languageNames, (QStringList{"German", "Türkçe"}));
    QCOMPARE(plan(back.entries, {}, {}).active,
             (WordList{{"Haus", "ev", "Das Haus ist groß.", 0}, {"alt\uFFFD", "eski", "", 0}}));
}

void TestWordImport::randomTextsComeBackExactly() {
    // Every character a word file can hold: all but NUL, the line breaks and
    // "|"; the ones that mean something to a file format come often.
    QRandomGenerator random(24);
    const QString often = QStringLiteral(" \t\v\f\x01\x1b;,\"'=+-@#<&\u00a0\u2028\ufeff\uffffİı");
    const auto text = [&](int least) {
        QString out;
        for (int n = least + random.bounded(8); n > 0; --n) {
            char32_t c = often[random.bounded(often.size())].unicode();
            if (random.bounded(2))
                do
                    c = random.bounded(1, 0x110000);
                while (c == u'\r' || c == u'\n' || c == u'|' || (c >= 0xD800 && c < 0xE000));
            out += QStringView(QChar::fromUcs4(c));
        }
        return out;
    };
    WordList lists[2];
    QSet<QString> keys;
    while (keys.size() < 600) {
        const WordDef word{text(1), text(1), text(0), qint16(random.bounded(-32768, 32768))};
        if (!keys.contains(word.English.trimmed() + u'\x1f' + word.Turkish.trimmed())) {
            keys.insert(word.English.trimmed() + u'\x1f' + word.Turkish.trimmed());
            lists[keys.size() % 3 == 0].append(word);
        }
    }
    for (const WordExport::Format format : {WordExport::Format::Csv, WordExport::Format::Tab}) {
        const QByteArray bytes =
            WordExport::toBytes(format, {{&lists[0], u'A'}, {&lists[1], u'P'}});
        const Result back = read(bytes, QStringLiteral("x"));
        QCOMPARE(back.problems, QList<Problem>{});
        const Plan added = plan(back.entries, {}, {}, true);
        QCOMPARE(added.active, lists[0]);
        QCOMPARE(added.passive, lists[1]);
    }
}

QTEST_GUILESS_MAIN(TestWordImport)
#include "tst_wordimport.moc"
