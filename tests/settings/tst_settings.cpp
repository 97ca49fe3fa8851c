#include "app/WindowPlacement.h"
#include "platform/RegistryStore.h"
#include "settings/ModRegistry.h"
#include "settings/Settings.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QTest>
#include <algorithm>
#include <vector>

using namespace ModRegistry;

namespace {
const RegRoot HKLM = RegRoot::HKEY_LOCAL_MACHINE;
} // namespace

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void registryStore();
    void readingRules_data();
    void readingRules();
    void storingKeepsTheFormatAndTheRange();
    void placementPacking();
    void placementOffEveryScreen_data();
    void placementOffEveryScreen();
};

void TestSettings::registryStore() {
    FreshProgram program;
    QCOMPARE(ReadRegValue(HKLM, VokaboKey, "SorDak", "default"), QStringLiteral("default"));
    WriteRegValue(HKLM, VokaboKey, "SorDak", REG_SZ, 17);
    WriteRegValue(HKLM, VokaboKey, "name", REG_SZ, QStringLiteral("Çalışkan öğrenci"));
    WriteRegValue(HKLM, VokaboKey, "nul", REG_SZ, QString::fromLatin1("ab\0cd", 5));
    WriteRegValue(HKLM, VokaboKey, "other", 2, "text");
    // Each write reaches the file at once.
    QVERIFY(registryStoreLocation().startsWith(program.dir()));
    QVERIFY(QFile::exists(registryStoreLocation()));
    QCOMPARE(ReadRegValue(HKLM, VokaboKey, "SorDak"), QStringLiteral("17"));
    QCOMPARE(ReadRegValue(HKLM, VokaboKey, "name"), QStringLiteral("Çalışkan öğrenci"));
    QCOMPARE(ReadRegValue(HKLM, VokaboKey, "nul"), QStringLiteral("ab"));
    // A missing value is empty once the key exists; another key is apart.
    QCOMPARE(ReadRegValue(HKLM, VokaboKey, "other", "default"), QString());
    QCOMPARE(ReadRegValue(HKLM, "SOFTWARE\\Other", "SorDak", "none"), QStringLiteral("none"));
}

void TestSettings::readingRules_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    // Stored text and the value it reads as; empty text is nothing stored. Only
    // "E" is true, only "2" is 2; numbers come back into their range, and what
    // is no whole number gives the default (a stored 0 is no default).
    const std::pair<const char*, std::vector<std::pair<const char*, int>>> table[] = {
        {"SorDak", {{"", 5}, {"0", 0}, {" 7 ", 7}, {"60", 60}, {"61", 60}, {"-1", 0}}},
        {"SorDak", {{"abc", 5}, {"99999999999999999999", 5}}},
        {"SecenekSay", {{"", 4}, {"1", 2}, {"70000", 9}, {"3.5", 4}}},
        {"enaz", {{"", 0}, {"11", 10}}},
        {"sorusay", {{"", 0}, {"-5", 0}}},
        {"oto_ac", {{"", 0}, {"E", 1}, {"e", 0}}},
        {"ustte", {{"E", 1}, {"E ", 0}, {"H", 0}}},
        {"sor_tur", {{"", 1}, {"2", 2}, {"1", 1}, {"3", 1}, {"x", 1}, {" 2", 1}}},
    };
    for (const auto& [name, rows] : table)
        for (const auto& [text, value] : rows)
            QTest::addRow("%s '%s'", name, text)
                << QString::fromLatin1(name) << QString::fromLatin1(text) << value;
}

void TestSettings::readingRules() {
    QFETCH(QString, name);
    QFETCH(QString, text);
    FreshProgram program;
    Settings::writeStored(Settings::SonBoyName, "0"); // the key exists
    if (!text.isEmpty())
        Settings::writeStored(name.toLatin1().constData(), text);
    Settings::LoadSettingsRecord();
    const auto setting =
        std::find_if(Settings::AllSettings.begin(), Settings::AllSettings.end(),
                     [&](const Settings::Setting* s) { return name == QLatin1String(s->name); });
    QVERIFY(setting != Settings::AllSettings.end());
    QTEST(int(Settings::value(**setting)), "value");
}

void TestSettings::storingKeepsTheFormatAndTheRange() {
    FreshProgram program;
    Settings::store(Settings::SorDakSetting, 7);
    Settings::store(Settings::SecenekSaySetting, 12);
    Settings::store(Settings::EnazSetting, -3);
    Settings::store(Settings::SorTurSetting, 2);
    Settings::store(Settings::OtoAcSetting, true);
    Settings::store(Settings::UstteSetting, false);
    QCOMPARE((QList<int>{Settings::SecenekSay, Settings::enaz, Settings::oto_ac}),
             (QList<int>{9, 0, true}));
    QFile file(registryStoreLocation());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("[SOFTWARE]\nVokabo\\SecenekSay=9\nVokabo\\SorDak=7\n"
                                        "Vokabo\\enaz=0\nVokabo\\oto_ac=E\nVokabo\\sor_tur=2\n"
                                        "Vokabo\\ustte=H\n"));
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
