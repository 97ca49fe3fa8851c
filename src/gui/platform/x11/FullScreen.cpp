// The active window's full-screen state on X11, followed through the
// property changes the window manager makes (_NET_ACTIVE_WINDOW on the root
// window, _NET_WM_STATE on the active one): nothing is polled.

#include "platform/UserBusy.h"

#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <QWindow>
#include <algorithm>
#include <xcb/xcb.h>

namespace {

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(c, 0, static_cast<uint16_t>(qstrlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, cookie, nullptr);
    const xcb_atom_t found = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return found;
}

// The 32-bit values of a window's property; empty when it has none.
QList<uint32_t> windowProperty(xcb_connection_t* c, xcb_window_t window, xcb_atom_t name,
                               xcb_atom_t type, uint32_t most = 64) {
    QList<uint32_t> values;
    const xcb_get_property_cookie_t cookie = xcb_get_property(c, 0, window, name, type, 0, most);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(c, cookie, nullptr);
    if (reply && reply->format == 32) {
        const auto* data = static_cast<const uint32_t*>(xcb_get_property_value(reply));
        values = QList<uint32_t>(data, data + xcb_get_property_value_length(reply) / 4);
    }
    free(reply);
    return values;
}

class FullScreenWatch : public UserBusy, public QAbstractNativeEventFilter {
public:
    FullScreenWatch(xcb_connection_t* c, xcb_window_t root) : c_(c), root_(root) {
        activeWindow_ = atom(c, "_NET_ACTIVE_WINDOW");
        stacking_ = atom(c, "_NET_CLIENT_LIST_STACKING");
        wmState_ = atom(c, "_NET_WM_STATE");
        fullScreen_ = atom(c, "_NET_WM_STATE_FULLSCREEN");
        hidden_ = atom(c, "_NET_WM_STATE_HIDDEN");
        watchProperties(root_);
        QCoreApplication::instance()->installNativeEventFilter(this);
        followActiveWindow();
    }
    ~FullScreenWatch() override {
        if (QCoreApplication::instance())
            QCoreApplication::instance()->removeNativeEventFilter(this);
        unwatchActive();
    }

    bool busy() override { return isFullScreen_; }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        switch (event->response_type & 0x7f) {
        case XCB_PROPERTY_NOTIFY: {
            const auto* change = static_cast<const xcb_property_notify_event_t*>(message);
            if (change->window == root_ && change->atom == activeWindow_)
                followActiveWindow();
            else if (change->window == active_ && change->atom == wmState_)
                readState();
            break;
        }
        // The window closed or went out of sight, perhaps while another
        // had the keyboard (one of the program's own, which the window
        // manager gives it when a full-screen window closes).
        case XCB_UNMAP_NOTIFY:
            if (static_cast<const xcb_unmap_notify_event_t*>(message)->window == active_)
                forgetActive();
            break;
        case XCB_DESTROY_NOTIFY:
            if (static_cast<const xcb_destroy_notify_event_t*>(message)->window == active_)
                forgetActive();
            break;
        default:
            break;
        }
        return false;
    }

private:
    // Adds the property changes (and the window's own unmapping and end) to
    // what this program already hears from the window (Qt listens on its
    // own windows and on the root); returns what it heard before.
    uint32_t watchProperties(xcb_window_t window,
                             uint32_t wanted = XCB_EVENT_MASK_PROPERTY_CHANGE) {
        xcb_get_window_attributes_reply_t* attributes =
            xcb_get_window_attributes_reply(c_, xcb_get_window_attributes(c_, window), nullptr);
        if (!attributes)
            return XCB_EVENT_MASK_NO_EVENT;
        const uint32_t before = attributes->your_event_mask;
        free(attributes);
        const uint32_t mask = before | wanted;
        if (mask != before)
            xcb_discard_reply(
                c_, xcb_change_window_attributes_checked(c_, window, XCB_CW_EVENT_MASK, &mask)
                        .sequence);
        return before;
    }

    // More windows than anyone keeps open.
    static constexpr uint32_t MostWindows = 4096;

    static constexpr uint32_t ActiveMask =
        XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_STRUCTURE_NOTIFY;

