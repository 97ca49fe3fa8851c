#pragma once

#include <QString>

// Starting the program when the user logs on: an entry in the user's start-up
// folder that runs the program.
namespace Autostart {

// Whether this system starts programs at logon from such an entry; where it
// does not, the setting is not offered.
bool supported();

// The user's start-up folder; empty when the system names none.
QString startupFolder();

// The file of the entry named linkName in folder.
QString linkPath(const QString& folder, const QString& linkName);

struct LinkOutcome {
    bool ok = false;
    // The system's number for what went wrong; 0 when it gave none.
    int errorNumber = 0;
};

// Creates the entry named linkName in folder (and the folder when it is
// missing), replacing one that is there; the entry starts target with
// arguments.
LinkOutcome createShellLink(const QString& folder, const QString& linkName, const QString& target,
                            const QString& arguments);

} // namespace Autostart
