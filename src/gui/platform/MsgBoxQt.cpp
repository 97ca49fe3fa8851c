#include "platform/MsgBoxQt.h"

#include "platform/ModalLoops.h"
#include "platform/Topmost.h"

#include <QApplication>
#include <QGridLayout>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <utility>
#include <vector>

namespace {
struct ButtonDef {
    MsgBoxResult result;
    const char16_t* text;
    QMessageBox::ButtonRole role;
};

std::vector<ButtonDef> buttonsFor(int style) {
    using R = MsgBoxResult;
    switch (style & MsgBoxStyle::ButtonMask) {
    case MsgBoxStyle::AbortRetryIgnore:
        return {{R::Abort, u"Vazgeç", QMessageBox::RejectRole},
                {R::Retry, u"Tekrar Dene", QMessageBox::AcceptRole},
                {R::Ignore, u"Kaydetmeden Çık", QMessageBox::DestructiveRole}};
    case MsgBoxStyle::YesNo:
        return {{R::Yes, u"Evet", QMessageBox::YesRole}, {R::No, u"Hayır", QMessageBox::NoRole}};
    default:
        return {{R::Ok, u"Tamam", QMessageBox::AcceptRole}};
    }
}

QMessageBox::Icon iconFor(int style) {
    switch (style & MsgBoxStyle::IconMask) {
    case MsgBoxStyle::Critical:
        return QMessageBox::Critical;
    case MsgBoxStyle::Question:
        return QMessageBox::Question;
    case MsgBoxStyle::Exclamation:
        return QMessageBox::Warning;
    case MsgBoxStyle::Information:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// The answer of a box closed without a button (Esc, the close box, or the
// program closing it at shut-down): the set's cautious choice, its rejecting
// button where it has one.
MsgBoxResult closedAnswer(const std::vector<ButtonDef>& defs) {
    for (const ButtonDef& def : defs)
        if (def.role == QMessageBox::RejectRole || def.role == QMessageBox::NoRole)
            return def.result;
    return defs.front().result;
}

// A box sized to a short prompt can be narrower than its title, which the
// window manager then cuts ("Örne…ümle"): the box is made wide enough for it,
// with room for the title bar's icon and buttons.
void keepTitleWhole(QMessageBox* box, const QString& title) {
    constexpr int TitleBarExtras = 120;
    QFont titleFont = box->font();
    titleFont.setBold(true);
    const int width = QFontMetrics(titleFont).horizontalAdvance(title) + TitleBarExtras;
    if (auto* grid = qobject_cast<QGridLayout*>(box->layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
}
} // namespace

MsgBoxResult showQtMessageBox(QWidget* parent, const QString& prompt, int style,
                              const QString& title) {
    // On the heap: the box goes with its parent window if that closes first.
    auto* box = new QMessageBox(iconFor(style), title, prompt, QMessageBox::NoButton, parent);
    const QPointer<QMessageBox> guard(box);
    // Prompts quote the user's words: shown as typed, never as markup.
    box->setTextFormat(Qt::PlainText);
    keepTitleWhole(box, title);
    const std::vector<ButtonDef> defs = buttonsFor(style);
    std::vector<std::pair<QAbstractButton*, MsgBoxResult>> buttons;
    for (const ButtonDef& def : defs)
        buttons.emplace_back(box->addButton(QString::fromUtf16(def.text), def.role), def.result);

    std::size_t defaultIndex = 0;
    if (style & MsgBoxStyle::DefaultButton2)
        defaultIndex = 1;
    defaultIndex = std::min(defaultIndex, buttons.size() - 1);
    box->setDefaultButton(qobject_cast<QPushButton*>(buttons[defaultIndex].first));
    if (style & MsgBoxStyle::SystemModal)
        box->setWindowFlag(Qt::WindowStaysOnTopHint);
    // Esc answers with the cancelling button where the set has one.
    if (buttons.size() == 1)
        box->setEscapeButton(buttons.front().first);

    ModalLoops::exec(box);
    if (!guard)
        return closedAnswer(defs);
    const QAbstractButton* clicked = box->clickedButton();
    delete box;
    for (const auto& [button, result] : buttons)
        if (clicked == button)
            return result;
    return closedAnswer(defs);
}

QMessageBox* showQtNotice(QWidget* owner, const QString& prompt, const QString& title) {
    // Not the owner's child window: a window manager would bring a minimised
    // owner back with it.
    auto* box =
        new QMessageBox(QMessageBox::Information, title, prompt, QMessageBox::NoButton, nullptr);
    if (owner)
        QObject::connect(owner, &QObject::destroyed, box, [box] { delete box; });
    box->setTextFormat(Qt::PlainText);
    keepTitleWhole(box, title);
    box->setDefaultButton(box->addButton(QStringLiteral("Tamam"), QMessageBox::AcceptRole));
    box->setWindowModality(Qt::NonModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // It waits for nothing: the keyboard stays where the user has it. A
    // window that does not take the keyboard goes under the active one
    // (KWin, GNOME Shell), where nobody reads it, unless it stays on top;
    // as a pop-up it is not announced as "ready" either.
    box->setAttribute(Qt::WA_ShowWithoutActivating);
    box->setWindowFlags(popUpWindowType() | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                        Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    box->show();
    return box;
}

void installQtMsgBox() {
    setMsgBoxHandler([](const QString& prompt, int style, const QString& title) {
        return showQtMessageBox(QApplication::activeWindow(), prompt, style, title);
    });
}
