#include "platform/Autostart.h"
#include "platform/RegistryStore.h"
#include "settings/FormAyar.h"
#include "settings/Settings.h"
#include "support/OnScreen.h"
#include "support/TestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {
QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Stores the texts, in the order of the settings table, and reads them as the
// program does at start-up; a null text stores nothing.
void storeAndLoad(SettingsRecord& settings, const QStringList& texts) {
    for (qsizetype i = 0; i < texts.size(); ++i)
        if (!texts[i].isNull())
            Settings::writeStored(Settings::AllSettings[i]->name, texts[i]);
    settings.LoadSettingsRecord();
}

QStringList storedTexts() {
    QStringList texts;
    for (const Settings::Setting* setting : Settings::AllSettings)
        texts.append(Settings::readStored(setting->name));
    return texts;
}

QString entryPath() {
    return Autostart::linkPath(Autostart::startupFolder(), QCoreApplication::applicationName());
}

template <typename Control = QWidget> Control* the(const FormAyar& form, const char* name) {
    return part<Control>(form, QString::fromLatin1(name));
}

// Whether the ten controls that follow the disable box are all enabled (1),
// all disabled (0), or mixed (-1).
int followersEnabled(const FormAyar& form) {
    int on = 0;
    for (const char* name : {"LblPeriyot", "ComboPeriyot", "LblSecenek", "CmbSecenek", "LblLimit",
                             "CmbLimit", "LblQuestion", "CmbQuestion", "OptSor0", "OptSor1"})
        on += the(form, name)->isEnabled();
    return on == 10 ? 1 : on == 0 ? 0 : -1;
}

// Changes every choice: every 7 minutes, 9 choices, 3 right answers, 10
// questions, both directions; scheduled questions, start at logon and on top
// all on or all off.
void changeEverything(FormAyar& form, bool on) {
    form.show();
    const std::pair<const char*, int> lists[] = {
        {"ComboPeriyot", 6}, {"CmbSecenek", 7}, {"CmbLimit", 3}, {"CmbQuestion", 10}};
    for (const auto& [name, index] : lists)
        the<QComboBox>(form, name)->setCurrentIndex(index);
    the<QCheckBox>(form, "CheckSoru")->setChecked(!on);
    the<QRadioButton>(form, "OptSor1")->setChecked(true);
    the<QCheckBox>(form, "CheckOto")->setChecked(on);
    the<QCheckBox>(form, "CheckUstte")->setChecked(on);
}
} // namespace

class TestFormAyar : public QObject {
    Q_OBJECT
    std::unique_ptr<FreshProgram> program;
    std::unique_ptr<QWidget> mainWindow;

private slots:
    void init() {
        program = std::make_unique<FreshProgram>();
        mainWindow = std::make_unique<QWidget>();
        mainWindow->show();
    }
    void cleanup() {
        mainWindow.reset();
        program.reset();
    }

    // Every control shows whole and beside the others; each list stands on
    // its label's line, right of it, and the lists form one even column.
    void everyControlShowsWhole() {
        FormAyar form(program->settings(), program->speech(), mainWindow.get());
        form.show();
        QStringList controls{"CheckOto", "CheckUstte",     "BevelLine1", "CheckSoru", "OptSor0",
                             "OptSor1",  "CheckSeslendir", "CmdTamam",   "CmdIptal"};
        const QRect firstList = inWindow(the(form, "ComboPeriyot"));
        const std::pair<const char*, const char*> rows[] = {{"LblPeriyot", "ComboPeriyot"},
                                                            {"LblSecenek", "CmbSecenek"},
                                                            {"LblLimit", "CmbLimit"},
                                                            {"LblQuestion", "CmbQuestion"},
                                                            {"LblDil", "CmbDil"}};
        for (const auto& [labelName, listName] : rows) {
            const QRect label = inWindow(the(form, labelName));
            const QRect list = inWindow(the(form, listName));
            QVERIFY2(label.right() < list.left() && list.top() <= label.center().y() &&
                         label.center().y() <= list.bottom() && list.left() == firstList.left() &&
                         list.right() == firstList.right(),
                     listName);
            controls << labelName << listName;
        }
        QCOMPARE(layoutFaults(form, controls).join('\n'), QString());
        QCOMPARE(shownFamily(the(form, "CheckOto")), QStringLiteral("Liberation Sans"));
    }

