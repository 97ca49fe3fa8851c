#include "words/ListOrder.h"

#include <QCollator>
#include <algorithm>
#include <vector>

void sortForDisplay(QList<ModVokabo::ListLine>& lines, const QLocale& locale) {
    // The C locale collates by code point whatever the case setting says;
    // a person reading the list still expects "apple" before "Bread".
    QCollator collator(locale.language() == QLocale::C
                           ? QLocale(QLocale::English, QLocale::UnitedStates)
                           : locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(false);
    collator.setIgnorePunctuation(false);

    // Sort keys once per line rather than collating at every comparison.
    std::vector<std::pair<QCollatorSortKey, qsizetype>> keys;
    keys.reserve(lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i)
        keys.emplace_back(collator.sortKey(lines[i].text), i);
    std::stable_sort(keys.begin(), keys.end(),
                     [](const auto& a, const auto& b) { return a.first.compare(b.first) < 0; });

    QList<ModVokabo::ListLine> sorted;
    sorted.reserve(lines.size());
    for (const auto& key : keys)
        sorted.append(std::move(lines[key.second]));
    lines = std::move(sorted);
}
