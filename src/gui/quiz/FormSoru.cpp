#include "quiz/FormSoru.h"

#include "controls/ClickLabel.h"
#include "controls/FramePlacer.h"
#include "controls/KeyPreview.h"
#include "controls/Look.h"
#include "controls/SpeakerButton.h"
#include "history/AnswerHistory.h"
#include "platform/Clock.h"
#include "platform/MsgBox.h"
#include "platform/Speech.h"
#include "platform/Topmost.h"
#include "platform/Twips.h"
#include "quiz/FormImg.h"
#include "quiz/Quiz.h"
#include "quiz/art/Artwork.h"
#include "settings/Settings.h"
#include "words/ModVokabo.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

namespace {
const QColor Background(192, 192, 255);
const QColor RightColour(0, 0, 255);
const QColor WrongColour(255, 0, 0);

// Designed geometry, in twips.
constexpr int ClientWidth = 4425;
constexpr int ClientHeight = 2865;
constexpr int FrmSoruLeft = 120;
constexpr int FrmSoruHeight = 2055;
constexpr int FrmButtonTop = 2160;
constexpr int FrmButtonHeight = 615;
constexpr int LblSoruLeft = 1200;
constexpr int LblSoruTop = 330;
constexpr int AnswerLeft = 1560;
constexpr int AnswerTop = 960;
constexpr int CoverWidth = 2535;
constexpr int CoverHeight = 975;
constexpr int BalloonLeft = 1200;
constexpr int BalloonTop = 240;
constexpr int BalloonHeight = 495;
constexpr int BalloonRightWidth = 720;
constexpr int BalloonRightHeight = 555;
constexpr int BalloonOverlap = 60;
constexpr int ButtonWidth = 735;
constexpr int ButtonHeight = 615;
constexpr int PictureSize = 480;
constexpr int LongQuestion = 20;
// Room between an answer's number and its letter.
constexpr int NumberGap = 30;

// The keys of the window besides Esc, as their character codes.
constexpr int EnterKeyAscii = 13;
constexpr int SpaceKeyAscii = 32;

int widthInTwips(const QWidget* widget) {
    return pixelsToTwips(widget->width());
}

int leftInTwips(const QWidget* widget) {
    return pixelsToTwips(widget->x());
}

QLabel* picture(QWidget* parent, const QPixmap& pixmap = {}) {
    auto* label = new QLabel(parent);
    label->setScaledContents(true);
    label->setPixmap(pixmap);
    return label;
}

QIcon buttonIcon(Artwork::Button which, QSize size, qreal dpr) {
    QIcon icon;
    icon.addPixmap(Artwork::button(which, true, size, dpr), QIcon::Normal);
    icon.addPixmap(Artwork::button(which, false, size, dpr), QIcon::Disabled);
    return icon;
}
} // namespace

// The middle of the speech balloon, between its two end pictures.
class BalloonMiddle : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        Artwork::paintBalloonMiddle(painter, rect());
    }
};

QPixmap FormSoru::okWithFace(const QPixmap& face) const {
    QPixmap picture =
        Artwork::button(Artwork::Button::Ok, true, CmdTamam->iconSize(), devicePixelRatioF());
    QPainter painter(&picture);
    const QSize faceSize = face.deviceIndependentSize().toSize();
    const QSize room = picture.deviceIndependentSize().toSize();
    painter.drawPixmap(
        QPoint((room.width() - faceSize.width()) / 2, (room.height() - faceSize.height()) / 2),
        face);
    return picture;
}

