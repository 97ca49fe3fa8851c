#include "platform/Clock.h"
#include "quiz/Quiz.h"
#include "support/ScriptedRandom.h"
#include "support/TestSupport.h"

#include <QSet>
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

    void drawsWordThenDirectionThenDistinctWrongAnswers() {
        // Asked word 3; slot 2 hits 3 again, then 1; slot 3 hits 1, then 2; slot 4 takes 5.
        ScriptedRandom random(
            {pick(3, 5), 0.9, pick(3, 5), pick(1, 5), pick(1, 5), pick(2, 5), pick(5, 5)});
        const auto q = composeQuestion(numbered(5), 4, 1);
        QVERIFY(q);
        QCOMPARE(random.left(), 0);
        QCOMPARE(q->VokaboInd, 2); // the third word
        QCOMPARE(q->text, QStringLiteral("w3 ?"));
        QCOMPARE(q->OrnekCumle, QStringLiteral("o3"));
        QCOMPARE(q->answers, (QStringList{"t3", "t1", "t2", "t5"}));
        QVERIFY(!q->showsMeaning);
    }

    void directionFollowsTheNearestEvenRule() {
        // 0.5 rounds to 0 (word to meaning); just above it, to 1.
        ScriptedRandom random({pick(2, 2), 0.5, pick(1, 2), pick(2, 2), 0.5000001, pick(1, 2)});
        QCOMPARE(composeQuestion(numbered(2), 2, 2)->text, QStringLiteral("w2 ?"));
        const auto q = composeQuestion(numbered(2), 2, 2);
        QVERIFY(q->showsMeaning);
        QCOMPARE(q->text, QStringLiteral("t2 ?"));
        QCOMPARE(q->answers, (QStringList{"w2", "w1"}));
    }

    void slotGivesUpAtItsHundredthTry() {
        const QList<double> sameWord(99, pick(1, 2));
        {
            ScriptedRandom random({pick(1, 2), 0.0});
            random.add(sameWord);
            QVERIFY(!composeQuestion(numbered(2), 2, 1));
            QCOMPARE(random.drawn(), 2 + 99);
            QVERIFY(!random.overdrawn());
        }
        ScriptedRandom random({pick(1, 2), 0.0});
        random.add(sameWord.mid(0, 98) + QList<double>{pick(2, 2)});
        const auto q = composeQuestion(numbered(2), 2, 1);
        QVERIFY(q);
        QCOMPARE(q->answers, (QStringList{"t1", "t2"}));
    }

    void everyWordIsAChoiceWhenThereAreExactlyEnough() {
        Randomize(2026);
        int composed = 0;
        for (int round = 0; round < 50; ++round)
            if (const auto q = composeQuestion(numbered(9), 9, 2)) { // a slot may rarely give up
                ++composed;
                QCOMPARE(QSet<QString>(q->answers.begin(), q->answers.end()).size(), 9);
            }
        QVERIFY(composed >= 45);
    }

    void longQuestionsAreCut_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        const QString x46(46, u'x');
        // An emoji is one character in two UTF-16 units: counted once, never cut in two.
        const QString emoji = QStringLiteral("\U0001F600");
        QTest::newRow("50 stays") << x46 + "xxxx" << x46 + "xxxx";
        QTest::newRow("51 is cut") << x46 + "xxxxy" << x46 + "x...";
        QTest::newRow("50 with an emoji stays") << x46 + "xxx" + emoji << x46 + "xxx" + emoji;
        QTest::newRow("emoji as the 47th") << x46 + emoji + "yyyy" << x46 + emoji + "...";
        QTest::newRow("emoji as the 48th") << x46 + "x" + emoji + "yyy" << x46 + "x...";
    }
    void longQuestionsAreCut() {
        QFETCH(QString, text);
        QTEST(shortenQuestion(text), "shown");
    }

    void loadDrawsTitlesAndCounts() {
        ScriptedRandom random({0.0, 0.9999, 0.625, 0.875, 0.5});
        QCOMPARE(drawRightSlot(9), 1);
        QCOMPARE(drawRightSlot(9), 9);
        // 0.625 × 4 = 2.5 and 0.875 × 4 = 3.5: ties go to the even neighbour.
        QCOMPARE(drawCharacter(5), 2);
        QCOMPARE(drawCharacter(5), 4);
        QCOMPARE(drawCharacter(125), 62);

        QCOMPARE(questionTitle(-4), QStringLiteral("Yeni ya da bilemediğiniz vokabo !"));

        QCOMPARE(nextCount(-3), -2);
        QCOMPARE(nextCount(32767), 32767);
        Series series{32767, false};
        endQuestion(series, true, 0, QDateTime::currentDateTime());
        QCOMPARE(series.SoruSayac, 32767);
    }

    void askedWordIsFoundAgainByItsTexts() {
        WordList active = numbered(4);
        const auto asked = active[2];
        active.insert(0, word("new", "yeni")); // another word at the old place
        active.append(asked);
        QCOMPARE(findAskedWord(active, 2, asked), 3);
        active[3].Dogru = 99; // the count does not make a word another one
        QCOMPARE(findAskedWord(active, 3, asked), 3);
        active.removeAt(3);
        active.removeLast();
        QCOMPARE(findAskedWord(active, 2, asked), std::nullopt);
    }
};

QTEST_GUILESS_MAIN(TestQuiz)
#include "tst_quiz.moc"
