#include "controls/TryIcn.h"

#include <QPointer>

TryIcn::TryIcn(QObject* parent, std::unique_ptr<NotifyIcon::Layer> layer)
    : QObject(parent), layer_(std::move(layer)) {
    layer_->watchTray([this] { emit TrayAvailabilityChanged(); });
}

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

void TryIcn::ShowBalloon(const QString& title, const QString& text) {
    NotifyIcon::Data balloon = nid_;
    balloon.uFlags = NotifyIcon::NIF_INFO;
    balloon.szInfoTitle = title;
    balloon.szInfo = text;
    layer_->Shell_NotifyIcon(NotifyIcon::NIM_MODIFY, balloon);
}

void TryIcn::Remove() {
    layer_->Shell_NotifyIcon(NotifyIcon::NIM_DELETE, nid_);
}

void TryIcn::picArea_MouseMove(int message) {
    switch (message) {
    case NotifyIcon::WM_LBUTTONDOWN:
        emit MouseDown(1);
        break;
    case NotifyIcon::WM_RBUTTONDOWN:
        emit MouseDown(2);
        break;
    case NotifyIcon::WM_LBUTTONDBLCLK:
        emit DblClick(1);
        break;
    case NotifyIcon::WM_RBUTTONDBLCLK:
        emit DblClick(2);
        break;
    default: // moves, releases and the rest are not the owner's concern
        break;
    }
}
