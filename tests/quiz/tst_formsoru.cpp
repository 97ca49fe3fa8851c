#include "platform/Clock.h"
#include "quiz/FormSoru.h"
#include "quiz/Quiz.h"
#include "settings/Settings.h"
#include "support/ScriptedRandom.h"
#include "support/TestSupport.h"

#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace ModVokabo;

namespace {
class RecordingHost : public QuestionHost {
public:
    void startQuestionTimer() override { ++timerStarts; }
    void setAskCommandEnabled(bool enabled) override { askEnabled = enabled; }
    void setSonSoru(const QDateTime& when) override {
        SonSoru = when;
        ++sonSoruWrites;
    }
    QIcon programIcon() const override { return {}; }
    int timerStarts = 0;
    bool askEnabled = true;
    QDateTime SonSoru = QDateTime(QDate(2000, 1, 1), QTime(0, 0));
    int sonSoruWrites = 0;
};

const QDateTime TestNow(QDate(2026, 12, 6), QTime(9, 30));

QColor textColour(const QLabel* label) {
    return label->palette().color(QPalette::WindowText);
}
} // namespace

class TestFormSoru : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void loadLettersTheAnswersAndPutsTheRightOneInItsSlot();
    void titleAndExampleButtonFollowTheWord();
    void revealHighlightAndEye();
    void wrongAnswerThenOk();
    void rightAnswerThenOkCountsAndTheSeriesGoesOn();
    void seriesEndsAtItsLength();
    void escAfterARightAnswerCountsNothing();
    void learnedButton_data();
    void learnedButton();
    void listChangedWhileTheQuestionWasOpen();
    void messageBoxes();
    void windowSizesToItsContent();
    void balloonFitsTheQuestion();
    void windowHoldsTheWholeQuestion_data();
    void windowHoldsTheWholeQuestion();
    void wordsAreShownAsTyped();
    void eyeAnimationLoops();

private:
    FormSoru* open(int VokaboInd, const QStringList& answers, int rightSlot,
                   const QString& question = QStringLiteral("w2 ?"));

    std::unique_ptr<FreshProgram> program;
    std::unique_ptr<ScriptedRandom> random;
    RecordingHost host;
    QPointer<FormSoru> form;
};

void TestFormSoru::init() {
    program = std::make_unique<FreshProgram>();
    Quiz::resetState();
    Settings::SecenekSay = 4;
    Settings::enaz = 0;
    Settings::sorusay = 0;
    host = RecordingHost();
    setClock([] { return TestNow; });
    for (int i = 1; i <= 5; ++i)
        AppendWord(QStringLiteral("w%1").arg(i), QStringLiteral("t%1").arg(i),
                   i == 2 ? QStringLiteral("An example with w2.") : QString(),
                   static_cast<qint16>(i - 1), "A");
}

void TestFormSoru::cleanup() {
    delete form;
    random.reset();
    setClock(nullptr);
    program.reset();
}

FormSoru* TestFormSoru::open(int VokaboInd, const QStringList& answers, int rightSlot,
                             const QString& question) {
    // The load draws the right answer's slot, then the character.
    random =
        std::make_unique<ScriptedRandom>(QList<double>{(rightSlot - 0.5) / answers.size(), 0.5});
    Quiz::Secenekler = answers;
    form = new FormSoru(&host);
    form->English = question;
    form->VokaboInd = VokaboInd;
    form->OrnekCumle = ActiveWords[VokaboInd - 1].Ornek;
    form->open();
    return form;
}

