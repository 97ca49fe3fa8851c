#include "platform/Speech.h"

namespace {
// Built without Qt's speech module: there is nothing to connect to.
class NoSpeech : public Speech {
public:
    void start() override {
        if (state_ != State::NotStarted)
            return;
        state_ = State::Unavailable;
        emit stateChanged();
    }
    State state() const override { return state_; }
    QList<QLocale::Language> languages() const override { return {}; }
    void say(const QString&, QLocale::Language) override {}

private:
    State state_ = State::NotStarted;
};
} // namespace

std::unique_ptr<Speech> createSpeech() {
    return std::make_unique<NoSpeech>();
}
