#include "platform/Speech.h"

#include <QDeadlineTimer>
#include <QHash>
#include <QTextToSpeech>
#include <QThread>

namespace {
// How long the end of the program waits for a service that does not answer.
constexpr int ShutdownWaitMs = 2000;

// Everything that may wait for the service, in a thread of its own: Qt's
// speech-dispatcher engine connects and lists every voice (espeak-ng brings
// thousands) while it is being created, and its calls wait for answers.
class SpeechWorker : public QObject {
    Q_OBJECT
public:
    void connectToService() {
        const QStringList engines = QTextToSpeech::availableEngines();
        QHash<QLocale::Language, QLocale> voices;
        if (!engines.isEmpty()) {
            // speech-dispatcher on Linux desktops; elsewhere the system's own.
            engine_ = new QTextToSpeech(
                engines.contains(u"speechd") ? QStringLiteral("speechd") : QString(), this);
            // The engine reports an error when the system's own language has
            // no voice; the others still speak.
            for (const QLocale& locale : engine_->availableLocales()) {
                if (locale.language() == QLocale::C)
                    continue;
                // A language's main country where it has a voice (en_US for
                // English), else whichever comes first.
                const bool main = locale.territory() == QLocale(locale.language()).territory();
                if (main || !voices.contains(locale.language()))
                    voices.insert(locale.language(), locale);
            }
        }
        voices_ = voices;
        emit connected(voices.keys());
    }

    void say(const QString& text, QLocale::Language language) {
        const auto voice = voices_.constFind(language);
        if (!engine_ || voice == voices_.cend())
            return;
        if (engine_->locale() != *voice)
            engine_->setLocale(*voice);
        engine_->say(text);
    }

signals:
    void connected(const QList<QLocale::Language>& languages);

private:
    QTextToSpeech* engine_ = nullptr;
    QHash<QLocale::Language, QLocale> voices_;
};

class SpeechService : public Speech {
public:
    ~SpeechService() override {
        if (!thread_)
            return;
        thread_->quit();
        // A service that hangs must not keep the program from ending: its
        // thread is then left to the end of the process.
        if (thread_->wait(QDeadlineTimer(ShutdownWaitMs)))
            delete thread_;
    }

    void start() override {
        if (state_ != State::NotStarted)
            return;
        thread_ = new QThread;
        thread_->setObjectName(QStringLiteral("speech"));
        worker_ = new SpeechWorker;
        worker_->moveToThread(thread_);
        connect(thread_, &QThread::finished, worker_, &QObject::deleteLater);
        connect(worker_, &SpeechWorker::connected, this,
                [this](const QList<QLocale::Language>& languages) {
                    languages_ = languages;
                    setState(languages.isEmpty() ? State::Unavailable : State::Ready);
                });
        thread_->start();
        QMetaObject::invokeMethod(worker_, &SpeechWorker::connectToService, Qt::QueuedConnection);
        setState(State::Connecting);
    }

    State state() const override { return state_; }
    QList<QLocale::Language> languages() const override { return languages_; }

    void say(const QString& text, QLocale::Language language) override {
        if (!worker_ || state_ == State::Unavailable || text.trimmed().isEmpty())
            return;
        SpeechWorker* worker = worker_;
        QMetaObject::invokeMethod(
            worker_, [worker, text, language] { worker->say(text, language); },
            Qt::QueuedConnection);
    }

private:
    void setState(State state) {
        state_ = state;
        emit stateChanged();
    }

    State state_ = State::NotStarted;
    QList<QLocale::Language> languages_;
    QThread* thread_ = nullptr;
    SpeechWorker* worker_ = nullptr;
};
} // namespace

std::unique_ptr<Speech> createSpeech() {
    return std::make_unique<SpeechService>();
}

#include "Speech.moc"
