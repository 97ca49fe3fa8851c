#include "history/AnswerHistory.h"
#include "history/FormIlerleme.h"
#include "platform/Clock.h"
#include "support/TestSupport.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTest>
#include <csignal>
#include <ctime>
#include <sys/stat.h>
#include <unistd.h>

using namespace History;
using ModVokabo::WordDef;
using ModVokabo::WordListKind;

namespace {
const QDate Today(2026, 12, 6);

// Small hours: in UTC still the day before.
QDateTime at(int daysAgo) {
    return QDateTime(Today.addDays(-daysAgo), QTime(1, 30));
}

Answer answer(const QString& english, const QString& turkish, bool right, const QDateTime& when) {
    return {when, english, turkish, Direction::WordToMeaning, 4, right, right ? 1 : 3, 1500, false};
}

QStringList rowsOf(const QTableWidget* table, int count) {
    QStringList rows;
    for (int r = 0; r < std::min(count, table->rowCount()); ++r) {
        QStringList cells;
        for (int c = 0; c < table->columnCount(); ++c)
            cells.append(table->item(r, c)->text());
        rows.append(cells.join(QStringLiteral(" | ")));
    }
    return rows;
}

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

// Runs SQL on a file of its own connection, as another program would.
void runSql(const QString& path, const QStringList& statements) {
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("own"));
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery q(db);
        for (const QString& statement : statements)
            QVERIFY2(q.exec(statement), qPrintable(statement));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("own"));
}

int answersIn(const QString& path, const QString& english) {
    AnswerHistory history(path);
    history.open();
    return static_cast<int>(history.answersOf(word(english, QStringLiteral("anlam"))).size());
}

// Another user's process: root's file modes hold for it.
void asNobody() {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
        _exit(3);
}
} // namespace

class TestHistory : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString path() const { return dir.filePath(FileName); }
    // Where a damaged file was moved: named by the day of its writer's clock.
    QString asideName() const {
        const QStringList found =
            QDir(dir.path()).entryList({"vokabo-gecmis.bozuk-*.sqlite"}, QDir::AllEntries);
        return found.size() == 1 ? dir.filePath(found[0]) : QString();
    }

