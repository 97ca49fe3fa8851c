#include "words/WordExport.h"
#include "words/WordImport.h"

#include <QFile>
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
    void refusesWhatIsNoWordList_data();
    void refusesWhatIsNoWordList();
    void largeFileReportsProgressAndStops();
    void tooLargeFileIsRefusedUnread();
    void planLeavesOutWhatIsThere();
    void exportReadsBackWhole_data();
    void exportReadsBackWhole();
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

const QByteArray Kvtml = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE kvtml PUBLIC "kvtml2.dtd" "http://edu.kde.org/kvtml/kvtml2.dtd">
<kvtml version="2.0">
  <information><title>Ev</title></information>
  <identifiers>
    <identifier id="0"><name>English</name><locale>en</locale></identifier>
    <identifier id="1"><name>Türkçe</name><locale>tr</locale></identifier>
    <identifier id="2"><name>Deutsch</name><locale>de</locale></identifier>
  </identifiers>
  <entries>
    <entry id="0">
      <translation id="0"><text>house</text><example>The house is big.</example></translation>
      <translation id="1"><text>ev</text></translation>
      <translation id="2"><text>Haus</text></translation>
    </entry>
    <entry id="1">
      <translation id="0"><text>salt &amp; pepper</text></translation>
      <translation id="1"><text>tuz ve biber</text><grade currentgrade="2"/></translation>
    </entry>
    <entry id="2">
      <translation id="0"><text>lonely</text></translation>
      <translation id="2"><text>einsam</text></translation>
    </entry>
  </entries>
  <lessons><container><name>1</name><entry id="0"/></container></lessons>
