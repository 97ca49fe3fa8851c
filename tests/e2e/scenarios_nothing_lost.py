"""Nothing lost in a real day: a kill soon after a change, a second login on the same program
folder, a word file edited in another program while the program runs."""

import os
import signal
import time

from e2e_steps import *  # noqa: F401,F403 - the shared steps and texts


def add_word(c, d, prog, word, step):
    """Types `word` (English, Turkish, example) into "Yeni Vokabo" and adds it."""
    d.choose_from_tray_menu(c, "Yeni Vokabo", f"{step}-menu")
    c.needs(f"{step}: the word dialog opens",
            lambda: showing(prog.window(WORD_DIALOG, e2e.pyatspi.ROLE_DIALOG)))
    for i, text in enumerate(word):
        if i:
            d.press_key("Tab")
        d.type_text(text)
    d.press_key("Return")
    c.eventually(f"{step}: the dialog closes",
                 lambda: prog.window(WORD_DIALOG, e2e.pyatspi.ROLE_DIALOG) is None)


def word_file_text(d):
    with open(d.word_file, "rb") as f:
        return f.read().decode("cp1254")


@scenario()
def killed_soon_after_a_change(d, c):
    """A word added, then the program killed (as a crash, a power cut or a dying display would
    end it) a few seconds later: the word is in the word file all the same."""
    install_counts_file(d)
    prog = start_shown(c, d)
    add_word(c, d, prog, NEW_WORD, "add")
    time.sleep(4)
    prog.proc.send_signal(signal.SIGKILL)
    prog.wait_exit(10)
    c.check("the word added before the kill is in the word file",
            "|".join(NEW_WORD) + "|0|A\r\n" in word_file_text(d), word_file_text(d)[-200:])
    c.check("the other words are all there",
            all(line in word_file_text(d) for line in word_file_lines(COUNTS_FILE)))


@scenario()
def second_login_is_refused(d, c):
    """A second start from another login (another home, runtime folder and settings) on the same
    program folder is refused, so two copies never write one word file."""
    prog = start_shown(c, d)
    other = os.path.join(d.root, "other-login")
    env = {name: os.path.join(other, folder) for name, folder in
           (("HOME", "home"), ("XDG_RUNTIME_DIR", "run"), ("XDG_CONFIG_HOME", "config"),
            ("XDG_DATA_HOME", "data"))}
    for path in env.values():
        os.makedirs(path, mode=0o700)
    second = d.start_program(name="other-login", env=env)
    labels, buttons = message_box(c, second, PROGRAM_NAME, "other login")
    told = labels[-1] if labels else ""
    c.check("the other login's copy says that one runs, in another session",
            told.startswith("Programın bir kopyası zaten çalışıyor !")
            and "başka bir oturumunuzda" in told, labels)
    d.click_on(buttons["Tamam"])
    c.equal("the other login's copy ends with exit code 0", second.wait_exit(20), 0)
    c.check("the first copy runs on", prog.running())
    quit_through_tray(c, d, prog, "quit")


@scenario()
def word_file_edited_outside(d, c):
    """A line appended to the word file in another program shows in the list at once; a word
    then added in the program and the exit keep both."""
    install_counts_file(d)
    prog = start_shown(c, d)
    appended = ("ladder", "merdiven", "", 0, "A")
    with open(d.word_file, "ab") as f:
        f.write((word_file_lines([appended])[0] + "\r\n").encode("cp1254"))
    expected = active_lines(COUNTS_FILE + [appended])

    def shown():
        labels, items, _ = prog.word_list()
        return [text for text in labels if TITLE_STRIP.fullmatch(text)], items

    # Read afresh until both the title and the lines are the new ones: the
    # accessibility bus may bring the two changes one after the other.
    c.eventually_equal("read again: the title counts the new line, the list shows it", shown,
                       ([f"Aktif Vokaboleriniz ({len(expected)})"], expected))
    d.screenshot("read-again")
    added = ("rope", "ip", "")
    add_word(c, d, prog, added, "add")
    quit_through_tray(c, d, prog, "quit")
    text = word_file_text(d)
    c.check("the line added outside is in the word file", "ladder|merdiven||0|A\r\n" in text)
    c.check("the word added in the program is in the word file", "rope|ip||0|A\r\n" in text)
