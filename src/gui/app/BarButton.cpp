#include "app/BarButton.h"

#include <QMouseEvent>
#include <QPainter>

namespace {
const QColor RestingColour(215, 217, 255);     // &HFFD9D7, the bar's own colour
const QColor HighlightedColour(192, 192, 255); // &HFFC0C0
const QColor FrameColour(64, 64, 160);
constexpr QSize ButtonSize(34, 34);
} // namespace

BarButton::BarButton(int index, Artwork::BarButton picture, const QString& tip, QWidget* parent)
    : QAbstractButton(parent), index_(index), picture_(picture) {
    setToolTip(tip);
    setAccessibleName(tip);
    resize(ButtonSize);
    setMouseTracking(true);
    // Reached with Tab, pressed with the space bar; a click leaves the
    // keyboard where it was (in the word list).
    setFocusPolicy(Qt::TabFocus);
}

QSize BarButton::sizeHint() const {
    return ButtonSize;
}

void BarButton::setPictureRect(const QRect& rect) {
    if (rect == pictureRect_)
        return;
    pictureRect_ = rect;
    update();
}

void BarButton::setHighlighted(bool highlighted) {
    if (highlighted == highlighted_)
        return;
    highlighted_ = highlighted;
    update();
}

void BarButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), highlighted_ ? HighlightedColour : RestingColour);
    if (!pictureRect_.isEmpty())
        painter.drawPixmap(pictureRect_.topLeft(),
                           Artwork::barButton(picture_, pictureRect_.size(), devicePixelRatioF()));
    if (highlighted_) {
        painter.setPen(FrameColour);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(1, 1, -2, -2));
    }
}

void BarButton::mouseMoveEvent(QMouseEvent* event) {
    QAbstractButton::mouseMoveEvent(event);
    emit pointerMoved();
}

void BarButton::leaveEvent(QEvent* event) {
    QAbstractButton::leaveEvent(event);
    emit pointerLeft();
}
