#include "app/FormVokabo.h"
#include "app/WordListPanel.h"
#include "support/FakeTray.h"
#include "support/TestSupport.h"
#include "words/FormImport.h"
#include "words/WordFilter.h"
#include "words/WordImport.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScopeGuard>
#include <QStringDecoder>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace ModVokabo;

namespace {
// No test here looks at the tray.
using NoTray = FakeTray;

QStringList lineTexts(const WordListPanel& panel) {
    QStringList texts;
    for (int i = 0; i < panel.lineCount(); ++i)
        texts.append(panel.lineText(i));
    return texts;
}

// Each line as shown, with the texts of the word its position names.
QStringList linesAndWords(const WordListPanel& panel, const WordStore& store) {
    QStringList lines;
    for (int i = 0; i < panel.lineCount(); ++i) {
        const WordDef& word = store.GetWord(panel.shownList(), panel.lineRecord(i));
        lines.append(panel.lineText(i) + u" = "_qs + word.English + u'/' + word.Turkish);
    }
    return lines;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// Acts on a modal window of that kind once it is up, as a user would; the
// test goes on meanwhile and opens it.
// A test that fails leaves no such wait behind: parent goes with the test.
template <typename Window> void whenModal(QObject* parent, std::function<void(Window*)> act) {
    auto* poll = new QTimer(parent);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, act = std::move(act)] {
        auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
        if (!window)
            return;
        poll->stop();
        poll->deleteLater();
        act(window);
    });
    poll->start();
}

// What the preview shows: its summary, its unreadable lines, and its table's
// rows, each as "word|meaning|...".
struct Shown {
    QString summary;
    QStringList problems;
    QStringList rows;
};

Shown shownBy(const FormImport& preview) {
    Shown shown{part<QLabel>(preview, QStringLiteral("LabelDurum"))->text(), {}, {}};
    const auto* list = part<QListWidget>(preview, QStringLiteral("ListSorunlar"));
    for (int i = 0; i < list->count(); ++i)
        shown.problems.append(list->item(i)->text());
    const auto* table = part<QTableWidget>(preview, QStringLiteral("TableVokabo"));
    for (int row = 0; row < table->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < table->columnCount(); ++column)
            cells.append(table->item(row, column)->text());
        shown.rows.append(cells.join(u'|'));
    }
    return shown;
}

// The preview: once the file is read, chooses as a user would (choose), then
// presses "Ekle" or "İptal"; what it showed before is kept in shown.
void answerPreview(QObject* parent, bool add, Shown* shown = nullptr,
                   std::function<void(FormImport*)> choose = {}) {
    whenModal<FormImport>(parent, [=](FormImport* preview) {
        QTRY_VERIFY(preview->finishedReading());
        if (shown)
            *shown = shownBy(*preview);
        if (choose)
            choose(preview);
        QTRY_VERIFY(preview->finishedReading());
        QTest::mouseClick(add ? preview->CmdEkle : preview->CmdIptal, Qt::LeftButton);
    });
}

void chooseFile(QObject* parent, const QString& path) {
    // Typed into the name field, as a user does: selectFile() leaves that
    // field alone while it has the keyboard.
    whenModal<QFileDialog>(parent, [path](QFileDialog* dialog) {
        const QFileInfo file(path);
        dialog->setDirectory(file.absolutePath());
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        name->setText(file.fileName());
        QMetaObject::invokeMethod(dialog, "accept");
    });
}
} // namespace

class TestWordsInOut : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void droppedFileIsPreviewedAndAdded();
    void choicesReadAgainAndTheImportIsTakenBack();
    void menuImportCancelledAddsNothing();
    void garbageIsRefused();
    void largeFileFillsTheActiveList();
    void shutDownClosesAPreviewStillReading();
    void exportWritesWhatImportReads_data();
    void exportWritesWhatImportReads();
    void turkishMatching_data();
    void turkishMatching();
    void typingFiltersTheListAndEscBringsItBack();
    void listFollowsEveryChange();

private:
    FormVokabo& start(const QByteArray& words);
    QString path(const QString& name) const { return QDir(program->dir()).filePath(name); }
    WordListPanel& panel() { return *part<WordListPanel>(*form, QStringLiteral("WordListPanel")); }
    QString strip() { return part<QLabel>(*form, QStringLiteral("LabelTur"))->text(); }
    QAction* menuItem(const QString& name) { return part<QAction>(*form, name); }
    const WordList& active() { return program->words().words(WordListKind::Active); }

    std::unique_ptr<FreshProgram> program;
    std::unique_ptr<FormVokabo> form;
};

