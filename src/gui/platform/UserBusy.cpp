#include "platform/UserBusy.h"

#include <QTimer>
#include <algorithm>
#include <utility>

namespace {
// Long enough for a desktop busy starting up; short enough that a question
// due then is not held for long by a service that never answers.
constexpr int FirstAnswerMs = 2000;
} // namespace

AnsweredWatch::AnsweredWatch() {
    QTimer::singleShot(FirstAnswerMs, this, [this] {
        if (std::exchange(waiting_, false) && !busy_)
            emit changed();
    });
}

void AnsweredWatch::answer(bool busy) {
    const bool before = this->busy();
    busy_ = busy;
    waiting_ = false;
    if (this->busy() != before)
        emit changed();
}

AnyBusy::AnyBusy(std::vector<std::unique_ptr<UserBusy>> watches) : watches_(std::move(watches)) {
    std::erase(watches_, nullptr);
    for (const auto& watch : watches_)
        connect(watch.get(), &UserBusy::changed, this, &UserBusy::changed);
}

bool AnyBusy::busy() {
    return std::ranges::any_of(watches_, [](const auto& watch) { return watch->busy(); });
}

std::unique_ptr<UserBusy> createUserBusy() {
    std::vector<std::unique_ptr<UserBusy>> watches;
    watches.push_back(createFullScreenWatch());
    watches.push_back(createDoNotDisturbWatch());
    watches.push_back(createIdleInhibitorWatch());
    return std::make_unique<AnyBusy>(std::move(watches));
}
