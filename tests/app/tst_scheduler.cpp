#include "app/Scheduler.h"
#include "platform/Clock.h"
#include "settings/Settings.h"
#include "support/TestSupport.h"

#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace {
const QDateTime T0(QDate(2026, 12, 7), QTime(14, 0, 0, 250));

// A scheduler on a clock the test sets; the test plays the timer too.
struct Bench {
    FreshProgram program;
    QDateTime now = T0;
    bool asked = false;
    bool busy = false;
    QuestionScheduler scheduler{program.settings(), [this] { return asked; },
                                [this] { return busy; }};
    QSignalSpy told{&scheduler, &QuestionScheduler::questionDue};

    Bench() {
        setClock([this] { return now; });
        program.settings().LoadSettingsRecord(); // the defaults: every 5 minutes
    }
    ~Bench() { setClock(nullptr); }

    QTimer* timer() const { return scheduler.findChild<QTimer*>(QStringLiteral("wakeUp")); }
    bool asleep() const { return !timer()->isActive() && !scheduler.wakeUp().isValid(); }
    // Time passes until the timer goes off.
    void sleepThrough() {
        QVERIFY(timer()->isActive());
        QCOMPARE(timer()->interval(), int(now.msecsTo(scheduler.wakeUp())));
        now = scheduler.wakeUp();
        QMetaObject::invokeMethod(timer(), "timeout");
    }
};
} // namespace

class TestScheduler : public QObject {
    Q_OBJECT
private slots:
    // Stored moments are in UTC, whatever the local zone.
    void initTestCase() { qputenv("TZ", "<+03>-3"); }

    // The rules of the question timer's tick, unchanged; the sleeping timer
    // wakes at the first moment they hold.
    void dueRules_data() {
        QTest::addColumn<int>("sonSoru"); // seconds before now; -1: the zero date
        QTest::addColumn<int>("SorDak");
        QTest::addColumn<bool>("ElleSor");
        QTest::addColumn<int>("pause");   // seconds from now to its end; 0: none
        QTest::addColumn<qint64>("wait"); // ms; -1: never
        // now is 14:00:00.250
        QTest::newRow("zero date") << -1 << 5 << false << 0 << 0LL;
        QTest::newRow("period not over") << 60 << 5 << false << 0 << 240'750LL;
        QTest::newRow("exactly the period: the next second") << 300 << 5 << false << 0 << 750LL;
        QTest::newRow("a second past") << 301 << 5 << false << 0 << 0LL;
        QTest::newRow("off") << 3600 << 0 << false << 0 << -1LL;
        QTest::newRow("off, zero date") << -1 << 0 << false << 0 << -1LL;
        QTest::newRow("off but asked") << 0 << 0 << true << 0 << 750LL;
        QTest::newRow("asked, zero date") << -1 << 0 << true << 0 << 0LL;
        QTest::newRow("paused past the period") << 400 << 5 << false << 600 << 600'000LL;
        QTest::newRow("period ends after the pause") << 0 << 5 << false << 60 << 300'750LL;
        QTest::newRow("paused, zero date") << -1 << 5 << false << 60 << 60'000LL;
        QTest::newRow("paused, off") << 400 << 0 << false << 60 << -1LL;
        QTest::newRow("asked through a pause") << -1 << 5 << true << 600 << 0LL;
        // The request outlives a series ended at its length, not its right
        // to pass a pause.
        QTest::newRow("asked, the series over, paused") << 10 << 5 << true << 600 << 600'000LL;
    }
    void dueRules() {
        QFETCH(int, sonSoru);
        QFETCH(int, SorDak);
        QFETCH(bool, ElleSor);
        QFETCH(int, pause);
        QFETCH(qint64, wait);
        const QDateTime last = sonSoru < 0 ? QDateTime() : T0.addSecs(-sonSoru);
        const QDateTime until = pause ? T0.addSecs(pause) : QDateTime();
        const auto got = Scheduler::msUntilDue(T0, last, qint16(SorDak), ElleSor, until);
        QCOMPARE(got.value_or(-1), wait);
        if (!pause)
            QCOMPARE(Scheduler::questionDue(T0, last, qint16(SorDak), ElleSor), wait == 0);
        // One millisecond before the wake-up nothing is due, at it something is.
        if (!pause && wait > 0) {
            QVERIFY(!Scheduler::questionDue(T0.addMSecs(wait - 1), last, qint16(SorDak), ElleSor));
            QVERIFY(Scheduler::questionDue(T0.addMSecs(wait), last, qint16(SorDak), ElleSor));
        }
    }

