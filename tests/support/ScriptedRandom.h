#pragma once

#include "platform/Clock.h"

#include <QList>
#include <QTest>

// Hands out the given random numbers in order and counts what was drawn; a
// draw beyond the script fails the test.
class ScriptedRandom {
public:
    explicit ScriptedRandom(QList<double> values = {}) : values_(std::move(values)) {
        setRandomSource([this] {
            ++drawn_;
            if (values_.isEmpty()) {
                overdrawn_ = true;
                return 0.0;
            }
            return values_.takeFirst();
        });
    }
    ~ScriptedRandom() { setRandomSource(nullptr); }
    void add(const QList<double>& more) { values_ += more; }
    int drawn() const { return drawn_; }
    int left() const { return static_cast<int>(values_.size()); }
    bool overdrawn() const { return overdrawn_; }

private:
    QList<double> values_;
    int drawn_ = 0;
    bool overdrawn_ = false;
};
