#include "platform/UserBusy.h"

#include <algorithm>

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