    void sleepsUntilTheQuestionIsDue() {
        Bench bench;
        bench.scheduler.setSonSoru(T0);
        bench.scheduler.start();
        QCOMPARE(bench.scheduler.wakeUp(), QDateTime(T0.date(), QTime(14, 5, 1)));
        bench.sleepThrough();
        QCOMPARE(bench.told.size(), 1);
        // Nobody opened a question (too few words): told once, then asleep
        // until something changes.
        QVERIFY(bench.asleep());
        bench.scheduler.reconsider();
        QCOMPARE(bench.timer()->interval(), 0);
        bench.sleepThrough();
        QCOMPARE(bench.told.size(), 2);
    }

    void neverWakesWhileNothingCanComeDue() {
        Bench bench;
        bench.program.settings().store(Settings::SorDakSetting, 0);
        bench.scheduler.setSonSoru(T0);
        bench.scheduler.start();
        QVERIFY(bench.asleep());
        bench.scheduler.stop();
        bench.program.settings().store(Settings::SorDakSetting, 2);
        QVERIFY(bench.asleep());
        // Switched on again, the period counts from the last question.
        bench.scheduler.start();
        QCOMPARE(bench.scheduler.wakeUp(), QDateTime(T0.date(), QTime(14, 2, 1)));
    }

    // Suspend and resume, or the clock set by hand or by time sync: the
    // timer, which counts running time, is set again for the wall clock.
    void clockJumps_data() {
        QTest::addColumn<int>("jump"); // seconds, after a minute has passed
        QTest::addColumn<QTime>("wakeUp");
        QTest::newRow("resumed after ten minutes") << 600 << QTime(14, 11, 0, 250);
        QTest::newRow("set forward an hour") << 3600 << QTime(15, 1, 0, 250);
        QTest::newRow("set forward two minutes") << 120 << QTime(14, 5, 1);
        QTest::newRow("set back an hour") << -3600 << QTime(14, 5, 1);
    }
    void clockJumps() {
        QFETCH(int, jump);
        QFETCH(QTime, wakeUp);
        Bench bench;
        bench.scheduler.setSonSoru(T0);
        bench.scheduler.start();
        bench.now = T0.addSecs(60 + jump);
        bench.scheduler.reconsider();
        QCOMPARE(bench.scheduler.wakeUp(), QDateTime(T0.date(), wakeUp));
        QVERIFY(bench.told.isEmpty());
        bench.sleepThrough();
        QCOMPARE(bench.told.size(), 1);
    }

    // A timer that goes off early (the clock was set back meanwhile) finds
    // nothing due and sleeps again for what is left.
    void earlyWakeUpSleepsAgain() {
        Bench bench;
        bench.scheduler.setSonSoru(T0);
        bench.scheduler.start();
        bench.now = T0.addSecs(200);
        QMetaObject::invokeMethod(bench.timer(), "timeout");
        QVERIFY(bench.told.isEmpty());
        QCOMPARE(bench.scheduler.wakeUp(), QDateTime(T0.date(), QTime(14, 5, 1)));
    }

    void aBusyUserHoldsTheDueQuestion() {
        Bench bench;
        bench.busy = true;
        bench.scheduler.start();
        QVERIFY(!bench.scheduler.dueNow());
        QVERIFY(bench.asleep());
        // A series the user asked for goes on; once it is over, his
        // request no longer passes.
        bench.asked = true;
        bench.scheduler.reconsider();
        QVERIFY(bench.scheduler.dueNow());
        bench.scheduler.setSonSoru(T0.addSecs(-600));
        QVERIFY(!bench.scheduler.dueNow());
        QVERIFY(bench.asleep());
        bench.asked = false;
        bench.busy = false;
        bench.scheduler.reconsider();
        bench.sleepThrough();
        QCOMPARE(bench.told.size(), 1);
    }

    // The pause holds scheduled questions until its end, which is a
    // wake-up of its own; then it is forgotten, also in the store.
    void pauseHoldsScheduledQuestions() {
        Bench bench;
        SettingsRecord& settings = bench.program.settings();
        settings.store(Settings::SorDakSetting, 0);
        bench.scheduler.start();
        const QDateTime until(T0.date(), QTime(15, 0));
        settings.store(Settings::DuraklatSetting, until.toSecsSinceEpoch());
        QCOMPARE(Settings::readStored(Settings::DuraklatSetting.name),
                 QStringLiteral("2026-12-07T12:00:00Z"));
        QCOMPARE(bench.scheduler.wakeUp(), until);
        settings.store(Settings::SorDakSetting, 5);
        QCOMPARE(bench.scheduler.wakeUp(), until);
        // Asked for: the pause does not hold it.
        bench.asked = true;
        QVERIFY(bench.scheduler.dueNow());
        bench.asked = false;
        bench.sleepThrough();
        QCOMPARE(bench.told.size(), 1);
        QVERIFY(!settings.duraklat().isValid());
        QCOMPARE(Settings::readStored(Settings::DuraklatSetting.name), QString());
    }

