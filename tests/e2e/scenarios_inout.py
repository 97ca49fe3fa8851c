"""Words from a file through the list's context menu, and finding a word by typing."""

import os

from e2e_steps import *  # noqa: F401,F403 - the shared steps and texts

IMPORT_TITLE = "Dosyadan Vokabo Ekle"
# A teacher's list from a Turkish spreadsheet: semicolons, UTF-8 with a byte-order mark; one
# word is there already, one line has no meaning.
LESSON = ("\ufeffdog;köpek;The dog barks.\r\nkey;anahtar;\r\nlonely\r\n"
          "light;ışık;Işık yandı.\r\n")
ADDED = [("dog", "köpek", "The dog barks.", 0, "A"), ("light", "ışık", "Işık yandı.", 0, "A")]


def preview_labels(prog):
    """The labels of the preview window once it has read the file, else None."""
    for window in prog.windows():
        if window.name == IMPORT_TITLE and window.getRole() == e2e.pyatspi.ROLE_DIALOG:
            labels = [a.name for a in prog.parts(window, "LABEL")]
            if any("Eklenecek yeni vokabo" in text for text in labels):
                return window, labels
    return None


@scenario()
def words_from_a_file_and_search(d, c):
    """The list's context menu, by keyboard, opens a file dialog; the file typed there is
    previewed with what it adds, what the lists have already and the line it cannot read;
    Enter ("Ekle") adds the new words. Typing in the list finds "ışık" by "IŞ", the strip
    counts the lines found, Esc brings every line back; the file at exit has the new words."""
    install_counts_file(d)
    lesson = os.path.join(d.home, "ders.csv")
    with open(lesson, "w", encoding="utf-8", newline="") as f:
        f.write(LESSON)
    prog = start_shown(c, d)
    d.click_on(line_item(prog, 0))
    c.eventually("a click makes the first line current", lambda: current_line(prog) == 0)

    d.press_key("Menu")
    d.press_key("Down")
    d.screenshot("context-menu")
    d.press_key("Return")
    c.needs("the first entry opens a file dialog",
            lambda: showing(prog.window(IMPORT_TITLE, e2e.pyatspi.ROLE_DIALOG)))
    d.type_text(lesson)
    d.screenshot("file-dialog")
    d.press_key("Return")

    found = c.needs("the preview tells what the file brings", lambda: preview_labels(prog))
    _, labels = found
    summary = "\n".join(labels)
    d.screenshot("preview")
    for expected in ("Eklenecek yeni vokabo: 2", "Listelerde zaten olduğu için eklenmeyecek: 1",
                     "Okunamayan satır: 1"):
        c.check(f"preview says '{expected}'", expected in summary, f"labels: {labels!r}")
    window, _ = found
    items = [item.name for lst in prog.parts(window, "LIST") for item in lst]
    c.equal("the unreadable line with its number and why", items,
            ["Satır 3: Karşılığı yok: satırda tek sütun var."])
    d.press_key("Return")
    c.eventually("'Ekle' closes the preview", lambda: preview_labels(prog) is None)
    actives = [w for w in COUNTS_FILE if w[4] == "A"]
    passives = [w for w in COUNTS_FILE if w[4] != "A"]
    check_word_list(c, prog, active_lines(actives + ADDED), "words added", first_current=False)

    # Typing in the list searches; "IŞ" is "ış" to a Turkish reader.
    d.click_on(line_item(prog, 0))
    d.type_text("IŞ")
    c.eventually_equal("typing finds the word by its meaning", lambda: prog.word_list()[1],
                       ["light || ışık"])
    total = len(actives) + len(ADDED)
    c.check("the strip counts the lines found", f"1 / {total}" in
            [text.strip() for text in prog.word_list()[0]], f"labels: {prog.word_list()[0]!r}")
    d.screenshot("search")
    d.press_key("Escape")
    c.eventually_equal("Esc brings every line back", lambda: len(prog.word_list()[1]), total)
    c.check("and leaves the window up", main_window_up(d, prog))

    quit_through_tray(c, d, prog, "quit")
    check_saved_words(c, d, actives + ADDED + passives, "added words after the active ones")
