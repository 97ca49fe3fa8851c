#include "support/TestSupport.h"
#include "words/FormYeni.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace ModVokabo;

class TestFormYeni : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void checksStopAtTheFirstFailure_data();
    void checksStopAtTheFirstFailure();
    void addAlwaysAppendsToTheActiveList();
    void editKeepsListIndexAndCount();
    void escAndCancelStoreNothingAndResetEditMode();
    void editWithoutALineTakesANewWord();
    void lineBreaksBecomeBlanks();

private:
    void fillShownList();
    std::unique_ptr<FreshProgram> program;
    std::unique_ptr<RecordingListView> view;
    std::unique_ptr<QListWidget> list;
};

void TestFormYeni::init() {
    program = std::make_unique<FreshProgram>();
    view = std::make_unique<RecordingListView>();
    list = std::make_unique<QListWidget>();
    setWordListView(view.get());
    FormYeni::Duzenleme = false;
    AppendWord("run", "koşmak", "I run.", 3, "A");
    AppendWord("go", "gitmek", "", 2, "A");
    AppendWord("old", "eski", "", 9, "P");
    AppendWord("kept", "saklı", "", 7, "P");
}

void TestFormYeni::cleanup() {
    list.reset();
    view.reset();
    program.reset();
}

// The main list as the main window shows it: one line per record of the
// shown list, in reverse so that line and record positions differ.
void TestFormYeni::fillShownList() {
    list->clear();
    const WordList& words = listFor(ShownList);
    for (int i = static_cast<int>(words.size()); i >= 1; --i) {
        auto* item = new QListWidgetItem(words[i - 1].English, list.get());
        item->setData(Qt::UserRole, i);
    }
}

void TestFormYeni::checksStopAtTheFirstFailure_data() {
    QTest::addColumn<QString>("english");
    QTest::addColumn<QString>("turkish");
    QTest::addColumn<QString>("ornek");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("focus"); // 0 word, 1 meaning, 2 example

    QTest::newRow("empty word, bar in meaning") << ""
                                                << "a|b"
                                                << ""
                                                << "Eksik bilgi !" << 0;
    QTest::newRow("empty meaning") << "w"
                                   << ""
                                   << "x|y"
                                   << "Eksik bilgi !" << 1;
    QTest::newRow("bar in word") << "a|b"
                                 << "c|d"
                                 << ""
                                 << "Vokabo içinde | (pipe) karakteri kullanmayın !" << 0;
    QTest::newRow("bar in meaning")
        << "w"
        << "c|d"
        << "e|f"
        << "Vokabo karşılığı içinde | (pipe) karakteri kullanmayın !" << 1;
    QTest::newRow("bar in example") << "w"
                                    << "m"
                                    << "e|f"
                                    << "Örnek cümle içinde | (pipe) karakteri kullanmayın !" << 2;
}

