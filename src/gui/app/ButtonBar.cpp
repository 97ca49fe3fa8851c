#include "app/ButtonBar.h"

#include "app/BarButton.h"
#include "app/FormVokaboDesign.h"
#include "controls/Look.h"

#include <QCursor>
#include <QTimer>
#include <cmath>

using namespace FormVokaboDesign;

namespace {
struct ButtonDef {
    Artwork::BarButton picture;
    const char16_t* tip;
};
// In the order of their indices.
const ButtonDef Buttons[7] = {
    {Artwork::BarButton::NewWord, u"Yeni Vokabo Ekle"},
    {Artwork::BarButton::Delete, u"Seçili Vokaboyi Sil"},
    {Artwork::BarButton::Settings, u"Ayarlar"},
    {Artwork::BarButton::AskNow, u"Vokabo Sor"},
    {Artwork::BarButton::Help, u"Program Hakkında"},
    {Artwork::BarButton::ToggleActive, u"Seçili Vokaboyi Aktif/Pasif Yap"},
    {Artwork::BarButton::NewVersion, u"Yeni Versiyon Var mı?"},
};

QWidget* separator(QWidget* parent, const char16_t* name, int x) {
    auto* line = new QWidget(parent);
    line->setObjectName(QString::fromUtf16(name));
    line->setGeometry(x, 0, 1, BarHeight);
    setBackground(line, LineColour);
    return line;
}
} // namespace

ButtonBar::ButtonBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Frame1"));
    setGeometry(0, 0, parent->width(), BarHeight);
    setBackground(this, BarColour);
    Line2 = separator(this, u"Line2", Line2Left);
    Line1 = separator(this, u"Line1", line1Left(width()));

    const QCursor hand = handCursor();
    for (int i = 0; i < static_cast<int>(Cmd.size()); ++i) {
        auto* button =
            new BarButton(i, Buttons[i].picture, QString::fromUtf16(Buttons[i].tip), this);
        button->setObjectName(QStringLiteral("Cmd%1").arg(i));
        button->move(ButtonLefts[i], ButtonTop);
        button->setCursor(hand);
        connect(button, &BarButton::clicked, this, [this, i] { emit commandChosen(i); });
        connect(button, &BarButton::pointerMoved, this, [this, i] { Cmd_MouseMove(i); });
        connect(button, &BarButton::pointerLeft, this, &ButtonBar::TimerBtn_Timer);
        Cmd[i] = button;
        // At rest, with its picture.
        DrawButton(i);
    }

    // The hover watch runs at the screen's pace while a button is lit, and
    // a button also looks at once when the pointer leaves it.
    TimerBtn = new QTimer(this);
    TimerBtn->setObjectName(QStringLiteral("TimerBtn"));
    TimerBtn->setInterval(HoverWatchInterval);
    connect(TimerBtn, &QTimer::timeout, this, &ButtonBar::TimerBtn_Timer);
    TimerBtnAnim = new QTimer(this);
    TimerBtnAnim->setObjectName(QStringLiteral("TimerBtnAnim"));
    TimerBtnAnim->setInterval(PulseInterval);
    connect(TimerBtnAnim, &QTimer::timeout, this, &ButtonBar::TimerBtnAnim_Timer);
}

void ButtonBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Line1->move(line1Left(width()), 0);
}

void ButtonBar::DrawButton(int i) {
    Cmd[i]->setPictureRect(Cmd[i]->rect());
}

bool ButtonBar::IsCursorOver(const QWidget* control) const {
    const QPoint at = control->mapFromGlobal(QCursor::pos());
    return at.x() >= 0 && at.x() < control->width() && at.y() >= 0 && at.y() < control->height();
}

void ButtonBar::Cmd_MouseMove(int Index) {
    // One highlight at a time: the next button lights up only once the
    // watch has let the last one go.
    if (Hovering || !IsCursorOver(Cmd[Index]))
        return;
    HoverCtl = Cmd[Index];
    HoverCtl->setHighlighted(true);
    Hovering = true;
    AnimCountUp = true;
    AnimStep = 1;
    HoverCtl->setPictureRect({});
    TimerBtn->start();
    TimerBtnAnim->start();
}

void ButtonBar::TimerBtn_Timer() {
    if (!HoverCtl || IsCursorOver(HoverCtl))
        return;
    HoverCtl->setHighlighted(false);
    TimerBtnAnim->stop();
    DrawButton(HoverCtl->index());
    TimerBtn->stop();
    HoverCtl = nullptr;
    Hovering = false;
}

void ButtonBar::TimerBtnAnim_Timer() {
    if (!HoverCtl)
        return;
    const int size = PictureSize.width() - AnimStep;
    // Centred, a half pixel going to the even side.
    const int offset = static_cast<int>(std::nearbyint((HoverCtl->width() - size) / 2.0));
    HoverCtl->setPictureRect(QRect(offset, offset, size, size));
    AnimStep += AnimCountUp ? 1 : -1;
    if (AnimStep >= PulseDepth)
        AnimCountUp = false;
    if (AnimStep < 0)
        AnimCountUp = true;
}

void ButtonBar::endHover() {
    if (!HoverCtl)
        return;
    HoverCtl->setHighlighted(false);
    TimerBtn->stop();
    TimerBtnAnim->stop();
    HoverCtl->setPictureRect(QRect(QPoint(0, 0), PictureSize));
    HoverCtl = nullptr;
    Hovering = false;
}
