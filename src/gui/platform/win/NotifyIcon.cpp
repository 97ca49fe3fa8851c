#include "platform/NotifyIconTray.h"

namespace NotifyIcon {

// QSystemTrayIcon drives Shell_NotifyIcon itself and reports presses and
// double-clicks as the shell sends them.
std::unique_ptr<Layer> createLayer() {
    return createTrayLayer(false);
}

} // namespace NotifyIcon
