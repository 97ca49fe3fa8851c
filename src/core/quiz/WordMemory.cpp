#include "quiz/WordMemory.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace Quiz {

namespace {

// FSRS-5's default parameters w0 … w18.
constexpr std::array<double, 19> w{0.40255, 1.18385, 3.173,  15.69105, 7.1949, 0.5345, 1.4604,
                                   0.0046,  1.54575, 0.1192, 1.01925,  1.9395, 0.11,   0.29605,
                                   2.2698,  0.2315,  2.9898, 0.51655,  0.6621};
// The forgetting curve R(t, S) = (1 + FACTOR · t / S)^DECAY, 0.9 at t = S.
constexpr double Decay = -0.5;
constexpr double Factor = 19.0 / 81.0;

// FSRS's grades; a question here gives only these two.
constexpr int Again = 1;
constexpr int Good = 3;

// What a word never answered is expected to be recalled with: the learner has
// met it once, when he wrote it down.
constexpr double FirstRecall = 0.5;

constexpr double MinStability = 0.01;
constexpr double MaxStability = 36500;
constexpr double MsPerDay = 86400000.0;

double clampDifficulty(double d) {
    return std::clamp(d, 1.0, 10.0);
}

double clampStability(double s) {
    return std::clamp(s, MinStability, MaxStability);
}

// D0(G) = w4 − e^(w5·(G − 1)) + 1
double initialDifficulty(int grade) {
    return clampDifficulty(w[4] - std::exp(w[5] * (grade - 1)) + 1);
}

// S0(G) = w(G−1)
double initialStability(int grade) {
    return w[grade - 1];
}

// ΔD = −w6·(G − 3), damped linearly towards 10, then reverted towards D0(4)
// by w7.
double nextDifficulty(double d, int grade) {
    const double delta = -w[6] * (grade - 3);
    const double damped = d + delta * (10 - d) / 9;
    return clampDifficulty(w[7] * initialDifficulty(4) + (1 - w[7]) * damped);
}

// S'r = S·(e^w8·(11 − D)·S^−w9·(e^(w10·(1 − R)) − 1) + 1), for "good".
double stabilityAfterRecall(double d, double s, double r) {
    return s *
           (std::exp(w[8]) * (11 - d) * std::pow(s, -w[9]) * (std::exp(w[10] * (1 - r)) - 1) + 1);
}

// S'f = w11·D^−w12·((S + 1)^w13 − 1)·e^(w14·(1 − R)), never above S.
double stabilityAfterLapse(double d, double s, double r) {
    const double f =
        w[11] * std::pow(d, -w[12]) * (std::pow(s + 1, w[13]) - 1) * std::exp(w[14] * (1 - r));
    return std::min(f, s);
}

// A second answer the same day: S' = S·e^(w17·(G − 3 + w18)).
double stabilitySameDay(double s, int grade) {
    return s * std::exp(w[17] * (grade - 3 + w[18]));
}

// Between two outcomes, weighted by how likely the first is: stability is a
// scale, so on a logarithmic one.
double blendStability(double ifRecalled, double ifNot, double p) {
    return std::exp(p * std::log(ifRecalled) + (1 - p) * std::log(ifNot));
}

} // namespace

double recallAfter(double days, double stability) {
    if (stability <= 0)
        return 0;
    return std::pow(1 + Factor * std::max(days, 0.0) / stability, Decay);
}

double recallAt(const WordMemory& memory, qint64 now, double pace) {
    if (!memory.answered())
        return 0;
    return recallAfter(static_cast<double>(now - memory.lastAnswer) / MsPerDay,
                       pace * memory.stability);
}

double recalledGivenRight(double recall, int choices) {
    if (choices < 2)
        return 1;
    const double guess = 1.0 / choices;
    // Bayes: P(recalled | right) = R / (R + (1 − R)·1/N).
    const double right = recall + (1 - recall) * guess;
    return right > 0 ? recall / right : 0;
}

void review(WordMemory& memory, const Review& answer) {
    double recalledStability, lapsedStability, recalledDifficulty, lapsedDifficulty, recall;
    if (!memory.answered()) {
        recall = FirstRecall;
        recalledStability = initialStability(Good);
        lapsedStability = initialStability(Again);
        recalledDifficulty = initialDifficulty(Good);
        lapsedDifficulty = initialDifficulty(Again);
        memory.firstAnswer = answer.moment;
    } else {
        const double s = memory.stability, d = memory.difficulty;
        recall = recallAfter(static_cast<double>(answer.moment - memory.lastAnswer) / MsPerDay, s);
        if (answer.day == memory.lastDay) {
            recalledStability = stabilitySameDay(s, Good);
            lapsedStability = stabilitySameDay(s, Again);
        } else {
            recalledStability = stabilityAfterRecall(d, s, recall);
            lapsedStability = stabilityAfterLapse(d, s, recall);
        }
        recalledDifficulty = nextDifficulty(d, Good);
        lapsedDifficulty = nextDifficulty(d, Again);
    }
    // A wrong answer shows the word forgotten; a right one, recalled or guessed.
    const double p = answer.right ? recalledGivenRight(recall, answer.choices) : 0;
    memory.stability = clampStability(
        blendStability(clampStability(recalledStability), clampStability(lapsedStability), p));
    memory.difficulty = clampDifficulty(p * recalledDifficulty + (1 - p) * lapsedDifficulty);
    memory.lastAnswer = answer.moment;
    memory.lastDay = answer.day;
    if (answer.right) {
        memory.wrongAt = 0;
        return;
    }
    memory.wrongAt = answer.moment;
    if (answer.chosen != 0) {
        memory.confusions.removeAll(answer.chosen);
        memory.confusions.prepend(answer.chosen);
        if (memory.confusions.size() > ConfusionsKept)
            memory.confusions.removeLast();
    }
}

namespace {
// The paces weighed, 15% apart: from about a hundredth of the average (step 0)
// to about nine times it.
constexpr double PaceStep = 1.15;
constexpr int AverageStep = 33;
// Before any answer, a pace far from 1 is unlikely: a prior on its logarithm,
// normal, whose weight a few dozen answers outweigh.
constexpr double PacePriorSpread = 1.5;

double paceAt(int step) {
    return std::pow(PaceStep, step - AverageStep);
}
} // namespace

Pace::Pace() {
    for (int i = 0; i < Steps; ++i) {
        const double l = std::log(paceAt(i)) / PacePriorSpread;
        logLikelihood_[i] = -l * l / 2;
    }
}

void Pace::observe(const WordMemory& before, const Review& answer) {
    if (!before.answered())
        return;
    const double days = static_cast<double>(answer.moment - before.lastAnswer) / MsPerDay;
    const double guess = answer.choices >= 2 ? 1.0 / answer.choices : 0;
    int best = 0;
    for (int i = 0; i < Steps; ++i) {
        const double recall = recallAfter(days, paceAt(i) * before.stability);
        const double right = recall + (1 - recall) * guess;
        logLikelihood_[i] += std::log(std::clamp(answer.right ? right : 1 - right, 1e-9, 1.0));
        if (logLikelihood_[i] > logLikelihood_[best])
            best = i;
    }
    factor_ = paceAt(best);
}

} // namespace Quiz
