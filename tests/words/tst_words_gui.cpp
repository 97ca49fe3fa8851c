#include "platform/Clock.h"
#include "support/OnScreen.h"
#include "support/TestSupport.h"
#include "words/FormProgress.h"
#include "words/FormYeni.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace ModVokabo;

class TestWordsGui : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void checksStopAtTheFirstFailure_data();
    void checksStopAtTheFirstFailure();
    void speakerReadsTheWord();
    void editKeepsListIndexAndCount();
    void escAndCancelStoreNothing();
    void lineBreaksBecomeBlanks();

    void barWidth_data();
    void barWidth();
    void progressShowsOnlyWhenWorkGoesOn();

private:
    WordStore& store() { return program->words(); }
    const WordList& active() { return store().words(WordListKind::Active); }
    const WordList& passive() { return store().words(WordListKind::Passive); }
    static QLineEdit* edit(const FormYeni& dialog, const char* name) {
        return part<QLineEdit>(dialog, QString::fromLatin1(name));
    }
    static QPushButton* button(const FormYeni& dialog, const char* name) {
        return part<QPushButton>(dialog, QString::fromLatin1(name));
    }

    std::optional<FreshProgram> program;
};

void TestWordsGui::cleanup() {
    setClock(nullptr);
    program.reset();
}

void TestWordsGui::init() {
    program.emplace();
    program->loadWords({word("run", "koşmak", "I run.", 3), word("go", "gitmek", "", 2)},
                       {word("old", "eski", "", 9), word("kept", "saklı", "", 7)});
}

void TestWordsGui::checksStopAtTheFirstFailure_data() {
    QTest::addColumn<QStringList>("texts"); // word, meaning, example
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("focus");
    const QString missing = QStringLiteral("Eksik bilgi !");
    const QString bar = QStringLiteral(" içinde | (pipe) karakteri kullanmayın !");
    // Each row fails one check and as many later ones as can fail with it.
    QTest::newRow("empty word and meaning") << QStringList{"", "", "e|f"} << missing << 0;
    QTest::newRow("empty word, bars after") << QStringList{"", "c|d", "e|f"} << missing << 0;
    QTest::newRow("empty meaning") << QStringList{"a|b", "", "e|f"} << missing << 1;
    QTest::newRow("bar in word") << QStringList{"a|b", "c|d", "e|f"} << "Vokabo" + bar << 0;
    QTest::newRow("bar in meaning")
        << QStringList{"w", "c|d", "e|f"} << "Vokabo karşılığı" + bar << 1;
    QTest::newRow("bar in example") << QStringList{"w", "m", "e|f"} << "Örnek cümle" + bar << 2;
}

