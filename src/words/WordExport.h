#pragma once

#include "words/WordDef.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Writes the words for spreadsheets and flashcard programs, in a form the
// import reads back whole: word, meaning, example sentence, right-answer
// count and list ("A" or "P"), one word a line.
namespace WordExport {

// Csv: UTF-8 with a byte-order mark (spreadsheets need it to tell UTF-8),
// semicolons as Turkish spreadsheets write them, a header row.
// Tab: UTF-8 tab-separated text, with the "#separator:tab" lines that
// flashcard programs read.
enum class Format { Csv, Tab };

struct Section {
    const ModVokabo::WordList* words;
    QChar status; // 'A' or 'P'
};

QByteArray toBytes(Format format, const QList<Section>& sections);

// Writes the file atomically; an empty text, or the reason it failed, in
// Turkish with the system's own words.
QString save(const QString& path, const QByteArray& bytes);

} // namespace WordExport
