#pragma once

#include <QList>
#include <QLocale>
#include <QObject>
#include <QString>
#include <memory>

// The desktop's speech service, which reads words aloud. Connecting to it can
// take seconds (the service may have to start and list thousands of voices),
// so it happens away from the windows: start() returns at once, and
// stateChanged() tells when the service is ready or was not found.
class Speech : public QObject {
    Q_OBJECT
public:
    enum class State {
        NotStarted,
        Connecting,
        Ready,
        // No service, or one without a single voice.
        Unavailable,
    };

    using QObject::QObject;

    // Connects to the service, once; later calls do nothing.
    virtual void start() = 0;
    virtual State state() const = 0;
    // The languages the service has a voice for, in no particular order;
    // empty until it is ready.
    virtual QList<QLocale::Language> languages() const = 0;
    // Reads text aloud in a voice of language, cutting short what is being
    // read. While connecting, it is read once the service is ready; without
    // a service, or a voice of that language, nothing is.
    virtual void say(const QString& text, QLocale::Language language) = 0;

signals:
    void stateChanged();
};

// The speech service of this desktop; Unavailable once started where the
// program was built without one.
std::unique_ptr<Speech> createSpeech();
