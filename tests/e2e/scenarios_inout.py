"""Words from a file through the list's context menu, and finding a word by typing."""

import os

from e2e_steps import *  # noqa: F401,F403 - the shared steps and texts

IMPORT_TITLE = "Dosyadan Vokabo Ekle"
# A teacher's list from a Turkish spreadsheet: semicolons, UTF-8 with a byte-order mark; one
# word is there already, one line has no meaning.
LESSON = ("\ufeffdog;köpek;The dog barks.\r\nkey;anahtar;\r\nlonely\r\n"
          "light;ışık;Işık yandı.\r\n")
ADDED = [("dog", "köpek", "The dog barks.", 0, "A"), ("light", "ışık", "Işık yandı.", 0, "A")]


# A teacher's list with a header row, the Turkish word first.
TEACHER = "Kelime;Anlamı;Örnek cümle\r\nköpek;dog;Köpek havlıyor.\r\nelma;apple;\r\n"
SWAPPED = [("dog", "köpek", "Köpek havlıyor.", 0, "A"), ("apple", "elma", "", 0, "A")]


def preview_labels(prog):
    """The labels of the preview window once it has read the file, else None."""
    for window in prog.windows():
        if window.name == IMPORT_TITLE and window.getRole() == e2e.pyatspi.ROLE_DIALOG:
            labels = [a.name for a in prog.parts(window, "LABEL")]
            if any("Eklenecek yeni vokabo" in text for text in labels):
                return window, labels
    return None


def write_lesson(d, text):
    """A file for the import, in the folder the file dialog opens in: its listing is there
    at once, so the dialog takes the name typed without waiting for a folder to load."""
    path = os.path.join(d.prog_dir, "ders.csv")
    with open(path, "w", encoding="utf-8", newline="") as f:
        f.write(text)
    return path


def import_by_menu(c, d, prog, path):
    """The list's context menu by keyboard, its first entry, the file's name typed in the
    dialog; the preview's window and labels once it has read the file."""
    d.click_on(line_item(prog, 0))
    d.press_key("Menu")
    d.press_key("Down")
    d.press_key("Return")
    dialog = c.needs("the first entry opens a file dialog",
                     lambda: showing(prog.window(IMPORT_TITLE, e2e.pyatspi.ROLE_DIALOG)))
    name = os.path.basename(path)
    field = c.needs("the name field has the keyboard", lambda: next(
        (f for f in prog.parts(dialog, "TEXT") if focused(prog, f)), None))
    d.type_text(name)
    c.eventually("the dialog finds the file typed", lambda: text_of(field) == name and has_state(
        prog.part(dialog, "PUSH_BUTTON", "Open"), "ENABLED"))
    d.screenshot("file-dialog")
    d.press_key("Return")
    return c.needs("the preview tells what the file brings", lambda: preview_labels(prog))


@scenario()
def words_from_a_file_and_search(d, c):
    """The list's context menu, by keyboard, opens a file dialog; the file typed there is
    previewed with what it adds, what the lists have already and the line it cannot read;
    Enter ("Ekle") adds the new words. Typing in the list finds "ışık" by "IŞ", the strip
    counts the lines found, Esc brings every line back; the file at exit has the new words."""
    install_counts_file(d)
    lesson = write_lesson(d, LESSON)
    prog = start_shown(c, d)
    found = import_by_menu(c, d, prog, lesson)
    _, labels = found
    summary = "\n".join(labels)
    d.screenshot("preview")
    for expected in ("Eklenecek yeni vokabo: 2", "Listelerde zaten olduğu için eklenmeyecek: 1",
                     "Okunamayan satır: 1"):
        c.check(f"preview says '{expected}'", expected in summary, f"labels: {labels!r}")
    window, _ = found
    items = [item.name for lst in prog.parts(window, "LIST", "Okunamayan satırlar")
             for item in lst]
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


@scenario()
def preview_swap_add_and_undo(d, c):
    """A semicolon CSV with a header row: the preview shows its words without the header,
    "Sütunları değiştir" makes the English the word, "Ekle" adds them, and "Son içe aktarmayı
    geri al" from the list's context menu takes them out again; the file at exit is as before."""
    install_counts_file(d)
    lesson = write_lesson(d, TEACHER)
    prog = start_shown(c, d)
    window, _ = import_by_menu(c, d, prog, lesson)

    def rows():
        cells = [a.name for a in prog.parts(window, "TABLE_CELL")]
        return [cells[i:i + 3] for i in range(0, len(cells), 3)]

    c.equal("the table shows the words, not the header", rows(),
            [["köpek", "dog", "Köpek havlıyor."], ["elma", "apple", ""]])
    header = prog.part(window, "CHECK_BOX", "İlk satır başlık: sütunların adları")
    c.check("the header row is recognised", header is not None and has_state(header, "CHECKED"))
    d.screenshot("preview-guessed")
    d.click_on(prog.part(window, "PUSH_BUTTON", "Sütunları değiştir"))
    c.eventually_equal("the swap reads the file again", lambda: rows()[0][:2], ["dog", "köpek"])
    d.screenshot("preview-swapped")
    d.click_on(prog.part(window, "PUSH_BUTTON", "Ekle"))
    c.eventually("'Ekle' closes the preview", lambda: preview_labels(prog) is None)
    actives = [w for w in COUNTS_FILE if w[4] == "A"]
    check_word_list(c, prog, active_lines(actives + SWAPPED), "words added", first_current=False)

    d.click_on(line_item(prog, 0))
    d.press_key("Menu")
    for _ in range(3):
        d.press_key("Down")
    d.screenshot("undo-menu")
    d.press_key("Return")
    check_word_list(c, prog, active_lines(actives), "import undone", first_current=False)
    quit_through_tray(c, d, prog, "quit")
    check_saved_words(c, d, COUNTS_FILE, "the words as they were")
