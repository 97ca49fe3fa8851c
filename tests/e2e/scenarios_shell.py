"""Start-up and exit, the tray, hiding and restoring."""

import os
import re
import signal

from e2e_steps import *  # noqa: F401,F403 - the shared steps and texts


@scenario()
def start_and_exit(d, c):
    """No word file: the five sample words and the tray icon with its tooltip; quitting writes
    no word file and stores the placement, and four more starts and exits keep it as it is."""
    prog = start_shown(c, d, name="first")
    check_word_list(c, prog, SAMPLE_WORDS, "samples")
    icon = c.needs("tray icon sits in the tray", d.tray_icon)
    d.hover(*icon.centre())
    c.eventually(f"tray icon's tooltip reads '{PROGRAM_NAME}'",
                 lambda: showing(prog.window(PROGRAM_NAME, e2e.pyatspi.ROLE_TOOL_TIP)))
    d.screenshot("started")
    frame = move_main_window(c, d, prog, 50, 120)
    quit_through_tray(c, d, prog, "quit")
    c.equal("program folder holds only the program", sorted(os.listdir(d.prog_dir)), ["vokabo"])
    placement = stored(d, SON_XY, SON_BOY)
    c.equal("placement stored in twips, frame and all", placement, placement_values(*frame))

    for cycle in range(2, 6):
        prog = d.start_program(name=f"cycle{cycle}")
        c.eventually_equal(f"start {cycle}: the stored outer frame comes back",
                           lambda: main_window_frame(d), frame, timeout=5)
        quit_through_tray(c, d, prog, f"quit{cycle}")
        c.equal(f"exit {cycle}: placement unchanged", stored(d, SON_XY, SON_BOY), placement)


def hide_and_restore(c, d, prog, how, restore, times=10):
    """Esc, then `restore()`, `times` in a row: the window must come back every time."""
    restored = 0
    for attempt in range(1, times + 1):
        d.on_window("windowfocus", d.mapped_windows()[0], "key", "Escape")
        c.needs(f"Esc {attempt}: the main window hides", lambda: main_window_hidden(d, prog))
        restore()
        if c.eventually(f"{how} {attempt}: the window comes back",
                        lambda: main_window_up(d, prog), timeout=5):
            restored += 1
        else:
            d.choose_from_tray_menu(c, "Aç", f"open-{attempt}")
            c.needs("'Aç' brings it back", lambda: main_window_up(d, prog))
    c.equal(f"{times} of {times} {how}s restored the window", restored, times)


def double_click_icon(c, d):
    icon = c.needs("tray icon in the tray", d.tray_icon)
    d.click(*icon.centre(), button=1, repeat=2)


@scenario()
def restore_from_tray(d, c):
    """Esc, then a double-click on the tray icon, ten times in a row, always brings the window
    back; so does a double-click after the window manager minimised it, in the same frame."""
    prog = start_shown(c, d)
    frame = move_main_window(c, d, prog, 140, 110)
    hide_and_restore(c, d, prog, "double-click", lambda: double_click_icon(c, d))
    c.eventually_equal("the window came back in its frame", lambda: main_window_frame(d), frame,
                       timeout=5)

    d.on_window("windowminimize", d.mapped_windows()[0])
    c.eventually("minimising through the window manager hides the window into the tray",
                 lambda: main_window_hidden(d, prog))
    d.screenshot("minimised")
    double_click_icon(c, d)
    c.eventually_equal("the minimised window came back whole, in its frame",
                       lambda: main_window_frame(d), frame, timeout=5)
    check_word_list(c, prog, SAMPLE_WORDS, "restored", first_current=False)
    d.screenshot("restored")
    quit_through_tray(c, d, prog, "quit")
    c.equal("placement stored from the restored window", stored(d, SON_XY, SON_BOY),
            placement_values(*frame))