FormSoru::FormSoru(const Quiz::Question& question, QuestionHost* host,
                   const SettingsRecord& settings, ModVokabo::WordStore& words,
                   History::AnswerHistory& history, Speech& speech, QWidget* parent)
    : QWidget(parent, popUpWindowType() | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      host_(host), settings_(settings), words_(words), history_(history), speech_(speech),
      VokaboInd(question.VokaboInd), English(question.text), OrnekCumle(question.OrnekCumle),
      Secenekler(question.answers), answerWords_(question.answerWords),
      showsMeaning_(question.showsMeaning) {
    setObjectName(QStringLiteral("FormSoru"));
    setAttribute(Qt::WA_DeleteOnClose);
    // The user is typing elsewhere when a question comes up: it must not
    // take the keyboard until it is clicked.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setBackground(this, Background);
    setFont(designFont("MS Sans Serif", 8.25, false));
    const qreal dpr = devicePixelRatioF();

    buildQuestionArea(dpr);
    buildButtons(dpr);
    LblCevap.append(makeAnswerLabel(0));

    // In front of the balloon: the question; in front of the answers: the
    // cover, and the question mark on the cover.
    LblSoru->raise();
    LblOrtu->raise();
    ImgQuestionMark->raise();

    startEyeAndKeys();
    setFixedSize(twipsToPixels(ClientWidth), twipsToPixels(ClientHeight));
    setObjectNames({{FrmSoru, "FrmSoru"},
                    {Img, "Img"},
                    {ImgBalonSol, "ImgBalonSol"},
                    {ShpBalon, "ShpBalon"},
                    {ImgBalonSag, "ImgBalonSag"},
                    {LblSoru, "LblSoru"},
                    {LblOrtu, "LblOrtu"},
                    {ImgQuestionMark, "ImgQuestionMark"},
                    {ImgAnm, "ImgAnm"},
                    {ImgDogru, "ImgDogru"},
                    {FrmButton, "FrmButton"},
                    {CmdCumle, "CmdCumle"},
                    {CmdOgrendim, "CmdOgrendim"},
                    {CmdTamam, "CmdTamam"},
                    {TimerAnm, "TimerAnm"}});
}

// The character, its balloon with the question, the covered answers and the
// pictures over them.
void FormSoru::buildQuestionArea(qreal dpr) {
    FrmSoru = new QWidget(this);
    placeTwips(FrmSoru, FrmSoruLeft, 0, Quiz::DesignedQuestionAreaWidth, FrmSoruHeight);

    auto* character = new ClickLabel(FrmSoru);
    character->setScaledContents(true);
    character->setAccessibleName(QStringLiteral("Karakter"));
    connect(character, &ClickLabel::clicked, this, &FormSoru::Img_Click);
    Img = character;
    placeTwips(Img, 120, 960, 855, 855);

    ImgBalonSol = picture(FrmSoru, Artwork::balloonLeft(dpr));
    placeTwips(ImgBalonSol, 480, 190, 780, 780);
    ShpBalon = new BalloonMiddle(FrmSoru);
    placeTwips(ShpBalon, BalloonLeft, BalloonTop, 855, BalloonHeight);
    ImgBalonSag = picture(FrmSoru, Artwork::balloonRight(dpr));
    placeTwips(ImgBalonSag, 2400, 195, BalloonRightWidth, BalloonRightHeight);

    LblSoru = new QLabel(FrmSoru);
    // Words are shown as the user wrote them, never read as markup.
    LblSoru->setTextFormat(Qt::PlainText);
    LblSoru->setFont(designFont("Times New Roman", 12, true));
    setBackground(LblSoru, Qt::white);
    setTextColour(LblSoru, Qt::black);
    LblSoru->move(twipsToPixels(LblSoruLeft), twipsToPixels(LblSoruTop));
    // Beside the balloon, which it follows (Form_Activate).
    CmdSeslendir = new SpeakerButton(speech_, QStringLiteral("Seslendir (S)"), FrmSoru);
    CmdSeslendir->setObjectName(QStringLiteral("CmdSeslendir"));
    connect(CmdSeslendir, &SpeakerButton::clicked, this, &FormSoru::CmdSeslendir_Click);

    auto* cover = new ClickLabel(FrmSoru);
    LblOrtu = cover;
    LblOrtu->setTextFormat(Qt::PlainText);
    LblOrtu->setFont(designFont("MS Sans Serif", 9.75, true));
    LblOrtu->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setBackground(LblOrtu, palette().color(QPalette::Base));
    setTextColour(LblOrtu, QColor(255, 128, 0));
    placeTwips(LblOrtu, AnswerLeft, AnswerTop, CoverWidth, CoverHeight);
    connect(cover, &ClickLabel::clicked, this, &FormSoru::LblOrtu_Click);

    auto* questionMark = new ClickLabel(FrmSoru);
    ImgQuestionMark = questionMark;
    ImgQuestionMark->setScaledContents(true);
    ImgQuestionMark->setAccessibleName(QStringLiteral("Seçenekleri göster"));
    placeTwips(ImgQuestionMark, 3600, 1200, PictureSize, PictureSize);
    connect(questionMark, &ClickLabel::clicked, this, &FormSoru::ImgQuestionMark_Click);

    ImgAnm = picture(FrmSoru);
    placeTwips(ImgAnm, 1040, 960, PictureSize, PictureSize);
    ImgAnm->hide();
    ImgDogru = picture(FrmSoru, Artwork::rightMark(QSize(32, 32), dpr));
    ImgDogru->setAccessibleName(QStringLiteral("Doğru cevap"));
    placeTwips(ImgDogru, 1020, 1320, PictureSize, PictureSize);
    ImgDogru->hide();
}

// The example-sentence, learned and OK buttons, the faces the OK button
// wears and the hand over what can be clicked.
void FormSoru::buildButtons(qreal dpr) {
    FrmButton = new QWidget(this);
    placeTwips(FrmButton, 0, FrmButtonTop, 4335, FrmButtonHeight);

    ImgFace1 = Artwork::happyFace(QSize(32, 32), dpr);
    ImgFace2 = Artwork::sadFace(QSize(32, 32), dpr);
    const QSize handSize(32, 32);
    const QPoint hotSpot = Artwork::handHotSpot(handSize);
    hand_ = QCursor(Artwork::hand(handSize, dpr), hotSpot.x(), hotSpot.y());

    auto makeButton = [&](Artwork::Button which, int left, const QString& tip) {
        auto* button = new QToolButton(FrmButton);
        placeTwips(button, left, 0, ButtonWidth, ButtonHeight);
        // The picture is the whole face of the button.
        button->setStyleSheet(QStringLiteral("QToolButton { border: none; padding: 0; }"));
        button->setIconSize(button->size());
        button->setIcon(buttonIcon(which, button->iconSize(), dpr));
        button->setToolTip(tip);
        button->setAccessibleName(tip);
        button->setFocusPolicy(Qt::NoFocus);
        return button;
    };
    CmdCumle =
        makeButton(Artwork::Button::Sentence, 120, QStringLiteral("Vokaboyi cümle içinde kullan."));
    CmdCumle->setEnabled(false);
    CmdOgrendim = makeButton(Artwork::Button::Learned, 960,
                             QStringLiteral("Bu vokaboyi iyice öğrendim. Bir daha sorma."));
    CmdOgrendim->hide();
    CmdTamam = makeButton(Artwork::Button::Ok, 3600, QString());
    CmdTamam->setAccessibleName(QStringLiteral("Tamam"));
    CmdTamam->hide();
    connect(CmdCumle, &QToolButton::clicked, this, &FormSoru::CmdCumle_Click);
    connect(CmdOgrendim, &QToolButton::clicked, this, &FormSoru::CmdOgrendim_Click);
    connect(CmdTamam, &QToolButton::clicked, this, &FormSoru::CmdTamam_Click);
}

// The eye's animation, and Esc and the other keys before the controls see
// them.
void FormSoru::startEyeAndKeys() {
    TimerAnm = new QTimer(this);
    TimerAnm->setInterval(Artwork::eyeFrameInterval);
    connect(TimerAnm, &QTimer::timeout, this, &FormSoru::TimerAnm_Timer);
    TimerAnm->start();

    new KeyPreview(this, [this](int KeyAscii) {
        Form_KeyPress(KeyAscii);
        return usesKey(KeyAscii);
    });
}

FormSoru::~FormSoru() {
    Form_Unload();
}

ClickLabel* FormSoru::makeAnswerLabel(int index) {
    auto* label = new ClickLabel(FrmSoru);
    label->setObjectName(QStringLiteral("LblCevap%1").arg(index));
    label->setTextFormat(Qt::PlainText);
    label->setFont(designFont("MS Sans Serif", 9.75, false));
    setTextColour(label, Qt::black);
    label->setMouseTracking(true);
    label->move(twipsToPixels(AnswerLeft), twipsToPixels(AnswerTop + index * Quiz::AnswerStep));
    label->hide();
    connect(label, &ClickLabel::clicked, this, [this, index] { LblCevap_Click(index); });
    connect(label, &ClickLabel::moved, this, [this, index] { LblCevap_MouseMove(index); });

    // Its number stands left of its letter, where nothing else is, so the
    // answers keep their places.
    auto* number = new QLabel(QString::number(index + 1), FrmSoru);
    number->setObjectName(QStringLiteral("LblNumara%1").arg(index + 1));
    number->setFont(label->font());
    setTextColour(number, QColor(96, 96, 96));
    number->adjustSize();
    number->move(label->x() - twipsToPixels(NumberGap) - number->width(), label->y());
    number->hide();
    LblNumara.append(number);
    return label;
}

void FormSoru::setAnswerColour(int index, const QColor& colour) {
    setTextColour(LblCevap[index], colour);
}

qint16 FormSoru::askedCount() const {
    return VokaboInd >= 0 && VokaboInd < AktifListe.size() ? AktifListe[VokaboInd].Dogru : 0;
}

void FormSoru::open(bool takeKeyboard) {
    setAttribute(Qt::WA_ShowWithoutActivating, !takeKeyboard);
    Form_Load();
    setTopmost(this, true);
    // Owned, yet no dialog of its owner: a window manager would hide it with
    // a minimised owner.
    if (parentWidget()) {
        winId();
        windowHandle()->setTransientParent(nullptr);
    }
    centreOnScreen(this);
    show();
    if (takeKeyboard)
        activateWindow();
}

void FormSoru::Form_Load() {
    AktifListe = words_.words(ModVokabo::WordListKind::Active);
    host_->setAskCommandEnabled(false);
    askedFor_ = host_->series().ElleSor;
    Bildi = false;

    const int SecenekSay = static_cast<int>(Secenekler.size());
    DogruSira = Quiz::drawRightSlot(SecenekSay);
    Secenekler.swapItemsAt(0, DogruSira - 1);
    if (answerWords_.size() == SecenekSay)
        answerWords_.swapItemsAt(0, DogruSira - 1);

    LblOrtu->setCursor(hand_);
    ImgQuestionMark->setCursor(hand_);
    for (int i = 1; i <= SecenekSay; ++i) {
        if (i > 1)
            LblCevap.append(makeAnswerLabel(i - 1));
        ClickLabel* label = LblCevap[i - 1];
        label->setText(QChar(u'a' + i - 1) + QStringLiteral(") ") + Secenekler[i - 1]);
        label->adjustSize();
        label->setCursor(hand_);
    }
    LblOrtu->raise();
    ImgQuestionMark->raise();

    if (!OrnekCumle.isEmpty())
        CmdCumle->setEnabled(true);

    LblSoru->setText(English);
    if (Quiz::characterCount(English) > LongQuestion) {
        QFont small = LblSoru->font();
        small.setPointSize(8);
        LblSoru->setFont(small);
        LblSoru->move(LblSoru->x(), twipsToPixels(LblSoruTop + 60));
    }
    LblSoru->adjustSize();

    setWindowTitle(Quiz::questionTitle(askedCount()));

    FormImg& store = FormImg::instance();
    const qsizetype character = Quiz::drawCharacter(static_cast<int>(store.imgCount()));
    Img->setPixmap(store.img(character, devicePixelRatioF()));

    SonIsaret = -1;
    LblOrtu->setText(QStringLiteral("\r\nSEÇENEKLER\r\nBURADA"));

    // Size the window to its content.
    QList<int> rights;
    for (const ClickLabel* label : LblCevap)
        rights.append(leftInTwips(label) + widthInTwips(label));
    // Measured in the font the question is drawn in, so that the window and
    // the balloon hold it whole.
    const double questionWidth =
        pixelsToTwips(QFontMetrics(LblSoru->font()).horizontalAdvance(LblSoru->text()));
    const Quiz::WindowFit fit = Quiz::fitWindow(rights, questionWidth, leftInTwips(LblSoru),
                                                widthInTwips(ImgBalonSag), SecenekSay);
    int clientWidth = ClientWidth;
    const int clientHeight = ClientHeight + fit.extraHeight;
    FrmSoru->resize(FrmSoru->width(), twipsToPixels(FrmSoruHeight + fit.extraHeight));
    LblOrtu->resize(LblOrtu->width(), twipsToPixels(CoverHeight + fit.extraHeight));
    FrmButton->move(0, twipsToPixels(FrmButtonTop + fit.extraHeight));
    ImgQuestionMark->setPixmap(
        host_->programIcon().pixmap(ImgQuestionMark->size(), devicePixelRatioF()));
    if (fit.widen) {
        LblOrtu->resize(twipsToPixels(fit.W - Quiz::ContentMargin - AnswerLeft), LblOrtu->height());
        ImgQuestionMark->move(LblOrtu->x() + LblOrtu->width() - ImgQuestionMark->width(),
                              ImgQuestionMark->y());
        ImgQuestionMark->show();
        ImgQuestionMark->raise();
        FrmSoru->resize(twipsToPixels(fit.W), FrmSoru->height());
        clientWidth = 2 * FrmSoruLeft + fit.W;
        CmdTamam->move(twipsToPixels(FrmSoruLeft + fit.W - ButtonWidth), CmdTamam->y());
        FrmButton->resize(twipsToPixels(clientWidth), FrmButton->height());
    }
    setFixedSize(twipsToPixels(clientWidth), twipsToPixels(clientHeight));
}

void FormSoru::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The balloon fits the question from the first look, whether or not the
    // window was given the focus.
    Form_Activate();
}

