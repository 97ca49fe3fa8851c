#include "app/BarButton.h"
#include "app/FormVokabo.h"
#include "app/SaveSoon.h"
#include "app/Scheduler.h"
#include "app/WordListPanel.h"
#include "controls/ClickLabel.h"
#include "platform/Clock.h"
#include "platform/MsgBoxQt.h"
#include "platform/SingleInstance.h"
#include "quiz/Quiz.h"
#include "settings/Settings.h"
#include "support/FakeTray.h"
#include "support/OnScreen.h"
#include "support/ScriptedRandom.h"
#include "support/TestSupport.h"
#include "words/FormYeni.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMap>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QScreen>
#include <QStringDecoder>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <algorithm>

using namespace ModVokabo;

namespace {
WordListPanel& listOf(const QObject& form) {
    return *part<WordListPanel>(form, QStringLiteral("WordListPanel"));
}
QListView* List1(const QObject& form) {
    return part<QListView>(form, QStringLiteral("List1"));
}
QuestionScheduler* scheduler(const QObject& form) {
    return part<QuestionScheduler>(form, QStringLiteral("QuestionScheduler"));
}
// The questions go on: the scheduler runs, or its question is open.
bool asking(const FormVokabo& form) {
    const bool open = form.questionWindow() && form.questionWindow()->isVisible();
    return scheduler(form)->isRunning() != open;
}
QAction* mnu_VokaboSor(const QObject& form) {
    return part<QAction>(form, QStringLiteral("mnu_VokaboSor"));
}
BarButton* Cmd(const QObject& form, int Index) {
    return part<BarButton>(form, QStringLiteral("Cmd%1").arg(Index));
}
// A bar button by what its tooltip says.
BarButton* barButton(const QObject& form, const QString& tip) {
    for (BarButton* button : form.findChildren<BarButton*>())
        if (button->toolTip() == tip)
            return button;
    qFatal("no bar button says %s", qPrintable(tip));
}
ClickLabel* LabelAktif(const QObject& form, int Index) {
    return part<ClickLabel>(form, QStringLiteral("LabelAktif%1").arg(Index));
}
QString LabelTur(const QObject& form) {
    return part<QLabel>(form, QStringLiteral("LabelTur"))->text();
}
// The question windows on the screen.
int questionsShown() {
    int shown = 0;
    for (const QWidget* window : QApplication::topLevelWidgets())
        shown += qobject_cast<const FormSoru*>(window) && window->isVisible();
    return shown;
}
// Answers the open question right: with the meaning of the word it asks
// (questions ask from the word to its meaning unless the settings say otherwise).
void answerRight(FormSoru& question, const WordStore& words) {
    const QString asked = part<QLabel>(question, "LblSoru")->text().chopped(2);
    question.LblOrtu_Click();
    for (const WordDef& word : words.words(WordListKind::Active))
        for (QLabel* answer : question.findChildren<QLabel*>(QRegularExpression("^LblCevap")))
            if (word.English == asked &&
                answer->text().endsWith(QStringLiteral(") ") + word.Turkish))
                QTest::mouseClick(answer, Qt::LeftButton);
    question.CmdTamam_Click();
}

// A double-click on the list, wherever it falls: the current line is the
// one it edits.
void doubleClickList(const QObject& form) {
    QWidget* viewport = List1(form)->viewport();
    const QPointF at(viewport->rect().center());
    QMouseEvent click(QEvent::MouseButtonDblClick, at, viewport->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &click);
}

QStringList lineTexts(const QObject& form) {
    QStringList texts;
    for (int i = 0; i < listOf(form).lineCount(); ++i)
        texts.append(listOf(form).lineText(i));
    return texts;
}

QString stored(const char* name) {
    return Settings::readStored(name);
}
} // namespace

// Catches the web pages the program would open in the browser.
class PageCatcher : public QObject {
    Q_OBJECT
public:
    PageCatcher() { QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "open"); }
    ~PageCatcher() override { QDesktopServices::unsetUrlHandler(QStringLiteral("https")); }
    QStringList opened;

public slots:
    void open(const QUrl& url) { opened.append(url.toString()); }
};

// Counts how often a widget is shown.
class ShowCounter : public QObject {
public:
    explicit ShowCounter(QWidget* widget) { widget->installEventFilter(this); }
    int shows = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        shows += event->type() == QEvent::Show;
        return false;
    }
};

// The user is busy (watching something full screen, say) when a test says so.
class FakeBusy : public UserBusy {
public:
    explicit FakeBusy(const bool* busy) : busy_(busy) {}
    bool busy() override { return *busy_; }

private:
    const bool* busy_;
};

class TestFormVokabo : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startUpShowsTheActiveWords();
    void onlyTheExactSwitchStartsHidden_data();
    void onlyTheExactSwitchStartsHidden();
    void secondCopyIsRefusedAndStoresNothing();
    void oneCopyPerWordFile_data();
    void oneCopyPerWordFile();
    void noLockAnywhereStillStarts();
    void escAndRestore();
    void restoredFromTheTrayAtItsStoredPlace();
    void withoutATrayNothingHides();
    void storedFrameComesBackWhole();
    void unusableStoredPlacementIsIgnored_data();
    void unusableStoredPlacementIsIgnored();
    void wordFileIsWrittenOnlyWhenSomethingChanged();
    void failedSaveAtExitOffersRetryAndKeepsTheWords();
    void schedulerOpensAQuestionAndPausesWhileItIsOpen();
    void questionWaitsForEnoughActiveWords();
    void askNowOpensAtOnce_data();
    void askNowOpensAtOnce();
    void pauseFromTheTrayMenu();
    void editingDuringAQuestionKeepsOneQuestionWindow();
    void aSeriesAskedForGoesOnWhileBusyButEndsAtItsLength();
    void aFailedDrawIsTriedAgainAfterThePeriod();
    void shutDownWaitsForOpenDialogs();
    void unreadableWordFileIsReportedAndExitOffersNoRetry();
    void changesAreSavedWithinSeconds();
    void failedSavesAreRetriedUntilTheyLand();
    void systemShutdownNeverWaitsForABox();
    void emptiedOrUnreadableWordFileKeepsTheWords_data();
    void emptiedOrUnreadableWordFileKeepsTheWords();
    void mixedEncodingsAreToldOnce();
    void pauseThatCannotBeStoredIsTold();
    void questionWindowGoesWithTheMainWindow();
    void anotherComputersLockIsTakenOverWhenAsked();
    void outsideEditIsReadAgainKeepingTheLine();
    void outsideEditMeetingUnsavedChangesAsks_data();
    void outsideEditMeetingUnsavedChangesAsks();

    void layoutFollowsTheWindow();
    void tabsSwitchTheList();
    void currentLineAfterAChange_data();
    void currentLineAfterAChange();
    void sameTextsKeepTheirOwnRecords();
    void deleteKeyActsOnReleaseInTheListOnly();
    void doubleClickEditsTheCurrentLine();
    void aCommandEndsTheHighlight();
    void barButtonsCloseTheQuestionFirst();
    void progressWindowPointsAtItsWord();

private:
    // The main window of a program that has just started with these words
    // (none: no word file).
    FormVokabo& start(const QString& commandLine, const QByteArray& words = {});
    // A path where no folder can be, root or not: below a regular file.
    QString belowAFile(const QString& name) const {
        QFile file(QDir(program->dir()).filePath(QStringLiteral("plain-file")));
        file.open(QIODevice::WriteOnly);
        return QDir(file.fileName()).filePath(name);
    }
    void moveCursorTo(const QWidget* widget) {
        QCursor::setPos(widget->mapToGlobal(widget->rect().center()));
    }

    std::unique_ptr<NotifyIcon::Layer> makeTray() { return std::make_unique<FakeTray>(&tray); }

    std::unique_ptr<FreshProgram> program;
    TrayState tray;
    bool userBusy = false;
    std::unique_ptr<FormVokabo> form;
    // The main window's size before any stored placement.
    QSize designedClient;
};

