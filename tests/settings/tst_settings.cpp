#include "platform/RegistryStore.h"
#include "settings/ModRegistry.h"
#include "settings/Placement.h"
#include "settings/Settings.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QTest>

using namespace ModRegistry;

namespace {
const RegRoot HKLM = RegRoot::HKEY_LOCAL_MACHINE;

void store(const char* name, const QString& text) {
    Settings::writeStored(name, text);
}
} // namespace

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void registryValuesRoundTripThroughTheStore();
    void missingKeyGivesDefaultMissingValueGivesEmpty();
    void valueTypes();
    void freshStoreGivesDefaults();
    void readingRules_data();
    void readingRules();
    void outOfRangeAndNonNumbersFallBack_data();
    void outOfRangeAndNonNumbersFallBack();
    void storingKeepsTheFormatAndTheRange();
    void placementPacking();
    void placementOffEveryScreen_data();
    void placementOffEveryScreen();
};

void TestSettings::registryValuesRoundTripThroughTheStore() {
    FreshProgram program;
    WriteRegValue(HKLM, VokaboKey, "SorDak", REG_SZ, 17);
    WriteRegValue(HKLM, VokaboKey, "name", REG_SZ, QStringLiteral("Çalışkan öğrenci"));
    QCOMPARE(ReadRegValue(HKLM, VokaboKey, "SorDak"), QStringLiteral("17"));
    QCOMPARE(ReadRegValue(HKLM, VokaboKey, "name"), QStringLiteral("Çalışkan öğrenci"));
    // Each write reaches the file at once.
    QVERIFY(QFile::exists(registryStoreLocation()));
    QVERIFY(registryStoreLocation().startsWith(program.dir()));
    // Another key keeps its own values.
    QCOMPARE(ReadRegValue(HKLM, "SOFTWARE\\Other", "SorDak", "none"), QStringLiteral("none"));
}

void TestSettings::missingKeyGivesDefaultMissingValueGivesEmpty() {
    FreshProgram program;
    QCOMPARE(ReadRegValue(HKLM, VokaboKey, "SorDak", "default"), QStringLiteral("default"));
    WriteRegValue(HKLM, VokaboKey, "enaz", REG_SZ, 3);
    QCOMPARE(ReadRegValue(HKLM, VokaboKey, "SorDak", "default"), QString());
}

void TestSettings::valueTypes() {
    FreshProgram program;
    WriteRegValue(HKLM, VokaboKey, "nul", REG_SZ, QString::fromLatin1("ab\0cd", 5));
    QCOMPARE(ReadRegValue(HKLM, VokaboKey, "nul"), QStringLiteral("ab"));

    WriteRegValue(HKLM, VokaboKey, "byte", REG_BINARY, 0xFE);
    QCOMPARE(ReadRegValue(HKLM, VokaboKey, "byte"), QStringLiteral("ş"));

    WriteRegValue(HKLM, VokaboKey, "dword", REG_DWORD, 0x00434241);
    QCOMPARE(ReadRegValue(HKLM, VokaboKey, "dword"), QString::fromLatin1("ABC\0", 4));

    WriteRegValue(HKLM, VokaboKey, "other", 2, "text");
    QCOMPARE(ReadRegValue(HKLM, VokaboKey, "other", "default"), QString());
}

void TestSettings::freshStoreGivesDefaults() {
    FreshProgram program;
    Settings::LoadSettingsRecord();
    QCOMPARE(Settings::SorDak, 5);
    QCOMPARE(Settings::SecenekSay, 4);
    QCOMPARE(Settings::oto_ac, false);
    QCOMPARE(Settings::sor_tur, 1);
    QCOMPARE(Settings::ustte, false);
    QCOMPARE(Settings::enaz, 0);
    QCOMPARE(Settings::sorusay, 0);
}

void TestSettings::readingRules_data() {
    QTest::addColumn<QString>("oto_ac");
    QTest::addColumn<QString>("sor_tur");
    QTest::addColumn<QString>("SorDak");
    QTest::addColumn<bool>("flag");
    QTest::addColumn<int>("tur");
    QTest::addColumn<int>("dak");
    QTest::newRow("E, 2, 0") << "E"
                             << "2"
                             << "0" << true << 2 << 0;
    QTest::newRow("lower-case e, 1") << "e"
                                     << "1"
                                     << "60" << false << 1 << 60;
    QTest::newRow("H, 3") << "H"
                          << "3"
                          << "12" << false << 1 << 12;
    QTest::newRow("blank before 2") << "E"
                                    << " 2"
                                    << "1" << true << 1 << 1;
    QTest::newRow("E with blank, x") << "E "
                                     << "x"
                                     << " 7 " << false << 1 << 7;
    QTest::newRow("empty") << ""
                           << ""
                           << "" << false << 1 << 5;
}

void TestSettings::readingRules() {
    QFETCH(QString, oto_ac);
    QFETCH(QString, sor_tur);
    QFETCH(QString, SorDak);
    FreshProgram program;
    store(Settings::OtoAcSetting.name, oto_ac);
    store(Settings::UstteSetting.name, oto_ac);
    store(Settings::SorTurSetting.name, sor_tur);
    store(Settings::SorDakSetting.name, SorDak);
    Settings::LoadSettingsRecord();
    QTEST(Settings::oto_ac, "flag");
    QTEST(Settings::ustte, "flag");
    QTEST(int(Settings::sor_tur), "tur");
    QTEST(int(Settings::SorDak), "dak");
}

