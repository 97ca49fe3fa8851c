#include "ProductInfo.h"
#include "app/FormVokabo.h"
#include "app/Resources.h"
#include "history/AnswerHistory.h"
#include "platform/MsgBoxQt.h"
#include "platform/Paths.h"
#include "platform/SessionPlatform.h"
#include "platform/ShutdownSignals.h"
#include "platform/Speech.h"
#include "settings/Settings.h"
#include "words/ModVokabo.h"

#include <QApplication>
#include <QIcon>
#include <QSessionManager>
#include <cstdio>

namespace {
bool displayAvailable() {
#if defined(Q_OS_LINUX)
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
#else
    return true;
#endif
}
} // namespace

int main(int argc, char** argv) {
    if (!displayAvailable()) {
        std::fputs("Vokabo Retano needs a desktop: no display was found (DISPLAY and "
                   "WAYLAND_DISPLAY are not set).\nStart it from a desktop session, or "
                   "under a virtual display: xvfb-run -a ./vokabo\n",
                   stderr);
        return 2;
    }

    ignoreRelativeXdgFolders();
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QByteArray startupId = startupNotificationId(environment);
    const QByteArray platform = preferredQtPlatform(environment);
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
    QApplication app(argc, argv);
    // Only this program's choice: the browser it opens picks its own.
    if (!platform.isEmpty())
        qunsetenv("QT_QPA_PLATFORM");
    loadVokaboResources();
    // The application name is the class of the program's X windows, which
    // the desktop entry's StartupWMClass names.
    QApplication::setApplicationName(QStringLiteral("vokabo"));
    QGuiApplication::setDesktopFileName(ProductInfo::AppId);
    QApplication::setApplicationVersion(ProductInfo::Version);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/vokabo.svg")));
    // The program lives on in the notification area with no window open.
    QApplication::setQuitOnLastWindowClosed(false);
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"),
                              QStringLiteral("Liberation Serif"));
    installQtMsgBox();

    const QString commandLine = QApplication::arguments().mid(1).join(u' ');

    SettingsRecord settings;
    ModVokabo::WordStore words(locateWordFile());
    const std::unique_ptr<Speech> speech = createSpeech();
    // Beside the word file, so that the words and their history travel together.
    History::AnswerHistory history(History::pathBeside(words.wordFilePath()));
    history.follow(words);
    FormVokabo form(commandLine, settings, words, history, *speech);
    QObject::connect(&form, &FormVokabo::ended, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    // At once for a word file read within a moment, else once it is read.
    QObject::connect(&form, &FormVokabo::started, &form, &FormVokabo::showAsStarted);
    if (!form.Form_Load(startupId))
        return 0;
    // The first window with a speaker connects to the speech service; a user
    // who has questions read aloud has it ready for the first one.
    if (settings.seslendir())
        speech->start();

    // The system ends the program without waiting for anybody's answer.
    if (!installShutdownHandler([&form] { form.requestShutdown(FormVokabo::EndedBy::System); }))
        std::fputs("Vokabo Retano: SIGTERM, SIGINT and SIGHUP cannot be caught; they end the "
                   "program without its last save.\n",
                   stderr);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &form, [&form](QSessionManager&) {
        form.requestShutdown(FormVokabo::EndedBy::System);
    });

    const int code = QApplication::exec();
    // Something else ended the event loop (the session manager may): the
    // words are saved all the same.
    if (!form.hasEnded())
        form.requestShutdown(FormVokabo::EndedBy::System);
    return code;
}
