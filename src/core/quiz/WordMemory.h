#pragma once

#include <QList>
#include <QtGlobal>
#include <array>

// How well the learner holds a word, estimated from his answers with the FSRS
// model, version 5 (J. Ye and the open-spaced-repetition project, "The
// Algorithm", FSRS-5, with its published default parameters). FSRS knows
// four grades; a question here is right or wrong, and a right answer among N
// choices may be a lucky guess.
namespace Quiz {

struct WordMemory {
    // Days after which the probability of recall has fallen to 0.9; 0 for a
    // word never answered.
    double stability = 0;
    // From 1 (easy) to 10.
    double difficulty = 0;
    // Milliseconds since 1970 (UTC), and the learner's day of that answer
    // (a Julian day in his own time zone).
    qint64 firstAnswer = 0;
    qint64 lastAnswer = 0;
    qint64 lastDay = 0;
    // When the last answer was wrong; 0 once a right answer followed it.
    qint64 wrongAt = 0;
    // The words whose answers he chose for this one, by their keys in the
    // history, the latest first.
    QList<qint64> confusions;

    bool answered() const { return stability > 0; }
};

// One judged answer, as the model takes it.
struct Review {
    qint64 moment = 0; // milliseconds since 1970 (UTC)
    qint64 day = 0;    // the learner's Julian day then
    bool right = false;
    int choices = 0;
    qint64 chosen = 0; // the key of the word whose answer he chose when wrong; 0 for none
};

// The recall that a word is asked again below.
inline constexpr double TargetRecall = 0.9;
// The confusions kept for each word.
inline constexpr int ConfusionsKept = 3;

// Probability of recall after `days` for a memory of that stability.
double recallAfter(double days, double stability);
// Probability of recall at `now` (milliseconds since 1970) for a learner
// whose memories last `pace` times as long as FSRS's average; 0 for a word
// never answered.
double recallAt(const WordMemory& memory, qint64 now, double pace = 1);
// How likely a right answer among `choices` came from memory rather than a
// lucky guess, when recall was expected with probability `recall`.
double recalledGivenRight(double recall, int choices);
// The memory after one more answer.
void review(WordMemory& memory, const Review& answer);

// The learner's own pace of forgetting: how much longer (above 1) or shorter
// (below 1) his memories last than those of the average learner whom FSRS's
// default parameters describe. FSRS fits all its parameters to each learner;
// here only this one factor on every stability is, by maximum likelihood over
// his answers (a right answer counting as recall or a lucky guess), starting
// from 1.
class Pace {
public:
    Pace();
    // One more answer, with the memory as it was before it.
    void observe(const WordMemory& before, const Review& answer);
    double factor() const { return factor_; }

private:
    static constexpr int Steps = 50;
    std::array<double, Steps> logLikelihood_{};
    double factor_ = 1;
};

} // namespace Quiz
