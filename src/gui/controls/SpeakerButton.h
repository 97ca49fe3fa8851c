#pragma once

#include <QToolButton>

class Speech;

// A small button with a loudspeaker on it that has something read aloud. It
// can be pressed only while the speech service is ready; until then its
// tooltip says why not. Showing one connects to the service.
class SpeakerButton : public QToolButton {
    Q_OBJECT
public:
    // readyTip: what the tooltip says while the service is ready.
    SpeakerButton(Speech& speech, const QString& readyTip, QWidget* parent);

private:
    void followSpeech();

    Speech& speech_;
    const QString readyTip_;
};
