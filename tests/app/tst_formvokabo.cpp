#include "app/FormVokabo.h"
#include "controls/TryIcn.h"
#include "platform/Clock.h"
#include "platform/MsgBoxQt.h"
#include "quiz/Quiz.h"
#include "settings/Settings.h"
#include "support/TestSupport.h"
#include "words/FormYeni.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPointer>
#include <QScreen>
#include <QStringDecoder>
#include <QTest>
#include <QTimer>

using namespace ModVokabo;

namespace {
QStringList lineTexts(const FormVokabo& form) {
    QStringList texts;
    for (int i = 0; i < form.lineCount(); ++i)
        texts.append(form.lineText(i));
    return texts;
}

QString stored(const char* name) {
    return Settings::readStored(name);
}
} // namespace

class TestFormVokabo : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { setClock(nullptr); }
    void startUpShowsTheActiveWords();
    void onlyTheExactSwitchStartsHidden_data();
    void onlyTheExactSwitchStartsHidden();
    void secondCopyIsRefusedAndStoresNothing();
    void escAndRestore();
    void storedFrameComesBackWhole();
    void unusableStoredPlacementIsIgnored_data();
    void unusableStoredPlacementIsIgnored();
    void wordFileIsWrittenOnlyWhenSomethingChanged();
    void failedSaveAtExitOffersRetryAndKeepsTheWords();
    void schedulerOpensAQuestionAndPausesWhileItIsOpen();
    void questionWaitsForEnoughActiveWords();
    void askNowWorksWhenScheduledQuestionsAreOff();
    void shutDownWaitsForOpenDialogs();
    void unreadableWordFileIsReportedAndExitOffersNoRetry();
};

void TestFormVokabo::startUpShowsTheActiveWords() {
    FreshProgram program;
    program.writeWordFile("zebra|zebra|||A\r\n"
                          "Apple|elma||2|A\r\n"
                          "çanta|bag||0|P\r\n"
                          "banana|muz||1\r\n");
    FormVokabo form("");
    QVERIFY(form.Form_Load());
    QCOMPARE(form.LabelTur->text(), QStringLiteral("Aktif Vokaboleriniz (2)"));
    QCOMPARE(lineTexts(form), (QStringList{"Apple || elma", "banana || muz"}));
    // The first line is current and knows its record.
    QCOMPARE(form.currentLine(), 0);
    QCOMPARE(form.lineRecord(0), 1);
    QCOMPARE(form.lineRecord(1), 2);
    QVERIFY(form.TimerSor->isActive());
    QVERIFY(form.Form_Unload());
    QVERIFY(!form.TimerSor->isActive());
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
    FreshProgram program;
    FormVokabo form(commandLine);
    QVERIFY(form.Form_Load());
    QTEST(form.startedHidden(), "hidden");
    form.Form_Unload();
}

void TestFormVokabo::secondCopyIsRefusedAndStoresNothing() {
    FreshProgram program;
    ScriptedMsgBox box;
    FormVokabo first("");
    QVERIFY(first.Form_Load());
    {
        FormVokabo second("");
        QVERIFY(!second.Form_Load());
        QVERIFY(second.hasEnded());
    }
    QCOMPARE(box.asked().size(), 1);
    QCOMPARE(box.asked()[0].prompt, QStringLiteral("Programın bir kopyası zaten çalışıyor !"));
    QCOMPARE(box.asked()[0].title, QStringLiteral("Vokabo Retano"));
    QCOMPARE(box.asked()[0].style, MsgBoxStyle::OkOnly | MsgBoxStyle::Exclamation);
    QCOMPARE(stored(Settings::SonXYName), QString());
    QCOMPARE(stored(Settings::SonBoyName), QString());
    // The first copy goes on with its words.
    QVERIFY(first.TimerSor->isActive());
    QCOMPARE(first.lineCount(), 5);
    QVERIFY(first.Form_Unload());
    // Once it has ended, a new copy may start.
    FormVokabo third("");
    QVERIFY(third.Form_Load());
    third.Form_Unload();
}

void TestFormVokabo::escAndRestore() {
    FreshProgram program;
    FormVokabo form("");
    QVERIFY(form.Form_Load());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.List1->setFocus();
    QTest::keyClick(form.List1, Qt::Key_Escape);
    QVERIFY(!form.isVisible());
    QVERIFY(form.minimisedToTray());
    QVERIFY(form.TimerSor->isActive());

    form.mnu_Ac_Click();
    QVERIFY(form.isVisible());
    QVERIFY(!form.minimisedToTray());

    // Other keys are the controls' own.
    QTest::keyClick(form.List1, Qt::Key_Down);
    QVERIFY(form.isVisible());
    QCOMPARE(form.currentLine(), 1);

    // Minimising hides the window the same way; closing it then keeps the
    // stored placement.
    form.setWindowState(Qt::WindowMinimized);
    QVERIFY(!form.isVisible());
    QVERIFY(form.minimisedToTray());
    QVERIFY(form.Form_Unload());
    QCOMPARE(stored(Settings::SonXYName), QString());
}

