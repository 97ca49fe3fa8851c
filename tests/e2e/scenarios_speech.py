"""Words read aloud by the desktop's speech service, and the question window's keys."""

import os
import time

from e2e_steps import *  # noqa: F401,F403 - the shared steps and texts

SPEAKER = "Seslendir"
NO_SERVICE = "Konuşma hizmeti bulunamadı"
SESLENDIR = "Vokabo\\seslendir"
TERMINAL = "Terminal"
# A word read by espeak-ng lasts about a second; silence or a cut-off word is no pronunciation.
PLAUSIBLE_SECONDS = (0.25, 4.0)


def speaker(c, q):
    return c.needs("the question has a speaker button", lambda: q.button_showing(SPEAKER))


def centre_of(accessible):
    x, y, w, h = extents(accessible)
    return x + w // 2, y + h // 2


def check_sound(c, d, path, step):
    seconds, peak = d.sound_in(path)
    c.check(f"{step}: a word's worth of speech came out",
            PLAUSIBLE_SECONDS[0] <= seconds <= PLAUSIBLE_SECONDS[1] and peak > 0.05,
            f"{seconds:.2f} s of sound, peak {peak:.3f}")


@scenario(settings={SOR_DAK: "5", SESLENDIR: "E"}, speech=True)
def read_aloud(d, c):
    """With "Soruyu seslendir" on, the first question (due at start, maybe before the program
    has reached the service) is read once the service is ready; the speaker reads it again."""
    opening = os.path.join(d.root, "opening.wav")
    recorder = d.record_sound(opening)
    prog = d.start_program(["-o"])
    q = wait_for_question(c, prog, "start-up")
    button = speaker(c, q)
    c.needs("the speaker is enabled once the service is ready",
            lambda: has_state(q.button_showing(SPEAKER), "ENABLED"), timeout=90)
    time.sleep(4)
    d.stop_recording(recorder)
    check_sound(c, d, opening, "as the question opened")

    clicked = os.path.join(d.root, "clicked.wav")
    recorder = d.record_sound(clicked)
    time.sleep(0.5)
    d.click_on(button)
    time.sleep(4)
    d.stop_recording(recorder)
    check_sound(c, d, clicked, "the speaker button")
    d.screenshot("read-aloud")
    quit_through_tray(c, d, prog, "quit")


@scenario(settings={SOR_DAK: "5"})
def keys_of_the_question(d, c):
    """A scheduled question leaves the keys typed into a terminal there, its own keys among
    them. Clicked, it answers to the keyboard: Space lifts the cover and numbers the answers
    without moving them, the right answer's number judges it, Enter is OK, and the next
    question of the series takes the keyboard. With no speech service its speaker is greyed
    and says why."""
    install_counts_file(d)
    typed = os.path.join(d.root, "typed.txt")
    d.start_process("xterm", ["xterm", "-fa", "Liberation Mono", "-title", TERMINAL, "-e", "sh", "-c", f"cat > {typed}"])
    terminal = c.needs("the terminal is up", lambda: next(iter(d.windows_named(TERMINAL)), None))
    c.eventually("the terminal has the keyboard",
                 lambda: d.active_window_id() == int(terminal.id, 16))
    d.type_text("bir iki ")
    prog = d.start_program(["-o"])
    q = wait_for_question(c, prog, "start-up")
    d.type_text("2 s\n")
    c.eventually_equal("the terminal got every key", lambda: open(typed).read(), "bir iki 2 s\n")
    c.check("the question kept its cover", q.cover() is not None and not q.answers())
    c.check("the terminal kept the keyboard", d.active_window_id() == int(terminal.id, 16))

    button = speaker(c, q)
    c.check("without a speech service the speaker is greyed",
            not has_state(button, "ENABLED") and button.description == NO_SERVICE,
            f"description {button.description!r}")
    asked = asked_word(c, q, MEANINGS, "asked")
    d.click_on(next(a for a in q.labels_showing() if a.name in q.question_texts()))
    c.eventually("a click gives the question the keyboard", q.is_active)
    d.screenshot("covered")
    d.press_key("space")
    shown = sorted(c.needs("Space lifts the cover", q.answers))
    numbers = {a.name: extents(a) for a in q.labels_showing() if a.name.isdigit()}
    c.equal("each answer shows its number", sorted(numbers), ["1", "2", "3", "4"])
    for n, (letter, _, label) in enumerate(shown, 1):
        x, y, w, h = numbers.get(str(n), (0, 0, 0, 0))
        lx, ly, _, lh = extents(label)
        c.check(f"number {n} stands left of answer {letter}, on its line",
                x + w <= lx and abs((y + h / 2) - (ly + lh / 2)) <= 2,
                f"number at {(x, y, w, h)}, answer at {extents(label)}")
    d.hover(*centre_of(shown[2][2]))
    d.screenshot("numbered-eye-on-c")

    counts = count_table(COUNTS_FILE)
    slot = next(n for n, (_, text, _) in enumerate(shown, 1) if text == MEANINGS[asked])
    d.press_key(str(slot))
    c.needs(f"{slot} judges the answer in that slot", lambda: q.button_showing(OK_BUTTON))
    d.screenshot("judged")
    d.press_key("Return")
    c.eventually("Enter is OK: the question closes", lambda: not q.is_open())
    counts[asked] += 1
    following = wait_for_question(c, prog, "the series goes on", after=q)
    c.eventually("the next question of the series has the keyboard", following.is_active)
    d.press_key("space")
    c.needs("Space lifts its cover", following.answers)
    quit_through_tray(c, d, prog, "quit")
    check_saved_words(c, d, with_counts(COUNTS_FILE, counts), f"'{asked}' judged by its number")