</kvtml>
)";

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
    QTest::newRow("csv, semicolon, commas in the meaning")
        << "book;kitap, defter;A book.\nhalf;yarım, yarı, buçuk;\n"_qba
        << "list.csv"
        << QStringList{"1:book|kitap, defter|A book.|0|A", "2:half|yarım, yarı, buçuk||0|A"}
        << QList<qint64>{} << "UTF-8";
    QTest::newRow("csv, UTF-8 with byte-order mark")
        << "\xEF\xBB\xBFsugar;şeker\r\n"_qba
        << "x.csv" << QStringList{"1:sugar|şeker||0|A"} << QList<qint64>{} << "UTF-8, BOM ile";
    QTest::newRow("csv, Windows-1254")
        << cp1254(u"light;ışık\r\nIstanbul;İstanbul;Çağ öğür\r\n"_qs) << "x.csv"
        << QStringList{"1:light|ışık||0|A", "2:Istanbul|İstanbul|Çağ öğür|0|A"} << QList<qint64>{}
        << "Windows-1254";
    QTest::newRow("csv, RFC 4180 quoting across lines")
        << "\"say \"\"hi\"\"\",merhaba de,\"one, two\"\r\n\"multi\r\nline\",çok satır\r\n"
           "next,sonraki\n"_qba
        << "x.csv"
        << QStringList{"1:say \"hi\"|merhaba de|one, two|0|A", "2:multi line|çok satır||0|A",
                       "4:next|sonraki||0|A"}
        << QList<qint64>{} << "UTF-8";
    QTest::newRow("tab-separated, no directives")
        << "dog\tköpek\tThe dog barks; loudly, too.\n"_qba
        << "x.txt" << QStringList{"1:dog|köpek|The dog barks; loudly, too.|0|A"} << QList<qint64>{}
        << "UTF-8";
    QTest::newRow("flashcard export: directives, HTML, tags, comments")
        << "#separator:tab\n#html:true\n#tags column:3\n<b>house</b>\tev<br>konut\tnoun\n"
           "&quot;salt&quot; &amp; pepper\t&lt;tuz&gt;&nbsp;&#305;&#x130;\t\n"
           "# a comment\n<div>cat</div><div>[sound:cat.mp3]</div>\t"
           "<style>b{}</style>kedi\tanimal\n"_qba
        << "deck.txt"
        << QStringList{"4:house|ev konut||0|A", "5:\"salt\" & pepper|<tuz> ıİ||0|A",
                       "7:cat|kedi||0|A"}
        << QList<qint64>{} << "UTF-8";
    QTest::newRow("flashcard export: id, note type and deck columns")
        << "#separator:Semicolon\n#guid column:1\n#notetype column:2\n#deck column:3\n"
           "Ab12;Basic;Deck;word;anlam;An example.\n"_qba
        << "deck.txt" << QStringList{"5:word|anlam|An example.|0|A"} << QList<qint64>{} << "UTF-8";
    QTest::newRow("a line beginning with # is a word in a plain spreadsheet")
        << "#1;bir\n"_qba
        << "x.csv" << QStringList{"1:#1|bir||0|A"} << QList<qint64>{} << "UTF-8";
    QTest::newRow("this program's export keeps count and list")
        << "Vokabo;Karşılığı;Örnek Cümle;Doğru;Liste\r\nw;m;e;4;P\r\nv;n;;x;A\r\n"_qba
        << "x.csv" << QStringList{"2:w|m|e|4|P", "3:v|n||0|A"} << QList<qint64>{} << "UTF-8";
    QTest::newRow("other files' fourth and fifth columns are no count")
        << "w;m;e;4;P\r\n"_qba
        << "x.csv" << QStringList{"1:w|m|e|0|A"} << QList<qint64>{} << "UTF-8";
    QTest::newRow("spreadsheet's UTF-16 text")
        << utf16le(u"göz\teye\r\nel\thand\r\n"_qs) << "x.txt"
        << QStringList{"1:göz|eye||0|A", "2:el|hand||0|A"} << QList<qint64>{} << "UTF-16";
    QTest::newRow("broken lines are told with their number")
        << "house;ev\nlonely\n;boş vokabo\nword;\npipe|x;y\n\n  ok ; tamam \n"_qba
        << "x.csv" << QStringList{"1:house|ev||0|A", "7:ok|tamam||0|A"} << QList<qint64>{2, 3, 4, 5}
        << "UTF-8";
    QTest::newRow("a quote never closed")
        << "a;b\n\"never closed;x\nc;d\n"_qba
        << "x.csv" << QStringList{"1:a|b||0|A"} << QList<qint64>{2} << "UTF-8";
    QTest::newRow("KVTML 2: the first two languages, the example")
        << Kvtml << "ev.kvtml"
        << QStringList{"11:house|ev|The house is big.|0|A", "16:salt & pepper|tuz ve biber||0|A"}
        << QList<qint64>{20} << "XML";
    QByteArray turkishFirst = Kvtml;
    turkishFirst.replace("<locale>en</locale>", "<locale>xx</locale>")
        .replace("<locale>tr</locale>", "<locale>en</locale>")
        .replace("<locale>xx</locale>", "<locale>tr_TR</locale>");
    QTest::newRow("KVTML 2: Turkish listed first is still the meaning")
        << turkishFirst << "ev.kvtml"
        << QStringList{"11:ev|house|The house is big.|0|A", "16:tuz ve biber|salt & pepper||0|A"}
        << QList<qint64>{20} << "XML";
    QTest::newRow("KVTML 2: broken XML keeps what came before")
        << QByteArray(Kvtml).replace("<entry id=\"2\">", "<entry id=\"2\"><oops>") << "ev.kvtml"
        << QStringList{"11:house|ev|The house is big.|0|A", "16:salt & pepper|tuz ve biber||0|A"}
        << QList<qint64>{23} << "XML";
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

void TestWordImport::refusesWhatIsNoWordList_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("told");

    QByteArray binary(200000, '\0');
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = static_cast<char>((i * 7919) % 251);
    QTest::newRow("binary bytes") << binary << "metin dosyası değil";
    QTest::newRow("empty file") << QByteArray() << "okunabilen vokabo bulunamadı";
    QTest::newRow("text without one word") << "lorem\nipsum\n"_qba
                                           << "bulunamadı";
    QTest::newRow("other XML") << "<?xml version=\"1.0\"?><html/>"_qba
                               << "KVTML vokabo dosyası değil";
    QTest::newRow("KVTML 1") << "<kvtml version=\"1.0\"><e><o>a</o><t>b</t></e></kvtml>"_qba
                             << "KVTML 1";
}

void TestWordImport::refusesWhatIsNoWordList() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, told);
    const Result result = read(bytes, QStringLiteral("x.csv"));
    QVERIFY2(result.refusal.contains(told), qPrintable(result.refusal));
    QVERIFY(result.entries.isEmpty());
}

