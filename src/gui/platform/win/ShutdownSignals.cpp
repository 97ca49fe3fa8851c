#include "platform/ShutdownSignals.h"

// Windows ends a GUI program through WM_QUERYENDSESSION / WM_ENDSESSION, which
// Qt turns into the session-manager requests the main window already handles.
bool installShutdownHandler(std::function<void()>) {
    return true;
}