void TestWordsGui::checksStopAtTheFirstFailure() {
    QFETCH(QStringList, texts);
    QFETCH(int, focus);
    ScriptedMsgBox box;
    FormYeni dialog(store(), std::nullopt, program->speech(), QLocale::English, nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QLineEdit* boxes[] = {edit(dialog, "TextEnglish"), edit(dialog, "TextTurkish"),
                          edit(dialog, "TextOrnek")};
    for (int i = 0; i < 3; ++i)
        boxes[i]->setText(texts[i]);
    QTest::mouseClick(button(dialog, "CmdEkle"), Qt::LeftButton);
    QCOMPARE(box.asked().size(), 1);
    QTEST(box.asked()[0].prompt, "message");
    QCOMPARE(QApplication::focusWidget(), boxes[focus]);
    QVERIFY(dialog.isVisible());
    QCOMPARE(active().size(), 2);
    QVERIFY(!store().WordsChanged());
}

// The speaker ends the word's row and reads what is typed there in the
// words' language, once the speech service is ready; until then it says why
// it cannot.
void TestWordsGui::speakerReadsTheWord() {
    FormYeni dialog(store(), std::nullopt, program->speech(), QLocale::German, nullptr);
    auto* speaker = dialog.findChild<QToolButton*>("CmdSeslendir");
    QVERIFY(!speaker->isEnabled());
    QCOMPARE(speaker->toolTip(), QStringLiteral("Konuşma hizmeti bulunamadı"));
    QCOMPARE_LT(edit(dialog, "TextEnglish")->geometry().right(), speaker->x());
    QCOMPARE_LE(speaker->geometry().right(), edit(dialog, "TextTurkish")->geometry().right());
    program->speech().becomes(Speech::State::Ready, {QLocale::German});
    edit(dialog, "TextEnglish")->setText(QStringLiteral("Straße"));
    QTest::mouseClick(speaker, Qt::LeftButton);
    QCOMPARE(program->speech().said,
             (QList<RecordingSpeech::Said>{{QStringLiteral("Straße"), QLocale::German}}));
}

void TestWordsGui::editKeepsListIndexAndCount() {
    for (const WordListKind list : {WordListKind::Passive, WordListKind::Active}) {
        FormYeni dialog(store(), FormYeni::Edited{list, 1}, program->speech(), QLocale::English,
                        nullptr);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Vokabo Düzelt"));
        QCOMPARE(button(dialog, "CmdEkle")->text(), QStringLiteral("Sakla"));
        QCOMPARE(layoutFaults(dialog, {"Label1", "TextEnglish", "CmdSeslendir", "Label2",
                                       "TextTurkish", "Label3", "TextOrnek", "CmdEkle", "CmdIptal"})
                     .join('\n'),
                 QString());
        QCOMPARE(edit(dialog, "TextEnglish")->text(), store().words(list)[1].English);
        edit(dialog, "TextTurkish")->setText(edit(dialog, "TextTurkish")->text() + " 2");
        dialog.CmdEkle_Click();
    }
    QCOMPARE(active(),
             (WordList{word("run", "koşmak", "I run.", 3), word("go", "gitmek 2", "", 2)}));
    QCOMPARE(passive(), (WordList{word("old", "eski", "", 9), word("kept", "saklı 2", "", 7)}));
    QVERIFY(store().WordsChanged());
}

void TestWordsGui::escAndCancelStoreNothing() {
    FormYeni dialog(store(), FormYeni::Edited{WordListKind::Active, 0}, program->speech(),
                    QLocale::English, nullptr);
    dialog.show();
    edit(dialog, "TextEnglish")->setText(QStringLiteral("changed"));
    QTest::keyClick(edit(dialog, "TextEnglish"), Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
    FormYeni again(store(), std::nullopt, program->speech(), QLocale::English, nullptr);
    QVERIFY(edit(again, "TextEnglish")->text().isEmpty());
    edit(again, "TextEnglish")->setText(QStringLiteral("x"));
    edit(again, "TextTurkish")->setText(QStringLiteral("y"));
    QTest::mouseClick(button(again, "CmdIptal"), Qt::LeftButton);
    QCOMPARE(active().size(), 2);
    QCOMPARE(active()[0].English, QStringLiteral("run"));
    QVERIFY(!store().WordsChanged());
}

void TestWordsGui::lineBreaksBecomeBlanks() {
    FormYeni dialog(store(), std::nullopt, program->speech(), QLocale::English, nullptr);
    // Pasted text from a web page, and text typed around a pasted break.
    QGuiApplication::clipboard()->setText(QStringLiteral("flower\r\nbloom\n"));
    for (const char* name : {"TextEnglish", "TextTurkish", "TextOrnek"}) {
        edit(dialog, name)->paste();
        QCOMPARE(edit(dialog, name)->text(), QStringLiteral("flower bloom "));
    }
    edit(dialog, "TextOrnek")->setText(QStringLiteral("ac"));
    edit(dialog, "TextOrnek")->setCursorPosition(1);
    edit(dialog, "TextOrnek")->insert(QStringLiteral("\rb\r\n"));
    QTest::keyClicks(edit(dialog, "TextOrnek"), QStringLiteral("x"));
    QCOMPARE(edit(dialog, "TextOrnek")->text(), QStringLiteral("a b xc"));
    // Text that reaches a box past its check is one line all the same.
    edit(dialog, "TextTurkish")->setValidator(nullptr);
    edit(dialog, "TextTurkish")->setText(QStringLiteral("çiçek\naçmak"));
    dialog.CmdEkle_Click();
    QCOMPARE(active().last(), word("flower bloom ", "çiçek açmak", "a b xc"));
    QVERIFY(store().SaveWordFile().ok);
    const WordList saved = active();
    QVERIFY(store().LoadWordFile().ok);
    QCOMPARE(active(), saved);
}

void TestWordsGui::barWidth_data() {
    QTest::addColumn<qint64>("deger");
    QTest::addColumn<qint64>("max");
    QTest::addColumn<int>("width");
    QTest::newRow("below one is empty") << qint64(0) << qint64(50) << 0;
    QTest::newRow("half") << qint64(25) << qint64(50) << 100;
    QTest::newRow("full") << qint64(50) << qint64(50) << 200;
    QTest::newRow("beyond full stays full") << qint64(80) << qint64(50) << 200;
    QTest::newRow("wide values") << qint64(3000000000) << qint64(6000000000) << 100;
}

void TestWordsGui::barWidth() {
    QFETCH(qint64, deger);
    QFETCH(qint64, max);
    QFETCH(int, width);
    QCOMPARE(FormProgress::filledWidth(deger, max, 200), width);
}

void TestWordsGui::progressShowsOnlyWhenWorkGoesOn() {
    FormProgress progress;
    progress.follow(store());
    program->writeWordFile(QByteArray("w|t|o|0|A\r\n").repeated(5000));
    store().LoadWordFile();
    // Done within a moment: no window flashed by.
    QVERIFY(!progress.isVisible());

    // Work that goes on in the background puts the window up after a while;
    // it follows the work and goes with its end.
    QSignalSpy loaded(&store(), &WordStore::loaded);
    store().loadInBackground();
    auto* showTimer = progress.findChild<QTimer*>(QStringLiteral("ShowTimer"));
    QVERIFY(showTimer->isActive() && !progress.isVisible());
    showTimer->stop();
    QMetaObject::invokeMethod(showTimer, "timeout");
    QVERIFY(progress.isVisible());
    QVERIFY(loaded.wait());
    QVERIFY(loaded[0][0].value<FileOutcome>().ok);
    QVERIFY(!progress.isVisible() && !showTimer->isActive());
    QVERIFY(progress.filled() > 0);
    QCOMPARE(active().size(), 5000);
}

QTEST_MAIN(TestWordsGui)
#include "tst_words_gui.moc"