void FormSoru::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
}

void FormSoru::Form_Activate() {
    // A very short question would give the middle a negative width.
    const int middle = std::max(0, widthInTwips(LblSoru) - 300);
    ShpBalon->resize(twipsToPixels(middle), ShpBalon->height());
    ImgBalonSag->move(ShpBalon->x() + ShpBalon->width() - twipsToPixels(BalloonOverlap),
                      ImgBalonSag->y());
    const int speakerLeft =
        std::min(ImgBalonSag->geometry().right() + 3, FrmSoru->width() - CmdSeslendir->width() - 2);
    CmdSeslendir->move(speakerLeft,
                       twipsToPixels(BalloonTop + BalloonHeight / 2) - CmdSeslendir->height() / 2);
}

void FormSoru::LblOrtu_Click() {
    if (!shownAt_.isValid())
        shownAt_ = Now();
    LblOrtu->hide();
    ImgQuestionMark->hide();
    for (ClickLabel* label : LblCevap)
        label->show();
    for (QLabel* number : LblNumara)
        number->show();
}

void FormSoru::ImgQuestionMark_Click() {
    LblOrtu_Click();
}

void FormSoru::LblCevap_MouseMove(int Index) {
    if (Index == SonIsaret || CmdTamam->isVisible())
        return;
    for (int i = 0; i < LblCevap.size(); ++i)
        setAnswerColour(i, Qt::black);
    setAnswerColour(Index, RightColour);
    ImgAnm->show();
    ImgAnm->move(ImgAnm->x(), LblCevap[Index]->y() - twipsToPixels(100));
    // The eye stands where the number of the answer it looks at was.
    for (int i = 0; i < LblNumara.size(); ++i)
        LblNumara[i]->setVisible(i != Index);
    SonIsaret = Index;
}

