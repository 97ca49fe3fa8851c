#include "platform/ClockJumps.h"
#include "platform/SessionPlatform.h"
#include "platform/SingleInstance.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_LINUX
#include <unistd.h>
#endif

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    void waylandSessionsRunOnXWayland_data();
    void waylandSessionsRunOnXWayland();
    void onlyWaylandLosesWindowPlaces_data();
    void onlyWaylandLosesWindowPlaces();
    void relativeXdgFoldersAreIgnored();
    void locksWithoutARunningCopy_data();
    void locksWithoutARunningCopy();
    void clockJumpTimerNeverFires();
};

void TestPlatform::waylandSessionsRunOnXWayland_data() {
    // Each row: the session's variables as NAME=value (empty values too),
    // and the platform the program asks Qt for ("": Qt's own choice).
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<QByteArray>("platform");
    const auto row = [](const char* name, const char* variables, const char* platform) {
        QTest::newRow(name) << QString::fromLatin1(variables).split(u' ', Qt::SkipEmptyParts)
                            << QByteArray(platform);
    };
    row("wayland display and X display", "WAYLAND_DISPLAY=wayland-0 DISPLAY=:0", "xcb");
    row("session type only, as GNOME sets it", "XDG_SESSION_TYPE=wayland DISPLAY=:1", "xcb");
    row("no XWayland", "WAYLAND_DISPLAY=wayland-0 XDG_SESSION_TYPE=wayland", "");
    row("empty DISPLAY is no X display", "WAYLAND_DISPLAY=wayland-0 DISPLAY=", "");
    row("user chose wayland", "WAYLAND_DISPLAY=wayland-0 DISPLAY=:0 QT_QPA_PLATFORM=wayland", "");
    row("user chose a list of platforms",
        "XDG_SESSION_TYPE=wayland DISPLAY=:0 QT_QPA_PLATFORM=wayland;xcb", "");
    row("empty QT_QPA_PLATFORM is no choice",
        "WAYLAND_DISPLAY=wayland-0 DISPLAY=:0 QT_QPA_PLATFORM=", "xcb");
    row("X11 session", "XDG_SESSION_TYPE=x11 DISPLAY=:0", "");
    row("tty session with a display", "XDG_SESSION_TYPE=tty DISPLAY=:0", "");
    row("nothing", "", "");
}

void TestPlatform::waylandSessionsRunOnXWayland() {
    QFETCH(QStringList, environment);
    QProcessEnvironment env;
    for (const QString& pair : environment)
        env.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
    QTEST(preferredQtPlatform(env), "platform");
}

void TestPlatform::onlyWaylandLosesWindowPlaces_data() {
    QTest::addColumn<QString>("platform");
    QTest::addColumn<bool>("places");
    QTest::newRow("xcb") << "xcb" << true;
    QTest::newRow("offscreen") << "offscreen" << true;
    QTest::newRow("windows") << "windows" << true;
    QTest::newRow("wayland") << "wayland" << false;
    QTest::newRow("wayland-egl") << "wayland-egl" << false;
}

void TestPlatform::onlyWaylandLosesWindowPlaces() {
    QFETCH(QString, platform);
    QTEST(platformPlacesWindows(platform), "places");
}

void TestPlatform::relativeXdgFoldersAreIgnored() {
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", "relative/config");
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath("data")));
    ignoreRelativeXdgFolders();
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    qputenv("HOME", oldHome);
    qunsetenv("XDG_DATA_HOME");
    QCOMPARE(config, home.filePath(".config"));
    QCOMPARE(data, home.filePath("data"));
}

