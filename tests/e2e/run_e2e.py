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
SOR_DAK = e2e.SOR_DAK
SORUSAY = "Vokabo\\sorusay"

# tests/data/counts.txt, line by line: (English, Turkish, example, count,
# status).  The active words have distinct meanings and counts above zero,
# so that a wrong answer always changes a count; the passive word is never
# asked and stays behind the active ones when the file is written.
COUNTS_FILE = [
    ("bridge", "köprü", "Köprüden geçtik.", 1, "A"),
    ("mirror", "ayna", "Aynaya bak.", 2, "A"),
    ("wing", "kanat", "Kuşun kanadı kırık.", 3, "A"),
    ("key", "anahtar", "Anahtarı unuttum.", 4, "A"),
    ("needle", "iğne", "İğne battı.", 5, "A"),
    ("soap", "sabun", "Sabunla yıka.", 0, "P"),
]
MEANINGS = {english: turkish for english, turkish, _, _, status in COUNTS_FILE if status == "A"}

# What a question window shows.
QUESTION_NEW = "Yeni ya da bilemediğiniz vokabo !"
COVER_TEXT = "\r\nSEÇENEKLER\r\nBURADA"
REVEAL_PICTURE = "Seçenekleri göster"
OK_BUTTON = "Tamam"
LEARNED_BUTTON = "Bu vokaboyi iyice öğrendim. Bir daha sorma."
RIGHT_MARK = "Doğru cevap"
ANSWER_LABEL = re.compile(r"([a-z])\) (.*)", re.DOTALL)
CHOICES = 4  # SecenekSay when it is not set

# The word dialog.
WORD_DIALOG = "Yeni Vokabo"
WORD_FIELDS = ("Vokabo", "Karşılığı", "Örnek Cümle")
MISSING = "Eksik bilgi !"
# Turkish letters that Windows-1254 holds and Latin-1 does not (ğ ı ş), and
# some that both hold (ç ü).
NEW_WORD = ("çiçek bahçesi", "flower garden", "Güzel bir çiçek bahçesi; ağaçlar ışıl ışıl.")

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


# ---------------------------------------------------------------- word files


def word_file_lines(words):
    return [f"{english}|{turkish}|{example}|{count}|{status}"
            for english, turkish, example, count, status in words]


def install_counts_file(c, d):
    """Makes tests/data/counts.txt the word file, once it is sure that the
    file still is what COUNTS_FILE says."""
    with open(os.path.join(d.data_dir, "counts.txt"), "rb") as f:
        raw = f.read()
    expected = "".join(line + "\r\n" for line in word_file_lines(COUNTS_FILE))
    c.require("counts.txt holds the lines of the table, in Windows-1254 with CR LF",
              raw == expected.encode("cp1254"))
    with open(d.word_file, "wb") as f:
        f.write(raw)


def check_saved_words(c, d, words, step):
    """The program wrote `words` to the word file, in Windows-1254, each line
    ended by CR LF."""
    try:
        with open(d.word_file, "rb") as f:
            raw = f.read()
    except OSError as exc:
        c.check(f"{step}: word file written", False, str(exc))
        return None
    c.check(f"{step}: word file stays Windows-1254 (no byte-order mark, not UTF-8)",
            not raw.startswith(b"\xef\xbb\xbf") and not _is_utf8(raw))
    c.equal(f"{step}: word file lines", raw.decode("cp1254", "replace").split("\r\n"),
            word_file_lines(words) + [""])
    return raw


def count_table(words):
    return {english: count for english, _, _, count, status in words if status == "A"}


def with_counts(words, counts):
    return [(english, turkish, example, counts.get(english, count) if status == "A" else count,
             status) for english, turkish, example, count, status in words]


# ---------------------------------------------------------------- steps


def main_window_up(d, prog):
    return bool(d.mapped_main_windows()) and prog.main_window_showing()


def main_window_hidden(d, prog):
    return not d.mapped_main_windows() and not prog.main_window_showing()


