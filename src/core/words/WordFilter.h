#pragma once

#include <QString>
#include <QStringView>
#include <vector>

// Finding a word as the user types: a line matches when its word or its
// meaning contains the text, whatever the case, with the Turkish pairs
// İ/i and I/ı. The foreign word is also matched by the rule of most other
// languages (I/i), so that "it" finds "It".
namespace WordFilter {

// Lower case as Turkish has it: I becomes ı, İ becomes i.
QString turkishFold(QStringView text);
// Lower case as most other languages have it: I and İ both become i.
QString plainFold(QStringView text);

// Whether one line's word or meaning holds text, as Index::find tells it.
bool matches(QStringView text, QStringView word, QStringView meaning);

// The lines of a list folded once into two long texts, so that a keystroke
// is one search through each instead of one per line.
class Index {
public:
    // Room for that many lines of that many characters in all; an index
    // that is cleared keeps its room for the next lines.
    void reserve(qsizetype lines, qsizetype characters);
    void add(QStringView word, QStringView meaning);
    qsizetype size() const { return static_cast<qsizetype>(turkishStarts_.size()); }
    bool isEmpty() const { return turkishStarts_.empty(); }
    void clear();

    // The lines, in order, whose word or meaning holds text.
    std::vector<int> find(QStringView text) const;

private:
    // Each line: word, a separator, meaning, a separator; no typed text
    // holds a separator, so no match runs from one field into the next.
    QString turkish_;
    // Each line: its word, a separator.
    QString plain_;
    // How much of each text is written; the rest is room.
    qsizetype turkishUsed_ = 0;
    qsizetype plainUsed_ = 0;
    std::vector<qsizetype> turkishStarts_;
    std::vector<qsizetype> plainStarts_;
};

} // namespace WordFilter
