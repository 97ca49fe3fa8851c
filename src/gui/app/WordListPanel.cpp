#include "app/WordListPanel.h"

#include "app/FormVokaboDesign.h"
#include "app/WordListModel.h"
#include "controls/ClickLabel.h"
#include "controls/Look.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QScopedValueRollback>
#include <QShortcut>

using namespace FormVokaboDesign;

namespace {
constexpr int DeleteKey = 46;

struct TabLook {
    int height;
    QColor background;
    QColor text;
    int points;
};
const TabLook SelectedTab{SelectedTabHeight, StripColour, QColor(128, 0, 0), 14};
const TabLook OtherTab{TabHeight, QColor(224, 224, 224), QColor(128, 128, 128), 10};

// A tooltip shows text as markup when it looks like markup; a word is shown
// as it was typed.
QString plainTip(const QString& text) {
    return QStringLiteral("<p style='white-space:pre'>%1</p>").arg(text.toHtmlEscaped());
}
} // namespace

// The panel spans the window from its top, since the tabs stand in the
// button bar; it takes the pointer and paints only where its controls are.
WordListPanel::WordListPanel(const ModVokabo::WordStore& store, QWidget* parent)
    : QWidget(parent), store_(store) {
    setObjectName(QStringLiteral("WordListPanel"));
    const QSize client = parent ? parent->size() : DesignedClient;
    setGeometry(0, 0, client.width(),
                ListTop + client.height() - BarHeight - TitleHeight - AdHeight - 3);

    LabelTur = new QLabel(this);
    LabelTur->setObjectName(QStringLiteral("LabelTur"));
    LabelTur->setAlignment(Qt::AlignCenter);
    LabelTur->setGeometry(0, TitleTop, width(), TitleHeight);
    LabelTur->setFont(designFont("MS Sans Serif", 9.75, true));
    setBackground(LabelTur, StripColour);
    setTextColour(LabelTur, Qt::white);

    lines_ = new WordListModel(store_, this);
    List1 = new QListView(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setAccessibleName(QStringLiteral("Vokaboler"));
    List1->setModel(lines_);
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    List1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    List1->setUniformItemSizes(true);
    List1->setGeometry(0, ListTop, width(), height() - ListTop);
    connect(List1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &WordListPanel::List1_Click);
    List1->installEventFilter(this);
    List1->viewport()->installEventFilter(this);

    mnu_Liste = new QMenu(this);
    mnu_Liste->setObjectName(QStringLiteral("mnu_Liste"));
    QAction* fromFile = mnu_Liste->addAction(QStringLiteral("Dosyadan Vokabo Ekle…"));
    fromFile->setObjectName(QStringLiteral("mnu_DosyadanEkle"));
    connect(fromFile, &QAction::triggered, this, &WordListPanel::importRequested);
    QAction* toFile = mnu_Liste->addAction(QStringLiteral("Vokaboleri Dışa Aktar…"));
    toFile->setObjectName(QStringLiteral("mnu_DisaAktar"));
    connect(toFile, &QAction::triggered, this, &WordListPanel::exportRequested);
    mnu_GeriAl = mnu_Liste->addAction(QStringLiteral("Son içe aktarmayı geri al"));
    mnu_GeriAl->setObjectName(QStringLiteral("mnu_GeriAl"));
    mnu_GeriAl->setEnabled(false);
    connect(mnu_GeriAl, &QAction::triggered, this, &WordListPanel::undoImportRequested);
    mnu_Liste->addSeparator();
    QAction* progress = mnu_Liste->addAction(QStringLiteral("İlerleme"));
    progress->setObjectName(QStringLiteral("mnu_ListeIlerleme"));
    connect(progress, &QAction::triggered, this, &WordListPanel::progressRequested);
    List1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(List1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { mnu_Liste->popup(List1->viewport()->mapToGlobal(at)); });

    TextAra = new QLineEdit(this);
    TextAra->setObjectName(QStringLiteral("TextAra"));
    TextAra->setAccessibleName(QStringLiteral("Vokabo Ara"));
    TextAra->setPlaceholderText(QStringLiteral("Ara"));
    TextAra->setFrame(false);
    TextAra->hide();
    connect(TextAra, &QLineEdit::textChanged, this, &WordListPanel::TextAra_Change);
    TextAra->installEventFilter(this);
    auto* find = new QShortcut(QKeySequence::Find, this);
    find->setContext(Qt::WindowShortcut);
    connect(find, &QShortcut::activated, this, [this] {
        openFilter(TextAra->isVisible() ? TextAra->text() : QString());
        TextAra->selectAll();
    });

    const QCursor hand = handCursor();
    const char16_t* captions[2] = {u"A", u"P"};
    const char16_t* tips[2] = {u"Aktif Vokaboler", u"Pasif Vokaboler"};
    for (int i = 0; i < 2; ++i) {
        auto* tab = new ClickLabel(QString::fromUtf16(captions[i]), this);
        tab->setObjectName(QStringLiteral("LabelAktif%1").arg(i));
        tab->setToolTip(QString::fromUtf16(tips[i]));
        tab->setAccessibleName(tab->toolTip());
        tab->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        tab->setCursor(hand);
        connect(tab, &ClickLabel::clicked, this, [this, i] { LabelAktif_Click(i); });
        LabelAktif[i] = tab;
    }
    setTabLook(0, true);
    setTabLook(1, false);

    // Covers the open tab's lower edge, so that tab and strip read as one.
    LabelEmpty = new QLabel(this);
    LabelEmpty->setObjectName(QStringLiteral("LabelEmpty"));
    LabelEmpty->setGeometry(QRect(QPoint(0, TabCoverTop), TabCoverSize));
    setBackground(LabelEmpty, StripColour);
    LabelEmpty->raise();
    layOut();

    connect(&store_, &ModVokabo::WordStore::changed, this, &WordListPanel::storeChanged);
}

void WordListPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layOut();
}

