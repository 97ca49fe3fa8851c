#include "platform/Clock.h"
#include "quiz/FormImg.h"
#include "quiz/FormSoru.h"
#include "quiz/Quiz.h"
#include "settings/Settings.h"
#include "support/OnScreen.h"
#include "support/ScriptedRandom.h"
#include "support/TestSupport.h"

#include <QPointer>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace ModVokabo;

namespace {
class RecordingHost : public QuestionHost {
public:
    void startQuestionTimer() override { ++timerStarts; }
    void setAskCommandEnabled(bool enabled) override { askEnabled = enabled; }
    void setSonSoru(const QDateTime& when) override { SonSoru = when; }
    QIcon programIcon() const override { return {}; }
    Quiz::Series& series() override { return questions; }
    Quiz::Series questions;
    int timerStarts = 0;
    bool askEnabled = true;
    QDateTime SonSoru = QDateTime(QDate(2000, 1, 1), QTime(0, 0));
};

const QDateTime TestNow(QDate(2026, 12, 6), QTime(9, 30));
const QColor Blue(0, 0, 255), Red(255, 0, 0), Black(Qt::black);

// A question answered and closed, and what it leaves behind.
struct Closing {
    int asked;   // word n has count n - 1
    int clicked; // the right answer is a)
    char press;  // OK, Learned or Esc
    int enaz, sorusay;
    int before; // right answers so far in the series
    bool learnable;
    int count; // the asked word's count after; -1: the word is retired
    int after; // right answers in the series after; the series goes on while not 0
};
} // namespace
Q_DECLARE_METATYPE(Closing)

class TestFormSoru : public QObject {
    Q_OBJECT

    std::unique_ptr<FreshProgram> program;
    std::unique_ptr<ScriptedRandom> random;
    RecordingHost host;
    QPointer<FormSoru> form;

    WordStore& store() { return program->words(); }
    const WordList& active() { return store().words(WordListKind::Active); }

    // Asks word n (from 1) of the active list; the load draws the right
    // answer's slot, then the character.
    void open(int n, const QStringList& answers = {"t1", "t2", "t3", "t4"}, int rightSlot = 1,
              const QString& question = {}, bool showsMeaning = false) {
        delete form;
        // The old script leaves first: its end would unset the new one.
        random.reset();
        random = std::make_unique<ScriptedRandom>(
            QList<double>{(rightSlot - 0.5) / answers.size(), 0.1});
        Quiz::Question asked;
        asked.VokaboInd = n - 1;
        asked.text = question.isNull() ? active()[n - 1].English + " ?" : question;
        asked.OrnekCumle = active()[n - 1].Ornek;
        asked.answers = answers;
        asked.showsMeaning = showsMeaning;
        for (const QString& text : answers)
            asked.answerWords.append(static_cast<int>(
                std::find_if(
                    active().begin(), active().end(),
                    [&](const auto& w) { return (showsMeaning ? w.English : w.Turkish) == text; }) -
                active().begin()));
        form = new FormSoru(asked, &host, program->settings(), store(), program->history(),
                            program->speech());
        form->open();
    }
    void answer(int index) {
        form->LblOrtu_Click();
        form->LblCevap_Click(index);
    }
    template <typename Control = QWidget> Control* the(const char* name) const {
        return part<Control>(*form, QString::fromLatin1(name));
    }
    QLabel* answerLabel(int index) const {
        return part<QLabel>(*form, QStringLiteral("LblCevap%1").arg(index));
    }
    QStringList answerNames() const {
        QStringList names;
        for (const QLabel* label : form->findChildren<QLabel*>(QRegularExpression("^LblCevap")))
            names.append(label->objectName());
        return names;
    }
    // Read as markup, a text would lose its tags and shrink to its words.
    static bool shownAsTyped(const QLabel* label) {
        return label->sizeHint().width() >=
               QFontMetrics(label->font()).horizontalAdvance(label->text());
    }
    QColor colour(int index) const {
        return answerLabel(index)->palette().color(QPalette::WindowText);
    }
    // A picture stands left of an answer, its middle on the answer's line.
    bool besideAnswer(const char* picture, int index) const {
        const QRect at = the(picture)->geometry();
        const QRect line = answerLabel(index)->geometry();
        return at.right() < line.left() && line.top() <= at.center().y() &&
               at.center().y() <= line.bottom();
    }

private slots:
    void init() {
        program = std::make_unique<FreshProgram>();
        host = RecordingHost();
        setClock([] { return TestNow; });
        WordList words;
        for (int i = 1; i <= 5; ++i)
            words.append(word(QStringLiteral("w%1").arg(i), QStringLiteral("t%1").arg(i),
                              i == 2 ? QStringLiteral("An example with w2.") : QString(),
                              static_cast<qint16>(i - 1)));
        program->loadWords(words);
    }
    void cleanup() {
        delete form;
        random.reset();
        setClock(nullptr);
        program.reset();
    }

