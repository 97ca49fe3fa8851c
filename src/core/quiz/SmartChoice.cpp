#include "quiz/SmartChoice.h"

namespace Quiz {

int chooseWord(const QList<const WordMemory*>& memories, qint64 now, double pace, int previous) {
    const int n = static_cast<int>(memories.size());
    if (n < 2)
        return n - 1;

    // Questions since a new word last came in: the words answered after it.
    qint64 newest = 0;
    for (const WordMemory* m : memories)
        if (m && m->firstAnswer > newest)
            newest = m->firstAnswer;
    int sinceNew = 0;
    int firstNew = -1, relearn = -1, due = -1, lowest = -1, waiting = -1;
    int answered = 0, dueCount = 0, mostStableDue = -1;
    double lowestRecall = 2, lowestDueRecall = 2;
    for (int i = 0; i < n; ++i) {
        const WordMemory* m = memories[i];
        if (m && m->lastAnswer > newest)
            ++sinceNew;
        if (m)
            ++answered;
        if (i == previous)
            continue;
        if (!m) {
            if (firstNew < 0)
                firstNew = i;
        } else if (m->wrongAt != 0) {
            if (now - m->wrongAt < RelearnAfterMs)
                waiting = waiting < 0 || m->wrongAt < memories[waiting]->wrongAt ? i : waiting;
            else if (relearn < 0 || m->wrongAt < memories[relearn]->wrongAt)
                relearn = i;
        } else {
            const double recall = recallAt(*m, now, pace);
            if (recall < TargetRecall) {
                ++dueCount;
                if (mostStableDue < 0 || m->stability > memories[mostStableDue]->stability)
                    mostStableDue = i;
                if (recall < lowestDueRecall) {
                    lowestDueRecall = recall;
                    due = i;
                }
            }
            if (recall < lowestRecall) {
                lowestRecall = recall;
                lowest = i;
            }
        }
    }
    // More words due than the questions keep up with: those that one question
    // keeps longest first, so that the questions hold as many as they can.
    if (dueCount * 2 > answered)
        due = mostStableDue;
    if (relearn >= 0)
        return relearn;
    if (firstNew >= 0 && (newest == 0 || sinceNew >= NewWordEvery - 1))
        return firstNew;
    // Every word but the previous one is one of these.
    return due >= 0 ? due : firstNew >= 0 ? firstNew : lowest >= 0 ? lowest : waiting;
}

} // namespace Quiz
