#!/usr/bin/python3
"""End-to-end scenarios for Vokabo Retano: the real program on a virtual X
display with a tray, driven with xdotool and read through AT-SPI.

    /usr/bin/python3 tests/e2e/run_e2e.py --exe build/default/src/vokabo \\
        --shots build/default/e2e-shots --data tests/data first_start

Each check prints one line ("ok" or "FAIL" and its name); the exit code is 1
when any check failed.  Screenshots of every step go to SHOTS/<scenario>/.
"""

import argparse
import os
import re
import signal
import sys

import e2e_desktop as e2e
from e2e_desktop import CheckFailed, Checks, Desktop, Timeout, extents, holds_for

SAMPLE_WORDS = [
    "student loan || ögrenci  bursu kredisi",
    "person, || kimse kişi şahıs",
    "property || mal özellik emlak arazi",
    "half || yarım  yarı buçuk yarı yarıya",
    "income || gelir  kazanç",
]

TRAY_MENU = [
    ("menu item", "Yeni Vokabo"),
    ("menu item", "Vokabo Sor"),
    ("separator", ""),
    ("menu item", "Aç"),
    ("menu item", "Çıkış"),
]

PROGRAM_NAME = "Vokabo Retano"
ALREADY_RUNNING = "Programın bir kopyası zaten çalışıyor !"

# Every line of tests/data/mixed.txt, in file order, with the list line it
# gives, or None when it is not listed (skipped, or passive).
MIXED_FILE = [
    ("apple|elma|An apple a day.|0|A", "apple || elma"),
    ("Bread|ekmek|Taze ekmek.|3|", "Bread || ekmek"),  # empty status: active
    ("cherry|kiraz|Kiraz ağacı.|2", "cherry || kiraz"),  # no status field at all
    ("door|kapı|Kapıyı kapat.|1|P", None),  # passive
    ("egg|yumurta|Bir yumurta.|  -7  |A", "egg || yumurta"),  # blanks and a sign
    ("fish|balık|Balık tut.|+12|A", "fish || balık"),
    ("garden|bahçe|Bahçede.|40000|A", None),  # count out of range
    ("house|ev|Evde.|x1|A", None),  # count not a number
    ("ink|mürekkep", None),  # too few fields
    ("jam|reçel|Reçel.||A", None),  # no count
    ("kite|uçurtma|Uçurtma uçur.|5|A|extra", None),  # status "A|extra": passive
    ("lamp|lamba|Lamba.|32767|a", None),  # status other than "A": passive
    ("Moon|ay|Ay doğdu.|-32768|A", "Moon || ay"),  # lowest count
    ("needle|iğne|İğne battı.|0|A", "needle || iğne"),
    ("nut|fındık|Fındık.|32768|A", None),  # one above the highest count
    ("olive|zeytin|Zeytin.|1| A", None),  # status " A": passive
    ("quince|ayva|Şu ayva çok güzel.|0|A", "quince || ayva"),
    ("", None),
    ("river|ırmak nehir|Irmak taştı.|0|A", "river || ırmak nehir"),  # ends in a lone CR
    ("Sugar|şeker|Şekersiz çay.|1|A", "Sugar || şeker"),  # ends in a lone LF
    ("tea|çay|Çay demle.|4|A|", None),  # status "A|": passive
    ("umbrella|şemsiye|Şemsiyeni al.| 9 |", "umbrella || şemsiye"),
    ("violin|keman||0|A", "violin || keman"),  # empty example, ends in a lone LF
    ("walnut|ceviz|Ceviz.|0.5|A", None),  # not a whole number
    ("Xylophone|ksilofon|Ksilofon.|--1|A", None),
    ("yarn|iplik|İplik.|1e2|A", None),
    ("zebra|zebra|Zebra koşuyor.|32767|A", "zebra || zebra"),  # last line, no line end
]

SON_XY = "Vokabo\\SonXY"
SON_BOY = "Vokabo\\SonBoy"

SCENARIOS = {}


def scenario(settings=e2e.QUESTIONS_OFF):
    """Registers a scenario under its function's name; `settings` are what
    the settings file holds before the program first starts."""
    def register(function):
        SCENARIOS[function.__name__] = (function, settings)
        return function
    return register


# ---------------------------------------------------------------- settings


def placement_values(left, top, width, height):
    """SonXY and SonBoy as the program stores a window's outer frame:
    65536 × high + low, in twips (15 per pixel)."""
    return {
        SON_XY: str(65536 * top * 15 + left * 15),
        SON_BOY: str(65536 * height * 15 + width * 15),
    }


