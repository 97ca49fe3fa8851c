// Tries to take a word file's lock, as a copy of the program started by
// whoever runs this would, and says how it went: the outcome's number, then
// who holds the lock, then 1 when that is another login.
#include "platform/SingleInstance.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    SingleInstance copy(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
    const SingleInstance::Outcome outcome = copy.tryAcquire();
    std::printf("%d %s %d\n", int(outcome), qPrintable(copy.holder().user),
                int(copy.holder().otherUser));
    return 0;
}