    void loadLettersTheAnswersAndPutsTheRightOneInItsSlot() {
        open(2, {"t2", "<img src=x>", "t1", "t5"}, 3);
        QCOMPARE(random->left(), 0);
        QStringList shown;
        for (const QString& name : answerNames())
            shown.append(part<QLabel>(*form, name)->text());
        QCOMPARE(shown, (QStringList{"a) t1", "b) <img src=x>", "c) t2", "d) t5"}));
        QVERIFY(shownAsTyped(answerLabel(1)));
        QCOMPARE(form->windowTitle(), QStringLiteral("Bu vokaboyi son 1 soruda bildiniz..."));
        QVERIFY(the("CmdCumle")->isEnabled());
        QVERIFY(!host.askEnabled);
        QVERIFY(the("LblOrtu")->isVisible() && !answerLabel(0)->isVisible());
        QVERIFY(!the("CmdTamam")->isVisible() && !the("CmdOgrendim")->isVisible());

        open(1);
        QCOMPARE(form->windowTitle(), QStringLiteral("Yeni ya da bilemediğiniz vokabo !"));
        QVERIFY(!the("CmdCumle")->isEnabled());
    }

    void revealPointAndJudgeOnce() {
        open(4, {"t4", "t1", "t2", "t3"}, 4);
        QTest::mouseClick(the("LblOrtu"), Qt::LeftButton);
        QVERIFY(!the("LblOrtu")->isVisible() && !the("ImgQuestionMark")->isVisible() &&
                answerLabel(3)->isVisible());

        // The eye looks at the answer under the pointer, which turns blue.
        QTest::mouseMove(answerLabel(0));
        QTest::mouseMove(answerLabel(2), QPoint(3, 3));
        QCOMPARE(colour(2), Blue);
        QCOMPARE(colour(0), Black);
        QVERIFY(the("ImgAnm")->isVisible() && besideAnswer("ImgAnm", 2));

        QTest::mouseClick(answerLabel(2), Qt::LeftButton); // wrong: the right one is d)
        QCOMPARE(colour(2), Red);
        QCOMPARE(colour(3), Blue);
        QVERIFY(the("ImgDogru")->isVisible() && besideAnswer("ImgDogru", 3));
        QVERIFY(!the("ImgAnm")->isVisible());
        QVERIFY(the("CmdTamam")->isVisible() && the("CmdOgrendim")->isVisible());
        QVERIFY(!the("CmdOgrendim")->isEnabled());

        form->LblCevap_Click(1);
        form->LblCevap_MouseMove(0);
        QCOMPARE(colour(2), Red);
        QCOMPARE(colour(0), Black);
    }

