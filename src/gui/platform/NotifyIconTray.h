#pragma once

#include "platform/NotifyIcon.h"

namespace NotifyIcon {

// The layer over QSystemTrayIcon. hostDrawsMenu: the tray host shows the
// menu itself and reports only single clicks (StatusNotifierItem hosts).
std::unique_ptr<Layer> createTrayLayer(bool hostDrawsMenu);

} // namespace NotifyIcon
