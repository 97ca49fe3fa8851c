#pragma once

#include "platform/NotifyIcon.h"

#include <QIcon>
#include <QObject>
#include <QSystemTrayIcon>
#include <memory>

class QMenu;

// One icon with a tooltip in the notification area. Changing Icon or
// ToolTip shows only after Modify. What the user does on the icon comes out
// of activated as the tray layer reports it.
class TryIcn : public QObject {
    Q_OBJECT
public:
    explicit TryIcn(QObject* parent = nullptr,
                    std::unique_ptr<NotifyIcon::Layer> layer = NotifyIcon::createLayer());
    ~TryIcn() override;

    void Modify();
    void Remove();
    void Start();
    // A message in a balloon beside the icon, once; the desktop shows it as
    // its notifications.
    void ShowBalloon(const QString& title, const QString& text);

    QIcon Icon() const { return Icon_; }
    void setIcon(const QIcon& New_Icon) { Icon_ = New_Icon; }
    QString ToolTip() const { return ToolTip_; }
    void setToolTip(const QString& New_ToolTip) { ToolTip_ = New_ToolTip; }
    // For tray hosts that draw the menu themselves.
    void setHostMenu(QMenu* menu) { hostMenu_ = menu; }

    // Whether the desktop has a notification area to hold the icon now;
    // TrayAvailabilityChanged tells when one comes or goes.
    bool TrayAvailable() const { return layer_->trayAvailable(); }

signals:
    void activated(QSystemTrayIcon::ActivationReason why);
    void TrayAvailabilityChanged();

private:
    // The tooltip as the shell's record holds it: 63 characters and the
    // terminator.
    static QString tipField(const QString& tip) { return tip.left(63); }

    NotifyIcon::Layer* layer_; // a child: it goes with the control
    QIcon Icon_;
    QString ToolTip_;
    QMenu* hostMenu_ = nullptr;
};
