#include "app/Scheduler.h"

#include "platform/Clock.h"
#include "settings/Settings.h"

#include <QLocale>
#include <QTimer>
#include <algorithm>
#include <limits>

namespace Scheduler {

bool questionDue(const QDateTime& now, const QDateTime& SonSoru, qint16 SorDak, bool ElleSor) {
    const bool periodOver =
        !SonSoru.isValid() ||
        now.toSecsSinceEpoch() > SonSoru.toSecsSinceEpoch() + qint64(SorDak) * 60;
    if (!periodOver)
        return false;
    return SorDak != 0 || ElleSor;
}

bool askedNow(const QDateTime& SonSoru, bool ElleSor) {
    return ElleSor && !SonSoru.isValid();
}

std::optional<qint64> msUntilDue(const QDateTime& now, const QDateTime& SonSoru, qint16 SorDak,
                                 bool ElleSor, const QDateTime& pausedUntil) {
    if (SorDak == 0 && !ElleSor)
        return std::nullopt;
    // The period is over in the first whole second after it.
    qint64 due = SonSoru.isValid() ? (SonSoru.toSecsSinceEpoch() + qint64(SorDak) * 60 + 1) * 1000
                                   : std::numeric_limits<qint64>::min();
    if (!askedNow(SonSoru, ElleSor) && pausedUntil.isValid())
        due = std::max(due, pausedUntil.toMSecsSinceEpoch());
    return std::max<qint64>(0, due - std::min(due, now.toMSecsSinceEpoch()));
}

QString pauseText(Pause pause) {
    switch (pause) {
    case Pause::HalfAnHour:
        return QStringLiteral("30 dakika");
    case Pause::AnHour:
        return QStringLiteral("1 saat");
    case Pause::TwoHours:
        return QStringLiteral("2 saat");
    case Pause::UntilMorning:
        break;
    }
    return QStringLiteral("Yarın sabaha kadar");
}

QDateTime pauseEnd(Pause pause, const QDateTime& now) {
    // Whole minutes, so that the time the tooltip names is the time it ends.
    const QDateTime minute(now.date(), QTime(now.time().hour(), now.time().minute()));
    switch (pause) {
    case Pause::HalfAnHour:
        return minute.addSecs(30 * 60);
    case Pause::AnHour:
        return minute.addSecs(60 * 60);
    case Pause::TwoHours:
        return minute.addSecs(2 * 60 * 60);
    case Pause::UntilMorning:
        break;
    }
    const QDate day = now.time() < QTime(4, 0) ? now.date() : now.date().addDays(1);
    return QDateTime(day, QTime(8, 0));
}

bool pauseHolds(const QDateTime& until, const QDateTime& now) {
    return until > now && until <= pauseEnd(Pause::UntilMorning, now);
}

namespace {
// The dative suffix after a number from 0 to 59 read aloud: it follows the
// last word ("otuz" → 'a, "iki" → 'ye).
QString dativeSuffix(int n) {
    static const char* const ones[10] = {"'a", "'e",  "'ye", "'e", "'e",
                                         "'e", "'ya", "'ye", "'e", "'a"};
    // sıfır, on, yirmi, otuz, kırk, elli
    static const char* const tens[6] = {"'a", "'a", "'ye", "'a", "'a", "'ye"};
    return QString::fromLatin1(n % 10 != 0 ? ones[n % 10] : tens[n / 10]);
}
} // namespace

QString pausedToolTip(const QDateTime& until, const QDateTime& now) {
    const QDateTime local = until.toLocalTime();
    const QTime at = local.time();
    const QString suffix = dativeSuffix(at.minute() != 0 ? at.minute() : at.hour() % 60);
    // The day as a date, never as "yarın": the tooltip stays true after
    // midnight.
    const QString day =
        local.date() == now.toLocalTime().date()
            ? QString()
            : QLocale(QLocale::Turkish).toString(local.date(), QStringLiteral("d MMMM "));
    return QStringLiteral("Sorular %1%2%3 kadar duraklatıldı")
        .arg(day, at.toString(QStringLiteral("HH:mm")), suffix);
}

} // namespace Scheduler

QuestionScheduler::QuestionScheduler(SettingsRecord& settings, std::function<bool()> askedFor,
                                     std::function<bool()> userBusy, QObject* parent)
    : QObject(parent), settings_(settings), askedFor_(std::move(askedFor)),
      userBusy_(std::move(userBusy)), timer_(new QTimer(this)) {
    setObjectName(QStringLiteral("QuestionScheduler"));
    timer_->setObjectName(QStringLiteral("wakeUp"));
    timer_->setSingleShot(true);
    // A coarse timer may come seconds early on long intervals.
    timer_->setTimerType(Qt::PreciseTimer);
    connect(timer_, &QTimer::timeout, this, &QuestionScheduler::timeout);
    connect(&settings_, &SettingsRecord::changed, this, [this](const Settings::Setting* setting) {
        if (setting == &Settings::SorDakSetting || setting == &Settings::DuraklatSetting)
            reconsider();
    });
}

void QuestionScheduler::start() {
    running_ = true;
    reconsider();
}

void QuestionScheduler::stop() {
    running_ = false;
    arm();
}

void QuestionScheduler::setSonSoru(const QDateTime& when) {
    SonSoru = when;
    reconsider();
}

bool QuestionScheduler::dueNow() const {
    const bool asked = askedFor_();
    return Scheduler::msUntilDue(Now(), SonSoru, settings_.SorDak(), asked, settings_.duraklat()) ==
               0 &&
           (Scheduler::askedNow(SonSoru, asked) || !userBusy_());
}

void QuestionScheduler::reconsider() {
    told_ = false;
    arm();
}

bool QuestionScheduler::forgetStalePause(const QDateTime& now) {
    const QDateTime paused = settings_.duraklat();
    if (!paused.isValid() || Scheduler::pauseHolds(paused, now))
        return false;
    // The settings' signal sets the timer again.
    settings_.store(Settings::DuraklatSetting, 0);
    return true;
}

void QuestionScheduler::arm() {
    timer_->stop();
    wakeUp_ = QDateTime();
    const QDateTime now = Now();
    if (forgetStalePause(now))
        return;
    const QDateTime paused = settings_.duraklat();
    constexpr qint64 Never = std::numeric_limits<qint64>::max();
    qint64 wait = Never;
    if (running_) {
        const bool asked = askedFor_();
        const std::optional<qint64> due =
            Scheduler::msUntilDue(now, SonSoru, settings_.SorDak(), asked, paused);
        // A due question that was told, or that waits for the user, waits
        // for reconsider().
        if (due && !(*due == 0 && (told_ || (!Scheduler::askedNow(SonSoru, asked) && userBusy_()))))
            wait = *due;
    }
    // The end of a pause is a moment to wake for too: its tooltip goes.
    if (paused.isValid())
        wait = std::min(wait, now.msecsTo(paused));
    if (wait == Never)
        return;
    const qint64 ms = std::min<qint64>(wait, std::numeric_limits<int>::max());
    wakeUp_ = now.addMSecs(ms);
    timer_->start(static_cast<int>(ms));
}

void QuestionScheduler::timeout() {
    wakeUp_ = QDateTime();
    forgetStalePause(Now());
    if (running_ && dueNow()) {
        told_ = true;
        emit questionDue();
        // Whoever opened the question stopped the scheduler; else it sleeps
        // until something changes.
        if (running_)
            arm();
        return;
    }
    arm();
}
