"""The settings dialog, start at logon, always on top and the help window."""

import os
import shlex
import shutil

from e2e_steps import *  # noqa: F401,F403 - the shared steps and texts

SETTINGS_BUTTON = "Ayarlar"
HELP_BUTTON = "Program Hakkında"
SETTINGS_TITLE = "Program Ayarları"
HELP_TITLE = "Program Hakkında"
AUTOSTART = "Programı açılışta otomatik başlat"
ON_TOP = "Program ana penceresi her zaman üstte olsun"
QUESTIONS_OFF_BOX = "Zamanlanmış vokabo sorusunu devre dışı bırak"
LIST_LABELS = ["Vokabo Sorusu Periyodu", "Cevap Seçenek Sayısı",
               "Vokaboyi Silebilmek İçin En Az", "Bir Seferde Sorulacak Soru Sayısı"]
LANGUAGE_LABEL = "Vokabolerin Dili"
OPTIONS = ["Sadece vokaboden anlam sor",
           "Her iki tür de sor (vokaboden anlam ve anlamdan vokabo)"]

STORED = {SOR_DAK: "7", "Vokabo\\SecenekSay": "4", "Vokabo\\enaz": "0", SORUSAY: "0",
          "Vokabo\\sor_tur": "2"}
AUTOSTART_KEY = "Vokabo\\oto_ac"
ON_TOP_KEY = "Vokabo\\ustte"
SPEECH_KEYS = {"Vokabo\\seslendir": "H", "Vokabo\\dil": "en"}

CONTACT_LINES = "Önerilirinizi bekliyorum...\nVokabo Retano\nvokabo@example.org"
PRODUCT_LINE = "Vokabo Retano 2.7"

NAMED_ROLES = ("CHECK_BOX", "RADIO_BUTTON", "PUSH_BUTTON", "LABEL", "COMBO_BOX", "TEXT", "IMAGE")


# ---------------------------------------------------------------- steps


def open_from_bar(c, d, prog, button, title):
    """Clicks the main window's bar button and waits for the window `title`."""
    c.needs("main window on the accessibility bus", prog.main_window)
    d.click_on(c.needs(f"main window has the '{button}' button",
                       lambda: showing(bar_button(prog, button))))
    return c.needs(f"'{button}' opens '{title}'", lambda: showing(prog.window(title)))


def part(c, prog, window, role, name):
    return c.needs(f"'{name}' is there", lambda: prog.part(window, role, name))


def check_every_control_named(c, prog, window, step):
    unnamed = [a.getRoleName() for role in NAMED_ROLES for a in prog.parts(window, role)
               if not a.name and e2e.is_showing(a)]
    c.equal(f"{step}: every control has an accessible name", unnamed, [])


def combo_label(combo):
    """The label that names a drop-down list, as a screen reader finds it."""
    for relation in combo.getRelationSet():
        if relation.getRelationType() == e2e.pyatspi.RELATION_LABELLED_BY:
            return relation.getTarget(0).name
    return None


def settings_bytes(d):
    with open(d.settings_file, "rb") as f:
        return f.read()


def window_closes(c, prog, title, step):
    c.eventually(f"{step}: '{title}' closes", lambda: not showing(prog.window(title)))


def main_window_above(d):
    # Reading the window tree fails when a window (a dialog just closed) goes meanwhile.
    windows = wait_until("the window tree", d.mapped_windows, timeout=5)
    return "_NET_WM_STATE_ABOVE" in d.run("xprop", "-id", windows[0].id, "_NET_WM_STATE",
                                          check=False)


def autostart_entry(d):
    return os.path.join(d.config_home, "autostart", "vokabo.desktop")


# ---------------------------------------------------------------- scenarios


