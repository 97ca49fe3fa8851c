"""Start-up and exit, the tray, hiding and restoring."""

import os
import signal

from e2e_steps import *  # noqa: F401,F403 - the shared steps and texts


@scenario()
def first_start(d, c):
    """No word file: the five sample words; quitting from the tray stores the
    placement and writes no word file."""
    prog = d.start_program()
    c.eventually("main window shows", lambda: main_window_up(d, prog))
    icon = c.eventually("tray icon sits in the tray", d.tray_icon)
    check_word_list(c, prog, SAMPLE_WORDS, "samples")
    c.equal("main window is 360×394", extents(prog.main_window())[2:], (360, 394))
    d.screenshot("started")

    if icon:
        d.hover(*icon.centre())
        tip = c.eventually(f"tray icon's tooltip reads '{PROGRAM_NAME}'",
                           lambda: showing(prog.window(PROGRAM_NAME, e2e.pyatspi.ROLE_TOOL_TIP)))
        if tip:
            d.screenshot("tooltip")

    frame = move_main_window(c, d, prog, 50, 120)
    d.screenshot("moved")
    quit_through_tray(c, d, prog, "quit")
    c.check("no word file written", not os.path.exists(d.word_file))
    c.equal("program folder holds only the program", sorted(os.listdir(d.prog_dir)), ["vokabo"])
    if frame:
        c.equal("placement stored in twips", stored_placement(d), placement_values(*frame))


@scenario()
def placement_cycles(d, c):
    """Five starts and exits: after the first, which stores the placement,
    the window comes back in the same outer frame and stores the same
    values every time."""
    first = None
    for cycle in range(1, 6):
        prog = d.start_program(name=f"cycle{cycle}")
        c.eventually(f"start {cycle}: main window shows", lambda: main_window_up(d, prog))
        if first is not None:
            c.eventually_equal(f"start {cycle}: the stored outer frame comes back",
                               lambda: main_window_frame(d), first, timeout=5)
        quit_through_tray(c, d, prog, f"quit{cycle}")
        if first is None:
            first = main_window_frame_from(stored_placement(d))
            c.check("first exit stores a placement", first is not None)
            stored_first = stored_placement(d)
        else:
            c.equal(f"exit {cycle}: placement unchanged", stored_placement(d), stored_first)
    d.screenshot("after-five-cycles")


def main_window_frame_from(stored):
    """(left, top, width, height) in pixels from stored SonXY and SonBoy."""
    if None in stored.values():
        return None
    xy, boy = int(stored[SON_XY]), int(stored[SON_BOY])
    return (xy % 65536 // 15, xy // 65536 // 15, boy % 65536 // 15, boy // 65536 // 15)


def restore_by_double_click(c, d, prog, step):
    icon = c.needs(f"{step}: tray icon in the tray", d.tray_icon)
    d.click(*icon.centre(), button=1, repeat=2)
    return c.eventually(f"{step}: a double-click on the tray icon restores the main window",
                        lambda: main_window_up(d, prog), timeout=5)


@scenario()
def restore_from_tray(d, c):
    """Esc, then a double-click on the tray icon, ten times in a row, always
    brings the window back; so does a double-click after the window manager
    minimised it, in the same frame as before."""
    prog = d.start_program()
    c.eventually("main window shows", lambda: main_window_up(d, prog))
    frame = move_main_window(c, d, prog, 140, 110)
    restored = 0
    for attempt in range(1, 11):
        d.press_key_in(d.mapped_main_windows()[0], "Escape")
        c.needs(f"Esc {attempt}: the main window hides", lambda: main_window_hidden(d, prog))
        if restore_by_double_click(c, d, prog, f"double-click {attempt}"):
            restored += 1
        else:
            d.screenshot(f"not-restored-{attempt}")
            d.choose_from_tray_menu(c, "Aç", f"open-{attempt}")
            c.needs("'Aç' brings it back", lambda: main_window_up(d, prog))
    c.equal("ten of ten double-clicks restored the window", restored, 10)
    c.eventually_equal("the window came back in its frame", lambda: main_window_frame(d), frame,
                       timeout=5)

    d.run("xdotool", "windowminimize", "--sync", str(int(d.mapped_main_windows()[0].id, 16)))
    c.eventually("minimising through the window manager hides the window into the tray",
                 lambda: main_window_hidden(d, prog))
    d.screenshot("minimised")
    restore_by_double_click(c, d, prog, "after minimising")
    c.eventually_equal("the minimised window came back whole, in its frame",
                       lambda: main_window_frame(d), frame, timeout=5)
    check_word_list(c, prog, SAMPLE_WORDS, "restored", first_current=False)
    d.screenshot("restored")
    quit_through_tray(c, d, prog, "quit")
    c.equal("placement stored from the restored window", stored_placement(d),
            placement_values(*frame))


@scenario(tray="sni")
def restore_from_sni_tray(d, c):
    """On a StatusNotifierItem host (KDE, GNOME with AppIndicators), which
    reports a left click and never a double-click, that click brings the
    hidden window back, ten times in a row; the right button opens the menu
    that the host draws."""
    prog = d.start_program()
    c.eventually("main window shows", lambda: main_window_up(d, prog))
    panel = c.needs("the host's panel is up", d.sni_panel)
    # The program's is the only item: at the panel's end.
    icon = (panel.x + panel.w - panel.h // 2, panel.y + panel.h // 2)
    d.screenshot("started")
    restored = 0
    for attempt in range(1, 11):
        d.press_key_in(d.mapped_main_windows()[0], "Escape")
        c.needs(f"Esc {attempt}: the main window hides", lambda: main_window_hidden(d, prog))
        d.click(*icon)
        if c.eventually(f"click {attempt}: the window comes back",
                        lambda: main_window_up(d, prog), timeout=5):
            restored += 1
    c.equal("ten of ten clicks restored the window", restored, 10)

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
