#pragma once

#include "words/ModVokabo.h"

#include <QObject>
#include <array>

class QTimer;

// Writes the word file a few seconds after the first change that is not
// saved yet, so that a crash, a kill or a display that dies loses at most
// those seconds. A failure is said once, when it starts; the save is tried
// again after a while, and again after longer and longer whiles, with or
// without another change, until it works, which ends the failure.
class SaveSoon : public QObject {
    Q_OBJECT
public:
    static constexpr int DelayMs = 2000;
    // How long each try after a failed save waits; the last holds from then on.
    static constexpr std::array<int, 3> RetryMs{5000, 30000, 120000};
    // How long the UI thread waits for a save to end before it goes on; the
    // save ends in the background then.
    static constexpr int WaitMs = 400;

    explicit SaveSoon(ModVokabo::WordStore& words, QObject* parent = nullptr);

    // While held (the program ends, or waits for the user's answer about
    // the file on disk), nothing is saved here.
    void hold(bool held);

signals:
    // The first of a run of failed saves.
    void saveFailed(const ModVokabo::FileOutcome& outcome);
    // A save worked after saveFailed.
    void saveWorkedAgain();
    // The word file was changed by another program: the save left it alone.
    void fileChangedOnDisk();

private:
    void changed();
    void save();
    void saved(quint64 save, const ModVokabo::FileOutcome& outcome);

    ModVokabo::WordStore& words_;
    QTimer* timer_;
    bool held_ = false;
    int failures_ = 0;
    // The number of this saver's save under way, or 0.
    quint64 saving_ = 0;
};
