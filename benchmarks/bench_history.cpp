// Times the answer history with five years of a busy learner in the file
// (200,000 answers of 3,000 words): recording one answer, opening the
// progress window to its first painted chart, reading the words' answers,
// exporting them, and the file's bytes per answer.

#include "history/AnswerHistory.h"
#include "history/FormIlerleme.h"

#include <QApplication>
#include <QChartView>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int Answers = 200000;
constexpr int Words = 3000;
constexpr int Days = 5 * 365;
constexpr int Recorded = 2000;

const char16_t* const Syllables[] = {u"ka", u"ış",  u"ler", u"İn", u"de", u"gü", u"or", u"ça",
                                     u"Is", u"ton", u"mi",  u"şa", u"be", u"ğı", u"re", u"lo",
                                     u"an", u"ük",  u"pi",  u"Ço", u"se", u"ya", u"tu", u"ne"};

QString madeUpWord(QRandomGenerator& random, int syllables) {
    QString word;
    for (int i = 0; i < syllables; ++i)
        word += QString::fromUtf16(Syllables[random.bounded(int(std::size(Syllables)))]);
    return word;
}

using Clock = std::chrono::steady_clock;
double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double percentile(std::vector<double> ms, double p) {
    std::sort(ms.begin(), ms.end());
    return ms[std::min(ms.size() - 1, static_cast<size_t>(p * ms.size()))];
}

struct Word {
    QString english, turkish;
};

// Five years of answers, written straight into the file the program made,
// in one transaction: the program itself would take minutes.
bool fill(const QString& path, const QList<Word>& words, QRandomGenerator& random) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fill"));
    db.setDatabaseName(path);
    bool ok = db.open() && db.transaction();
    QSqlQuery word(db), answer(db), change(db);
    ok = ok &&
         word.prepare(
             QStringLiteral("INSERT OR IGNORE INTO words (id, key, english, turkish) VALUES (?, "
                            "?, ?, ?)")) &&
         answer.prepare(QStringLiteral(
             "INSERT INTO answers (moment, day, word, direction, choices, correct, slot, ms, "
             "asked) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)")) &&
         change.prepare(QStringLiteral(
             "INSERT INTO list_changes (moment, day, kind, list, new_word, new_example, active, "
             "passive) VALUES (?, ?, 'added', 0, ?, '', ?, 0)"));
    const QDate today = QDate::currentDate();
    const QDate first = today.addDays(-Days);
    for (int i = 0; ok && i < Words; ++i) {
        word.addBindValue(i + 1);
        word.addBindValue(History::wordKey(words[i].english, words[i].turkish));
        word.addBindValue(words[i].english);
        word.addBindValue(words[i].turkish);
        const QDate added = first.addDays(i * Days / Words);
        change.addBindValue(added.startOfDay().toMSecsSinceEpoch());
        change.addBindValue(added.toJulianDay());
        change.addBindValue(i + 1);
        change.addBindValue(i + 1);
        ok = word.exec() && change.exec();
    }
    for (int i = 0; ok && i < Answers; ++i) {
        const QDate day = first.addDays(static_cast<qint64>(i) * Days / Answers);
        const QDateTime moment = day.startOfDay().addSecs(8 * 3600 + (i % 110) * 300);
        answer.addBindValue(moment.toMSecsSinceEpoch());
        answer.addBindValue(day.toJulianDay());
        answer.addBindValue(1 + random.bounded(Words));
        answer.addBindValue(random.bounded(2));
        answer.addBindValue(4);
        answer.addBindValue(random.bounded(100) < 70 ? 1 : 0);
        answer.addBindValue(1 + random.bounded(4));
        answer.addBindValue(800 + random.bounded(9000));
        answer.addBindValue(random.bounded(100) < 10 ? 1 : 0);
        ok = answer.exec();
    }
    if (!ok)
        std::fprintf(stderr, "filling failed: %s %s %s\n", qPrintable(db.lastError().text()),
                     qPrintable(answer.lastError().text()), qPrintable(word.lastError().text()));
    ok = ok && db.commit();
    word = QSqlQuery();
    answer = QSqlQuery();
    change = QSqlQuery();
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("fill"));
    return ok;
}