void TestWordsInOut::init() {
    program = std::make_unique<FreshProgram>();
}

void TestWordsInOut::cleanup() {
    if (form)
        form->Form_Unload();
    form.reset();
    program.reset();
}

FormVokabo& TestWordsInOut::start(const QByteArray& words) {
    program->writeWordFile(words);
    form = std::make_unique<FormVokabo>(QString(), program->settings(), program->words(),
                                        program->history(), program->speech(),
                                        std::make_unique<NoTray>());
    if (!form->Form_Load())
        qFatal("the main window did not start");
    form->show();
    return *form;
}

void TestWordsInOut::droppedFileIsPreviewedAndAdded() {
    start("house|ev||4|A\r\ncat|kedi||0|P\r\n");
    const QString csv = path(QStringLiteral("ders.csv"));
    writeFile(csv, "dog;köpek;The dog barks.\nhouse;ev\ncat;kedi\ndog;köpek\nlonely\n"
                   "ışık;light\n");

    Shown shown;
    answerPreview(form.get(), true, &shown);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(csv)});
    QDragEnterEvent enter(QPoint(50, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(50, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.get(), &drop);
    QVERIFY(drop.isAccepted());
    QTRY_VERIFY(active().size() == 3);

    for (const char* told :
         {"Eklenecek yeni vokabo: 2", "Listelerde zaten olduğu için eklenmeyecek: 2",
          "Dosyada tekrarlandığı için eklenmeyecek: 1", "Okunamayan satır: 1"})
        QVERIFY2(shown.summary.contains(QString::fromUtf8(told)), qPrintable(shown.summary));
    QCOMPARE(shown.problems, QStringList{"Satır 5: Karşılığı yok: satırda tek sütun var."});
    // The table shows the words as the file has them.
    QCOMPARE(shown.rows, (QStringList{"dog|köpek|The dog barks.", "house|ev|", "cat|kedi|",
                                      "dog|köpek|", "ışık|light|"}));
    QCOMPARE(active(), (WordList{{"house", "ev", "", 4},
                                 {"dog", "köpek", "The dog barks.", 0},
                                 {"ışık", "light", "", 0}}));
    QCOMPARE(panel().lineCount(), 3);
    QVERIFY(lineTexts(panel()).contains(u"ışık || light"_qs));
    QVERIFY(program->words().WordsChanged());

    // And they are in the word file at exit.
    QVERIFY(form->Form_Unload());
    const QString file = QStringDecoder("windows-1254")(program->readWordFile());
    QVERIFY2(file.endsWith(u"dog|köpek|The dog barks.|0|A\r\nışık|light||0|A\r\ncat|kedi||0|P\r\n"),
             qPrintable(file));
}

void TestWordsInOut::choicesReadAgainAndTheImportIsTakenBack() {
    start("house|ev||4|A\r\n");
    QAction* undo = menuItem(QStringLiteral("mnu_GeriAl"));
    QVERIFY(!undo->isEnabled());

    // A stray byte spoils its line; read as Windows-1254 by hand, it is a word.
    const QString csv = path(QStringLiteral("ders.csv"));
    writeFile(csv, "tree;ağaç\nbroken;bozuk \xFE\nsugar;şeker\n");
    Shown before;
    Shown after;
    answerPreview(form.get(), false, &before, [&after](FormImport* preview) {
        auto* encoding = part<QComboBox>(*preview, QStringLiteral("ComboKodlama"));
        QCOMPARE(encoding->currentText(), QStringLiteral("UTF-8"));
        QTest::keyClick(encoding, Qt::Key_Down);
        QTRY_VERIFY(preview->finishedReading());
        after = shownBy(*preview);
    });
    form->importFiles({csv});
    QCOMPARE(before.rows, (QStringList{"tree|ağaç|", "sugar|şeker|"}));
    QVERIFY2(before.problems.constFirst().startsWith(u"Satır 2: Satır UTF-8 olarak okunamadı"),
             qPrintable(before.problems.join(u'\n')));
    QCOMPARE(after.rows, (QStringList{"tree|aÄŸaÃ§|", "broken|bozuk ş|", "sugar|ÅŸeker|"}));

    // The program's own export: counts and lists kept, unless the box is cleared.
    const QString backup = path(QStringLiteral("yedek.csv"));
    writeFile(backup, "Vokabo;Karşılığı;Örnek Cümle;Doğru;Liste\r\nold;eski;;9;P\r\n"
                      "new;yeni;;3;A\r\n");
    answerPreview(form.get(), true, &before);
    form->importFiles({backup});
    QVERIFY(before.rows.contains(u"old|eski||9|Pasif"_qs));
    QCOMPARE(program->words().words(WordListKind::Passive), (WordList{{"old", "eski", "", 9}}));
    QCOMPARE(active().constLast(), (WordDef{"new", "yeni", "", 3}));
    // Taken back from both lists, once; a word changed since ends the offer.
    QVERIFY(undo->isEnabled());
    undo->trigger();
    QCOMPARE(active(), (WordList{{"house", "ev", "", 4}}));
    QVERIFY(program->words().words(WordListKind::Passive).isEmpty());
    QVERIFY(!undo->isEnabled());
    answerPreview(form.get(), true, nullptr, [](FormImport* preview) {
        QTest::mouseClick(part<QCheckBox>(*preview, QStringLiteral("CheckSayilar")),
                          Qt::LeftButton);
    });
    form->importFiles({backup});
    QCOMPARE(active(),
             (WordList{{"house", "ev", "", 4}, {"old", "eski", "", 0}, {"new", "yeni", "", 0}}));
    program->words().SetWordDogru(WordListKind::Active, 1, 1);
    QVERIFY(!undo->isEnabled());
    QCOMPARE(active().size(), 3);
}

void TestWordsInOut::menuImportCancelledAddsNothing() {
    start("house|ev||4|A\r\n");
    const QString csv = path(QStringLiteral("ders.csv"));
    writeFile(csv, "dog;köpek\n");
    chooseFile(form.get(), csv);
    answerPreview(form.get(), false);
    menuItem(QStringLiteral("mnu_DosyadanEkle"))->trigger();
    QCOMPARE(active().size(), 1);
    QVERIFY(!program->words().WordsChanged());
    QVERIFY(!QApplication::activeModalWidget());
}

void TestWordsInOut::garbageIsRefused() {
    start("house|ev||4|A\r\n");
    const QString big = path(QStringLiteral("çöp.csv"));
    {
        QFile file(big);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(50 * 1024 * 1024));
    }
    QString shown;
    whenModal<FormImport>(form.get(), [&shown](FormImport* preview) {
        QTRY_VERIFY(preview->finishedReading());
        shown = shownBy(*preview).summary;
        // Nothing to add: "Ekle" cannot be pressed.
        QVERIFY(!preview->CmdEkle->isEnabled());
        preview->reject();
    });
    form->importFiles({big});
    QVERIFY2(shown.contains(u"Dosya çok büyük (50,0 MB)"), qPrintable(shown));
    QVERIFY(shown.contains(u"hiçbir vokabo eklenmedi"));
    QCOMPARE(active().size(), 1);
}