def check_word_list(c, prog, expected, step, in_order=False, first_current=True):
    """The main window lists `expected` under the active count, in
    alphabetical order ignoring case (or, with `in_order`, in the order
    given: where letters outside ASCII lead, as a person reads them), with
    the first line current."""
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
            expected if in_order else sorted(expected, key=str.casefold))
    if first_current:
        first = word_list.getChildAtIndex(0)
        c.check(f"{step}: first line is current",
                first.getState().contains(e2e.pyatspi.STATE_SELECTED))


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
    c.equal(f"{step}: tray menu entries", [(_role_name(e.role), e.name) for e in entries],
            TRAY_MENU)
    c.equal(f"{step}: 'Çıkış' ends the program with exit code 0", prog.wait_exit(20), 0)
    return entries


def _role_name(role):
    names = {e2e.pyatspi.ROLE_MENU_ITEM: "menu item", e2e.pyatspi.ROLE_SEPARATOR: "separator"}
    return names.get(role, str(role))


def question_title(count):
    if count <= 0:
        return QUESTION_NEW
    return f"Bu vokaboyi son {count} soruda bildiniz..."


class QuestionView:
    """One question window, read afresh through AT-SPI at every look."""

    def __init__(self, prog, window):
        self.prog = prog
        self.window = window
        self.path = window.path

    def _parts(self):
        self.prog.app()  # drops what libatspi cached
        return list(e2e.descendants(self.window))

    def part(self, name, role):
        return next((a for a in self._parts() if a.name == name and a.getRole() == role), None)

    def labels_showing(self):
        return [a for a in self._parts()
                if a.getRole() == e2e.pyatspi.ROLE_LABEL and a.name and e2e.is_showing(a)]

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
        return _showing(self.part(name, e2e.pyatspi.ROLE_PUSH_BUTTON))

    def is_open(self):
        return any(w.path == self.path for w in question_windows(self.prog))

    def is_active(self):
        self.prog.app()
        return self.window.getState().contains(e2e.pyatspi.STATE_ACTIVE)


def question_windows(prog):
    """The program's question windows on the screen: the top-level windows
    with the picture that uncovers the answers."""
    return [w for w in prog.windows() if e2e.is_showing(w)
            and any(a.name == REVEAL_PICTURE for a in e2e.descendants(w))]


def wait_for_question(c, prog, step, after=None, timeout=10.0):
    """Waits for one question window, other than the one `after` looked at,
    and returns its view; without it the scenario cannot go on."""
    def one_new():
        found = [w for w in question_windows(prog) if after is None or w.path != after.path]
        return found[0] if len(found) == 1 else None

    return QuestionView(prog, c.needs(f"{step}: a question window opens", one_new, timeout))


def no_question_for(prog, seconds):
    return holds_for("no question window", lambda: not question_windows(prog), seconds)


def asked_word(c, q, words, step):
    """The word of `words` (English texts) that the question asks."""
    texts = q.question_texts()
    c.require(f"{step}: the question shows one text", len(texts) == 1, f"texts: {texts!r}")
    asked = next((english for english in words if texts[0] == f"{english} ?"), None)
    c.require(f"{step}: the question asks one of the active words", asked is not None,
              f"question: {texts[0]!r}")
    return asked


