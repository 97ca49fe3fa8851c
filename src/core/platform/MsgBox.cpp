#include "platform/MsgBox.h"

#include <utility>

// Without a handler nothing can be shown; the first button of the set is the
// answer, which is also what an unattended dialog's default would give.
MsgBoxResult firstButton(int style) {
    switch (style & MsgBoxStyle::ButtonMask) {
    case MsgBoxStyle::AbortRetryIgnore:
        return MsgBoxResult::Abort;
    case MsgBoxStyle::YesNo:
        return MsgBoxResult::Yes;
    default:
        return MsgBoxResult::Ok;
    }
}

namespace {
MsgBoxHandler& handler() {
    static MsgBoxHandler h;
    return h;
}
} // namespace

MsgBoxHandler setMsgBoxHandler(MsgBoxHandler h) {
    return std::exchange(handler(), std::move(h));
}

MsgBoxResult MsgBox(const QString& prompt, int style, const QString& title) {
    if (handler())
        return handler()(prompt, style, title);
    return firstButton(style);
}
