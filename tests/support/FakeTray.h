#pragma once

#include "platform/NotifyIcon.h"

#include <QPointer>
#include <QStringList>

// A notification area that a test puts on the desktop or takes away, what
// its host shows of the program's icon, and the user's clicks on it.
struct TrayState {
    bool available = true;
    QString toolTip;
    QStringList balloons;              // "title: text"
    QPointer<NotifyIcon::Layer> layer; // the program's end, while it lives

    void set(bool now) {
        available = now;
        if (layer)
            emit layer->trayAvailabilityChanged();
    }
    void activate(QSystemTrayIcon::ActivationReason why) {
        if (layer)
            emit layer->activated(why);
    }
};

class FakeTray : public NotifyIcon::Layer {
public:
    explicit FakeTray(TrayState* state = nullptr) : state_(state ? state : &own_) {
        state_->layer = this;
    }
    void add(const QIcon&, const QString& tip, QMenu*) override { state_->toolTip = tip; }
    void modify(const QIcon&, const QString& tip) override { state_->toolTip = tip; }
    void remove() override {}
    void showMessage(const QString& title, const QString& text) override {
        state_->balloons.append(title + ": " + text);
    }
    bool trayAvailable() const override { return state_->available; }

private:
    TrayState own_;
    TrayState* state_;
};