def answer_question(c, d, q, counts, right, step, reveal=COVER_TEXT):
    """Uncovers the answers of question `q` (by clicking `reveal`: the cover
    or the picture on it), picks the right or a wrong one by our own table,
    confirms with OK, and returns the asked word.  `counts` are the active
    words' counts as the program should know them now."""
    asked = asked_word(c, q, counts, step)
    c.equal(f"{step}: title tells the count of '{asked}'", q.window.name,
            question_title(counts[asked]))
    c.require(f"{step}: the cover hides the answers", q.cover() is not None and not q.answers(),
              f"labels showing: {[a.name for a in q.labels_showing()]!r}")
    c.check(f"{step}: no OK before an answer", not q.button_showing(OK_BUTTON))

    if reveal == COVER_TEXT:
        d.click_on(q.cover())
    else:
        d.click_on(q.part(REVEAL_PICTURE, e2e.pyatspi.ROLE_IMAGE))
    shown = c.needs(f"{step}: clicking the {'cover' if reveal == COVER_TEXT else 'picture'} "
                    "shows the answers", lambda: len(q.answers()) == CHOICES and q.answers())
    d.screenshot(f"{step}-answers")
    c.check(f"{step}: the cover is gone", q.cover() is None)
    letters = [letter for letter, _, _ in shown]
    texts = [text for _, text, _ in shown]
    c.equal(f"{step}: answers lettered in order", letters, list("abcdefghi"[:CHOICES]))
    c.check(f"{step}: the answers are distinct meanings of active words",
            len(set(texts)) == len(texts) and set(texts) <= set(MEANINGS.values()),
            f"answers: {texts!r}")
    c.require(f"{step}: the right answer is among them", texts.count(MEANINGS[asked]) == 1,
              f"answers: {texts!r}")

    chosen = next(label for _, text, label in shown if (text == MEANINGS[asked]) == right)
    d.click_on(chosen)
    ok = c.needs(f"{step}: OK shows after the answer", lambda: q.button_showing(OK_BUTTON))
    learned = q.button_showing(LEARNED_BUTTON)
    c.check(f"{step}: the 'learned' button shows too", learned is not None)
    if learned is not None:
        c.equal(f"{step}: 'learned' is offered only after a right answer",
                learned.getState().contains(e2e.pyatspi.STATE_ENABLED), right)
    mark = _showing(q.part(RIGHT_MARK, e2e.pyatspi.ROLE_IMAGE))
    if c.check(f"{step}: the right-answer mark shows", mark is not None):
        mark_y = _middle(mark)[1]
        nearest = min(shown, key=lambda answer: abs(_middle(answer[2])[1] - mark_y))
        c.equal(f"{step}: the mark stands by the right answer", nearest[1], MEANINGS[asked])
    d.screenshot(f"{step}-{'right' if right else 'wrong'}")

    d.click_on(ok)
    c.eventually(f"{step}: OK closes the question window", lambda: not q.is_open())
    return asked


def _middle(accessible):
    x, y, w, h = extents(accessible)
    return x + w // 2, y + h // 2


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


@scenario(settings={})
def question_on_start(d, c):
    """No settings and the sample words: a question comes up right after
    start-up, centred, without taking the keyboard; quitting while it is open
    counts nothing."""
    prog = d.start_program()
    # "Right after" as against the five minutes after which the next one
    # would be due.
    q = wait_for_question(c, prog, "start-up")
    d.screenshot("question")
    c.equal("title of a sample word (count 0)", q.window.name, QUESTION_NEW)
    asked_word(c, q, [line.split(" || ")[0] for line in SAMPLE_WORDS], "start-up")
    c.check("the cover hides the answers", q.cover() is not None and not q.answers())
    x, y, w, h = extents(q.window)
    screen_w, screen_h = e2e.SCREEN_SIZE
    c.check("question window is centred on the screen",
            abs(2 * x + w - screen_w) <= 2 and abs(2 * y + h - screen_h) <= 2,
            f"window at {(x, y, w, h)} on a {screen_w}×{screen_h} screen")
    c.check("question window does not take the keyboard",
            holds_for("question window not active", lambda: not q.is_active(), duration=1.0))
    c.eventually("main window shows as well", lambda: main_window_up(d, prog))

    quit_through_tray(c, d, prog, "quit-with-question")
    d.screenshot("after-quit")
    c.check("no word file written: nothing was answered", not os.path.exists(d.word_file))


