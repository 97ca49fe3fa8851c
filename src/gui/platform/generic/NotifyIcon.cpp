#include "platform/NotifyIconTray.h"

namespace NotifyIcon {

// Without a session bus there is no StatusNotifierItem host to ask about:
// the tray reports presses and double-clicks itself.
std::unique_ptr<Layer> createLayer() {
    return createTrayLayer(false);
}

} // namespace NotifyIcon