void TestFormVokabo::storedFrameComesBackWhole() {
    FreshProgram program;
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
        FormVokabo form("");
        QVERIFY(form.Form_Load());
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
    const QPoint designedPlace = FormVokabo("").pos();
    const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
    const QString at90x60 = Settings::packPair(60 * 15, 90 * 15);
    const QPoint there(90, 60);
    auto size = [](int width, int height) { return Settings::packPair(height * 15, width * 15); };
    QTest::newRow("usable") << at90x60 << size(380, 320) << there << QSize(380, 320);
    QTest::newRow("smallest usable") << at90x60 << size(120, 100) << there << QSize(120, 100);
    QTest::newRow("too narrow") << at90x60 << size(119, 100) << there << QSize();
    QTest::newRow("too low") << at90x60 << size(120, 99) << there << QSize();
    QTest::newRow("-1") << at90x60 << "-1" << there << QSize();
    QTest::newRow("0") << at90x60 << "0" << there << QSize();
    QTest::newRow("no width") << at90x60 << "65536000" << there << QSize();
    QTest::newRow("not a number") << at90x60 << "x" << there << QSize();
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
    FreshProgram program;
    Settings::writeStored(Settings::SonXYName, SonXY);
    Settings::writeStored(Settings::SonBoyName, SonBoy);
    FormVokabo form("");
    QVERIFY(form.Form_Load());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTRY_COMPARE(form.frameGeometry().topLeft(), place);
    if (size.isValid())
        QTRY_COMPARE(form.frameGeometry().size(), size);
    else
        QCOMPARE(form.size(), QSize(360, 394));
    form.Form_Unload();
}

void TestFormVokabo::wordFileIsWrittenOnlyWhenSomethingChanged() {
    FreshProgram program;
    {
        FormVokabo form("");
        QVERIFY(form.Form_Load());
        QVERIFY(form.Form_Unload());
        QVERIFY(!QFile::exists(program.wordFile()));
    }
    ModVokabo::resetState();
    ModVokabo::setWordFilePath(program.wordFile());
    FormVokabo form("");
    QVERIFY(form.Form_Load());
    ModVokabo::MoveToPassive(1);
    QVERIFY(form.Form_Unload());
    const QString bytes = QStringDecoder("windows-1254")(program.readWordFile());
    QVERIFY(bytes.endsWith("student loan|ögrenci  bursu kredisi|John's student loan payments "
                           "are in arrears|0|P\r\n"));
    QCOMPARE(bytes.count("\r\n"), 5);
}

void TestFormVokabo::failedSaveAtExitOffersRetryAndKeepsTheWords() {
    FreshProgram program;
    const QString folder = QDir(program.dir()).filePath("later");
    const QString path = QDir(folder).filePath("vokabo.txt");
    ModVokabo::setWordFilePath(path);
    ScriptedMsgBox box;
    FormVokabo form("");
    QVERIFY(form.Form_Load());
    ModVokabo::AppendWord("kept", "saklı", "", 0, "A");
    ModVokabo::WordsChanged = true;

    // Retry fails again; "Vazgeç" keeps the program running.
    box.answer({MsgBoxResult::Retry, MsgBoxResult::Abort});
    QVERIFY(!form.Form_Unload());
    QCOMPARE(box.asked().size(), 2);
    QVERIFY(box.asked()[0].prompt.contains(path));
    QCOMPARE(box.asked()[0].style & MsgBoxStyle::IconMask, int(MsgBoxStyle::Critical));
    QVERIFY(!form.hasEnded());
    QVERIFY(form.isVisible());
    QVERIFY(form.TimerSor->isActive());
    QVERIFY(ModVokabo::WordsChanged);

    // Once the folder is there, leaving saves the words.
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(form.Form_Unload());
    QVERIFY(form.hasEnded());
    QVERIFY(QFile(path).size() > 0);
    QCOMPARE(box.asked().size(), 2);
}

void TestFormVokabo::schedulerOpensAQuestionAndPausesWhileItIsOpen() {
    FreshProgram program;
    QDateTime now(QDate(2026, 12, 6), QTime(8, 0));
    setClock([&now] { return now; });
    FormVokabo form("-o");
    QVERIFY(form.Form_Load());
    QCOMPARE(Settings::SorDak, 5);

    // Due at the first tick after start-up.
    form.TimerSor_Timer();
    QPointer<FormSoru> question = form.questionWindow();
    QVERIFY(question);
    QVERIFY(!form.TimerSor->isActive());
    QVERIFY(!form.mnu_VokaboSor->isEnabled());
    QCOMPARE(question->windowTitle(), QStringLiteral("Yeni ya da bilemediğiniz vokabo !"));

    // Closed without an answer: the series is over, the next question waits
    // for the period.
    question->close();
    QTRY_VERIFY(!question);
    QVERIFY(form.TimerSor->isActive());
    QVERIFY(form.mnu_VokaboSor->isEnabled());
    QCOMPARE(form.SonSoru, now);
    now = now.addSecs(300);
    form.TimerSor_Timer();
    QVERIFY(!form.questionWindow());
    now = now.addSecs(1);
    form.TimerSor_Timer();
    QVERIFY(form.questionWindow());
    form.Form_Unload();
    QTRY_VERIFY(!form.questionWindow());
    QVERIFY(!form.TimerSor->isActive());
}

