#include "app/Scheduler.h"
#include "platform/Clock.h"
#include "quiz/Quiz.h"
#include "support/ScriptedRandom.h"
#include "support/TestSupport.h"

#include <QTest>

using namespace Quiz;
using ModVokabo::WordList;

namespace {
WordList numbered(int n) {
    WordList words;
    for (int i = 1; i <= n; ++i)
        words.append(word(QStringLiteral("w%1").arg(i), QStringLiteral("t%1").arg(i),
                          QStringLiteral("o%1").arg(i), static_cast<qint16>(i)));
    return words;
}

// r such that the integer part of r × n + 1 is index.
double pick(int index, int n) {
    return (index - 0.5) / n;
}
} // namespace

class TestQuiz : public QObject {
    Q_OBJECT
private slots:
    void init() { Quiz::resetState(); }

    void drawsWordThenDirectionThenDistinctWrongAnswers();
    void directionFollowsTheNearestEvenRule();
    void tooFewWordsDrawNothing();
    void slotGivesUpAtItsHundredthTry();
    void everyWordIsAChoiceWhenThereAreExactlyEnough();
    void longQuestionsAreCut_data();
    void longQuestionsAreCut();
    void loadDraws();
    void titles();
    void countsStopAtTheSixteenBitLimit();
    void askedWordIsFoundAgainByItsTexts();
    void series_data();
    void series();
    void windowWidth_data();
    void windowWidth();
    void schedulerDueTest_data();
    void schedulerDueTest();
};

void TestQuiz::drawsWordThenDirectionThenDistinctWrongAnswers() {
    const WordList words = numbered(5);
    // Asked word 3; slot 2 hits 3 again, then 1; slot 3 hits 1, then 2; slot 4 takes 5.
    ScriptedRandom random(
        {pick(3, 5), 0.9, pick(3, 5), pick(1, 5), pick(1, 5), pick(2, 5), pick(5, 5)});
    const auto q = composeQuestion(words, 4, 1);
    QVERIFY(q);
    QCOMPARE(random.left(), 0);
    QCOMPARE(q->VokaboInd, 3);
    QCOMPARE(q->English, QStringLiteral("w3 ?"));
    QCOMPARE(q->OrnekCumle, QStringLiteral("o3"));
    QCOMPARE(q->answers, (QStringList{"t3", "t1", "t2", "t5"}));
    QVERIFY(!q->showsMeaning);
}

void TestQuiz::directionFollowsTheNearestEvenRule() {
    const WordList words = numbered(2);
    {
        ScriptedRandom random({pick(2, 2), 0.5, pick(1, 2)});
        const auto q = composeQuestion(words, 2, 2);
        QCOMPARE(q->English, QStringLiteral("w2 ?"));
    }
    {
        ScriptedRandom random({pick(2, 2), 0.5000001, pick(1, 2)});
        const auto q = composeQuestion(words, 2, 2);
        QVERIFY(q->showsMeaning);
        QCOMPARE(q->English, QStringLiteral("t2 ?"));
        QCOMPARE(q->answers, (QStringList{"w2", "w1"}));
    }
}

void TestQuiz::tooFewWordsDrawNothing() {
    ScriptedRandom random;
    QVERIFY(!composeQuestion(numbered(3), 4, 1));
    QVERIFY(!composeQuestion(WordList(), 2, 1));
    QCOMPARE(random.drawn(), 0);
}

void TestQuiz::slotGivesUpAtItsHundredthTry() {
    const WordList words = numbered(2);
    QList<double> sameWord(99, pick(1, 2));
    {
        ScriptedRandom random({pick(1, 2), 0.0});
        random.add(sameWord);
        QVERIFY(!composeQuestion(words, 2, 1));
        QCOMPARE(random.drawn(), 2 + 99);
        QVERIFY(!random.overdrawn());
    }
    {
        ScriptedRandom random({pick(1, 2), 0.0});
        random.add(sameWord.mid(0, 98));
        random.add({pick(2, 2)});
        const auto q = composeQuestion(words, 2, 1);
        QVERIFY(q);
        QCOMPARE(q->answers, (QStringList{"t1", "t2"}));
    }
}

