#include "help/FormYardim.h"

#include "ProductInfo.h"
#include "controls/FramePlacer.h"
#include "controls/Look.h"
#include "platform/Twips.h"

#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {
const QString CRLF = QStringLiteral("\r\n");

// The guide: each block is a paragraph, or a heading with its paragraph.
const char16_t* const Blocks[][2] = {
    {nullptr,
     u"Bu program yabancı dilinizde yeni öğrendiğiniz vokaboleri pekiştirmek amacıyla "
     u"hazırlanmıştır. Özellikle az kullanılan yabancı vokaboleri çabuk unutursunuz. Ya da bir "
     u"dili yeni öğrenmeye başladıysanız ençok kullanılan temel vokaboleri öğrenmeniz gerekir. "
     u"Bunun için program istenen aralıklarla, listeye girdiğiniz vokaboleri size sorar ve "
     u"iyice öğrendiğiniz vokaboleri listeden çıkarmanıza izin verir. Programda sorulan "
     u"vokaboyi bildiğinizde hiç beklemeden bir başka vokabo sorulur. Siz yanlış cevap verene "
     u"kadar da sormaya devam eder. Böylece her seferinde size hatırlamadığınız bir vokaboyi "
     u"öğretir. Ayrıca programda vokabonin cümle içinde kullanılmış halini de girerek vokabo "
     u"sorusunda size ipucu olmasını sağlayabilirsiniz."},
    {u"Yeni Vokabo Ekle :",
     u"Bu butona tıkladığınızda ekrana gelen pencereden yeni vokabonizi, vokabonin karşılığını "
     u"ve cümle içinde kullanılmış halini girebilirsiniz."},
    {u"Seçili Seçili Vokaboyi Aktif/Pasif Yap :",
     u"Aktif ya da pasif yapmak istediğiniz vokaboyi işaretledikten sonra bu butona tıklayarak "
     u"vokabonin aktiflik durumunu değiştirebilirsiniz."},
    {u"Seçili Vokaboyi Sil :",
     u"Listeden çıkarmak istediğiniz vokaboyi işaretledikten sonra bu butona tıklayarak "
     u"vokaboyi silebilirsiniz. Silinen vokabo listede olmayacağı için tekrar "
     u"sorulmayacaktır."},
    {u"Ayarlar :",
     u"Bilgisayarın açılışında, programın otomatik olarak başlayıp başlamayacağını "
     u"seçebilirsiniz. Zamanlanmış vokabo sorusu ayarlarını buradan yapabilirsiniz. İsterseniz "
     u"vokabo sorusunu devredışı bırakabilir veya vokabo sorusu periyordunu, seçenek sayısını "
     u"ve soru türünü ayarlayabilirsiniz."},
    {nullptr,
     u"Her vokabo sorusu ekranınıza geldiğinde pencere başlığında bu vokaboye daha önce kaç "
     u"kere üstüste doğru cevap verdiğinizi görebilirsiniz. Eğer bir vokabo ilk kez soruluyorsa "
     u"ya da vokaboye daha önceden yanlış cevap verdiyseniz doğru cevaplarınız "
     u"sıfırlanacaktır."},
    {nullptr,
     u"İsterseniz vokabo sorusunu siz de başlatabilirsiniz. Bunun için görev çubuğu üzerindeki "
     u"program ikonuna sağ tıkladığınızda buradan gelen menüden Vokabo Sor 'u "
     u"seçebilirsiniz."},
};

// The guide as the window shows it: blocks parted by an empty line, each
// heading directly above its paragraph, lines ended by CR LF.
QString helpText() {
    QStringList blocks;
    for (const auto& [heading, paragraph] : Blocks)
        blocks.append(heading ? QString::fromUtf16(heading) + CRLF + QString::fromUtf16(paragraph)
                              : QString::fromUtf16(paragraph));
    return blocks.join(CRLF + CRLF);
}
} // namespace

FormYardim::FormYardim(QWidget* mainWindow, const QString& wordFile)
    : QDialog(mainWindow, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("FormYardim"));
    setWindowTitle(QStringLiteral("Program Hakkında"));
    setWindowModality(Qt::ApplicationModal);
    setFont(designFont("MS Sans Serif", 8.25));
    setFixedSize(twipsToPixels(6000), twipsToPixels(5820));

    auto* frame = new QGroupBox(this);
    placeTwips(frame, 120, 0, 5775, 5175);

    TextYardim = new QPlainTextEdit(frame);
    placeTwips(TextYardim, 120, 240, 5535, 3975);
    TextYardim->setReadOnly(true);
    TextYardim->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    TextYardim->setAccessibleName(QStringLiteral("Yardım"));

    LblBilgi = new QLabel(frame);
    placeTwips(LblBilgi, 240, 4320, 2535, 735);
    LblBilgi->setTextFormat(Qt::PlainText);
    LblBilgi->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LblBilgi->setFont(designFont("MS Sans Serif", 9.75));
    setTextColour(LblBilgi, QColor(128, 0, 0));

    Label3 = new QLabel(ProductInfo::NameAndVersion, frame);
    placeTwips(Label3, 3840, 4800, 1740, 240);
    Label3->setFont(designFont("MS Sans Serif", 9.75, true));
    setTextColour(Label3, QColor(64, 64, 64));

    ImgLogo = new QLabel(frame);
    placeTwips(ImgLogo, 5160, 4320, 495, 495);
    ImgLogo->setAlignment(Qt::AlignCenter);
    ImgLogo->setAccessibleName(ProductInfo::Name);

    CmdTamam = new QPushButton(QStringLiteral("Tamam"), this);
    placeTwips(CmdTamam, 2393, 5280, 1215, 375);
    CmdTamam->setAccessibleName(CmdTamam->text());
    // Enter and Esc both press it.
    CmdTamam->setDefault(true);
    connect(CmdTamam, &QPushButton::clicked, this, &QDialog::accept);
    setObjectNames({{TextYardim, "TextYardim"},
                    {LblBilgi, "LblBilgi"},
                    {Label3, "Label3"},
                    {ImgLogo, "ImgLogo"},
                    {CmdTamam, "CmdTamam"}});
    setTabOrder(CmdTamam, TextYardim);
    CmdTamam->setFocus();

    Form_Load(mainWindow, wordFile);

    centreOnScreen(this);
}

void FormYardim::Form_Load(QWidget* mainWindow, const QString& wordFilePath) {
    const QIcon icon = mainWindow ? mainWindow->windowIcon() : QApplication::windowIcon();
    ImgLogo->setPixmap(icon.pixmap(ImgLogo->size()));
    TextYardim->setPlainText(QString(helpText()).replace(CRLF, QStringLiteral("\n")));
    LblBilgi->setText(QStringList{QStringLiteral("Önerilirinizi bekliyorum..."),
                                  ProductInfo::ContactName, ProductInfo::ContactEmail}
                          .join(u'\n'));
    LblBilgi->setAccessibleName(LblBilgi->text());
    Label3->setAccessibleName(Label3->text());

    // Where the words are kept, for whoever asks where they are.
    const QString wordFile =
        QStringLiteral("Vokabo dosyası: %1").arg(QDir::toNativeSeparators(wordFilePath));
    for (QLabel* label : {Label3, ImgLogo}) {
        label->setToolTip(wordFile);
        label->setAccessibleDescription(wordFile);
    }
}
