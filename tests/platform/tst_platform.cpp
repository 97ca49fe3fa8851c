#include "platform/SessionPlatform.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class TestPlatform : public QObject {
    Q_OBJECT
private slots:
    void waylandSessionsRunOnXWayland_data();
    void waylandSessionsRunOnXWayland();
    void onlyWaylandLosesWindowPlaces_data();
    void onlyWaylandLosesWindowPlaces();
    void relativeXdgFoldersAreIgnored();
};

void TestPlatform::waylandSessionsRunOnXWayland_data() {
    // Each row: the session's variables as NAME=value (empty values too),
    // and the platform the program asks Qt for ("": Qt's own choice).
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<QByteArray>("platform");
    QTest::newRow("wayland display and X display")
        << QStringList{"WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0"} << QByteArray("xcb");
    QTest::newRow("session type only, as GNOME sets it")
        << QStringList{"XDG_SESSION_TYPE=wayland", "DISPLAY=:1"} << QByteArray("xcb");
    QTest::newRow("no XWayland") << QStringList{"WAYLAND_DISPLAY=wayland-0",
                                                "XDG_SESSION_TYPE=wayland"}
                                 << QByteArray();
    QTest::newRow("empty DISPLAY is no X display")
        << QStringList{"WAYLAND_DISPLAY=wayland-0", "DISPLAY="} << QByteArray();
    QTest::newRow("user chose wayland")
        << QStringList{"WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0", "QT_QPA_PLATFORM=wayland"}
        << QByteArray();
    QTest::newRow("user chose a list of platforms")
        << QStringList{"XDG_SESSION_TYPE=wayland", "DISPLAY=:0", "QT_QPA_PLATFORM=wayland;xcb"}
        << QByteArray();
    QTest::newRow("empty QT_QPA_PLATFORM is no choice")
        << QStringList{"WAYLAND_DISPLAY=wayland-0", "DISPLAY=:0", "QT_QPA_PLATFORM="}
        << QByteArray("xcb");
    QTest::newRow("X11 session") << QStringList{"XDG_SESSION_TYPE=x11", "DISPLAY=:0"}
                                 << QByteArray();
    QTest::newRow("tty session with a display")
        << QStringList{"XDG_SESSION_TYPE=tty", "DISPLAY=:0"} << QByteArray();
    QTest::newRow("nothing") << QStringList{} << QByteArray();
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

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
