#include "history/FormIlerleme.h"

#include "controls/Look.h"
#include "platform/Clock.h"
#include "platform/ModalLoops.h"
#include "platform/MsgBox.h"

#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QClipboard>
#include <QDateTimeAxis>
#include <QFileDialog>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QStackedBarSeries>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTableWidget>
#include <QThread>
#include <QTimer>
#include <QValueAxis>
#include <algorithm>

namespace {

// The main window's colours: its background, and its title strip.
const QColor WindowColour(215, 217, 255);
const QColor StripColour(128, 128, 255);
// The question window's right and wrong answers.
const QColor RightColour(0, 0, 255);
const QColor WrongColour(255, 0, 0);
const QColor ActiveColour(0, 128, 0);
const QColor PassiveColour(128, 128, 128);

const QString ExportTitle = QStringLiteral("Cevap Geçmişini Dışa Aktar");

const QLocale& turkish() {
    static const QLocale locale(QLocale::Turkish, QLocale::Turkey);
    return locale;
}

QString shortDate(const QDate& day) {
    return turkish().toString(day, QStringLiteral("d MMM"));
}

QString number(int value) {
    return turkish().toString(value);
}

QLabel* strip(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setFont(designFont("MS Sans Serif", 9.75, true));
    setBackground(label, StripColour);
    setTextColour(label, Qt::white);
    label->setContentsMargins(4, 1, 4, 1);
    return label;
}

QChart* newChart() {
    auto* chart = new QChart;
    chart->setLocale(turkish());
    chart->setLocalizeNumbers(true);
    chart->setBackgroundRoundness(0);
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setFont(designFont("MS Sans Serif", 8.25));
    chart->legend()->setFont(designFont("MS Sans Serif", 8.25));
    return chart;
}

QChartView* chartView(QChart* chart, const QString& name, QWidget* parent) {
    auto* view = new QChartView(chart, parent);
    view->setObjectName(name);
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumHeight(150);
    return view;
}

void clearChart(QChart* chart) {
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
}

QValueAxis* countAxis(int most) {
    auto* axis = new QValueAxis;
    axis->setRange(0, std::max(most, 4));
    axis->setLabelFormat(QStringLiteral("%.0f"));
    axis->applyNiceNumbers();
    axis->setLabelsFont(designFont("MS Sans Serif", 8.25));
    return axis;
}

QTableWidget* table(const QString& name, const QString& accessibleName, const QStringList& columns,
                    QWidget* parent) {
    auto* view = new QTableWidget(0, static_cast<int>(columns.size()), parent);
    view->setObjectName(name);
    view->setAccessibleName(accessibleName);
    view->setHorizontalHeaderLabels(columns);
    view->verticalHeader()->hide();
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setWordWrap(false);
    // The texts take the room; the numbers what they need.
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    view->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    view->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return view;
}

// Texts as they stand, numbers at the right as a reader compares them.
void fill(QTableWidget* view, const QList<QStringList>& rows, int firstNumberColumn) {
    view->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].size(); ++c) {
            auto* item = new QTableWidgetItem(rows[r][c]);
            if (c >= firstNumberColumn)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            view->setItem(r, c, item);
        }
}

// The selected cells as tab-separated lines, as spreadsheets paste them.
QString selectedText(const QTableWidget* view) {
    QList<QTableWidgetSelectionRange> ranges = view->selectedRanges();
    std::sort(ranges.begin(), ranges.end(),
              [](const auto& a, const auto& b) { return a.topRow() < b.topRow(); });
    QStringList lines;
    for (const QTableWidgetSelectionRange& range : std::as_const(ranges))
        for (int r = range.topRow(); r <= range.bottomRow(); ++r) {
            QStringList cells;
            for (int c = range.leftColumn(); c <= range.rightColumn(); ++c)
                cells.append(view->item(r, c) ? view->item(r, c)->text() : QString());
            lines.append(cells.join(u'\t'));
        }
    return lines.join(u'\n');
}

} // namespace

