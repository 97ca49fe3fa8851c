#pragma once

#include "words/ModVokabo.h"

#include <QWidget>

class QLabel;
class QTimer;

// The small borderless window that shows how far a load or a save of the
// word store has come. The work runs on a thread of its own; this window
// follows what the store says of it, on the UI thread, and comes up only when
// the work goes on for a while.
class FormProgress : public QWidget {
    Q_OBJECT
public:
    explicit FormProgress(QWidget* parent = nullptr);

    // Shows the loads and saves of the store that the user may wait for.
    void follow(const ModVokabo::WordStore& store);

    qint64 Max = 0;

    void begin(const QString& statusText);
    void UpdateStatus(qint64 Deger);
    void finish();

    // Width in pixels of the navy part of a bar barWidth pixels wide.
    static int filledWidth(qint64 Deger, qint64 Max, int barWidth);
    int filled() const { return filled_; }
    int barWidth() const;
    // How long work runs before the window shows.
    static constexpr int ShowAfterMs = 400;

private:
    void putUp();

    class Bar;
    QLabel* ImgLogo;
    QLabel* Label1;
    Bar* PctPrg;
    QTimer* showTimer_;
    int filled_ = -1;
};
