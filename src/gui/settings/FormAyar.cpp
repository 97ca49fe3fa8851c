#include "settings/FormAyar.h"

#include "ProductInfo.h"
#include "controls/BevelLine.h"
#include "controls/Look.h"
#include "platform/Autostart.h"
#include "platform/MsgBox.h"
#include "platform/RegistryStore.h"
#include "platform/Speech.h"
#include "platform/Twips.h"
#include "settings/LanguageNames.h"
#include "settings/Settings.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

namespace {
using Settings::Setting;

// A drop-down list of a setting's values: item i stands for first + i.
struct ListOf {
    const Setting& setting;
    qint16 first;
    QString (*text)(int value);
};

const ListOf Periods{Settings::SorDakSetting, 1, // 0 is "off", the check box's business
                     [](int n) { return QStringLiteral("%1 dakika").arg(n); }};
const ListOf Choices{Settings::SecenekSaySetting, Settings::SecenekSaySetting.min,
                     [](int n) { return QStringLiteral("%1 Seçenekli").arg(n); }};
const ListOf Limits{Settings::EnazSetting, Settings::EnazSetting.min, [](int n) {
                        return n == 0 ? QStringLiteral("Herzaman Silinebilir")
                                      : QStringLiteral("%1 Kere Bilinsin").arg(n);
                    }};
const ListOf Runs{Settings::SorusaySetting, Settings::SorusaySetting.min, [](int n) {
                      return n == 0 ? QStringLiteral("Sürekli Sor")
                                    : QStringLiteral("En Fazla %1 Tane Sor").arg(n);
                  }};

void fill(QComboBox* combo, const ListOf& list) {
    for (int v = list.first; v <= list.setting.max; ++v)
        combo->addItem(list.text(v));
}

void select(QComboBox* combo, const ListOf& list, const SettingsRecord& settings) {
    combo->setCurrentIndex(settings.value(list.setting) - list.first);
}

qint16 selected(const QComboBox* combo, const ListOf& list) {
    return static_cast<qint16>(list.first + combo->currentIndex());
}

QString programName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

QCheckBox* checkBox(const char16_t* caption, QWidget* parent) {
    auto* box = new QCheckBox(QString::fromUtf16(caption), parent);
    box->setAccessibleName(box->text());
    return box;
}

// The screen's fonts run wider than the designed ones: a caption is never cut.
void widenToText(QWidget* control) {
    control->resize(std::max(control->width(), control->sizeHint().width()), control->height());
}

// Room between a label's text and its list.
constexpr int LabelGap = 4;
// Room between one frame and the next, and below the buttons (twips).
constexpr int FrameGap = 105;
constexpr int BottomMargin = 135;

QComboBox* listWithLabel(QLabel*& label, const char16_t* caption, int top, QWidget* frame) {
    label = new QLabel(QString::fromUtf16(caption), frame);
    placeTwips(label, 240, top, 1665, 195);
    label->adjustSize();
    auto* combo = new QComboBox(frame);
    placeTwips(combo, 2760, top, 1935, 315);
    // Read from the label on Linux (the buddy), from the name on Windows.
    combo->setAccessibleName(label->text());
    label->setBuddy(combo);
    return combo;
}
} // namespace