    // Once it has the keyboard: Space lifts the cover and numbers the answers,
    // a number that shows judges its slot, Enter is then OK; S reads the
    // foreign word in the words' language, a meaning in Turkish.
    void keysAndReadingAloud() {
        RecordingSpeech& speech = program->speech();
        program->settings().store(Settings::DilSetting, QLocale::German);
        open(3, {"t3", "t1", "t2", "t4"}, 2);
        const auto number = [this](int n) {
            return form->findChild<QLabel*>(QStringLiteral("LblNumara%1").arg(n));
        };
        QTest::keyClick(form, Qt::Key_S); // not read while the service is not there
        QTest::keyClick(form, Qt::Key_1);
        QVERIFY(!number(1)->isVisible() && !the("CmdTamam")->isVisible());
        QTest::keyClick(form, Qt::Key_Space);
        QVERIFY(!the("LblOrtu")->isVisible() && answerLabel(3)->isVisible());
        QCOMPARE(number(4)->y(), answerLabel(3)->y());
        QVERIFY(number(4)->isVisible() && number(4)->geometry().right() < answerLabel(3)->x());
        form->LblCevap_MouseMove(3); // the eye stands over its number
        QVERIFY(!number(4)->isVisible() && number(3)->isVisible());
        QTest::keyClick(form, Qt::Key_5); // four answers
        QVERIFY(!the("CmdTamam")->isVisible());
        speech.becomes(Speech::State::Ready, {QLocale::German, QLocale::Turkish});
        QVERIFY(form->findChild<QToolButton*>("CmdSeslendir")->isEnabled());
        QTest::keyClick(form, Qt::Key_S);
        QTest::keyClick(form, Qt::Key_2);
        QCOMPARE(colour(1), Blue);
        QVERIFY(the("CmdTamam")->isVisible() && !number(2)->isVisible());
        QTest::keyClick(form, Qt::Key_Return);
        QTRY_VERIFY(!form);
        QCOMPARE(active()[2].Dogru, 3);

        open(2, {"t2", "t1", "t3", "t4"}, 1, "t2 ?", true);
        QTest::keyClick(form, Qt::Key_Return);
        QTest::keyClick(form, Qt::Key_1);
        QTest::mouseClick(form->findChild<QToolButton*>("CmdSeslendir"), Qt::LeftButton);
        QCOMPARE(speech.said,
                 (QList<RecordingSpeech::Said>{{"w3", QLocale::German}, {"t2", QLocale::Turkish}}));
        QCOMPARE(colour(0), Blue);
    }

    void closingCountsAndEndsTheSeries_data() {
        QTest::addColumn<Closing>("c");
        QTest::newRow("wrong") << Closing{4, 1, 'O', 0, 0, 2, false, 0, 0};
        QTest::newRow("right") << Closing{4, 0, 'O', 0, 0, 0, true, 4, 1};
        QTest::newRow("right, series of 3 goes on") << Closing{1, 0, 'O', 0, 3, 1, true, 1, 2};
        QTest::newRow("right, series of 3 ends") << Closing{1, 0, 'O', 0, 3, 2, true, 1, 0};
        QTest::newRow("right, series past its end") << Closing{1, 0, 'O', 0, 3, 5, true, 1, 6};
        QTest::newRow("right, Esc") << Closing{3, 0, 'E', 0, 0, 1, true, 2, 0};
        QTest::newRow("enaz 3, count 1") << Closing{2, 0, 'O', 3, 0, 0, false, 2, 1};
        QTest::newRow("enaz 3, count 2, learned") << Closing{3, 0, 'L', 3, 0, 0, true, -1, 1};
        QTest::newRow("enaz 0, learned") << Closing{1, 0, 'L', 0, 0, 0, true, -1, 1};
    }
    void closingCountsAndEndsTheSeries() {
        QFETCH(Closing, c);
        const auto [asked, clicked, press, enaz, sorusay, before, learnable, count, after] = c;
        program->settings().store(Settings::EnazSetting, enaz);
        program->settings().store(Settings::SorusaySetting, sorusay);
        host.questions = {static_cast<qint16>(before), true};
        const WordDef word = active()[asked - 1];
        open(asked);
        answer(clicked);
        QCOMPARE(the("CmdOgrendim")->isEnabled(), learnable);
        if (press == 'E')
            QTest::keyClick(the("CmdTamam"), Qt::Key_Escape);
        else
            QTest::mouseClick(the(press == 'L' ? "CmdOgrendim" : "CmdTamam"), Qt::LeftButton);
        QTRY_VERIFY(!form);

        // Only the asked word's count moves, or the word moves to the passive list.
        QList<int> counts{0, 1, 2, 3, 4}, now;
        if (count < 0)
            counts.removeAt(asked - 1);
        else
            counts[asked - 1] = count;
        for (const WordDef& w : active())
            now.append(w.Dogru);
        QCOMPARE(now, counts);
        QCOMPARE(store().words(WordListKind::Passive), count < 0 ? WordList{word} : WordList{});
        QCOMPARE(store().WordsChanged(), press != 'E');
        QCOMPARE(host.SonSoru, after ? QDateTime() : TestNow);
        QCOMPARE(host.questions.SoruSayac, after);
        QCOMPARE(host.questions.ElleSor, clicked == 0 && press != 'E');
        QVERIFY(host.askEnabled && host.timerStarts >= 1);
    }