FormIlerleme::FormIlerleme(History::AnswerHistory& history, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Window), history_(history) {
    setObjectName(QStringLiteral("FormIlerleme"));
    setWindowTitle(QStringLiteral("İlerleme"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(designFont("MS Sans Serif", 8.25));
    setBackground(this, WindowColour);
    resize(680, 560);

    LabelSeri = new QLabel(this);
    LabelSeri->setObjectName(QStringLiteral("LabelSeri"));
    LabelSeri->setTextFormat(Qt::PlainText);
    LabelSeri->setFont(designFont("MS Sans Serif", 12, true));
    setTextColour(LabelSeri, QColor(128, 0, 0));
    LabelSeri->setToolTip(QStringLiteral("Bugüne kadar her gün en az bir doğru cevap "
                                         "verdiğiniz gün sayısı"));

    CheckTablo = new QCheckBox(QStringLiteral("Tablo"), this);
    CheckTablo->setObjectName(QStringLiteral("CheckTablo"));
    CheckTablo->setToolTip(QStringLiteral("Aynı bilgileri tablo olarak göster"));
    connect(CheckTablo, &QCheckBox::toggled, this, &FormIlerleme::CheckTablo_Click);
    CmdDisaAktar = new QPushButton(QStringLiteral("Dışa Aktar…"), this);
    CmdDisaAktar->setObjectName(QStringLiteral("CmdDisaAktar"));
    CmdDisaAktar->setToolTip(QStringLiteral("Bütün cevapları bir CSV dosyasına yaz"));
    connect(CmdDisaAktar, &QPushButton::clicked, this, &FormIlerleme::CmdDisaAktar_Click);

    daysChart_ = newChart();
    ChartGunler = chartView(daysChart_, QStringLiteral("ChartGunler"), this);
    ChartGunler->setAccessibleName(QStringLiteral("Son 30 günün cevapları"));
    TableGunler = table(QStringLiteral("TableGunler"), QStringLiteral("Günlük cevaplar"),
                        {QStringLiteral("Tarih"), QStringLiteral("Doğru"), QStringLiteral("Yanlış"),
                         QStringLiteral("Toplam")},
                        this);
    daysPage_ = new QStackedWidget(this);
    daysPage_->addWidget(ChartGunler);
    daysPage_->addWidget(TableGunler);

    listsChart_ = newChart();
    ChartListeler = chartView(listsChart_, QStringLiteral("ChartListeler"), this);
    ChartListeler->setAccessibleName(QStringLiteral("Aktif ve pasif vokaboler"));
    TableListeler =
        table(QStringLiteral("TableListeler"), QStringLiteral("Aktif ve pasif vokaboler"),
              {QStringLiteral("Tarih"), QStringLiteral("Aktif"), QStringLiteral("Pasif")}, this);
    listsPage_ = new QStackedWidget(this);
    listsPage_->addWidget(ChartListeler);
    listsPage_->addWidget(TableListeler);

    TableYanlis = table(
        QStringLiteral("TableYanlis"), QStringLiteral("En çok yanlış bilinenler"),
        {QStringLiteral("Vokabo"), QStringLiteral("Karşılığı"), QStringLiteral("Yanlış")}, this);
    TableYanlis->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    TableYanlis->setToolTip(QStringLiteral("Çift tıklayınca vokabo ana pencerenin listesinde "
                                           "seçilir"));
    connect(TableYanlis, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        const QTableWidgetItem* word = TableYanlis->item(row, 0);
        const QTableWidgetItem* meaning = TableYanlis->item(row, 1);
        if (word && meaning)
            emit wordChosen(word->text(), meaning->text());
    });

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setSpacing(4);
    auto* top = new QHBoxLayout;
    top->addWidget(LabelSeri, 1);
    top->addWidget(CheckTablo);
    top->addWidget(CmdDisaAktar);
    grid->addLayout(top, 0, 0, 1, 2);
    grid->addWidget(strip(QStringLiteral("Son 30 Günün Cevapları"), this), 1, 0, 1, 2);
    grid->addWidget(daysPage_, 2, 0, 1, 2);
    grid->addWidget(strip(QStringLiteral("Aktif ve Pasif Vokaboler"), this), 3, 0);
    grid->addWidget(strip(QStringLiteral("En Çok Yanlış Bilinenler"), this), 3, 1);
    grid->addWidget(listsPage_, 4, 0);
    grid->addWidget(TableYanlis, 4, 1);
    grid->setRowStretch(2, 3);
    grid->setRowStretch(4, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);

    // Answers come in bursts (a series, an import): the figures are read
    // once the burst is over.
    refreshSoon_ = new QTimer(this);
    refreshSoon_->setSingleShot(true);
    refreshSoon_->setInterval(0);
    connect(refreshSoon_, &QTimer::timeout, this, &FormIlerleme::refresh);
    connect(&history_, &History::AnswerHistory::recorded, refreshSoon_,
            qOverload<>(&QTimer::start));

    for (QTableWidget* view : {TableGunler, TableListeler, TableYanlis})
        view->installEventFilter(this);
    refresh();
}

FormIlerleme::~FormIlerleme() {
    if (exporter_) {
        exporter_->wait();
        delete exporter_;
    }
}

void FormIlerleme::refresh() {
    const History::Figures figures = history_.figures(Now().date());
    LabelSeri->setText(QStringLiteral("Seri: %1 gün").arg(number(figures.streak)));
    LabelSeri->setAccessibleName(LabelSeri->text());
    showDays(figures);
    showLists(figures);
    showMostWrong(figures);
}

void FormIlerleme::showDays(const History::Figures& figures) {
    clearChart(daysChart_);
    auto* right = new QBarSet(QStringLiteral("Doğru"));
    auto* wrong = new QBarSet(QStringLiteral("Yanlış"));
    right->setColor(RightColour);
    wrong->setColor(WrongColour);
    QStringList days;
    QList<QStringList> rows;
    int most = 0;
    for (const History::DayCount& day : figures.days) {
        *right << day.right;
        *wrong << day.wrong;
        days.append(shortDate(day.day));
        most = std::max(most, day.right + day.wrong);
        // The table starts with today.
        rows.prepend({shortDate(day.day), number(day.right), number(day.wrong),
                      number(day.right + day.wrong)});
    }
    auto* series = new QStackedBarSeries;
    series->append(right);
    series->append(wrong);
    series->setBarWidth(0.8);
    daysChart_->addSeries(series);
    // A date under every fifth day, the last one today's: thirty would not
    // fit side by side.
    auto* x = new QCategoryAxis;
    x->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    x->setRange(-0.5, static_cast<qreal>(days.size()) - 0.5);
    for (qsizetype i = (days.size() - 1) % 5; i < days.size(); i += 5)
        x->append(days[i], static_cast<qreal>(i));
    x->setLabelsFont(designFont("MS Sans Serif", 7.5));
    x->setGridLineVisible(false);
    daysChart_->addAxis(x, Qt::AlignBottom);
    series->attachAxis(x);
    QValueAxis* y = countAxis(most);
    daysChart_->addAxis(y, Qt::AlignLeft);
    series->attachAxis(y);
    fill(TableGunler, rows, 1);
}

void FormIlerleme::showLists(const History::Figures& figures) {
    clearChart(listsChart_);
    auto* active = new QLineSeries;
    auto* passive = new QLineSeries;
    active->setName(QStringLiteral("Aktif"));
    passive->setName(QStringLiteral("Pasif"));
    active->setPen(QPen(ActiveColour, 2));
    passive->setPen(QPen(PassiveColour, 2));
    const QDate today = Now().date();
    const auto at = [](const QDate& day) {
        return static_cast<qreal>(day.startOfDay().toMSecsSinceEpoch());
    };
    QList<QStringList> rows;
    int most = 0;
    const History::ListSizes* before = nullptr;
    for (const History::ListSizes& sizes : figures.lists) {
        // A list keeps its size until the day it changes.
        if (before) {
            active->append(at(sizes.day), before->active);
            passive->append(at(sizes.day), before->passive);
        }
        active->append(at(sizes.day), sizes.active);
        passive->append(at(sizes.day), sizes.passive);
        most = std::max({most, sizes.active, sizes.passive});
        rows.prepend({turkish().toString(sizes.day, QStringLiteral("d MMM yyyy")),
                      number(sizes.active), number(sizes.passive)});
        before = &sizes;
    }
    // Up to the end of today, over a month at least, or all of the history.
    const qreal end = static_cast<qreal>(today.endOfDay().toMSecsSinceEpoch());
    if (before) {
        active->append(end, before->active);
        passive->append(end, before->passive);
    }
    listsChart_->addSeries(active);
    listsChart_->addSeries(passive);
    auto* x = new QDateTimeAxis;
    x->setFormat(QStringLiteral("d MMM"));
    x->setLabelsFont(designFont("MS Sans Serif", 7.5));
    x->setTickCount(5);
    QDate first = today.addDays(1 - History::FigureDays);
    if (!figures.lists.isEmpty())
        first = std::min(first, figures.lists.first().day);
    x->setRange(first.startOfDay(), today.endOfDay());
    listsChart_->addAxis(x, Qt::AlignBottom);
    active->attachAxis(x);
    passive->attachAxis(x);
    QValueAxis* y = countAxis(most);
    listsChart_->addAxis(y, Qt::AlignLeft);
    active->attachAxis(y);
    passive->attachAxis(y);
    fill(TableListeler, rows, 1);
}

void FormIlerleme::showMostWrong(const History::Figures& figures) {
    QList<QStringList> rows;
    for (const History::WrongWord& word : figures.mostWrong)
        rows.append({word.English, word.Turkish, number(word.wrong)});
    fill(TableYanlis, rows, 2);
}

void FormIlerleme::CheckTablo_Click() {
    const int page = CheckTablo->isChecked() ? 1 : 0;
    daysPage_->setCurrentIndex(page);
    listsPage_->setCurrentIndex(page);
}

void FormIlerleme::CmdDisaAktar_Click() {
    QFileDialog dialog(this, ExportTitle);
    dialog.setObjectName(QStringLiteral("FileDialogGecmis"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QStringLiteral("CSV dosyası (*.csv)"));
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.setDirectory(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    dialog.selectFile(QStringLiteral("vokabo-gecmis.csv"));
    if (ModalLoops::exec(&dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().constFirst();
    if (!history_.keptInFile()) {
        exportEnded(path, history_.exportCsv(path));
        return;
    }
    CmdDisaAktar->setEnabled(false);
    exporter_ = QThread::create(
        [this, from = history_.path(), path] { exportFailure_ = History::exportCsv(from, path); });
    connect(exporter_, &QThread::finished, this, [this, path] {
        exporter_->deleteLater();
        exporter_ = nullptr;
        CmdDisaAktar->setEnabled(true);
        exportEnded(path, exportFailure_);
    });
    exporter_->start();
}

void FormIlerleme::exportEnded(const QString& path, const QString& failure) {
    if (!failure.isEmpty())
        MsgBox(QStringLiteral("Cevap geçmişi yazılamadı:\n%1\n\n%2").arg(path, failure),
               MsgBoxStyle::OkOnly | MsgBoxStyle::Critical, ExportTitle);
}

void FormIlerleme::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

bool FormIlerleme::eventFilter(QObject* watched, QEvent* event) {
    // Copying takes every selected line, not only the current cell.
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy))
        if (auto* view = qobject_cast<QTableWidget*>(watched)) {
            QGuiApplication::clipboard()->setText(selectedText(view));
            return true;
        }
    return QWidget::eventFilter(watched, event);
}
