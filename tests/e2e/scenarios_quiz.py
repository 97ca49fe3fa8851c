"""Questions: asked from the tray, answered, and the program ended over one."""

import signal

from e2e_steps import *  # noqa: F401,F403 - the shared steps and texts


@scenario(settings={SOR_DAK: "0"})
def asked_from_the_tray(d, c):
    """"Vokabo Sor" in the tray menu brings a question, centred frame and all, without taking
    the keyboard, and greys itself meanwhile; a click gives it the keyboard, Esc closes it.
    The second and third questions come up in the same place as the first."""
    prog = start_shown(c, d)
    # In the middle of the room the tray leaves, once the window manager has settled it.
    area = d.work_area()

    def frame_of(q):
        return d.outer_frame(d.mapped_windows(q.window.name)[0])

    def centred(q):
        x, y, w, h = frame_of(q)
        return abs(2 * x + w - 2 * area[0] - area[2]) <= 2 and \
            abs(2 * y + h - 2 * area[1] - area[3]) <= 2

    def close_by_keyboard(q, step):
        question = next(a for a in q.labels_showing() if a.name in q.question_texts())
        d.click_on(question)
        c.eventually(f"{step}: a click gives the question window the keyboard", q.is_active)
        d.press_key("Escape")
        c.eventually(f"{step}: Esc closes the question window", lambda: not q.is_open())

    d.choose_from_tray_menu(c, "Vokabo Sor", "ask-menu")
    q = wait_for_question(c, prog, "'Vokabo Sor'")
    d.screenshot("question")
    c.equal("title of a sample word (count 0)", q.window.name, QUESTION_NEW)
    asked_word(c, q, [line.split(" || ")[0] for line in SAMPLE_WORDS], "asked")
    c.eventually("the question window is centred, frame and all", lambda: centred(q), timeout=5)
    first_frame = frame_of(q)
    c.check("the question window does not take the keyboard",
            holds_for("question window not active", lambda: not q.is_active(), duration=1.0))

    entries = d.open_tray_menu()
    d.screenshot("menu-while-asking")
    c.check("'Vokabo Sor' is greyed while a question is open",
            not next(e.enabled for e in entries if e.name == "Vokabo Sor"))
    d.dismiss_tray_menu(entries)
    close_by_keyboard(q, "first")

    for n in (2, 3):
        d.choose_from_tray_menu(c, "Vokabo Sor", f"ask-menu-{n}")
        q = wait_for_question(c, prog, f"question {n}")
        # Its width follows its answers: the same middle and top as the first one.
        c.eventually(f"question {n} is centred too", lambda: centred(q), timeout=5)
        c.equal(f"question {n} comes up at the first one's height", frame_of(q)[1],
                first_frame[1])
        d.screenshot(f"question-{n}")
        close_by_keyboard(q, f"question {n}")
    quit_through_tray(c, d, prog, "quit")


@scenario(settings={SORUSAY: "0"})
def sigterm_over_message_box(d, c):
    """SIGTERM over the next question's example-sentence box, with a right answer unsaved: the
    program ends with exit code 0 as after "Çıkış", saving the new count and the placement."""
    install_counts_file(d)
    prog = start_shown(c, d)
    frame = move_main_window(c, d, prog, 60, 90)
    counts = count_table(COUNTS_FILE)
    first = wait_for_question(c, prog, "start-up")
    asked = answer_right(c, d, first, "first")
    counts[asked] += 1

    second = wait_for_question(c, prog, "after a right answer", after=first)
    sentence = c.needs("the example-sentence button is there",
                       lambda: second.button_showing(SENTENCE_BUTTON))
    d.click_on(sentence)
    message_box(c, prog, SENTENCE_BOX, "sentence")
    d.screenshot("sentence-box")

    prog.proc.send_signal(signal.SIGTERM)
    c.equal("SIGTERM ends the program with exit code 0", prog.wait_exit(20), 0)
    d.screenshot("after-sigterm")
    c.check("the tray icon is gone", not d.tray_icon())
    check_saved_words(c, d, with_counts(COUNTS_FILE, counts), f"'{asked}' counted up")
    if frame:
        c.equal("placement stored at SIGTERM", stored(d, SON_XY, SON_BOY),
                placement_values(*frame))