// A lock no running copy holds is taken over, whoever made it; a folder of
// that name is no lock; another computer's lock is left to the user; a
// running copy of another login is named.
void TestPlatform::locksWithoutARunningCopy_data() {
    QTest::addColumn<QByteArray>("content"); // null: a folder in the lock's place
    QTest::addColumn<bool>("running");       // this process holds the lock
    QTest::addColumn<bool>("otherLogin");    // another user tries to take it
    QTest::addColumn<int>("outcome");
    const int acquired = int(SingleInstance::Outcome::Acquired);
    const QByteArray gone = "99999999\nvokabo\n" + QSysInfo::machineHostName().toUtf8() + "\n";
    QTest::newRow("garbage") << QByteArray("garbage\n") << false << false << acquired;
    QTest::newRow("empty") << QByteArray("") << false << false << acquired;
    QTest::newRow("a copy that is gone") << gone << false << false << acquired;
    QTest::newRow("a folder in its place") << QByteArray() << false << false << acquired;
    QTest::newRow("another login's copy that is gone") << gone << false << true << acquired;
    QTest::newRow("another login's garbage") << QByteArray("x") << false << true << acquired;
    QTest::newRow("another login's copy that runs")
        << QByteArray() << true << true << int(SingleInstance::Outcome::HeldByAnotherCopy);
    QTest::newRow("another computer's") << QByteArray("4242\nvokabo\nuzak-makine\n") << false
                                        << false << int(SingleInstance::Outcome::HeldElsewhere);
}

void TestPlatform::locksWithoutARunningCopy() {
    QFETCH(QByteArray, content);
    QFETCH(bool, running);
    QFETCH(bool, otherLogin);
    QFETCH(int, outcome);
    QTemporaryDir dir;
    const QString words = dir.filePath("vokabo.txt");
    const QString runtime = dir.filePath("run");
    QVERIFY(QDir().mkpath(runtime));
    SingleInstance first(words, runtime);
    if (running) {
        QCOMPARE(first.tryAcquire(), SingleInstance::Outcome::Acquired);
    } else if (content.isNull()) {
        QVERIFY(QDir().mkpath(words + ".lock"));
    } else {
        QFile lock(words + ".lock");
        QVERIFY(lock.open(QIODevice::WriteOnly) && lock.write(content) == content.size() &&
                lock.flush());
        // Made a while ago, not by a copy starting this moment.
        QVERIFY(lock.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                                 QFileDevice::FileModificationTime));
    }
    if (!otherLogin) {
        SingleInstance copy(words, runtime);
        QCOMPARE(int(copy.tryAcquire()), outcome);
        if (!content.isNull() && content.contains("uzak"))
            QCOMPARE(copy.holder().host, QStringLiteral("uzak-makine"));
        return;
    }
#ifdef Q_OS_LINUX
    // Root makes the lock, and becomes nobody to meet it.
    if (::geteuid() != 0)
        QSKIP("another login is played by root becoming another user");
    for (const QString& folder : {dir.path(), runtime})
        QVERIFY(QFile::setPermissions(folder, QFileDevice::Permissions(0x7777)));
    QProcess taker;
    taker.setChildProcessModifier([] {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(3);
    });
    taker.start(QStringLiteral(LOCK_TAKER), {words, runtime});
    QVERIFY(taker.waitForFinished() && taker.exitCode() == 0);
    const QList<QByteArray> said = taker.readAllStandardOutput().trimmed().split(' ');
    QCOMPARE(said.value(0).toInt(), outcome);
    // The refused login hears whose copy runs.
    if (running)
        QCOMPARE(said.mid(1), (QList<QByteArray>{"root", "1"}));
#endif
}

// The timer that tells of clock jumps is set past any date the clock will
// show: it never fires by itself.
void TestPlatform::clockJumpTimerNeverFires() {
#ifndef Q_OS_LINUX
    QSKIP("reads the timer from /proc");
#else
    ClockJumps jumps;
    qint64 seconds = 0;
    for (const QFileInfo& fd :
         QDir(QStringLiteral("/proc/self/fdinfo")).entryInfoList(QDir::Files)) {
        QFile info(fd.filePath());
        if (!info.open(QIODevice::ReadOnly))
            continue;
        const QByteArray text = info.readAll();
        if (const qsizetype at = text.indexOf("it_value: (");
            text.contains("clockid: 0") && at >= 0)
            seconds = text.mid(at + 11).split(',').value(0).toLongLong();
    }
    QVERIFY(seconds > QDateTime::currentDateTime().secsTo(QDateTime(QDate(2200, 1, 1), {})));
#endif
}

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
