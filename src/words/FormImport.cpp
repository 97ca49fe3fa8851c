#include "words/FormImport.h"

#include "controls/Look.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

namespace {
// How often the bar follows the reading: the screen's pace is more than enough.
constexpr int ProgressIntervalMs = 50;
constexpr int ProgressSteps = 1000;

QString number(qint64 n) {
    return QLocale(QLocale::Turkish).toString(n);
}

QLabel* plainLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    // File names and reasons are shown as they are, never as markup.
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}
} // namespace

FormImport::FormImport(const QString& path, const ModVokabo::WordList& active,
                       const ModVokabo::WordList& passive, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("FormImport"));
    setWindowTitle(QStringLiteral("Dosyadan Vokabo Ekle"));
    setWindowIcon(QApplication::windowIcon());
    setFont(designFont("MS Sans Serif", 8.25));
    resize(440, 340);

    LabelDosya = plainLabel(this);
    LabelDosya->setObjectName(QStringLiteral("LabelDosya"));
    LabelDosya->setText(QStringLiteral("Dosya: %1").arg(QFileInfo(path).fileName()));
    LabelDosya->setToolTip(path);
    LabelDurum = plainLabel(this);
    LabelDurum->setObjectName(QStringLiteral("LabelDurum"));
    LabelDurum->setText(QStringLiteral("Dosya okunuyor..."));
    Progress = new QProgressBar(this);
    Progress->setRange(0, ProgressSteps);
    Progress->setValue(0);
    Progress->setAccessibleName(QStringLiteral("Okuma"));
    ListSorunlar = new QListWidget(this);
    ListSorunlar->setObjectName(QStringLiteral("ListSorunlar"));
    ListSorunlar->setAccessibleName(QStringLiteral("Okunamayan satırlar"));
    ListSorunlar->setUniformItemSizes(true);
    ListSorunlar->hide();

    CmdEkle = new QPushButton(QStringLiteral("Ekle"), this);
    CmdEkle->setObjectName(QStringLiteral("CmdEkle"));
    CmdEkle->setEnabled(false);
    CmdIptal = new QPushButton(QStringLiteral("İptal"), this);
    CmdIptal->setObjectName(QStringLiteral("CmdIptal"));
    CmdIptal->setDefault(true);
    connect(CmdEkle, &QPushButton::clicked, this, &QDialog::accept);
    connect(CmdIptal, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CmdEkle);
    buttons->addWidget(CmdIptal);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LabelDosya);
    layout->addWidget(LabelDurum);
    layout->addWidget(Progress);
    layout->addWidget(ListSorunlar, 1);
    layout->addStretch();
    layout->addLayout(buttons);

    progressTimer_ = new QTimer(this);
    progressTimer_->setInterval(ProgressIntervalMs);
    connect(progressTimer_, &QTimer::timeout, this, &FormImport::showProgress);
    progressTimer_->start();

    // The thread reads copies: the lists may change once the window is gone.
    reader_ = QThread::create([this, path, active, passive] {
        result_ = WordImport::readFile(path, [this](qint64 done, qint64 total) {
            done_ = done;
            total_ = total;
            return !stop_.load();
        });
        if (result_.refusal.isEmpty() && !result_.cancelled)
            plan_ = WordImport::plan(result_.entries, active, passive);
    });
    connect(reader_, &QThread::finished, this, &FormImport::showOutcome);
    reader_->start();
}

FormImport::~FormImport() {
    stop_ = true;
    if (reader_) {
        reader_->wait();
        delete reader_;
    }
}

void FormImport::showProgress() {
    const qint64 total = total_.load();
    if (total > 0)
        Progress->setValue(static_cast<int>(done_.load() * ProgressSteps / total));
}

void FormImport::showOutcome() {
    reader_->wait();
    progressTimer_->stop();
    Progress->hide();
    finished_ = true;
    if (result_.cancelled)
        return;
    QStringList lines;
    if (!result_.formatName.isEmpty())
        lines.append(
            QStringLiteral("Biçim: %1 (%2)").arg(result_.formatName, result_.encodingName));
    if (!result_.refusal.isEmpty()) {
        lines.append(result_.refusal);
    } else {
        lines.append(QStringLiteral("Eklenecek yeni vokabo: %1").arg(number(plan_.toAdd.size())));
        lines.append(QStringLiteral("Listelerde zaten olduğu için eklenmeyecek: %1")
                         .arg(number(plan_.alreadyInLists)));
        if (plan_.repeatedInFile > 0)
            lines.append(QStringLiteral("Dosyada tekrarlandığı için eklenmeyecek: %1")
                             .arg(number(plan_.repeatedInFile)));
        if (plan_.noRoom > 0)
            lines.append(QStringLiteral("Aktif listede yer kalmadığı için eklenmeyecek: %1")
                             .arg(number(plan_.noRoom)));
    }
    lines.append(QStringLiteral("Okunamayan satır: %1").arg(number(result_.problemCount)));
    LabelDurum->setText(lines.join(u'\n'));

    if (result_.problemCount > 0) {
        QStringList items;
        items.reserve(result_.problems.size() + 1);
        for (const WordImport::Problem& problem : result_.problems)
            items.append(
                problem.line > 0
                    ? QStringLiteral("Satır %1: %2").arg(number(problem.line), problem.reason)
                    : problem.reason);
        if (result_.problemCount > result_.problems.size())
            items.append(QStringLiteral("... ve %1 satır daha")
                             .arg(number(result_.problemCount - result_.problems.size())));
        ListSorunlar->addItems(items);
        ListSorunlar->show();
    }
    const bool anything = !plan_.toAdd.isEmpty();
    CmdEkle->setEnabled(anything);
    CmdEkle->setDefault(anything);
    CmdIptal->setDefault(!anything);
    (anything ? CmdEkle : CmdIptal)->setFocus();
}
