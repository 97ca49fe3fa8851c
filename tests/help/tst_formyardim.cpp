#include "help/FormYardim.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

class TestFormYardim : public QObject {
    Q_OBJECT
private slots:
    void helpTextLayout() {
        const QString text = FormYardim::helpText();
        QVERIFY(!text.contains(QRegularExpression("\r(?!\n)|(?<!\r)\n")));
        const QStringList lines = text.split("\r\n");
        // Headings sit directly above their paragraphs; one empty line parts the
        // blocks; nothing follows the last paragraph.
        QCOMPARE(lines.size(), 17);
        for (int i : {1, 4, 7, 10, 13, 15})
            QVERIFY2(lines[i].isEmpty(), qPrintable(QString::number(i)));
        QCOMPARE((QStringList{lines[2], lines[5], lines[8], lines[11]}),
                 (QStringList{"Yeni Vokabo Ekle :", "Seçili Seçili Vokaboyi Aktif/Pasif Yap :",
                              "Seçili Vokaboyi Sil :", "Ayarlar :"}));
        for (int i : {0, 3, 6, 9, 12, 14, 16})
            QVERIFY2(lines[i].endsWith(u'.'), qPrintable(lines[i]));
        QVERIFY(lines[0].startsWith("Bu program yabancı dilinizde"));
        QVERIFY(lines[16].endsWith("menüden Vokabo Sor 'u seçebilirsiniz."));
        QCOMPARE(text.size(), 2010);
    }

    void windowShowsTheTextTheLogoAndTheWordFile() {
        FreshProgram program;
        QWidget mainWindow;
        mainWindow.setWindowIcon(QIcon(QPixmap(32, 32)));
        FormYardim form(&mainWindow);
        form.show();
        QCOMPARE(form.TextYardim->toPlainText(), FormYardim::helpText().replace("\r\n", "\n"));
        QVERIFY(form.TextYardim->isReadOnly());
        QVERIFY(!form.ImgLogo->pixmap().isNull());
        QVERIFY(form.Label3->toolTip().endsWith(QDir::toNativeSeparators(program.wordFile())));
        QCOMPARE(form.focusWidget(), form.CmdTamam);
    }

    void enterAndEscClose() {
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
            FormYardim form(nullptr);
            form.show();
            // Wherever the focus is, even in the text.
            form.TextYardim->setFocus();
            QTest::keyClick(form.TextYardim, key);
            QVERIFY2(!form.isVisible(), qPrintable(QKeySequence(key).toString()));
        }
    }
};

QTEST_MAIN(TestFormYardim)
#include "tst_formyardim.moc"
