#pragma once

#include "words/ModVokabo.h"

#include <QWidget>

class QLabel;

// The small borderless window that shows how far a load or a save has come.
// It repaints only when the bar it shows has really changed, and at most at
// the screen's pace, so that a large word file is not slowed down by its own
// progress bar.
class FormProgress : public QWidget, public ModVokabo::ProgressView {
    Q_OBJECT
public:
    explicit FormProgress(QWidget* parent = nullptr);

    qint64 Max = 0;

    void begin(const QString& statusText, qint64 max) override;
    void setMax(qint64 max) override { Max = max; }
    qint64 max() const override { return Max; }
    void UpdateStatus(qint64 Deger) override;
    void finish() override;

    // Width in pixels of the navy part of a bar barWidth pixels wide.
    static int filledWidth(qint64 Deger, qint64 Max, int barWidth);
    int filled() const { return filled_; }
    int repaintCount() const { return repaints_; }
    int barWidth() const;
    // How long work runs before the window shows.
    static constexpr int ShowAfterMs = 400;

private:
    // Shows the window once the work has run long enough; true when it shows.
    bool putUp();

    class Bar;
    QLabel* ImgLogo;
    QLabel* Label1;
    Bar* PctPrg;
    static constexpr int MinRepaintMs = 16;
    qint64 lastRepaintMs_ = 0; // by the program's clock, which tests set
    qint64 begunMs_ = 0;
    int waiting_ = -1; // a width not shown yet for want of time
    int filled_ = -1;
    int repaints_ = 0;
};
