#pragma once

#include <QObject>
#include <memory>
#include <vector>

// Whether the user is busy with something a question must not break into:
// the active window is full screen (a video call, a presentation, a game),
// a program keeps the screen from dimming (a film, a talk), or the
// desktop's "do not disturb" is on. Asked when a question comes due;
// changed() tells that the answer may be another now.
class UserBusy : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    virtual bool busy() = 0;

signals:
    void changed();
};

// A watch that hears its answers some time after it asks: until the first
// one comes it counts as busy, for a couple of seconds at most, so that a
// question due at start-up waits for what the desktop says, and nothing
// waits for the desktop to say it.
class AnsweredWatch : public UserBusy {
    Q_OBJECT
public:
    AnsweredWatch();
    bool busy() override { return waiting_ || busy_; }

protected:
    // Each answer heard, the first one included.
    void answer(bool busy);

private:
    bool busy_ = false;
    bool waiting_ = true;
};

// Busy while any of its watches says so.
class AnyBusy : public UserBusy {
    Q_OBJECT
public:
    explicit AnyBusy(std::vector<std::unique_ptr<UserBusy>> watches);
    bool busy() override;

private:
    std::vector<std::unique_ptr<UserBusy>> watches_;
};

// What this desktop can tell, each nullptr where it cannot.
std::unique_ptr<UserBusy> createFullScreenWatch();
std::unique_ptr<UserBusy> createDoNotDisturbWatch();
std::unique_ptr<UserBusy> createIdleInhibitorWatch();
// All together.
std::unique_ptr<UserBusy> createUserBusy();
