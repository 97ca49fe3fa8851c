#include "words/FormImport.h"

#include "controls/Look.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

namespace {
// How often the bar follows the reading: the screen's pace is more than enough.
constexpr int ProgressIntervalMs = 50;
constexpr int ProgressSteps = 1000;
// The table shows the file's first words, enough to see that they are right.
constexpr int PreviewRows = 200;
// A column's name or first text, as far as a choice list shows it.
constexpr int ShownNameLength = 24;
// The word and meaning columns of the table take at most this many pixels.
constexpr int WordColumnWidth = 200;

QString number(qint64 n) {
    return QLocale(QLocale::Turkish).toString(n);
}

QLabel* plainLabel(QWidget* parent, const char* name, bool wrap = true) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1StringView(name));
    // File names, words and reasons are shown as they are, never as markup.
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(wrap);
    return label;
}

QComboBox* choiceList(QWidget* parent, const char* name, const QString& accessibleName) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QLatin1StringView(name));
    combo->setAccessibleName(accessibleName);
    // However long a column's name, the row of choices fits the window.
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(14);
    return combo;
}

// A row of labelled choices; label, control, label, control...
QWidget* choiceRow(QWidget* parent, std::initializer_list<std::pair<QString, QWidget*>> items) {
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    for (const auto& [text, control] : items) {
        if (!text.isEmpty()) {
            auto* label = new QLabel(text, row);
            label->setBuddy(control);
            layout->addWidget(label);
        }
        control->setParent(row);
        layout->addWidget(control);
    }
    layout->addStretch();
    return row;
}

QString shortened(const QString& text) {
    const QString line = text.simplified();
    return line.size() <= ShownNameLength ? line : line.first(ShownNameLength - 1) + u'…';
}

void selectData(QComboBox* combo, int data) {
    combo->setCurrentIndex(std::max(0, combo->findData(data)));
}
} // namespace