void TestFormVokabo::init() {
    program = std::make_unique<FreshProgram>();
    tray = TrayState();
    userBusy = false;
}

void TestFormVokabo::cleanup() {
    setClock(nullptr);
    if (form)
        form->Form_Unload();
    form.reset();
    program.reset();
    QCursor::setPos(0, 0);
}

FormVokabo& TestFormVokabo::start(const QString& commandLine, const QByteArray& words) {
    if (!words.isNull())
        program->writeWordFile(words);
    form = std::make_unique<FormVokabo>(commandLine, program->settings(), program->words(),
                                        program->history(), program->speech(), makeTray(),
                                        std::make_unique<FakeBusy>(&userBusy));
    if (!form->Form_Load())
        qFatal("the main window did not start");
    return *form;
}

void TestFormVokabo::startUpShowsTheActiveWords() {
    program->writeWordFile("zebra|zebra|||A\r\n"
                           "Apple|elma||2|A\r\n"
                           "çanta|bag||0|P\r\n"
                           "banana|muz||1\r\n");
    FormVokabo& form = start("");
    QCOMPARE(LabelTur(form), QStringLiteral("Aktif Vokaboleriniz (2)"));
    QCOMPARE(lineTexts(form), (QStringList{"Apple || elma", "banana || muz"}));
    // The first line is current and knows its record.
    QCOMPARE(listOf(form).currentLine(), 0);
    QCOMPARE(listOf(form).lineRecord(0), 0);
    QCOMPARE(listOf(form).lineRecord(1), 1);
    QVERIFY(scheduler(form)->isRunning());
}

void TestFormVokabo::onlyTheExactSwitchStartsHidden_data() {
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<bool>("hidden");
    QTest::newRow("-o") << "-o" << true;
    QTest::newRow("none") << "" << false;
    QTest::newRow("-O") << "-O" << false;
    QTest::newRow("-o and more") << "-o x" << false;
}

void TestFormVokabo::onlyTheExactSwitchStartsHidden() {
    QFETCH(QString, commandLine);
    FormVokabo& form = start(commandLine);
    QTEST(form.startedHidden(), "hidden");
}

void TestFormVokabo::secondCopyIsRefusedAndStoresNothing() {
    ScriptedMsgBox box;
    FormVokabo first("-o", program->settings(), program->words(), program->history(),
                     program->speech(), makeTray());
    QVERIFY(first.Form_Load());
    first.showAsStarted();
    QVERIFY(!first.isVisible());
    {
        SettingsRecord itsOwn;
        WordStore sameFile(program->wordFile(), QString());
        History::AnswerHistory itsHistory(History::pathBeside(program->wordFile()));
        FormVokabo second("", itsOwn, sameFile, itsHistory, program->speech(), makeTray());
        QVERIFY(!second.Form_Load());
        QVERIFY(second.hasEnded());
    }
    // The user who started it again to find it gets the first copy's window.
    QTRY_VERIFY(first.isVisible());
    QCOMPARE(box.asked().size(), 1);
    QCOMPARE(box.asked()[0].prompt, QStringLiteral("Programın bir kopyası zaten çalışıyor !"));
    QCOMPARE(box.asked()[0].title, QStringLiteral("Vokabo Retano"));
    // Above the first copy's window, which may be kept on top.
    QCOMPARE(box.asked()[0].style,
             MsgBoxStyle::OkOnly | MsgBoxStyle::Exclamation | MsgBoxStyle::SystemModal);
    QCOMPARE(stored(Settings::SonXYName), QString());
    QCOMPARE(stored(Settings::SonBoyName), QString());
    // The first copy goes on with its words.
    QVERIFY(asking(first));
    QCOMPARE(listOf(first).lineCount(), 5);
    QVERIFY(first.Form_Unload());
}

// Each copy of the program is a SingleInstance of its own here; a lock held
// by this process counts as another live copy.
void TestFormVokabo::oneCopyPerWordFile_data() {
    QTest::addColumn<QString>("wordFolder"); // below the program's folder
    QTest::addColumn<bool>("lockBeside");
    QTest::newRow("beside the word file") << "words" << true;
    // Where nothing can be made beside the word file, the runtime folder
    // holds the lock.
    QTest::newRow("word folder unusable: runtime folder") << "plain-file/words" << false;
}

void TestFormVokabo::oneCopyPerWordFile() {
    QFETCH(QString, wordFolder);
    QFETCH(bool, lockBeside);
    const QDir dir(program->dir());
    for (const char* folder : {"words", "runtime", "other-login"})
        QVERIFY(dir.mkpath(folder));
    const QString words = dir.filePath(wordFolder + "/vokabo.txt");
    if (!lockBeside)
        belowAFile("runtime"); // makes the plain file
    const QString runtime = dir.filePath("runtime");
    {
        SingleInstance first(words, runtime);
        QCOMPARE(first.tryAcquire(), SingleInstance::Outcome::Acquired);
        QCOMPARE(QFile::exists(words + ".lock"), lockBeside);
        SingleInstance second(words, runtime);
        QCOMPARE(second.tryAcquire(), SingleInstance::Outcome::HeldByAnotherCopy);
        // Another login (or another user) has another runtime folder, and
        // meets the lock beside the word file.
        SingleInstance elsewhere(words, dir.filePath("other-login"));
        QCOMPARE(elsewhere.tryAcquire(), lockBeside ? SingleInstance::Outcome::HeldByAnotherCopy
                                                    : SingleInstance::Outcome::Acquired);
        // Another word file is another program's business.
        SingleInstance other(dir.filePath("words/other.txt"), runtime);
        QCOMPARE(other.tryAcquire(), SingleInstance::Outcome::Acquired);
    }
    // Released when the first copy has gone.
    SingleInstance third(words, runtime);
    QCOMPARE(third.tryAcquire(), SingleInstance::Outcome::Acquired);
}

void TestFormVokabo::noLockAnywhereStillStarts() {
    SingleInstance copy(belowAFile("vokabo.txt"), belowAFile("runtime"));
    QCOMPARE(copy.tryAcquire(), SingleInstance::Outcome::Unavailable);
    QVERIFY(copy.failure().contains(QStringLiteral("plain-file")));
}

void TestFormVokabo::escAndRestore() {
    FormVokabo& form = start("");
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    List1(form)->setFocus();
    QTest::keyClick(List1(form), Qt::Key_Escape);
    QVERIFY(!form.isVisible());
    QVERIFY(form.minimisedToTray());
    QVERIFY(asking(form));

    // A click leaves the window in the tray, the right button opens the
    // menu, a double-click brings the window back.
    tray.activate(QSystemTrayIcon::Trigger);
    QVERIFY(!form.isVisible() && !part<QMenu>(form, "popMenu")->isVisible());
    tray.activate(QSystemTrayIcon::Context);
    QVERIFY(part<QMenu>(form, "popMenu")->isVisible());
    tray.activate(QSystemTrayIcon::DoubleClick);
    QVERIFY(form.isVisible());
    QVERIFY(!form.minimisedToTray());

    // Minimising hides the window the same way; closing it then keeps the
    // stored placement.
    form.setWindowState(Qt::WindowMinimized);
    QVERIFY(!form.isVisible());
    QVERIFY(form.minimisedToTray());
    QVERIFY(form.Form_Unload());
    QCOMPARE(stored(Settings::SonXYName), QString());
}

// A window manager may leave a hidden window a title bar higher, at its
// frame's corner (GNOME Shell does); restoring it puts it back all the same,
// time after time.
void TestFormVokabo::restoredFromTheTrayAtItsStoredPlace() {
    const QRect frame(90, 160, 380, 320);
    Settings::writeStored(Settings::SonXYName,
                          Settings::packPair(frame.top() * 15, frame.left() * 15));
    Settings::writeStored(Settings::SonBoyName,
                          Settings::packPair(frame.height() * 15, frame.width() * 15));
    FormVokabo& form = start("");
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTRY_COMPARE(form.frameGeometry(), frame);
    for (int restore = 0; restore < 5; ++restore) {
        QTest::keyClick(List1(form), Qt::Key_Escape);
        QVERIFY(!form.isVisible());
        // Where the window manager said it put the hidden window.
        form.setGeometry(form.geometry().translated(0, -37));
        form.mnu_Ac_Click();
        QTRY_COMPARE(form.frameGeometry(), frame);
    }
}

