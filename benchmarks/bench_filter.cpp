// Times one keystroke in the main list's search field with 32,767 words in
// the list: the key reaches the field, the list is filtered, laid out and
// painted, as the user sees it.

#include "app/WordListPanel.h"
#include "words/ModVokabo.h"
#include "words/WordFilter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

constexpr int Lines = 32767;
constexpr double FrameMs = 16.0;

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
    QList<ModVokabo::ListLine> lines;
    lines.reserve(Lines);
    for (int i = 0; i < Lines; ++i) {
        const ModVokabo::WordDef word{
            madeUpWord(random), madeUpWord(random) + QLatin1Char(' ') + madeUpWord(random), {}, 0};
        store.AppendWord(word, ModVokabo::WordListKind::Active);
        lines.append({word.English + QStringLiteral(" || ") + word.Turkish, i});
    }

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
        for (const ModVokabo::ListLine& line : lines)
            characters += line.text.size();
        index.reserve(lines.size(), characters);
        for (const ModVokabo::ListLine& line : lines) {
            const qsizetype cut = line.text.indexOf(QLatin1StringView(" || "));
            index.add(QStringView(line.text).first(cut), QStringView(line.text).sliced(cut + 4));
        }
        folding.ms.push_back(msSince(start));
    }
    first.print("first key after a fill (folds every line)");
    folding.print("  of it: folding every line");
    narrowing.print("each further letter");
    widening.print("Backspace");
    escape.print("Esc: every line back, same current line");
    return 0;
}
