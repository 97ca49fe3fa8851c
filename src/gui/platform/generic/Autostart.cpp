#include "platform/Autostart.h"

// No start-up folder the program knows of: the setting is not offered.
namespace Autostart {

bool supported() {
    return false;
}

QString startupFolder() {
    return {};
}

QString linkPath(const QString&, const QString&) {
    return {};
}

LinkOutcome createShellLink(const QString&, const QString&, const QString&, const QString&) {
    return {};
}

} // namespace Autostart
