#include "words/FormProgress.h"

#include "controls/Look.h"
#include "platform/Clock.h"
#include "platform/Twips.h"

#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <algorithm>

class FormProgress::Bar : public QWidget {
public:
    using QWidget::QWidget;
    int filled = 0;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        painter.fillRect(QRect(0, 0, filled, height()), QColor(0, 0, 128));
    }
};

FormProgress::FormProgress(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint), ImgLogo(new QLabel(this)),
      Label1(new QLabel(this)), PctPrg(new Bar(this)) {
    setObjectName(QStringLiteral("FormProgress"));
    // It only shows how far the work is: the keyboard stays where the user
    // has it (at logon, in the program he is starting to use).
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAccessibleName(QStringLiteral("İlerleme"));
    setFixedSize(twipsToPixels(4740), twipsToPixels(1275));
    setBackground(this, QColor(192, 192, 255));

    const QRect logo = twipsRect(360, 120, 735, 615);
    ImgLogo->setGeometry(logo);
    ImgLogo->setPixmap(QApplication::windowIcon().pixmap(logo.size()));
    ImgLogo->setAlignment(Qt::AlignCenter);

    Label1->setFont(designFont("MS Sans Serif", 9.75, true));
    Label1->move(twipsToPixels(1320), twipsToPixels(360));
    setTextColour(Label1, QColor(0, 0, 128));

    PctPrg->setGeometry(twipsRect(360, 840, 4095, 255));
}

int FormProgress::filledWidth(qint64 Deger, qint64 Max, int barWidth) {
    if (Deger < 1 || Max <= 0)
        return 0;
    const double fraction = std::min(1.0, static_cast<double>(Deger) / static_cast<double>(Max));
    return static_cast<int>(fraction * barWidth);
}

void FormProgress::begin(const QString& statusText, qint64 max) {
    Max = max;
    Label1->setText(statusText);
    Label1->adjustSize();
    filled_ = -1;
    waiting_ = -1;
    begunMs_ = Now().toMSecsSinceEpoch();
}

bool FormProgress::putUp() {
    if (isVisible())
        return true;
    // Work that is done within a moment (a start with an ordinary word
    // file, a save) shows no window: one that flashes by only catches the
    // eye. A clock set back does not keep the window away.
    const qint64 since = Now().toMSecsSinceEpoch() - begunMs_;
    if (since >= 0 && since < ShowAfterMs)
        return false;
    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    // The thread stays busy until the work is done: put the window up now.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    repaint();
    ++repaints_;
    return true;
}

void FormProgress::UpdateStatus(qint64 Deger) {
    const int width = filledWidth(Deger, Max, PctPrg->width());
    // The clock is asked once for each new width, not for every line.
    if (width == filled_ || width == waiting_)
        return;
    if (!putUp()) {
        waiting_ = width;
        return;
    }
    // Sixty pictures a second are all an eye can follow; more only slow the
    // work the bar reports on. A clock set back does not stop the bar.
    const qint64 now = Now().toMSecsSinceEpoch();
    const qint64 since = now - lastRepaintMs_;
    if (filled_ >= 0 && since >= 0 && since < MinRepaintMs && width < PctPrg->width()) {
        waiting_ = width;
        return;
    }
    lastRepaintMs_ = now;
    filled_ = width;
    waiting_ = -1;
    PctPrg->filled = width;
    PctPrg->repaint();
    ++repaints_;
}

void FormProgress::finish() {
    hide();
}

int FormProgress::barWidth() const {
    return PctPrg->width();
}
