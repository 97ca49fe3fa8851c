#include "app/SaveSoon.h"

#include <QTimer>

SaveSoon::SaveSoon(ModVokabo::WordStore& words, QObject* parent)
    : QObject(parent), words_(words), timer_(new QTimer(this)) {
    timer_->setObjectName(QStringLiteral("SaveSoonTimer"));
    timer_->setSingleShot(true);
    timer_->setInterval(DelayMs);
    connect(timer_, &QTimer::timeout, this, &SaveSoon::save);
    connect(&words_, &ModVokabo::WordStore::changed, this, &SaveSoon::changed);
}

void SaveSoon::hold(bool held) {
    held_ = held;
    if (held)
        timer_->stop();
    else
        changed();
}

void SaveSoon::changed() {
    // Counted from the first unsaved change: a run of answers does not put
    // the save off.
    if (!held_ && words_.WordsChanged() && !timer_->isActive())
        timer_->start();
}

void SaveSoon::save() {
    if (held_ || !words_.WordsChanged())
        return;
    // No window comes up for it: the user is at work elsewhere.
    const ModVokabo::FileOutcome outcome = words_.SaveWordFile(
        ModVokabo::WordStore::OutsideChanges::Keep, ModVokabo::WordStore::Progress::Hidden);
    if (outcome.ok) {
        failing_ = false;
        return;
    }
    if (outcome.changedOnDisk) {
        emit fileChangedOnDisk();
        return;
    }
    if (!failing_) {
        failing_ = true;
        emit saveFailed(outcome);
    }
}