void TestFormSoru::loadLettersTheAnswersAndPutsTheRightOneInItsSlot() {
    open(2, {"t2", "t4", "t1", "t5"}, 3);
    QCOMPARE(random->left(), 0);
    QCOMPARE(form->dogruSira(), 3);
    QCOMPARE(Quiz::Secenekler, (QStringList{"t1", "t4", "t2", "t5"}));
    QCOMPARE(form->answerCount(), 4);
    QCOMPARE(form->answerLabel(0)->text(), QStringLiteral("a) t1"));
    QCOMPARE(form->answerLabel(2)->text(), QStringLiteral("c) t2"));
    QCOMPARE(form->answerLabel(3)->text(), QStringLiteral("d) t5"));
    QCOMPARE(form->answerLabel(3)->y() - form->answerLabel(2)->y(), 16);
    QVERIFY(!form->answerLabel(0)->isVisible());
    QVERIFY(form->LblOrtu->isVisible());
    QCOMPARE(form->LblOrtu->text(), QStringLiteral("\r\nSEÇENEKLER\r\nBURADA"));
    QCOMPARE(form->LblSoru->text(), QStringLiteral("w2 ?"));
    QVERIFY(!host.askEnabled);
    QVERIFY(!form->CmdTamam->isVisible());
    QVERIFY(!form->CmdOgrendim->isVisible());
    QVERIFY(form->isVisible());
}

void TestFormSoru::titleAndExampleButtonFollowTheWord() {
    open(2, {"t2", "t1", "t3", "t4"}, 1);
    QCOMPARE(form->windowTitle(), QStringLiteral("Bu vokaboyi son 1 soruda bildiniz..."));
    QVERIFY(form->CmdCumle->isEnabled());
    delete form;
    open(1, {"t1", "t2", "t3", "t4"}, 1, "w1 ?");
    QCOMPARE(form->windowTitle(), QStringLiteral("Yeni ya da bilemediğiniz vokabo !"));
    QVERIFY(!form->CmdCumle->isEnabled());
}

void TestFormSoru::revealHighlightAndEye() {
    open(2, {"t2", "t1", "t3", "t4"}, 1);
    QTest::mouseClick(form->LblOrtu, Qt::LeftButton);
    QVERIFY(!form->LblOrtu->isVisible());
    QVERIFY(!form->ImgQuestionMark->isVisible());
    for (int i = 0; i < 4; ++i)
        QVERIFY(form->answerLabel(i)->isVisible());

    QTest::mouseMove(form->answerLabel(0));
    QTest::mouseMove(form->answerLabel(2), QPoint(3, 3));
    QCOMPARE(form->sonIsaret(), 2);
    QCOMPARE(textColour(form->answerLabel(2)), QColor(0, 0, 255));
    QVERIFY(form->ImgAnm->isVisible());
    QCOMPARE(form->ImgAnm->y(), form->answerLabel(2)->y() - 7);

    form->LblCevap_MouseMove(0);
    QCOMPARE(textColour(form->answerLabel(0)), QColor(0, 0, 255));
    QCOMPARE(textColour(form->answerLabel(2)), QColor(Qt::black));
    QCOMPARE(form->ImgAnm->y(), form->answerLabel(0)->y() - 7);
}

void TestFormSoru::wrongAnswerThenOk() {
    Quiz::ElleSor = true;
    Quiz::SoruSayac = 2;
    open(4, {"t4", "t1", "t2", "t3"}, 2); // right answer in b)
    form->LblOrtu_Click();
    QTest::mouseClick(form->answerLabel(0), Qt::LeftButton);
    QCOMPARE(textColour(form->answerLabel(0)), QColor(255, 0, 0));
    QCOMPARE(textColour(form->answerLabel(1)), QColor(0, 0, 255));
    QVERIFY(form->ImgDogru->isVisible());
    QCOMPARE(form->ImgDogru->y(), form->answerLabel(1)->y() - 4);
    QVERIFY(form->CmdTamam->isVisible());
    QVERIFY(form->CmdOgrendim->isVisible());
    QVERIFY(!form->CmdOgrendim->isEnabled());
    QVERIFY(!form->ImgAnm->isVisible());

    // The verdict stands: other answers and the pointer change nothing.
    form->LblCevap_Click(1);
    form->LblCevap_MouseMove(3);
    QCOMPARE(textColour(form->answerLabel(0)), QColor(255, 0, 0));
    QCOMPARE(textColour(form->answerLabel(3)), QColor(Qt::black));

    QTest::mouseClick(form->CmdTamam, Qt::LeftButton);
    QTRY_VERIFY(!form);
    QCOMPARE(ActiveWords[3].Dogru, 0);
    QVERIFY(WordsChanged);
    QCOMPARE(host.SonSoru, TestNow);
    QCOMPARE(Quiz::SoruSayac, 0);
    QVERIFY(!Quiz::ElleSor);
    QVERIFY(host.askEnabled);
    QVERIFY(host.timerStarts >= 1);
}

