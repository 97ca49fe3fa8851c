#pragma once

#include "words/ModVokabo.h"

#include <QObject>

class QTimer;

// Writes the word file a few seconds after the first change that is not
// saved yet, so that a crash, a kill or a display that dies loses at most
// those seconds. A failure is said once, when it starts; the next change
// tries again, and a save that works ends the failure.
class SaveSoon : public QObject {
    Q_OBJECT
public:
    static constexpr int DelayMs = 2000;

    explicit SaveSoon(ModVokabo::WordStore& words, QObject* parent = nullptr);

    // While held (the program ends, or waits for the user's answer about
    // the file on disk), nothing is saved here.
    void hold(bool held);

signals:
    // The first of a run of failed saves.
    void saveFailed(const ModVokabo::FileOutcome& outcome);
    // The word file was changed by another program: the save left it alone.
    void fileChangedOnDisk();

private:
    void changed();
    void save();

    ModVokabo::WordStore& words_;
    QTimer* timer_;
    bool held_ = false;
    bool failing_ = false;
};
