#pragma once

#include "platform/NotifyIcon.h"

#include <QIcon>
#include <QObject>
#include <memory>

class QMenu;

// One icon with a tooltip in the notification area; a button pressed on it
// comes out as MouseDown, a double-click as DblClick (with the button: 1
// left, 2 right). Changing Icon or ToolTip shows only after Modify.
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

    const NotifyIcon::Data& record() const { return nid_; }

    // Whether the desktop has a notification area to hold the icon now;
    // TrayAvailabilityChanged tells when one comes or goes.
    bool TrayAvailable() const { return layer_->trayAvailable(); }

    // The tooltip as the record holds it: cut to leave room for the terminator.
    static QString tipField(const QString& tip);

signals:
    void MouseDown(int Button);
    void DblClick(int Button);
    void TrayAvailabilityChanged();

private:
    // The shell's notification, carrying the mouse message number.
    void picArea_MouseMove(int message);

    std::unique_ptr<NotifyIcon::Layer> layer_;
    NotifyIcon::Data nid_;
    QIcon Icon_;
    QString ToolTip_;
    QMenu* hostMenu_ = nullptr;
};