void TestQuiz::everyWordIsAChoiceWhenThereAreExactlyEnough() {
    const WordList words = numbered(9);
    Randomize(2026);
    int composed = 0;
    for (int round = 0; round < 50; ++round) {
        const auto q = composeQuestion(words, 9, 2);
        if (!q)
            continue; // the rare give-up of a slot
        ++composed;
        QStringList sorted = q->answers;
        sorted.sort();
        QCOMPARE(sorted.removeDuplicates(), 0);
        QCOMPARE(sorted.size(), 9);
    }
    QVERIFY(composed >= 45);
}

void TestQuiz::longQuestionsAreCut_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    const QString fifty(50, u'x');
    QTest::newRow("50 stays") << fifty << fifty;
    QTest::newRow("51 is cut") << fifty + "y" << QString(47, u'x') + "...";
    QTest::newRow("short") << "ab ?"
                           << "ab ?";
    // An emoji is one character in two UTF-16 units: counted once, never cut
    // in two.
    const QString emoji = QStringLiteral("\U0001F600");
    QTest::newRow("50 with an emoji stays")
        << QString(49, u'x') + emoji << QString(49, u'x') + emoji;
    QTest::newRow("emoji as the 47th")
        << QString(46, u'x') + emoji + QString(4, u'y') << QString(46, u'x') + emoji + "...";
    QTest::newRow("emoji as the 48th")
        << QString(47, u'x') + emoji + QString(3, u'y') << QString(47, u'x') + "...";
}

void TestQuiz::longQuestionsAreCut() {
    QFETCH(QString, text);
    QTEST(shortenQuestion(text), "shown");
    if (characterCount(text) > 50)
        QCOMPARE(characterCount(shortenQuestion(text)), 50);
}

void TestQuiz::loadDraws() {
    ScriptedRandom random({0.0, 0.9999, 0.625, 0.875, 0.5});
    QCOMPARE(drawRightSlot(9), 1);
    QCOMPARE(drawRightSlot(9), 9);
    // 0.625 × 4 = 2.5 and 0.875 × 4 = 3.5: ties go to the even neighbour.
    QCOMPARE(drawCharacter(5), 2);
    QCOMPARE(drawCharacter(5), 4);
    QCOMPARE(drawCharacter(125), 62);
}

void TestQuiz::titles() {
    QCOMPARE(questionTitle(0), QStringLiteral("Yeni ya da bilemediğiniz vokabo !"));
    QCOMPARE(questionTitle(-4), QStringLiteral("Yeni ya da bilemediğiniz vokabo !"));
    QCOMPARE(questionTitle(1), QStringLiteral("Bu vokaboyi son 1 soruda bildiniz..."));
    QCOMPARE(questionTitle(32767), QStringLiteral("Bu vokaboyi son 32767 soruda bildiniz..."));
}

void TestQuiz::countsStopAtTheSixteenBitLimit() {
    QCOMPARE(nextCount(4), 5);
    QCOMPARE(nextCount(-3), -2);
    QCOMPARE(nextCount(32767), 32767);
    SoruSayac = 32767;
    endQuestion(true, 0, QDateTime::currentDateTime());
    QCOMPARE(SoruSayac, 32767);
}

void TestQuiz::askedWordIsFoundAgainByItsTexts() {
    WordList active = numbered(4);
    const auto asked = active[2];
    QCOMPARE(findAskedWord(active, 3, asked), 3);
    active.removeAt(0);
    QCOMPARE(findAskedWord(active, 3, asked), 2);
    // A word with other texts at the old place is not the asked one.
    active.insert(0, word("new", "yeni"));
    active.append(asked);
    QCOMPARE(findAskedWord(active, 2, asked), 3);
    // The count does not make a word another one.
    active[2].Dogru = 99;
    QCOMPARE(findAskedWord(active, 3, asked), 3);
    active.removeAt(2);
    active.removeLast();
    QCOMPARE(findAskedWord(active, 3, asked), std::nullopt);
    QCOMPARE(findAskedWord(WordList(), 1, asked), std::nullopt);
}

void TestQuiz::series_data() {
    QTest::addColumn<bool>("Bildi");
    QTest::addColumn<int>("sorusay");
    QTest::addColumn<int>("before");
    QTest::addColumn<bool>("elleBefore");
    QTest::addColumn<bool>("goesOn");
    QTest::addColumn<int>("after");
    QTest::addColumn<bool>("elleAfter");

    QTest::newRow("right, no limit") << true << 0 << 5 << true << true << 6 << true;
    QTest::newRow("right, limit 3 not yet") << true << 3 << 1 << false << true << 2 << false;
    QTest::newRow("right, limit 3 reached") << true << 3 << 2 << true << false << 0 << true;
    QTest::newRow("right, past the limit") << true << 3 << 5 << false << true << 6 << false;
    QTest::newRow("wrong clears the request") << false << 3 << 2 << true << false << 0 << false;
    QTest::newRow("closed unanswered") << false << 0 << 0 << false << false << 0 << false;
}

