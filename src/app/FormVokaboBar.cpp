// The main window's button bar with its hover effect, the advert panel, and
// the layout that fits them to the window.

#include "app/BarButton.h"
#include "app/FormVokabo.h"
#include "app/FormVokaboDesign.h"

#include "ProductInfo.h"
#include "controls/ClickLabel.h"
#include "controls/Look.h"
#include "help/FormYardim.h"
#include "platform/ModalLoops.h"
#include "platform/WebPage.h"
#include "quiz/art/Artwork.h"
#include "settings/FormAyar.h"

#include <QCursor>
#include <QLabel>
#include <QListView>
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

QWidget* separator(QWidget* parent, int x) {
    auto* line = new QWidget(parent);
    line->setGeometry(x, 0, 1, BarHeight);
    setBackground(line, LineColour);
    return line;
}

QCursor handCursor() {
    const QPoint hotSpot = Artwork::handHotSpot();
    return QCursor(Artwork::hand(), hotSpot.x(), hotSpot.y());
}
} // namespace

void FormVokabo::buildButtonBar() {
    Frame1 = new QWidget(this);
    Frame1->setGeometry(0, 0, width(), BarHeight);
    setBackground(Frame1, BarColour);
    Line2 = separator(this, Line2Left);
    Line1 = separator(this, Line1Narrow);

    const QCursor hand = handCursor();
    for (int i = 0; i < static_cast<int>(Cmd.size()); ++i) {
        auto* button =
            new BarButton(i, Buttons[i].picture, QString::fromUtf16(Buttons[i].tip), this);
        button->move(ButtonLefts[i], ButtonTop);
        button->setCursor(hand);
        connect(button, &BarButton::clicked, this, [this, i] { Cmd_Click(i); });
        connect(button, &BarButton::pointerMoved, this, [this, i] { Cmd_MouseMove(i); });
        connect(button, &BarButton::pointerLeft, this, &FormVokabo::TimerBtn_Timer);
        Cmd[i] = button;
    }

    // The hover watch runs at the screen's pace while a button is lit, and
    // a button also looks at once when the pointer leaves it.
    TimerBtn = new QTimer(this);
    TimerBtn->setInterval(HoverWatchInterval);
    connect(TimerBtn, &QTimer::timeout, this, &FormVokabo::TimerBtn_Timer);
    TimerBtnAnim = new QTimer(this);
    TimerBtnAnim->setInterval(PulseInterval);
    connect(TimerBtnAnim, &QTimer::timeout, this, &FormVokabo::TimerBtnAnim_Timer);
}

void FormVokabo::buildAdvertPanel() {
    FrameAd = new QWidget(this);
    FrameAd->setGeometry(0, height() - AdHeight, width(), AdHeight);
    setBackground(FrameAd, AdvertColour);

    ImageAd = new ClickLabel(FrameAd);
    ImageAd->setGeometry(QRect(QPoint(0, 0), Artwork::advertSize));
    ImageAd->setPixmap(Artwork::advert(devicePixelRatioF()));
    ImageAd->setAccessibleName(QStringLiteral("Kişi arama servisi"));
    ImageAd->setCursor(handCursor());
    connect(ImageAd, &ClickLabel::clicked, this, &FormVokabo::ImageAd_Click);

    Label1 = new QLabel(FrameAd);
    Label1->setGeometry(72, 1, 249, 41);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setWordWrap(true);
    setTextColour(Label1, Qt::white);

    Label2 = new QLabel(AdvertCaption, FrameAd);
    Label2->setTextFormat(Qt::PlainText);
    Label2->setFont(designFont("MS Sans Serif", 8.25, true));
    setTextColour(Label2, AdvertCaptionColour);
    Label2->move(72, 44);
    Label2->adjustSize();
}

void FormVokabo::Form_Resize() {
    if (isMinimized()) {
        minimiseAway();
        return;
    }
    if (!LayoutReady)
        return;
    const int SW = width();
    const int SH = height();
    Frame1->resize(SW, BarHeight);
    List1->resize(SW, List1->height());
    LabelTur->resize(SW, TitleHeight);
    const int h = SH - BarHeight - TitleHeight - AdHeight - 3;
    if (h > SmallestListHeight) {
        List1->resize(SW, h);
        FrameAd->move(0, SH - AdHeight);
    }
    FrameAd->resize(SW, AdHeight);
    const int x = SW > NarrowWidth ? SW - Line1FromRight : Line1Narrow;
    Line1->move(x, 0);
    LabelAktif[0]->move(x + TabOffset, TabTop);
    LabelAktif[1]->move(LabelAktif[0]->x() + LabelAktif[0]->width() + TabGap, TabTop);
    PlaceTabCover();
}

void FormVokabo::DrawButton(int i) {
    Cmd[i]->setPictureRect(Cmd[i]->rect());
}

bool FormVokabo::IsCursorOver(const QWidget* control) const {
    const QPoint at = control->mapFromGlobal(QCursor::pos());
    return at.x() >= 0 && at.x() < control->width() && at.y() >= 0 && at.y() < control->height();
}

void FormVokabo::Cmd_MouseMove(int Index) {
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

void FormVokabo::TimerBtn_Timer() {
    if (!HoverCtl || IsCursorOver(HoverCtl))
        return;
    HoverCtl->setHighlighted(false);
    TimerBtnAnim->stop();
    DrawButton(HoverCtl->index());
    TimerBtn->stop();
    HoverCtl = nullptr;
    Hovering = false;
}

void FormVokabo::TimerBtnAnim_Timer() {
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

void FormVokabo::Cmd_Click(int Index) {
    if (HoverCtl) {
        HoverCtl->setHighlighted(false);
        TimerBtn->stop();
        TimerBtnAnim->stop();
        HoverCtl->setPictureRect(QRect(QPoint(0, 0), PictureSize));
        HoverCtl = nullptr;
        Hovering = false;
    }
    // The question window first: its own closing starts the question timer
    // again, which must stay off while a dialog is up.
    if (FormSoru_)
        FormSoru_->close();
    TimerSor->stop();
    switch (Index) {
    case NewWordButton:
        ShowNewWordDialog();
        break;
    case DeleteButton:
        DeleteSelectedWord();
        break;
    case ToggleButton:
        ToggleSelectedWord();
        break;
    case SettingsButton:
        ShowSettingsDialog();
        break;
    case AskButton:
        mnu_VokaboSor_Click();
        break;
    case NewVersionButton:
        openWebPage(ProductInfo::ProgramPage);
        break;
    case HelpButton:
        ShowHelpWindow();
        break;
    default:
        break;
    }
    startQuestionTimer();
}

void FormVokabo::ShowNewWordDialog() {
    showWordDialog(false);
}

void FormVokabo::ShowSettingsDialog() {
    FormAyar dialog(settings_, this);
    ModalLoops::exec(&dialog);
}

void FormVokabo::ShowHelpWindow() {
    FormYardim dialog(this);
    ModalLoops::exec(&dialog);
}

void FormVokabo::ImageAd_Click() {
    openWebPage(ProductInfo::HomePage);
}