@scenario(settings=STORED)
def settings_dialog(d, c):
    """The dialog shows what is stored; "İptal" and Esc leave the settings file as it was, byte
    for byte; the disable box greys the lists and "Tamam" then stores SorDak 0."""
    prog = start_shown(c, d)
    before = settings_bytes(d)
    for step, close in (("cancel", "İptal"), ("esc", "Escape"), ("off", "Tamam")):
        dialog = open_from_bar(c, d, prog, SETTINGS_BUTTON, SETTINGS_TITLE)
        d.screenshot(f"{step}-opened")
        check_every_control_named(c, prog, dialog, step)
        combos = prog.parts(dialog, "COMBO_BOX")
        c.equal(f"{step}: the lists show the stored values", [a.name for a in combos],
                ["7 dakika", "4 Seçenekli", "Herzaman Silinebilir", "Sürekli Sor", "İngilizce"])
        c.equal(f"{step}: each list is labelled", [combo_label(a) for a in combos],
                LIST_LABELS + [LANGUAGE_LABEL])
        c.equal(f"{step}: the second question type is chosen",
                [has_state(part(c, prog, dialog, "RADIO_BUTTON", o), "CHECKED") for o in OPTIONS],
                [False, True])
        c.check(f"{step}: the first check box has the keyboard",
                focused(prog, part(c, prog, dialog, "CHECK_BOX", AUTOSTART)))

        # Change what there is to change; the last step only switches scheduled questions off.
        if step != "off":
            d.click_on(part(c, prog, dialog, "RADIO_BUTTON", OPTIONS[0]))
        for box in (AUTOSTART, ON_TOP, QUESTIONS_OFF_BOX)[2 if step == "off" else 0:]:
            d.click_on(part(c, prog, dialog, "CHECK_BOX", box))

        def greyed():
            # The words' language is no business of the scheduled questions.
            followers = [a for a in prog.parts(dialog, "COMBO_BOX")
                         if combo_label(a) in LIST_LABELS] + \
                prog.parts(dialog, "RADIO_BUTTON") + \
                [a for a in prog.parts(dialog, "LABEL") if a.name in LIST_LABELS]
            return len(followers) == 10 and not any(has_state(a, "ENABLED") for a in followers)

        c.eventually(f"{step}: the disable box greys the lists, their labels and the options",
                     greyed)
        if step != "off":
            c.check(f"{step}: start at logon and on top ticked",
                    all(has_state(part(c, prog, dialog, "CHECK_BOX", box), "CHECKED")
                        for box in (AUTOSTART, ON_TOP)))
        d.screenshot(f"{step}-changed")
        if close == "Escape":
            d.press_key("Escape")
        else:
            d.click_on(part(c, prog, dialog, "PUSH_BUTTON", close))
        window_closes(c, prog, SETTINGS_TITLE, step)
        if step != "off":
            c.check(f"{step}: the settings file is unchanged, byte for byte",
                    settings_bytes(d) == before)
            c.check(f"{step}: the main window is not kept on top", not main_window_above(d))
        c.check(f"{step}: no autostart entry", not os.path.exists(autostart_entry(d)))

    c.eventually_equal("'Tamam' stores SorDak 0 and keeps the rest",
                       lambda: stored(d, *STORED, AUTOSTART_KEY, ON_TOP_KEY, *SPEECH_KEYS),
                       dict(STORED, **{SOR_DAK: "0", AUTOSTART_KEY: "H", ON_TOP_KEY: "H"},
                            **SPEECH_KEYS))
    quit_through_tray(c, d, prog, "quit")


