#include "ProductInfo.h"
#include "help/FormYardim.h"
#include "support/OnScreen.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QPlainTextEdit>
#include <QTest>

// The guide's words are read the way a screen reader reads them, in the
// end-to-end run; here, how the window shows them.
class TestFormYardim : public QObject {
    Q_OBJECT
private slots:
    // The guide, the contact and product lines, the main window's icon and
    // the button each show whole and beside the others, in the designed
    // fonts; the product line names the program, its version and, when
    // asked, the word file in use.
    void showsTheProgramAndItsWordFile() {
        FreshProgram program;
        QWidget mainWindow;
        QPixmap icon(32, 32);
        icon.fill(Qt::red);
        mainWindow.setWindowIcon(icon);
        FormYardim form(&mainWindow, program.wordFile());
        form.show();
        QCOMPARE(layoutFaults(form, {"TextYardim", "LblBilgi", "Label3", "ImgLogo", "CmdTamam"})
                     .join('\n'),
                 QString());
        const auto* product = part<QLabel>(form, QStringLiteral("Label3"));
        QCOMPARE(product->text(), ProductInfo::Name + u' ' + ProductInfo::Version);
        QCOMPARE(shownFamily(product), QStringLiteral("Liberation Sans"));
        QVERIFY(product->toolTip().endsWith(QDir::toNativeSeparators(program.wordFile())));
        const QImage logo = part<QLabel>(form, QStringLiteral("ImgLogo"))->pixmap().toImage();
        QCOMPARE(logo.pixelColor(logo.rect().center()), QColor(Qt::red));
        const auto* guide = part<QPlainTextEdit>(form, QStringLiteral("TextYardim"));
        QVERIFY(guide->isReadOnly() && !guide->toPlainText().isEmpty());
    }

    void enterAndEscClose() {
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
            FormYardim form(nullptr, QString());
            form.show();
            // Wherever the focus is, even in the text.
            auto* guide = part<QPlainTextEdit>(form, QStringLiteral("TextYardim"));
            guide->setFocus();
            QTest::keyClick(guide, key);
            QVERIFY2(!form.isVisible(), qPrintable(QKeySequence(key).toString()));
        }
    }
};

QTEST_MAIN(TestFormYardim)
#include "tst_formyardim.moc"
