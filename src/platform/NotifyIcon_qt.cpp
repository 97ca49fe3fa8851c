#include "platform/NotifyIconTray.h"

#include <QGuiApplication>
#include <QMenu>
#include <QSystemTrayIcon>
#include <array>
#include <map>

namespace NotifyIcon {

TrayWatch::TrayWatch(std::function<void()> changed) : changed_(std::move(changed)) {
    // The xcb platform tells when a tray panel takes or leaves the tray
    // selection. Its native interface is a QObject (its first base) whose
    // class is not public: the notice is reached by name.
    if (QGuiApplication::platformName() != QStringLiteral("xcb"))
        return;
    auto* platform = reinterpret_cast<QObject*>(QGuiApplication::platformNativeInterface());
    if (platform)
        connect(platform, SIGNAL(systemTrayWindowChanged(QScreen*)), this,
                SLOT(trayWindowChanged()));
}

void TrayWatch::trayWindowChanged() {
    changed_();
}

namespace {

// Long enough to read a sentence or two and where a file is.
constexpr int BalloonMs = 15000;

class TrayLayer : public Layer {
public:
    explicit TrayLayer(bool hostDrawsMenu) : hostDrawsMenu_(hostDrawsMenu) {}

    bool Shell_NotifyIcon(int message, const Data& data) override {
        switch (message) {
        case NIM_ADD:
            return add(data);
        case NIM_MODIFY:
            return modify(data);
        case NIM_DELETE:
            return icons_.erase(data.uID) > 0;
        default:
            return false;
        }
    }

    bool trayAvailable() const override { return QSystemTrayIcon::isSystemTrayAvailable(); }

    void watchTray(std::function<void()> changed) override {
        watch_ = std::make_unique<TrayWatch>(std::move(changed));
    }

private:
    bool add(const Data& data) {
        if (data.cbSize == 0 || icons_.count(data.uID))
            return false;
        auto icon = std::make_unique<QSystemTrayIcon>();
        const bool sni = hostDrawsMenu_;
        if (sni && data.hostMenu)
            icon->setContextMenu(data.hostMenu);
        if (data.uFlags & NIF_MESSAGE) {
            QObject::connect(icon.get(), &QSystemTrayIcon::activated, icon.get(),
                             [callback = data.hWnd, sni](QSystemTrayIcon::ActivationReason why) {
                                 for (int msg : messagesFor(why, sni))
                                     if (msg && callback)
                                         callback(msg);
                             });
        }
        QSystemTrayIcon* raw = icon.get();
        icons_[data.uID] = std::move(icon);
        apply(*raw, data);
        raw->show();
        return true;
    }

    bool modify(const Data& data) {
        const auto it = icons_.find(data.uID);
        if (data.cbSize == 0 || it == icons_.end())
            return false;
        apply(*it->second, data);
        return true;
    }

    static void apply(QSystemTrayIcon& icon, const Data& data) {
        if (data.uFlags & NIF_ICON)
            icon.setIcon(data.hIcon);
        if (data.uFlags & NIF_TIP)
            icon.setToolTip(data.szTip);
        if ((data.uFlags & NIF_INFO) && !data.szInfo.isEmpty())
            icon.showMessage(data.szInfoTitle, data.szInfo, QSystemTrayIcon::Information,
                             BalloonMs);
    }

    bool hostDrawsMenu_;
    std::unique_ptr<TrayWatch> watch_;
    std::map<quint32, std::unique_ptr<QSystemTrayIcon>> icons_;
};

} // namespace

std::array<int, 3> messagesFor(QSystemTrayIcon::ActivationReason why, bool hostDrawsMenu) {
    switch (why) {
    case QSystemTrayIcon::Trigger:
        if (hostDrawsMenu) // a left click is all these hosts report
            return {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK};
        return {WM_LBUTTONDOWN, WM_LBUTTONUP, 0};
    case QSystemTrayIcon::Context:
        return {WM_RBUTTONDOWN, WM_RBUTTONUP, 0};
    case QSystemTrayIcon::DoubleClick:
        return {WM_LBUTTONDBLCLK, 0, 0};
    default:
        return {0, 0, 0};
    }
}

std::unique_ptr<Layer> createTrayLayer(bool hostDrawsMenu) {
    return std::make_unique<TrayLayer>(hostDrawsMenu);
}

} // namespace NotifyIcon
