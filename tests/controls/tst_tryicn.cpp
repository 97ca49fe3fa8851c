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
    QTest::newRow("host's click") << true << Reason::Trigger << Reason::DoubleClick;
    QTest::newRow("host's menu") << true << Reason::Context << Reason::Context;
}

void TestTryIcn::theHostGetsTheIconAndTheOwnerTheClicks() {
    QFETCH(bool, hostDrawsMenu);
    QFETCH(Reason, reported);
    QMenu menu;
    TryIcn control(nullptr, NotifyIcon::createTrayLayer(hostDrawsMenu));
    control.setIcon(qApp->style()->standardIcon(QStyle::SP_FileIcon));
    control.setHostMenu(&menu);
    const QString tip63(63, u'ş');
    control.setToolTip(tip63 + "xyz");
    control.Start();
    auto* icon = control.findChild<QSystemTrayIcon*>();
    QVERIFY(icon && icon->isVisible() && !icon->icon().isNull());
    QCOMPARE(icon->toolTip(), tip63);
    // Only a host that draws the menu gets it; elsewhere the owner opens it.
    QCOMPARE(icon->contextMenu(), hostDrawsMenu ? &menu : nullptr);

    QSignalSpy raised(&control, &TryIcn::activated);
    emit icon->activated(reported);
    QCOMPARE(raised.size(), 1);
    QTEST(raised[0][0].value<Reason>(), "raised");
    control.Remove();
    QVERIFY(!control.findChild<QSystemTrayIcon*>());
}

QTEST_MAIN(TestTryIcn)
#include "tst_tryicn.moc"
