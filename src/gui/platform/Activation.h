#pragma once

#include <QByteArray>
#include <functional>

class QWidget;

// Before a window is brought forward for a user who asked for it somewhere
// else (he started the program again), the desktop is told that he did:
// the start-up notification id of his request goes on the window, and the
// program's idea of "now" is brought up to the moment of asking, so that a
// desktop that guards the keyboard against windows coming up unasked (GNOME
// Shell, KWin) lets this one through. Then bringForward runs; it restores,
// shows, raises and activates the window the ordinary way.
void prepareActivation(QWidget* window, const QByteArray& startupId,
                       std::function<void()> bringForward);