@scenario()
def start_at_logon(d, c):
    """Start at logon makes the autostart entry, which starts the program in the tray with "-o";
    switching it off removes the entry. Always on top takes effect at once, both ways."""
    prog = start_shown(c, d)
    dialog = open_from_bar(c, d, prog, SETTINGS_BUTTON, SETTINGS_TITLE)
    for box in (AUTOSTART, ON_TOP):
        d.click_on(part(c, prog, dialog, "CHECK_BOX", box))
    d.screenshot("switched-on")
    d.click_on(part(c, prog, dialog, "PUSH_BUTTON", "Tamam"))
    window_closes(c, prog, SETTINGS_TITLE, "on")
    c.eventually("the main window is kept on top at once", lambda: main_window_above(d))
    c.eventually_equal("start at logon and on top stored",
                       lambda: stored(d, AUTOSTART_KEY, ON_TOP_KEY),
                       {AUTOSTART_KEY: "E", ON_TOP_KEY: "E"})

    entry = autostart_entry(d)
    c.require("the autostart entry is made", os.path.exists(entry))
    with open(entry, encoding="utf-8") as f:
        lines = f.read().splitlines()
    c.equal("the entry is a desktop application named after the program",
            [line for line in lines if line.split("=")[0] in ("Type", "Name")],
            ["Type=Application", "Name=Vokabo Retano"])
    exec_line = next((line[5:] for line in lines if line.startswith("Exec=")), "")
    command = shlex.split(exec_line)
    c.equal("the entry starts this program with -o", command,
            [os.path.join(d.prog_dir, "vokabo"), "-o"])
    if shutil.which("desktop-file-validate"):
        result = d.run("desktop-file-validate", entry, check=False)
        c.equal("the entry is a valid desktop entry", result.strip(), "")
    quit_through_tray(c, d, prog, "quit")

    # What the desktop does at the next logon.
    prog = d.start_program(command[1:], name="at-logon")
    c.eventually("started at logon: the tray icon shows", d.tray_icon)
    c.check("started at logon: no window",
            holds_for("main window unmapped", lambda: main_window_hidden(d, prog), duration=2.0))
    d.screenshot("at-logon")
    d.choose_from_tray_menu(c, "Aç", "open-menu")
    c.eventually("'Aç' shows the main window", lambda: main_window_up(d, prog))
    c.eventually("still kept on top after the restart", lambda: main_window_above(d))

    dialog = open_from_bar(c, d, prog, SETTINGS_BUTTON, SETTINGS_TITLE)
    for box in (AUTOSTART, ON_TOP):
        checkbox = part(c, prog, dialog, "CHECK_BOX", box)
        c.check(f"'{box}' shows ticked", has_state(checkbox, "CHECKED"))
        d.click_on(checkbox)
    d.click_on(part(c, prog, dialog, "PUSH_BUTTON", "Tamam"))
    window_closes(c, prog, SETTINGS_TITLE, "off")
    c.eventually("switching off removes the entry", lambda: not os.path.exists(entry))
    c.eventually("the main window goes back among the others", lambda: not main_window_above(d))
    c.equal("switched off, stored", stored(d, AUTOSTART_KEY, ON_TOP_KEY),
            {AUTOSTART_KEY: "H", ON_TOP_KEY: "H"})
    d.screenshot("switched-off")
    quit_through_tray(c, d, prog, "quit-again")


@scenario()
def help_window(d, c):
    """The help window shows the guide exactly, the contact and product lines and where the
    word file lives; Enter and Esc close it."""
    # The guide as its text box shows it: headings over their paragraphs, blank lines between.
    with open(os.path.join(d.data_dir, "help.txt"), encoding="utf-8") as f:
        guide = f.read()
    prog = start_shown(c, d)
    for key in ("Return", "Escape"):
        window = open_from_bar(c, d, prog, HELP_BUTTON, HELP_TITLE)
        d.screenshot(f"before-{key}")
        check_every_control_named(c, prog, window, key)
        texts = prog.parts(window, "TEXT")
        c.equal(f"{key}: the guide, exactly", [text_of(a) for a in texts], [guide])
        labels = {a.name: a for a in prog.parts(window, "LABEL")}
        c.check(f"{key}: the contact lines", CONTACT_LINES in labels, f"{list(labels)!r}")
        c.check(f"{key}: the product line", PRODUCT_LINE in labels, f"{list(labels)!r}")
        if PRODUCT_LINE in labels:
            c.check(f"{key}: the product line tells where the word file is",
                    labels[PRODUCT_LINE].description.endswith(d.word_file),
                    labels[PRODUCT_LINE].description)
        ok = part(c, prog, window, "PUSH_BUTTON", "Tamam")
        c.eventually(f"{key}: 'Tamam' has the keyboard", lambda: focused(prog, ok))
        d.press_key(key)
        window_closes(c, prog, HELP_TITLE, key)
    d.screenshot("closed")
    quit_through_tray(c, d, prog, "quit")
