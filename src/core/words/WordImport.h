#pragma once

#include "words/WordDef.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>
#include <optional>

// Words from the files learners already have: spreadsheets saved as CSV,
// tab-separated text (flashcard programs' plain-text export among them),
// KDE's KVTML 2, and this program's own word file. Nothing here touches the
// word lists: the reader gives back what it found, the planner what to add.
namespace WordImport {

enum class Format { None, Delimited, Kvtml, WordFile };

// How the bytes of a text file are read. Guess: UTF-8 when the lines with
// letters beyond ASCII mostly are UTF-8, else Windows-1254. A line that is
// not text in the encoding used is told as unreadable, never read as
// another encoding; so is a line that holds a NUL.
enum class Encoding { Guess, Utf8, Windows1254 };

// Which column of a CSV or tab-separated file holds what, from 0; the
// example may be missing (-1).
struct Columns {
    int word = 0;
    int meaning = 1;
    int example = 2;
    bool operator==(const Columns&) const = default;
};

// A KVTML file's two languages, by their place among its languages; the
// meaning may be the word's own hint (HintLanguage) instead.
inline constexpr int HintLanguage = -1;
struct Languages {
    int word = 0;
    int meaning = 1;
    bool operator==(const Languages&) const = default;
};

// What the learner chose in the preview; what is not given is guessed.
struct Options {
    Encoding encoding = Encoding::Guess;
    std::optional<bool> header;
    std::optional<Columns> columns;
    std::optional<Languages> languages;
};

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
    QString formatName; // how the preview names the format, in Turkish
    // The encoding the text was read in, and its name; a file whose
    // encoding is fixed (KVTML, UTF-16) cannot be read in another.
    Encoding encoding = Encoding::Utf8;
    QString encodingName;
    bool encodingFixed = false;
    QList<Entry> entries;
    QList<Problem> problems; // the first MaxProblemsKept, by line
    qint64 problemCount = 0; // all of them
    // Not empty when the file is refused as a whole; nothing is added then.
    QString refusal;
    // Something the learner should know about how the file was read.
    QString note;
    bool cancelled = false;

    // CSV and tab-separated text: the column names (the header's, or the
    // first record's texts), whether the first row was taken as a header,
    // and the columns used.
    QStringList columnNames;
    bool header = false;
    Columns columns;
    // KVTML: the names of the file's languages and the two used.
    QStringList languageNames;
    Languages languages;
    // The entries carry right-answer counts and lists: the file is this
    // program's own export or word file.
    bool hasCounts = false;
};

// Told now and then how far the reading is (done of total, in any unit);
// returns false to stop it.
using Progress = std::function<bool(qint64 done, qint64 total)>;

// Reads words from a file's bytes; the name only helps to tell the format.
Result read(const QByteArray& bytes, const QString& fileName = {}, const Options& options = {},
            const Progress& progress = {});
// Loads a file's bytes, refusing it unread when it is too large; the
// refusal, or an empty text.
QString load(const QString& path, QByteArray& bytes);
// Both: a file from disk.
Result readFile(const QString& path, const Options& options = {}, const Progress& progress = {});

// What one import adds: the entries not already in the lists (same word and
// same meaning), once each, and no more than each list has room for. With
// counts kept, an entry keeps its count and list; otherwise it becomes a
// new active word with count 0.
struct Plan {
    ModVokabo::WordList active;
    ModVokabo::WordList passive;
    qint64 alreadyInLists = 0;
    qint64 repeatedInFile = 0;
    qint64 noRoom = 0;
    qsizetype size() const { return active.size() + passive.size(); }
};
Plan plan(const QList<Entry>& entries, const ModVokabo::WordList& active,
          const ModVokabo::WordList& passive, bool keepCounts = false);

// A field written in HTML as the plain text a reader sees: tags go, a line
// break or a block becomes a blank, entities become their characters.
QString htmlToPlainText(QStringView html);

} // namespace WordImport
