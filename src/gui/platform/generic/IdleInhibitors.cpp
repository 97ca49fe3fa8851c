#include "platform/UserBusy.h"

// Where no session bus can be asked (on Windows the shell's presentation
// state, watched with the full screen, covers films and talks).
std::unique_ptr<UserBusy> createIdleInhibitorWatch() {
    return nullptr;
}
