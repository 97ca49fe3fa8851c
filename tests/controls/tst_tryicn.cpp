#include "controls/TryIcn.h"
#include "platform/NotifyIconTray.h"

#include <QTest>

using namespace NotifyIcon;

namespace {
// Stands in for the shell: keeps every message with a copy of its record.
class FakeShell : public Layer {
public:
    struct Call {
        int message;
        Data data;
    };
    explicit FakeShell(QList<Call>* calls) : calls_(calls) {}
    bool Shell_NotifyIcon(int message, const Data& data) override {
        calls_->append({message, data});
        return true;
    }

private:
    QList<Call>* calls_;
};
} // namespace

class TestTryIcn : public QObject {
    Q_OBJECT
private slots:
    void iconComesAndGoesWithTheControl();
    void tooltipIsCutToLeaveRoomForItsTerminator();
    void activationsReachTheOwner_data();
    void activationsReachTheOwner();

private:
    QList<FakeShell::Call> calls;
    std::unique_ptr<TryIcn> make() {
        calls.clear();
        return std::make_unique<TryIcn>(nullptr, std::make_unique<FakeShell>(&calls));
    }
};

void TestTryIcn::iconComesAndGoesWithTheControl() {
    auto icon = make();
    // Before Start there is no icon to change or remove.
    icon->Modify();
    icon->Remove();
    for (const FakeShell::Call& call : calls)
        QCOMPARE(call.data.cbSize, 0u);

    icon->setToolTip("old");
    icon->Start();
    QCOMPARE(calls.last().message, NIM_ADD);
    QVERIFY(calls.last().data.cbSize != 0);
    // A new tooltip shows only with Modify.
    icon->setToolTip("new");
    QCOMPARE(icon->record().szTip, QStringLiteral("old"));
    icon->Modify();
    QCOMPARE(calls.last().message, NIM_MODIFY);
    QCOMPARE(calls.last().data.szTip, QStringLiteral("new"));
    // The icon never outlives its control.
    icon.reset();
    QCOMPARE(calls.last().message, NIM_DELETE);
    QCOMPARE(calls.last().data.uID, calls[2].data.uID);
}

void TestTryIcn::tooltipIsCutToLeaveRoomForItsTerminator() {
    const QString tip63(63, u'ş');
    auto icon = make();
    icon->setToolTip(tip63);
    icon->Start();
    QCOMPARE(calls.last().data.szTip, tip63);
    icon->setToolTip(tip63 + "xyz");
    icon->Modify();
    QCOMPARE(calls.last().data.szTip, tip63);
}

void TestTryIcn::activationsReachTheOwner_data() {
    QTest::addColumn<int>("reason");
    QTest::addColumn<bool>("hostDrawsMenu");
    QTest::addColumn<QString>("raised");
    using R = QSystemTrayIcon::ActivationReason;
    // A tray that embeds the icon reports presses and double-clicks...
    QTest::newRow("left press") << int(R::Trigger) << false << "MouseDown1";
    QTest::newRow("double-click") << int(R::DoubleClick) << false << "DblClick1";
    QTest::newRow("right press") << int(R::Context) << false << "MouseDown2";
    QTest::newRow("middle press") << int(R::MiddleClick) << false << "";
    // ...a StatusNotifierItem host only clicks: the click stands for both.
    QTest::newRow("host's click") << int(R::Trigger) << true << "MouseDown1 DblClick1";
    QTest::newRow("host's menu") << int(R::Context) << true << "MouseDown2";
}

void TestTryIcn::activationsReachTheOwner() {
    QFETCH(int, reason);
    QFETCH(bool, hostDrawsMenu);
    auto icon = make();
    QStringList raised;
    connect(icon.get(), &TryIcn::MouseDown,
            [&](int button) { raised << QStringLiteral("MouseDown%1").arg(button); });
    connect(icon.get(), &TryIcn::DblClick,
            [&](int button) { raised << QStringLiteral("DblClick%1").arg(button); });
    icon->Start();
    for (int message :
         messagesFor(static_cast<QSystemTrayIcon::ActivationReason>(reason), hostDrawsMenu))
        if (message)
            icon->record().hWnd(message);
    QTEST(raised.join(u' '), "raised");
}

QTEST_MAIN(TestTryIcn)
#include "tst_tryicn.moc"
