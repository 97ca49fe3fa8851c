"""Desktop services that say "something keeps the screen awake" (a film, a talk) or "do not
disturb" from the start, until SIGUSR1 says it no longer does (SIGUSR2: again), with the
change signal the real service sends. The argument chooses which:

    gnome   org.gnome.SessionManager: IsInhibited(8), InhibitorAdded / InhibitorRemoved
    power   org.freedesktop.PowerManagement.Inhibit: HasInhibit, HasInhibitChanged
    banners the desktop portal's settings: GNOME's show-banners false, SettingChanged
"""

import signal
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

GNOME = "org.gnome.SessionManager"
POWER = "org.freedesktop.PowerManagement.Inhibit"
PORTAL = "org.freedesktop.portal.Desktop"
SETTINGS = "org.freedesktop.portal.Settings"
NOTIFICATIONS = "org.gnome.desktop.notifications"
INHIBITOR = "/org/gnome/SessionManager/Inhibitor1"


class GnomeSession(dbus.service.Object):
    path, name = "/org/gnome/SessionManager", GNOME

    @dbus.service.method(GNOME, in_signature="u", out_signature="b")
    def IsInhibited(self, flags):
        return dbus.Boolean(self.on and bool(flags & 8))

    @dbus.service.signal(GNOME, signature="o")
    def InhibitorAdded(self, inhibitor):
        pass

    @dbus.service.signal(GNOME, signature="o")
    def InhibitorRemoved(self, inhibitor):
        pass

    def changed(self):
        (self.InhibitorAdded if self.on else self.InhibitorRemoved)(INHIBITOR)


class PowerManagement(dbus.service.Object):
    path, name = "/org/freedesktop/PowerManagement/Inhibit", POWER

    @dbus.service.method(POWER, out_signature="b")
    def HasInhibit(self):
        return dbus.Boolean(self.on)

    @dbus.service.signal(POWER, signature="b")
    def HasInhibitChanged(self, inhibited):
        pass

    def changed(self):
        self.HasInhibitChanged(dbus.Boolean(self.on))


class Portal(dbus.service.Object):
    path, name = "/org/freedesktop/portal/desktop", PORTAL

    def banners(self):
        return dbus.Boolean(not self.on, variant_level=1)

    @dbus.service.method(SETTINGS, in_signature="ss", out_signature="v")
    def Read(self, namespace, key):
        if (namespace, key) != (NOTIFICATIONS, "show-banners"):
            raise dbus.exceptions.DBusException(
                "no such setting", name="org.freedesktop.portal.Error.NotFound")
        # The portal wraps the value in a second variant.
        return dbus.Boolean(not self.on, variant_level=2)

    @dbus.service.signal(SETTINGS, signature="ssv")
    def SettingChanged(self, namespace, key, value):
        pass

    def changed(self):
        self.SettingChanged(NOTIFICATIONS, "show-banners", self.banners())


KINDS = {"gnome": GnomeSession, "power": PowerManagement, "banners": Portal}

DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
kind = KINDS[sys.argv[1]]
service = kind(bus, kind.path)
service.on = True
name = dbus.service.BusName(kind.name, bus)


def turn(on):
    service.on = on
    service.changed()
    return True


loop = GLib.MainLoop()
GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGUSR1, lambda: turn(False))
GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGUSR2, lambda: turn(True))
GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGTERM, lambda: loop.quit() or False)
loop.run()
