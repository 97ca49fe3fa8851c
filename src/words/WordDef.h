#pragma once

#include <QList>
#include <QString>

namespace ModVokabo {

struct WordDef {
    QString English;
    QString Turkish;
    QString Ornek;
    qint16 Dogru = 0; // right answers in a row
    bool operator==(const WordDef&) const = default;
};

// Positions run from 1; position i is element i - 1.
using WordList = QList<WordDef>;

} // namespace ModVokabo