qint64 fileSize(const QString& path) {
    return QFileInfo(path).size();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QString folder;
    for (int i = 1; i + 1 < argc; ++i)
        if (qstrcmp(argv[i], "--dir") == 0)
            folder = QString::fromLocal8Bit(argv[i + 1]);
    const QTemporaryDir temporary(folder.isEmpty() ? QDir::tempPath() + "/bench_history-XXXXXX"
                                                   : folder + "/bench_history-XXXXXX");
    const QString path = QDir(temporary.path()).filePath(History::FileName);

    QRandomGenerator random(25);
    QList<Word> words;
    ModVokabo::WordList active;
    for (int i = 0; i < Words; ++i) {
        words.append({madeUpWord(random, 2 + random.bounded(3)) + QString::number(i),
                      madeUpWord(random, 3 + random.bounded(4))});
        active.append({words.last().english, words.last().turkish, {}, 0});
    }

    // The program makes the file with its first answer.
    {
        History::AnswerHistory first(path);
        first.open();
        first.record({QDateTime::currentDateTime(), words[0].english, words[0].turkish,
                      History::Direction::WordToMeaning, 4, true, 1, 2500, false});
    }
    auto start = Clock::now();
    if (!fill(path, words, random))
        return 1;
    std::printf("filled with %d answers of %d words in %.0f ms\n", Answers, Words, msSince(start));
    const qint64 filled = fileSize(path);

    auto owner = std::make_unique<History::AnswerHistory>(path);
    History::AnswerHistory& history = *owner;
    QObject::connect(&history, &History::AnswerHistory::trouble,
                     [](const QString& title, const QString& text) {
                         std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
                     });
    history.open();

    // One answer at a time, as the question window records it.
    std::vector<double> record;
    for (int i = 0; i < Recorded; ++i) {
        const Word& word = words[random.bounded(Words)];
        const History::Answer answer{QDateTime::currentDateTime(),
                                     word.english,
                                     word.turkish,
                                     History::Direction::WordToMeaning,
                                     4,
                                     i % 3 != 0,
                                     1 + i % 4,
                                     2500,
                                     false};
        start = Clock::now();
        history.record(answer);
        record.push_back(msSince(start));
    }

    std::vector<double> oneWord;
    for (int i = 0; i < 20; ++i) {
        start = Clock::now();
        const auto answers = history.answersOf(active[random.bounded(Words)]);
        oneWord.push_back(msSince(start));
    }
    start = Clock::now();
    const auto all = history.answersOf(active);
    const double allWords = msSince(start);
    qsizetype read = 0;
    for (const auto& answers : all)
        read += answers.size();

    std::vector<double> figures;
    for (int i = 0; i < 5; ++i) {
        start = Clock::now();
        history.figures(QDate::currentDate());
        figures.push_back(msSince(start));
    }

    // The window, from the command to its first chart on the screen.
    std::vector<double> window;
    for (int i = 0; i < 5; ++i) {
        start = Clock::now();
        auto* form = new FormIlerleme(history, nullptr);
        auto* chart = form->findChild<QChartView*>(QStringLiteral("ChartGunler"));
        bool painted = false;
        struct PaintSpy : QObject {
            bool* painted;
            explicit PaintSpy(bool* p) : painted(p) {}
            bool eventFilter(QObject*, QEvent* event) override {
                if (event->type() == QEvent::Paint)
                    *painted = true;
                return false;
            }
        } spy(&painted);
        chart->viewport()->installEventFilter(&spy);
        form->show();
        while (!painted)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        window.push_back(msSince(start));
        chart->viewport()->removeEventFilter(&spy);
        delete form;
    }

    start = Clock::now();
    const QString failure = History::exportCsv(path, QDir(temporary.path()).filePath("export.csv"));
    const double exported = msSince(start);
    const qint64 csvBytes = fileSize(QDir(temporary.path()).filePath("export.csv"));

    const qint64 beforeClose = fileSize(path);
    // Closing folds the log into the file.
    owner.reset();
    const qint64 closed = fileSize(path);

    const double median = percentile(record, 0.5), p99 = percentile(record, 0.99);
    const double windowMedian = percentile(window, 0.5);
    const double windowWorst = *std::max_element(window.begin(), window.end());
    const double perAnswer = double(closed) / (Answers + Recorded);
    std::printf("\n%-52s %9s %9s %9s %9s\n", "", "median", "p99", "first", "max");
    std::printf("%-52s %9.3f %9.3f %9.3f %9.3f ms\n", "recording one answer (2,000 in a row)",
                median, p99, record.front(), *std::max_element(record.begin(), record.end()));
    std::printf("%-52s p90 %.3f, p95 %.3f, p99.9 %.3f ms; %ld of %d over 5 ms\n", "",
                percentile(record, 0.9), percentile(record, 0.95), percentile(record, 0.999),
                static_cast<long>(std::count_if(record.begin(), record.end(),
                                                [](double ms) { return ms > 5.0; })),
                Recorded);
    std::printf("%-52s %9.1f %9s %9.1f %9.1f ms\n", "opening the progress window to its chart",
                windowMedian, "", window.front(), windowWorst);
    std::printf("%-52s %9.1f %9s %9.1f %9.1f ms\n", "  of which reading its figures",
                percentile(figures, 0.5), "", figures.front(),
                *std::max_element(figures.begin(), figures.end()));
    std::printf("%-52s %9.2f %9s %9.2f %9.2f ms\n", "one word's answers", percentile(oneWord, 0.5),
                "", oneWord.front(), *std::max_element(oneWord.begin(), oneWord.end()));
    std::printf("%-52s %9.1f ms (%lld answers)\n", "every one of 3,000 active words' answers",
                allWords, static_cast<long long>(read));
    std::printf("%-52s %9.1f ms (%.1f MB)%s\n", "exporting every answer as CSV (a worker's thread)",
                exported, csvBytes / 1e6,
                failure.isEmpty() ? "" : qPrintable(" failed: " + failure));
    std::printf("\nfile: %.2f MB filled, %.2f MB after %d more answers (%.0f bytes each, log "
                "open), %.2f MB closed\n",
                filled / 1e6, beforeClose / 1e6, Recorded, double(beforeClose - filled) / Recorded,
                closed / 1e6);
    std::printf("%-52s %9.1f bytes\n", "the file per answer", perAnswer);

    const auto aim = [](const char* what, bool met) {
        std::printf("aim %-58s %s\n", what, met ? "met" : "NOT MET");
    };
    std::printf("\n");
    aim("recording one answer: median <= 1 ms", median <= 1.0);
    aim("recording one answer: p99 <= 5 ms", p99 <= 5.0);
    aim("opening the progress window: <= 300 ms (the slowest of 5)", windowWorst <= 300.0);
    aim("the database file: <= 120 bytes per answer", perAnswer <= 120.0);
    return 0;
}
