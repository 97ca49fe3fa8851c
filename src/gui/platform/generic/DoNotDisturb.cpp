#include "platform/UserBusy.h"

// Where no notification service can be asked (on Windows the shell's
// notification state, watched with the full screen, covers quiet hours).
std::unique_ptr<UserBusy> createDoNotDisturbWatch() {
    return nullptr;
}
