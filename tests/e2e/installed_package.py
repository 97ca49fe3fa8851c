"""The installed package as its user meets it: /usr/bin/vokabo started from his desktop, his
words and settings in his own folders, and nothing the program loads missing from a machine
that has only what the package brings. Run by tests/package/check_package.sh, not by CTest."""

import collections
import os
import re
import shlex
import subprocess

from e2e_steps import *  # noqa: F401,F403 - the shared steps and texts
from scenarios_nothing_lost import add_word, word_file_text
from scenarios_settings import (AUTOSTART, QUESTIONS_OFF_BOX, SETTINGS_BUTTON, SETTINGS_TITLE,
                                autostart_entry, open_from_bar, part, window_closes)

PACKAGE = "vokabo-retano"
# A library, a Qt plug-in or a font: what a machine without the package's dependencies lacks.
LOADED_FILE = re.compile(r"\.so(\.[0-9.]+)?$|\.(ttf|otf|pfb)$")


def dpkg_query(*args):
    return subprocess.run(["dpkg-query", *args], capture_output=True, text=True).stdout


def package_names(field):
    """Every package a Depends-style field names, alternatives included, without versions."""
    return re.findall(r"(?:^|[,|])\s*([a-z0-9][a-z0-9+.-]+)", field)


def packages_in_reach(package):
    """The installed packages that installing `package` brings: what it depends on or
    recommends, what those depend on in turn, and the essential ones every system has."""
    fields = "${db:Status-Abbrev}\t${Package}\t${Essential}\t${Provides}\t" \
             "${Pre-Depends}, ${Depends}\t${Recommends}\n"
    needs, recommends, providers, reach = {}, {}, collections.defaultdict(set), {package}
    for line in dpkg_query("-W", "-f", fields).splitlines():
        status, name, essential, provides, depends, recommended = line.split("\t")
        if not status.startswith("ii"):
            continue
        needs[name], recommends[name] = package_names(depends), package_names(recommended)
        for provided in [name] + package_names(provides):
            providers[provided].add(name)
        if essential == "yes":
            reach.add(name)
    todo = list(reach)
    while todo:
        name = todo.pop()
        wanted = needs.get(name, []) + (recommends.get(name, []) if name == package else [])
        for found in set().union(*(providers[n] for n in wanted)) - reach:
            reach.add(found)
            todo.append(found)
    return reach


def owners(paths):
    """{path: packages holding it}; a library under /usr/lib may be registered under /lib."""
    found = {}
    registered = {p: re.sub(r"^/usr/(lib|lib64|bin|sbin)/", r"/\1/", p) for p in paths}
    for line in dpkg_query("-S", *paths, *set(registered.values()) - set(paths)).splitlines():
        if ": /" in line and not line.startswith("diversion "):
            names, path = line.split(": /", 1)
            found["/" + path] = {n.strip().split(":")[0] for n in names.split(",")}
    return {p: found.get(p) or found.get(registered[p], set()) for p in paths}


def check_mapped_files(c, prog):
    """Every library, plug-in and font the running program mapped (/proc/PID/maps) comes with
    the package: a machine that has only what it brings has them all."""
    with open(f"/proc/{prog.proc.pid}/maps", encoding="utf-8") as f:
        mapped = {fields[5].strip() for fields in (line.split(maxsplit=5) for line in f)
                  if len(fields) == 6 and fields[5].startswith("/")}
    loaded = sorted(p for p in mapped if LOADED_FILE.search(p) and not p.endswith("(deleted)"))
    reach = packages_in_reach(PACKAGE)
    from_packages = owners(loaded)
    print(f"       {len(loaded)} files mapped, from: "
          f"{' '.join(sorted(set().union(*from_packages.values())))}", flush=True)
    c.check("the program mapped its libraries and plug-ins", len(loaded) > 10,
            f"mapped: {loaded!r}")
    uncovered = [f"{path} ({' '.join(sorted(names)) or 'from no package'})"
                 for path, names in from_packages.items() if not names & reach]
    c.equal(f"each mapped library, plug-in and font comes with {PACKAGE}'s Depends or "
            f"Recommends (name its package in packaging/DebianPackage.cmake)", uncovered, [])


