"""Desktop services that say "something keeps the screen awake" (a film, a talk) or "do not
disturb" from the start, until SIGUSR1 says it no longer does (SIGUSR2: again), with the
change signal the real service sends. The argument chooses which:

    gnome   org.gnome.SessionManager: IsInhibited(8), InhibitorAdded / InhibitorRemoved
    power   org.freedesktop.PowerManagement.Inhibit: HasInhibit, HasInhibitChanged
    banners GNOME's show-banners false, dconf's Notify
"""

import os
import signal
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

GNOME = "org.gnome.SessionManager"
POWER = "org.freedesktop.PowerManagement.Inhibit"
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


class Dconf(dbus.service.Object):
    """dconf's service, as GNOME Shell's "do not disturb" makes it write: the setting itself is in
    GSettings' key file (the program's gsettings reads it with GSETTINGS_BACKEND=keyfile)."""
    path, name = "/ca/desrt/dconf/Writer/user", "ca.desrt.dconf"

    @dbus.service.signal("ca.desrt.dconf.Writer", signature="sass")
    def Notify(self, prefix, paths, tag):
        pass

    def changed(self):
        folder = os.path.join(os.environ["XDG_CONFIG_HOME"], "glib-2.0", "settings")
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, "keyfile"), "w", encoding="utf-8") as f:
            f.write(f"[org/gnome/desktop/notifications]\nshow-banners={str(not self.on).lower()}\n")
        self.Notify("/org/gnome/desktop/notifications/", ["show-banners"], "")


KINDS = {"gnome": GnomeSession, "power": PowerManagement, "banners": Dconf}

DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
kind = KINDS[sys.argv[1]]
service = kind(bus, kind.path)
service.on = True
if kind is Dconf:
    service.changed()
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
