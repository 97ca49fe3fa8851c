#pragma once

#include "words/WordDef.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>
#include <functional>

// Words from the files learners already have: spreadsheets saved as CSV,
// tab-separated text (flashcard programs' plain-text export among them),
// KDE's KVTML 2, and this program's own word file. Nothing here touches the
// word lists: the reader gives back what it found, the planner what to add.
namespace WordImport {

enum class Format { None, Delimited, Kvtml, WordFile };

struct Entry {
    ModVokabo::WordDef word;
    // The file named the passive list (this program's own files only).
    bool passive = false;
    // Where the entry starts in the file, counted from 1.
    qint64 line = 0;
    bool operator==(const Entry&) const = default;
};

struct Problem {
    qint64 line = 0; // 0: the file as a whole
    QString reason;  // in Turkish
    bool operator==(const Problem&) const = default;
};

// Only so many unreadable lines are kept in detail; the rest are counted.
inline constexpr qsizetype MaxProblemsKept = 1000;
// A larger file is refused before it is read: the lists hold at most
// 32,767 words each, far less than this in any format.
inline constexpr qint64 MaxFileBytes = 32 * 1024 * 1024;
// The most records one list holds.
inline constexpr qsizetype MaxListSize = 32767;

struct Result {
    Format format = Format::None;
    QString formatName;   // how the preview names the format, in Turkish
    QString encodingName; // likewise, the encoding
    QList<Entry> entries;
    QList<Problem> problems; // the first MaxProblemsKept
    qint64 problemCount = 0; // all of them
    // Not empty when the file is refused as a whole; nothing is added then.
    QString refusal;
    bool cancelled = false;
};

// Told now and then how far the reading is (done of total, in any unit);
// returns false to stop it.
using Progress = std::function<bool(qint64 done, qint64 total)>;

// Reads words from a file's bytes; the name only helps to tell the format.
Result read(const QByteArray& bytes, const QString& fileName = {}, const Progress& progress = {});
// Reads a file from disk, refusing it unread when it is too large.
Result readFile(const QString& path, const Progress& progress = {});

// What one import adds: the entries not already in the lists (same word and
// same meaning), once each, as new active words with count 0, and no more
// than the active list has room for.
struct Plan {
    QList<ModVokabo::WordDef> toAdd;
    qint64 alreadyInLists = 0;
    qint64 repeatedInFile = 0;
    qint64 noRoom = 0;
};
Plan plan(const QList<Entry>& entries, const ModVokabo::WordList& active,
          const ModVokabo::WordList& passive);

// A field written in HTML as the plain text a reader sees: tags go, a line
// break or a block becomes a blank, entities become their characters.
QString htmlToPlainText(QStringView html);

} // namespace WordImport
