#include "platform/Clock.h"

#include <random>
#include <utility>

namespace {
std::function<QDateTime()>& injectedClock() {
    static std::function<QDateTime()> c;
    return c;
}

std::mt19937_64& generator() {
    static std::mt19937_64 g;
    return g;
}

std::function<double()>& randomSource() {
    static std::function<double()> r;
    return r;
}
} // namespace

QDateTime Now() {
    return injectedClock() ? injectedClock()() : QDateTime::currentDateTime();
}

void setClock(std::function<QDateTime()> c) {
    injectedClock() = std::move(c);
}

double Rnd() {
    if (randomSource())
        return randomSource()();
    return std::uniform_real_distribution<double>(0.0, 1.0)(generator());
}

void setRandomSource(std::function<double()> source) {
    randomSource() = std::move(source);
}

void Randomize(quint64 seed) {
    generator().seed(seed);
}