def entry_values(path):
    with open(path, encoding="utf-8") as f:
        return dict(line.split("=", 1) for line in f.read().splitlines() if "=" in line)


@scenario(settings={})
def installed_program(d, c):
    """/usr/bin/vokabo, new to its user: the sample words and a question at once; the menu
    entry valid and naming the windows; a word added saved in the user's data folder, not
    beside the program; start at logon starting /usr/bin/vokabo -o; what it loads packaged."""
    c.require("the installed program, run where it is", d.installed, "run with --installed")
    prog = start_shown(c, d)
    check_word_list(c, prog, SAMPLE_WORDS, "samples")
    q = wait_for_question(c, prog, "start-up")
    d.screenshot("question")
    d.click_on(next(a for a in q.labels_showing() if a.name in q.question_texts()))
    c.eventually("a click gives the question the keyboard", q.is_active)
    d.press_key("Escape")
    c.eventually("Esc closes the question", lambda: not q.is_open())

    entries = [p for p in dpkg_query("-L", PACKAGE).splitlines()
               if p.startswith("/usr/share/applications/") and p.endswith(".desktop")]
    c.require("the package installed one menu entry", len(entries) == 1, f"{entries!r}")
    entry = entries[0]
    c.equal("the menu entry is valid",
            d.run("desktop-file-validate", entry, check=False).strip(), "")
    values = entry_values(entry)
    c.equal("the menu entry starts the installed program", values.get("Exec"), d.exe)
    wm_class = d.wm_class(d.mapped_windows()[0])
    c.check("the entry's StartupWMClass is the main window's WM_CLASS",
            values.get("StartupWMClass") in wm_class, f"{values!r}, WM_CLASS {wm_class!r}")

    add_word(c, d, prog, NEW_WORD, "add")
    c.eventually("the word is saved in the user's data folder",
                 lambda: "|".join(NEW_WORD) + "|0|A\r\n" in word_file_text(d))
    beside = [name for name in os.listdir(d.prog_dir) if name.startswith("vokabo.txt")]
    c.equal("nothing written beside the program", beside, [])

    dialog = open_from_bar(c, d, prog, SETTINGS_BUTTON, SETTINGS_TITLE)
    for box in (AUTOSTART, QUESTIONS_OFF_BOX):
        d.click_on(part(c, prog, dialog, "CHECK_BOX", box))
    d.screenshot("settings")
    d.click_on(part(c, prog, dialog, "PUSH_BUTTON", "Tamam"))
    window_closes(c, prog, SETTINGS_TITLE, "settings")
    if c.eventually("the autostart entry is made", lambda: os.path.exists(autostart_entry(d))):
        c.equal("at logon the desktop starts the installed program with -o",
                shlex.split(entry_values(autostart_entry(d)).get("Exec", "")), [d.exe, "-o"])

    check_mapped_files(c, prog)
    quit_through_tray(c, d, prog, "quit")


@scenario(settings={})
def installed_after_upgrade(d, c):
    """A newer package over the one installed_program ran: the words and settings it left."""
    c.require("the installed program, run where it is", d.installed, "run with --installed")
    prog = start_shown(c, d)
    # "ç" sorts with "c", before the sample words.
    check_word_list(c, prog, [f"{NEW_WORD[0]} || {NEW_WORD[1]}"]
                    + sorted(SAMPLE_WORDS, key=str.casefold), "words kept", in_order=True)
    dialog = open_from_bar(c, d, prog, SETTINGS_BUTTON, SETTINGS_TITLE)
    for box in (AUTOSTART, QUESTIONS_OFF_BOX):
        c.check(f"'{box}' still ticked", has_state(part(c, prog, dialog, "CHECK_BOX", box),
                                                    "CHECKED"))
    d.screenshot("settings-kept")
    d.click_on(part(c, prog, dialog, "PUSH_BUTTON", "İptal"))
    window_closes(c, prog, SETTINGS_TITLE, "settings")
    quit_through_tray(c, d, prog, "quit")