void TestFormVokabo::withoutATrayNothingHides() {
    tray.available = false;
    FormVokabo& form = start("-o");
    form.showAsStarted();
    // Started for the logon: minimised instead of hidden, and told why.
    QVERIFY(form.isVisible());
    QVERIFY(form.isMinimized());
    // Windows of their own, not the main window's: a window manager would
    // bring the minimised main window back with one of its own.
    const auto notices = [] {
        QList<QMessageBox*> found;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->objectName() == u"noTrayNotice" && window->isVisible())
                found.append(qobject_cast<QMessageBox*>(window));
        return found;
    };
    QCOMPARE(notices().size(), 1);
    QVERIFY(!notices()[0]->parentWidget());
    QVERIFY(notices()[0]->text().startsWith(
        QStringLiteral("Bu masaüstünde bildirim alanı (sistem tepsisi) yok")));
    notices()[0]->close();

    form.mnu_Ac_Click();
    QVERIFY(!form.isMinimized());
    List1(form)->setFocus();
    QTest::keyClick(List1(form), Qt::Key_Escape);
    QVERIFY(form.isVisible());
    QVERIFY(form.isMinimized());
    QVERIFY(!form.minimisedToTray());

    // A tray that comes later takes the window as usual; one that goes
    // gives it back, minimised, without telling the same thing again.
    form.mnu_Ac_Click();
    tray.set(true);
    QTest::keyClick(List1(form), Qt::Key_Escape);
    QVERIFY(!form.isVisible());
    QVERIFY(form.minimisedToTray());
    tray.set(false);
    QVERIFY(form.isVisible());
    QVERIFY(form.isMinimized());
    QVERIFY(!form.minimisedToTray());
    QTRY_COMPARE(notices().size(), 0);
    form.mnu_Ac_Click();
    QVERIFY(form.Form_Unload());
}

void TestFormVokabo::storedFrameComesBackWhole() {
    const QRect frame(90, 60, 380, 320);
    Settings::writeStored(Settings::SonXYName,
                          Settings::packPair(frame.top() * 15, frame.left() * 15));
    Settings::writeStored(Settings::SonBoyName,
                          Settings::packPair(frame.height() * 15, frame.width() * 15));
    const QString xy = stored(Settings::SonXYName);
    const QString boy = stored(Settings::SonBoyName);
    // Start, show, exit, twice: the outer frame stays where it was stored.
    // Then once maximised, which stores nothing.
    for (int run = 0; run < 3; ++run) {
        FormVokabo& form = start("");
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTRY_COMPARE(form.frameGeometry(), frame);
        QVERIFY(form.geometry() != frame); // the window sits inside its frame
        if (run == 2)
            form.setWindowState(Qt::WindowMaximized);
        QVERIFY(form.Form_Unload());
        QCOMPARE(stored(Settings::SonXYName), xy);
        QCOMPARE(stored(Settings::SonBoyName), boy);
    }
}

void TestFormVokabo::unusableStoredPlacementIsIgnored_data() {
    QTest::addColumn<QString>("SonXY");
    QTest::addColumn<QString>("SonBoy");
    QTest::addColumn<QPoint>("place");
    // The outer size, or none where the window keeps its designed size.
    QTest::addColumn<QSize>("size");
    SettingsRecord settings;
    WordStore words{QString(), QString()};
    History::AnswerHistory history{QString()};
    RecordingSpeech speech;
    const FormVokabo designed("", settings, words, history, speech, makeTray());
    const QPoint designedPlace = designed.pos();
    designedClient = designed.size();
    const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
    const QString at90x60 = Settings::packPair(60 * 15, 90 * 15);
    const QPoint there(90, 60);
    auto size = [](int width, int height) { return Settings::packPair(height * 15, width * 15); };
    QTest::newRow("usable") << at90x60 << size(380, 320) << there << QSize(380, 320);
    QTest::newRow("smallest usable") << at90x60 << size(120, 100) << there << QSize(120, 100);
    QTest::newRow("too narrow") << at90x60 << size(119, 100) << there << QSize();
    QTest::newRow("-1") << at90x60 << "-1" << there << QSize();
    QTest::newRow("0") << at90x60 << "0" << there << QSize();
    QTest::newRow("no width") << at90x60 << "65536000" << there << QSize();
    QTest::newRow("larger than the screen") << "0"
                                            << "2147483647" << QPoint(0, 0) << screen;
    QTest::newRow("off every screen") << Settings::packPair(60 * 15, 20000 * 15) << size(380, 320)
                                      << designedPlace << QSize(380, 320);
}

void TestFormVokabo::unusableStoredPlacementIsIgnored() {
    QFETCH(QString, SonXY);
    QFETCH(QString, SonBoy);
    QFETCH(QPoint, place);
    QFETCH(QSize, size);
    Settings::writeStored(Settings::SonXYName, SonXY);
    Settings::writeStored(Settings::SonBoyName, SonBoy);
    FormVokabo& form = start("");
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTRY_COMPARE(form.frameGeometry().topLeft(), place);
    if (size.isValid())
        QTRY_COMPARE(form.frameGeometry().size(), size);
    else
        QCOMPARE(form.size(), designedClient);
}

void TestFormVokabo::wordFileIsWrittenOnlyWhenSomethingChanged() {
    {
        FormVokabo& form = start("");
        QVERIFY(form.Form_Unload());
        QVERIFY(!QFile::exists(program->wordFile()));
    }
    FormVokabo& form = start("");
    program->words().MoveToPassive(0);
    QVERIFY(form.Form_Unload());
    const QString bytes = QStringDecoder("windows-1254")(program->readWordFile());
    QVERIFY(bytes.endsWith("student loan|ögrenci  bursu kredisi|John's student loan payments "
                           "are in arrears|0|P\r\n"));
    QCOMPARE(bytes.count("\r\n"), 5);
}

void TestFormVokabo::failedSaveAtExitOffersRetryAndKeepsTheWords() {
    const QString folder = QDir(program->dir()).filePath("later");
    const QString path = QDir(folder).filePath("vokabo.txt");
    WordStore words(path);
    ScriptedMsgBox box;
    form = std::make_unique<FormVokabo>("", program->settings(), words, program->history(),
                                        program->speech(), makeTray());
    QVERIFY(form->Form_Load());
    words.AppendWord(word("kept", "saklı"), WordListKind::Active);

    // Retry fails again; "Vazgeç" keeps the program running.
    box.answer({MsgBoxResult::Retry, MsgBoxResult::Abort});
    QVERIFY(!form->Form_Unload());
    QCOMPARE(box.asked().size(), 2);
    QVERIFY(box.asked()[0].prompt.contains(path));
    QCOMPARE(box.asked()[0].style & MsgBoxStyle::IconMask, int(MsgBoxStyle::Critical));
    QVERIFY(!form->hasEnded());
    QVERIFY(form->isVisible());
    QVERIFY(scheduler(*form)->isRunning());
    QVERIFY(words.WordsChanged());

    // Once the folder is there, leaving saves the words.
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(form->Form_Unload());
    QVERIFY(form->hasEnded());
    QVERIFY(QFile(path).size() > 0);
    QCOMPARE(box.asked().size(), 2);
    form.reset(); // before the word store it used
}

