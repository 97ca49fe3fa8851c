"""The answer history: what was answered today, as the progress window's table tells it."""

import datetime
import os

from e2e_steps import *  # noqa: F401,F403 - the shared steps and texts

MONTHS = ["Oca", "Şub", "Mar", "Nis", "May", "Haz", "Tem", "Ağu", "Eyl", "Eki", "Kas", "Ara"]


def answer_wrong(c, d, q, step):
    """Uncovers the answers, picks one that is not the asked word's meaning, confirms."""
    asked = asked_word(c, q, MEANINGS, step)
    d.click_on(q.cover())
    shown = c.needs(f"{step}: a click on the cover shows the answers", q.answers)
    d.click_on(next(label for _, text, label in shown if text != MEANINGS[asked]))
    d.click_on(c.needs(f"{step}: OK shows after the answer", lambda: q.button_showing(OK_BUTTON)))
    c.eventually(f"{step}: OK closes the question window", lambda: not q.is_open())


@scenario(settings={SOR_DAK: "0", SORUSAY: "0"})
def progress_tells_todays_answers(d, c):
    """Three questions answered, two right and one wrong; "İlerleme" from the tray menu opens
    the progress window, whose table ("Tablo") gives today's counts. The history lies beside
    the word file."""
    install_counts_file(d)
    prog = start_shown(c, d)
    d.choose_from_tray_menu(c, "Vokabo Sor", "ask")
    first = wait_for_question(c, prog, "first")
    answer_right(c, d, first, "first")
    second = wait_for_question(c, prog, "second", after=first)
    answer_right(c, d, second, "second")
    third = wait_for_question(c, prog, "third", after=second)
    answer_wrong(c, d, third, "third")

    d.choose_from_tray_menu(c, "İlerleme", "progress-menu")
    window = c.needs("the progress window shows", lambda: next(
        (w for w in prog.windows() if w.name == "İlerleme" and showing(w)), None))
    d.screenshot("progress-charts")
    d.click_on(c.needs("its 'Tablo' switch", lambda: prog.part(window, "CHECK_BOX", "Tablo")))
    table = c.needs("the table of the days shows",
                    lambda: showing(prog.part(window, "TABLE", "Günlük cevaplar")))
    d.screenshot("progress-table")
    today = datetime.date.today()
    cells = table.queryTable()
    c.equal("today's line: date, right, wrong, all",
            [cells.getAccessibleAt(0, column).name for column in range(4)],
            [f"{today.day} {MONTHS[today.month - 1]}", "2", "1", "3"])
    c.check("the history file lies beside the word file",
            os.path.isfile(os.path.join(d.prog_dir, "vokabo-gecmis.sqlite")))
    quit_through_tray(c, d, prog, "quit")