def stored_placement(d):
    stored = d.read_settings()
    return {SON_XY: stored.get(SON_XY), SON_BOY: stored.get(SON_BOY)}


# ---------------------------------------------------------------- steps


def main_window_up(d, prog):
    return bool(d.mapped_main_windows()) and prog.main_window_showing()


def main_window_hidden(d, prog):
    return not d.mapped_main_windows() and not prog.main_window_showing()


def check_word_list(c, prog, expected, step):
    """The main window lists `expected` under the active count, in
    alphabetical order ignoring case, with the first line current."""
    def listed():
        labels, items, word_list = prog.word_list()
        return (labels, items, word_list) if len(items) == len(expected) else None

    found = c.eventually(f"{step}: main window lists {len(expected)} lines", listed)
    if not found:
        return
    labels, items, word_list = found
    c.equal(f"{step}: title label shows the active count",
            [text for text in labels if text.startswith("Aktif")],
            [f"Aktif Vokaboleriniz ({len(expected)})"])
    c.equal(f"{step}: list lines, alphabetical ignoring case", items,
            sorted(expected, key=str.casefold))
    first = word_list.getChildAtIndex(0)
    c.check(f"{step}: first line is current", first.getState().contains(e2e.pyatspi.STATE_SELECTED))


def move_main_window(c, d, prog, left, top):
    """Moves the main window as a user dragging it would, and returns its
    frame once the program itself reports the new place."""
    d.move_window(d.mapped_main_windows()[0], left, top)

    def moved():
        frame = extents(prog.main_window())
        return frame if frame[:2] == (left, top) else None

    return c.eventually(f"main window moved to {left},{top}", moved)


def quit_through_tray(c, d, prog, step):
    entries = d.choose_from_tray_menu(c, "Çıkış", f"{step}-menu")
    c.equal(f"{step}: tray menu entries", [(_role_name(role), name) for role, name, _ in entries],
            TRAY_MENU)
    c.equal(f"{step}: 'Çıkış' ends the program with exit code 0", prog.wait_exit(20), 0)


def _role_name(role):
    names = {e2e.pyatspi.ROLE_MENU_ITEM: "menu item", e2e.pyatspi.ROLE_SEPARATOR: "separator"}
    return names.get(role, str(role))


# ---------------------------------------------------------------- scenarios


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
                           lambda: _showing(prog.window(PROGRAM_NAME, e2e.pyatspi.ROLE_TOOL_TIP)))
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
    c.require("mixed.txt is Windows-1254, not UTF-8", not _is_utf8(raw))
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
    c.equal("first copy comes up at the stored placement", extents(first.main_window()), stored)
    with open(d.settings_file, "rb") as f:
        settings_before = f.read()

    second = d.start_program(name="second")
    box = c.eventually("second copy shows a message box",
                       lambda: _showing(second.window(PROGRAM_NAME, e2e.pyatspi.ROLE_ALERT)))
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


def _showing(accessible):
    return accessible if accessible is not None and e2e.is_showing(accessible) else None


def _is_utf8(data):
    try:
        data.decode("utf-8")
        return True
    except UnicodeDecodeError:
        return False


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--exe", required=True, help="the built program")
    parser.add_argument("--shots", required=True, help="folder for the screenshots")
    parser.add_argument("--data", required=True, help="the tests/data folder")
    parser.add_argument("--keep", action="store_true",
                        help="keep the temporary folders and print the logs")
    parser.add_argument("scenario", choices=sorted(SCENARIOS))
    args = parser.parse_args()

    checks = Checks(args.scenario)
    function, settings = SCENARIOS[args.scenario]
    try:
        with Desktop(args.scenario, os.path.abspath(args.exe), os.path.abspath(args.shots),
                     os.path.abspath(args.data), args.keep, settings) as d:
            try:
                function(d, checks)
            except CheckFailed:
                pass
            except (Timeout, LookupError, RuntimeError) as exc:
                checks.check("scenario ran to its end", False, f"{type(exc).__name__}: {exc}")
            if checks.failed:
                d.screenshot("at-failure")
                d.show_logs = True
    except (RuntimeError, Timeout, OSError) as exc:
        checks.check("desktop started", False, f"{type(exc).__name__}: {exc}")

    if checks.failed:
        print(f"{args.scenario}: {len(checks.failed)} check(s) failed: {'; '.join(checks.failed)}")
        return 1
    print(f"{args.scenario}: all checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
