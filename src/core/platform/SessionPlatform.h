#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>

// The Qt platform the program asks for before its application object
// exists; empty: Qt's own choice.
//
// In a Wayland session that also offers an X display (XWayland), the program
// runs on X: on Qt's Wayland platform no window can come up without taking
// the keyboard, stay on top or keep its place. A platform the user chose
// himself (QT_QPA_PLATFORM) is his to keep.
QByteArray preferredQtPlatform(const QProcessEnvironment& environment);

// The XDG base directory rules: a folder variable that holds a relative path
// is invalid and ignored. Qt would take it relative to the current folder;
// the program unsets such variables before anything reads them, so the
// defaults under the home folder apply.
void ignoreRelativeXdgFolders();

// Whether the windowing platform reports where a window is and puts it where
// it is asked to; Qt's Wayland platforms do neither.
bool platformPlacesWindows(const QString& platformName);

// The start-up notification id the desktop gave this start (DESKTOP_STARTUP_ID
// on X11, XDG_ACTIVATION_TOKEN on Wayland); empty when started without one.
// Qt takes it from the environment as the application starts: it is read
// before.
QByteArray startupNotificationId(const QProcessEnvironment& environment);
