#pragma once

#include <QList>
#include <QLocale>
#include <QString>

// A language as a Turkish reader names it ("İngilizce"); languages without a
// Turkish name here are shown in their own ("kalaallisut").
QString languageName(QLocale::Language language);

// The languages in the order of their names, as a Turkish reader sorts them.
QList<QLocale::Language> sortedByName(QList<QLocale::Language> languages);
