#pragma once

#include <QCollator>
#include <QLocale>

// The order of the main list: alphabetical by the line's text as a person of
// the user's language reads it, ignoring case.
class ListOrder {
public:
    explicit ListOrder(const QLocale& locale = QLocale());
    // Compared once per line rather than collated at every comparison.
    QCollatorSortKey key(const QString& line) const { return collator_.sortKey(line); }

private:
    QCollator collator_;
};
