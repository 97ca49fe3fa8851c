// Writes one of two versions of a word list to the given word file, turn
// about, until it is killed; prints "ready" once the first save is done.
#include "words/ModVokabo.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    ModVokabo::setWordFilePath(QString::fromLocal8Bit(argv[1]));
    for (int round = 0;; ++round) {
        ModVokabo::ActiveWords.clear();
        const QString tag = round % 2 ? QStringLiteral("ikinci") : QStringLiteral("birinci");
        for (int i = 0; i < 20000; ++i)
            ModVokabo::AppendWord(QStringLiteral("word %1").arg(i), tag,
                                  QStringLiteral("a sentence of some length for word %1").arg(i),
                                  static_cast<qint16>(i % 7), QStringLiteral("A"));
        if (!ModVokabo::SaveWordFile().ok)
            return 1;
        if (round == 0) {
            std::puts("ready");
            std::fflush(stdout);
        }
    }
}