@scenario(settings={SOR_DAK: "0"})
def scheduled_off(d, c):
    """SorDak 0: no question comes by itself, "Vokabo Sor" brings one (and is
    disabled while it is open); a click gives it the keyboard and Esc closes
    it without counting."""
    prog = d.start_program()
    c.eventually("main window shows", lambda: main_window_up(d, prog))
    c.check("no question comes by itself", no_question_for(prog, 2.0))
    d.screenshot("no-question")

    entries = d.choose_from_tray_menu(c, "Vokabo Sor", "ask-menu")
    c.check("'Vokabo Sor' is enabled with no question open",
            next(e.enabled for e in entries if e.name == "Vokabo Sor"))
    q = wait_for_question(c, prog, "'Vokabo Sor'")
    d.screenshot("asked")

    entries = d.open_tray_menu()
    d.screenshot("menu-while-asking")
    c.check("'Vokabo Sor' is disabled while a question is open",
            not next(e.enabled for e in entries if e.name == "Vokabo Sor"))
    d.dismiss_tray_menu(entries)

    c.check("question window has not taken the keyboard", not q.is_active())
    question = next(a for a in q.labels_showing() if a.name in q.question_texts())
    d.click_on(question)
    c.eventually("a click gives the question window the keyboard", q.is_active)
    d.press_key("Escape")
    c.eventually("Esc closes the question window", lambda: not q.is_open())
    d.screenshot("closed-with-esc")
    c.check("no question follows while questions are off", no_question_for(prog, 1.5))

    entries = quit_through_tray(c, d, prog, "quit")
    c.check("'Vokabo Sor' is enabled again once the question closed",
            next(e.enabled for e in entries if e.name == "Vokabo Sor"))
    c.check("no word file written: Esc counts nothing", not os.path.exists(d.word_file))


def answer_once(d, c, right):
    """Answers the start-up question of counts.txt; the series ends after one
    question, and the word file changes in the asked word's count alone."""
    install_counts_file(c, d)
    prog = d.start_program()
    q = wait_for_question(c, prog, "start-up")
    d.screenshot("question")
    counts = count_table(COUNTS_FILE)
    asked = answer_question(c, d, q, counts, right, "answer")
    d.screenshot("answered")
    quit_through_tray(c, d, prog, "quit")
    counts[asked] = counts[asked] + 1 if right else 0
    check_saved_words(c, d, with_counts(COUNTS_FILE, counts),
                      f"'{asked}' counted {'up' if right else 'back to 0'}")


@scenario(settings={SORUSAY: "1"})
def answer_counts(d, c):
    """A right answer adds one to the asked word's count."""
    answer_once(d, c, right=True)


@scenario(settings={SORUSAY: "1"})
def answer_counts_wrong(d, c):
    """A wrong answer sets the asked word's count back to 0."""
    answer_once(d, c, right=False)


@scenario(settings={SORUSAY: "2"})
def series_length(d, c):
    """sorusay 2: a right answer brings the next question at once, the second
    one ends the series; both counts reach the word file."""
    install_counts_file(c, d)
    prog = d.start_program()
    counts = count_table(COUNTS_FILE)
    first = wait_for_question(c, prog, "start-up")
    d.screenshot("first")
    asked = answer_question(c, d, first, counts, True, "first")
    counts[asked] += 1

    second = wait_for_question(c, prog, "after a right answer", after=first)
    d.screenshot("second")
    asked = answer_question(c, d, second, counts, True, "second", reveal=REVEAL_PICTURE)
    counts[asked] += 1

    c.check("no third question: the series is over", no_question_for(prog, 2.0))
    d.screenshot("series-over")
    quit_through_tray(c, d, prog, "quit")
    check_saved_words(c, d, with_counts(COUNTS_FILE, counts), "two right answers counted")


