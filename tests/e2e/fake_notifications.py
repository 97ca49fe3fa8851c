"""A notification service on the session bus that has "do not disturb" on from the start:
its Inhibited property is true until SIGUSR1 turns it off (SIGUSR2 turns it on again), with
the PropertiesChanged signal a desktop's service sends. With an argument, a number of
milliseconds, it answers each question that late, as a desktop busy starting up does."""

import signal
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

NAME = "org.freedesktop.Notifications"
PATH = "/org/freedesktop/Notifications"
PROPERTIES = "org.freedesktop.DBus.Properties"
ANSWER_AFTER_MS = int(sys.argv[1]) if len(sys.argv) > 1 else 0


class Notifications(dbus.service.Object):
    def __init__(self, bus):
        super().__init__(bus, PATH)
        self.inhibited = True

    @dbus.service.method(NAME, out_signature="as")
    def GetCapabilities(self):
        return ["body"]

    @dbus.service.method(NAME, out_signature="ssss")
    def GetServerInformation(self):
        return ("fake", "vokabo-e2e", "1", "1.2")

    @dbus.service.method(PROPERTIES, in_signature="ss", out_signature="v",
                         async_callbacks=("reply", "error"))
    def Get(self, interface, name, reply, error):
        def answer():
            if interface == NAME and name == "Inhibited":
                reply(dbus.Boolean(self.inhibited))
            else:
                error(dbus.exceptions.DBusException(
                    "no such property", name="org.freedesktop.DBus.Error.UnknownProperty"))
            return False
        GLib.timeout_add(ANSWER_AFTER_MS, answer)

    @dbus.service.method(PROPERTIES, in_signature="s", out_signature="a{sv}")
    def GetAll(self, interface):
        return {"Inhibited": dbus.Boolean(self.inhibited)} if interface == NAME else {}

    @dbus.service.signal(PROPERTIES, signature="sa{sv}as")
    def PropertiesChanged(self, interface, changed, invalidated):
        pass

    def set(self, inhibited):
        self.inhibited = inhibited
        self.PropertiesChanged(NAME, {"Inhibited": dbus.Boolean(inhibited)}, [])
        return True


DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
service = Notifications(bus)
name = dbus.service.BusName(NAME, bus)
loop = GLib.MainLoop()
GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGUSR1, lambda: service.set(False))
GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGUSR2, lambda: service.set(True))
GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGTERM, lambda: loop.quit() or False)
loop.run()