void TestFormVokabo::schedulerOpensAQuestionAndPausesWhileItIsOpen() {
    QDateTime now(QDate(2026, 12, 6), QTime(8, 0));
    setClock([&now] { return now; });
    FormVokabo& form = start("-o");
    QCOMPARE(program->settings().SorDak(), 5);

    // Due at the first tick after start-up.
    form.askIfDue();
    QPointer<FormSoru> question = form.questionWindow();
    QVERIFY(question);
    QVERIFY(!scheduler(form)->isRunning());
    QVERIFY(!mnu_VokaboSor(form)->isEnabled());
    QCOMPARE(question->windowTitle(), QStringLiteral("Yeni ya da bilemediğiniz vokabo !"));

    // Closed without an answer: the series is over, the next question waits
    // for the period.
    question->close();
    QTRY_VERIFY(!question);
    QVERIFY(scheduler(form)->isRunning());
    QVERIFY(mnu_VokaboSor(form)->isEnabled());
    // The period counts from the moment it closed: not due one period on,
    // due a second later.
    now = now.addSecs(300);
    form.askIfDue();
    QVERIFY(!form.questionWindow());
    now = now.addSecs(1);
    form.askIfDue();
    QVERIFY(form.questionWindow());
    form.Form_Unload();
    QTRY_VERIFY(!form.questionWindow());
    QVERIFY(!scheduler(form)->isRunning());
}

void TestFormVokabo::questionWaitsForEnoughActiveWords() {
    program->writeWordFile("a|1||0|A\r\nb|2||0|A\r\nc|3||0|A\r\nd|4||0|P\r\n");
    FormVokabo& form = start("-o");
    form.askIfDue();
    QVERIFY(!form.questionWindow());
    QVERIFY(scheduler(form)->isRunning());
    form.askIfDue();
    QVERIFY(!form.questionWindow());
    // A fourth active word: the pending question opens at the next tick.
    program->words().MoveToActive(0);
    form.askIfDue();
    QVERIFY(form.questionWindow());
}

// "Vokabo Sor" opens its question at once, without waiting for a timer,
// whatever holds the scheduled ones.
void TestFormVokabo::askNowOpensAtOnce_data() {
    QTest::addColumn<QString>("SorDak");
    QTest::addColumn<bool>("paused");
    QTest::addColumn<bool>("busy");
    QTest::newRow("scheduled questions off") << "0" << false << false;
    QTest::newRow("paused") << "5" << true << false;
    QTest::newRow("user busy") << "5" << false << true;
}

void TestFormVokabo::askNowOpensAtOnce() {
    QFETCH(QString, SorDak);
    QFETCH(bool, paused);
    QFETCH(bool, busy);
    QDateTime now(QDate(2026, 12, 7), QTime(14, 0));
    setClock([&now] { return now; });
    Settings::writeStored(Settings::SorDakSetting.name, SorDak);
    if (paused)
        Settings::writeStored(Settings::DuraklatSetting.name, "2026-12-07T18:00:00Z");
    userBusy = busy;
    Settings::writeStored(Settings::SeslendirSetting.name, "E");
    FormVokabo& form = start("-o");
    QVERIFY(!scheduler(form)->dueNow());
    form.askIfDue();
    QVERIFY(!form.questionWindow());
    mnu_VokaboSor(form)->trigger();
    QPointer<FormSoru> question = form.questionWindow();
    QVERIFY(question);
    QVERIFY(question->isVisible());
    QVERIFY(!scheduler(form)->isRunning());
    // Read aloud as it opens, unless the user is busy.
    QCOMPARE(program->speech().said.size(), busy ? 0 : 1);
    // A question that is not answered right ends the request; what held the
    // scheduled questions holds them again.
    question->close();
    QTRY_VERIFY(!question);
    QVERIFY(!form.series().ElleSor);
    QVERIFY(scheduler(form)->isRunning());
    now = now.addSecs(3600);
    scheduler(form)->reconsider();
    QVERIFY(!scheduler(form)->dueNow());
}

// The pause's rules are the scheduler's, and the end-to-end run walks the
// menu by keyboard; here: its entries, the tooltip and the question held.
void TestFormVokabo::pauseFromTheTrayMenu() {
    QDateTime now(QDate(2026, 12, 7), QTime(14, 0, 20));
    setClock([&now] { return now; });
    start("-o", "a|1||0|A\r\nb|2||0|A\r\nc|3||0|A\r\nd|4||0|A\r\n");
    QMenu* pause = part<QMenu>(*form, "mnu_Duraklat");
    const auto shown = [pause] {
        QStringList texts;
        for (const QAction* action : pause->actions())
            if (action->isVisible() && !action->isSeparator())
                texts.append(action->text());
        return texts;
    };
    QCOMPARE(shown(), (QStringList{"30 dakika", "1 saat", "2 saat", "Yarın sabaha kadar"}));
    QCOMPARE(tray.toolTip, QStringLiteral("Vokabo Retano"));
    pause->actions()[0]->trigger();
    QCOMPARE(tray.toolTip, QStringLiteral("Sorular 14:30'a kadar duraklatıldı"));
    QCOMPARE(shown().last(), QStringLiteral("Sorulara Devam Et"));
    // The first question was due at start-up; it waits for the pause's end.
    form->askIfDue();
    QVERIFY(!form->questionWindow());
    now = scheduler(*form)->wakeUp();
    QMetaObject::invokeMethod(part<QTimer>(*form, "wakeUp"), "timeout");
    QVERIFY(form->questionWindow());
    QCOMPARE(tray.toolTip, QStringLiteral("Vokabo Retano"));
    QVERIFY(!shown().contains("Sorulara Devam Et"));
}

void TestFormVokabo::editingDuringAQuestionKeepsOneQuestionWindow() {
    FormVokabo& form = start("-o", "a|1||0|A\r\nb|2||0|A\r\nc|3||0|A\r\nd|4||0|A\r\n");
    form.askIfDue();
    QPointer<FormSoru> question = form.questionWindow();
    QVERIFY(question);
    for (int edit = 0; edit < 3; ++edit) {
        QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
        listOf(form).setCurrentLine(edit);
        doubleClickList(form);
        // Whatever the scheduler is told, the open question stays the one.
        form.askIfDue();
        QCOMPARE(questionsShown(), 1);
        QCOMPARE(form.questionWindow(), question.data());
        QVERIFY(!scheduler(form)->isRunning());
    }
    // Its closing starts the timer again.
    question->close();
    QTRY_VERIFY(!question);
    QVERIFY(scheduler(form)->isRunning());
}

void TestFormVokabo::aSeriesAskedForGoesOnWhileBusyButEndsAtItsLength() {
    QDateTime now(QDate(2026, 12, 7), QTime(14, 0));
    setClock([&now] { return now; });
    Settings::writeStored(Settings::SorusaySetting.name, "2");
    Settings::writeStored(Settings::DuraklatSetting.name,
                          now.addSecs(3600).toUTC().toString(Qt::ISODate));
    userBusy = true;
    FormVokabo& form = start("-o", "a|1||0|A\r\nb|2||0|A\r\nc|3||0|A\r\nd|4||0|A\r\n");
    mnu_VokaboSor(form)->trigger();
    for (int asked = 1; asked <= 2; ++asked) {
        QPointer<FormSoru> question = form.questionWindow();
        QVERIFY2(question && question->isOpen(), qPrintable(QString::number(asked)));
        answerRight(*question, program->words());
        QTRY_VERIFY(!question);
        // The next of the series comes at once, busy or paused.
        if (asked == 1)
            QTRY_VERIFY(form.questionOpen());
    }
    // The series has its length: what holds the scheduled questions holds
    // them again, though the request still stands.
    QVERIFY(form.series().ElleSor);
    now = now.addSecs(301);
    scheduler(form)->reconsider();
    QVERIFY(!scheduler(form)->dueNow());
    userBusy = false;
    scheduler(form)->reconsider();
    QVERIFY(!scheduler(form)->dueNow());
}

