"""The main window's list panel, its button bar and its advert panel."""

import os
import stat
import time

from e2e_steps import *  # noqa: F401,F403 - the shared steps and texts

DELETE_TITLE = "Vokabo Silme"
TOGGLE_TITLE = "Vokabo Aktif/Pasif"
EDIT_TITLE = "Vokabo Düzelt"
TOGGLE_BUTTON = "Seçili Vokaboyi Aktif/Pasif Yap"
NEW_VERSION_BUTTON = "Yeni Versiyon Var mı?"
ADVERT_PICTURE = "Kişi arama servisi"


def tab(prog, name):
    return prog.part(prog.main_window(), "LABEL", name)


def shown_lines(prog):
    labels, items, _ = prog.word_list()
    return [text for text in labels if TITLE_STRIP.fullmatch(text)], items


@scenario()
def list_commands(d, c):
    """Delete asks before it removes the selected word and makes the next line current ("Hayır"
    changes nothing); the move button sends a word under tab "P"; a double-click opens "Vokabo
    Düzelt" with the word's texts and "Sakla" stores the change in its own record; the file at
    exit shows all three."""
    install_counts_file(d)
    prog = start_shown(c, d)
    lines = active_lines(COUNTS_FILE)
    check_word_list(c, prog, lines, "started")

    # "key || anahtar" is second in the list: Delete, then "Hayır".
    d.click_on(line_item(prog, 1))
    c.eventually("a click makes the line current", lambda: current_line(prog) == 1)
    d.press_key("Delete")
    texts, buttons = message_box(c, prog, DELETE_TITLE, "Delete")
    d.screenshot("delete-asks")
    c.check("it asks about the quoted word",
            '"key" vokabo tanımını silmek istiyor musunuz ?' in texts, f"labels: {texts!r}")
    c.require("with 'Evet' and 'Hayır'", sorted(buttons) == ["Evet", "Hayır"],
              f"buttons: {sorted(buttons)!r}")
    d.click_on(buttons["Hayır"])
    c.eventually("'Hayır' closes the box", lambda: prog.window(DELETE_TITLE) is None)
    c.equal("'Hayır' leaves the list", shown_lines(prog)[1], lines)
    c.eventually("and the same line current", lambda: current_line(prog) == 1)

    d.press_key("Delete")
    _, buttons = message_box(c, prog, DELETE_TITLE, "Delete again")
    d.click_on(buttons["Evet"])
    del lines[1]
    c.eventually_equal("'Evet' removes the line", lambda: shown_lines(prog)[1], lines)
    c.eventually("the next line is current", lambda: current_line(prog) == 1)
    d.screenshot("deleted")

    # The current line is now "mirror"; the move button asks, then moves it.
    moved = lines[1]
    d.click_on(bar_button(prog, TOGGLE_BUTTON))
    texts, buttons = message_box(c, prog, TOGGLE_TITLE, "move")
    c.check("it asks to make the quoted word passive",
            '"mirror" vokabo tanımını pasif yapmak istiyor musunuz ?' in texts,
            f"labels: {texts!r}")
    d.click_on(buttons["Evet"])
    lines.remove(moved)
    c.eventually_equal("the moved word leaves the active list", lambda: shown_lines(prog)[1],
                       lines)

    d.click_on(tab(prog, "Pasif Vokaboler"))
    c.eventually_equal("tab 'P' shows the passive words, the moved one with them",
                       lambda: shown_lines(prog),
                       (["Pasif Vokaboleriniz (2)"], ["mirror || ayna", "soap || sabun"]))
    d.screenshot("passive-tab")
    d.click_on(tab(prog, "Aktif Vokaboler"))
    c.eventually_equal("tab 'A' shows the active words again", lambda: shown_lines(prog)[1],
                       lines)

    # A double-click edits a line's own record: "needle || iğne", now second.
    d.click_on(line_item(prog, 1), repeat=2)
    dialog = c.needs("a double-click opens 'Vokabo Düzelt'",
                     lambda: showing(prog.window(EDIT_TITLE, e2e.pyatspi.ROLE_DIALOG)))
    fields = {a.name: a for a in prog.parts(dialog, "TEXT")}
    buttons = {a.name: a for a in prog.parts(dialog, "PUSH_BUTTON")}
    c.equal("the boxes hold the word's texts", [text_of(fields[n]) for n in WORD_FIELDS],
            ["needle", "iğne", "İğne battı."])
    c.require("the confirm button reads 'Sakla'", "Sakla" in buttons, f"{sorted(buttons)!r}")
    d.screenshot("edit-dialog")
    d.click_on(fields["Karşılığı"])
    d.press_key("ctrl+a")
    d.type_text("dikiş iğnesi")
    c.eventually_equal("the new meaning arrived", lambda: text_of(fields["Karşılığı"]),
                       "dikiş iğnesi", timeout=5)
    d.click_on(buttons["Sakla"])
    c.eventually("'Sakla' closes the dialog", lambda: prog.window(EDIT_TITLE) is None)
    lines[1] = "needle || dikiş iğnesi"
    c.eventually_equal("the list shows the new meaning", lambda: shown_lines(prog)[1], lines)

    quit_through_tray(c, d, prog, "quit")
    edited = [w if w[0] != "needle" else ("needle", "dikiş iğnesi", "İğne battı.", 5, "A")
              for w in COUNTS_FILE]
    actives = [w for w in edited if w[4] == "A" and w[0] not in ("key", "mirror")]
    check_saved_words(c, d, actives + [w for w in COUNTS_FILE if w[4] == "P"]
                      + [("mirror", "ayna", "Aynaya bak.", 2, "P")],
                      "without 'key', 'mirror' passive with its count, 'needle' edited in place")