void WordListPanel::layOut() {
    LabelTur->resize(width(), TitleHeight);
    // The field takes the strip's left part; the count stays readable at right.
    TextAra->setGeometry(LabelTur->x() + 2, LabelTur->y() + 1, width() * 3 / 5, TitleHeight - 2);
    List1->resize(width(), height() - ListTop);
    const int x = line1Left(width());
    LabelAktif[0]->move(x + TabOffset, TabTop);
    LabelAktif[1]->move(LabelAktif[0]->x() + LabelAktif[0]->width() + TabGap, TabTop);
    PlaceTabCover();
}

void WordListPanel::setTabLook(int Index, bool selected) {
    const TabLook& look = selected ? SelectedTab : OtherTab;
    ClickLabel* tab = LabelAktif[Index];
    tab->resize(TabWidth, look.height);
    tab->setStyleSheet(QStringLiteral("QLabel { background: %1; color: %2; border: 1px solid "
                                      "#404040; font-size: %3pt; }")
                           .arg(look.background.name(), look.text.name())
                           .arg(look.points));
}

void WordListPanel::PlaceTabCover() {
    const ClickLabel* open = LabelAktif[shown_ == ModVokabo::WordListKind::Active ? 0 : 1];
    LabelEmpty->move(open->x() + 1, TabCoverTop);
    // Beside the tabs, the bar below stays in reach of the pointer.
    setMask(childrenRegion());
}

void WordListPanel::focusList() {
    List1->setFocus();
}

void WordListPanel::FillWordList(ModVokabo::WordListKind list) {
    shown_ = list;
    const bool active = list == ModVokabo::WordListKind::Active;
    // A fill leaves no line current; an open filter stays.
    lines_->setList(list);
    showCaption();
    setTabLook(active ? 0 : 1, true);
    setTabLook(active ? 1 : 0, false);
    PlaceTabCover();
}

void WordListPanel::storeChanged(ModVokabo::WordListKind list, ModVokabo::WordStore::Change what) {
    // The lines have followed the change row by row; a count is not shown.
    if (list != shown_ || what != ModVokabo::WordStore::Change::Lines)
        return;
    // Words added, edited or taken out elsewhere (the word dialog, an import,
    // the question window, a reload) leave no line current, as a fresh list
    // would; the panel's own deletion and move leave the line that followed.
    if (!changingCurrentWord_)
        setCurrentLine(-1);
    showCaption();
}

void WordListPanel::showCaption() {
    if (TextAra->isVisible()) {
        LabelTur->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        LabelTur->setText(QStringLiteral("%1 / %2 ").arg(lineCount()).arg(totalLineCount()));
    } else {
        LabelTur->setAlignment(Qt::AlignCenter);
        LabelTur->setText((shown_ == ModVokabo::WordListKind::Active
                               ? QStringLiteral("Aktif Vokaboleriniz (%1)")
                               : QStringLiteral("Pasif Vokaboleriniz (%1)"))
                              .arg(totalLineCount()));
    }
}

