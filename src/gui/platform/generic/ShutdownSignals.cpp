#include "platform/ShutdownSignals.h"

// No way here to turn the system's request to end into a call on the event
// loop: such a request ends the program at once, and the words are only as
// safe as the last save.
bool installShutdownHandler(std::function<void()>) {
    return false;
}
