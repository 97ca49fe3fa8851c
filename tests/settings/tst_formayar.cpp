#include "platform/Autostart.h"
#include "platform/RegistryStore.h"
#include "platform/Topmost.h"
#include "settings/FormAyar.h"
#include "settings/Settings.h"
#include "support/TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {
using Stored = QMap<QString, QString>;

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The settings as a test stores them before the program reads them.
void storeAndLoad(const Stored& values) {
    for (auto it = values.begin(); it != values.end(); ++it)
        Settings::writeStored(it.key().toLatin1().constData(), it.value());
    Settings::LoadSettingsRecord();
}

Stored storedSettings() {
    Stored stored;
    for (const Settings::Setting* setting : Settings::AllSettings)
        stored[setting->name] = Settings::readStored(setting->name);
    return stored;
}

QString entryPath() {
    return Autostart::linkPath(Autostart::startupFolder(), QCoreApplication::applicationName());
}

bool onTop(const QWidget& window) {
    return window.windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

// The ten controls that follow the disable box.
QList<QWidget*> dependents(const FormAyar& form) {
    return {form.LblPeriyot, form.ComboPeriyot, form.LblSecenek,  form.CmbSecenek, form.LblLimit,
            form.CmbLimit,   form.LblQuestion,  form.CmbQuestion, form.OptSor[0],  form.OptSor[1]};
}

bool allEnabled(const FormAyar& form, bool enabled) {
    const QList<QWidget*> controls = dependents(form);
    return std::all_of(controls.begin(), controls.end(),
                       [enabled](QWidget* w) { return w->isEnabled() == enabled; });
}
} // namespace

class TestFormAyar : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void formLoadShowsTheStoredValues_data();
    void formLoadShowsTheStoredValues();
    void checkSoruDisablesAndRestores_data();
    void checkSoruDisablesAndRestores();
    void tamamStoresEverythingAndTheLogonEntry_data();
    void tamamStoresEverythingAndTheLogonEntry();
    void tamamWhenTheEntryCannotBeMade();
    void cancelAndEscStoreNothing_data();
    void cancelAndEscStoreNothing();
    void logonEntryQuotesItsCommand();

private:
    std::unique_ptr<FreshProgram> program;
    std::unique_ptr<QWidget> mainWindow;
};

void TestFormAyar::init() {
    program = std::make_unique<FreshProgram>();
    mainWindow = std::make_unique<QWidget>();
    mainWindow->show();
}

void TestFormAyar::cleanup() {
    mainWindow.reset();
    program.reset();
}

void TestFormAyar::formLoadShowsTheStoredValues_data() {
    QTest::addColumn<Stored>("stored");
    QTest::addColumn<QStringList>("lists"); // the four lists' texts, period first
    QTest::addColumn<int>("option");
    QTest::addColumn<bool>("flags"); // oto_ac and ustte

    QTest::newRow("nothing stored")
        << Stored{} << QStringList{"5 dakika", "4 Seçenekli", "Herzaman Silinebilir", "Sürekli Sor"}
        << 0 << false;
    QTest::newRow("lowest") << Stored{{"SorDak", "1"},  {"SecenekSay", "2"}, {"enaz", "0"},
                                      {"sorusay", "0"}, {"sor_tur", "1"},    {"oto_ac", "H"},
                                      {"ustte", "H"}}
                            << QStringList{"1 dakika", "2 Seçenekli", "Herzaman Silinebilir",
                                           "Sürekli Sor"}
                            << 0 << false;
    QTest::newRow("highest") << Stored{{"SorDak", "60"},  {"SecenekSay", "9"}, {"enaz", "10"},
                                       {"sorusay", "10"}, {"sor_tur", "2"},    {"oto_ac", "E"},
                                       {"ustte", "E"}}
                             << QStringList{"60 dakika", "9 Seçenekli", "10 Kere Bilinsin",
                                            "En Fazla 10 Tane Sor"}
                             << 1 << true;
    QTest::newRow("beyond the ends")
        << Stored{{"SorDak", "61"}, {"SecenekSay", "1"}, {"enaz", "11"}, {"sorusay", "-1"}}
        << QStringList{"60 dakika", "2 Seçenekli", "10 Kere Bilinsin", "Sürekli Sor"} << 0 << false;
    QTest::newRow("scheduled questions off")
        << Stored{{"SorDak", "0"}, {"SecenekSay", "7"}, {"enaz", "1"}, {"sorusay", "1"}}
        << QStringList{"", "7 Seçenekli", "1 Kere Bilinsin", "En Fazla 1 Tane Sor"} << 0 << false;
}