void FormSoru::LblCevap_Click(int Index) {
    if (CmdTamam->isVisible())
        return;
    const int right = DogruSira - 1;
    if (Index != right) {
        setAnswerColour(Index, WrongColour);
        verdict_ = 2;
        CmdTamam->setIcon(okWithFace(ImgFace2));
        CmdOgrendim->setEnabled(false);
    } else {
        verdict_ = 1;
        CmdTamam->setIcon(okWithFace(ImgFace1));
        CmdOgrendim->setEnabled(askedCount() + 1 >= settings_.enaz());
    }
    recordAnswer(Index, Index == right);
    setAnswerColour(right, RightColour);
    ImgDogru->move(ImgDogru->x(), LblCevap[right]->y() - twipsToPixels(60));
    ImgDogru->show();
    ImgDogru->raise();
    ImgAnm->hide();
    // The numbers choose nothing any more; the mark takes their place.
    for (QLabel* number : LblNumara)
        number->hide();
    CmdTamam->show();
    CmdOgrendim->show();
}

void FormSoru::recordAnswer(int Index, bool right) {
    if (VokaboInd < 0 || VokaboInd >= AktifListe.size())
        return;
    const ModVokabo::WordDef& asked = AktifListe[VokaboInd];
    const QDateTime now = Now();
    // A wrong answer keeps whose answer was taken for this word's.
    const int chosen = right ? -1 : answerWords_.value(Index, -1);
    const ModVokabo::WordDef taken =
        chosen >= 0 && chosen < AktifListe.size() ? AktifListe[chosen] : ModVokabo::WordDef{};
    history_.record(
        {now, asked.English, asked.Turkish,
         showsMeaning_ ? History::Direction::MeaningToWord : History::Direction::WordToMeaning,
         static_cast<int>(LblCevap.size()), right, Index + 1,
         shownAt_.isValid() ? std::max<qint64>(0, shownAt_.msecsTo(now)) : 0, askedFor_,
         taken.English, taken.Turkish});
}