    void formLoadAndTheDisableBox_data() {
        // Stored: SorDak, SecenekSay, oto_ac, sor_tur, ustte, enaz, sorusay.
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QList<int>>("shown"); // period, choices, limit, questions
        QTest::addColumn<bool>("high");        // the second question kind, oto_ac and ustte
        QTest::newRow("lowest") << QStringList{"1", "2", "H", "1", "H", "0", "0"}
                                << QList<int>{0, 0, 0, 0} << false;
        QTest::newRow("highest") << QStringList{"60", "9", "E", "2", "E", "10", "10"}
                                 << QList<int>{59, 7, 10, 10} << true;
        QTest::newRow("scheduled questions off")
            << QStringList{"0", "7", "", "", "", "1", "1"} << QList<int>{-1, 5, 1, 1} << false;
    }
    void formLoadAndTheDisableBox() {
        QFETCH(QStringList, stored);
        QFETCH(QList<int>, shown);
        QFETCH(bool, high);
        storeAndLoad(program->settings(), stored);
        FormAyar form(program->settings(), program->speech(), mainWindow.get());
        QList<int> indices;
        for (const char* list : {"ComboPeriyot", "CmbSecenek", "CmbLimit", "CmbQuestion"})
            indices.append(the<QComboBox>(form, list)->currentIndex());
        QCOMPARE(indices, shown);
        const bool off = shown[0] < 0;
        QCOMPARE(the<QCheckBox>(form, "CheckSoru")->isChecked(), off);
        QCOMPARE(followersEnabled(form), off ? 0 : 1);
        QVERIFY(the<QRadioButton>(form, high ? "OptSor1" : "OptSor0")->isChecked());
        QCOMPARE(the<QCheckBox>(form, "CheckOto")->isChecked(), high);
        QCOMPARE(the<QCheckBox>(form, "CheckUstte")->isChecked(), high);

        // Switched on again, questions come every 5 minutes, or as often as shown.
        if (!off) {
            the<QCheckBox>(form, "CheckSoru")->click();
            QCOMPARE(followersEnabled(form), 0);
        }
        the<QCheckBox>(form, "CheckSoru")->click();
        QCOMPARE(followersEnabled(form), 1);
        QCOMPARE(the<QComboBox>(form, "ComboPeriyot")->currentIndex(), off ? 4 : shown[0]);
    }

    void tamamSwitchesStartAtLogonAndOnTopOff() {
        ScriptedMsgBox box;
        storeAndLoad(program->settings(), {{}, {}, "E", {}, "E"});
        QVERIFY(QDir().mkpath(Autostart::startupFolder()) &&
                QFile(entryPath()).open(QIODevice::WriteOnly));
        // Twice in a row: an entry already gone is no error.
        for (int press = 0; press < 2; ++press) {
            FormAyar form(program->settings(), program->speech(), mainWindow.get());
            changeEverything(form, false);
            QTest::keyClick(&form, Qt::Key_Return);
            QCOMPARE(form.result(), int(QDialog::Accepted));
        }
        QVERIFY(box.asked().isEmpty());
        QCOMPARE(storedTexts(),
                 (QStringList{"0", "9", "H", "2", "H", "3", "10", "", "H", "en", "H"}));
        QVERIFY(!QFile::exists(entryPath()));
        QVERIFY(!program->settings().ustte() && !program->settings().oto_ac());
    }

    void tamamWhenTheEntryCannotBeMadeAndOnceItCan() {
        ScriptedMsgBox box;
        storeAndLoad(program->settings(), {"5", "4", "H", "1", "H", "0", "0"});
        // A file where the start-up folder goes: no one, not even root, makes it a folder.
        QFile blocker(Autostart::startupFolder());
        QVERIFY(QDir().mkpath(QFileInfo(blocker).path()) && blocker.open(QIODevice::WriteOnly));

        FormAyar form(program->settings(), program->speech(), mainWindow.get());
        changeEverything(form, true);
        the<QPushButton>(form, "CmdTamam")->click();
        QStringList asked;
        for (const ScriptedMsgBox::Asked& a : box.asked())
            asked.append(QStringLiteral("%1: %2 (%3)").arg(a.title, a.prompt).arg(a.style));
        QCOMPARE(asked, (QStringList{
                            QStringLiteral("Vokabo Retano: Bilinmeyen DLL hatası oluştu ! : %1 (0)")
                                .arg(ENOTDIR),
                            "Vokabo Retano: Açılış kısayolu oluşturulamadı. Uygulama açılışta "
                            "yüklenmeyecek. (16)",
                            "Hata: Programın açılışta başlaması için bir kısa yol oluşturulamadı ! "
                            "(16)"}));
        // What comes before the entry is stored; start at logon and on top are not.
        QVERIFY(form.isVisible());
        QCOMPARE(storedTexts(),
                 (QStringList{"7", "9", "H", "2", "H", "3", "10", "", "H", "en", "H"}));
        QVERIFY(!program->settings().ustte());

        QVERIFY(blocker.remove());
        the<QPushButton>(form, "CmdTamam")->click();
        QCOMPARE(box.asked().size(), 3);
        QVERIFY(!form.isVisible());
        QCOMPARE(storedTexts(),
                 (QStringList{"7", "9", "E", "2", "E", "3", "10", "", "H", "en", "H"}));
        QVERIFY(program->settings().ustte());
        const QByteArray program = QFile::encodeName(QCoreApplication::applicationFilePath());
        QVERIFY(fileBytes(entryPath()).contains("\nExec=\"" + program + "\" -o\n"));
    }

