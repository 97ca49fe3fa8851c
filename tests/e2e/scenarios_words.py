"""The word dialog."""

from e2e_steps import *  # noqa: F401,F403 - the shared steps and texts


@scenario()
def new_word_dialog(d, c):
    """"Yeni Vokabo" takes a word typed with Turkish letters, refuses a missing meaning and
    hands the keyboard back to its box; the word is saved in Windows-1254 after the active ones."""
    install_counts_file(d)
    prog = start_shown(c, d)
    d.choose_from_tray_menu(c, "Yeni Vokabo", "new-word-menu")
    dialog = c.needs("'Yeni Vokabo' opens the word dialog",
                     lambda: showing(prog.window(WORD_DIALOG, e2e.pyatspi.ROLE_DIALOG)))
    fields = {a.name: a for a in prog.parts(dialog, "TEXT")}
    buttons = {a.name: a for a in prog.parts(dialog, "PUSH_BUTTON")}
    c.require("dialog has the three text boxes", sorted(fields) == sorted(WORD_FIELDS),
              f"text boxes: {sorted(fields)!r}")
    c.require("dialog has 'Ekle', 'İptal' and the speaker",
              sorted(buttons) == ["Ekle", "Seslendir", "İptal"],
              f"buttons: {sorted(buttons)!r}")
    c.eventually("the dialog has the keyboard, in 'Vokabo'",
                 lambda: focused(prog, fields["Vokabo"]))
    d.screenshot("dialog")

    english, turkish, example = NEW_WORD
    d.type_text(english)
    d.press_key("Return")
    texts, box_buttons = message_box(c, prog, WORD_DIALOG, "no meaning")
    c.check(f"no meaning: the box says '{MISSING}'", MISSING in texts, f"labels: {texts!r}")
    d.click_on(box_buttons["Tamam"])
    c.eventually("after 'Tamam' the keyboard is back in 'Karşılığı'",
                 lambda: focused(prog, fields["Karşılığı"]))
    d.type_text(turkish)
    d.press_key("Tab")
    c.eventually("Tab goes on to 'Örnek Cümle'", lambda: focused(prog, fields["Örnek Cümle"]))
    d.type_text(example)
    c.eventually_equal("the typed texts arrived, Turkish letters and all",
                       lambda: [text_of(fields[name]) for name in WORD_FIELDS], list(NEW_WORD),
                       timeout=5.0)
    d.screenshot("filled")

    d.press_key("Return")
    c.eventually("Enter adds the word and closes the dialog",
                 lambda: prog.window(WORD_DIALOG, e2e.pyatspi.ROLE_DIALOG) is None)
    actives = [word for word in COUNTS_FILE if word[4] == "A"]
    passives = [word for word in COUNTS_FILE if word[4] != "A"]
    # "ç" comes with "c", in English as in Turkish; the list is filled afresh, no line current.
    listed = active_lines(COUNTS_FILE)
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