void FormSoru::TimerAnm_Timer() {
    FormImg& store = FormImg::instance();
    ImgAnm->setPixmap(store.imgEye(Kare, devicePixelRatioF()));
    ++Kare;
    if (Kare > store.eyeCount() - 1)
        Kare = 0;
}

void FormSoru::CmdCumle_Click() {
    MsgBox(OrnekCumle, MsgBoxStyle::OkOnly | MsgBoxStyle::Information,
           QStringLiteral("Örnek Cümle"));
}

void FormSoru::Img_Click() {
    MsgBox(QStringLiteral("Bana değil cevap seçeneklerine tıklayacaksın :)"),
           MsgBoxStyle::OkOnly | MsgBoxStyle::Information, QStringLiteral("Tık tık"));
}

bool FormSoru::usesKey(int KeyAscii) {
    return KeyAscii == EscKeyAscii || KeyAscii == EnterKeyAscii || KeyAscii == SpaceKeyAscii ||
           (KeyAscii >= '1' && KeyAscii <= '9') || KeyAscii == 's' || KeyAscii == 'S';
}

void FormSoru::Form_KeyPress(int KeyAscii) {
    if (KeyAscii == EscKeyAscii) {
        close();
    } else if (KeyAscii == EnterKeyAscii || KeyAscii == SpaceKeyAscii) {
        // As a click on the cover; once the answer is judged, on OK.
        if (LblOrtu->isVisible())
            LblOrtu_Click();
        else if (CmdTamam->isVisible())
            CmdTamam_Click();
    } else if (KeyAscii >= '1' && KeyAscii <= '9') {
        // Only the numbers that show can be chosen.
        const int index = KeyAscii - '1';
        if (!LblOrtu->isVisible() && index < LblCevap.size())
            LblCevap_Click(index);
    } else if ((KeyAscii == 's' || KeyAscii == 'S') && CmdSeslendir->isEnabled()) {
        CmdSeslendir_Click();
    }
}