void TestFormVokabo::questionWaitsForEnoughActiveWords() {
    FreshProgram program;
    program.writeWordFile("a|1||0|A\r\nb|2||0|A\r\nc|3||0|A\r\nd|4||0|P\r\n");
    FormVokabo form("-o");
    QVERIFY(form.Form_Load());
    form.TimerSor_Timer();
    QVERIFY(!form.questionWindow());
    QVERIFY(form.TimerSor->isActive());
    form.TimerSor_Timer();
    QVERIFY(!form.questionWindow());
    // A fourth active word: the pending question opens at the next tick.
    ModVokabo::MoveToActive(1);
    form.TimerSor_Timer();
    QVERIFY(form.questionWindow());
    form.Form_Unload();
}

void TestFormVokabo::askNowWorksWhenScheduledQuestionsAreOff() {
    FreshProgram program;
    Settings::writeStored(Settings::SorDakSetting.name, "0");
    FormVokabo form("-o");
    QVERIFY(form.Form_Load());
    form.TimerSor_Timer();
    QVERIFY(!form.questionWindow());
    form.mnu_VokaboSor->trigger();
    QVERIFY(Quiz::ElleSor);
    QVERIFY(form.TimerSor->isActive());
    form.TimerSor_Timer();
    QPointer<FormSoru> question = form.questionWindow();
    QVERIFY(question);
    // A question that is not answered right ends the request.
    question->close();
    QTRY_VERIFY(!question);
    QVERIFY(!Quiz::ElleSor);
    form.TimerSor_Timer();
    QVERIFY(!form.questionWindow());
    form.Form_Unload();
}

void TestFormVokabo::shutDownWaitsForOpenDialogs() {
    FreshProgram program;
    FormVokabo form("-o");
    QVERIFY(form.Form_Load());
    form.TimerSor_Timer();
    QPointer<FormSoru> question = form.questionWindow();
    QVERIFY(question);
    ModVokabo::WordsChanged = true;
    // The end comes while a message box of the question window is open, as
    // when the user looks at the example sentence at log-out.
    QTimer::singleShot(0, &form, &FormVokabo::requestShutdown);
    const MsgBoxResult answer =
        showQtMessageBox(question, QStringLiteral("An example."), MsgBoxStyle::OkOnly,
                         QStringLiteral("Örnek Cümle"));
    QCOMPARE(answer, MsgBoxResult::Ok);
    // The box was closed for the shut-down, which waited for its loop.
    QVERIFY(question);
    QVERIFY(!form.hasEnded());
    QTRY_VERIFY(form.hasEnded());
    QTRY_VERIFY(!question);
    QVERIFY(QFile::exists(program.wordFile()));
}

// The window reports a word file it cannot read; at exit it offers only what
// can work, since that file is never written.
void TestFormVokabo::unreadableWordFileIsReportedAndExitOffersNoRetry() {
    FreshProgram program;
    QVERIFY(QDir().mkpath(program.wordFile()));
    ScriptedMsgBox box;
    FormVokabo form("");
    QVERIFY(form.Form_Load());
    QCOMPARE(box.asked().size(), 1);
    QVERIFY(box.asked()[0].prompt.startsWith(QStringLiteral("Vokabo dosyası okunamadı:")));
    QVERIFY(box.asked()[0].prompt.contains(program.wordFile()));
    QCOMPARE(box.asked()[0].style, MsgBoxStyle::OkOnly | MsgBoxStyle::Critical);
    QCOMPARE(form.lineCount(), 0);

    ModVokabo::AppendWord("new", "yeni", "", 0, "A");
    ModVokabo::WordsChanged = true;
    box.answer({MsgBoxResult::No, MsgBoxResult::Yes});
    QVERIFY(!form.Form_Unload());
    QCOMPARE(box.asked().size(), 2);
    const ScriptedMsgBox::Asked& exit = box.asked()[1];
    QCOMPARE(exit.style & MsgBoxStyle::ButtonMask, int(MsgBoxStyle::YesNo));
    QVERIFY(!exit.prompt.contains(QStringLiteral("Tekrar Dene")));
    QVERIFY(form.TimerSor->isActive());
    QVERIFY(form.Form_Unload());
    QCOMPARE(box.asked().size(), 3);
    QVERIFY(form.hasEnded());
    QVERIFY(QFileInfo(program.wordFile()).isDir());
}

QTEST_MAIN(TestFormVokabo)
#include "tst_formvokabo.moc"