FormImport::FormImport(const QString& path, const ModVokabo::WordList& active,
                       const ModVokabo::WordList& passive, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      path_(path), active_(active), passive_(passive) {
    setObjectName(QStringLiteral("FormImport"));
    setWindowTitle(QStringLiteral("Dosyadan Vokabo Ekle"));
    setWindowIcon(QApplication::windowIcon());
    setFont(designFont("MS Sans Serif", 8.25));
    resize(720, 520);

    LabelDosya = plainLabel(this, "LabelDosya");
    LabelDosya->setText(QStringLiteral("Dosya: %1").arg(QFileInfo(path).fileName()));
    LabelDosya->setToolTip(path);
    LabelBicim = plainLabel(this, "LabelBicim");

    ComboKodlama = choiceList(this, "ComboKodlama", QStringLiteral("Kodlama"));
    ComboKodlama->addItem(QStringLiteral("UTF-8"), int(WordImport::Encoding::Utf8));
    ComboKodlama->addItem(QStringLiteral("Windows-1254 (Türkçe)"),
                          int(WordImport::Encoding::Windows1254));
    FrameKodlama = choiceRow(this, {{QStringLiteral("&Kodlama:"), ComboKodlama}});
    connect(ComboKodlama, &QComboBox::activated, this, [this] {
        choose([this](WordImport::Options& options) {
            options.encoding = WordImport::Encoding(ComboKodlama->currentData().toInt());
        });
    });

    CheckBaslik = new QCheckBox(QStringLiteral("İlk satır &başlık: sütunların adları"), this);
    CheckBaslik->setObjectName(QStringLiteral("CheckBaslik"));
    connect(CheckBaslik, &QCheckBox::clicked, this, [this](bool header) {
        // The columns are guessed again from the new first row.
        choose([header](WordImport::Options& options) {
            options.header = header;
            options.columns.reset();
        });
    });
    CheckSayilar =
        new QCheckBox(QStringLiteral("&Doğru sayılarını ve listeleri (aktif, pasif) koru"), this);
    CheckSayilar->setObjectName(QStringLiteral("CheckSayilar"));
    CheckSayilar->setChecked(true);
    connect(CheckSayilar, &QCheckBox::clicked, this, [this](bool keep) {
        keepCounts_ = keep;
        choose([](WordImport::Options&) {});
    });

    ComboVokabo = choiceList(this, "ComboVokabo", QStringLiteral("Vokabo sütunu"));
    ComboKarsilik = choiceList(this, "ComboKarsilik", QStringLiteral("Karşılığı sütunu"));
    ComboOrnek = choiceList(this, "ComboOrnek", QStringLiteral("Örnek cümle sütunu"));
    CmdDegistir = new QPushButton(QStringLiteral("Sütunları &değiştir"), this);
    CmdDegistir->setObjectName(QStringLiteral("CmdDegistir"));
    CmdDegistir->setToolTip(QStringLiteral("Vokabo ile karşılığının sütunlarını değiştirir."));
    FrameSutunlar = choiceRow(this, {{QStringLiteral("&Vokabo:"), ComboVokabo},
                                     {QStringLiteral("Ka&rşılığı:"), ComboKarsilik},
                                     {QStringLiteral("Ö&rnek:"), ComboOrnek},
                                     {QString(), CmdDegistir}});
    for (QComboBox* combo : {ComboVokabo, ComboKarsilik, ComboOrnek})
        connect(combo, &QComboBox::activated, this, [this] {
            choose([this](WordImport::Options& options) {
                options.columns = WordImport::Columns{ComboVokabo->currentData().toInt(),
                                                      ComboKarsilik->currentData().toInt(),
                                                      ComboOrnek->currentData().toInt()};
            });
        });
    connect(CmdDegistir, &QPushButton::clicked, this, &FormImport::CmdDegistir_Click);

    ComboDilVokabo = choiceList(this, "ComboDilVokabo", QStringLiteral("Vokabo dili"));
    ComboDilKarsilik = choiceList(this, "ComboDilKarsilik", QStringLiteral("Karşılık dili"));
    FrameDiller = choiceRow(this, {{QStringLiteral("Vokabo &dili:"), ComboDilVokabo},
                                   {QStringLiteral("Karşılık d&ili:"), ComboDilKarsilik}});
    for (QComboBox* combo : {ComboDilVokabo, ComboDilKarsilik})
        connect(combo, &QComboBox::activated, this, [this] {
            choose([this](WordImport::Options& options) {
                options.languages = WordImport::Languages{ComboDilVokabo->currentData().toInt(),
                                                          ComboDilKarsilik->currentData().toInt()};
            });
        });

    LabelTablo = plainLabel(this, "LabelTablo");
    TableVokabo = new QTableWidget(this);
    TableVokabo->setObjectName(QStringLiteral("TableVokabo"));
    TableVokabo->setAccessibleName(QStringLiteral("Dosyadaki vokaboler"));
    TableVokabo->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TableVokabo->setSelectionBehavior(QAbstractItemView::SelectRows);
    TableVokabo->setWordWrap(false);
    TableVokabo->verticalHeader()->setToolTip(QStringLiteral("Dosyadaki satır numarası"));
    TableVokabo->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);

    LabelDurum = plainLabel(this, "LabelDurum");
    LabelDurum->setText(QStringLiteral("Dosya okunuyor..."));
    ListSorunlar = new QListWidget(this);
    ListSorunlar->setObjectName(QStringLiteral("ListSorunlar"));
    ListSorunlar->setAccessibleName(QStringLiteral("Okunamayan satırlar"));
    ListSorunlar->setUniformItemSizes(true);
    ListSorunlar->hide();
    Progress = new QProgressBar(this);
    Progress->setRange(0, ProgressSteps);
    Progress->setAccessibleName(QStringLiteral("Okuma"));

    CmdEkle = new QPushButton(QStringLiteral("Ekle"), this);
    CmdEkle->setObjectName(QStringLiteral("CmdEkle"));
    CmdEkle->setEnabled(false);
    CmdIptal = new QPushButton(QStringLiteral("İptal"), this);
    CmdIptal->setObjectName(QStringLiteral("CmdIptal"));
    CmdIptal->setDefault(true);
    connect(CmdEkle, &QPushButton::clicked, this, &QDialog::accept);
    connect(CmdIptal, &QPushButton::clicked, this, &QDialog::reject);

    auto* format = new QHBoxLayout;
    format->addWidget(LabelBicim, 1);
    format->addWidget(FrameKodlama);
    auto* checks = new QHBoxLayout;
    checks->addWidget(CheckBaslik);
    checks->addWidget(CheckSayilar);
    checks->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Progress, 1);
    buttons->addStretch();
    buttons->addWidget(CmdEkle);
    buttons->addWidget(CmdIptal);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LabelDosya);
    layout->addLayout(format);
    layout->addLayout(checks);
    layout->addWidget(FrameSutunlar);
    layout->addWidget(FrameDiller);
    layout->addWidget(LabelTablo);
    layout->addWidget(TableVokabo, 3);
    layout->addWidget(LabelDurum);
    layout->addWidget(ListSorunlar, 1);
    layout->addLayout(buttons);
    for (QWidget* choice :
         std::initializer_list<QWidget*>{LabelBicim, FrameKodlama, CheckBaslik, CheckSayilar,
                                         FrameSutunlar, FrameDiller, LabelTablo, TableVokabo})
        choice->hide();

    progressTimer_ = new QTimer(this);
    progressTimer_->setInterval(ProgressIntervalMs);
    connect(progressTimer_, &QTimer::timeout, this, &FormImport::showProgress);
    startReading();
}

