#include "app/SaveSoon.h"

#include <QTimer>
#include <algorithm>
#include <utility>

SaveSoon::SaveSoon(ModVokabo::WordStore& words, QObject* parent)
    : QObject(parent), words_(words), timer_(new QTimer(this)) {
    timer_->setObjectName(QStringLiteral("SaveSoonTimer"));
    timer_->setSingleShot(true);
    timer_->setInterval(DelayMs);
    connect(timer_, &QTimer::timeout, this, &SaveSoon::save);
    connect(&words_, &ModVokabo::WordStore::changed, this, &SaveSoon::changed);
    // A save put off by a file that only seemed changed goes ahead.
    connect(&words_, &ModVokabo::WordStore::diskAsSeen, this, &SaveSoon::changed);
    connect(&words_, &ModVokabo::WordStore::saved, this, &SaveSoon::saved);
}

void SaveSoon::hold(bool held) {
    held_ = held;
    if (held)
        timer_->stop();
    else
        changed();
}

void SaveSoon::changed() {
    // Counted from the first unsaved change, or from the last failure: a run
    // of answers does not put the save off, nor bring the next try closer.
    if (!held_ && !saving_ && words_.WordsChanged() && !timer_->isActive())
        timer_->start();
}

void SaveSoon::save() {
    if (held_ || saving_ || !words_.WordsChanged())
        return;
    // No window comes up for it: the user is at work elsewhere. A save done
    // within a moment is waited for; a longer one lets the user go on.
    saving_ = words_.saveInBackground(ModVokabo::WordStore::OutsideChanges::Keep,
                                      ModVokabo::WordStore::Progress::Hidden);
    words_.finishFileWork(WaitMs);
}

void SaveSoon::saved(quint64 save, const ModVokabo::FileOutcome& outcome) {
    if (saving_ == 0 || save != saving_)
        return;
    saving_ = 0;
    if (outcome.ok) {
        timer_->setInterval(DelayMs);
        if (std::exchange(failures_, 0) > 0)
            emit saveWorkedAgain();
        // A change made while the file was written.
        changed();
        return;
    }
    if (outcome.changedOnDisk) {
        emit fileChangedOnDisk();
        return;
    }
    if (failures_ == 0)
        emit saveFailed(outcome);
    timer_->setInterval(RetryMs[std::min<std::size_t>(failures_, RetryMs.size() - 1)]);
    ++failures_;
    // A file that can never be written is not tried again by itself.
    if (outcome.retryMayHelp)
        timer_->start();
}
