#pragma once

#include <QDateTime>
#include <functional>

// The program's clock and its one random source, both replaceable so that
// tests never sleep and never guess.
QDateTime Now();
void setClock(std::function<QDateTime()> clock);

// Uniform in [0, 1).
double Rnd();
void setRandomSource(std::function<double()> source);
// Seeds the built-in generator; used once at start-up.
void Randomize(quint64 seed);