    // Failures that would read as success: a settings file that cannot be
    // written, an entry at logon that cannot be removed. A folder stands where
    // each file goes, which stops root as well.
    void tamamSaysWhatItCouldNotDo() {
        ScriptedMsgBox box;
        storeAndLoad(program->settings(), {"5", "4", "E", "1", "H", "0", "0"});
        QVERIFY(QDir().mkpath(entryPath() + "/keeps-it-a-folder"));
        const QByteArray before = fileBytes(registryStoreLocation());
        QVERIFY(QFile::remove(registryStoreLocation()));
        QVERIFY(QDir().mkpath(registryStoreLocation() + "/keeps-it-a-folder"));

        FormAyar form(program->settings(), program->speech(), mainWindow.get());
        changeEverything(form, false);
        the<QPushButton>(form, "CmdTamam")->click();
        QCOMPARE(box.asked().size(), 2);
        QVERIFY(box.asked()[0].prompt.startsWith("Açılışta başlama kaydı silinemedi:\n" +
                                                 entryPath() + "\n\n"));
        QVERIFY(box.asked()[0].prompt.endsWith("Program oturum açıldığında yine başlayacak."));
        QVERIFY(box.asked()[1].prompt.startsWith("Ayarlar kaydedilemedi:\n" +
                                                 registryStoreLocation() + "\n\n"));
        // The system's reason stands between the file and what it means.
        QVERIFY(box.asked()[1].prompt.section("\n\n", 1, 1).size() > 0);
        QVERIFY(!form.isVisible());
        // The new values hold for this run; start at logon stays on, as it is.
        QCOMPARE(program->settings().SecenekSay(), 9);
        QVERIFY(program->settings().oto_ac());
        QVERIFY(!before.isEmpty());
    }

    // The words' language is chosen among those the speech service has voices
    // for once it is ready; the stored one stays until then.
    void readingAloudAndTheWordsLanguage() {
        storeAndLoad(program->settings(), {{}, {}, {}, {}, {}, {}, {}, {}, "E", "de"});
        RecordingSpeech& speech = program->speech();
        speech.becomes(Speech::State::Connecting);
        FormAyar form(program->settings(), speech, mainWindow.get());
        auto* language = form.findChild<QComboBox*>("CmbDil");
        const auto names = [language] {
            QStringList shown;
            for (int i = 0; i < language->count(); ++i)
                shown.append(language->itemText(i));
            return shown;
        };
        QCOMPARE(names(), QStringList{"Almanca"});
        QCOMPARE(speech.starts, 1);
        speech.becomes(Speech::State::Ready,
                       {QLocale::Turkish, QLocale::English, QLocale::French, QLocale::German});
        QCOMPARE(names(), (QStringList{"Almanca", "Fransızca", "İngilizce", "Türkçe"}));
        QCOMPARE(language->currentText(), "Almanca");
        auto* readAloud = form.findChild<QCheckBox*>("CheckSeslendir");
        QVERIFY(readAloud->isChecked());

        // The smart choice last, off until chosen; the dialog grows to hold it.
        auto* smart = form.findChild<QCheckBox*>("CheckAkilli");
        auto* ok = the<QPushButton>(form, "CmdTamam");
        QVERIFY(!smart->isChecked());
        QVERIFY(smart->y() > form.findChild<QGroupBox*>("Frame4")->geometry().bottom());
        QVERIFY(ok->y() > smart->geometry().bottom() && form.rect().contains(ok->geometry()));

        language->setCurrentIndex(3);
        readAloud->setChecked(false);
        smart->setChecked(true);
        ok->click();
        QCOMPARE(storedTexts().mid(8), (QStringList{"H", "tr", "E"}));
        QCOMPARE(program->settings().dil(), QLocale::Turkish);
    }

    void logonEntryQuotesItsCommand() {
        const QString folder = Autostart::startupFolder();
        QVERIFY(Autostart::createShellLink(folder, "quoted", "/opt/a b/\"q\"$x`\\%.bin", "-o").ok);
        const QByteArray entry = fileBytes(Autostart::linkPath(folder, "quoted"));
        QVERIFY(entry.startsWith("[Desktop Entry]\nType=Application\nName=Vokabo Retano\n"));
        // Quoted for the command line, then escaped as a value of the file.
        QVERIFY(entry.contains("\nExec=\"/opt/a b/\\\\\"q\\\\\"\\\\$x\\\\`\\\\\\\\%%.bin\" -o\n"));
    }
};

QTEST_MAIN(TestFormAyar)
#include "tst_formayar.moc"