void TestFormSoru::rightAnswerThenOkCountsAndTheSeriesGoesOn() {
    open(4, {"t4", "t1", "t2", "t3"}, 3);
    form->LblOrtu_Click();
    form->LblCevap_Click(2);
    QCOMPARE(textColour(form->answerLabel(2)), QColor(0, 0, 255));
    QVERIFY(form->CmdOgrendim->isEnabled());
    form->CmdTamam_Click();
    QCOMPARE(ActiveWords[3].Dogru, 4);
    QVERIFY(!host.SonSoru.isValid());
    QCOMPARE(Quiz::SoruSayac, 1);
    // Only the asked word's count moved.
    for (int i : {0, 1, 2, 4})
        QCOMPARE(ActiveWords[i].Dogru, i);
}

void TestFormSoru::seriesEndsAtItsLength() {
    Settings::sorusay = 3;
    Quiz::SoruSayac = 2;
    Quiz::ElleSor = true;
    open(1, {"t1", "t2", "t3", "t4"}, 1, "w1 ?");
    form->LblOrtu_Click();
    form->LblCevap_Click(0);
    form->CmdTamam_Click();
    QCOMPARE(host.SonSoru, TestNow);
    QCOMPARE(Quiz::SoruSayac, 0);
    QVERIFY(Quiz::ElleSor);
    QCOMPARE(ActiveWords[0].Dogru, 1);
}

void TestFormSoru::escAfterARightAnswerCountsNothing() {
    Quiz::SoruSayac = 1;
    open(3, {"t3", "t1", "t2", "t4"}, 1, "w3 ?");
    form->LblOrtu_Click();
    form->LblCevap_Click(0);
    QTest::keyClick(form->CmdTamam, Qt::Key_Escape);
    QTRY_VERIFY(!form);
    QCOMPARE(ActiveWords[2].Dogru, 2);
    QVERIFY(!WordsChanged);
    QCOMPARE(host.SonSoru, TestNow);
    QCOMPARE(Quiz::SoruSayac, 0);
    QVERIFY(host.askEnabled);
}

void TestFormSoru::learnedButton_data() {
    QTest::addColumn<int>("enaz");
    QTest::addColumn<int>("asked"); // word i has count i - 1
    QTest::addColumn<bool>("enabled");
    QTest::newRow("enaz 0, count 0") << 0 << 1 << true;
    QTest::newRow("enaz 3, count 1") << 3 << 2 << false;
    QTest::newRow("enaz 3, count 2") << 3 << 3 << true;
    QTest::newRow("enaz 3, count 4") << 3 << 5 << true;
}

void TestFormSoru::learnedButton() {
    QFETCH(int, enaz);
    QFETCH(int, asked);
    QFETCH(bool, enabled);
    Settings::enaz = static_cast<qint16>(enaz);
    RecordingListView view;
    setWordListView(&view);
    const WordDef word = ActiveWords[asked - 1];
    open(asked, {word.Turkish, "x", "y", "z"}, 1, word.English + " ?");
    form->LblOrtu_Click();
    form->LblCevap_Click(0);
    QCOMPARE(form->CmdOgrendim->isEnabled(), enabled);
    if (!enabled)
        return;
    QTest::mouseClick(form->CmdOgrendim, Qt::LeftButton);
    QTRY_VERIFY(!form);
    QCOMPARE(PassiveWords.size(), 1);
    QCOMPARE(PassiveWords[0], word);
    QCOMPARE(ActiveWords.size(), 4);
    QVERIFY(!ActiveWords.contains(word));
    QCOMPARE(view.caption, QStringLiteral("Aktif Vokaboleriniz (4)"));
    // Counted as right: the series goes on.
    QVERIFY(!host.SonSoru.isValid());
    QCOMPARE(Quiz::SoruSayac, 1);
    for (const WordDef& w : ActiveWords)
        QCOMPARE(w.Dogru, w.English.mid(1).toInt() - 1);
}

