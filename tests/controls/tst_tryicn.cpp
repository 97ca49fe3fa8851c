#include "controls/TryIcn.h"
#include "platform/NotifyIconTray.h"

#include <QApplication>
#include <QMenu>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>

using Reason = QSystemTrayIcon::ActivationReason;

// The control over the real tray layer: what a tray host is given is the
// QSystemTrayIcon among the control's children.
class TestTryIcn : public QObject {
    Q_OBJECT
private slots:
    void theHostGetsTheIconAndTheOwnerTheClicks_data();
    void theHostGetsTheIconAndTheOwnerTheClicks();
};

void TestTryIcn::theHostGetsTheIconAndTheOwnerTheClicks_data() {
    QTest::addColumn<bool>("hostDrawsMenu");
    QTest::addColumn<Reason>("reported");
    QTest::addColumn<Reason>("raised");
    // A tray that embeds the icon reports presses and double-clicks as they
    // come; a StatusNotifierItem host only clicks, and its click opens.
    QTest::newRow("left press") << false << Reason::Trigger << Reason::Trigger;
    QTest::newRow("right press") << false << Reason::Context << Reason::Context;
    QTest::newRow("host's click") << true << Reason::Trigger << Reason::DoubleClick;
    QTest::newRow("host's menu") << true << Reason::Context << Reason::Context;
}

void TestTryIcn::theHostGetsTheIconAndTheOwnerTheClicks() {
    QFETCH(bool, hostDrawsMenu);
    QFETCH(Reason, reported);
    QMenu menu;
    TryIcn control(nullptr, NotifyIcon::createTrayLayer(hostDrawsMenu));
    const auto inTray = [&control] { return control.findChild<QSystemTrayIcon*>(); };
    control.setIcon(qApp->style()->standardIcon(QStyle::SP_FileIcon));
    control.setHostMenu(&menu);
    const QString tip63(63, u'ş');
    control.setToolTip(tip63 + "xyz");
    control.Modify(); // nothing to change before Start
    QVERIFY(!inTray());
    control.Start();
    QVERIFY(inTray() && inTray()->isVisible() && !inTray()->icon().isNull());
    QCOMPARE(inTray()->toolTip(), tip63);
    // Only a host that draws the menu gets it; elsewhere the owner opens it.
    QCOMPARE(inTray()->contextMenu(), hostDrawsMenu ? &menu : nullptr);

    QSignalSpy raised(&control, &TryIcn::activated);
    emit inTray()->activated(reported);
    QCOMPARE(raised.size(), 1);
    QTEST(raised[0][0].value<Reason>(), "raised");

    // A new tooltip shows only with Modify; Remove takes the icon away.
    control.setToolTip("new");
    QCOMPARE(inTray()->toolTip(), tip63);
    control.Modify();
    QCOMPARE(inTray()->toolTip(), QStringLiteral("new"));
    control.Remove();
    QVERIFY(!inTray());
}

QTEST_MAIN(TestTryIcn)
#include "tst_tryicn.moc"