void TestFormAyar::formLoadShowsTheStoredValues() {
    QFETCH(Stored, stored);
    QFETCH(QStringList, lists);
    QFETCH(int, option);
    QFETCH(bool, flags);
    storeAndLoad(stored);
    FormAyar form(mainWindow.get());

    QCOMPARE(form.ComboPeriyot->count(), 60);
    QCOMPARE(form.CmbSecenek->count(), 8);
    QCOMPARE(form.CmbLimit->count(), 11);
    QCOMPARE(form.CmbQuestion->count(), 11);
    QCOMPARE((QStringList{form.ComboPeriyot->currentText(), form.CmbSecenek->currentText(),
                          form.CmbLimit->currentText(), form.CmbQuestion->currentText()}),
             lists);
    const bool off = lists.first().isEmpty();
    QCOMPARE(form.ComboPeriyot->currentIndex() < 0, off);
    QCOMPARE(form.CheckSoru->isChecked(), off);
    QVERIFY(allEnabled(form, !off));
    QVERIFY(form.OptSor[option]->isChecked());
    QCOMPARE(form.CheckOto->isChecked(), flags);
    QCOMPARE(form.CheckUstte->isChecked(), flags);
}

void TestFormAyar::checkSoruDisablesAndRestores_data() {
    QTest::addColumn<QString>("SorDak");
    QTest::addColumn<QString>("afterClearing");
    QTest::newRow("opened off: clearing picks 5 minutes") << "0"
                                                          << "5 dakika";
    QTest::newRow("opened at 7: the period stays") << "7"
                                                   << "7 dakika";
}

void TestFormAyar::checkSoruDisablesAndRestores() {
    QFETCH(QString, SorDak);
    storeAndLoad({{"SorDak", SorDak}});
    FormAyar form(mainWindow.get());
    form.show();
    form.CheckSoru->setChecked(true);
    QVERIFY(allEnabled(form, false));
    form.CheckSoru->click();
    QVERIFY(!form.CheckSoru->isChecked());
    QVERIFY(allEnabled(form, true));
    QTEST(form.ComboPeriyot->currentText(), "afterClearing");
    form.CheckSoru->click();
    QVERIFY(allEnabled(form, false));
}

void TestFormAyar::tamamStoresEverythingAndTheLogonEntry_data() {
    QTest::addColumn<bool>("on");
    QTest::newRow("start at logon and on top") << true;
    QTest::newRow("neither") << false;
}

void TestFormAyar::tamamStoresEverythingAndTheLogonEntry() {
    QFETCH(bool, on);
    ScriptedMsgBox box;
    // The opposite state before: an entry there only when it is to go.
    storeAndLoad({{"oto_ac", on ? "H" : "E"}, {"ustte", on ? "H" : "E"}});
    if (!on)
        QVERIFY(Autostart::createShellLink(Autostart::startupFolder(),
                                           QCoreApplication::applicationName(), "/bin/true", "")
                    .ok);
    setTopmost(mainWindow.get(), !on);

    // Switching off twice in a row is as quiet as once.
    for (int press = 0; press < (on ? 1 : 2); ++press) {
        FormAyar form(mainWindow.get());
        form.show();
        form.CheckSoru->setChecked(true); // a period stays selected, and is not stored
        form.CmbSecenek->setCurrentIndex(7);
        form.CmbLimit->setCurrentIndex(3);
        form.CmbQuestion->setCurrentIndex(10);
        form.OptSor[1]->setChecked(true);
        form.CheckOto->setChecked(on);
        form.CheckUstte->setChecked(on);
        QTest::keyClick(&form, Qt::Key_Return);
        QVERIFY(!form.isVisible());
        QCOMPARE(form.result(), int(QDialog::Accepted));
    }

    QCOMPARE(box.asked().size(), 0);
    const QString flag = on ? "E" : "H";
    QCOMPARE(storedSettings(), (Stored{{"SorDak", "0"},
                                       {"SecenekSay", "9"},
                                       {"enaz", "3"},
                                       {"sorusay", "10"},
                                       {"sor_tur", "2"},
                                       {"oto_ac", flag},
                                       {"ustte", flag}}));
    QCOMPARE((QList<int>{Settings::SorDak, Settings::SecenekSay, Settings::enaz, Settings::sorusay,
                         Settings::sor_tur, Settings::oto_ac, Settings::ustte}),
             (QList<int>{0, 9, 3, 10, 2, on, on}));
    QCOMPARE(onTop(*mainWindow), on);
    QVERIFY(mainWindow->isVisible());
    QCOMPARE(QFile::exists(entryPath()), on);
    if (on)
        QVERIFY(fileBytes(entryPath())
                    .contains("\nExec=\"" +
                              QFile::encodeName(QCoreApplication::applicationFilePath()) +
                              "\" -o\n"));
}