void TestFormSoru::listChangedWhileTheQuestionWasOpen() {
    ShownList = "A";
    {
        open(4, {"t4", "t1", "t2", "t3"}, 1, "w4 ?");
        DeleteWordAsk(1, false); // w4 moves to position 3
        AppendWord("new", "yeni", "", 0, "A");
        form->LblOrtu_Click();
        form->LblCevap_Click(0);
        form->CmdTamam_Click();
        QCOMPARE(ActiveWords[2].English, QStringLiteral("w4"));
        QCOMPARE(ActiveWords[2].Dogru, 4);
        QCOMPARE(ActiveWords[3].Dogru, 4); // w5 untouched
        QCOMPARE(ActiveWords[4].Dogru, 0); // the new word untouched
    }
    {
        const WordList before = [] {
            WordList l = ActiveWords;
            l.removeAt(1);
            return l;
        }();
        open(2, {"t3", "t2", "t4", "t5"}, 2, "w3 ?");
        DeleteWordAsk(2, false); // the asked word is gone
        form->LblOrtu_Click();
        form->LblCevap_Click(1);
        form->CmdTamam_Click();
        QCOMPARE(ActiveWords, before);
    }
    {
        const WordList before = ActiveWords;
        open(1, {"t2", "t4", "t5", "yeni"}, 1, "w2 ?");
        DeleteWordAsk(1, false);
        form->LblOrtu_Click();
        form->LblCevap_Click(0);
        form->CmdOgrendim_Click();
        QCOMPARE(ActiveWords, before.mid(1));
        QVERIFY(PassiveWords.isEmpty());
    }
}

void TestFormSoru::messageBoxes() {
    ScriptedMsgBox box;
    open(2, {"t2", "t1", "t3", "t4"}, 1);
    QTest::mouseClick(form->CmdCumle, Qt::LeftButton);
    QTest::mouseClick(form->Img, Qt::LeftButton);
    QCOMPARE(box.asked().size(), 2);
    QCOMPARE(box.asked()[0].prompt, QStringLiteral("An example with w2."));
    QCOMPARE(box.asked()[0].title, QStringLiteral("Örnek Cümle"));
    QCOMPARE(box.asked()[0].style, MsgBoxStyle::OkOnly | MsgBoxStyle::Information);
    QCOMPARE(box.asked()[1].prompt,
             QStringLiteral("Bana değil cevap seçeneklerine tıklayacaksın :)"));
    QCOMPARE(box.asked()[1].title, QStringLiteral("Tık tık"));
    QCOMPARE(box.asked()[1].style, MsgBoxStyle::OkOnly | MsgBoxStyle::Information);
    // The question is untouched.
    QVERIFY(form->LblOrtu->isVisible());
    QVERIFY(!form->CmdTamam->isVisible());
}

void TestFormSoru::windowSizesToItsContent() {
    open(1, {"t1", "t2", "t3", "t4"}, 1, "w1 ?");
    QCOMPARE(form->size(), QSize(295, 191));
    delete form;

    Settings::SecenekSay = 9;
    QStringList nine;
    for (int i = 0; i < 9; ++i)
        nine.append(QStringLiteral("c%1").arg(i));
    open(1, nine, 1, "w1 ?");
    QCOMPARE(form->size(), QSize(295, 191 + 80));
    QCOMPARE(form->answerLabel(8)->text(), QStringLiteral("i) c8"));
    QCOMPARE(form->LblOrtu->height(), 65 + 80);
    QCOMPARE(form->FrmButton->y(), 144 + 80);
    delete form;

    Settings::SecenekSay = 2;
    open(1, {QString(400, u'm'), "t2"}, 1, "w1 ?");
    QCOMPARE(form->width(), (7000 + 200 + 240) / 15);
    QCOMPARE(form->CmdTamam->x() + form->CmdTamam->width(),
             form->FrmSoru->x() + form->FrmSoru->width());
    QVERIFY(form->ImgQuestionMark->isVisible());
    QCOMPARE(form->ImgQuestionMark->x() + form->ImgQuestionMark->width(),
             form->LblOrtu->x() + form->LblOrtu->width());
}

