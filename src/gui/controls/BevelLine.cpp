#include "controls/BevelLine.h"

#include "platform/Twips.h"

#include <QPainter>
#include <algorithm>

namespace {
constexpr int Thickness = 140; // twips
constexpr int DarkOffset = 60; // twips from the control's edge
constexpr int LightOffset = DarkOffset + TwipsPerPixel;

// A line one pixel thick, from its first end to its last.
QRect pixelsOf(const QLine& twips) {
    const QPoint from(twipsToPixels(twips.x1()), twipsToPixels(twips.y1()));
    const QPoint to(twipsToPixels(twips.x2()), twipsToPixels(twips.y2()));
    return QRect(from, QSize(std::max(1, to.x() - from.x()), std::max(1, to.y() - from.y())));
}
} // namespace

BevelLine::BevelLine(QWidget* parent) : QWidget(parent) {
    layoutLines();
}

void BevelLine::setOrientation(int NewOrientation) {
    Orientation_ = NewOrientation;
    layoutLines();
}

void BevelLine::layoutLines() {
    const int W = pixelsToTwips(width());
    const int H = pixelsToTwips(height());
    if (Orientation_ == 0) {
        Line1_ = QLine(0, DarkOffset, W, DarkOffset);
        Line2_ = QLine(Line1_.x1(), LightOffset, Line1_.x2(), LightOffset);
        resize(width(), twipsToPixels(Thickness));
    } else {
        Line1_ = QLine(DarkOffset, 0, DarkOffset, H);
        Line2_ = QLine(LightOffset, Line1_.y1(), LightOffset, Line1_.y2());
        resize(twipsToPixels(Thickness), height());
    }
    update();
}

void BevelLine::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutLines();
}

void BevelLine::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    layoutLines();
}

void BevelLine::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // The button shadow and the window background of the system's colours.
    painter.fillRect(pixelsOf(Line1_), palette().color(QPalette::Dark));
    painter.fillRect(pixelsOf(Line2_), palette().color(QPalette::Base));
}
