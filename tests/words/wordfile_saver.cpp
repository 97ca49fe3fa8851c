// Writes one of two versions of a word list to the given word file, turn
// about, until it is killed; prints "ready" once the first save is done.
// With --once it saves the first version once. A failed save prints why.
#include "words/ModVokabo.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    const bool once = argc == 3 && std::strcmp(argv[1], "--once") == 0;
    if (argc != 2 && !once)
        return 2;
    using ModVokabo::WordListKind;
    for (int round = 0;; ++round) {
        ModVokabo::WordStore words(QString::fromLocal8Bit(argv[argc - 1]), QString());
        for (int i = 0; i < 20000; ++i)
            words.AppendWord({QStringLiteral("word %1").arg(i),
                              QString::fromUtf8(round % 2 ? "ikinci" : "birinci"),
                              QStringLiteral("a sentence of some length for word %1").arg(i),
                              static_cast<qint16>(i % 7)},
                             WordListKind::Active);
        // Each round replaces what the last one wrote, unread.
        const ModVokabo::FileOutcome outcome =
            words.SaveWordFile(ModVokabo::WordStore::OutsideChanges::Overwrite);
        if (once || !outcome.ok) {
            std::fputs(outcome.reason.toUtf8().constData(), stdout);
            return outcome.ok ? 0 : 1;
        }
        if (round == 0) {
            std::puts("ready");
            std::fflush(stdout);
        }
    }
}
