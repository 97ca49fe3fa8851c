#include "TestData.h"
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
    // The guide, exactly as the window shows it; the text itself parts lines with CR LF.
    void windowShowsTheGuideTheLogoAndTheWordFile() {
        QFile file(VOKABO_TEST_DATA_DIR "/help.txt");
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString guide = QString::fromUtf8(file.readAll());
        QCOMPARE(FormYardim::helpText(), QString(guide).replace("\n", "\r\n"));

        FreshProgram program;
        QWidget mainWindow;
        mainWindow.setWindowIcon(QIcon(QPixmap(32, 32)));
        FormYardim form(&mainWindow, program.wordFile());
        form.show();
        QCOMPARE(form.TextYardim->toPlainText(), guide);
        QVERIFY(form.TextYardim->isReadOnly());
        QVERIFY(!form.ImgLogo->pixmap().isNull());
        QVERIFY(form.Label3->toolTip().endsWith(QDir::toNativeSeparators(program.wordFile())));
        QCOMPARE(form.focusWidget(), form.CmdTamam);
    }

    void enterAndEscClose() {
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
            FormYardim form(nullptr, QString());
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
