#include "controls/TryIcn.h"

TryIcn::TryIcn(QObject* parent, std::unique_ptr<NotifyIcon::Layer> layer)
    : QObject(parent), layer_(layer.release()) {
    layer_->setParent(this);
    connect(layer_, &NotifyIcon::Layer::activated, this, &TryIcn::activated);
    connect(layer_, &NotifyIcon::Layer::trayAvailabilityChanged, this,
            &TryIcn::TrayAvailabilityChanged);
}

TryIcn::~TryIcn() {
    // The icon never outlives its owner.
    Remove();
}

void TryIcn::Start() {
    layer_->add(Icon_, tipField(ToolTip_), hostMenu_);
}

void TryIcn::Modify() {
    layer_->modify(Icon_, tipField(ToolTip_));
}

void TryIcn::ShowBalloon(const QString& title, const QString& text) {
    layer_->showMessage(title, text);
}

void TryIcn::Remove() {
    layer_->remove();
}