void TestQuiz::series() {
    QFETCH(bool, Bildi);
    QFETCH(int, sorusay);
    QFETCH(int, before);
    QFETCH(bool, elleBefore);
    SoruSayac = static_cast<qint16>(before);
    ElleSor = elleBefore;
    const QDateTime now(QDate(2026, 12, 6), QTime(10, 0));
    const SeriesOutcome outcome = endQuestion(Bildi, static_cast<qint16>(sorusay), now);
    QFETCH(bool, goesOn);
    QCOMPARE(!outcome.SonSoru.isValid(), goesOn);
    if (!goesOn)
        QCOMPARE(outcome.SonSoru, now);
    QTEST(int(SoruSayac), "after");
    QTEST(ElleSor, "elleAfter");
}

void TestQuiz::windowWidth_data() {
    QTest::addColumn<QList<int>>("rights");
    QTest::addColumn<double>("textWidth");
    QTest::addColumn<int>("choices");
    QTest::addColumn<int>("W");
    QTest::addColumn<bool>("widen");
    QTest::addColumn<int>("extra");

    // Label left 1200, right end 720 wide.
    QTest::newRow("short") << QList<int>{2500, 2800} << 600.0 << 4 << 3000 << false << 0;
    QTest::newRow("just below designed") << QList<int>{4014} << 0.0 << 2 << 4214 << false << 0;
    QTest::newRow("reaches designed") << QList<int>{4015} << 0.0 << 2 << 4215 << true << 0;
    QTest::newRow("long question") << QList<int>{2000} << 3000.5 << 3 << 5120 << true << 0;
    QTest::newRow("limit") << QList<int>{12000} << 0.0 << 4 << 7200 << true << 0;
    QTest::newRow("nine choices") << QList<int>{2000} << 100.0 << 9 << 2220 << false << 1200;
    QTest::newRow("five choices") << QList<int>{2000} << 100.0 << 5 << 2220 << false << 240;
}

void TestQuiz::windowWidth() {
    QFETCH(QList<int>, rights);
    QFETCH(double, textWidth);
    QFETCH(int, choices);
    const WindowFit fit = fitWindow(rights, textWidth, 1200, 720, choices);
    QTEST(fit.W, "W");
    QTEST(fit.widen, "widen");
    QTEST(fit.extraHeight, "extra");
}

void TestQuiz::schedulerDueTest_data() {
    QTest::addColumn<int>("secondsSince"); // -1: SonSoru is the zero date
    QTest::addColumn<int>("SorDak");
    QTest::addColumn<bool>("ElleSor");
    QTest::addColumn<bool>("due");

    QTest::newRow("just started") << -1 << 5 << false << true;
    QTest::newRow("exactly the period") << 300 << 5 << false << false;
    QTest::newRow("one second more") << 301 << 5 << false << true;
    QTest::newRow("well within") << 10 << 5 << false << false;
    QTest::newRow("off, nobody asked") << -1 << 0 << false << false;
    QTest::newRow("off, asked") << -1 << 0 << true << true;
    QTest::newRow("off, asked, series just ended") << 0 << 0 << true << false;
    QTest::newRow("off, asked, a second later") << 1 << 0 << true << true;
    QTest::newRow("an hour") << 3601 << 60 << false << true;
    QTest::newRow("an hour exactly") << 3600 << 60 << false << false;
}

void TestQuiz::schedulerDueTest() {
    QFETCH(int, secondsSince);
    QFETCH(int, SorDak);
    QFETCH(bool, ElleSor);
    const QDateTime now(QDate(2026, 12, 6), QTime(12, 0, 0, 900));
    const QDateTime SonSoru = secondsSince < 0 ? QDateTime() : now.addSecs(-secondsSince);
    QTEST(Scheduler::questionDue(now, SonSoru, static_cast<qint16>(SorDak), ElleSor), "due");
}

QTEST_GUILESS_MAIN(TestQuiz)
#include "tst_quiz.moc"
