#pragma once

#include "platform/NotifyIcon.h"

#include <QIcon>
#include <QObject>
#include <memory>

class QMenu;

// One icon with a tooltip in the notification area; mouse actions on it come
// out as MouseDown, Click, DblClick and MouseMove. Changing Icon or ToolTip
// shows only after Modify.
class TryIcn : public QObject {
    Q_OBJECT
public:
    explicit TryIcn(QObject* parent = nullptr,
                    std::unique_ptr<NotifyIcon::Layer> layer = NotifyIcon::createLayer());
    ~TryIcn() override;

    void Modify();
    void Remove();
    void Start();

    QIcon Icon() const { return Icon_; }
    void setIcon(const QIcon& New_Icon) { Icon_ = New_Icon; }
    QString ToolTip() const { return ToolTip_; }
    void setToolTip(const QString& New_ToolTip) { ToolTip_ = New_ToolTip; }
    // For tray hosts that draw the menu themselves.
    void setHostMenu(QMenu* menu) { hostMenu_ = menu; }

    const NotifyIcon::Data& record() const { return nid_; }

    enum class Event { None, MouseDown, Click, DblClick, MouseMove };
    struct Dispatch {
        Event event;
        int button; // 1 left, 2 right, 0 none
    };
    static constexpr Dispatch dispatchFor(int message) {
        switch (message) {
        case NotifyIcon::WM_MOUSEMOVE:
            return {Event::MouseMove, 0};
        case NotifyIcon::WM_LBUTTONDOWN:
            return {Event::MouseDown, 1};
        case NotifyIcon::WM_LBUTTONUP:
            return {Event::Click, 1};
        case NotifyIcon::WM_LBUTTONDBLCLK:
            return {Event::DblClick, 1};
        case NotifyIcon::WM_RBUTTONDOWN:
            return {Event::MouseDown, 2};
        case NotifyIcon::WM_RBUTTONUP:
            return {Event::Click, 2};
        case NotifyIcon::WM_RBUTTONDBLCLK:
            return {Event::DblClick, 2};
        default:
            return {Event::None, 0};
        }
    }

    // The tooltip as the record holds it: cut to leave room for the terminator.
    static QString tipField(const QString& tip);

signals:
    void MouseDown(int Button, int Shift, double X, double Y);
    void Click(int Button, int Shift, double X, double Y);
    void DblClick(int Button, int Shift, double X, double Y);
    void MouseMove(double X, double Y);

private:
    // The shell's notification, carrying the mouse message number.
    void picArea_MouseMove(int message);

    std::unique_ptr<NotifyIcon::Layer> layer_;
    NotifyIcon::Data nid_;
    QIcon Icon_;
    QString ToolTip_;
    QMenu* hostMenu_ = nullptr;
};
