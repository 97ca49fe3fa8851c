"""Questions that wait: for a full-screen window, for the desktop's "do not disturb", and for
a pause chosen in the tray menu."""

import datetime
import re
import signal
import time

from e2e_steps import *  # noqa: F401,F403 - the shared steps and texts

QUESTIONS_ON = {SOR_DAK: "5"}
DURAKLAT = "Vokabo\\duraklat"
PRESENTATION = "Tam ekran sunum"
# An end on another day than today names its day first.
PAUSED_TIP = re.compile(r"Sorular (?:\d+ \w+ )?(\d\d):(\d\d)'(a|e|ya|ye) kadar duraklatıldı")
# A pause as an earlier run stored it: an hour on, in UTC.
PAUSE_END = (datetime.datetime.now(datetime.timezone.utc) + datetime.timedelta(hours=1)).replace(
    second=0, microsecond=0)


def question_mapped(d):
    return d.mapped_windows(QUESTION_NEW)


def no_question_for(c, d, what, seconds=3.0):
    c.check(f"no question while {what}",
            holds_for(f"no question while {what}", lambda: not question_mapped(d), seconds))


def started_in_tray(c, d, env=None):
    """The program started into the tray; its first question is due at once."""
    prog = d.start_program(["-o"], env=env)
    c.needs("tray icon sits in the tray", d.tray_icon)
    c.needs("the program is on the accessibility bus", prog.app)
    return prog


def active_presentation(d, c):
    """A full-screen presentation window, up and active: its helper process and its window."""
    presentation = d.start_helper("presentation", "fullscreen_window.py")
    window = c.needs("the presentation is up", lambda: next(iter(d.windows_named(PRESENTATION)),
                                                            None))
    c.eventually("the presentation is full screen",
                 lambda: "_NET_WM_STATE_FULLSCREEN" in d.net_wm_state(window))
    d.on_window("windowactivate", window)
    c.eventually("the presentation is the active window",
                 lambda: d.active_window_id() == int(window.id, 16))
    return presentation, window


@scenario(settings=QUESTIONS_ON)
def full_screen_holds_a_question(d, c):
    """A question that comes due while a full-screen window is active waits; it comes within
    2 s after the window leaves full screen."""
    presentation, window = active_presentation(d, c)
    prog = started_in_tray(c, d)
    no_question_for(c, d, "the presentation is full screen")
    d.screenshot("held")
    presentation.send_signal(signal.SIGUSR1)
    c.eventually("the presentation left full screen",
                 lambda: "_NET_WM_STATE_FULLSCREEN" not in d.net_wm_state(window), timeout=5)
    c.eventually("the question comes within 2 s", lambda: question_mapped(d), timeout=2.0)
    d.screenshot("released")
    quit_through_tray(c, d, prog, "quit")


@scenario(settings=QUESTIONS_ON)
def do_not_disturb_holds_a_question(d, c):
    """While the notification service says Inhibited (do not disturb), a due question waits,
    also the one due at start-up, though the service takes a second to answer; the service's
    PropertiesChanged that ends it brings the question within 2 s."""
    service = d.start_helper("notifications", "fake_notifications.py", "1000")
    c.needs("the notification service is on the session bus",
            lambda: d.bus_name_owned("org.freedesktop.Notifications"))
    prog = started_in_tray(c, d)
    no_question_for(c, d, "do not disturb is on")
    service.send_signal(signal.SIGUSR1)
    c.eventually("the question comes within 2 s", lambda: question_mapped(d), timeout=2.0)
    d.screenshot("released")
    quit_through_tray(c, d, prog, "quit")


@scenario(settings=QUESTIONS_ON)
def idle_inhibitors_hold_a_question(d, c):
    """While GNOME's session manager, or the power manager of KDE and Xfce, says that a program
    keeps the screen awake (a film, a talk), and while GNOME's banners are off, a due question
    waits; it comes within 2 s after the service's signal that this has ended."""
    for kind, bus_name, env in (("gnome", "org.gnome.SessionManager", {}),
                                ("power", "org.freedesktop.PowerManagement.Inhibit", {}),
                                ("banners", "ca.desrt.dconf",
                                 {"GSETTINGS_BACKEND": "keyfile", "XDG_CURRENT_DESKTOP": "GNOME"})):
        service = d.start_helper(kind, "fake_idle_inhibitors.py", kind)
        c.needs(f"{kind}: the service is on the session bus", lambda: d.bus_name_owned(bus_name))
        prog = started_in_tray(c, d, env)
        no_question_for(c, d, f"{kind} says so")
        service.send_signal(signal.SIGUSR1)
        c.eventually(f"{kind}: the question comes within 2 s", lambda: question_mapped(d),
                     timeout=2.0)
        prog.proc.send_signal(signal.SIGTERM)
        c.equal(f"{kind}: SIGTERM ends the program", prog.wait_exit(20), 0)
        service.send_signal(signal.SIGTERM)
        c.eventually(f"{kind}: the service has left the bus",
                     lambda: not d.bus_name_owned(bus_name), timeout=10)