void TestWordsInOut::largeFileFillsTheActiveList() {
    start("house|ev||4|A\r\n");
    const QString big = path(QStringLiteral("big.txt"));
    QByteArray bytes;
    for (int i = 0; i < 40000; ++i)
        bytes += "word" + QByteArray::number(i) + "\tanlam\r\n";
    writeFile(big, bytes);
    Shown shown;
    answerPreview(form.get(), true, &shown);
    form->importFiles({big});
    // Up to the most a list holds; the list is filled once, not per word.
    QVERIFY2(shown.summary.contains(u"Eklenecek yeni vokabo: 32.766"), qPrintable(shown.summary));
    QVERIFY2(shown.summary.contains(u"Aktif listede yer kalmadığı için eklenmeyecek: 7.234"),
             qPrintable(shown.summary));
    // The table shows the first of them only.
    QCOMPARE(shown.rows.size(), 200);
    QCOMPARE(active().size(), WordImport::MaxListSize);
    QCOMPARE(panel().lineCount(), WordImport::MaxListSize);
    QCOMPARE(strip(), QStringLiteral("Aktif Vokaboleriniz (32767)"));
}

void TestWordsInOut::shutDownClosesAPreviewStillReading() {
    start("house|ev||4|A\r\n");
    const QString big = path(QStringLiteral("big.txt"));
    QByteArray bytes;
    for (int i = 0; i < 100000; ++i)
        bytes += "word" + QByteArray::number(i) + "\tanlam\r\n";
    writeFile(big, bytes);
    whenModal<FormImport>(form.get(), [this](FormImport*) { form->requestShutdown(); });
    form->importFiles({big, big});
    QTRY_VERIFY(form->hasEnded());
    QCOMPARE(active().size(), 1);
}

