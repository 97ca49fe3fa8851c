#include "controls/TryIcn.h"

#include <QApplication>
#include <QSignalSpy>
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
    QList<Call>* calls;
    explicit FakeShell(QList<Call>* c) : calls(c) {}
    bool Shell_NotifyIcon(int message, const Data& data) override {
        calls->append({message, data});
        return true;
    }
};
} // namespace

class TestTryIcn : public QObject {
    Q_OBJECT
private slots:
    void startFillsTheRecord();
    void modifyRefreshesIconAndTipOnly();
    void tooltipIsCutToLeaveRoomForItsTerminator();
    void modifyAndRemoveBeforeStartAffectNoIcon();
    void destroyingTheControlRemovesTheIcon();
    void dispatchTable_data();
    void dispatchTable();
    void doubleClickArrivesInTheShellsOrder();

private:
    QList<FakeShell::Call> calls;
    std::unique_ptr<TryIcn> make() {
        calls.clear();
        return std::make_unique<TryIcn>(nullptr, std::make_unique<FakeShell>(&calls));
    }
    static QString events(TryIcn& icon, const QList<int>& messages);
};

void TestTryIcn::startFillsTheRecord() {
    auto icon = make();
    QPixmap red(16, 16);
    red.fill(Qt::red);
    icon->setIcon(QIcon(red));
    icon->setToolTip("Vokabo Retano");
    icon->Start();
    QCOMPARE(calls.size(), 1);
    const FakeShell::Call& add = calls[0];
    QCOMPARE(add.message, NIM_ADD);
    QCOMPARE(add.data.cbSize, 88u);
    QCOMPARE(add.data.uID, 1u);
    QCOMPARE(add.data.uFlags, 7u);
    QCOMPARE(add.data.uCallbackMessage, 512u);
    QCOMPARE(add.data.szTip, QStringLiteral("Vokabo Retano"));
    QVERIFY(!add.data.hIcon.isNull());
    QVERIFY(add.data.hWnd);
}

void TestTryIcn::modifyRefreshesIconAndTipOnly() {
    auto icon = make();
    icon->setToolTip("old");
    icon->Start();
    icon->setToolTip("new");
    // Not shown until Modify.
    QCOMPARE(icon->record().szTip, QStringLiteral("old"));
    icon->Modify();
    QCOMPARE(calls.size(), 2);
    QCOMPARE(calls[1].message, NIM_MODIFY);
    QCOMPARE(calls[1].data.szTip, QStringLiteral("new"));
    QCOMPARE(calls[1].data.uID, 1u);
    QCOMPARE(calls[1].data.uFlags, 7u);
    icon->Remove();
    QCOMPARE(calls[2].message, NIM_DELETE);
    QCOMPARE(calls[2].data.szTip, QStringLiteral("new"));
}

void TestTryIcn::tooltipIsCutToLeaveRoomForItsTerminator() {
    const QString tip63(63, u'ş');
    QCOMPARE(TryIcn::tipField(tip63), tip63);
    QCOMPARE(TryIcn::tipField(tip63 + "xyz"), tip63);
    auto icon = make();
    icon->setToolTip(QString(64, u'a'));
    icon->Start();
    QCOMPARE(calls[0].data.szTip.size(), 63);
}

void TestTryIcn::modifyAndRemoveBeforeStartAffectNoIcon() {
    auto icon = make();
    icon->Modify();
    icon->Remove();
    QCOMPARE(calls.size(), 2);
    for (const FakeShell::Call& call : calls) {
        QCOMPARE(call.data.cbSize, 0u);
        QCOMPARE(call.data.uID, 0u);
    }
}

void TestTryIcn::destroyingTheControlRemovesTheIcon() {
    auto icon = make();
    icon->Start();
    icon.reset();
    QCOMPARE(calls.last().message, NIM_DELETE);
    QCOMPARE(calls.last().data.uID, 1u);
}

QString TestTryIcn::events(TryIcn& icon, const QList<int>& messages) {
    QStringList seen;
    connect(&icon, &TryIcn::MouseDown, &icon,
            [&](int b, int, double, double) { seen << QStringLiteral("MouseDown%1").arg(b); });
    connect(&icon, &TryIcn::Click, &icon,
            [&](int b, int, double, double) { seen << QStringLiteral("Click%1").arg(b); });
    connect(&icon, &TryIcn::DblClick, &icon,
            [&](int b, int, double, double) { seen << QStringLiteral("DblClick%1").arg(b); });
    connect(&icon, &TryIcn::MouseMove, &icon, [&](double, double) { seen << "MouseMove"; });
    icon.Start();
    const auto deliver = icon.record().hWnd;
    for (int message : messages)
        deliver(message);
    icon.disconnect();
    return seen.join(u' ');
}

void TestTryIcn::dispatchTable_data() {
    QTest::addColumn<int>("message");
    QTest::addColumn<QString>("raised");
    QTest::newRow("move") << 512 << "MouseMove";
    QTest::newRow("left down") << 513 << "MouseDown1";
    QTest::newRow("left up") << 514 << "Click1";
    QTest::newRow("left double") << 515 << "DblClick1";
    QTest::newRow("right down") << 516 << "MouseDown2";
    QTest::newRow("right up") << 517 << "Click2";
    QTest::newRow("right double") << 518 << "DblClick2";
    QTest::newRow("middle down") << 519 << "";
    QTest::newRow("balloon") << 1026 << "";
    QTest::newRow("zero") << 0 << "";
}

void TestTryIcn::dispatchTable() {
    QFETCH(int, message);
    auto icon = make();
    QTEST(events(*icon, {message}), "raised");
}

void TestTryIcn::doubleClickArrivesInTheShellsOrder() {
    auto icon = make();
    QCOMPARE(events(*icon, {513, 514, 515, 514}),
             QStringLiteral("MouseDown1 Click1 DblClick1 Click1"));
    auto other = make();
    QCOMPARE(events(*other, {516, 517}), QStringLiteral("MouseDown2 Click2"));
}

QTEST_MAIN(TestTryIcn)
#include "tst_tryicn.moc"