@scenario(settings=QUESTIONS_ON)
def held_until_full_screen_closes(d, c):
    """A question held by a full-screen window comes within 2 s after that window closes, also
    when the keyboard then falls to the program's own main window (as on KWin and GNOME Shell,
    whose XWayland gives it there) and nothing else is activated."""
    presentation, window = active_presentation(d, c)
    prog = start_shown(c, d)
    main = d.mapped_windows()[0]
    d.on_window("windowactivate", main)
    c.eventually("the main window has the keyboard",
                 lambda: d.active_window_id() == int(main.id, 16))
    no_question_for(c, d, "the presentation is full screen")
    presentation.send_signal(signal.SIGTERM)
    c.eventually("the presentation has gone", lambda: not d.windows_named(PRESENTATION), timeout=5)
    c.eventually("the question comes within 2 s", lambda: question_mapped(d), timeout=2.0)
    d.screenshot("released")
    quit_through_tray(c, d, prog, "quit")


def paused_until(c, d, prog, step):
    """(hour, minute) that the tray icon's tooltip names as the end of the pause."""
    icon = c.needs("tray icon in the tray", d.tray_icon)
    d.move_pointer(*d.work_area()[:2])
    d.hover(*icon.centre())
    tip = c.needs(f"{step}: the tray icon shows a tooltip",
                  lambda: next((w for w in prog.windows()
                                if w.getRole() == e2e.pyatspi.ROLE_TOOL_TIP
                                and e2e.is_showing(w)), None))
    shown = PAUSED_TIP.fullmatch(tip.name)
    c.require(f"{step}: the tooltip says the questions are paused", shown, repr(tip.name))
    return int(shown[1]), int(shown[2])


def tray_keys(d, *keys):
    """Opens the tray menu and walks it with the keyboard."""
    entries = d.open_tray_menu()
    x, y = entries[0].centre
    wait_until("the tray menu on the screen", lambda: d.mapped_window_at(x, y), timeout=10)
    for key in keys:
        d.press_key(key)
        time.sleep(0.2)


@scenario(settings=dict(QUESTIONS_ON, **{DURAKLAT: PAUSE_END.strftime("%Y-%m-%dT%H:%M:00Z")}))
def pause_from_the_tray_menu(d, c):
    """A pause stored by an earlier run holds the first question, and the tooltip says until
    when; "Sorulara Devam Et" (keyboard: Down, Right, Return) brings it at once. "30 dakika"
    pauses again: the tooltip names the time, the settings keep it."""
    prog = started_in_tray(c, d)
    no_question_for(c, d, "paused")
    until = PAUSE_END.astimezone()
    c.equal("the tooltip names the stored end", paused_until(c, d, prog, "paused"),
            (until.hour, until.minute))
    d.screenshot("paused")

    # Yeni Vokabo, Vokabo Sor, Soruları Duraklat; its last entry: Sorulara Devam Et.
    tray_keys(d, "Down", "Down", "Down", "Right", "Down", "Down", "Down", "Down", "Return")
    c.eventually("'Sorulara Devam Et' brings the question within 2 s",
                 lambda: question_mapped(d), timeout=2.0)
    c.equal("the pause is gone from the settings", d.read_settings().get(DURAKLAT, ""), "")
    q = wait_for_question(c, prog, "after the pause")
    d.click_on(next(a for a in q.labels_showing() if a.name in q.question_texts()))
    c.eventually("a click gives the question the keyboard", q.is_active)
    d.press_key("Escape")
    c.eventually("Esc closes the question", lambda: not question_mapped(d))

    chosen = datetime.datetime.now().astimezone()
    tray_keys(d, "Down", "Down", "Down", "Right", "Return")
    tip = c.needs("a pause is stored", lambda: d.read_settings().get(DURAKLAT), timeout=5)
    stored_until = datetime.datetime.fromisoformat(tip.replace("Z", "+00:00")).astimezone()
    c.check("it ends 30 minutes on, on the minute",
            stored_until.second == 0 and
            datetime.timedelta(minutes=29) <= stored_until - chosen <= datetime.timedelta(minutes=30),
            f"stored {tip}, chosen at {chosen:%H:%M:%S}")
    c.equal("the tooltip names that time", paused_until(c, d, prog, "paused again"),
            (stored_until.hour, stored_until.minute))
    quit_through_tray(c, d, prog, "quit")