void TestWordsInOut::exportWritesWhatImportReads_data() {
    QTest::addColumn<QString>("shownList");
    QTest::addColumn<MsgBoxResult>("both");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QStringList>("written");
    QTest::addColumn<QString>("formatName");
    QTest::newRow("both lists, csv")
        << "A" << MsgBoxResult::Yes << "out.csv"
        << QStringList{"a;\"b;c\"|x y|3|A", "#x|\"ş\"|0|A", "old|eski|9|P"}
        << "CSV, noktalı virgülle ayrılmış";
    QTest::newRow("the passive list, tab-separated")
        << "P" << MsgBoxResult::No << "out.txt" << QStringList{"old|eski|9|P"}
        << "sekmeyle ayrılmış metin";
    QTest::newRow("KVTML, without counts and lists")
        << "A" << MsgBoxResult::Yes << "out.kvtml"
        << QStringList{"a;\"b;c\"|x y|0|A", "#x|\"ş\"|0|A", "old|eski|0|A"} << "KVTML 2";
}

void TestWordsInOut::exportWritesWhatImportReads() {
    QFETCH(QString, shownList);
    QFETCH(MsgBoxResult, both);
    QFETCH(QString, fileName);
    QFETCH(QStringList, written);
    start("a;\"b;c\"|x y|ex|3|A\r\n#x|\"ş\"||0|A\r\nold|eski||9|P\r\n");
    panel().FillWordList(shownList == u"A" ? WordListKind::Active : WordListKind::Passive);
    ScriptedMsgBox box;
    box.answer({both});
    chooseFile(form.get(), path(fileName));
    menuItem(QStringLiteral("mnu_DisaAktar"))->trigger();
    QCOMPARE(box.asked().size(), 1);

    const WordImport::Result back = WordImport::readFile(path(fileName));
    QStringList read;
    for (const WordImport::Entry& e : back.entries)
        read.append(QStringLiteral("%1|%2|%3|%4")
                        .arg(e.word.English, e.word.Turkish)
                        .arg(e.word.Dogru)
                        .arg(QChar(e.passive ? u'P' : u'A')));
    QCOMPARE(read, written);
    QTEST(back.formatName, "formatName");
}

void TestWordsInOut::turkishMatching_data() {
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("meaning");
    QTest::addColumn<bool>("found");
    const std::tuple<const char*, const char*, const char*, const char*, bool> rows[] = {
        {"I finds ı", "IŞIK", "light", "ışık", true},
        {"ı finds I", "ış", "light", "IŞIK", true},
        {"i finds İ", "ist", "Istanbul", "İstanbul", true},
        {"İ finds i", "İĞNE", "needle", "iğne", true},
        {"i does not find ı in Turkish", "il", "warm", "ılık", false},
        {"ı does not find i in Turkish", "ıl", "marrow", "ilik", false},
        {"the foreign word: i finds I", "it", "It", "o", true},
        {"other letters by case", "ÇÖĞÜŞ", "x", "çöğüş", true},
        {"not across the two", "x y", "x", "y", false},
        {"not in another word", "zz", "abc", "def", false}};
    for (const auto& [name, query, word, meaning, found] : rows)
        QTest::newRow(name) << QString::fromUtf8(query) << QString::fromUtf8(word)
                            << QString::fromUtf8(meaning) << found;
}

void TestWordsInOut::turkishMatching() {
    QFETCH(QString, query);
    QFETCH(QString, word);
    QFETCH(QString, meaning);
    WordFilter::Index index;
    index.add(u"before", u"önce");
    index.add(word, meaning);
    index.add(u"after", u"sonra");
    QTEST(index.find(query) == std::vector<int>{1}, "found");
}