FormImport::~FormImport() {
    stop_ = true;
    if (reader_)
        reader_->wait();
}

QList<QWidget*> FormImport::choices() const {
    return {FrameKodlama, CheckBaslik, CheckSayilar, FrameSutunlar, FrameDiller};
}

void FormImport::choose(const std::function<void(WordImport::Options&)>& change) {
    if (!finished_)
        return;
    change(options_);
    startReading();
}

void FormImport::CmdDegistir_Click() {
    choose([this](WordImport::Options& options) {
        options.columns = WordImport::Columns{ComboKarsilik->currentData().toInt(),
                                              ComboVokabo->currentData().toInt(),
                                              ComboOrnek->currentData().toInt()};
    });
}

void FormImport::startReading() {
    finished_ = false;
    for (QWidget* choice : choices())
        choice->setEnabled(false);
    CmdEkle->setEnabled(false);
    done_ = 0;
    total_ = 0;
    Progress->setValue(0);
    Progress->show();
    progressTimer_->start();
    // The thread works on its own copies: the choices, the lists as they
    // were when the window opened, and the file's bytes, loaded once.
    reader_.reset(QThread::create([this, options = options_, keep = keepCounts_] {
        if (!loaded_) {
            loadRefusal_ = WordImport::load(path_, bytes_);
            loaded_ = true;
        }
        WordImport::Result result;
        if (loadRefusal_.isEmpty()) {
            result = WordImport::read(bytes_, path_, options, [this](qint64 done, qint64 total) {
                done_ = done;
                total_ = total;
                return !stop_.load();
            });
        } else {
            result.refusal = loadRefusal_;
        }
        plan_ = result.refusal.isEmpty() && !result.cancelled
                    ? WordImport::plan(result.entries, active_, passive_, keep && result.hasCounts)
                    : WordImport::Plan{};
        result_ = std::move(result);
    }));
    connect(reader_.get(), &QThread::finished, this, &FormImport::showOutcome);
    reader_->start();
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
    if (result_.cancelled)
        return;
    finished_ = true;
    showChoices();
    showWords();
    showSummary();
    const bool anything = plan_.size() > 0;
    CmdEkle->setEnabled(anything);
    CmdEkle->setDefault(anything);
    CmdIptal->setDefault(!anything);
    if (!focusWidget() || !focusWidget()->isEnabled() || !focusWidget()->isVisible())
        (anything ? CmdEkle : CmdIptal)->setFocus();
}

void FormImport::showChoices() {
    using WordImport::Format;
    const WordImport::Result& r = result_;
    LabelBicim->setText(QStringLiteral("Biçim: %1 (%2)").arg(r.formatName, r.encodingName));
    LabelBicim->setVisible(!r.formatName.isEmpty());
    FrameKodlama->setVisible(r.format != Format::None && !r.encodingFixed);
    selectData(ComboKodlama, int(r.encoding));

    const bool delimited = r.format == Format::Delimited;
    CheckBaslik->setVisible(delimited);
    CheckBaslik->setChecked(r.header);
    CheckSayilar->setVisible(r.hasCounts);
    CheckSayilar->setChecked(keepCounts_);

    FrameSutunlar->setVisible(delimited && r.columnNames.size() >= 2);
    QStringList columns;
    for (qsizetype i = 0; i < r.columnNames.size(); ++i)
        columns.append(
            r.columnNames[i].isEmpty()
                ? QStringLiteral("%1. sütun").arg(i + 1)
                : QStringLiteral("%1. sütun: %2").arg(i + 1).arg(shortened(r.columnNames[i])));
    const auto fill = [&columns](QComboBox* combo, bool none, int current) {
        combo->clear();
        if (none)
            combo->addItem(QStringLiteral("(yok)"), -1);
        for (int i = 0; i < columns.size(); ++i)
            combo->addItem(columns[i], i);
        selectData(combo, current);
    };
    fill(ComboVokabo, false, r.columns.word);
    fill(ComboKarsilik, false, r.columns.meaning);
    fill(ComboOrnek, true, r.columns.example);

    FrameDiller->setVisible(r.format == Format::Kvtml && !r.languageNames.isEmpty());
    ComboDilVokabo->clear();
    ComboDilKarsilik->clear();
    for (int i = 0; i < r.languageNames.size(); ++i) {
        ComboDilVokabo->addItem(r.languageNames[i], i);
        ComboDilKarsilik->addItem(r.languageNames[i], i);
    }
    ComboDilKarsilik->addItem(QStringLiteral("İpucu (açıklama)"), WordImport::HintLanguage);
    selectData(ComboDilVokabo, r.languages.word);
    selectData(ComboDilKarsilik, r.languages.meaning);

    for (QWidget* choice : choices())
        choice->setEnabled(true);
}

