#include "platform/NotifyIconTray.h"

#include <QGuiApplication>
#include <QMenu>
#include <QSystemTrayIcon>

namespace NotifyIcon {

namespace {

// Long enough to read a sentence or two and where a file is.
constexpr int BalloonMs = 15000;

class TrayLayer : public Layer {
public:
    explicit TrayLayer(bool hostDrawsMenu) : hostDrawsMenu_(hostDrawsMenu) {
        // The xcb platform tells when a tray panel takes or leaves the tray
        // selection; other platforms give no notice. Its native interface is
        // a QObject (its first base) whose class is not public: the notice
        // is reached by name.
        if (QGuiApplication::platformName() != QStringLiteral("xcb"))
            return;
        auto* platform = reinterpret_cast<QObject*>(QGuiApplication::platformNativeInterface());
        if (platform)
            connect(platform, SIGNAL(systemTrayWindowChanged(QScreen*)), this,
                    SIGNAL(trayAvailabilityChanged()));
    }

    void add(const QIcon& icon, const QString& toolTip, QMenu* hostMenu) override {
        if (icon_)
            return;
        icon_ = new QSystemTrayIcon(this);
        if (hostDrawsMenu_ && hostMenu)
            icon_->setContextMenu(hostMenu);
        connect(icon_, &QSystemTrayIcon::activated, this,
                [this](QSystemTrayIcon::ActivationReason why) {
                    // These hosts' left click is the only one they report:
                    // it stands for the double-click.
                    if (hostDrawsMenu_ && why == QSystemTrayIcon::Trigger)
                        why = QSystemTrayIcon::DoubleClick;
                    emit activated(why);
                });
        modify(icon, toolTip);
        icon_->show();
    }

    void modify(const QIcon& icon, const QString& toolTip) override {
        if (!icon_)
            return;
        icon_->setIcon(icon);
        icon_->setToolTip(toolTip);
    }

    void remove() override {
        delete icon_;
        icon_ = nullptr;
    }

    void showMessage(const QString& title, const QString& text) override {
        if (icon_)
            icon_->showMessage(title, text, QSystemTrayIcon::Information, BalloonMs);
    }

    bool trayAvailable() const override { return QSystemTrayIcon::isSystemTrayAvailable(); }

private:
    bool hostDrawsMenu_;
    QSystemTrayIcon* icon_ = nullptr;
};

} // namespace

std::unique_ptr<Layer> createTrayLayer(bool hostDrawsMenu) {
    return std::make_unique<TrayLayer>(hostDrawsMenu);
}

} // namespace NotifyIcon
