#include "app/BarButton.h"
#include "app/FormVokabo.h"
#include "controls/ClickLabel.h"
#include "support/TestSupport.h"
#include "words/FormYeni.h"

#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMap>
#include <QPointer>
#include <QTest>
#include <QTimer>

using namespace ModVokabo;

// Catches the web pages the program would open in the browser.
class PageCatcher : public QObject {
    Q_OBJECT
public:
    PageCatcher() { QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "open"); }
    ~PageCatcher() override { QDesktopServices::unsetUrlHandler(QStringLiteral("https")); }
    QStringList opened;

public slots:
    void open(const QUrl& url) { opened.append(url.toString()); }
};

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void layoutFollowsTheWindow_data();
    void layoutFollowsTheWindow();
    void tabsSwitchTheList();
    void currentLineAfterAChange_data();
    void currentLineAfterAChange();
    void sameTextsKeepTheirOwnRecords();
    void deleteKeyActsOnReleaseInTheListOnly();
    void doubleClickEditsTheCurrentLine();
    void pulseShrinksAndGrowsCentred();
    void oneHighlightAtATime();
    void barButtonsCloseTheQuestionFirst();
    void webPages();

private:
    FormVokabo& start(const QByteArray& words);
    void moveCursorTo(const QWidget* widget) {
        QCursor::setPos(widget->mapToGlobal(widget->rect().center()));
    }

    std::unique_ptr<FreshProgram> program;
    std::unique_ptr<FormVokabo> form;
};

void TestMainWindow::init() {
    program = std::make_unique<FreshProgram>();
}

void TestMainWindow::cleanup() {
    if (form)
        form->Form_Unload();
    form.reset();
    program.reset();
    QCursor::setPos(0, 0);
}

FormVokabo& TestMainWindow::start(const QByteArray& words) {
    program->writeWordFile(words);
    form = std::make_unique<FormVokabo>("-o");
    if (!form->Form_Load())
        qFatal("the main window did not start");
    return *form;
}

void TestMainWindow::layoutFollowsTheWindow_data() {
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QRect>("list");
    QTest::addColumn<int>("adTop");
    QTest::addColumn<int>("line1");
    // The designed window first: what follows shrinks it from there.
    QTest::newRow("designed") << QSize(360, 394) << QRect(0, 59, 360, 268) << 329 << 276;
    QTest::newRow("wider and higher") << QSize(500, 400) << QRect(0, 59, 500, 274) << 335 << 416;
    QTest::newRow("one wider") << QSize(361, 394) << QRect(0, 59, 361, 268) << 329 << 277;
    QTest::newRow("157 high") << QSize(360, 157) << QRect(0, 59, 360, 31) << 92 << 276;
    // From 156 pixels down the list and the advert keep their last place.
    QTest::newRow("156 high") << QSize(360, 156) << QRect(0, 59, 360, 31) << 92 << 276;
    QTest::newRow("narrow and low") << QSize(300, 150) << QRect(0, 59, 300, 31) << 92 << 276;
}

void TestMainWindow::layoutFollowsTheWindow() {
    QFETCH(QSize, client);
    QFETCH(int, line1);
    FormVokabo& window = start("a|b||0|A\r\n");
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.resize(360, 157);
    window.resize(client);
    QTEST(window.List1->geometry(), "list");
    QTEST(window.FrameAd->y(), "adTop");
    QCOMPARE(window.FrameAd->size(), QSize(client.width(), 65));
    QCOMPARE(window.LabelTur->geometry(), QRect(0, 40, client.width(), 18));
    QCOMPARE(window.Line1->x(), line1);
    QCOMPARE(window.Line2->x(), 118);
    QCOMPARE(window.LabelAktif[0]->pos(), QPoint(line1 + 10, 8));
    QCOMPARE(window.LabelAktif[1]->pos(), QPoint(line1 + 46, 8));
    QCOMPARE(window.LabelEmpty->geometry(), QRect(line1 + 11, 32, 31, 17));
    for (int i = 0; i < 7; ++i)
        QCOMPARE(window.barButton(i)->geometry().top(), 3);
}

