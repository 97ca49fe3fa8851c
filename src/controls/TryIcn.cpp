#include "controls/TryIcn.h"

#include "platform/Twips.h"

#include <QCoreApplication>
#include <QPointer>

TryIcn::TryIcn(QObject* parent, std::unique_ptr<NotifyIcon::Layer> layer)
    : QObject(parent), layer_(std::move(layer)) {}

TryIcn::~TryIcn() {
    // The icon never outlives its owner.
    Remove();
}

QString TryIcn::tipField(const QString& tip) {
    return tip.left(NotifyIcon::TipSize - 1);
}

void TryIcn::Start() {
    nid_.cbSize = 88;
    QPointer<TryIcn> self(this);
    nid_.hWnd = [self](int message) {
        if (self)
            self->picArea_MouseMove(message);
    };
    nid_.uID = 1;
    nid_.uFlags = NotifyIcon::NIF_MESSAGE | NotifyIcon::NIF_ICON | NotifyIcon::NIF_TIP;
    nid_.uCallbackMessage = NotifyIcon::WM_MOUSEMOVE;
    nid_.hIcon = Icon_;
    nid_.szTip = tipField(ToolTip_);
    nid_.hostMenu = hostMenu_;
    layer_->Shell_NotifyIcon(NotifyIcon::NIM_ADD, nid_);
}

void TryIcn::Modify() {
    nid_.hIcon = Icon_;
    nid_.szTip = tipField(ToolTip_);
    layer_->Shell_NotifyIcon(NotifyIcon::NIM_MODIFY, nid_);
}

void TryIcn::Remove() {
    layer_->Shell_NotifyIcon(NotifyIcon::NIM_DELETE, nid_);
}

void TryIcn::picArea_MouseMove(int message) {
    // The position report carries the message number, not a place on screen;
    // it is handed on as it came.
    const double X = pixelsToTwips(message);
    const double Y = 0;
    const int Shift = 0;
    QPointer<TryIcn> self(this);
    // Let the window system catch up before the owner reacts.
    QCoreApplication::processEvents();
    if (!self)
        return;
    const Dispatch d = dispatchFor(message);
    switch (d.event) {
    case Event::MouseDown:
        emit MouseDown(d.button, Shift, X, Y);
        break;
    case Event::Click:
        emit Click(d.button, Shift, X, Y);
        break;
    case Event::DblClick:
        emit DblClick(d.button, Shift, X, Y);
        break;
    case Event::MouseMove:
        emit MouseMove(X, Y);
        break;
    case Event::None:
        break;
    }
}