void WordListPanel::openFilter(const QString& text) {
    if (!TextAra->isVisible()) {
        TextAra->show();
        TextAra->raise();
        PlaceTabCover();
    }
    TextAra->setText(text);
    TextAra->setFocus();
    TextAra_Change();
}

bool WordListPanel::closeFilter() {
    if (!TextAra->isVisible())
        return false;
    TextAra->hide();
    {
        const QSignalBlocker quiet(TextAra);
        TextAra->clear();
    }
    // The current line stays current among all the lines, in sight.
    lines_->setFilter({});
    setCurrentLine(currentLine());
    showCaption();
    PlaceTabCover();
    List1->setFocus();
    return true;
}

QString WordListPanel::filterText() const {
    return lines_->filter();
}

int WordListPanel::totalLineCount() const {
    return lines_->totalCount();
}

void WordListPanel::setImportUndoable(bool undoable) {
    mnu_GeriAl->setEnabled(undoable);
}

void WordListPanel::TextAra_Change() {
    // The current word stays current while it is still shown; else the
    // first line found is.
    lines_->setFilter(TextAra->text());
    const int line = currentLine();
    setCurrentLine(line >= 0 ? line : (lineCount() > 0 ? 0 : -1));
    showCaption();
}

int WordListPanel::lineCount() const {
    return lines_->rowCount();
}

QString WordListPanel::lineText(int line) const {
    return lines_->index(line).data().toString();
}

int WordListPanel::lineRecord(int line) const {
    return lines_->recordAt(line);
}

const QAbstractItemModel* WordListPanel::lines() const {
    return lines_;
}

int WordListPanel::currentLine() const {
    const QModelIndex current = List1->currentIndex();
    return current.isValid() && List1->selectionModel()->isSelected(current) ? current.row() : -1;
}

void WordListPanel::setCurrentLine(int line) {
    if (line < 0 || line >= lineCount()) {
        List1->selectionModel()->clear();
        return;
    }
    const QModelIndex index = lines_->index(line);
    List1->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    List1->scrollTo(index);
}

void WordListPanel::findLine(const QString& text, int line) {
    for (int i = 0; i < lineCount(); ++i)
        if (lineText(i) == text) {
            setCurrentLine(i);
            return;
        }
    setCurrentLine(std::min(line, lineCount() - 1));
}

void WordListPanel::showRecord(int record) {
    const int row = lines_->rowOfRecord(record);
    if (row >= 0)
        setCurrentLine(row);
}

void WordListPanel::changeCurrentWord(const std::function<void(int record)>& change) {
    const int line = currentLine();
    if (line < 0)
        return;
    // The list makes the line that followed current, or after the last line
    // the one before it.
    const QScopedValueRollback changing(changingCurrentWord_, true);
    change(lineRecord(line));
}

void WordListPanel::LabelAktif_Click(int Index) {
    FillWordList(Index == 0 ? ModVokabo::WordListKind::Active : ModVokabo::WordListKind::Passive);
}

void WordListPanel::List1_Click() {
    const int line = currentLine();
    List1->setToolTip(line < 0 ? QString() : plainTip(lineText(line)));
}

void WordListPanel::List1_DblClick() {
    // With no line to edit, nothing opens.
    const int line = currentLine();
    if (line >= 0)
        emit editRequested(line);
}

void WordListPanel::List1_KeyUp(int KeyCode) {
    if (KeyCode == DeleteKey)
        emit deleteRequested();
}

bool WordListPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == List1 && event->type() == QEvent::KeyPress) {
        // Typing a letter in the list starts a search with it.
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (!(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) &&
            !text.isEmpty() && text[0].isPrint() && !text[0].isSpace()) {
            openFilter(TextAra->isVisible() ? TextAra->text() + text : text);
            return true;
        }
    } else if (watched == TextAra && event->type() == QEvent::KeyPress) {
        // The arrows move through the lines found, while typing goes on.
        auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            QApplication::sendEvent(List1, key);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            List1->setFocus();
            return true;
        default:
            break;
        }
    } else if (watched == List1 && event->type() == QEvent::KeyRelease) {
        // A held key repeats its release; the word goes once, on the last.
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat())
            List1_KeyUp(key->key() == Qt::Key_Delete ? DeleteKey : 0);
    } else if (watched == List1->viewport() && event->type() == QEvent::MouseButtonDblClick &&
               static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        List1_DblClick();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