void TestFormSoru::balloonFitsTheQuestion() {
    open(1, {"t1", "t2", "t3", "t4"}, 1, "a ?");
    QCOMPARE(form->ShpBalon->width(), 0);
    QCOMPARE(form->ImgBalonSag->x(), form->ShpBalon->x() - 4);
    const QFont designed = form->LblSoru->font();
    const int designedTop = form->LblSoru->y();
    delete form;

    const QString twenty(20, u'q');
    open(1, {"t1", "t2", "t3", "t4"}, 1, twenty);
    QCOMPARE(form->LblSoru->font().pointSize(), designed.pointSize());
    delete form;

    const QString longer = QStringLiteral("a question of some length ?");
    open(1, {"t1", "t2", "t3", "t4"}, 1, longer);
    QCOMPARE(form->LblSoru->font().pointSize(), 8);
    QCOMPARE(form->LblSoru->y(), designedTop + 4);
    QCOMPARE(form->ShpBalon->width(), form->LblSoru->width() - 20);
    QCOMPARE(form->ImgBalonSag->x(), form->ShpBalon->x() + form->ShpBalon->width() - 4);
    // Fitting again gives the same balloon.
    form->Form_Activate();
    QCOMPARE(form->ShpBalon->width(), form->LblSoru->width() - 20);
}

void TestFormSoru::windowHoldsTheWholeQuestion_data() {
    QTest::addColumn<QString>("question");
    QTest::addColumn<int>("points");
    const QString emoji = QStringLiteral("\U0001F600");
    QTest::newRow("20 capitals") << "WORLDWIDE MOVEMENT ?" << 12;
    QTest::newRow("21 capitals") << "WORLDWIDE MOVEMENTS ?" << 8;
    QTest::newRow("20 with an emoji") << "WORLDWIDE MOVEMEN" + emoji + " ?" << 12;
    QTest::newRow("long") << "the meaning of a phrase that runs on and on ?" << 8;
}

void TestFormSoru::windowHoldsTheWholeQuestion() {
    QFETCH(QString, question);
    open(1, {"t1", "t2", "t3", "t4"}, 1, question);
    QTEST(form->LblSoru->font().pointSize(), "points");
    // The question, and the balloon's end after it, stand inside the window.
    const int right = form->FrmSoru->width();
    QVERIFY2(form->LblSoru->x() + form->LblSoru->width() <= right,
             qPrintable(QStringLiteral("question ends at %1 of %2")
                            .arg(form->LblSoru->x() + form->LblSoru->width())
                            .arg(right)));
    QVERIFY(form->ImgBalonSag->x() + form->ImgBalonSag->width() <= right);
}

void TestFormSoru::wordsAreShownAsTyped() {
    const QString question = QStringLiteral("<b>bold</b> move ?");
    const QStringList answers = {"&amp;", "<img src=x>", "<i>t3</i>", "t4"};
    open(1, answers, 1, question);
    form->LblOrtu_Click();
    // Read as markup, a text would lose its tags and shrink to its words.
    auto holdsWhole = [](const QLabel* label, const QString& text) {
        return label->sizeHint().width() >= QFontMetrics(label->font()).horizontalAdvance(text);
    };
    QVERIFY(holdsWhole(form->LblSoru, question));
    for (int i = 0; i < answers.size(); ++i)
        QVERIFY2(holdsWhole(form->answerLabel(i),
                            QStringLiteral("%1) %2").arg(QChar(u'a' + i)).arg(Quiz::Secenekler[i])),
                 qPrintable(Quiz::Secenekler[i]));
}

void TestFormSoru::eyeAnimationLoops() {
    open(1, {"t1", "t2", "t3", "t4"}, 1, "w1 ?");
    QCOMPARE(form->TimerAnm->interval(), 200);
    QVERIFY(form->TimerAnm->isActive());
    const int start = form->eyeFrame();
    QImage previous;
    int changes = 0;
    for (int i = 0; i < 14; ++i) {
        form->TimerAnm_Timer();
        const QImage frame = form->ImgAnm->pixmap().toImage();
        changes += frame != previous;
        previous = frame;
    }
    QCOMPARE(form->eyeFrame(), start);
    QVERIFY(changes > 7);
}

QTEST_MAIN(TestFormSoru)
#include "tst_formsoru.moc"