FormAyar::FormAyar(SettingsRecord& settings, Speech& speech, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      settings_(settings), speech_(speech) {
    setObjectName(QStringLiteral("FormAyar"));
    setWindowTitle(QStringLiteral("Program Ayarları"));
    setWindowIcon(QApplication::windowIcon());
    setWindowModality(Qt::ApplicationModal);
    setFont(designFont("MS Sans Serif", 8.25));
    setFixedWidth(twipsToPixels(5265));

    CheckOto = checkBox(u"Programı açılışta otomatik başlat", this);
    placeTwips(CheckOto, 120, 120, 3615, 375);
    // Where the system has no start-up entries, the choice is not offered.
    CheckOto->setVisible(Autostart::supported());
    CheckUstte = checkBox(u"Program ana penceresi her zaman üstte olsun", this);
    placeTwips(CheckUstte, 120, 480, 4095, 375);
    BevelLine1 = new BevelLine(this);
    placeTwips(BevelLine1, 120, 960, 5055, 135);
    CheckSoru = checkBox(u"Zamanlanmış vokabo sorusunu devre dışı bırak", this);
    placeTwips(CheckSoru, 120, 1200, 3615, 375);

    Frame1 = new QGroupBox(this);
    placeTwips(Frame1, 120, 1560, 5055, 2415);
    ComboPeriyot = listWithLabel(LblPeriyot, u"Vokabo Sorusu Periyodu", 360, Frame1);
    CmbSecenek = listWithLabel(LblSecenek, u"Cevap Seçenek Sayısı", 840, Frame1);
    CmbLimit = listWithLabel(LblLimit, u"Vokaboyi Silebilmek İçin En Az", 1320, Frame1);
    CmbQuestion = listWithLabel(LblQuestion, u"Bir Seferde Sorulacak Soru Sayısı", 1800, Frame1);

    Frame3 = new QGroupBox(this);
    placeTwips(Frame3, 120, 4080, 5055, 1095);
    OptSor[0] = new QRadioButton(QStringLiteral("Sadece vokaboden anlam sor"), Frame3);
    placeTwips(OptSor[0], 360, 240, 2775, 255);
    OptSor[1] = new QRadioButton(
        QStringLiteral("Her iki tür de sor (vokaboden anlam ve anlamdan vokabo)"), Frame3);
    placeTwips(OptSor[1], 360, 600, 4575, 375);
    for (QRadioButton* option : OptSor)
        option->setAccessibleName(option->text());

    // Under the designed frames, one frame for reading aloud; a frame or row
    // added later goes under it, and the buttons under that.
    Frame4 = new QGroupBox(this);
    Frame4->setObjectName(QStringLiteral("Frame4"));
    placeTwips(Frame4, 120, 4080 + 1095 + FrameGap, 5055, 1095);
    CheckSeslendir = checkBox(u"Soruyu seslendir", Frame4);
    CheckSeslendir->setObjectName(QStringLiteral("CheckSeslendir"));
    placeTwips(CheckSeslendir, 240, 240, 3615, 255);
    CmbDil = listWithLabel(LblDil, u"Vokabolerin Dili", 600, Frame4);
    CmbDil->setObjectName(QStringLiteral("CmbDil"));
    CheckAkilli = checkBox(u"Soruları akıllı seç", this);
    CheckAkilli->setObjectName(QStringLiteral("CheckAkilli"));
    placeTwips(CheckAkilli, 120, 4080 + 2 * (1095 + FrameGap), 3615, 375);

    // The lists stand in one column, where designed unless a label's text
    // (in the screen's font) would come closer to them than LabelGap.
    int column = 0;
    for (const QLabel* label : {LblPeriyot, LblSecenek, LblLimit, LblQuestion, LblDil})
        column = std::max(column, label->x() + label->sizeHint().width() + LabelGap);
    for (QComboBox* combo : {ComboPeriyot, CmbSecenek, CmbLimit, CmbQuestion, CmbDil})
        combo->move(std::max(combo->x(), column), combo->y());
    for (QWidget* control : std::initializer_list<QWidget*>{
             CheckOto, CheckUstte, CheckSoru, OptSor[0], OptSor[1], CheckSeslendir, CheckAkilli})
        widenToText(control);

    CmdTamam = new QPushButton(QStringLiteral("Tamam"), this);
    CmdTamam->resize(twipsToPixels(1095), twipsToPixels(375));
    CmdTamam->setDefault(true);
    CmdIptal = new QPushButton(QStringLiteral("İptal"), this);
    CmdIptal->resize(CmdTamam->size());
    for (QPushButton* button : {CmdTamam, CmdIptal})
        button->setAccessibleName(button->text());
    placeButtonsBelow(CheckAkilli);
    setObjectNames({{CheckOto, "CheckOto"},
                    {CheckUstte, "CheckUstte"},
                    {BevelLine1, "BevelLine1"},
                    {CheckSoru, "CheckSoru"},
                    {Frame1, "Frame1"},
                    {LblPeriyot, "LblPeriyot"},
                    {ComboPeriyot, "ComboPeriyot"},
                    {LblSecenek, "LblSecenek"},
                    {CmbSecenek, "CmbSecenek"},
                    {LblLimit, "LblLimit"},
                    {CmbLimit, "CmbLimit"},
                    {LblQuestion, "LblQuestion"},
                    {CmbQuestion, "CmbQuestion"},
                    {Frame3, "Frame3"},
                    {OptSor[0], "OptSor0"},
                    {OptSor[1], "OptSor1"},
                    {LblDil, "LblDil"},
                    {CmdTamam, "CmdTamam"},
                    {CmdIptal, "CmdIptal"}});

    QWidget* const tabOrder[] = {CheckOto, CheckUstte,  CheckSoru, ComboPeriyot, CmbSecenek,
                                 CmbLimit, CmbQuestion, OptSor[0], OptSor[1],    CheckSeslendir,
                                 CmbDil,   CheckAkilli, CmdTamam,  CmdIptal};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    connect(CheckSoru, &QCheckBox::toggled, this, &FormAyar::CheckSoru_Click);
    connect(CmdTamam, &QPushButton::clicked, this, &FormAyar::CmdTamam_Click);
    connect(CmdIptal, &QPushButton::clicked, this, &FormAyar::CmdIptal_Click);
    // The service may still be starting: its languages come when it is ready.
    connect(&speech_, &Speech::stateChanged, this,
            [this] { fillLanguages(QLocale::Language(CmbDil->currentData().toInt())); });

    Form_Load();
    CheckOto->setFocus();
    speech_.start();
}

void FormAyar::placeButtonsBelow(const QWidget* last) {
    const int top = last->geometry().bottom() + 1 + twipsToPixels(FrameGap);
    CmdTamam->move(twipsToPixels(1485), top);
    CmdIptal->move(twipsToPixels(2640), top);
    setFixedHeight(top + CmdTamam->height() + twipsToPixels(BottomMargin));
}

void FormAyar::fillLanguages(QLocale::Language chosen) {
    QList<QLocale::Language> languages = speech_.languages();
    // The words keep their language while no voice speaks it.
    if (!languages.contains(chosen))
        languages.append(chosen);
    CmbDil->clear();
    for (const QLocale::Language language : sortedByName(languages))
        CmbDil->addItem(languageName(language), int(language));
    CmbDil->setCurrentIndex(CmbDil->findData(int(chosen)));
}

void FormAyar::Form_Load() {
    fill(CmbLimit, Limits);
    fill(CmbQuestion, Runs);
    select(CmbQuestion, Runs, settings_);
    fill(CmbSecenek, Choices);
    fill(ComboPeriyot, Periods);
    if (settings_.SorDak() != 0) {
        select(ComboPeriyot, Periods, settings_);
    } else {
        ComboPeriyot->setCurrentIndex(-1);
        CheckSoru->setChecked(true);
    }
    select(CmbSecenek, Choices, settings_);
    CheckOto->setChecked(settings_.oto_ac() && Autostart::supported());
    OptSor[settings_.sor_tur() == 1 ? 0 : 1]->setChecked(true);
    CheckUstte->setChecked(settings_.ustte());
    select(CmbLimit, Limits, settings_);
    CheckSeslendir->setChecked(settings_.seslendir());
    CheckAkilli->setChecked(settings_.akilli());
    fillLanguages(settings_.dil());
    // One column of lists, wider than designed where an entry would be cut short.
    int wide = 0;
    for (const QComboBox* combo : {ComboPeriyot, CmbSecenek, CmbLimit, CmbQuestion, CmbDil})
        wide = std::max({wide, combo->width(), combo->sizeHint().width()});
    for (QComboBox* combo : {ComboPeriyot, CmbSecenek, CmbLimit, CmbQuestion, CmbDil})
        combo->resize(wide, combo->height());
}

void FormAyar::CheckSoru_Click() {
    const bool enable = !CheckSoru->isChecked();
    LblPeriyot->setEnabled(enable);
    ComboPeriyot->setEnabled(enable);
    if (enable && ComboPeriyot->currentIndex() < 0)
        ComboPeriyot->setCurrentIndex(Settings::SorDakSetting.defaultValue - Periods.first);
    for (QWidget* control :
         std::initializer_list<QWidget*>{LblSecenek, CmbSecenek, LblLimit, CmbLimit, LblQuestion,
                                         CmbQuestion, OptSor[0], OptSor[1]})
        control->setEnabled(enable);
}

void FormAyar::CmdTamam_Click() {
    using namespace Settings;
    closed_ = false;
    const QPointer<FormAyar> alive(this);
    SettingsRecord& s = settings_;
    bool stored =
        s.store(SorDakSetting, CheckSoru->isChecked() ? 0 : selected(ComboPeriyot, Periods));
    stored &= s.store(SecenekSaySetting, selected(CmbSecenek, Choices));
    stored &= s.store(EnazSetting, selected(CmbLimit, Limits));
    stored &= s.store(SorusaySetting, selected(CmbQuestion, Runs));
    stored &= s.store(SorTurSetting, OptSor[0]->isChecked() ? 1 : 2);
    stored &= s.store(SeslendirSetting, CheckSeslendir->isChecked());
    stored &= s.store(DilSetting, CmbDil->currentData().toInt());
    stored &= s.store(AkilliSetting, CheckAkilli->isChecked());

    if (!CheckOto->isChecked()) {
        // An entry that stays where it is still starts the program: the
        // setting says so, and so does the box.
        const QString kept = RemoveStartupShortcut();
        stored &= s.store(OtoAcSetting, !kept.isEmpty());
        if (!kept.isEmpty())
            MsgBox(kept, MsgBoxStyle::OkOnly | MsgBoxStyle::Exclamation, ProductInfo::Name);
        if (!alive || closed_)
            return;
    } else {
        if (!CreateStartupShortcut(true)) {
            if (alive && !closed_)
                MsgBox(QStringLiteral("Programın açılışta başlaması için bir kısa yol "
                                      "oluşturulamadı !"),
                       MsgBoxStyle::OkOnly | MsgBoxStyle::Critical, QStringLiteral("Hata"));
            return;
        }
        stored &= s.store(OtoAcSetting, true);
    }

    // The main window follows "always on top" itself.
    stored &= s.store(UstteSetting, CheckUstte->isChecked());
    if (!stored) {
        MsgBox(QStringLiteral("Ayarlar kaydedilemedi:\n%1\n\n%2\n\nYeni ayarlar program "
                              "kapanana kadar geçerli; program yeniden başladığında eski "
                              "ayarlar gelir.")
                   .arg(registryStoreLocation(), registryStoreProblem()),
               MsgBoxStyle::OkOnly | MsgBoxStyle::Critical, ProductInfo::Name);
        if (!alive)
            return;
    }
    accept();
}

QString FormAyar::RemoveStartupShortcut() {
    const QString folder = Autostart::startupFolder();
    if (folder.isEmpty())
        return {};
    QFile entry(Autostart::linkPath(folder, programName()));
    // Nothing there to remove is no error.
    if (!entry.exists() || entry.remove())
        return {};
    return QStringLiteral("Açılışta başlama kaydı silinemedi:\n%1\n\n%2\n\nProgram oturum "
                          "açıldığında yine başlayacak.")
        .arg(entry.fileName(), entry.errorString());
}

void FormAyar::CmdIptal_Click() {
    reject();
}

bool FormAyar::CreateStartupShortcut(bool ShowErrors) {
    const Autostart::LinkOutcome outcome =
        Autostart::createShellLink(Autostart::startupFolder(), programName(),
                                   QCoreApplication::applicationFilePath(), QStringLiteral("-o"));
    if (outcome.ok)
        return true;
    if (ShowErrors) {
        const QPointer<FormAyar> alive(this);
        if (outcome.errorNumber != 0)
            MsgBox(QStringLiteral("Bilinmeyen DLL hatası oluştu ! : %1").arg(outcome.errorNumber),
                   MsgBoxStyle::OkOnly, ProductInfo::Name);
        // The program may have ended while the first box was open.
        if (alive && !closed_)
            MsgBox(QStringLiteral("Açılış kısayolu oluşturulamadı. Uygulama açılışta "
                                  "yüklenmeyecek."),
                   MsgBoxStyle::OkOnly | MsgBoxStyle::Critical, ProductInfo::Name);
    }
    return false;
}

void FormAyar::done(int result) {
    closed_ = true;
    QDialog::done(result);
}