// A draw that finds no set of different answers (100 tries for a slot)
// is drawn again one period later.
void TestFormVokabo::aFailedDrawIsTriedAgainAfterThePeriod() {
    QDateTime now(QDate(2026, 12, 7), QTime(14, 0));
    setClock([&now] { return now; });
    Settings::writeStored(Settings::SecenekSaySetting.name, "2");
    FormVokabo& form = start("-o", "a|1||0|A\r\nb|2||0|A\r\n");
    ScriptedRandom random(QList<double>(2 + 99, 0.0));
    form.askIfDue();
    QCOMPARE(random.left(), 0);
    QVERIFY(!form.questionWindow());
    QCOMPARE(scheduler(form)->wakeUp(), now.addSecs(301));
    now = scheduler(form)->wakeUp();
    random.add({0.0, 0.0, 0.9, 0.0, 0.0});
    QMetaObject::invokeMethod(part<QTimer>(form, "wakeUp"), "timeout");
    QVERIFY(form.questionOpen());
}

void TestFormVokabo::shutDownWaitsForOpenDialogs() {
    FormVokabo& form = start("-o");
    form.askIfDue();
    QPointer<FormSoru> question = form.questionWindow();
    QVERIFY(question);
    program->words().SetWordDogru(WordListKind::Active, 0, 3);
    // The end comes while a message box of the question window is open, as
    // when the user looks at the example sentence at log-out.
    QTimer::singleShot(0, &form, [&form] { form.requestShutdown(); });
    const MsgBoxResult answer =
        showQtMessageBox(question, QStringLiteral("An example."), MsgBoxStyle::OkOnly,
                         QStringLiteral("Örnek Cümle"));
    QCOMPARE(answer, MsgBoxResult::Ok);
    // The box was closed for the shut-down, which waited for its loop.
    QVERIFY(question);
    QVERIFY(!form.hasEnded());
    QTRY_VERIFY(form.hasEnded());
    QTRY_VERIFY(!question);
    QVERIFY(QFile::exists(program->wordFile()));
}

// The window reports a word file it cannot read; at exit it offers only what
// can work, since that file is never written.
void TestFormVokabo::unreadableWordFileIsReportedAndExitOffersNoRetry() {
    QVERIFY(QDir().mkpath(program->wordFile()));
    ScriptedMsgBox box;
    FormVokabo& form = start("");
    QCOMPARE(box.asked().size(), 1);
    QVERIFY(box.asked()[0].prompt.startsWith(QStringLiteral("Vokabo dosyası okunamadı:")));
    QVERIFY(box.asked()[0].prompt.contains(program->wordFile()));
    QCOMPARE(box.asked()[0].style, MsgBoxStyle::OkOnly | MsgBoxStyle::Critical);
    QCOMPARE(listOf(form).lineCount(), 0);

    program->words().AppendWord(word("new", "yeni"), WordListKind::Active);
    box.answer({MsgBoxResult::No, MsgBoxResult::Yes});
    QVERIFY(!form.Form_Unload());
    QCOMPARE(box.asked().size(), 2);
    const ScriptedMsgBox::Asked& exit = box.asked()[1];
    QCOMPARE(exit.style & MsgBoxStyle::ButtonMask, int(MsgBoxStyle::YesNo));
    QVERIFY(!exit.prompt.contains(QStringLiteral("Tekrar Dene")));
    QVERIFY(scheduler(form)->isRunning());
    QVERIFY(form.Form_Unload());
    QCOMPARE(box.asked().size(), 3);
    QVERIFY(form.hasEnded());
    QVERIFY(QFileInfo(program->wordFile()).isDir());
}

void TestFormVokabo::changesAreSavedWithinSeconds() {
    FormVokabo& form = start("-o", "a|1||0|A\r\n");
    // No window comes up for a save made while the user works elsewhere.
    ShowCounter progressShown(part<QWidget>(form, QStringLiteral("FormProgress")));
    program->words().AppendWord(word("b", "2"), WordListKind::Active);
    QTRY_COMPARE_WITH_TIMEOUT(program->readWordFile(), QByteArray("a|1||0|A\r\nb|2||0|A\r\n"),
                              SaveSoon::DelayMs + 2000);
    QVERIFY(!program->words().WordsChanged());
    // A count from a question is saved the same way.
    program->words().SetWordDogru(WordListKind::Active, 0, 7);
    QTRY_VERIFY_WITH_TIMEOUT(program->readWordFile().startsWith("a|1||7|A"),
                             SaveSoon::DelayMs + 2000);
    QCOMPARE(progressShown.shows, 0);
    QVERIFY(form.Form_Unload());
    QVERIFY(tray.balloons.isEmpty());
}

// A failed save is told once, in Turkish, and tried again by itself, each
// time after a longer while, until it lands: no change is needed for that.
void TestFormVokabo::failedSavesAreRetriedUntilTheyLand() {
    // A tiny full disk where one can be mounted (root can); else a folder
    // that is not there yet.
    const QString folder = QDir(program->dir()).filePath("disk");
    QVERIFY(QDir().mkpath(folder));
    const bool disk =
        QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=16k", "tmpfs", folder}) == 0;
    const auto unmount = qScopeGuard([&] {
        if (disk)
            QProcess::execute("umount", {folder});
    });
    QFile filler(QDir(folder).filePath("filler"));
    if (disk)
        QVERIFY(filler.open(QIODevice::WriteOnly) && filler.write(QByteArray(64 << 10, 'x')) > 0);
    else
        QVERIFY(QDir().rmdir(folder));
    WordStore words(QDir(folder).filePath("vokabo.txt"), QString());
    // The window goes before the word store it uses, whatever happens.
    const auto windowFirst = qScopeGuard([this] { form.reset(); });
    form = std::make_unique<FormVokabo>("-o", program->settings(), words, program->history(),
                                        program->speech(), makeTray());
    QVERIFY(form->Form_Load());
    auto* timer = part<QTimer>(*form, QStringLiteral("SaveSoonTimer"));
    words.AppendWord(word("kept", "saklı", QString(200, u'x')), WordListKind::Active);
    // The timer's time is up each time, without a change meanwhile.
    const auto timeUp = [timer] {
        timer->stop();
        QMetaObject::invokeMethod(timer, "timeout");
    };
    QList<int> waits;
    for (int failure = 0; failure < 5; ++failure) {
        QVERIFY(timer->isActive());
        waits.append(timer->interval());
        timeUp();
    }
    QVERIFY(std::is_sorted(waits.begin(), waits.end()) && waits[1] > waits[0]);
    QCOMPARE(waits[4], waits[3]);
    QCOMPARE(tray.balloons.size(), 1);
    QVERIFY2(tray.balloons[0].startsWith(QStringLiteral("Vokaboler kaydedilemedi: ")) &&
                 tray.balloons[0].contains(QDir::toNativeSeparators(folder)) &&
                 !tray.balloons[0].contains(disk ? "No space" : "No such file"),
             qPrintable(tray.balloons[0]));
    // Room again: the try that comes lands, without a box or a change.
    ScriptedMsgBox box;
    if (disk)
        QVERIFY(filler.remove());
    else
        QVERIFY(QDir().mkpath(folder));
    QVERIFY(timer->isActive());
    timeUp();
    QVERIFY(!words.WordsChanged());
    QVERIFY(QFile(words.wordFilePath()).size() > 200);
    QVERIFY(box.asked().isEmpty());
    QCOMPARE(tray.balloons.size(), 2);
}

