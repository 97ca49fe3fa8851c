#pragma once

#include <QIcon>
#include <QObject>
#include <QString>
#include <QSystemTrayIcon>
#include <memory>

class QMenu;

namespace NotifyIcon {

// The notification-area service: one icon with a tooltip, balloons beside
// it, and what the user does on the icon in QSystemTrayIcon's own terms.
// Changes and balloons before add() or after remove() show nothing.
class Layer : public QObject {
    Q_OBJECT
public:
    // Hosts that draw the menu themselves (StatusNotifierItem) get hostMenu;
    // elsewhere the owner opens it on Context.
    virtual void add(const QIcon& icon, const QString& toolTip, QMenu* hostMenu) = 0;
    virtual void modify(const QIcon& icon, const QString& toolTip) = 0;
    virtual void remove() = 0;
    virtual void showMessage(const QString& title, const QString& text) = 0;
    // Whether a notification area is there to hold the icon (the Windows
    // shell always has one; many Linux desktops have none).
    virtual bool trayAvailable() const { return true; }

signals:
    // Trigger is a single left click, Context the right button, DoubleClick
    // a left double-click; hosts that never report a double-click send
    // their left click as DoubleClick.
    void activated(QSystemTrayIcon::ActivationReason why);
    // A notification area came or went.
    void trayAvailabilityChanged();
};

std::unique_ptr<Layer> createLayer();

} // namespace NotifyIcon