void FormImport::showWords() {
    const QList<WordImport::Entry>& entries = result_.entries;
    const bool counts = result_.hasCounts && keepCounts_;
    QStringList headers{QStringLiteral("Vokabo"), QStringLiteral("Karşılığı"),
                        QStringLiteral("Örnek Cümle")};
    if (counts)
        headers << QStringLiteral("Doğru") << QStringLiteral("Liste");
    const int rows = static_cast<int>(std::min<qsizetype>(entries.size(), PreviewRows));
    TableVokabo->clear();
    TableVokabo->setColumnCount(static_cast<int>(headers.size()));
    TableVokabo->setHorizontalHeaderLabels(headers);
    TableVokabo->setRowCount(rows);
    QStringList lines;
    for (int row = 0; row < rows; ++row) {
        const WordImport::Entry& entry = entries[row];
        QStringList texts{entry.word.English, entry.word.Turkish, entry.word.Ornek};
        if (counts)
            texts << QString::number(entry.word.Dogru)
                  << (entry.passive ? QStringLiteral("Pasif") : QStringLiteral("Aktif"));
        for (int column = 0; column < texts.size(); ++column)
            TableVokabo->setItem(row, column, new QTableWidgetItem(texts[column]));
        lines.append(number(entry.line));
    }
    TableVokabo->setVerticalHeaderLabels(lines);
    TableVokabo->resizeColumnsToContents();
    // The example sentence takes the room that is left.
    TableVokabo->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    for (int column = 0; column < 2; ++column)
        TableVokabo->setColumnWidth(column, std::clamp(TableVokabo->columnWidth(column),
                                                       WordColumnWidth / 2, WordColumnWidth));
    TableVokabo->setVisible(rows > 0);
    LabelTablo->setVisible(rows > 0);
    LabelTablo->setText(entries.size() > rows
                            ? QStringLiteral("Dosyadaki ilk %1 vokabo (%2 vokabodan):")
                                  .arg(number(rows), number(entries.size()))
                            : QStringLiteral("Dosyadaki vokaboler:"));
}

void FormImport::showSummary() {
    QStringList lines;
    if (!result_.refusal.isEmpty()) {
        lines.append(result_.refusal);
    } else {
        if (!result_.note.isEmpty())
            lines.append(result_.note);
        lines.append(QStringLiteral("Eklenecek yeni vokabo: %1").arg(number(plan_.size())));
        if (!plan_.passive.isEmpty())
            lines.last() += QStringLiteral(" (%1 aktif, %2 pasif)")
                                .arg(number(plan_.active.size()), number(plan_.passive.size()));
        lines.append(QStringLiteral("Listelerde zaten olduğu için eklenmeyecek: %1")
                         .arg(number(plan_.alreadyInLists)));
        if (plan_.repeatedInFile > 0)
            lines.append(QStringLiteral("Dosyada tekrarlandığı için eklenmeyecek: %1")
                             .arg(number(plan_.repeatedInFile)));
        if (plan_.noRoom > 0)
            lines.append((plan_.passive.isEmpty()
                              ? QStringLiteral("Aktif listede yer kalmadığı için eklenmeyecek: %1")
                              : QStringLiteral("Listelerde yer kalmadığı için eklenmeyecek: %1"))
                             .arg(number(plan_.noRoom)));
    }
    lines.append(QStringLiteral("Okunamayan satır: %1").arg(number(result_.problemCount)));
    LabelDurum->setText(lines.join(u'\n'));

    ListSorunlar->clear();
    QStringList items;
    items.reserve(result_.problems.size() + 1);
    for (const WordImport::Problem& problem : result_.problems)
        items.append(problem.line > 0
                         ? QStringLiteral("Satır %1: %2").arg(number(problem.line), problem.reason)
                         : problem.reason);
    if (result_.problemCount > result_.problems.size())
        items.append(QStringLiteral("... ve %1 satır daha")
                         .arg(number(result_.problemCount - result_.problems.size())));
    ListSorunlar->addItems(items);
    ListSorunlar->setVisible(!items.isEmpty());
}