void TestMainWindow::tabsSwitchTheList() {
    FormVokabo& window = start("a|1||0|A\r\nb|2||4|P\r\nc|3||0|P\r\n");
    window.LabelAktif_Click(1);
    QCOMPARE(ShownList, QStringLiteral("P"));
    QCOMPARE(window.LabelTur->text(), QStringLiteral("Pasif Vokaboleriniz (2)"));
    QCOMPARE(window.lineCount(), 2);
    QCOMPARE(window.currentLine(), -1);
    QCOMPARE(window.LabelAktif[1]->height(), 33);
    QCOMPARE(window.LabelAktif[0]->height(), 20);
    QCOMPARE(window.LabelEmpty->x(), window.LabelAktif[1]->x() + 1);
    // Clicked again, the open tab refills its list.
    window.setCurrentLine(1);
    window.LabelAktif_Click(1);
    QCOMPARE(window.currentLine(), -1);
    window.LabelAktif_Click(0);
    QCOMPARE(window.LabelTur->text(), QStringLiteral("Aktif Vokaboleriniz (1)"));
    QCOMPARE(window.LabelAktif[0]->height(), 33);
    QCOMPARE(window.LabelEmpty->x(), window.LabelAktif[0]->x() + 1);
    // A refill from elsewhere leaves the tabs as they are.
    window.LabelAktif_Click(1);
    FillWordList("A");
    QCOMPARE(window.LabelAktif[1]->height(), 33);
}

void TestMainWindow::currentLineAfterAChange_data() {
    QTest::addColumn<QByteArray>("words");
    QTest::addColumn<int>("line");
    QTest::addColumn<MsgBoxResult>("answer");
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<int>("current");
    const QByteArray three = "a|1||0|A\r\nb|2||0|A\r\nc|3||0|A\r\n";
    QTest::newRow("first") << three << 0 << MsgBoxResult::Yes << QStringList{"b || 2", "c || 3"}
                           << 0;
    QTest::newRow("middle") << three << 1 << MsgBoxResult::Yes << QStringList{"a || 1", "c || 3"}
                            << 1;
    QTest::newRow("last") << three << 2 << MsgBoxResult::Yes << QStringList{"a || 1", "b || 2"}
                          << 1;
    QTest::newRow("only") << QByteArray("a|1||0|A\r\n") << 0 << MsgBoxResult::Yes << QStringList{}
                          << -1;
    QTest::newRow("Hayır") << three << 1 << MsgBoxResult::No
                           << QStringList{"a || 1", "b || 2", "c || 3"} << 1;
}

void TestMainWindow::currentLineAfterAChange() {
    QFETCH(QByteArray, words);
    QFETCH(int, line);
    QFETCH(MsgBoxResult, answer);
    QFETCH(QStringList, left);
    QFETCH(int, current);
    // The same rules for deleting and for moving to the other list.
    for (const bool moving : {false, true}) {
        FormVokabo& window = start(words);
        ScriptedMsgBox box;
        box.answer({answer});
        window.setCurrentLine(line);
        const QString chosen = window.lineText(line).section(QStringLiteral(" || "), 0, 0);
        moving ? window.ToggleSelectedWord() : window.DeleteSelectedWord();
        QCOMPARE(box.asked().size(), 1);
        QCOMPARE(box.asked()[0].title,
                 moving ? QStringLiteral("Vokabo Aktif/Pasif") : QStringLiteral("Vokabo Silme"));
        QVERIFY(box.asked()[0].prompt.startsWith(u'"' + chosen + u'"'));
        QStringList shown;
        for (int i = 0; i < window.lineCount(); ++i)
            shown.append(window.lineText(i));
        QCOMPARE(shown, left);
        QCOMPARE(window.currentLine(), current);
        QCOMPARE(WordsChanged, answer == MsgBoxResult::Yes);
        if (moving && answer == MsgBoxResult::Yes)
            QCOMPARE(PassiveWords.last().English, chosen);
        cleanup();
        init();
    }
}

