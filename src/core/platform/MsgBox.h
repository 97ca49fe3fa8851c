#pragma once

#include <QString>
#include <functional>

// Message boxes as the program uses them: a prompt, a style made of a button
// set plus an icon, and a title; the answer is the button that was pressed.
// The handler is installed by the GUI; tests install a scripted one.
namespace MsgBoxStyle {
enum : int {
    OkOnly = 0,
    AbortRetryIgnore = 2,
    YesNo = 4,
    ButtonMask = 0x7,

    Critical = 16,
    Question = 32,
    Exclamation = 48,
    Information = 64,
    IconMask = 0x70,

    DefaultButton2 = 256,
    // Above every other window, those kept on top too.
    SystemModal = 4096,
};
} // namespace MsgBoxStyle

enum class MsgBoxResult { Ok = 1, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

using MsgBoxHandler =
    std::function<MsgBoxResult(const QString& prompt, int style, const QString& title)>;

// The first button of the style's set.
MsgBoxResult firstButton(int style);

// Installs the handler and returns the previous one.
MsgBoxHandler setMsgBoxHandler(MsgBoxHandler handler);

MsgBoxResult MsgBox(const QString& prompt, int style, const QString& title);
