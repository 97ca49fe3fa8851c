// Times one keystroke in the main list's search field with 32,767 words in
// the list: the key reaches the field, the list is filtered, laid out and
// painted, as the user sees it. Then changes of the list while it is shown,
// and the list's own filter against Qt's QSortFilterProxyModel.

#include "app/WordListModel.h"
#include "app/WordListPanel.h"
#include "words/ListOrder.h"
#include "words/ModVokabo.h"
#include "words/WordFilter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QRandomGenerator>
#include <QSortFilterProxyModel>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int Lines = 32767;
constexpr double FrameMs = 16.0;
constexpr auto Active = ModVokabo::WordListKind::Active;

const char16_t* const Syllables[] = {u"ka", u"ış",  u"ler", u"İn", u"de", u"gü", u"or", u"ça",
                                     u"Is", u"ton", u"mi",  u"şa", u"be", u"ğı", u"re", u"lo",
                                     u"an", u"ük",  u"pi",  u"Ço", u"se", u"ya", u"tu", u"ne"};

QString madeUpWord(QRandomGenerator& random) {
    QString word;
    const int syllables = 2 + random.bounded(4);
    for (int i = 0; i < syllables; ++i)
        word += QString::fromUtf16(Syllables[random.bounded(int(std::size(Syllables)))]);
    return word;
}

double msSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// One key, as the keyboard sends it, then everything it causes on screen.
double keystroke(QWidget* target, int key, const QString& text) {
    const auto start = std::chrono::steady_clock::now();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
    QApplication::processEvents();
    return msSince(start);
}

struct Figures {
    std::vector<double> ms;
    void print(const char* what) {
        std::sort(ms.begin(), ms.end());
        const double median = ms[ms.size() / 2];
        const long within =
            std::count_if(ms.begin(), ms.end(), [](double t) { return t <= FrameMs; });
        std::printf("%-44s %8.2f %8.2f %8.2f %6zu   %ld/%zu within %.0f ms\n", what, median,
                    ms.front(), ms.back(), ms.size(), within, ms.size(), FrameMs);
    }
};

// Qt's own way, to compare with: the records in the order of their positions
// behind a QSortFilterProxyModel that sorts them by the same keys and asks
// each line whether it passes, on texts folded once when the list is filled.
class RecordsInStoreOrder : public QAbstractListModel {
public:
    struct Record {
        QString word, meaning, turkish, plain;
        QCollatorSortKey key;
    };
    explicit RecordsInStoreOrder(const ModVokabo::WordList& words) {
        const ListOrder order;
        records.reserve(static_cast<size_t>(words.size()));
        for (const ModVokabo::WordDef& word : words)
            records.push_back({word.English, word.Turkish,
                               WordFilter::turkishFold(word.English + u'\x1f' + word.Turkish),
                               WordFilter::plainFold(word.English),
                               order.key(word.English + QStringLiteral(" || ") + word.Turkish)});
    }
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(records.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole)
            return {};
        const Record& record = records[static_cast<size_t>(index.row())];
        return record.word + QStringLiteral(" || ") + record.meaning;
    }
    std::vector<Record> records;
};

class QtSortAndFilter : public QSortFilterProxyModel {
public:
    void search(const QString& text) {
        turkish_ = WordFilter::turkishFold(text);
        plain_ = WordFilter::plainFold(text);
        invalidateFilter();
    }

protected:
    bool lessThan(const QModelIndex& a, const QModelIndex& b) const override {
        const int order = record(a.row()).key.compare(record(b.row()).key);
        return order < 0 || (order == 0 && a.row() < b.row());
    }
    bool filterAcceptsRow(int row, const QModelIndex&) const override {
        const RecordsInStoreOrder::Record& line = record(row);
        return turkish_.isEmpty() || line.turkish.contains(turkish_) || line.plain.contains(plain_);
    }

private:
    const RecordsInStoreOrder::Record& record(int row) const {
        return static_cast<const RecordsInStoreOrder*>(sourceModel())
            ->records[static_cast<size_t>(row)];
    }
    QString turkish_, plain_;
};