// The system ends the program while its words cannot be saved: no box waits,
// the words go to a rescue copy, and the next start tells where it is.
void TestFormVokabo::systemShutdownNeverWaitsForABox() {
    const QString path = QDir(program->dir()).filePath("gone/vokabo.txt");
    ScriptedMsgBox box;
    for (const bool boxOpen : {false, true}) {
        WordStore words(path, QString());
        const auto windowFirst = qScopeGuard([this] { form.reset(); });
        form = std::make_unique<FormVokabo>("-o", program->settings(), words, program->history(),
                                            program->speech(), makeTray());
        QVERIFY(form->Form_Load());
        words.AppendWord(word(boxOpen ? "second" : "first", "ş"), WordListKind::Active);
        // The user's "Çıkış" has the save failure's box open when the system asks.
        if (boxOpen) {
            int asked = 0;
            const MsgBoxHandler scripted =
                setMsgBoxHandler([this, &asked](const QString&, int, const QString&) {
                    ++asked;
                    form->requestShutdown(FormVokabo::EndedBy::System);
                    return MsgBoxResult::Abort;
                });
            form->requestShutdown();
            setMsgBoxHandler(scripted);
            QCOMPARE(asked, 1);
        } else {
            form->requestShutdown(FormVokabo::EndedBy::System);
        }
        QVERIFY(form->hasEnded());
    }
    QVERIFY(box.asked().isEmpty());
    WordStore later(path, QString());
    const auto windowFirst = qScopeGuard([this] { form.reset(); });
    const QStringList rescued = later.rescueCopies();
    QVERIFY(!rescued.isEmpty());
    QFile copy(rescued.last());
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QVERIFY(copy.readAll().contains(QStringLiteral("second|ş||0|A").toUtf8()));
    form = std::make_unique<FormVokabo>("-o", program->settings(), later, program->history(),
                                        program->speech(), makeTray());
    QVERIFY(form->Form_Load());
    QVERIFY(tray.balloons.last().contains(QDir::toNativeSeparators(rescued.last())));
}

// Emptied or made a folder by another program: the words stay in the
// program, it says so, and they go back into the file once it can take them.
void TestFormVokabo::emptiedOrUnreadableWordFileKeepsTheWords_data() {
    QTest::addColumn<bool>("unsaved");
    QTest::newRow("all saved") << false;
    QTest::newRow("a change not saved yet") << true;
}

void TestFormVokabo::emptiedOrUnreadableWordFileKeepsTheWords() {
    QFETCH(bool, unsaved);
    const QByteArray words = "a|1||0|A\r\nb|2||0|A\r\n";
    FormVokabo& form = start("-o", words);
    ScriptedMsgBox box;
    if (unsaved)
        program->words().AppendWord(word("c", "3"), WordListKind::Active);
    const QStringList lines = lineTexts(form);
    program->writeWordFile("");
    QTRY_COMPARE(tray.balloons.size(), 1);
    QVERIFY(tray.balloons[0].startsWith(QStringLiteral("Vokabo dosyası boşaltılmış: ")));
    QCOMPARE(lineTexts(form), lines);
    QTRY_VERIFY(program->readWordFile().startsWith(words));

    QVERIFY(QFile::remove(program->wordFile()) && QDir().mkpath(program->wordFile()));
    QTRY_COMPARE(tray.balloons.size(), 2);
    QVERIFY(tray.balloons[1].startsWith(QStringLiteral("Vokabo dosyası okunamıyor: ")));
    QCOMPARE(lineTexts(form), lines);
    QVERIFY(QDir().rmdir(program->wordFile()));
    QTRY_VERIFY(program->readWordFile().startsWith(words));
    QCOMPARE(tray.balloons.size(), 2);
    QVERIFY(box.asked().isEmpty());
}

void TestFormVokabo::mixedEncodingsAreToldOnce() {
    FormVokabo& form =
        start("-o", QStringLiteral("şişe|bottle||0|A\r\n").toUtf8() + "k\xF6t\xFC|bad||0|A\r\n");
    QCOMPARE(lineTexts(form), (QStringList{"kötü || bad", "şişe || bottle"}));
    QCOMPARE(tray.balloons.size(), 1);
    QVERIFY(tray.balloons[0].startsWith(QStringLiteral("Vokabo dosyasında iki ayrı kodlama: ")));
    QFile file(program->wordFile());
    QVERIFY(file.open(QIODevice::Append) && file.write("ip|rope||0|A\r\n") > 0);
    file.close();
    QTRY_COMPARE(listOf(form).lineCount(), 3);
    QCOMPARE(tray.balloons.size(), 1);
}

void TestFormVokabo::pauseThatCannotBeStoredIsTold() {
    start("-o");
    QVERIFY(QDir().mkpath(QDir(program->dir()).filePath("config/vokabo/registry.ini")));
    part<QMenu>(*form, "mnu_Duraklat")->actions()[0]->trigger();
    QCOMPARE(tray.balloons.size(), 1);
    QVERIFY(tray.balloons[0].startsWith(QStringLiteral("Duraklatma kaydedilemedi: ")));
}

// The question window is the main window's: it goes with it, yet no window
// manager hides it with a minimised main window.
void TestFormVokabo::questionWindowGoesWithTheMainWindow() {
    start("-o").askIfDue();
    QPointer<FormSoru> question = form->questionWindow();
    QVERIFY(question && question->isVisible());
    QVERIFY(!question->windowHandle()->transientParent());
    form.reset();
    QVERIFY(!question);
}

// Another computer's lock on a shared folder: the user is told whose it is,
// and may take it over.
void TestFormVokabo::anotherComputersLockIsTakenOverWhenAsked() {
    program->writeWordFile("a|1||0|A\r\n");
    QFile lock(program->wordFile() + ".lock");
    QVERIFY(lock.open(QIODevice::WriteOnly) && lock.write("4242\nvokabo\nuzak-makine\n") > 0);
    lock.close();
    ScriptedMsgBox box;
    box.answer({MsgBoxResult::No, MsgBoxResult::Ok, MsgBoxResult::Yes});
    {
        FormVokabo refused("", program->settings(), program->words(), program->history(),
                           program->speech(), makeTray());
        QVERIFY(!refused.Form_Load());
    }
    QCOMPARE(box.asked().size(), 2);
    QVERIFY(box.asked()[0].prompt.contains(QStringLiteral("uzak-makine")));
    QVERIFY(box.asked()[1].prompt.startsWith(
        QStringLiteral("Programın bir kopyası zaten çalışıyor !\n\nKopya başka bir bilgisayarda "
                       "(uzak-makine)")));
    start("-o");
    QCOMPARE(box.asked().size(), 3);
    QVERIFY(lock.open(QIODevice::ReadOnly));
    QCOMPARE(lock.readLine().trimmed().toLongLong(), QCoreApplication::applicationPid());
}

void TestFormVokabo::outsideEditIsReadAgainKeepingTheLine() {
    FormVokabo& form = start("-o", "a|1||0|A\r\nb|2||0|A\r\nc|3||0|A\r\n");
    listOf(form).setCurrentLine(1);
    ScriptedMsgBox box;
    // Saved by an editor that writes in place.
    program->writeWordFile("Aa|0||0|A\r\na|1||0|A\r\nb|2||5|A\r\nz|9||0|P\r\n");
    QTRY_COMPARE(lineTexts(form), (QStringList{"a || 1", "Aa || 0", "b || 2"}));
    QCOMPARE(listOf(form).lineText(listOf(form).currentLine()), QStringLiteral("b || 2"));
    QCOMPARE(program->words().words(WordListKind::Passive).size(), 1);
    QVERIFY(box.asked().isEmpty());
    QVERIFY(!program->words().WordsChanged());
}

void TestFormVokabo::outsideEditMeetingUnsavedChangesAsks_data() {
    QTest::addColumn<MsgBoxResult>("answer");
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("Evet: the file's words") << MsgBoxResult::Yes << QByteArray("edited|x||0|A\r\n");
    QTest::newRow("Hayır: the program's words")
        << MsgBoxResult::No << QByteArray("a|1||0|A\r\nmine|benim||0|A\r\n");
}

void TestFormVokabo::outsideEditMeetingUnsavedChangesAsks() {
    QFETCH(MsgBoxResult, answer);
    FormVokabo& form = start("-o", "a|1||0|A\r\n");
    ScriptedMsgBox box;
    box.answer({answer});
    program->words().AppendWord(word("mine", "benim"), WordListKind::Active);
    program->writeWordFile("edited|x||0|A\r\n");
    QTRY_COMPARE_WITH_TIMEOUT(box.asked().size(), 1, SaveSoon::DelayMs + 2000);
    QVERIFY(box.asked()[0].prompt.startsWith(
        QStringLiteral("Vokabo dosyası başka bir programda değiştirildi:")));
    QTEST(program->readWordFile(), "file");
    QVERIFY(!program->words().WordsChanged());
    // Nothing more is asked, now or at exit.
    QTest::qWait(SaveSoon::DelayMs);
    QVERIFY(form.Form_Unload());
    QTEST(program->readWordFile(), "file");
    QCOMPARE(box.asked().size(), 1);
}