    // No choice pauses beyond 08:00 of the next day: an end further away was
    // made while the clock was wrong, and goes at once, tooltip and all.
    void pauseBeyondAnyChoiceIsForgotten_data() {
        QTest::addColumn<QDateTime>("until");
        QTest::addColumn<bool>("kept");
        const QDate today = T0.date();
        QTest::newRow("tomorrow 08:00") << QDateTime(today.addDays(1), QTime(8, 0)) << true;
        QTest::newRow("tomorrow 08:01") << QDateTime(today.addDays(1), QTime(8, 1)) << false;
        QTest::newRow("two days ahead") << T0.addDays(2) << false;
        QTest::newRow("year 9999") << QDateTime(QDate(9999, 12, 31), QTime(23, 59)) << false;
    }
    void pauseBeyondAnyChoiceIsForgotten() {
        QFETCH(QDateTime, until);
        QFETCH(bool, kept);
        Bench bench;
        Settings::writeStored(Settings::DuraklatSetting.name, until.toUTC().toString(Qt::ISODate));
        bench.program.settings().LoadSettingsRecord();
        bench.scheduler.start();
        QCOMPARE(bench.program.settings().duraklat().isValid(), kept);
        QCOMPARE(Settings::readStored(Settings::DuraklatSetting.name).isEmpty(), !kept);
        QCOMPARE(bench.scheduler.wakeUp(), kept ? until : T0);
        if (kept)
            QCOMPARE(Scheduler::pausedToolTip(until, T0),
                     QStringLiteral("Sorular 8 Aralık 08:00'e kadar duraklatıldı"));
    }

    void pauseEnds_data() {
        QTest::addColumn<QTime>("now");
        QTest::addColumn<int>("pause");
        QTest::addColumn<QDateTime>("end");
        const QDate day(2026, 12, 7);
        QTest::newRow("30 dakika") << QTime(14, 0, 40) << 0 << QDateTime(day, QTime(14, 30));
        QTest::newRow("1 saat, over midnight")
            << QTime(23, 30) << 1 << QDateTime(day.addDays(1), QTime(0, 30));
        QTest::newRow("2 saat") << QTime(9, 15) << 2 << QDateTime(day, QTime(11, 15));
        QTest::newRow("evening: next morning")
            << QTime(21, 0) << 3 << QDateTime(day.addDays(1), QTime(8, 0));
        QTest::newRow("08:00: next morning")
            << QTime(8, 0) << 3 << QDateTime(day.addDays(1), QTime(8, 0));
        QTest::newRow("after midnight: this morning")
            << QTime(1, 30) << 3 << QDateTime(day, QTime(8, 0));
    }
    void pauseEnds() {
        QFETCH(QTime, now);
        QFETCH(int, pause);
        QTEST(Scheduler::pauseEnd(Scheduler::AllPauses[pause], QDateTime(QDate(2026, 12, 7), now)),
              "end");
    }

    // The suffix as the time is read aloud: its last word decides.
    void toolTipReadsLikeTurkish_data() {
        QTest::addColumn<QTime>("until");
        QTest::addColumn<QString>("tip");
        const auto row = [](int h, int m, const char* tip) {
            QTest::addRow("%s", tip) << QTime(h, m) << QString::fromUtf8(tip);
        };
        row(14, 30, "Sorular 14:30'a kadar duraklatıldı");
        row(8, 0, "Sorular 08:00'e kadar duraklatıldı");
        row(16, 0, "Sorular 16:00'ya kadar duraklatıldı");
        row(10, 0, "Sorular 10:00'a kadar duraklatıldı");
        row(9, 0, "Sorular 09:00'a kadar duraklatıldı");
        row(12, 40, "Sorular 12:40'a kadar duraklatıldı");
        row(12, 20, "Sorular 12:20'ye kadar duraklatıldı");
        row(12, 50, "Sorular 12:50'ye kadar duraklatıldı");
        row(12, 2, "Sorular 12:02'ye kadar duraklatıldı");
        row(12, 13, "Sorular 12:13'e kadar duraklatıldı");
        row(0, 0, "Sorular 00:00'a kadar duraklatıldı");
    }
    void toolTipReadsLikeTurkish() {
        QFETCH(QTime, until);
        const QDateTime at(QDate(2026, 12, 7), until);
        QTEST(Scheduler::pausedToolTip(at, at), "tip");
    }
};

QTEST_GUILESS_MAIN(TestScheduler)
#include "tst_scheduler.moc"
