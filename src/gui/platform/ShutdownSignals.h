#pragma once

#include <functional>

// Runs onShutdown on the event loop when the system asks the program to end
// (SIGTERM, SIGINT and the like), so that the normal shut-down saves the words.
// False when the requests cannot be caught: they then end the program at once.
bool installShutdownHandler(std::function<void()> onShutdown);
