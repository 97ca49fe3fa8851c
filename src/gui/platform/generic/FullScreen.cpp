#include "platform/UserBusy.h"

// Where no window system tells which window is full screen.
std::unique_ptr<UserBusy> createFullScreenWatch() {
    return nullptr;
}
