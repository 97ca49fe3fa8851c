"""The smart choice of the asked word ("Soruları akıllı seç"): a word answered wrong comes back."""

import os
import sqlite3

from e2e_steps import *  # noqa: F401,F403 - the shared steps and texts

AKILLI = "Vokabo\\akilli"
# Twelve active words: the blind draw would seldom ask a given one first.
WORDS = {f"word{i}": f"anlam{i}" for i in range(1, 13)}


def answer(c, d, q, step, right):
    """Uncovers the answers, picks the right one or a wrong one, confirms; the asked word."""
    asked = asked_word(c, q, WORDS, step)
    d.click_on(q.cover())
    shown = c.needs(f"{step}: a click on the cover shows the answers", q.answers)
    d.click_on(next(label for _, text, label in shown if (text == WORDS[asked]) == right))
    d.click_on(c.needs(f"{step}: OK shows after the answer", lambda: q.button_showing(OK_BUTTON)))
    c.eventually(f"{step}: OK closes the question window", lambda: not q.is_open())
    return asked


@scenario(settings={SOR_DAK: "0", SORUSAY: "0", AKILLI: "E"})
def word_answered_wrong_comes_back(d, c):
    """With "Soruları akıllı seç" on, a word answered wrong an hour and a half ago (the history
    says so) is the word the next question asks, after a restart."""
    with open(d.word_file, "wb") as f:
        f.write("".join(f"{e}|{t}||0|A\r\n" for e, t in WORDS.items()).encode("cp1254"))
    prog = start_shown(c, d)
    d.choose_from_tray_menu(c, "Vokabo Sor", "ask")
    wrong = answer(c, d, wait_for_question(c, prog, "first"), "first", right=False)
    quit_through_tray(c, d, prog, "quit")

    db = sqlite3.connect(os.path.join(d.prog_dir, "vokabo-gecmis.sqlite"))
    with db:
        db.execute("UPDATE answers SET moment = moment - 5400000")
    db.close()

    prog = start_shown(c, d, name="again")
    d.choose_from_tray_menu(c, "Vokabo Sor", "ask-again")
    again = wait_for_question(c, prog, "again")
    d.screenshot("asked-again")
    c.equal("the word answered wrong is asked first", asked_word(c, again, WORDS, "again"), wrong)
    answer(c, d, again, "again", right=True)
    quit_through_tray(c, d, prog, "quit-again")
