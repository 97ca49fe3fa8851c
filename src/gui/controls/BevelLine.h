#pragma once

#include <QLine>
#include <QWidget>

// An etched separator: a dark line with a light line one pixel beside it,
// horizontal or vertical, across the control's full length. The control keeps
// itself 140 twips thick.
class BevelLine : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int Orientation READ Orientation WRITE setOrientation)
public:
    explicit BevelLine(QWidget* parent = nullptr);

    // 0 is horizontal; any other value vertical.
    int Orientation() const { return Orientation_; }
    void setOrientation(int NewOrientation);

    // The two lines, in twips within the control.
    QLine Line1() const { return Line1_; }
    QLine Line2() const { return Line2_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void layoutLines();

    int Orientation_ = 0;
    QLine Line1_;
    QLine Line2_;
};
