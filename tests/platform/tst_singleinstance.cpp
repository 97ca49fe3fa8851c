#include "platform/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Each copy of the program is a SingleInstance of its own here; a lock held
// by this process counts as another live copy.
class TestSingleInstance : public QObject {
    Q_OBJECT
private slots:
    void oneCopyPerWordFile_data();
    void oneCopyPerWordFile();
    void noLockAnywhereStillStarts();

private:
    QTemporaryDir dir;
    QString path(const QString& name) const { return QDir(dir.path()).filePath(name); }
    // A path where no folder can be, root or not: below a regular file.
    QString belowAFile(const QString& name) const {
        QFile file(path(QStringLiteral("plain-file")));
        file.open(QIODevice::WriteOnly);
        return QDir(file.fileName()).filePath(name);
    }
};

void TestSingleInstance::oneCopyPerWordFile_data() {
    QTest::addColumn<bool>("runtimeUsable");
    QTest::newRow("runtime folder") << true;
    QTest::newRow("runtime folder unusable: beside the word file") << false;
}

void TestSingleInstance::oneCopyPerWordFile() {
    QFETCH(bool, runtimeUsable);
    const QString runtime = runtimeUsable ? path("runtime") : belowAFile("runtime");
    QDir().mkpath(path("runtime"));
    const QString words = path(QStringLiteral("vokabo-%1.txt").arg(runtimeUsable));
    {
        SingleInstance first(words, runtime);
        QCOMPARE(first.tryAcquire(), SingleInstance::Outcome::Acquired);
        SingleInstance second(words, runtime);
        QCOMPARE(second.tryAcquire(), SingleInstance::Outcome::HeldByAnotherCopy);
        // Another word file is another program's business.
        SingleInstance other(path("other.txt"), runtime);
        QCOMPARE(other.tryAcquire(), SingleInstance::Outcome::Acquired);
    }
    // Released when the first copy has gone.
    SingleInstance third(words, runtime);
    QCOMPARE(third.tryAcquire(), SingleInstance::Outcome::Acquired);
}

void TestSingleInstance::noLockAnywhereStillStarts() {
    SingleInstance copy(belowAFile("vokabo.txt"), belowAFile("runtime"));
    QCOMPARE(copy.tryAcquire(), SingleInstance::Outcome::Unavailable);
    QVERIFY(copy.failure().contains(QStringLiteral("plain-file")));
}

QTEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
