#include "quiz/WordMemories.h"
#include "support/ScriptedRandom.h"
#include "support/TestSupport.h"

#include <QSignalSpy>
#include <QTest>

using namespace Quiz;

namespace {
constexpr qint64 Day = 86400000;
constexpr qint64 Start = 1772438400000; // 2026-03-02 08:00 UTC
constexpr qint64 Hour = 3600000;

WordMemory afterAnswers(std::initializer_list<std::pair<double, bool>> daysAndRight, int choices) {
    WordMemory memory;
    for (const auto& [days, right] : daysAndRight) {
        const auto moment = static_cast<qint64>(days * Day);
        review(memory, {moment, moment / Day, right, choices, 0});
    }
    return memory;
}
} // namespace

class TestSmartChoice : public QObject {
    Q_OBJECT
private slots:

    // Values worked from the published FSRS-5 formulas and default weights.
    void memoryFollowsFsrs_data() {
        QTest::addColumn<WordMemory>("memory");
        QTest::addColumn<double>("stability");
        QTest::addColumn<double>("difficulty");
        const auto add = [](const char* name, const WordMemory& m, double s, double d) {
            QTest::newRow(name) << m << s << d;
        };
        // Without guessing (one choice): S0 = w2 or w0, D0(G) = w4 − e^(w5(G−1)) + 1.
        add("first right", afterAnswers({{0, true}}, 1), 3.173, 5.282434);
        add("first wrong", afterAnswers({{0, false}}, 1), 0.40255, 7.1949);
        // The second answer when recall has fallen to 0.9, S days later.
        add("right at recall 0.9", afterAnswers({{0, true}, {3.173, true}}, 1), 11.131260,
            5.272968);
        add("wrong at recall 0.9", afterAnswers({{0, true}, {3.173, false}}, 1), 1.066878,
            6.796933);
        add("right again the same day", afterAnswers({{0, true}, {0.1, true}}, 1), 4.466858,
            5.272968);
        // Among four, a first right answer is a recall with 0.5 / (0.5 + 0.5/4) = 0.8.
        add("first right of four", afterAnswers({{0, true}}, 4), 2.099617, 5.664928);
    }
    void memoryFollowsFsrs() {
        QFETCH(WordMemory, memory);
        QFETCH(double, stability);
        QFETCH(double, difficulty);
        QVERIFY2(qAbs(memory.stability - stability) < 1e-5,
                 qPrintable(QString::number(memory.stability, 'f', 6)));
        QVERIFY2(qAbs(memory.difficulty - difficulty) < 1e-5,
                 qPrintable(QString::number(memory.difficulty, 'f', 6)));
    }

    void recallFollowsTheForgettingCurve() {
        // R = (1 + 19/81 · t/S)^−0.5
        QVERIFY(qAbs(recallAfter(3.173, 3.173) - 0.9) < 1e-9);
        QVERIFY(qAbs(recallAfter(9, 1) - 0.566947) < 1e-6);
        QVERIFY(qAbs(recallAfter(30, 3.173) - 0.557470) < 1e-6);
    }

    // A history in the file, the memories read from it on their thread, and
    // the answers that come after.
    void choiceFollowsTheHistory() {
        FreshProgram program;
        ModVokabo::WordList words;
        for (int i = 0; i < 7; ++i)
            words.append(word(QStringLiteral("w%1").arg(i), QStringLiteral("t%1").arg(i)));
        program.loadWords(words);
        History::AnswerHistory& history = program.history();
        history.open();
        const auto answer = [&](int asked, qint64 at, int chosen = -1) {
            history.record({QDateTime::fromMSecsSinceEpoch(at, Qt::UTC), words[asked].English,
                            words[asked].Turkish, History::Direction::WordToMeaning, 4, chosen < 0,
                            1, 1000, false, chosen < 0 ? QString() : words[chosen].English,
                            chosen < 0 ? QString() : words[chosen].Turkish});
        };
        // Words 0 to 5 right on two days, but 2 taken for 4 on the second;
        // word 6 never asked.
        for (int day = 0; day < 2; ++day)
            for (int i = 0; i < 6; ++i)
                answer(i, Start + day * Day + i * 60000, day == 1 && i == 2 ? 4 : -1);

        WordMemories memories(history, program.words());
        QSignalSpy ready(&memories, &WordMemories::ready);
        memories.load();
        QVERIFY(ready.wait());
        QVERIFY(memories.memoryOf(words[2])->confusions.contains(History::wordKey("w4", "t4")));

        const qint64 wrongAt = Start + Day + 2 * 60000;
        // Too soon after: another word; an hour later, the same day, it comes back.
        auto q = memories.composeQuestion(wrongAt + 10 * 60000, 4, 1);
        QVERIFY(q && q->VokaboInd != 2);
        {
            // The confusion's own draw says yes: word 4's meaning is among the answers.
            ScriptedRandom random({0.0, 0.1, 0.0, 0.99});
            q = memories.composeQuestion(wrongAt + Hour + 60000, 4, 1);
            QVERIFY(q);
            QCOMPARE(q->VokaboInd, 2);
            QVERIFY(q->answers.contains(QStringLiteral("t4")));
        }
        // Weeks later every word is due, 2 first of all: but not twice in a
        // row, and after five words answered since the last new one, the new
        // word comes in.
        q = memories.composeQuestion(wrongAt + 20 * Day, 4, 1);
        QVERIFY(q);
        QCOMPARE(q->VokaboInd, 6);

        // Answers judged from now on count at once: 0 wrong comes back an
        // hour after; 2, answered right since, does not.
        answer(0, wrongAt + Hour + 3 * 60000, 1);
        answer(2, wrongAt + Hour + 4 * 60000);
        q = memories.composeQuestion(wrongAt + 2 * Hour + 5 * 60000, 4, 1);
        QVERIFY(q);
        QCOMPARE(q->VokaboInd, 0);
    }
};

QTEST_GUILESS_MAIN(TestSmartChoice)
#include "tst_smartchoice.moc"