void TestSettings::outOfRangeAndNonNumbersFallBack_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("SorDak");
    QTest::addColumn<int>("SecenekSay");
    QTest::addColumn<int>("enaz");
    QTest::newRow("above") << "99" << 60 << 9 << 10;
    QTest::newRow("below") << "-1" << 0 << 2 << 0;
    QTest::newRow("far beyond 16 bits") << "70000" << 60 << 9 << 10;
    QTest::newRow("beyond 64 bits") << "99999999999999999999" << 5 << 4 << 0;
    QTest::newRow("letters") << "abc" << 5 << 4 << 0;
    QTest::newRow("fraction") << "3.5" << 5 << 4 << 0;
    QTest::newRow("inside") << "3" << 3 << 3 << 3;
}

void TestSettings::outOfRangeAndNonNumbersFallBack() {
    QFETCH(QString, text);
    FreshProgram program;
    for (const auto& setting : {Settings::SorDakSetting, Settings::SecenekSaySetting,
                                Settings::EnazSetting, Settings::SorusaySetting})
        store(setting.name, text);
    Settings::LoadSettingsRecord();
    QTEST(int(Settings::SorDak), "SorDak");
    QTEST(int(Settings::SecenekSay), "SecenekSay");
    QTEST(int(Settings::enaz), "enaz");
    QTEST(int(Settings::sorusay), "enaz");
}

void TestSettings::storingKeepsTheFormatAndTheRange() {
    FreshProgram program;
    Settings::store(Settings::SorDakSetting, 7);
    Settings::store(Settings::SecenekSaySetting, 12);
    Settings::store(Settings::EnazSetting, -3);
    Settings::store(Settings::SorTurSetting, 2);
    Settings::store(Settings::OtoAcSetting, true);
    Settings::store(Settings::UstteSetting, false);
    QCOMPARE(Settings::SecenekSay, 9);
    QCOMPARE(Settings::enaz, 0);
    QCOMPARE(Settings::oto_ac, true);
    QFile file(registryStoreLocation());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("[SOFTWARE]\n"
                                        "Vokabo\\SecenekSay=9\n"
                                        "Vokabo\\SorDak=7\n"
                                        "Vokabo\\enaz=0\n"
                                        "Vokabo\\oto_ac=E\n"
                                        "Vokabo\\sor_tur=2\n"
                                        "Vokabo\\ustte=H\n"));
    // What was stored reads back as it was.
    Settings::resetState();
    Settings::LoadSettingsRecord();
    QCOMPARE(Settings::SorDak, 7);
    QCOMPARE(Settings::sor_tur, 2);
    QCOMPARE(Settings::oto_ac, true);
}

void TestSettings::placementPacking() {
    QCOMPARE(Settings::packPair(1200, 3000), QStringLiteral("78646200"));
    const auto back = Settings::unpackPair("78646200");
    QVERIFY(back);
    QCOMPARE(back->high, 1200);
    QCOMPARE(back->low, 3000);

    const auto wide = Settings::unpackPair(Settings::packPair(32767, 65535));
    QCOMPARE(wide->high, 32767);
    QCOMPARE(wide->low, 65535);

    // Left of the screen's origin or beyond the packable height: stored at
    // the edge rather than as a value that comes back somewhere else.
    const auto left = Settings::unpackPair(Settings::packPair(1200, -450));
    QCOMPARE(left->high, 1200);
    QCOMPARE(left->low, 0);
    QCOMPARE(Settings::packPair(40000, 10), Settings::packPair(32767, 10));

    // A negative stored value decodes by the floor rule.
    const auto negative = Settings::unpackPair("-1");
    QCOMPARE(negative->high, -1);
    QCOMPARE(negative->low, 65535);

    QVERIFY(!Settings::unpackPair(""));
    QVERIFY(!Settings::unpackPair("12ab"));
    QVERIFY(!Settings::unpackPair("4294967296"));
}

void TestSettings::placementOffEveryScreen_data() {
    QTest::addColumn<QRect>("frame");
    QTest::addColumn<bool>("visible");
    QTest::newRow("inside") << QRect(100, 100, 360, 394) << true;
    QTest::newRow("on the second screen") << QRect(2000, 50, 360, 394) << true;
    QTest::newRow("mostly off the right edge") << QRect(1900, 50, 360, 394) << true;
    QTest::newRow("in the gap below the second screen") << QRect(2000, 900, 360, 394) << false;
    QTest::newRow("far right") << QRect(5000, 100, 360, 394) << false;
    QTest::newRow("title above the top") << QRect(100, -200, 360, 394) << false;
    QTest::newRow("only a sliver at the left") << QRect(-350, 100, 360, 394) << false;
}

void TestSettings::placementOffEveryScreen() {
    QFETCH(QRect, frame);
    const QList<QRect> screens{QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 800)};
    QTEST(placementVisible(frame, screens), "visible");
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
