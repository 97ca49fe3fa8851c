#pragma once

#include <QString>

// Opens a web page in the user's browser. A failure (no browser, no
// network) shows nothing: the program goes on.
void openWebPage(const QString& address);