void TestMainWindow::sameTextsKeepTheirOwnRecords() {
    FormVokabo& window = start("twin|ikiz|first|1|A\r\ntwin|ikiz|second|2|A\r\n");
    QCOMPARE(window.lineText(0), window.lineText(1));
    // Editing one line changes its own record only.
    const int record = window.lineRecord(1);
    window.setCurrentLine(1);
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<FormYeni*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        dialog->TextOrnek->setText(dialog->TextOrnek->text() + QStringLiteral(" (edited)"));
        dialog->CmdEkle_Click();
    });
    window.List1_DblClick();
    QVERIFY(ActiveWords[record - 1].Ornek.endsWith(QStringLiteral(" (edited)")));
    QVERIFY(!ActiveWords[2 - record].Ornek.endsWith(QStringLiteral(" (edited)")));
    // Moving a line moves its own record, with its own count.
    ScriptedMsgBox box;
    window.setCurrentLine(0);
    const qint16 count = ActiveWords[window.lineRecord(0) - 1].Dogru;
    window.ToggleSelectedWord();
    QCOMPARE(PassiveWords.size(), 1);
    QCOMPARE(PassiveWords[0].Dogru, count);
    QCOMPARE(ActiveWords.size(), 1);
    QVERIFY(ActiveWords[0].Dogru != count);
}

void TestMainWindow::deleteKeyActsOnReleaseInTheListOnly() {
    FormVokabo& window = start("a|1||0|A\r\nb|2||0|A\r\n");
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    ScriptedMsgBox box;
    box.answer({MsgBoxResult::Yes, MsgBoxResult::Yes});
    window.setCurrentLine(0);
    window.List1->setFocus();
    QTest::keyPress(window.List1, Qt::Key_Delete);
    QCOMPARE(box.asked().size(), 0);
    // A held key repeats its release: only the real one counts.
    QKeyEvent repeated(QEvent::KeyRelease, Qt::Key_Delete, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(window.List1, &repeated);
    QCOMPARE(box.asked().size(), 0);
    QTest::keyRelease(window.List1, Qt::Key_Delete);
    QCOMPARE(box.asked().size(), 1);
    QCOMPARE(window.lineCount(), 1);
    // Elsewhere the key is not the list's.
    window.barButton(0)->setFocus();
    QTest::keyClick(window.barButton(0), Qt::Key_Delete);
    QCOMPARE(box.asked().size(), 1);
}

void TestMainWindow::doubleClickEditsTheCurrentLine() {
    FormVokabo& window = start("a|1|x|0|A\r\n");
    bool opened = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<FormYeni*>(QApplication::activeModalWidget());
        opened = dialog != nullptr;
        if (dialog) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Vokabo Düzelt"));
            QCOMPARE(dialog->TextOrnek->text(), QStringLiteral("x"));
            dialog->reject();
        }
    });
    window.setCurrentLine(-1);
    window.List1_DblClick();
    QVERIFY(!opened);
    QVERIFY(window.TimerSor->isActive());
    window.setCurrentLine(0);
    window.List1_DblClick();
    QVERIFY(opened);
    QVERIFY(window.TimerSor->isActive());
    QVERIFY(!FormYeni::Duzenleme);
}

void TestMainWindow::pulseShrinksAndGrowsCentred() {
    FormVokabo& window = start("a|1||0|A\r\n");
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    BarButton* button = window.barButton(2);
    moveCursorTo(button);
    window.Cmd_MouseMove(2);
    QVERIFY(button->isHighlighted());
    QVERIFY(button->pictureRect().isEmpty());
    QList<int> sizes;
    QMap<int, int> lefts;
    for (int tick = 0; tick < 36; ++tick) {
        window.TimerBtnAnim_Timer();
        const QRect drawn = button->pictureRect();
        QCOMPARE(drawn.width(), drawn.height());
        QCOMPARE(drawn.left(), drawn.top());
        lefts[drawn.width()] = drawn.left();
        sizes.append(drawn.width());
    }
    QList<int> expected;
    for (int size = 31; size >= 16; --size)
        expected.append(size);
    for (int size = 17; size <= 33; ++size)
        expected.append(size);
    expected += {32, 31, 30};
    QCOMPARE(sizes, expected);
    // Centred in the 34-pixel button, a half pixel going to the even side.
    QCOMPARE(lefts[32], 1);
    QCOMPARE(lefts[31], 2);
    QCOMPARE(lefts[33], 0);
    QCOMPARE(lefts[29], 2);
    QCOMPARE(lefts[27], 4);
    QCOMPARE(lefts[16], 9);
    window.TimerBtn_Timer();
    QVERIFY(button->isHighlighted());
}

