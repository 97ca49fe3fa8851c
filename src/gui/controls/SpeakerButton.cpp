#include "controls/SpeakerButton.h"

#include "platform/Speech.h"

#include <QPainter>
#include <QPainterPath>

namespace {
constexpr int ButtonSize = 22;
constexpr int PictureSize = 16;

// A loudspeaker seen from the side, with two waves coming out of it.
QPixmap loudspeaker(const QColor& colour, qreal dpr) {
    QPixmap picture(QSize(PictureSize, PictureSize) * dpr);
    picture.setDevicePixelRatio(dpr);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    QPainterPath body;
    body.moveTo(1.5, 5.5);
    body.lineTo(4.5, 5.5);
    body.lineTo(8.5, 2);
    body.lineTo(8.5, 14);
    body.lineTo(4.5, 10.5);
    body.lineTo(1.5, 10.5);
    body.closeSubpath();
    painter.drawPath(body);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(colour, 1.4, Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(QRectF(6, 5, 5, 6), -50 * 16, 100 * 16);
    painter.drawArc(QRectF(5, 2.5, 9.5, 11), -55 * 16, 110 * 16);
    return picture;
}
} // namespace

SpeakerButton::SpeakerButton(Speech& speech, const QString& readyTip, QWidget* parent)
    : QToolButton(parent), speech_(speech), readyTip_(readyTip) {
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(ButtonSize, ButtonSize);
    setIconSize(QSize(PictureSize, PictureSize));
    const qreal dpr = devicePixelRatioF();
    QIcon icon;
    icon.addPixmap(loudspeaker(QColor(0, 0, 128), dpr), QIcon::Normal);
    icon.addPixmap(loudspeaker(QColor(150, 150, 150), dpr), QIcon::Disabled);
    setIcon(icon);
    setAccessibleName(QStringLiteral("Seslendir"));
    connect(&speech_, &Speech::stateChanged, this, &SpeakerButton::followSpeech);
    followSpeech();
    speech_.start();
}

void SpeakerButton::followSpeech() {
    switch (speech_.state()) {
    case Speech::State::Ready:
        setEnabled(true);
        setToolTip(readyTip_);
        return;
    case Speech::State::Unavailable:
        setEnabled(false);
        setToolTip(QStringLiteral("Konuşma hizmeti bulunamadı"));
        return;
    case Speech::State::NotStarted:
    case Speech::State::Connecting:
        setEnabled(false);
        setToolTip(QStringLiteral("Konuşma hizmetine bağlanılıyor..."));
        return;
    }
}