void FormSoru::CmdSeslendir_Click() {
    if (VokaboInd < 0 || VokaboInd >= AktifListe.size())
        return;
    const ModVokabo::WordDef& asked = AktifListe[VokaboInd];
    if (showsMeaning_)
        speech_.say(asked.Turkish, QLocale::Turkish);
    else
        speech_.say(asked.English, settings_.dil());
}

std::optional<int> FormSoru::askedWordNow() const {
    if (VokaboInd < 0 || VokaboInd >= AktifListe.size())
        return std::nullopt;
    // The list may have changed while the question was open: the asked word
    // is looked for wherever it stands now.
    return Quiz::findAskedWord(words_.words(ModVokabo::WordListKind::Active), VokaboInd,
                               AktifListe[VokaboInd]);
}

void FormSoru::CmdTamam_Click() {
    Bildi = verdict_ == 1;
    if (!learnedPressed_) {
        if (const auto where = askedWordNow()) {
            const qint16 Dogru = AktifListe[VokaboInd].Dogru;
            words_.SetWordDogru(ModVokabo::WordListKind::Active, *where,
                                Bildi ? Quiz::nextCount(Dogru) : qint16(0));
        }
    }
    host_->startQuestionTimer();
    close();
}

void FormSoru::CmdOgrendim_Click() {
    const auto where = askedWordNow();
    if (where)
        words_.ToggleWord(ModVokabo::WordListKind::Active, *where);
    learnedPressed_ = true;
    CmdTamam_Click();
}

void FormSoru::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void FormSoru::Form_Unload() {
    if (unloaded_)
        return;
    unloaded_ = true;
    TimerAnm->stop();
    const Quiz::SeriesOutcome outcome =
        Quiz::endQuestion(host_->series(), Bildi, settings_.sorusay(), Now());
    host_->setSonSoru(outcome.SonSoru);
    if (!outcome.SonSoru.isValid() && isActiveWindow())
        host_->answeringGoesOn();
    host_->startQuestionTimer();
    host_->setAskCommandEnabled(true);
}
