#include "app/AdvertPanel.h"

#include "app/FormVokaboDesign.h"
#include "controls/ClickLabel.h"
#include "controls/Look.h"

using namespace FormVokaboDesign;

AdvertPanel::AdvertPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("FrameAd"));
    setGeometry(0, parent->height() - AdHeight, parent->width(), AdHeight);
    setBackground(this, AdvertColour);

    ImageAd = new ClickLabel(this);
    ImageAd->setObjectName(QStringLiteral("ImageAd"));
    ImageAd->setGeometry(QRect(QPoint(0, 0), Artwork::advertSize));
    ImageAd->setPixmap(Artwork::advert(devicePixelRatioF()));
    ImageAd->setAccessibleName(QStringLiteral("Kişi arama servisi"));
    ImageAd->setCursor(handCursor());
    connect(ImageAd, &ClickLabel::clicked, this, &AdvertPanel::pictureClicked);

    Label1 = new QLabel(AdvertText, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(72, 1, 249, 41);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setWordWrap(true);
    setTextColour(Label1, Qt::white);

    Label2 = new QLabel(AdvertCaption, this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setTextFormat(Qt::PlainText);
    Label2->setFont(designFont("MS Sans Serif", 8.25, true));
    setTextColour(Label2, AdvertCaptionColour);
    Label2->move(72, 44);
    Label2->adjustSize();
}
