#pragma once

#include "platform/NotifyIcon.h"

#include <QObject>
#include <QSystemTrayIcon>
#include <array>

namespace NotifyIcon {

// Follows the X11 tray (a panel that starts, ends or restarts) through the
// windowing platform's notice; other platforms give none.
class TrayWatch : public QObject {
    Q_OBJECT
public:
    explicit TrayWatch(std::function<void()> changed);

private slots:
    void trayWindowChanged();

private:
    std::function<void()> changed_;
};

// The layer over QSystemTrayIcon. hostDrawsMenu: the tray host shows the
// menu itself and reports only single clicks (StatusNotifierItem hosts), so a
// left click stands for the double-click there.
std::unique_ptr<Layer> createTrayLayer(bool hostDrawsMenu);

// The mouse messages, in the shell's order, that an activation of the icon
// stands for (0: none).
std::array<int, 3> messagesFor(QSystemTrayIcon::ActivationReason why, bool hostDrawsMenu);

} // namespace NotifyIcon
