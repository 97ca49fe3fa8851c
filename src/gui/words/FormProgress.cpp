#include "words/FormProgress.h"

#include "controls/Look.h"
#include "platform/Twips.h"

#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTimer>
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
      Label1(new QLabel(this)), PctPrg(new Bar(this)), showTimer_(new QTimer(this)) {
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

    // Work that is done within a moment (a start with an ordinary word
    // file, a save) shows no window: one that flashes by only catches the
    // eye.
    showTimer_->setObjectName(QStringLiteral("ShowTimer"));
    showTimer_->setSingleShot(true);
    showTimer_->setInterval(ShowAfterMs);
    connect(showTimer_, &QTimer::timeout, this, &FormProgress::putUp);
}

void FormProgress::follow(const ModVokabo::WordStore& store) {
    connect(&store, &ModVokabo::WordStore::fileWorkBegun, this, &FormProgress::begin);
    connect(&store, &ModVokabo::WordStore::fileWorkProgressed, this,
            [this](qint64 done, qint64 max) {
                Max = max;
                UpdateStatus(done);
            });
    connect(&store, &ModVokabo::WordStore::fileWorkEnded, this, &FormProgress::finish);
}

int FormProgress::filledWidth(qint64 Deger, qint64 Max, int barWidth) {
    if (Deger < 1 || Max <= 0)
        return 0;
    const double fraction = std::min(1.0, static_cast<double>(Deger) / static_cast<double>(Max));
    return static_cast<int>(fraction * barWidth);
}

void FormProgress::begin(const QString& statusText) {
    Label1->setText(statusText);
    Label1->adjustSize();
    UpdateStatus(0);
    // Counted from the work's beginning, not from each of its parts.
    if (!isVisible() && !showTimer_->isActive())
        showTimer_->start();
}

void FormProgress::putUp() {
    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
}

void FormProgress::UpdateStatus(qint64 Deger) {
    const int width = filledWidth(Deger, Max, PctPrg->width());
    if (width == filled_)
        return;
    filled_ = width;
    PctPrg->filled = width;
    PctPrg->update();
}

void FormProgress::finish() {
    showTimer_->stop();
    hide();
}

int FormProgress::barWidth() const {
    return PctPrg->width();
}
