#include "app/WindowPlacement.h"
#include "platform/RegistryStore.h"
#include "settings/ModRegistry.h"
#include "settings/Settings.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QTest>
#include <vector>

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void readingRules_data() {
        QTest::addColumn<int>("setting");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        // One line a setting, in the table's order: stored text (empty: none) and value.
        // Only "E" is true, only "2" is 2; numbers are clamped; no whole number: default.
        const std::vector<std::pair<const char*, int>> table[] = {
            {{"", 5}, {"0", 0}, {" 7 ", 7}, {"61", 60}, {"-1", 0}, {"abc", 5}},
            {{"", 4}, {"1", 2}, {"70000", 9}, {"3.5", 4}},
            {{"", 0}, {"E", 1}, {"e", 0}},
            {{"", 1}, {"2", 2}, {"1", 1}, {"3", 1}, {"x", 1}, {" 2", 1}},
            {{"E", 1}, {"E ", 0}, {"H", 0}},
            {{"", 0}, {"11", 10}},
            {{"", 0}, {"-5", 0}, {"99999999999999999999", 0}},
            // Moments name their offset; a local time or no moment reads as none.
            {{"", 0},
             {"2026-12-07T05:00:00Z", 1796619600},
             {"2026-12-07T08:00:00+03:00", 1796619600},
             {"2026-12-07T08:00:00", 0},
             {"1960-01-01T00:00:00Z", 0},
             {"tomorrow", 0}},
            {{"", 0}, {"E", 1}},
            // Languages by their ISO code; none known: English.
            {{"", QLocale::English},
             {"tr", QLocale::Turkish},
             {" DE ", QLocale::German},
             {"kok", QLocale::Konkani},
             {"Türkçe", QLocale::English},
             {"C", QLocale::English}},
            {{"", 0}, {"E", 1}, {"H", 0}},
        };
        for (int i = 0; i < int(std::size(table)); ++i)
            for (const auto& [text, value] : table[i])
                QTest::addRow("%s '%s'", Settings::AllSettings[i]->name, text)
                    << i << QString::fromLatin1(text) << value;
    }
    void readingRules() {
        QFETCH(int, setting);
        QFETCH(QString, text);
        FreshProgram program;
        Settings::writeStored(Settings::SonBoyName, "0"); // the key exists
        if (!text.isEmpty())
            Settings::writeStored(Settings::AllSettings[setting]->name, text);
        program.settings().LoadSettingsRecord();
        QTEST(int(program.settings().value(*Settings::AllSettings[setting])), "value");
    }

    void storingKeepsTheFormatAndTheRangeAndTellsChanges() {
        FreshProgram program;
        SettingsRecord& settings = program.settings();
        QList<const Settings::Setting*> changed;
        connect(&settings, &SettingsRecord::changed, this,
                [&changed](const Settings::Setting* setting) { changed.append(setting); });
        settings.store(Settings::SorDakSetting, 7);
        settings.store(Settings::SecenekSaySetting, 12);
        settings.store(Settings::EnazSetting, -3);
        settings.store(Settings::SorTurSetting, 2);
        settings.store(Settings::OtoAcSetting, true);
        settings.store(Settings::UstteSetting, false);
        settings.store(Settings::DilSetting, QLocale::Persian);
        QCOMPARE((QList<int>{settings.SecenekSay(), settings.enaz(), settings.oto_ac()}),
                 (QList<int>{9, 0, true}));
        // Only what is not what it was: enaz and ustte stay 0.
        QCOMPARE(changed,
                 (QList<const Settings::Setting*>{
                     &Settings::SorDakSetting, &Settings::SecenekSaySetting,
                     &Settings::SorTurSetting, &Settings::OtoAcSetting, &Settings::DilSetting}));
        QFile file(registryStoreLocation());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("[SOFTWARE]\nVokabo\\SecenekSay=9\nVokabo\\SorDak=7\n"
                                            "Vokabo\\dil=fa\nVokabo\\enaz=0\nVokabo\\oto_ac=E\n"
                                            "Vokabo\\sor_tur=2\nVokabo\\ustte=H\n"));
        changed.clear();
        settings.store(Settings::SorDakSetting, 7);
        Settings::writeStored("ustte", "E");
        settings.LoadSettingsRecord();
        QCOMPARE(changed, (QList<const Settings::Setting*>{&Settings::UstteSetting}));
        // A text is read up to a NUL, as the registry reads a string.
        Settings::writeStored("sorusay", QString::fromLatin1("3\0x", 3));
        QCOMPARE(Settings::readStored("sorusay"), QStringLiteral("3"));
        // A type the store does not keep is not stored, and not said to be.
        QVERIFY(!ModRegistry::WriteRegValue(ModRegistry::RegRoot::HKEY_LOCAL_MACHINE,
                                            ModRegistry::VokaboKey, "sorusay", 7, 5));
        QCOMPARE(Settings::readStored("sorusay"), QStringLiteral("3"));
    }

    void placementPacking() {
        const auto pair = [](const QString& text) {
            const auto p = Settings::unpackPair(text);
            return p ? QList<qint64>{p->high, p->low} : QList<qint64>{};
        };
        QCOMPARE(Settings::packPair(1200, 3000), QStringLiteral("78646200"));
        QCOMPARE(pair("78646200"), (QList<qint64>{1200, 3000}));
        QCOMPARE(pair(Settings::packPair(32767, 65535)), (QList<qint64>{32767, 65535}));
        // Beyond what packs: kept at the edge, not as a value that comes back elsewhere.
        QCOMPARE(pair(Settings::packPair(1200, -450)), (QList<qint64>{1200, 0}));
        QCOMPARE(Settings::packPair(40000, 10), Settings::packPair(32767, 10));
        QCOMPARE(pair("-1"), (QList<qint64>{-1, 65535})); // the floor rule
        for (const char* unusable : {"", "12ab", "4294967296"})
            QCOMPARE(pair(unusable), QList<qint64>{});
    }

    void placementOffEveryScreen_data() {
        QTest::addColumn<QPoint>("topLeft");
        QTest::addColumn<bool>("visible");
        QTest::newRow("on the second screen") << QPoint(2000, 50) << true;
        QTest::newRow("mostly off the right edge") << QPoint(1900, 50) << true;
        QTest::newRow("in the gap below the second screen") << QPoint(2000, 900) << false;
        QTest::newRow("title above the top") << QPoint(100, -200) << false;
        QTest::newRow("only a sliver at the left") << QPoint(-350, 100) << false;
    }
    void placementOffEveryScreen() {
        QFETCH(QPoint, topLeft);
        const QList<QRect> screens{QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 800)};
        QTEST(placementVisible(QRect(topLeft, QSize(360, 394)), screens), "visible");
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