void TestMainWindow::oneHighlightAtATime() {
    FormVokabo& window = start("a|1||0|A\r\n");
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    BarButton* first = window.barButton(2);
    BarButton* second = window.barButton(3);
    moveCursorTo(first);
    window.Cmd_MouseMove(2);
    QVERIFY(window.TimerBtn->isActive());
    QVERIFY(window.TimerBtnAnim->isActive());
    // Straight onto the next button: it lights only once the watch has let
    // the first one go.
    moveCursorTo(second);
    window.Cmd_MouseMove(3);
    QVERIFY(first->isHighlighted());
    QVERIFY(!second->isHighlighted());
    window.TimerBtn_Timer();
    QVERIFY(!first->isHighlighted());
    QCOMPARE(first->pictureRect(), first->rect());
    QVERIFY(!window.TimerBtn->isActive());
    QVERIFY(!window.TimerBtnAnim->isActive());
    window.Cmd_MouseMove(3);
    QVERIFY(second->isHighlighted());
    // A click ends the highlight at once and shows the picture at its
    // natural size, until the pointer moves on the button again.
    ScriptedMsgBox box;
    QTimer::singleShot(0, [] {
        if (QWidget* dialog = QApplication::activeModalWidget())
            dialog->close();
    });
    window.Cmd_Click(3);
    QVERIFY(!second->isHighlighted());
    QCOMPARE(second->pictureRect(), QRect(0, 0, 32, 32));
    QVERIFY(!window.TimerBtnAnim->isActive());
    window.Cmd_MouseMove(3);
    QVERIFY(second->isHighlighted());
}

void TestMainWindow::barButtonsCloseTheQuestionFirst() {
    FormVokabo& window = start("a|1||0|A\r\nb|2||0|A\r\nc|3||0|A\r\nd|4||0|A\r\n");
    PageCatcher pages;
    // Nothing is deleted or moved: the question always has its four words.
    ScriptedMsgBox box;
    box.answer({MsgBoxResult::No, MsgBoxResult::No});
    for (int index = 0; index < 7; ++index) {
        window.SonSoru = QDateTime();
        window.TimerSor_Timer();
        QPointer<FormSoru> question = window.questionWindow();
        QVERIFY(question);
        bool timerOff = false;
        bool questionClosed = false;
        QTimer::singleShot(0, [&] {
            timerOff = !window.TimerSor->isActive();
            questionClosed = !question || !question->isVisible();
            if (QWidget* dialog = QApplication::activeModalWidget())
                dialog->close();
        });
        window.setCurrentLine(0);
        window.Cmd_Click(index);
        QVERIFY2(!question || !question->isVisible(), qPrintable(QString::number(index)));
        if (index == 0 || index == 2 || index == 4) {
            // Its dialog was up with the question closed and the timer off.
            QVERIFY(questionClosed);
            QVERIFY(timerOff);
        }
        QVERIFY(window.TimerSor->isActive());
        QTRY_VERIFY(!question);
        FillWordList("A");
    }
}

void TestMainWindow::webPages() {
    FormVokabo& window = start("a|1||0|A\r\nb|2||0|A\r\nc|3||0|A\r\nd|4||0|A\r\n");
    PageCatcher pages;
    window.TimerSor_Timer();
    QPointer<FormSoru> question = window.questionWindow();
    QVERIFY(question);
    // The advert opens the home page and leaves the question alone.
    QTest::mouseClick(window.ImageAd, Qt::LeftButton);
    QCOMPARE(pages.opened.size(), 1);
    QVERIFY(question && question->isVisible());
    window.Cmd_Click(6);
    QCOMPARE(pages.opened.size(), 2);
    QVERIFY(pages.opened[0] != pages.opened[1]);
    QTRY_VERIFY(!question);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
