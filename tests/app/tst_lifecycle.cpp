// The main window's start-up and shut-down while the word file is read
// slowly: the word file is a named pipe, whose words come when the test
// writes them.

#include "app/FormVokabo.h"
#include "app/Scheduler.h"
#include "app/WordListPanel.h"
#include "support/FakeTray.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <sys/stat.h>

namespace {
const QByteArray Words = "apple|elma||0|A\r\nbanana|muz||2|A\r\nçanta|bag||0|P\r\n";

// Puts the words through the pipe, then a plain file with them in its place,
// as the watch that starts next would read it.
void sendWords(const QString& path) {
    QFile pipe(path);
    if (!pipe.open(QIODevice::WriteOnly) || pipe.write(Words) != Words.size())
        qFatal("the word file's pipe cannot be written");
    pipe.close();
    QFile::remove(path);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(Words) != Words.size())
        qFatal("the word file cannot be written");
}
} // namespace

class TestLifecycle : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startUpGoesOnOnceTheWordsAreRead();
    void systemEndDuringTheLoadEndsWhole();

private:
    std::unique_ptr<FreshProgram> program;
    TrayState tray;
    std::unique_ptr<FormVokabo> form;
    QuestionScheduler* scheduler() const {
        return form->findChild<QuestionScheduler*>(QStringLiteral("QuestionScheduler"));
    }
};

void TestLifecycle::init() {
    program = std::make_unique<FreshProgram>();
    tray = TrayState();
    QVERIFY(::mkfifo(QFile::encodeName(program->wordFile()).constData(), 0600) == 0);
    form = std::make_unique<FormVokabo>("-o", program->settings(), program->words(),
                                        program->history(), program->speech(),
                                        std::make_unique<FakeTray>(&tray));
}

void TestLifecycle::cleanup() {
    // A test that failed half-way leaves the load waiting for its words.
    if (program->words().fileWorkRunning())
        sendWords(program->wordFile());
    form.reset();
    program.reset();
}

void TestLifecycle::startUpGoesOnOnceTheWordsAreRead() {
    QSignalSpy started(form.get(), &FormVokabo::started);
    QVERIFY(form->Form_Load());
    // The steps after the load wait for its words; the progress window
    // shows meanwhile.
    QCOMPARE(started.size(), 0);
    QVERIFY(!scheduler()->isRunning());
    QVERIFY(tray.toolTip.isEmpty());
    auto* progress = form->findChild<QWidget*>(QStringLiteral("FormProgress"));
    QTRY_VERIFY(progress->isVisible());
    sendWords(program->wordFile());
    QVERIFY(started.wait());
    QCOMPARE(started.size(), 1);
    QVERIFY(!progress->isVisible());
    QCOMPARE(form->findChild<WordListPanel*>()->lineCount(), 2);
    QCOMPARE(tray.toolTip, QStringLiteral("Vokabo Retano"));
    QVERIFY(scheduler()->isRunning());
    QVERIFY(form->Form_Unload());
    QVERIFY(form->hasEnded());
}

// Logging out while a large word file is read: the start-up ends, then the
// shut-down runs, and the program lets go of its lock.
void TestLifecycle::systemEndDuringTheLoadEndsWhole() {
    QSignalSpy started(form.get(), &FormVokabo::started);
    QSignalSpy ended(form.get(), &FormVokabo::ended);
    QVERIFY(form->Form_Load());
    QCOMPARE(started.size(), 0);
    std::unique_ptr<QThread> writer(
        QThread::create([path = program->wordFile()] { sendWords(path); }));
    writer->start();
    form->requestShutdown(FormVokabo::EndedBy::System);
    writer->wait();
    QCOMPARE(started.size(), 1);
    QCOMPARE(ended.size(), 1);
    QVERIFY(form->hasEnded());
    QVERIFY(!scheduler()->isRunning());
    QCOMPARE(program->words().words(ModVokabo::WordListKind::Active).size(), 2);
    QVERIFY(!QFile::exists(program->wordFile() + QStringLiteral(".lock")));
}

QTEST_MAIN(TestLifecycle)
#include "tst_lifecycle.moc"