    // Judged answers, as they were given; a question closed unanswered
    // leaves nothing.
    void everyAnswerGoesIntoTheHistory() {
        program->history().open();
        QDateTime now = TestNow;
        setClock([&now] { return now; });
        open(4, {"t4", "t1", "t2", "t3"}, 2);
        form->LblOrtu_Click();
        now = TestNow.addMSecs(2500);
        form->LblCevap_Click(0);
        form->CmdTamam_Click();
        host.questions.ElleSor = true;
        open(5, {"w5", "w1", "w2"}, 3, "t5 ?", true);
        form->LblOrtu_Click();
        form->LblCevap_Click(2);
        form->close();
        open(5);
        form->LblOrtu_Click();
        form->close();
        using History::Answer;
        using History::Direction;
        // The wrong answer keeps whose meaning was taken.
        const Answer wrong{now,   "w4", "t4", Direction::WordToMeaning, 4, false, 1, 2500,
                           false, "w1", "t1"};
        const Answer right{now, "w5", "t5", Direction::MeaningToWord, 3, true, 3, 0, true};
        QCOMPARE(program->history().answersOf(active()[3]), QList<Answer>{wrong});
        QCOMPARE(program->history().answersOf(active()[4]), QList<Answer>{right});
    }

    void listChangedWhileTheQuestionWasOpen() {
        constexpr WordListKind A = WordListKind::Active;
        open(4);
        store().DeleteWord(A, 0); // w4 moves up one
        store().AppendWord(word("new", "yeni"), A);
        answer(0);
        form->CmdTamam_Click();
        QCOMPARE(active()[2].English, QStringLiteral("w4"));
        QCOMPARE(active()[2].Dogru, 4);
        QCOMPARE(active()[3].Dogru, 4); // w5 untouched
        QCOMPARE(active()[4].Dogru, 0); // the new word untouched

        WordList before = active();
        before.removeAt(1);
        open(2);                  // w3
        store().DeleteWord(A, 1); // the asked word is gone
        answer(0);
        form->CmdTamam_Click();
        QCOMPARE(active(), before);

        open(1); // w2
        store().DeleteWord(A, 0);
        answer(0);
        form->CmdOgrendim_Click();
        QCOMPARE(active(), before.mid(1));
        QVERIFY(store().words(WordListKind::Passive).isEmpty());
    }

    void messageBoxes() {
        ScriptedMsgBox box;
        open(2);
        QTest::mouseClick(the("CmdCumle"), Qt::LeftButton);
        QTest::mouseClick(the("Img"), Qt::LeftButton);
        QStringList asked;
        for (const ScriptedMsgBox::Asked& a : box.asked())
            asked.append(QStringLiteral("%1: %2 (%3)").arg(a.title, a.prompt).arg(a.style));
        QCOMPARE(asked,
                 (QStringList{"Örnek Cümle: An example with w2. (64)",
                              "Tık tık: Bana değil cevap seçeneklerine tıklayacaksın :) (64)"}));
        QVERIFY(the("LblOrtu")->isVisible() && !the("CmdTamam")->isVisible());
    }

    // Taller for each answer beyond four, and as much wider as its longest
    // answer needs, up to a limit; the cover hides every answer, and once
    // they show, each shows whole beside the others and the buttons.
    void windowFollowsItsAnswers() {
        QStringList faults;
        const auto sizeFor = [this, &faults](const QStringList& answers) {
            open(1, answers);
            for (const QString& name : answerNames())
                if (!the("LblOrtu")->geometry().contains(part<QWidget>(*form, name)->geometry()))
                    faults.append(name + " shows beside the cover");
            answer(0);
            faults += layoutFaults(*form, answerNames() +
                                              QStringList{"CmdCumle", "CmdOgrendim", "CmdTamam"});
            return form->size();
        };
        const QSize four = sizeFor({"t1", "t2", "t3", "t4"});
        QCOMPARE(sizeFor({"t1", "t2"}), four);
        const QSize five = sizeFor({"c1", "c2", "c3", "c4", "c5"});
        const QSize nine = sizeFor({"c1", "c2", "c3", "c4", "c5", "c6", "c7", "c8", "c9"});
        QCOMPARE(five.width(), four.width());
        QCOMPARE_GT(five.height(), four.height());
        QCOMPARE(nine.height() - four.height(), 5 * (five.height() - four.height()));

        const QSize longer = sizeFor({QString(25, u'm'), "t2"});
        const int more = answerLabel(0)->fontMetrics().horizontalAdvance(QString(5, u'm'));
        QCOMPARE_GT(longer.width(), four.width());
        QCOMPARE(longer.height(), four.height());
        QCOMPARE(sizeFor({QString(30, u'm'), "t2"}).width() - longer.width(), more);
        QCOMPARE(faults.join('\n'), QString());

        // An answer no window could hold: the window stops growing, on the screen.
        open(1, {QString(200, u'm'), "t2"});
        const int widest = form->width();
        open(1, {QString(400, u'm'), "t2"});
        QCOMPARE(form->width(), widest);
        QCOMPARE_LT(widest, form->screen()->availableGeometry().width());
        QCOMPARE(the("CmdTamam")->geometry().right(), the("FrmSoru")->geometry().right());
        QCOMPARE(the("ImgQuestionMark")->geometry().right(), the("LblOrtu")->geometry().right());
    }