@scenario()
def new_word_dialog(d, c):
    """"Yeni Vokabo" takes a word typed with Turkish letters, refuses missing
    texts, and the word goes into the file in Windows-1254 after the active
    words."""
    install_counts_file(c, d)
    prog = d.start_program()
    c.eventually("main window shows", lambda: main_window_up(d, prog))
    d.choose_from_tray_menu(c, "Yeni Vokabo", "new-word-menu")
    dialog = c.needs("'Yeni Vokabo' opens the word dialog",
                     lambda: _showing(prog.window(WORD_DIALOG, e2e.pyatspi.ROLE_DIALOG)))
    found = list(e2e.descendants(dialog))
    fields = {a.name: a for a in found if a.getRole() == e2e.pyatspi.ROLE_TEXT}
    buttons = {a.name: a for a in found if a.getRole() == e2e.pyatspi.ROLE_PUSH_BUTTON}
    c.require("dialog has the three text boxes", sorted(fields) == sorted(WORD_FIELDS),
              f"text boxes: {sorted(fields)!r}")
    c.require("dialog has 'Ekle' and 'İptal'", sorted(buttons) == ["Ekle", "İptal"],
              f"buttons: {sorted(buttons)!r}")
    c.eventually("the dialog has the keyboard, in 'Vokabo'",
                 lambda: _focused(prog, fields["Vokabo"]))
    d.screenshot("dialog")

    d.click_on(buttons["Ekle"])
    _refused_for_missing(c, d, prog, "empty word", fields["Vokabo"])

    english, turkish, example = NEW_WORD
    d.type_text(english)
    d.press_key("Return")
    _refused_for_missing(c, d, prog, "no meaning", fields["Karşılığı"])
    d.type_text(turkish)
    d.press_key("Tab")
    c.eventually("Tab goes on to 'Örnek Cümle'", lambda: _focused(prog, fields["Örnek Cümle"]))
    d.type_text(example)
    c.eventually_equal("the typed texts arrived, Turkish letters and all",
                       lambda: [_text(fields[name]) for name in WORD_FIELDS], list(NEW_WORD),
                       timeout=5.0)
    d.screenshot("filled")

    d.press_key("Return")
    c.eventually("Enter adds the word and closes the dialog",
                 lambda: prog.window(WORD_DIALOG, e2e.pyatspi.ROLE_DIALOG) is None)
    actives = [(e, t, o, n, s) for e, t, o, n, s in COUNTS_FILE if s == "A"]
    passives = [(e, t, o, n, s) for e, t, o, n, s in COUNTS_FILE if s != "A"]
    # "ç" comes with "c", in English as in Turkish; the list is filled
    # afresh, with no line current.
    listed = sorted([f"{e} || {t}" for e, t, *_ in actives], key=str.casefold)
    listed.insert(1, f"{english} || {turkish}")
    check_word_list(c, prog, listed, "new word listed", in_order=True, first_current=False)
    d.screenshot("added")

    quit_through_tray(c, d, prog, "quit")
    new_line = (english, turkish, example, 0, "A")
    raw = check_saved_words(c, d, actives + [new_line] + passives,
                            "new word after the active words")
    if raw is not None:
        c.check("new word's line in Windows-1254 bytes",
                (word_file_lines([new_line])[0] + "\r\n").encode("cp1254") in raw)


def _refused_for_missing(c, d, prog, step, field):
    """A message box says a text is missing; after 'Tamam' the dialog stays
    and `field` has the keyboard."""
    box = c.needs(f"{step}: refused with a message box titled '{WORD_DIALOG}'",
                  lambda: _showing(prog.window(WORD_DIALOG, e2e.pyatspi.ROLE_ALERT)))
    d.screenshot(f"refused-{step.replace(' ', '-')}")
    found = list(e2e.descendants(box))
    texts = [a.name for a in found if a.getRole() == e2e.pyatspi.ROLE_LABEL]
    buttons = [a for a in found if a.getRole() == e2e.pyatspi.ROLE_PUSH_BUTTON]
    c.check(f"{step}: message says '{MISSING}'", MISSING in texts, f"labels: {texts!r}")
    c.require(f"{step}: message box has one button, 'Tamam'",
              [b.name for b in buttons] == ["Tamam"])
    d.click_on(buttons[0])
    c.eventually(f"{step}: 'Tamam' closes the message box",
                 lambda: prog.window(WORD_DIALOG, e2e.pyatspi.ROLE_ALERT) is None)
    dialog = _showing(prog.window(WORD_DIALOG, e2e.pyatspi.ROLE_DIALOG))
    c.require(f"{step}: the word dialog stays open", dialog is not None)
    # With no window manager nobody hands the keyboard back to the dialog
    # when the message box goes; a click on a bare spot of it does.
    x, y, w, h = extents(dialog)
    d.click(x + 4, y + h - 4)
    c.eventually(f"{step}: '{field.name}' has the keyboard", lambda: _focused(prog, field))


def _focused(prog, accessible):
    prog.app()
    return accessible.getState().contains(e2e.pyatspi.STATE_FOCUSED)


def _text(accessible):
    return accessible.queryText().getText(0, -1)


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
