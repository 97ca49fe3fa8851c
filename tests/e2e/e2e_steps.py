"""What the scenarios (scenarios_*.py, registered with @scenario) share: the data they start
from, the texts the program shows and the steps a user takes."""

import os
import re
import shutil

import e2e_desktop as e2e
from e2e_desktop import extents, has_state, holds_for, showing, wait_until

SAMPLE_WORDS = ["student loan || ögrenci  bursu kredisi", "person, || kimse kişi şahıs",
                "property || mal özellik emlak arazi", "half || yarım  yarı buçuk yarı yarıya",
                "income || gelir  kazanç"]
TRAY_MENU = [("menu item", "Yeni Vokabo"), ("menu item", "Vokabo Sor"),
             ("menu item", "Soruları Duraklat"), ("separator", ""),
             ("menu item", "İlerleme"), ("menu item", "Aç"), ("menu item", "Çıkış")]

PROGRAM_NAME = "Vokabo Retano"
# The main window's title strip over the word list.
TITLE_STRIP = re.compile(r"(Aktif|Pasif) Vokaboleriniz \(\d+\)")


SON_XY = "Vokabo\\SonXY"
SON_BOY = "Vokabo\\SonBoy"
SOR_DAK = e2e.SOR_DAK
SORUSAY = "Vokabo\\sorusay"

# tests/data/counts.txt (Windows-1254, CR LF) as (English, Turkish, example, count, status):
# active words with distinct meanings and counts above zero, then passive ones, never asked.
COUNTS_PATH = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "counts.txt")
with open(COUNTS_PATH, encoding="cp1254", newline="") as _f:
    COUNTS_FILE = [(e, t, o, int(n), s) for e, t, o, n, s in
                   (line.split("|") for line in _f.read().split("\r\n") if line)]
MEANINGS = {english: turkish for english, turkish, _, _, status in COUNTS_FILE if status == "A"}

# What a question window shows.
QUESTION_NEW = "Yeni ya da bilemediğiniz vokabo !"
COVER_TEXT = "\r\nSEÇENEKLER\r\nBURADA"
REVEAL_PICTURE = "Seçenekleri göster"
OK_BUTTON = "Tamam"
SENTENCE_BUTTON = "Vokaboyi cümle içinde kullan."
SENTENCE_BOX = "Örnek Cümle"
ANSWER_LABEL = re.compile(r"([a-z])\) (.*)", re.DOTALL)

# The word dialog.
WORD_DIALOG = "Yeni Vokabo"
WORD_FIELDS = ("Vokabo", "Karşılığı", "Örnek Cümle")
MISSING = "Eksik bilgi !"
# Letters that Windows-1254 holds and Latin-1 does not (ğ ı ş), and some that both hold (ç ü).
NEW_WORD = ("çiçek bahçesi", "flower garden", "Güzel bir çiçek bahçesi; ağaçlar ışıl ışıl.")

SCENARIOS = {}


def scenario(settings=e2e.QUESTIONS_OFF, tray="xembed", speech=False):
    """Registers a scenario under its function's name, with the desktop's settings, tray and
    whether a speech service runs."""
    def register(function):
        SCENARIOS[function.__name__] = (function, settings, tray, speech)
        return function
    return register


# ---------------------------------------------------------------- settings


def placement_values(left, top, width, height):
    """SonXY and SonBoy as the program stores a window's outer frame:
    65536 × high + low, in twips (15 per pixel)."""
    return {SON_XY: str(65536 * top * 15 + left * 15),
            SON_BOY: str(65536 * height * 15 + width * 15)}


def stored(d, *keys):
    """The settings file's values under `keys` (None for a missing one)."""
    values = d.read_settings()
    return {key: values.get(key) for key in keys}


# ---------------------------------------------------------------- word files


def word_file_lines(words):
    return [f"{english}|{turkish}|{example}|{count}|{status}"
            for english, turkish, example, count, status in words]


def install_counts_file(d):
    """Makes tests/data/counts.txt the word file."""
    shutil.copyfile(COUNTS_PATH, d.word_file)


def check_saved_words(c, d, words, step):
    """The program wrote `words` to the word file, in Windows-1254, each line ended by CR LF."""
    try:
        with open(d.word_file, "rb") as f:
            raw = f.read()
    except OSError as exc:
        c.check(f"{step}: word file written", False, str(exc))
        return None
    c.check(f"{step}: word file stays Windows-1254 (no byte-order mark, not UTF-8)",
            not raw.startswith(b"\xef\xbb\xbf") and not is_utf8(raw))
    c.equal(f"{step}: word file lines", raw.decode("cp1254", "replace").split("\r\n"),
            word_file_lines(words) + [""])
    return raw


def active_lines(words):
    """The main list's lines for the active `words`, alphabetical ignoring case."""
    return sorted((f"{e} || {t}" for e, t, _, _, s in words if s == "A"), key=str.casefold)


def count_table(words):
    return {english: count for english, _, _, count, status in words if status == "A"}


def with_counts(words, counts):
    return [(english, turkish, example, counts.get(english, count) if status == "A" else count,
             status) for english, turkish, example, count, status in words]


# ---------------------------------------------------------------- steps


def main_window_up(d, prog):
    return bool(d.mapped_windows()) and showing(prog.main_window()) is not None


def main_window_hidden(d, prog):
    return not d.mapped_windows() and showing(prog.main_window()) is None


def start_shown(c, d, name="vokabo"):
    """Starts the program and waits for its main window."""
    prog = d.start_program(name=name)
    c.eventually("main window shows", lambda: main_window_up(d, prog))
    return prog


