#pragma once

#include "words/ModVokabo.h"

#include <QList>
#include <QLocale>

// The order of the main list: alphabetical as a person of the user's language
// reads it, ignoring case.
void sortForDisplay(QList<ModVokabo::ListLine>& lines, const QLocale& locale = QLocale());
