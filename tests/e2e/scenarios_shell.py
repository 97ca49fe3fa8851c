"""Start-up, the tray, hiding and restoring, a second copy and signals."""

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
def mixed_file(d, c):
    """A word file of valid, invalid, passive and odd lines lists exactly the
    active records; unchanged, it is not written again."""
    with open(os.path.join(d.data_dir, "mixed.txt"), "rb") as f:
        raw = f.read()
    # The data file still is what the table above describes.
    c.require("mixed.txt is Windows-1254, not UTF-8", not is_utf8(raw))
    text = raw.decode("cp1254")
    c.require("mixed.txt ends lines in CR LF, lone CR and lone LF",
              all(re.search(p, text) for p in (r"\r\n", r"\r(?!\n)", r"(?<!\r)\n")))
    c.require("mixed.txt holds the lines of the table",
              re.split(r"\r\n|\r|\n", text) == [line for line, _ in MIXED_FILE])
    with open(d.word_file, "wb") as f:
        f.write(raw)

    prog = d.start_program()
    c.eventually("main window shows", lambda: main_window_up(d, prog))
    check_word_list(c, prog, [shown for _, shown in MIXED_FILE if shown], "mixed")
    d.screenshot("started")

    quit_through_tray(c, d, prog, "quit")
    with open(d.word_file, "rb") as f:
        c.check("word file left as it was", f.read() == raw)


@scenario()
def hidden_start(d, c):
    """"-o" puts up only the tray icon; "Aç" then shows the window."""
    prog = d.start_program(["-o"])
    c.eventually("tray icon sits in the tray", d.tray_icon)
    c.eventually("program is on the accessibility bus", prog.app)
    c.check("main window stays unmapped",
            holds_for("main window unmapped", lambda: main_window_hidden(d, prog), duration=2.0))
    d.screenshot("tray-only")

    d.choose_from_tray_menu(c, "Aç", "open-menu")
    c.eventually("'Aç' shows the main window", lambda: main_window_up(d, prog))
    check_word_list(c, prog, SAMPLE_WORDS, "opened")
    d.screenshot("opened")
    quit_through_tray(c, d, prog, "quit")


@scenario()
def escape_and_restore(d, c):
    """Esc hides the window into the tray, a double-click on the icon brings
    it back; quitting while it is hidden stores no placement."""
    prog = d.start_program()
    c.eventually("main window shows", lambda: main_window_up(d, prog))
    check_word_list(c, prog, SAMPLE_WORDS, "started")
    d.screenshot("started")

    d.press_key_in(d.mapped_main_windows()[0], "Escape")
    c.eventually("Esc hides the main window", lambda: main_window_hidden(d, prog))
    c.check("program keeps running after Esc", prog.running())
    icon = c.eventually("tray icon still in the tray", d.tray_icon)
    d.screenshot("hidden")

    if icon:
        d.click(*icon.centre(), button=1, repeat=2)
    c.eventually("double-click on the tray icon restores the main window",
                 lambda: main_window_up(d, prog))
    check_word_list(c, prog, SAMPLE_WORDS, "restored")
    d.screenshot("restored")

    d.press_key_in(d.mapped_main_windows()[0], "Escape")
    c.eventually("Esc hides the main window again", lambda: main_window_hidden(d, prog))
    d.screenshot("hidden-again")
    quit_through_tray(c, d, prog, "quit-hidden")
    c.equal("no placement stored for a hidden window", stored_placement(d),
            {SON_XY: None, SON_BOY: None})


@scenario()
def second_copy(d, c):
    """A second copy is refused with a message box, and leaves both the first
    copy and the stored placement alone."""
    stored = (30, 60, 400, 450)
    d.write_settings(placement_values(*stored))
    first = d.start_program(name="first")
    c.eventually("first copy's main window shows", lambda: main_window_up(d, first))
    check_word_list(c, first, SAMPLE_WORDS, "first copy")
    c.eventually_equal("first copy comes up at the stored placement, frame and all",
                       lambda: main_window_frame(d), stored, timeout=5)
    with open(d.settings_file, "rb") as f:
        settings_before = f.read()

    second = d.start_program(name="second")
    box = c.eventually("second copy shows a message box",
                       lambda: showing(second.window(PROGRAM_NAME, e2e.pyatspi.ROLE_ALERT)))
    d.screenshot("refused")
    if box:
        found = list(e2e.descendants(box))
        texts = [a.name for a in found if a.getRole() == e2e.pyatspi.ROLE_LABEL]
        buttons = [a for a in found if a.getRole() == e2e.pyatspi.ROLE_PUSH_BUTTON]
        c.check("message says a copy already runs", ALREADY_RUNNING in texts, f"labels: {texts!r}")
        c.equal("message box has one button, 'Tamam'", [b.name for b in buttons], ["Tamam"])
        c.check("second copy waits for the answer",
                holds_for("second copy running", second.running, duration=1.0))
        if buttons:
            x, y, w, h = extents(buttons[0])
            d.click(x + w // 2, y + h // 2)
    c.equal("second copy ends with exit code 0 after 'Tamam'", second.wait_exit(20), 0)
    with open(d.settings_file, "rb") as f:
        c.check("refused copy leaves the settings file unchanged", f.read() == settings_before)

    c.check("first copy still runs", first.running())
    c.check("first copy still shows its window", main_window_up(d, first))
    check_word_list(c, first, SAMPLE_WORDS, "first copy afterwards")
    frame = move_main_window(c, d, first, 220, 140)
    d.screenshot("first-goes-on")
    quit_through_tray(c, d, first, "quit-first")
    if frame:
        c.equal("first copy stores its own placement at exit", stored_placement(d),
                placement_values(*frame))


@scenario()
def sigterm(d, c):
    """SIGTERM runs the normal shut-down."""
    prog = d.start_program()
    c.eventually("main window shows", lambda: main_window_up(d, prog))
    check_word_list(c, prog, SAMPLE_WORDS, "started")
    frame = move_main_window(c, d, prog, 200, 150)
    d.screenshot("before-sigterm")

    prog.proc.send_signal(signal.SIGTERM)
    c.equal("SIGTERM ends the program with exit code 0", prog.wait_exit(20), 0)
    d.screenshot("after-sigterm")
    c.check("tray icon is gone", not d.tray_icon())
    if frame:
        c.equal("placement stored at SIGTERM", stored_placement(d), placement_values(*frame))
    c.check("no word file written for the unchanged samples", not os.path.exists(d.word_file))


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
