#pragma once

#include "quiz/WordMemory.h"

#include <QList>

// Choosing the asked word by what the learner's answers show he holds,
// instead of blindly.
namespace Quiz {

// A word never answered comes in at least every NewWordEvery questions, and
// whenever no answered word needs asking.
inline constexpr int NewWordEvery = 6;
// A word answered wrong comes back this long after (milliseconds), before any
// other.
inline constexpr qint64 RelearnAfterMs = 60 * 60 * 1000;

// Which active word to ask at `now` (milliseconds since 1970): each word's
// memory in the list's order, null for a word never answered; pace: the
// learner's (Pace::factor); previous: the word asked last, never asked again
// at once while there are two or more (-1 for none). In this order:
//   - a word answered wrong at least RelearnAfterMs ago, the one wrong
//     longest ago first;
//   - a new word, when one is due by the steady rate;
//   - a word whose recall has fallen below the target: the one with the
//     lowest recall first; when more than half the answered words are below
//     it (more words than the questions keep up with), the most stable one
//     first, the word that one question keeps longest;
//   - a new word;
//   - the word with the lowest recall, a word answered wrong last of all.
// -1 only for an empty list.
int chooseWord(const QList<const WordMemory*>& memories, qint64 now, double pace, int previous);

} // namespace Quiz
