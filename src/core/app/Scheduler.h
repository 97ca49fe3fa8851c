#pragma once

#include <QDateTime>
#include <QObject>
#include <functional>
#include <optional>

class QTimer;
class SettingsRecord;

namespace Scheduler {

// Whether the scheduler's tick should compose a question now: the period has
// passed since the last series ended (counted in whole seconds), or a
// question is due at once (SonSoru is the zero date); and questions are
// scheduled, or the user asked for one.
bool questionDue(const QDateTime& now, const QDateTime& SonSoru, qint16 SorDak, bool ElleSor);

// Whether the question due is one the user asked for: he asked, and his
// series goes on (SonSoru is the zero date). Once a series has ended, the
// request that may still stand never passes a pause or a busy user.
bool askedNow(const QDateTime& SonSoru, bool ElleSor);

// Milliseconds from now until the rules above say a question is due (0: it
// is due now); nullopt when none comes due however long one waits. A pause
// holds scheduled questions until its end, never those the user asked for.
std::optional<qint64> msUntilDue(const QDateTime& now, const QDateTime& SonSoru, qint16 SorDak,
                                 bool ElleSor, const QDateTime& pausedUntil);

// The choices of the tray's pause menu, in its order.
enum class Pause { HalfAnHour, AnHour, TwoHours, UntilMorning };
inline constexpr Pause AllPauses[] = {Pause::HalfAnHour, Pause::AnHour, Pause::TwoHours,
                                      Pause::UntilMorning};
QString pauseText(Pause pause);
// When a pause chosen now ends. "Until morning" ends at 08:00 of the next
// day; in the small hours (before 04:00) the night is not over yet, and it
// ends at 08:00 of the same day.
QDateTime pauseEnd(Pause pause, const QDateTime& now);
// Whether a stored pause still holds at now: it has not ended, and it ends
// no later than the longest choice made now would. An end further away was
// made while the clock was wrong (or written by hand), and is forgotten.
bool pauseHolds(const QDateTime& until, const QDateTime& now);
// "Sorular 14:30'a kadar duraklatıldı", the suffix following how the time
// is read aloud; an end on another day than now's names its day
// ("Sorular 8 Aralık 08:00'e kadar duraklatıldı").
QString pausedToolTip(const QDateTime& until, const QDateTime& now);

} // namespace Scheduler

// Opens the questions when they are due, and sleeps in between: its timer is
// set for the moment the next question comes due, and set again whenever
// something the due rules read changes. While nothing can come due it is
// not set at all.
class QuestionScheduler : public QObject {
    Q_OBJECT
public:
    // askedFor: whether the user asked for a question. userBusy: whether a
    // question that comes due now should wait (the user watches something
    // full screen, say); reconsider() once that may have changed.
    QuestionScheduler(SettingsRecord& settings, std::function<bool()> askedFor,
                      std::function<bool()> userBusy, QObject* parent = nullptr);

    // Questions may open while it runs; a stopped scheduler never wakes.
    void start();
    void stop();
    bool isRunning() const { return running_; }

    // When the last series ended; invalid: the next question is due at once.
    const QDateTime& sonSoru() const { return SonSoru; }
    void setSonSoru(const QDateTime& when);

    // Whether a question should open now.
    bool dueNow() const;
    // Reads the clock again and sets the timer anew: after the clock jumped,
    // the user stopped being busy, or the words changed.
    void reconsider();
    // The moment the timer is set for; invalid while it is not set.
    QDateTime wakeUp() const { return wakeUp_; }

signals:
    // A question is due; it is told once, and again only after something
    // changed (reconsider(), start(), a new SonSoru or setting).
    void questionDue();

private:
    void arm();
    void timeout();
    // True when a pause that no longer holds (ended, or beyond any choice)
    // is now cleared.
    bool forgetStalePause(const QDateTime& now);

    SettingsRecord& settings_;
    std::function<bool()> askedFor_;
    std::function<bool()> userBusy_;
    QTimer* timer_;
    bool running_ = false;
    // The due question was told and nothing changed since.
    bool told_ = false;
    QDateTime SonSoru;
    QDateTime wakeUp_;
};
