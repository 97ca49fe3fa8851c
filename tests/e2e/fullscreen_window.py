"""A full-screen window, as a video call or a presentation has: it leaves full screen on
SIGUSR1 and goes back on SIGUSR2."""

import signal

import gi

gi.require_version("Gtk", "3.0")
from gi.repository import GLib, Gtk  # noqa: E402

window = Gtk.Window(title="Tam ekran sunum")
window.add(Gtk.Label(label="Sunum"))
window.connect("destroy", Gtk.main_quit)
window.show_all()
window.fullscreen()
GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGUSR1, lambda: window.unfullscreen() or True)
GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGUSR2, lambda: window.fullscreen() or True)
GLib.unix_signal_add(GLib.PRIORITY_DEFAULT, signal.SIGTERM, lambda: Gtk.main_quit() or False)
Gtk.main()
