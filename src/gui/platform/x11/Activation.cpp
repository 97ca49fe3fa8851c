// On X11 a window manager compares the time of an activation request with
// the user's last input elsewhere, and refuses one that is older (GNOME
// Shell then says "… is ready" instead). Qt asks with the time of the last
// X event the program saw, which is old when the request comes from
// another copy of the program. A property change on one of the program's
// own windows brings back an event that carries the server's present time;
// once Qt has seen it, its activation is as fresh as the user's request.

#include "platform/Activation.h"

#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <xcb/xcb.h>

namespace {

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<uint16_t>(qstrlen(name)), name), nullptr);
    const xcb_atom_t found = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return found;
}

// Waits for the property change it made to come back, then hands over to
// the event loop, so that Qt has taken the event's time first.
class FreshTime : public QObject, public QAbstractNativeEventFilter {
public:
    FreshTime(QWidget* window, xcb_connection_t* c, xcb_atom_t marker, std::function<void()> then)
        : window_(window), id_(static_cast<xcb_window_t>(window->winId())), marker_(marker),
          then_(std::move(then)) {
        QCoreApplication::instance()->installNativeEventFilter(this);
        // Appending nothing changes nothing but still reports the time.
        xcb_change_property(c, XCB_PROP_MODE_APPEND, id_, marker_, XCB_ATOM_STRING, 8, 0, nullptr);
        xcb_flush(c);
        // Without an answer (no such event ever comes) the window comes
        // forward all the same.
        QTimer::singleShot(GiveUpMs, this, &FreshTime::done);
    }
    ~FreshTime() override {
        if (QCoreApplication::instance())
            QCoreApplication::instance()->removeNativeEventFilter(this);
    }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t" || finished_)
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
            return false;
        const auto* change = static_cast<const xcb_property_notify_event_t*>(message);
        if (change->window == id_ && change->atom == marker_)
            QTimer::singleShot(0, this, &FreshTime::done);
        return false;
    }

private:
    static constexpr int GiveUpMs = 500;

    void done() {
        if (finished_)
            return;
        finished_ = true;
        if (window_)
            then_();
        deleteLater();
    }

    QPointer<QWidget> window_;
    xcb_window_t id_;
    xcb_atom_t marker_;
    std::function<void()> then_;
    bool finished_ = false;
};

} // namespace

void prepareActivation(QWidget* window, const QByteArray& startupId,
                       std::function<void()> bringForward) {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection()) {
        bringForward();
        return;
    }
    xcb_connection_t* c = x11->connection();
    // The window exists on the X server from here on, shown or not.
    const auto id = static_cast<xcb_window_t>(window->winId());
    // A desktop that knows the id as one of its launches lets the window
    // take the keyboard (GNOME Shell activates it at once), and ends the
    // launch's busy pointer.
    if (!startupId.isEmpty())
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, atom(c, "_NET_STARTUP_ID"),
                            atom(c, "UTF8_STRING"), 8, static_cast<uint32_t>(startupId.size()),
                            startupId.constData());
    new FreshTime(window, c, atom(c, "_VOKABO_ACTIVATION"), std::move(bringForward));
}