    // The question shows whole, as typed, in the designed font (smaller when
    // long), within its balloon, whose pieces meet; nothing covers the
    // character, the question or the cover.
    void windowAndBalloonHoldTheQuestion_data() {
        QTest::addColumn<QString>("question");
        QTest::addColumn<int>("points");
        const QString emoji = QStringLiteral("\U0001F600");
        QTest::newRow("short") << "a ?" << 12;
        QTest::newRow("20 capitals") << "WORLDWIDE MOVEMENT ?" << 12;
        QTest::newRow("21 capitals") << "WORLDWIDE MOVEMENTS ?" << 8;
        QTest::newRow("20 with an emoji") << "WORLDWIDE MOVEMEN" + emoji + " ?" << 12;
        QTest::newRow("long") << "the meaning of a phrase that runs on and on ?" << 8;
        QTest::newRow("markup") << "<b>bold</b> move ?" << 12;
    }
    void windowAndBalloonHoldTheQuestion() {
        QFETCH(QString, question);
        open(1, {"t1", "t2", "t3", "t4"}, 1, question);
        const auto* asked = the<QLabel>("LblSoru");
        QCOMPARE(shownFamily(asked), QStringLiteral("Liberation Serif"));
        QTEST(QFontInfo(asked->font()).pointSize(), "points");
        QVERIFY(QFontInfo(asked->font()).bold());
        QCOMPARE(shownFamily(the("LblOrtu")), QStringLiteral("Liberation Sans"));
        QVERIFY(shownAsTyped(asked));
        for (int fit = 0; fit < 2; ++fit, form->Form_Activate()) {
            const QRect left = the("ImgBalonSol")->geometry();
            const QRect middle = the("ShpBalon")->geometry();
            const QRect right = the("ImgBalonSag")->geometry();
            QVERIFY(left.right() >= middle.left() && middle.right() >= right.left());
            QVERIFY(left.left() < asked->x() && right.left() < asked->geometry().right() &&
                    asked->geometry().right() < right.right());
            QVERIFY(left.top() <= asked->y() && asked->geometry().bottom() <= left.bottom());
            QVERIFY(form->rect().contains(inWindow(the("ImgBalonSag"))));
            QCOMPARE(layoutFaults(*form, {"Img", "LblSoru", "CmdSeslendir", "LblOrtu", "CmdCumle"})
                         .join('\n'),
                     QString());
        }
    }

    void eyeAnimationLoops() {
        open(1);
        auto* timer = the<QTimer>("TimerAnm");
        QVERIFY(timer->isActive());
        const auto frames = FormImg::instance().eyeCount();
        QList<QImage> shown;
        for (qsizetype i = 0; i < 2 * frames; ++i) {
            QMetaObject::invokeMethod(timer, "timeout");
            shown.append(the<QLabel>("ImgAnm")->pixmap().toImage());
        }
        QCOMPARE(shown.mid(frames), shown.first(frames));
        int changes = 0;
        for (qsizetype i = 1; i < frames; ++i)
            changes += shown[i] != shown[i - 1];
        QCOMPARE_GT(changes, frames / 2);
    }
};

QTEST_MAIN(TestFormSoru)
#include "tst_formsoru.moc"