void TestWordImport::largeFileReportsProgressAndStops() {
    QByteArray bytes;
    for (int i = 0; i < 100000; ++i)
        bytes += "word" + QByteArray::number(i) + ";anlam " + QByteArray::number(i) + "\r\n";
    QList<qint64> seen;
    const Result whole = read(bytes, {}, [&](qint64 done, qint64 total) {
        seen.append(done);
        return done <= total;
    });
    QCOMPARE(whole.entries.size(), 100000);
    QCOMPARE(whole.entries.last().line, 100000);
    QVERIFY(seen.size() > 10);
    QVERIFY(std::is_sorted(seen.cbegin(), seen.cend()));

    int calls = 0;
    const Result stopped = read(bytes, {}, [&](qint64, qint64) { return ++calls < 3; });
    QVERIFY(stopped.cancelled);
    QVERIFY(stopped.entries.size() < 100000);
}

void TestWordImport::tooLargeFileIsRefusedUnread() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.csv"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.resize(50 * 1024 * 1024)); // sparse: no disk used
    file.close();
    const Result result = readFile(path);
    QVERIFY2(result.refusal.contains(u"çok büyük (50,0 MB)"), qPrintable(result.refusal));
    QVERIFY(result.entries.isEmpty());
    QVERIFY(readFile(dir.path()).refusal.contains(u"klasör"));
}

void TestWordImport::planLeavesOutWhatIsThere() {
    const WordList active{{"house", "ev", "", 3}};
    const WordList passive{{"cat", "kedi", "", 9}};
    const auto entry = [](const char* en, const char* tr) {
        return Entry{{QString::fromUtf8(en), QString::fromUtf8(tr), "ex", 5}, true, 1};
    };
    const Plan p = plan({entry("house", "ev"), entry("cat", "kedi"), entry("dog", "köpek"),
                         entry("dog", "köpek"), entry("dog", "it"), entry("House", "ev")},
                        active, passive);
    // Same word and meaning is the same word; a new one comes in with count 0.
    QCOMPARE(
        p.toAdd,
        (WordList{{"dog", "köpek", "ex", 0}, {"dog", "it", "ex", 0}, {"House", "ev", "ex", 0}}));
    QCOMPARE(p.alreadyInLists, 2);
    QCOMPARE(p.repeatedInFile, 1);
    QCOMPARE(p.noRoom, 0);

    // The active list holds at most 32,767 words.
    const WordList full(MaxListSize - 1, WordDef{"w", "m", "", 0});
    const Plan crowded = plan({entry("a", "1"), entry("b", "2"), entry("w", "m")}, full, {});
    QCOMPARE(crowded.toAdd.size(), 1);
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
        {"ışık IŞIK", "İstanbul iğne ÇÖÜŞĞ", "", 2},
        {"emoji 😀👍🏽", "gülen yüz 🙂", "<b>not HTML</b> &amp;", 0},
        {"'quoted'", "tek tırnak", "it's", 0},
        {"", "no word: not written", "", 0},
    };
    const WordList passive{{"old", "eski", "\"#\";", 7}};
    const QByteArray bytes = WordExport::toBytes(static_cast<WordExport::Format>(format),
                                                 {{&active, u'A'}, {&passive, u'P'}});
    const Result back = read(bytes, QStringLiteral("x"));
    QCOMPARE(back.problemCount, 0);
    QCOMPARE(back.entries.size(), active.size());
    for (qsizetype i = 0; i + 1 < active.size(); ++i) {
        QCOMPARE(back.entries[i].word, active[i]);
        QVERIFY(!back.entries[i].passive);
    }
    QCOMPARE(back.entries.last().word, passive[0]);
    QVERIFY(back.entries.last().passive);

    // Only the shown list, and the file on disk.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.csv"));
    QCOMPARE(
        WordExport::save(path, WordExport::toBytes(WordExport::Format::Csv, {{&passive, u'P'}})),
        QString());
    QCOMPARE(described(readFile(path).entries), QStringList{"2:old|eski|\"#\";|7|P"});
    QVERIFY(!WordExport::save(dir.path(), bytes).isEmpty());
}

QTEST_GUILESS_MAIN(TestWordImport)
#include "tst_wordimport.moc"