// Whatever the window's size, its bar, tabs, title strip, list and advert
// show whole, side by side and each within the pointer's reach; the list
// takes the room the window gains, the tabs keep to its right edge. Lower
// or narrower than designed, the window cuts them off at its edges, and
// still none covers another.
void TestFormVokabo::layoutFollowsTheWindow() {
    FormVokabo& window = start("-o", "a|b||0|A\r\n");
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QStringList bar{"Line1", "Line2"};
    for (int i = 0; i < 7; ++i)
        bar.append(Cmd(window, i)->objectName());
    const QStringList tabs = bar + QStringList{"LabelAktif0", "LabelAktif1"};
    const QStringList panels = bar + QStringList{"LabelTur", "List1", "FrameAd"};
    const auto list = [&window] { return inWindow(List1(window)); };
    const auto rightOfTabs = [&window] {
        return window.width() - inWindow(LabelAktif(window, 1)).right();
    };
    const QSize designed = window.size();
    const int designedList = list().height();
    const int designedRight = rightOfTabs();
    for (const QSize size : {designed, designed + QSize(140, 6)}) {
        window.resize(size);
        QCOMPARE(layoutFaults(window, tabs).join('\n'), QString());
        QCOMPARE(layoutFaults(window, panels).join('\n'), QString());
        QCOMPARE(rightOfTabs(), designedRight);
        QCOMPARE(list().width(), size.width());
        QCOMPARE(list().height() - designedList, size.height() - designed.height());
        // The advert ends the window, with no empty band above it.
        const QRect advert = inWindow(part<QWidget>(window, "FrameAd"));
        QCOMPARE(advert.bottom(), size.height() - 1);
        QCOMPARE_LE(advert.top() - list().bottom(), 3);
    }
    for (const QSize size : {QSize(designed.width(), 150), QSize(300, 150)}) {
        window.resize(size);
        for (const QString& fault : layoutFaults(window, panels))
            QVERIFY2(fault.endsWith(u"reaches out of the window"), qPrintable(fault));
        QVERIFY(!list().isEmpty());
    }
}

void TestFormVokabo::tabsSwitchTheList() {
    FormVokabo& window = start("-o", "a|1||0|A\r\nb|2||4|P\r\nc|3||0|P\r\n");
    // The open tab stands taller than the other, the strip's colour over its
    // lower edge.
    const auto openTab = [&window] {
        const QRect cover = part<QWidget>(window, "LabelEmpty")->geometry();
        for (int i = 0; i < 2; ++i) {
            const QRect tab = LabelAktif(window, i)->geometry();
            if (tab.height() > LabelAktif(window, 1 - i)->height() && tab.left() < cover.left() &&
                cover.right() < tab.right() && cover.top() < tab.bottom())
                return i;
        }
        return -1;
    };
    QCOMPARE(openTab(), 0);
    QTest::mouseClick(LabelAktif(window, 1), Qt::LeftButton);
    QCOMPARE(listOf(window).shownList(), WordListKind::Passive);
    QCOMPARE(LabelTur(window), QStringLiteral("Pasif Vokaboleriniz (2)"));
    QCOMPARE(listOf(window).lineCount(), 2);
    QCOMPARE(listOf(window).currentLine(), -1);
    QCOMPARE(openTab(), 1);
    QTest::mouseClick(LabelAktif(window, 0), Qt::LeftButton);
    QCOMPARE(LabelTur(window), QStringLiteral("Aktif Vokaboleriniz (1)"));
    QCOMPARE(openTab(), 0);
    // A change of the list that is not shown leaves the list and the tabs as
    // they are; one of the shown list shows.
    QTest::mouseClick(LabelAktif(window, 1), Qt::LeftButton);
    program->words().AppendWord(word("d", "4"), WordListKind::Active);
    QCOMPARE(openTab(), 1);
    QCOMPARE(LabelTur(window), QStringLiteral("Pasif Vokaboleriniz (2)"));
    program->words().MoveToPassive(0);
    QCOMPARE(LabelTur(window), QStringLiteral("Pasif Vokaboleriniz (3)"));
}

void TestFormVokabo::currentLineAfterAChange_data() {
    QTest::addColumn<QByteArray>("words");
    QTest::addColumn<int>("line");
    QTest::addColumn<MsgBoxResult>("answer");
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<int>("current");
    const QByteArray three = "a|1||0|A\r\nb|2||0|A\r\nc|3||0|A\r\n";
    QTest::newRow("first") << three << 0 << MsgBoxResult::Yes << QStringList{"b || 2", "c || 3"}
                           << 0;
    QTest::newRow("middle") << three << 1 << MsgBoxResult::Yes << QStringList{"a || 1", "c || 3"}
                            << 1;
    QTest::newRow("last") << three << 2 << MsgBoxResult::Yes << QStringList{"a || 1", "b || 2"}
                          << 1;
    QTest::newRow("only") << QByteArray("a|1||0|A\r\n") << 0 << MsgBoxResult::Yes << QStringList{}
                          << -1;
    QTest::newRow("Hayır") << three << 1 << MsgBoxResult::No
                           << QStringList{"a || 1", "b || 2", "c || 3"} << 1;
}

void TestFormVokabo::currentLineAfterAChange() {
    QFETCH(QByteArray, words);
    QFETCH(int, line);
    QFETCH(MsgBoxResult, answer);
    QFETCH(QStringList, left);
    QFETCH(int, current);
    // The same rules for deleting and for moving to the other list.
    for (const bool moving : {false, true}) {
        FormVokabo& window = start("-o", words);
        ScriptedMsgBox box;
        box.answer({answer});
        listOf(window).setCurrentLine(line);
        const QString chosen = listOf(window).lineText(line).section(QStringLiteral(" || "), 0, 0);
        barButton(window, moving ? QStringLiteral("Seçili Vokaboyi Aktif/Pasif Yap")
                                 : QStringLiteral("Seçili Vokaboyi Sil"))
            ->click();
        QCOMPARE(box.asked().size(), 1);
        QCOMPARE(box.asked()[0].title,
                 moving ? QStringLiteral("Vokabo Aktif/Pasif") : QStringLiteral("Vokabo Silme"));
        QVERIFY(box.asked()[0].prompt.startsWith(u'"' + chosen + u'"'));
        QStringList shown;
        for (int i = 0; i < listOf(window).lineCount(); ++i)
            shown.append(listOf(window).lineText(i));
        QCOMPARE(shown, left);
        QCOMPARE(listOf(window).currentLine(), current);
        QCOMPARE(program->words().WordsChanged(), answer == MsgBoxResult::Yes);
        if (moving && answer == MsgBoxResult::Yes)
            QCOMPARE(program->words().words(WordListKind::Passive).last().English, chosen);
        cleanup();
        init();
    }
}

void TestFormVokabo::sameTextsKeepTheirOwnRecords() {
    FormVokabo& window = start("-o", "twin|ikiz|first|1|A\r\ntwin|ikiz|second|2|A\r\n");
    QCOMPARE(listOf(window).lineText(0), listOf(window).lineText(1));
    // Editing one line changes its own record only.
    const int record = listOf(window).lineRecord(1);
    listOf(window).setCurrentLine(1);
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<FormYeni*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        auto* example = part<QLineEdit>(*dialog, "TextOrnek");
        example->setText(example->text() + QStringLiteral(" (edited)"));
        dialog->CmdEkle_Click();
    });
    doubleClickList(window);
    const WordList& active = program->words().words(WordListKind::Active);
    const WordList& passive = program->words().words(WordListKind::Passive);
    QVERIFY(active[record].Ornek.endsWith(QStringLiteral(" (edited)")));
    QVERIFY(!active[1 - record].Ornek.endsWith(QStringLiteral(" (edited)")));
    // As after every change made outside the list, no line is current.
    QCOMPARE(listOf(window).currentLine(), -1);
    // Moving a line moves its own record, with its own count.
    ScriptedMsgBox box;
    listOf(window).setCurrentLine(0);
    const qint16 count = active[listOf(window).lineRecord(0)].Dogru;
    barButton(window, QStringLiteral("Seçili Vokaboyi Aktif/Pasif Yap"))->click();
    QCOMPARE(passive.size(), 1);
    QCOMPARE(passive[0].Dogru, count);
    QCOMPARE(active.size(), 1);
    QVERIFY(active[0].Dogru != count);
}

