#pragma once

#include <QIcon>
#include <QString>
#include <functional>
#include <memory>

class QMenu;

// The notification-area service: one record per icon, and add, modify and
// delete messages, as the shell knows them. Mouse actions on the icon come
// back through the callback as the window system's mouse message numbers.
namespace NotifyIcon {

inline constexpr int NIM_ADD = 0;
inline constexpr int NIM_MODIFY = 1;
inline constexpr int NIM_DELETE = 2;

inline constexpr unsigned NIF_MESSAGE = 1;
inline constexpr unsigned NIF_ICON = 2;
inline constexpr unsigned NIF_TIP = 4;
inline constexpr unsigned NIF_INFO = 0x10;

inline constexpr int WM_MOUSEMOVE = 0x200;
inline constexpr int WM_LBUTTONDOWN = 0x201;
inline constexpr int WM_LBUTTONUP = 0x202;
inline constexpr int WM_LBUTTONDBLCLK = 0x203;
inline constexpr int WM_RBUTTONDOWN = 0x204;
inline constexpr int WM_RBUTTONUP = 0x205;
inline constexpr int WM_RBUTTONDBLCLK = 0x206;

// Room for the tooltip, its terminator included.
inline constexpr int TipSize = 64;

struct Data {
    quint32 cbSize = 0;
    std::function<void(int message)> hWnd; // where mouse messages go
    quint32 uID = 0;
    quint32 uFlags = 0;
    quint32 uCallbackMessage = 0;
    QIcon hIcon;
    QString szTip;
    // A balloon message beside the icon, shown when NIF_INFO is set.
    QString szInfo;
    QString szInfoTitle;
    // Hosts that draw the menu themselves (StatusNotifierItem) get it here.
    QMenu* hostMenu = nullptr;
};

class Layer {
public:
    virtual ~Layer() = default;
    virtual bool Shell_NotifyIcon(int message, const Data& data) = 0;
    // Whether a notification area is there to hold the icon (the Windows
    // shell always has one; many Linux desktops have none).
    virtual bool trayAvailable() const { return true; }
    // changed runs whenever a notification area comes or goes.
    virtual void watchTray(std::function<void()> changed) { (void)changed; }
};

std::unique_ptr<Layer> createLayer();

} // namespace NotifyIcon