private slots:
    // The learner's clock is not UTC: times and days are his own.
    void initTestCase() {
        qputenv("TZ", "Europe/Istanbul");
        tzset();
    }
    void init() {
        QDir(dir.path()).removeRecursively();
        QVERIFY(QDir().mkpath(dir.path()));
        setClock([] { return at(0); });
    }
    void cleanup() {
        chmod(QFile::encodeName(dir.path()).constData(), 0700);
        setClock(nullptr);
    }

    // What the window shows, from answers and list changes over a week.
    void figuresOfAKnownHistory() {
        FreshProgram program;
        ModVokabo::WordStore& words = program.words();
        AnswerHistory& history = program.history();
        QDateTime now = at(3);
        setClock([&now] { return now; });
        history.open();
        program.loadWords({word("income", "gelir"), word("half", "yarım"), word("property", "mal"),
                           word("student", "öğrenci")});
        QVERIFY2(!QFileInfo::exists(history.path()), "a start alone leaves no file behind");
        history.record(answer("income", "gelir", false, at(40)));
        history.record(answer("income", "gelir", true, at(5)));
        history.record(answer("half", "yarım", false, at(3)));
        now = at(2);
        history.record(answer("income", "gelir", true, at(2)));
        history.record(answer("property", "mal", false, at(2)));
        now = at(1);
        history.record(answer("income", "gelir", true, at(1)));
        history.record(answer("half", "yarım", false, at(1)));
        words.ToggleWord(WordListKind::Active, 2);
        words.UpdateWord(WordListKind::Active, 1, "half, a", "yarım", "");
        now = at(0);
        for (int i = 0; i < 1234; ++i)
            history.record(answer("income", "gelir", true, at(0)));
        history.record(answer("half, a", "yarım", false, at(0)));
        words.DeleteWord(WordListKind::Active, 2);

        FormIlerleme form(history, nullptr);
        form.show();
        auto* days = form.findChild<QTableWidget*>("TableGunler");
        auto* lists = form.findChild<QTableWidget*>("TableListeler");
        auto* wrong = form.findChild<QTableWidget*>("TableYanlis");
        QCOMPARE(form.findChild<QLabel*>("LabelSeri")->text(), QStringLiteral("Seri: 3 gün"));
        QCOMPARE(days->rowCount(), 30);
        QCOMPARE(rowsOf(days, 6),
                 (QStringList{"6 Ara | 1.234 | 1 | 1.235", "5 Ara | 1 | 1 | 2", "4 Ara | 1 | 1 | 2",
                              "3 Ara | 0 | 1 | 1", "2 Ara | 0 | 0 | 0", "1 Ara | 1 | 0 | 1"}));
        QCOMPARE(rowsOf(lists, 9),
                 (QStringList{"6 Ara 2026 | 2 | 1", "5 Ara 2026 | 3 | 1", "3 Ara 2026 | 4 | 0"}));
        QCOMPARE(rowsOf(wrong, 11), (QStringList{"half, a | yarım | 3", "property | mal | 1"}));

        // The charts give way to the tables.
        QVERIFY(form.findChild<QWidget*>("ChartGunler")->isVisible() && !days->isVisible());
        form.findChild<QCheckBox*>("CheckTablo")->click();
        QVERIFY(days->isVisible() && lists->isVisible());

        // The window follows new answers; a double-click names the word.
        history.record(answer("property", "mal", false, at(0)));
        QTRY_COMPARE(rowsOf(days, 1), QStringList{"6 Ara | 1.234 | 2 | 1.236"});
        QSignalSpy chosen(&form, &FormIlerleme::wordChosen);
        const QPoint first = wrong->visualItemRect(wrong->item(0, 0)).center();
        QTest::mouseClick(wrong->viewport(), Qt::LeftButton, {}, first);
        QTest::mouseDClick(wrong->viewport(), Qt::LeftButton, {}, first);
        QCOMPARE(chosen.value(0), (QVariantList{"half, a", "yarım"}));

        // A word's answers through its edit, with the texts asked then.
        QStringList asked;
        for (const Answer& a : history.answersOf(word("half, a", "yarım")))
            asked.append(a.English);
        QCOMPARE(asked, (QStringList{"half", "half", "half, a"}));
        const QList<QList<Answer>> all = history.answersOf(
            {word("income", "gelir"), word("half, a", "yarım"), word("new", "yeni")});
        QCOMPARE((QList<qsizetype>{all[0].size(), all[1].size(), all[2].size()}),
                 (QList<qsizetype>{1238, 3, 0}));
    }

    // A file written by the first version: its layout is kept here as it
    // was released, and its answers read on.
    void versionOneFileIsReadAndKeptUp() {
        const QString moment = QString::number(at(1).toMSecsSinceEpoch());
        runSql(path(),
               {"PRAGMA journal_mode=WAL", "CREATE TABLE schema_version (version INTEGER NOT NULL)",
                "INSERT INTO schema_version VALUES (1)",
                "CREATE TABLE words (id INTEGER PRIMARY KEY, key INTEGER NOT NULL UNIQUE, english "
                "TEXT NOT NULL, turkish TEXT NOT NULL)",
                "CREATE TABLE answers (id INTEGER PRIMARY KEY, moment INTEGER NOT NULL, day "
                "INTEGER NOT NULL, word INTEGER NOT NULL REFERENCES words(id), direction INTEGER "
                "NOT NULL, choices INTEGER NOT NULL, correct INTEGER NOT NULL, slot INTEGER NOT "
                "NULL, ms INTEGER NOT NULL, asked INTEGER NOT NULL)",
                "CREATE INDEX answers_by_day ON answers (day, correct)",
                "CREATE INDEX answers_by_word ON answers (word)",
                "CREATE TABLE list_changes (id INTEGER PRIMARY KEY, moment INTEGER NOT NULL, day "
                "INTEGER NOT NULL, kind TEXT NOT NULL, list INTEGER, old_word INTEGER REFERENCES "
                "words(id), new_word INTEGER REFERENCES words(id), old_example TEXT, new_example "
                "TEXT, active INTEGER NOT NULL, passive INTEGER NOT NULL)",
                "INSERT INTO words VALUES (7, 302065461307376978, 'eski', 'old')",
                QStringLiteral("INSERT INTO answers VALUES (1, %1, %2, 7, 1, 5, 0, 4, 2750, 1)")
                    .arg(moment)
                    .arg(Today.addDays(-1).toJulianDay()),
                QStringLiteral("INSERT INTO list_changes VALUES (1, %1, %2, 'added', 0, NULL, 7, "
                               "NULL, '', 1, 0)")
                    .arg(moment)
                    .arg(Today.addDays(-1).toJulianDay())});
        AnswerHistory history(path());
        QSignalSpy told(&history, &AnswerHistory::trouble);
        history.open();
        history.record(answer("eski", "old", true, at(0)));
        // Brought up to date, the file keeps whose meaning a wrong answer took.
        Answer taken = answer("eski", "old", false, at(0));
        taken.chosenEnglish = "yeni";
        taken.chosenTurkish = "new";
        history.record(taken);
        const QList<Answer> answers = history.answersOf(word("eski", "old"));
        QCOMPARE(answers.size(), 3);
        QCOMPARE(answers.last(), taken);
        QCOMPARE(answers[0],
                 (Answer{at(1), "eski", "old", Direction::MeaningToWord, 5, false, 4, 2750, true}));
        const Figures figures = history.figures(Today);
        QCOMPARE(figures.days.constLast().right, 1);
        QCOMPARE(figures.lists.size(), 1);
        QCOMPARE(figures.mostWrong.size(), 1);
        QVERIFY(told.isEmpty());
    }

    void damagedFileIsMovedAsideAndAnswersGoOn_data() {
        QTest::addColumn<QByteArray>("kind");
        QTest::addColumn<bool>("movedAside");
        QTest::newRow("truncated") << QByteArray("truncated") << true;
        QTest::newRow("random bytes") << QByteArray("random") << true;
        QTest::newRow("a folder of that name") << QByteArray("folder") << true;
        QTest::newRow("another program's database") << QByteArray("foreign") << true;
        QTest::newRow("a later version's file, left alone") << QByteArray("later") << false;
    }
    void damagedFileIsMovedAsideAndAnswersGoOn() {
        QFETCH(QByteArray, kind);
        QFETCH(bool, movedAside);
        if (kind == "truncated") {
            {
                AnswerHistory full(path());
                full.open();
                for (int i = 0; i < 3000; ++i)
                    full.record(answer(QString::number(i), "anlam", i % 2, at(i % 40)));
            }
            QFile file(path());
            QVERIFY(file.resize(file.size() / 2));
        } else if (kind == "random") {
            QByteArray bytes(64 * 1024, '\0');
            QRandomGenerator(9).fillRange(reinterpret_cast<quint32*>(bytes.data()),
                                          bytes.size() / 4);
            writeFile(path(), bytes);
        } else if (kind == "folder") {
            QVERIFY(QDir().mkpath(path() + "/inside"));
        } else if (kind == "foreign") {
            runSql(path(), {"CREATE TABLE notes (text TEXT)"});
        } else {
            runSql(path(), {"CREATE TABLE schema_version (version INTEGER NOT NULL)",
                            "INSERT INTO schema_version VALUES (99)"});
        }
        const QByteArray before = contentOf(path());

        {
            AnswerHistory history(path());
            QSignalSpy told(&history, &AnswerHistory::trouble);
            history.open();
            history.record(answer("first", "anlam", true, at(0)));
            history.record(answer("second", "anlam", false, at(0)));
            QCOMPARE(told.size(), 1);
            QCOMPARE(told[0][0].toString(),
                     movedAside ? QStringLiteral("Cevap geçmişi yeniden başladı")
                                : QStringLiteral("Cevap geçmişi yalnızca bellekte"));
            QCOMPARE(history.answersOf(word("second", "anlam")).size(), 1);
        }
        if (movedAside) {
            QCOMPARE(asideName(), dir.filePath("vokabo-gecmis.bozuk-2026-12-06.sqlite"));
            QCOMPARE(QFileInfo(asideName()).isDir(), kind == "folder");
            QCOMPARE(contentOf(asideName()), before);
            QCOMPARE(answersIn(path(), "first") + answersIn(path(), "second"), 2);
        } else {
            QCOMPARE(contentOf(path()), before);
            QVERIFY(asideName().isNull());
        }
    }

    void answerSurvivesAKill() {
        QProcess writer;
        writer.start(QStringLiteral(HISTORY_WRITER), {path(), "answer:kept", "wait"});
        QVERIFY(writer.waitForStarted());
        QByteArray output;
        while (!output.contains("waiting") && writer.waitForReadyRead(20000))
            output += writer.readAllStandardOutput();
        QCOMPARE(output, QByteArray("recorded\nwaiting\n"));
        writer.kill();
        QVERIFY(writer.waitForFinished());
        QCOMPARE(answersIn(path(), "kept"), 1);
    }

    // Run as another user where the test runs as root, since root writes
    // whatever the modes say.
    void fileThatCannotBeWritten_data() {
        QTest::addColumn<int>("folderMode");
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<QStringList>("output");
        QTest::addColumn<QString>("after"); // what the file holds afterwards
        const QString aside = "told: Cevap geçmişi yeniden başladı";
        const QString memory = "told: Cevap geçmişi yalnızca bellekte";
        const QString full = "told: Cevap geçmişi yazılamadı";
        QTest::newRow("read-only file")
            << 0777 << QStringList{"answer:new"} << QStringList{aside, "recorded"} << "new";
        QTest::newRow("read-only file in a read-only folder")
            << 0555 << QStringList{"answer:new"} << QStringList{memory, "recorded"} << "old";
        QTest::newRow("full disk, then room again")
            << 0777 << QStringList{"limit:4096", "answer:new", "answer:new", "lift", "answer:new"}
            << QStringList{full, "recorded", "recorded", "recorded"} << "new new new";
    }
    void fileThatCannotBeWritten() {
        QFETCH(int, folderMode);
        QFETCH(QStringList, commands);
        QFETCH(QStringList, output);
        QFETCH(QString, after);
        {
            AnswerHistory old(path());
            old.open();
            old.record(answer("old", "anlam", true, at(1)));
        }
        const bool full = commands.first().startsWith("limit:");
        QVERIFY(chmod(QFile::encodeName(path()).constData(), full ? 0666 : 0444) == 0);
        QVERIFY(chmod(QFile::encodeName(dir.path()).constData(), folderMode) == 0);
        QProcess writer;
        if (!full)
            writer.setChildProcessModifier(asNobody);
        writer.start(QStringLiteral(HISTORY_WRITER), QStringList{path()} + commands);
        QVERIFY(writer.waitForFinished(60000));
        QCOMPARE(writer.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(writer.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
                 output);
        QVERIFY(chmod(QFile::encodeName(dir.path()).constData(), 0700) == 0);
        chmod(QFile::encodeName(path()).constData(), 0644);
        QCOMPARE(answersIn(path(), "new"), static_cast<int>(after.count("new")));
        QCOMPARE(answersIn(path(), "old"), after == "old" || full ? 1 : 0);
        QCOMPARE(!asideName().isNull() && answersIn(asideName(), "old") == 1,
                 output.first().contains("yeniden"));
    }

    // Answers for spreadsheets: the file's and a history kept in memory.
    void exportWritesEveryAnswerForSpreadsheets() {
        AnswerHistory file(path()), memory({});
        file.open();
        memory.open();
        const QDateTime when(Today, QTime(21, 5, 9));
        for (AnswerHistory* history : {&file, &memory}) {
            history->record(answer("plain", "düz", true, when));
            history->record({when.addSecs(60), "a;b \"c\"", "ç", Direction::MeaningToWord, 9, false,
                             9, 12345, true});
        }
        const QString fromFile = dir.filePath("file.csv"), fromMemory = dir.filePath("memory.csv");
        QCOMPARE(exportCsv(path(), fromFile), QString());
        QCOMPARE(memory.exportCsv(fromMemory), QString());
        QCOMPARE(
            contentOf(fromFile),
            "\xEF\xBB\xBF" +
                QString("Zaman;Vokabo;Karşılığı;Yön;Seçenek;Sonuç;Seçilen;Süre (ms);Nasıl "
                        "Geldi\r\n"
                        "2026-12-06 21:05:09;plain;düz;Vokabo → Karşılığı;4;Doğru;a;1500;"
                        "Kendiliğinden\r\n"
                        "2026-12-06 21:06:09;\"a;b \"\"c\"\"\";ç;Karşılığı → Vokabo;9;Yanlış;i;"
                        "12345;İstendi\r\n")
                    .toUtf8());
        QCOMPARE(contentOf(fromMemory), contentOf(fromFile));
    }
};

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
