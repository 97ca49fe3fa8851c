// Records answers in a history file as the program does, in a process of its
// own: one to be killed, one under a file-size limit, one run as another
// user. Arguments: the history file, then commands in order:
//   answer:WORD  records a right answer to WORD and prints "recorded"
//   limit:BYTES  no file may grow beyond BYTES from now on, as on a full disk
//   lift         raises the file-size limit as far as it goes
//   wait         prints "waiting" and waits to be killed
// Whatever the history tells the user is printed as "told: TITLE".
#include "history/AnswerHistory.h"
#include "platform/Clock.h"

#include <QCoreApplication>
#include <csignal>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    History::AnswerHistory history(QString::fromLocal8Bit(argv[1]));
    QObject::connect(&history, &History::AnswerHistory::trouble, [](const QString& title) {
        std::printf("told: %s\n", qPrintable(title));
        std::fflush(stdout);
    });
    history.open();
    for (int i = 2; i < argc; ++i) {
        const QByteArray command(argv[i]);
        if (command.startsWith("answer:")) {
            history.record({Now(), QString::fromUtf8(command.mid(7)), QStringLiteral("anlam"),
                            History::Direction::WordToMeaning, 4, true, 1, 1000, false});
            std::puts("recorded");
        } else if (command.startsWith("limit:")) {
            rlimit limit{};
            getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = command.mid(6).toULongLong();
            setrlimit(RLIMIT_FSIZE, &limit);
            // The write comes up short instead of ending the process.
            std::signal(SIGXFSZ, SIG_IGN);
        } else if (command == "lift") {
            rlimit limit{};
            getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = limit.rlim_max;
            setrlimit(RLIMIT_FSIZE, &limit);
        } else if (command == "wait") {
            std::puts("waiting");
            std::fflush(stdout);
            for (;;)
                pause();
        }
        std::fflush(stdout);
    }
}