void TestFormYeni::checksStopAtTheFirstFailure() {
    QFETCH(QString, english);
    QFETCH(QString, turkish);
    QFETCH(QString, ornek);
    ScriptedMsgBox box;
    FormYeni dialog(list->model(), nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    dialog.TextEnglish->setText(english);
    dialog.TextTurkish->setText(turkish);
    dialog.TextOrnek->setText(ornek);
    QTest::mouseClick(dialog.CmdEkle, Qt::LeftButton);
    QCOMPARE(box.asked().size(), 1);
    QTEST(box.asked()[0].prompt, "message");
    QCOMPARE(box.asked()[0].title, QStringLiteral("Yeni Vokabo"));
    QCOMPARE(box.asked()[0].style, MsgBoxStyle::OkOnly | MsgBoxStyle::Exclamation);
    QLineEdit* boxes[] = {dialog.TextEnglish, dialog.TextTurkish, dialog.TextOrnek};
    QFETCH(int, focus);
    QCOMPARE(QApplication::focusWidget(), boxes[focus]);
    QVERIFY(dialog.isVisible());
    QCOMPARE(ActiveWords.size(), 2);
    QVERIFY(!WordsChanged);
}

void TestFormYeni::addAlwaysAppendsToTheActiveList() {
    for (const char* shown : {"A", "P"}) {
        ShownList = QString::fromLatin1(shown);
        view->fills = 0;
        FormYeni dialog(list->model(), nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Yeni Vokabo"));
        QCOMPARE(dialog.CmdEkle->text(), QStringLiteral("Ekle"));
        dialog.TextEnglish->setText(QStringLiteral(" çiçek "));
        dialog.TextTurkish->setText(QStringLiteral("flower"));
        QTest::keyClick(dialog.TextTurkish, Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(ActiveWords.last(), word(" çiçek ", "flower", "", 0));
        QVERIFY(WordsChanged);
        // The shown list is refilled only when it is the active one.
        QCOMPARE(view->fills, ShownList == u"A" ? 1 : 0);
    }
    QCOMPARE(ActiveWords.size(), 4);
    QCOMPARE(PassiveWords.size(), 2);
}

void TestFormYeni::editKeepsListIndexAndCount() {
    ShownList = "P";
    fillShownList(); // line 0 holds record 2, "kept"
    FormYeni::Duzenleme = true;
    FormYeni::Index = 0;
    FormYeni dialog(list->model(), nullptr);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Vokabo Düzelt"));
    QCOMPARE(dialog.CmdEkle->text(), QStringLiteral("Sakla"));
    QCOMPARE(dialog.TextEnglish->text(), QStringLiteral("kept"));
    QCOMPARE(dialog.TextTurkish->text(), QStringLiteral("saklı"));
    dialog.TextTurkish->setText(QStringLiteral("korunan"));
    dialog.CmdEkle_Click();
    QCOMPARE(PassiveWords[1], word("kept", "korunan", "", 7));
    QCOMPARE(PassiveWords[0], word("old", "eski", "", 9));
    QCOMPARE(ActiveWords.size(), 2);
    QCOMPARE(view->caption, QStringLiteral("Pasif Vokaboleriniz (2)"));
    QVERIFY(WordsChanged);
    QVERIFY(!FormYeni::Duzenleme);
}

void TestFormYeni::escAndCancelStoreNothingAndResetEditMode() {
    ShownList = "A";
    fillShownList();
    FormYeni::Duzenleme = true;
    FormYeni::Index = 1;
    {
        FormYeni dialog(list->model(), nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.TextEnglish->setText(QStringLiteral("changed"));
        QTest::keyClick(dialog.TextEnglish, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
    }
    QCOMPARE(ActiveWords[0].English, QStringLiteral("run"));
    QVERIFY(!WordsChanged);
    QVERIFY(!FormYeni::Duzenleme);

    FormYeni again(list->model(), nullptr);
    QCOMPARE(again.windowTitle(), QStringLiteral("Yeni Vokabo"));
    QVERIFY(again.TextEnglish->text().isEmpty());
    again.TextEnglish->setText(QStringLiteral("x"));
    again.TextTurkish->setText(QStringLiteral("y"));
    QTest::mouseClick(again.CmdIptal, Qt::LeftButton);
    QCOMPARE(ActiveWords.size(), 2);
    QVERIFY(!WordsChanged);
}

void TestFormYeni::editWithoutALineTakesANewWord() {
    ShownList = "A";
    fillShownList();
    FormYeni::Duzenleme = true;
    FormYeni::Index = -1;
    FormYeni dialog(list->model(), nullptr);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Yeni Vokabo"));
    QVERIFY(dialog.TextEnglish->text().isEmpty());
    dialog.TextEnglish->setText(QStringLiteral("new"));
    dialog.TextTurkish->setText(QStringLiteral("yeni"));
    dialog.CmdEkle_Click();
    QCOMPARE(ActiveWords.size(), 3);
    QCOMPARE(ActiveWords[0].English, QStringLiteral("run"));
}

void TestFormYeni::lineBreaksBecomeBlanks() {
    FormYeni dialog(list->model(), nullptr);
    // Pasted text from a web page, and text typed around a pasted break.
    QGuiApplication::clipboard()->setText(QStringLiteral("flower\r\nbloom\n"));
    for (QLineEdit* box : {dialog.TextEnglish, dialog.TextTurkish, dialog.TextOrnek}) {
        box->setFocus();
        box->paste();
        QCOMPARE(box->text(), QStringLiteral("flower bloom "));
    }
    dialog.TextOrnek->clear();
    QTest::keyClicks(dialog.TextOrnek, QStringLiteral("a"));
    dialog.TextOrnek->insert(QStringLiteral("\rb\r\n"));
    QTest::keyClicks(dialog.TextOrnek, QStringLiteral("c"));
    QCOMPARE(dialog.TextOrnek->text(), QStringLiteral("a b c"));
    // Set from outside the keyboard: the stored word is one line all the same.
    dialog.TextTurkish->setText(QStringLiteral("çiçek\naçmak"));
    dialog.CmdEkle_Click();
    const WordDef added = word("flower bloom ", "çiçek açmak", "a b c", 0);
    QCOMPARE(ActiveWords.last(), added);

    // The word file keeps it whole.
    QVERIFY(SaveWordFile().ok);
    const WordList saved = ActiveWords;
    ActiveWords.clear();
    PassiveWords.clear();
    QVERIFY(LoadWordFile().ok);
    QCOMPARE(ActiveWords, saved);
}

QTEST_MAIN(TestFormYeni)
#include "tst_formyeni.moc"