void TestFormVokabo::deleteKeyActsOnReleaseInTheListOnly() {
    FormVokabo& window = start("-o", "a|1||0|A\r\nb|2||0|A\r\n");
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    ScriptedMsgBox box;
    box.answer({MsgBoxResult::Yes, MsgBoxResult::Yes});
    listOf(window).setCurrentLine(0);
    List1(window)->setFocus();
    QTest::keyPress(List1(window), Qt::Key_Delete);
    QCOMPARE(box.asked().size(), 0);
    // A held key repeats its release: only the real one counts.
    QKeyEvent repeated(QEvent::KeyRelease, Qt::Key_Delete, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(List1(window), &repeated);
    QCOMPARE(box.asked().size(), 0);
    QTest::keyRelease(List1(window), Qt::Key_Delete);
    QCOMPARE(box.asked().size(), 1);
    QCOMPARE(listOf(window).lineCount(), 1);
    // Elsewhere the key is not the list's.
    Cmd(window, 0)->setFocus();
    QTest::keyClick(Cmd(window, 0), Qt::Key_Delete);
    QCOMPARE(box.asked().size(), 1);
}

// What the dialog shows is the end-to-end run's; a double-click with no
// line current opens none.
void TestFormVokabo::doubleClickEditsTheCurrentLine() {
    FormVokabo& window = start("-o", "a|1|x|0|A\r\n");
    bool opened = false;
    QTimer::singleShot(0, [&] {
        if (auto* dialog = qobject_cast<FormYeni*>(QApplication::activeModalWidget()))
            opened = dialog->close();
    });
    listOf(window).setCurrentLine(-1);
    doubleClickList(window);
    QVERIFY(!opened);
    QVERIFY(scheduler(window)->isRunning());
    listOf(window).setCurrentLine(0);
    doubleClickList(window);
    QVERIFY(opened);
    QVERIFY(scheduler(window)->isRunning());
}

// The pulse itself is the bar's own (tst_buttonbar); a command ends it.
void TestFormVokabo::aCommandEndsTheHighlight() {
    FormVokabo& window = start("-o", "a|1||0|A\r\n");
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    BarButton* ask = barButton(window, QStringLiteral("Vokabo Sor"));
    const auto pointAtAsk = [this, ask] {
        moveCursorTo(ask);
        const QPointF at(ask->rect().center());
        QMouseEvent move(QEvent::MouseMove, at, ask->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(ask, &move);
    };
    pointAtAsk();
    QVERIFY(ask->isHighlighted());
    QVERIFY(part<QTimer>(window, QStringLiteral("TimerBtnAnim"))->isActive());
    // A click ends the highlight at once and shows the picture from the
    // corner at its natural size, not stretched over the button as at rest,
    // until the pointer moves on the button again.
    ScriptedMsgBox box;
    ask->click();
    QVERIFY(!ask->isHighlighted());
    QCOMPARE(ask->pictureRect().topLeft(), QPoint(0, 0));
    QVERIFY(!ask->pictureRect().isEmpty() && ask->pictureRect() != ask->rect());
    QVERIFY(!part<QTimer>(window, QStringLiteral("TimerBtnAnim"))->isActive());
    pointAtAsk();
    QVERIFY(ask->isHighlighted());
}

void TestFormVokabo::barButtonsCloseTheQuestionFirst() {
    FormVokabo& window = start("-o", "a|1||0|A\r\nb|2||0|A\r\nc|3||0|A\r\nd|4||0|A\r\n");
    PageCatcher pages;
    // Nothing is deleted or moved: the question always has its four words.
    ScriptedMsgBox box;
    box.answer({MsgBoxResult::No, MsgBoxResult::No});
    int dialogs = 0;
    for (int index = 0; index < 7; ++index) {
        window.setSonSoru(QDateTime());
        window.askIfDue();
        QPointer<FormSoru> question = window.questionWindow();
        QVERIFY(question);
        bool dialogUp = false;
        bool timerOff = false;
        bool questionClosed = false;
        QTimer::singleShot(0, [&] {
            timerOff = !scheduler(window)->isRunning();
            questionClosed = !question || !question->isVisible();
            if (QWidget* dialog = QApplication::activeModalWidget())
                dialogUp = dialog->close();
        });
        listOf(window).setCurrentLine(0);
        Cmd(window, index)->click();
        QVERIFY2(!question || !question->isVisible(), qPrintable(QString::number(index)));
        // A dialog was up with the question closed and the timer off.
        dialogs += dialogUp;
        QVERIFY(!dialogUp || (questionClosed && timerOff));
        QVERIFY2(asking(window), qPrintable(QString::number(index)));
        QTRY_VERIFY(!question);
        listOf(window).FillWordList(WordListKind::Active);
    }
    // The new word, the settings and the help; the new-version button
    // opened the program's page; the advert opens
    // the home page and leaves an open question alone.
    QCOMPARE(dialogs, 3);
    QCOMPARE(pages.opened.size(), 1);
    window.setSonSoru(QDateTime());
    window.askIfDue();
    QTest::mouseClick(part<ClickLabel>(window, QStringLiteral("ImageAd")), Qt::LeftButton);
    QCOMPARE(pages.opened.size(), 2);
    QVERIFY(pages.opened[0] != pages.opened[1]);
    QVERIFY(window.questionWindow() && window.questionWindow()->isVisible());
}

QTEST_MAIN(TestFormVokabo)
#include "tst_formvokabo.moc"

// The progress window, from the tray or the list, and the word it points
// at; a damaged history is told at the tray icon.
void TestFormVokabo::progressWindowPointsAtItsWord() {
    QFile damaged(History::pathBeside(program->wordFile()));
    QVERIFY(damaged.open(QIODevice::WriteOnly) && damaged.write(QByteArray(8192, 'x')) == 8192);
    damaged.close();
    FormVokabo& form = start("-o", "a|1||0|A\r\nb|2||0|A\r\nc|3||0|P\r\n");
    QCOMPARE(tray.balloons.size(), 1);
    QVERIFY(tray.balloons[0].startsWith(QStringLiteral("Cevap geçmişi yeniden başladı: ")));
    program->history().record(
        {Now(), "c", "3", History::Direction::WordToMeaning, 4, false, 2, 900, false});

    const auto progressWindows = [] {
        QList<QWidget*> found;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->objectName() == u"FormIlerleme" && widget->isVisible())
                found.append(widget);
        return found;
    };
    part<QAction>(form, QStringLiteral("mnu_Ilerleme"))->trigger();
    part<QAction>(form, QStringLiteral("mnu_ListeIlerleme"))->trigger();
    QCOMPARE(progressWindows().size(), 1);
    auto* wrong = part<QTableWidget>(*progressWindows()[0], QStringLiteral("TableYanlis"));
    const QPoint first = wrong->visualItemRect(wrong->item(0, 0)).center();
    QTest::mouseClick(wrong->viewport(), Qt::LeftButton, {}, first);
    QTest::mouseDClick(wrong->viewport(), Qt::LeftButton, {}, first);
    QVERIFY(form.isVisible());
    QCOMPARE(LabelTur(form), QStringLiteral("Pasif Vokaboleriniz (1)"));
    QCOMPARE(listOf(form).lineText(listOf(form).currentLine()), QStringLiteral("c || 3"));
}
