#include "platform/ShutdownSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    // Only async-signal-safe work here; the event loop does the rest.
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[0], &byte, 1);
}

// Neither end is handed to programs started from this one.
bool closedOnExec(const int ends[2]) {
    return ::fcntl(ends[0], F_SETFD, FD_CLOEXEC) == 0 && ::fcntl(ends[1], F_SETFD, FD_CLOEXEC) == 0;
}

// A socket pair, or else a pipe: the handler writes one end, the event loop
// reads the other.
bool openChannel() {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) == 0)
        return closedOnExec(signalPipe);
    int ends[2];
    if (::pipe(ends) != 0)
        return false;
    signalPipe[0] = ends[1];
    signalPipe[1] = ends[0];
    return closedOnExec(ends);
}
} // namespace

bool installShutdownHandler(std::function<void()> onShutdown) {
    if (!openChannel())
        return false;
    auto* notifier =
        new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier,
                     [notifier, onShutdown = std::move(onShutdown)] {
                         char byte;
                         [[maybe_unused]] const ssize_t got = ::read(signalPipe[1], &byte, 1);
                         notifier->setEnabled(false);
                         onShutdown();
                         notifier->setEnabled(true);
                     });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    bool caught = true;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        caught &= ::sigaction(signal, &action, nullptr) == 0;
    return caught;
}
