#pragma once

#include "words/WordDef.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Writes the words for spreadsheets, flashcard programs and KDE's
// vocabulary trainers, in a form the import reads back whole: word,
// meaning, example sentence, right-answer count and list ("A" or "P").
namespace WordExport {

// Csv: UTF-8 with a byte-order mark (spreadsheets need it to tell UTF-8),
// semicolons as Turkish spreadsheets write them, a header row; a text a
// spreadsheet would take for a formula begins with an apostrophe.
// Tab: UTF-8 tab-separated text, with the "#separator:tab" lines that
// flashcard programs read.
// Kvtml: KVTML 2 with two languages, the foreign one and Turkish, and a
// lesson for each list (the counts stay behind).
enum class Format { Csv, Tab, Kvtml };

struct Section {
    const ModVokabo::WordList* words;
    QChar status; // 'A' or 'P'
};

// foreignLanguage: the words' language as a locale code ("en", "de"),
// named in the KVTML file.
QByteArray toBytes(Format format, const QList<Section>& sections,
                   const QString& foreignLanguage = QStringLiteral("en"));

// Writes the file atomically; an empty text, or the reason it failed, in
// Turkish with the system's own words.
QString save(const QString& path, const QByteArray& bytes);

} // namespace WordExport