@scenario()
def layout_hover_and_links(d, c):
    """Resized to 500 × 400 the list widens and the tabs keep to the right edge; the pointer on a
    bar button highlights it and pulses its picture until it leaves; the advert picture and
    "Yeni Versiyon Var mı?" hand web addresses to the browser, whose failure is not reported."""
    record = os.path.join(d.root, "opened.txt")
    fake_bin = os.path.join(d.root, "bin")
    os.makedirs(fake_bin)
    opener = os.path.join(fake_bin, "xdg-open")
    with open(opener, "w") as f:
        f.write(f'#!/bin/sh\necho "$1" >> {record}\nexit 3\n')
    os.chmod(opener, stat.S_IRWXU)
    open(record, "w").close()
    d.env["PATH"] = fake_bin + os.pathsep + d.env["PATH"]
    d.env.pop("BROWSER", None)
    prog = start_shown(c, d)

    def tab_gaps():
        """Each tab's distance from the window's right edge."""
        x, _, w, _ = extents(prog.main_window())
        return [x + w - extents(tab(prog, name))[0]
                for name in ("Aktif Vokaboler", "Pasif Vokaboler")]

    designed = tab_gaps()
    d.on_window("windowsize", d.mapped_windows()[0], "500", "400")
    c.eventually_equal("the client area is 500 × 400", lambda: extents(prog.main_window())[2:],
                       (500, 400))
    c.eventually_equal("the list is as wide as the window",
                       lambda: extents(prog.word_list()[2])[2], 500)
    c.eventually_equal("the tabs stand as far from the right edge as before", tab_gaps, designed)
    d.screenshot("resized")

    button = bar_button(prog, "Ayarlar")
    resting = d.grab(button)
    x, y, w, h = extents(button)
    d.hover(x + w // 2, y + h // 2)

    def changed():
        pixels = d.grab(button)
        return pixels if pixels != resting else None

    first = c.eventually("the pointer on 'Ayarlar' changes its look", changed, timeout=5)
    d.screenshot("hover")
    time.sleep(0.2)
    second = d.grab(button)
    c.check("the picture pulses while the pointer rests there",
            first is not None and second != first and second != resting)
    d.move_pointer(x + w // 2, y + h + 60)
    c.eventually("leaving the button brings back its resting look",
                 lambda: d.grab(button) == resting, timeout=5)
    d.screenshot("left")

    def opened():
        with open(record) as f:
            return f.read().split()

    picture = c.needs("the advert picture is there", lambda: next(
        (a for a in e2e.descendants(prog.main_window()) if a.name == ADVERT_PICTURE), None))
    d.click_on(picture)
    pages = c.eventually("the advert picture opens a web page", lambda: len(opened()) == 1
                         and opened())
    d.click_on(bar_button(prog, NEW_VERSION_BUTTON))
    both = c.eventually("'Yeni Versiyon Var mı?' opens another", lambda: len(opened()) == 2
                        and opened())
    if pages and both:
        c.check("both are web addresses, and not the same",
                all(p.startswith("https://") for p in both) and both[0] != both[1],
                f"opened: {both!r}")
    c.check("the program goes on", prog.running() and main_window_up(d, prog))
    quit_through_tray(c, d, prog, "quit")

