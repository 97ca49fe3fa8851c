#pragma once

#include <QWidget>

class ClickLabel;
class QLabel;

// The advert at the foot of the main window (FrameAd): its picture ImageAd,
// the invitation Label1 and the caption Label2 that points at the picture.
class AdvertPanel : public QWidget {
    Q_OBJECT
public:
    explicit AdvertPanel(QWidget* parent);

signals:
    // The user clicked the picture.
    void pictureClicked();

private:
    ClickLabel* ImageAd;
    QLabel* Label1;
    QLabel* Label2;
};
