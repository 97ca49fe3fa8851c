#include "words/FormYeni.h"

#include "controls/FramePlacer.h"
#include "controls/Look.h"
#include "controls/SpeakerButton.h"
#include "platform/MsgBox.h"
#include "platform/Speech.h"
#include "platform/Twips.h"
#include "words/ModVokabo.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>

namespace {
// A word is one line of the word file: a line break that arrives in a box
// (a copy from a web page often ends with one) becomes a blank.
class OneLine : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& pos) const override {
        const QString before = input.left(pos);
        input = lineBreaksToBlanks(input);
        pos = static_cast<int>(lineBreaksToBlanks(before).size());
        return Acceptable;
    }
};
} // namespace

QString lineBreaksToBlanks(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}

FormYeni::FormYeni(ModVokabo::WordStore& words, std::optional<Edited> edited, Speech& speech,
                   QLocale::Language wordsLanguage, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      words_(words), edited_(edited), speech_(speech), wordsLanguage_(wordsLanguage) {
    setObjectName(QStringLiteral("FormYeni"));
    setWindowTitle(QStringLiteral("Yeni Vokabo"));
    setWindowIcon(QApplication::windowIcon());
    setFont(designFont("MS Sans Serif", 8.25));
    setFixedSize(twipsToPixels(4920), twipsToPixels(3390));

    auto* frame = new QWidget(this);
    placeTwips(frame, 120, 0, 4695, 2775);

    struct Row {
        const char16_t* caption;
        int top;
        int labelWidth;
    };
    const Row rows[] = {
        {u"Vokabo", 360, 465}, {u"Karşılığı", 1080, 525}, {u"Örnek Cümle", 1800, 915}};
    QLineEdit* boxes[3];
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(QString::fromUtf16(rows[i].caption), frame);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        placeTwips(label, 240, rows[i].top, rows[i].labelWidth, 195);
        label->adjustSize();
        setTextColour(label, QColor(0, 0, 128));
        boxes[i] = new QLineEdit(frame);
        boxes[i]->setValidator(new OneLine(boxes[i]));
        boxes[i]->setAccessibleName(label->text());
        label->setBuddy(boxes[i]);
        placeTwips(boxes[i], 240, rows[i].top + 240, 4215, 285 + 60);
    }
    TextEnglish = boxes[0];
    TextTurkish = boxes[1];
    TextOrnek = boxes[2];
    TextEnglish->setFont(designFont("MS Sans Serif", 8.25, true));
    setTextColour(TextEnglish, QColor(0, 0, 192));

    // The speaker ends the word's row: the word's box gives up its room.
    CmdSeslendir = new SpeakerButton(speech_, QStringLiteral("Vokaboyi seslendir"), frame);
    CmdSeslendir->setObjectName(QStringLiteral("CmdSeslendir"));
    const QRect word = TextEnglish->geometry();
    CmdSeslendir->move(word.right() + 1 - CmdSeslendir->width(),
                       word.center().y() - CmdSeslendir->height() / 2 + 1);
    TextEnglish->setFixedWidth(word.width() - CmdSeslendir->width() - 2);
    connect(CmdSeslendir, &SpeakerButton::clicked, this, &FormYeni::CmdSeslendir_Click);

    CmdEkle = new QPushButton(QStringLiteral("Ekle"), this);
    placeTwips(CmdEkle, 1448, 2880, 975, 375);
    CmdEkle->setDefault(true);
    CmdIptal = new QPushButton(QStringLiteral("İptal"), this);
    placeTwips(CmdIptal, 2528, 2880, 975, 375);
    connect(CmdEkle, &QPushButton::clicked, this, &FormYeni::CmdEkle_Click);
    connect(CmdIptal, &QPushButton::clicked, this, &QDialog::reject);
    setObjectNames({{TextEnglish, "TextEnglish"},
                    {TextTurkish, "TextTurkish"},
                    {TextOrnek, "TextOrnek"},
                    {CmdEkle, "CmdEkle"},
                    {CmdIptal, "CmdIptal"}});
    setTabOrder(TextEnglish, TextTurkish);
    setTabOrder(TextTurkish, TextOrnek);
    setTabOrder(TextOrnek, CmdEkle);
    setTabOrder(CmdEkle, CmdIptal);
    TextEnglish->setFocus();

    centreOnScreen(this);

    Form_Load();
}

void FormYeni::Form_Load() {
    if (!edited_)
        return;
    setWindowTitle(QStringLiteral("Vokabo Düzelt"));
    CmdEkle->setText(QStringLiteral("Sakla"));
    const ModVokabo::WordDef& word = words_.GetWord(edited_->list, edited_->index);
    TextEnglish->setText(word.English);
    TextTurkish->setText(word.Turkish);
    TextOrnek->setText(word.Ornek);
}

void FormYeni::CmdSeslendir_Click() {
    speech_.say(lineBreaksToBlanks(TextEnglish->text()), wordsLanguage_);
}

void FormYeni::CmdEkle_Click() {
    // Text set from outside the keyboard (a screen reader, say) is not
    // validated as it arrives.
    const QString English = lineBreaksToBlanks(TextEnglish->text());
    const QString Turkish = lineBreaksToBlanks(TextTurkish->text());
    const QString Ornek = lineBreaksToBlanks(TextOrnek->text());
    const QChar pipe = u'|';
    // Only the first failing check is reported.
    const struct {
        bool failed;
        const char16_t* message;
        QLineEdit* box;
    } checks[] = {
        {English.isEmpty(), u"Eksik bilgi !", TextEnglish},
        {Turkish.isEmpty(), u"Eksik bilgi !", TextTurkish},
        {English.contains(pipe), u"Vokabo içinde | (pipe) karakteri kullanmayın !", TextEnglish},
        {Turkish.contains(pipe), u"Vokabo karşılığı içinde | (pipe) karakteri kullanmayın !",
         TextTurkish},
        {Ornek.contains(pipe), u"Örnek cümle içinde | (pipe) karakteri kullanmayın !", TextOrnek},
    };
    for (const auto& check : checks) {
        if (check.failed) {
            MsgBox(QString::fromUtf16(check.message),
                   MsgBoxStyle::OkOnly | MsgBoxStyle::Exclamation, QStringLiteral("Yeni Vokabo"));
            check.box->setFocus();
            return;
        }
    }

    if (edited_)
        words_.UpdateWord(edited_->list, edited_->index, English, Turkish, Ornek);
    else
        words_.AppendWord({English, Turkish, Ornek, 0}, ModVokabo::WordListKind::Active);
    accept();
}