void TestFormAyar::tamamWhenTheEntryCannotBeMade() {
    ScriptedMsgBox box;
    storeAndLoad({{"oto_ac", "H"}, {"ustte", "H"}});
    // A file where the start-up folder should be: no one can make it a folder.
    QFile blocker(Autostart::startupFolder());
    QVERIFY(QDir().mkpath(QFileInfo(blocker).path()));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    FormAyar form(mainWindow.get());
    form.show();
    form.ComboPeriyot->setCurrentIndex(6);
    form.OptSor[1]->setChecked(true);
    form.CheckOto->setChecked(true);
    form.CheckUstte->setChecked(true);
    form.CmdTamam->click();

    using Asked = ScriptedMsgBox::Asked;
    QCOMPARE(box.asked().size(), 3);
    const Asked expected[] = {
        {QStringLiteral("Bilinmeyen DLL hatası oluştu ! : %1").arg(ENOTDIR), 0, "Vokabo Retano"},
        {"Açılış kısayolu oluşturulamadı. Uygulama açılışta yüklenmeyecek.", 16, "Vokabo Retano"},
        {"Programın açılışta başlaması için bir kısa yol oluşturulamadı !", 16, "Hata"},
    };
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(box.asked()[i].prompt, expected[i].prompt);
        QCOMPARE(box.asked()[i].style, expected[i].style);
        QCOMPARE(box.asked()[i].title, expected[i].title);
    }
    // What came before the entry is stored; start at logon and on top are not.
    QVERIFY(form.isVisible());
    QCOMPARE(Settings::readStored("SorDak"), QStringLiteral("7"));
    QCOMPARE(Settings::readStored("sor_tur"), QStringLiteral("2"));
    QCOMPARE(Settings::readStored("oto_ac"), QStringLiteral("H"));
    QCOMPARE(Settings::readStored("ustte"), QStringLiteral("H"));
    QVERIFY(!Settings::oto_ac && !Settings::ustte);
    QVERIFY(!onTop(*mainWindow));

    // Once the way is clear, "Tamam" saves the whole dialog.
    QVERIFY(blocker.remove());
    form.CmdTamam->click();
    QCOMPARE(box.asked().size(), 3);
    QVERIFY(!form.isVisible());
    QVERIFY(QFile::exists(entryPath()));
    QVERIFY(Settings::oto_ac && Settings::ustte && onTop(*mainWindow));
}

void TestFormAyar::cancelAndEscStoreNothing_data() {
    QTest::addColumn<bool>("esc");
    QTest::newRow("İptal") << false;
    QTest::newRow("Esc") << true;
}

void TestFormAyar::cancelAndEscStoreNothing() {
    QFETCH(bool, esc);
    storeAndLoad({{"SorDak", "7"}, {"SecenekSay", "4"}, {"sor_tur", "1"}, {"oto_ac", "H"}});
    const QByteArray before = fileBytes(registryStoreLocation());

    FormAyar form(mainWindow.get());
    form.show();
    form.CheckOto->setChecked(true);
    form.CheckUstte->setChecked(true);
    form.CmbSecenek->setCurrentIndex(0);
    form.CmbLimit->setCurrentIndex(5);
    form.CmbQuestion->setCurrentIndex(5);
    form.OptSor[1]->setChecked(true);
    form.CheckSoru->setChecked(true);
    if (esc)
        QTest::keyClick(form.CmbLimit, Qt::Key_Escape);
    else
        form.CmdIptal->click();

    QVERIFY(!form.isVisible());
    QCOMPARE(fileBytes(registryStoreLocation()), before);
    QCOMPARE((QList<int>{Settings::SorDak, Settings::SecenekSay, Settings::sor_tur,
                         Settings::oto_ac, Settings::ustte}),
             (QList<int>{7, 4, 1, false, false}));
    QVERIFY(!QFile::exists(entryPath()));
    QVERIFY(!onTop(*mainWindow));
}

void TestFormAyar::logonEntryQuotesItsCommand() {
    const QString target = QStringLiteral("/opt/a b/\"q\"$x`\\%.bin");
    const Autostart::LinkOutcome made =
        Autostart::createShellLink(Autostart::startupFolder(), "quoted", target, "-o");
    QVERIFY(made.ok);
    const QByteArray entry = fileBytes(Autostart::linkPath(Autostart::startupFolder(), "quoted"));
    QVERIFY(entry.startsWith("[Desktop Entry]\nType=Application\nName=Vokabo Retano\n"));
    QVERIFY(entry.contains("\nExec=\"/opt/a b/\\\\\"q\\\\\"\\\\$x\\\\`\\\\\\\\%%.bin\" -o\n"));
}

QTEST_MAIN(TestFormAyar)
#include "tst_formayar.moc"
