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

// Positions run from 0 inside the program.
using WordList = QList<WordDef>;

// The two lists: the words that are asked, and the retired ones.
enum class WordListKind { Active, Passive };

// The other list: where a word of this one moves to.
constexpr WordListKind otherList(WordListKind list) {
    return list == WordListKind::Active ? WordListKind::Passive : WordListKind::Active;
}

} // namespace ModVokabo