// Types text into a search letter by letter and takes it back, with the
// first line current, each step timed until the list is painted.
void typeAndTakeBack(QListView& view, const std::function<void(const QString&)>& search,
                     const QString& text, int rounds, Figures& narrowing, Figures& widening) {
    const auto step = [&](Figures& figures, const QString& typed) {
        const auto start = std::chrono::steady_clock::now();
        search(typed);
        QApplication::processEvents();
        figures.ms.push_back(msSince(start));
    };
    for (int round = 0; round < rounds; ++round) {
        view.setCurrentIndex(view.model()->index(0, 0));
        for (qsizetype i = 1; i <= text.size(); ++i)
            step(narrowing, text.left(i));
        for (qsizetype i = text.size() - 1; i >= 0; --i)
            step(widening, text.left(i));
    }
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int rounds = 20;
    for (int i = 1; i + 1 < argc; ++i)
        if (qstrcmp(argv[i], "--rounds") == 0)
            rounds = std::max(1, atoi(argv[i + 1]));

    QRandomGenerator random(17);
    const QTemporaryDir dir;
    ModVokabo::WordStore store(dir.filePath(QStringLiteral("vokabo.txt")), QString());
    for (int i = 0; i < Lines; ++i)
        store.AppendWord(
            {madeUpWord(random), madeUpWord(random) + QLatin1Char(' ') + madeUpWord(random), {}, 0},
            Active);
    const ModVokabo::WordList words = store.words(Active);

    QWidget window;
    window.resize(360, 394);
    auto* panel = new WordListPanel(store, &window);
    panel->resize(360, 300);
    window.show();
    panel->FillWordList(ModVokabo::WordListKind::Active);
    panel->setCurrentLine(0);
    QApplication::processEvents();
    auto* list = panel->findChild<QListView*>(QStringLiteral("List1"));
    auto* field = panel->findChild<QLineEdit*>(QStringLiteral("TextAra"));

    std::printf("%d lines, %s platform, %d rounds; one keystroke until the list is painted\n\n",
                Lines, qPrintable(QGuiApplication::platformName()), rounds);
    std::printf("%-44s %8s %8s %8s %6s\n", "", "median", "min", "max", "keys");

    // Type a word letter by letter, then take it back: the first letters
    // leave many lines, the later ones few; the first key of all also folds
    // every line once.
    const QString typed = QStringLiteral("kaışİ");
    Figures first, narrowing, widening, escape;
    for (int round = 0; round < rounds; ++round) {
        // A fresh fill, as after a change to the list, so the first key folds.
        panel->FillWordList(ModVokabo::WordListKind::Active);
        panel->setCurrentLine(0);
        list->setFocus();
        QApplication::processEvents();
        first.ms.push_back(keystroke(list, 0, typed.left(1)));
        for (qsizetype i = 1; i < typed.size(); ++i)
            narrowing.ms.push_back(keystroke(field, 0, typed.mid(i, 1)));
        for (qsizetype i = 1; i < typed.size(); ++i)
            widening.ms.push_back(keystroke(field, Qt::Key_Backspace, QString()));
        escape.ms.push_back(msSince([&] {
            const auto start = std::chrono::steady_clock::now();
            panel->closeFilter();
            QApplication::processEvents();
            return start;
        }()));
    }
    Figures folding;
    for (int round = 0; round < rounds; ++round) {
        const auto start = std::chrono::steady_clock::now();
        WordFilter::Index index;
        qsizetype characters = 0;
        for (const ModVokabo::WordDef& word : words)
            characters += word.English.size() + word.Turkish.size();
        index.reserve(words.size(), characters);
        for (const ModVokabo::WordDef& word : words)
            index.add(word.English, word.Turkish);
        folding.ms.push_back(msSince(start));
    }

    // Changes of the shown list, each timed until the list is painted again.
    Figures added, edited, deleted, addedWhileSearching, deletedWhileSearching;
    const auto timed = [](Figures& figures, const std::function<void()>& change) {
        const auto start = std::chrono::steady_clock::now();
        change();
        QApplication::processEvents();
        figures.ms.push_back(msSince(start));
    };
    const auto someWord = [&] {
        return ModVokabo::WordDef{madeUpWord(random), madeUpWord(random), {}, 0};
    };
    const auto somewhere = [&] { return random.bounded(int(store.words(Active).size())); };
    for (int round = 0; round < rounds; ++round) {
        timed(added, [&] { store.AppendWord(someWord(), Active); });
        timed(edited, [&] {
            const ModVokabo::WordDef word = someWord();
            store.UpdateWord(Active, somewhere(), word.English, word.Turkish, {});
        });
        timed(deleted, [&] { store.DeleteWord(Active, somewhere()); });
    }
    panel->openFilter(QStringLiteral("ka"));
    QApplication::processEvents();
    for (int round = 0; round < rounds; ++round) {
        timed(addedWhileSearching, [&] { store.AppendWord(someWord(), Active); });
        timed(deletedWhileSearching, [&] { store.DeleteWord(Active, somewhere()); });
    }
    panel->closeFilter();

    // The two ways to filter the records, each in a list view of its own.
    // Qt's proxy takes long enough to allow it fewer rounds.
    const int proxyRounds = std::max(1, rounds / 5);
    Figures proxyFill, proxyNarrowing, proxyWidening, ownFill, ownNarrowing, ownWidening;
    {
        QListView view;
        view.setUniformItemSizes(true);
        view.resize(360, 300);
        view.show();
        for (int round = 0; round < proxyRounds; ++round) {
            const auto start = std::chrono::steady_clock::now();
            RecordsInStoreOrder records(words);
            QtSortAndFilter proxy;
            proxy.setSourceModel(&records);
            proxy.sort(0);
            view.setModel(&proxy);
            QApplication::processEvents();
            proxyFill.ms.push_back(msSince(start));
            typeAndTakeBack(
                view, [&](const QString& text) { proxy.search(text); }, typed, 1, proxyNarrowing,
                proxyWidening);
            view.setModel(nullptr);
        }
    }
    {
        QListView view;
        view.setUniformItemSizes(true);
        view.resize(360, 300);
        view.show();
        for (int round = 0; round < rounds; ++round) {
            const auto start = std::chrono::steady_clock::now();
            WordListModel model(store);
            view.setModel(&model);
            QApplication::processEvents();
            ownFill.ms.push_back(msSince(start));
            typeAndTakeBack(
                view, [&](const QString& text) { model.setFilter(text); }, typed, 1, ownNarrowing,
                ownWidening);
            view.setModel(nullptr);
        }
    }

    first.print("first key after a fill (folds every line)");
    folding.print("  of it: folding every line");
    narrowing.print("each further letter");
    widening.print("Backspace");
    escape.print("Esc: every line back, same current line");
    std::printf("\na change of the shown list, until it is painted again\n");
    added.print("a word added");
    edited.print("a word edited");
    deleted.print("a word deleted");
    addedWhileSearching.print("a word added while searching \"ka\"");
    deletedWhileSearching.print("a word deleted while searching \"ka\"");
    std::printf("\nthe two ways to filter the records, in a list view of their own\n");
    proxyFill.print("QSortFilterProxyModel: fill and sort");
    proxyNarrowing.print("  each letter typed");
    proxyWidening.print("  each letter taken back");
    ownFill.print("own filter, folded index: fill and sort");
    ownNarrowing.print("  each letter typed (the first folds)");
    ownWidening.print("  each letter taken back");
    return 0;
}
