#pragma once

#include "quiz/art/Artwork.h"

#include <QAbstractButton>

// A picture button of the main window's bar. Its picture can be drawn at
// any place and size within it (the hover effect pulses it), and it has two
// looks: resting on the bar, and highlighted with a frame.
class BarButton : public QAbstractButton {
    Q_OBJECT
public:
    BarButton(int index, Artwork::BarButton picture, const QString& tip, QWidget* parent);

    // The button's index in the bar, which the hover effect keeps as its tag.
    int index() const { return index_; }

    // Where the picture is drawn; an empty rectangle draws none.
    void setPictureRect(const QRect& rect);
    QRect pictureRect() const { return pictureRect_; }

    void setHighlighted(bool highlighted);
    bool isHighlighted() const { return highlighted_; }

    QSize sizeHint() const override;

signals:
    // The pointer moved over the button, or left it.
    void pointerMoved();
    void pointerLeft();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    int index_;
    Artwork::BarButton picture_;
    QRect pictureRect_;
    bool highlighted_ = false;
};