@scenario(tray="sni")
def restore_from_sni_tray(d, c):
    """On a StatusNotifierItem host, which reports a left click and never a double-click, that
    click brings the hidden window back, ten times in a row; the right button opens its menu."""
    prog = start_shown(c, d)
    panel = c.needs("the host's panel is up", d.sni_panel)
    # The program's is the only item: at the panel's end.
    icon = (panel.x + panel.w - panel.h // 2, panel.y + panel.h // 2)
    hide_and_restore(c, d, prog, "click", lambda: d.click(*icon))

    def host_menu_open():
        windows = d.x_windows()
        top = min(w.indent for w in windows)
        return any(w.indent == top and "vokabo" not in w.cls and w.w > 20 and w.h > 40
                   and w.y >= panel.y + panel.h - 5 and d.is_viewable(w) for w in windows)

    d.click(*icon, button=3)
    c.eventually("the right button opens the host's menu", host_menu_open, timeout=5)
    d.screenshot("menu")
    d.press_key("Escape")
    prog.proc.send_signal(signal.SIGTERM)
    c.equal("SIGTERM ends the program with exit code 0", prog.wait_exit(20), 0)


NO_TRAY_NOTICE = "Bu masaüstünde bildirim alanı (sistem tepsisi) yok"
REFUSED = "Programın bir kopyası zaten çalışıyor !"


def main_x_window(d):
    """The main window's X window, mapped or not."""
    return next(w for w in d.x_windows() if w.name == e2e.MAIN_TITLE and "vokabo" in w.cls)


def notices(prog):
    return [w for w in prog.windows() if w.name == PROGRAM_NAME and e2e.is_showing(w)
            and any(a.name.startswith(NO_TRAY_NOTICE) for a in e2e.descendants(w))]


def check_minimised_within_reach(c, d, prog, how):
    """After `how`, the main window is minimised (the task bar holds it), not hidden; the task
    bar's activation brings it back."""
    c.eventually_equal(f"{how}: the main window is minimised, not hidden",
                       lambda: d.wm_state(main_x_window(d)), "Iconic", timeout=5)
    d.screenshot(how.replace(" ", "-"))
    d.run("xdotool", "windowactivate", str(int(main_x_window(d).id, 16)))
    c.eventually(f"{how}: activating it brings it back", lambda: main_window_up(d, prog))


@scenario(tray="none")
def without_a_tray(d, c):
    """No tray host: the program says once why it cannot sit in the notification area; Esc and
    the window manager's minimise leave the main window in reach; a second start brings the
    first copy's window forward besides its message."""
    prog = start_shown(c, d)
    notice = c.needs("a notice tells why there is no tray icon", lambda: notices(prog))[0]
    d.screenshot("notice")
    d.click_on(prog.part(notice, "PUSH_BUTTON", "Tamam"))
    c.eventually("'Tamam' closes the notice", lambda: not notices(prog))

    d.on_window("windowfocus", d.mapped_windows()[0], "key", "Escape")
    check_minimised_within_reach(c, d, prog, "Esc")
    d.on_window("windowminimize", d.mapped_windows()[0])
    check_minimised_within_reach(c, d, prog, "window manager minimise")

    d.on_window("windowminimize", d.mapped_windows()[0])
    c.eventually_equal("minimised before the second start",
                       lambda: d.wm_state(main_x_window(d)), "Iconic", timeout=5)
    second = d.start_program(name="second")
    labels, buttons = message_box(c, second, PROGRAM_NAME, "second start")
    c.equal("the second copy says that one runs", labels[-1:], [REFUSED])
    c.eventually("the first copy's window comes forward", lambda: main_window_up(d, prog))
    d.click_on(buttons["Tamam"])
    c.equal("the second copy ends with exit code 0", second.wait_exit(20), 0)
    d.screenshot("after-second-start")
    c.check("the notice came once", not notices(prog))
    prog.proc.send_signal(signal.SIGTERM)
    c.equal("SIGTERM ends the program with exit code 0", prog.wait_exit(20), 0)


@scenario(tray="wayland")
def wayland_session(d, c):
    """In a Wayland session with XWayland (weston), the program started plainly runs on the X
    display, its windows of the class the desktop entry names. Started on Qt's Wayland platform
    by the user's choice, it runs there and stores no placement, which that platform cannot
    tell."""
    prog = start_shown(c, d)
    entry = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "packaging",
                         "vokabo.desktop.in")
    with open(entry, encoding="utf-8") as f:
        startup_class = re.search(r"^StartupWMClass=(.*)$", f.read(), re.MULTILINE)[1]
    c.equal("the main window's class is the entry's StartupWMClass",
            d.wm_class(d.mapped_windows()[0])[1:], [startup_class])
    prog.proc.send_signal(signal.SIGTERM)
    c.equal("SIGTERM ends it with exit code 0", prog.wait_exit(20), 0)

    # Qt's Wayland platform reports 0,0 for a window it was not told a place for.
    d.write_settings(e2e.QUESTIONS_OFF)
    native = d.start_program(name="native", env={"QT_QPA_PLATFORM": "wayland"})
    c.eventually("on Qt's Wayland platform the main window shows",
                 lambda: showing(native.main_window()))
    c.check("with no X window", not d.mapped_windows())
    native.proc.send_signal(signal.SIGTERM)
    c.equal("SIGTERM ends it with exit code 0", native.wait_exit(20), 0)
    c.equal("no placement stored where the platform cannot tell it",
            stored(d, SON_XY, SON_BOY), {SON_XY: None, SON_BOY: None})


@scenario(tray="none")
def logon_start_without_a_tray(d, c):
    """Started for the logon (`-o`) where there is no tray, with a place stored from an earlier
    run: the main window comes up minimised in the task bar, and its notice leaves it there."""
    d.write_settings(dict(e2e.QUESTIONS_OFF, **placement_values(60, 80, 380, 420)))
    prog = d.start_program(args=["-o"])
    c.needs("a notice tells why there is no tray icon", lambda: notices(prog))
    check_minimised_within_reach(c, d, prog, "logon start")
    c.eventually_equal("restored at its stored place", lambda: main_window_frame(d),
                       (60, 80, 380, 420), timeout=5)
    prog.proc.send_signal(signal.SIGTERM)
    c.equal("SIGTERM ends the program with exit code 0", prog.wait_exit(20), 0)
