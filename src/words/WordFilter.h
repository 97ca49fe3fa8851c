#pragma once

#include <QString>
#include <QStringMatcher>
#include <QStringView>

// Finding a word as the user types: a line matches when its word or its
// meaning contains the text, whatever the case, with the Turkish pairs
// İ/i and I/ı. The foreign word is also matched by the rule of most other
// languages (I/i), so that "it" finds "It".
namespace WordFilter {

// Lower case as Turkish has it: I becomes ı, İ becomes i.
QString turkishFold(QStringView text);
// Lower case as most other languages have it: I and İ both become i.
QString plainFold(QStringView text);

// A line folded once, so that each keystroke only compares.
struct FoldedLine {
    QString word;
    QString wordPlain;
    QString meaning;
};
FoldedLine fold(QStringView word, QStringView meaning);

class Matcher {
public:
    explicit Matcher(const QString& text);
    bool isEmpty() const { return turkish_.pattern().isEmpty(); }
    bool matches(const FoldedLine& line) const;

private:
    QStringMatcher turkish_;
    QStringMatcher plain_;
};

} // namespace WordFilter