void TestWordsInOut::typingFiltersTheListAndEscBringsItBack() {
    start("light|ışık||0|A\r\nIstanbul|İstanbul||0|A\r\nwarm|ılık||0|A\r\nmarrow|ilik||0|A\r\n"
          "apple|elma||0|A\r\n");
    WordListPanel& list = panel();
    auto* List1 = part<QListView>(*form, QStringLiteral("List1"));
    auto* field = part<QLineEdit>(*form, QStringLiteral("TextAra"));
    QApplication::setActiveWindow(form.get());
    List1->setFocus();
    list.setCurrentLine(static_cast<int>(lineTexts(list).indexOf(u"marrow || ilik"_qs)));

    // Typing in the list searches; the current word stays current.
    QTest::keyClicks(List1, QStringLiteral("ik"));
    QVERIFY(field->isVisible());
    QCOMPARE(field->text(), QStringLiteral("ik"));
    QCOMPARE(lineTexts(list), QStringList{"marrow || ilik"});
    QCOMPARE(list.lineText(list.currentLine()), QStringLiteral("marrow || ilik"));
    QCOMPARE(strip().trimmed(), QStringLiteral("1 / 5"));

    // "IK" is "ık" to a Turkish reader; the arrows move in what is found.
    field->setText(QStringLiteral("IK"));
    QCOMPARE(lineTexts(list), (QStringList{"light || ışık", "warm || ılık"}));
    QCOMPARE(strip().trimmed(), QStringLiteral("2 / 5"));
    QCOMPARE(list.currentLine(), 0);
    QTest::keyClick(field, Qt::Key_Down);
    QCOMPARE(list.lineText(list.currentLine()), QStringLiteral("warm || ılık"));

    // Esc ends the search only: the window stays, the same line is current.
    QTest::keyClick(field, Qt::Key_Escape);
    QVERIFY(!field->isVisible());
    QVERIFY(form->isVisible());
    QCOMPARE(list.lineCount(), 5);
    QCOMPARE(list.lineText(list.currentLine()), QStringLiteral("warm || ılık"));
    QCOMPARE(strip(), QStringLiteral("Aktif Vokaboleriniz (5)"));

    // Ctrl+F opens it empty; a deletion meanwhile keeps the search.
    QTest::keyClick(List1, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(field->isVisible());
    QCOMPARE(list.lineCount(), 5);
    QTest::keyClicks(field, QStringLiteral("LI"));
    QCOMPARE(lineTexts(list), (QStringList{"light || ışık", "warm || ılık"}));
    QCOMPARE(list.lineText(list.currentLine()), QStringLiteral("warm || ılık"));
    list.changeCurrentWord(
        [this, &list](int record) { program->words().DeleteWord(list.shownList(), record); });
    QCOMPARE(lineTexts(list), QStringList{"light || ışık"});
    QCOMPARE(strip().trimmed(), QStringLiteral("1 / 4"));
}

// Each change of the words reaches the shown list as the lines a fresh fill
// would show, each with its own word, whether a search is open or not.
void TestWordsInOut::listFollowsEveryChange() {
    const QLocale locale;
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
    const auto back = qScopeGuard([&locale] { QLocale::setDefault(locale); });
    const WordList imported{word("Ilık", "x"), word("iğne", "needle"), word("dal", "branch")};
    for (const QString& search : {u""_qs, u"ı"_qs}) {
        WordStore& store = program->words();
        program->loadWords({word("dal", "branch"), word("Çay", "tea"), word("cam", "glass"),
                            word("Banana", "muz"), word("ılık", "warm"), word("izmir", "city"),
                            word("Hat", "line")});
        WordListPanel shown(store);
        // Says when the list's rows move other than the signals tell.
        QAbstractItemModelTester rows(part<QListView>(shown, u"List1"_qs)->model(),
                                      QAbstractItemModelTester::FailureReportingMode::QtTest);
        shown.FillWordList(WordListKind::Active);
        if (search.isEmpty())
            QCOMPARE(lineTexts(shown),
                     (QStringList{"Banana || muz", "cam || glass", "Çay || tea", "dal || branch",
                                  "Hat || line", "ılık || warm", "izmir || city"}));
        else
            shown.openFilter(search);
        const std::function<void()> changes[] = {
            [&] { store.AppendWord(word("çorba", "soup"), WordListKind::Active); },
            [&] { store.UpdateWord(WordListKind::Active, 3, "zıl", "bell", {}); },
            [&] { store.UpdateWord(WordListKind::Active, 4, "lik", "warm", {}); },
            [&] { store.DeleteWord(WordListKind::Active, 1); },
            [&] { store.AppendWords(imported, WordListKind::Active); },
            [&] { store.RemoveAppendedWords(imported, WordListKind::Active); },
            [&] { store.ToggleWord(WordListKind::Active, 0); },
        };
        for (const auto& change : changes) {
            change();
            WordListPanel fresh(store);
            fresh.FillWordList(WordListKind::Active);
            if (!search.isEmpty())
                fresh.openFilter(search);
            QCOMPARE(linesAndWords(shown, store), linesAndWords(fresh, store));
            QCOMPARE(shown.totalLineCount(), store.words(WordListKind::Active).size());
        }
    }
}

QTEST_MAIN(TestWordsInOut)
#include "tst_wordsinout.moc"