    void unwatchActive() {
        if (active_ == XCB_WINDOW_NONE || (maskBefore_ & ActiveMask) == ActiveMask)
            return;
        // The window may be gone already: its error is of no interest.
        xcb_discard_reply(
            c_, xcb_change_window_attributes_checked(c_, active_, XCB_CW_EVENT_MASK, &maskBefore_)
                    .sequence);
        xcb_flush(c_);
    }

    void followActiveWindow() {
        const QList<uint32_t> active = windowProperty(c_, root_, activeWindow_, XCB_ATOM_WINDOW);
        const xcb_window_t window =
            active.isEmpty() ? xcb_window_t(XCB_WINDOW_NONE) : active.first();
        // One of this program's own windows (a question the user clicked, a
        // progress window flashing by) says nothing about what he is busy
        // with: the window he was in stays the one that counts, as long as
        // it is still there and full screen. The focus falls to the main
        // window when a full-screen window closes, and nothing else would
        // tell that it has gone. No active window at all, as the window
        // manager sets for a moment while it moves the keyboard, says
        // nothing either: a window that closes says so itself.
        if (window == XCB_WINDOW_NONE || ownWindow(window)) {
            // Known no window he was in (the program has just started, and
            // the window manager gave the keyboard to its main window): the
            // nearest window below that is not the program's stands for it.
            if (active_ == XCB_WINDOW_NONE)
                watch(topmostOther());
            readState();
            return;
        }
        watch(window);
        readState();
    }

    void watch(xcb_window_t window) {
        if (window != active_) {
            unwatchActive();
            active_ = window;
            if (active_ != XCB_WINDOW_NONE)
                maskBefore_ = watchProperties(active_, ActiveMask);
            xcb_flush(c_);
        }
    }

    xcb_window_t topmostOther() {
        const QList<uint32_t> stack =
            windowProperty(c_, root_, stacking_, XCB_ATOM_WINDOW, MostWindows);
        // A window on its way out may still be listed: only one in sight counts.
        const auto other = std::find_if(stack.rbegin(), stack.rend(), [this](uint32_t window) {
            return !ownWindow(window) && inSight(window);
        });
        return other == stack.rend() ? xcb_window_t(XCB_WINDOW_NONE) : *other;
    }

    bool inSight(xcb_window_t window) {
        xcb_get_window_attributes_reply_t* attributes =
            xcb_get_window_attributes_reply(c_, xcb_get_window_attributes(c_, window), nullptr);
        const bool viewable = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
        free(attributes);
        return viewable;
    }

    void forgetActive() {
        active_ = XCB_WINDOW_NONE;
        readState();
    }

    static bool ownWindow(xcb_window_t window) {
        const QWindowList windows = QGuiApplication::allWindows();
        return window != XCB_WINDOW_NONE &&
               std::any_of(windows.begin(), windows.end(), [window](const QWindow* w) {
                   return w->handle() && w->winId() == window;
               });
    }

    void readState() {
        // A window that is gone has no state; a minimised one is not seen.
        const QList<uint32_t> state = active_ == XCB_WINDOW_NONE
                                          ? QList<uint32_t>()
                                          : windowProperty(c_, active_, wmState_, XCB_ATOM_ATOM);
        const bool now = state.contains(fullScreen_) && !state.contains(hidden_);
        if (now == isFullScreen_)
            return;
        isFullScreen_ = now;
        emit changed();
    }

    xcb_connection_t* c_;
    xcb_window_t root_;
    xcb_atom_t activeWindow_;
    xcb_atom_t stacking_;
    xcb_atom_t wmState_;
    xcb_atom_t fullScreen_;
    xcb_atom_t hidden_;
    xcb_window_t active_ = XCB_WINDOW_NONE;
    uint32_t maskBefore_ = XCB_EVENT_MASK_NO_EVENT;
    bool isFullScreen_ = false;
};

} // namespace

std::unique_ptr<UserBusy> createFullScreenWatch() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection())
        return nullptr;
    xcb_connection_t* c = x11->connection();
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    if (!screen)
        return nullptr;
    return std::make_unique<FullScreenWatch>(c, screen->root);
}