def check_word_list(c, prog, expected, step, in_order=False, first_current=True):
    """The main window lists `expected` under the active count, alphabetical ignoring case
    (or, with `in_order`, as given), with the first line current."""
    def listed():
        labels, items, word_list = prog.word_list()
        return (labels, items, word_list) if len(items) == len(expected) else None

    found = c.eventually(f"{step}: main window lists {len(expected)} lines", listed)
    if not found:
        return
    labels, items, word_list = found
    c.equal(f"{step}: title label shows the active count",
            [text for text in labels if TITLE_STRIP.fullmatch(text)],
            [f"Aktif Vokaboleriniz ({len(expected)})"])
    c.equal(f"{step}: list lines, alphabetical ignoring case", items,
            expected if in_order else sorted(expected, key=str.casefold))
    if first_current:
        first = word_list.getChildAtIndex(0)
        c.check(f"{step}: first line is current", has_state(first, "SELECTED"))


def main_window_frame(d):
    """The main window's outer frame, as the program stores its placement."""
    windows = d.mapped_windows()
    return d.outer_frame(windows[0]) if windows else None


def move_main_window(c, d, prog, left, top):
    """Moves the main window as a user dragging it would; its outer frame once the program
    reports the new place."""
    d.on_window("windowmove", d.mapped_windows()[0], str(left), str(top))
    if c.eventually(f"main window moved to {left},{top}",
                    lambda: extents(prog.main_window())[:2] == (left, top)):
        return main_window_frame(d)
    return None


def quit_through_tray(c, d, prog, step):
    entries = d.choose_from_tray_menu(c, "Çıkış", f"{step}-menu")
    c.equal(f"{step}: tray menu entries", [(e.role, e.name) for e in entries], TRAY_MENU)
    c.equal(f"{step}: 'Çıkış' ends the program with exit code 0", prog.wait_exit(20), 0)


class QuestionView:
    """One question window, read afresh through AT-SPI at every look."""

    def __init__(self, prog, window):
        self.prog = prog
        self.window = window
        self.path = window.path

    def labels_showing(self):
        return [a for a in self.prog.parts(self.window, "LABEL") if a.name and e2e.is_showing(a)]

    def question_texts(self):
        return [a.name for a in self.labels_showing()
                if a.name != COVER_TEXT and not ANSWER_LABEL.fullmatch(a.name)]

    def answers(self):
        """(letter, answer text, label) of the answers that show."""
        return [(m[1], m[2], a) for a in self.labels_showing()
                if (m := ANSWER_LABEL.fullmatch(a.name))]

    def cover(self):
        return next((a for a in self.labels_showing() if a.name == COVER_TEXT), None)

    def button_showing(self, name):
        return showing(self.prog.part(self.window, "PUSH_BUTTON", name))

    def is_open(self):
        return any(w.path == self.path for w in question_windows(self.prog))

    def is_active(self):
        self.prog.app()
        return has_state(self.window, "ACTIVE")


def question_windows(prog):
    """The program's windows on the screen with the picture that uncovers the answers."""
    return [w for w in prog.windows() if e2e.is_showing(w)
            and any(a.name == REVEAL_PICTURE for a in e2e.descendants(w))]


def wait_for_question(c, prog, step, after=None, timeout=10.0):
    """Waits for one question window, other than `after`; the scenario cannot go on without."""
    def one_new():
        found = [w for w in question_windows(prog) if after is None or w.path != after.path]
        return found[0] if len(found) == 1 else None

    return QuestionView(prog, c.needs(f"{step}: a question window opens", one_new, timeout))


def asked_word(c, q, words, step):
    """The word of `words` (English texts) that the question asks."""
    texts = q.question_texts()
    c.require(f"{step}: the question shows one text", len(texts) == 1, f"texts: {texts!r}")
    asked = next((english for english in words if texts[0] == f"{english} ?"), None)
    c.require(f"{step}: the question asks one of the active words", asked is not None,
              f"question: {texts[0]!r}")
    return asked


def answer_right(c, d, q, step):
    """Uncovers the answers with a click on the cover, picks the right one by counts.txt,
    confirms with OK, and returns the asked word."""
    asked = asked_word(c, q, MEANINGS, step)
    d.click_on(q.cover())
    shown = c.needs(f"{step}: a click on the cover shows the answers", q.answers)
    d.click_on(next(label for _, text, label in shown if text == MEANINGS[asked]))
    ok = c.needs(f"{step}: OK shows after the answer", lambda: q.button_showing(OK_BUTTON))
    d.screenshot(f"{step}-right")
    d.click_on(ok)
    c.eventually(f"{step}: OK closes the question window", lambda: not q.is_open())
    return asked


def message_box(c, prog, title, step):
    """The message box titled `title`: (its labels' texts, its buttons by name)."""
    box = c.needs(f"{step}: a message box titled '{title}'",
                  lambda: showing(prog.window(title, e2e.pyatspi.ROLE_ALERT)))
    return ([a.name for a in prog.parts(box, "LABEL")],
            {a.name: a for a in prog.parts(box, "PUSH_BUTTON")})


def line_item(prog, line):
    """Line `line` of the main word list."""
    return prog.word_list()[2].getChildAtIndex(line)


def current_line(prog):
    """The position of the main list's current (selected) line, or None."""
    _, _, word_list = prog.word_list()
    return next((i for i, item in enumerate(word_list) if has_state(item, "SELECTED")), None)


def bar_button(prog, name):
    """The main window's bar button with that tooltip."""
    return prog.part(prog.main_window(), "PUSH_BUTTON", name)


def focused(prog, accessible):
    prog.app()
    return has_state(accessible, "FOCUSED")


def text_of(accessible):
    return accessible.queryText().getText(0, -1)


def is_utf8(data):
    try:
        data.decode("utf-8")
        return True
    except UnicodeDecodeError:
        return False
