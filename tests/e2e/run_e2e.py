#!/usr/bin/python3
"""Runs one end-to-end scenario; each check prints a line, any failed one makes the exit code 1.

    /usr/bin/python3 tests/e2e/run_e2e.py --exe build/default/src/vokabo \\
        --shots build/default/e2e-shots --data tests/data start_and_exit

The scenarios of the installed package (installed_*.py) run the program where it is installed:
    ... --exe /usr/bin/vokabo --installed --user-dir /tmp/learner installed_program
"""

import argparse
import glob
import importlib
import os
import sys

from e2e_desktop import CheckFailed, Checks, Desktop, Timeout
from e2e_steps import SCENARIOS

HERE = os.path.dirname(os.path.abspath(__file__))
for path in sorted(glob.glob(os.path.join(HERE, "scenarios_*.py"))
                   + glob.glob(os.path.join(HERE, "installed_*.py"))):
    importlib.import_module(os.path.splitext(os.path.basename(path))[0])


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--exe", required=True, help="the built program")
    parser.add_argument("--shots", required=True, help="folder for the screenshots")
    parser.add_argument("--data", required=True, help="the tests/data folder")
    parser.add_argument("--preload", help="a library loaded into the program first (under "
                        "the leak checker: one that keeps every library loaded)")
    parser.add_argument("--keep", action="store_true",
                        help="keep the temporary folders and print the logs")
    parser.add_argument("--installed", action="store_true",
                        help="run the program where it is installed, not from a copy")
    parser.add_argument("--user-dir",
                        help="keep the user's folders here, for a later run to find")
    parser.add_argument("scenario", choices=sorted(SCENARIOS))
    args = parser.parse_args()

    checks = Checks(args.scenario)
    function, settings, tray, speech = SCENARIOS[args.scenario]
    try:
        with Desktop(args.scenario, os.path.abspath(args.exe), os.path.abspath(args.shots),
                     os.path.abspath(args.data), args.keep, settings, tray,
                     args.preload and os.path.abspath(args.preload), args.installed,
                     args.user_dir and os.path.abspath(args.user_dir), speech) as d:
            try:
                function(d, checks)
            except CheckFailed:
                pass
            except (Timeout, LookupError, RuntimeError) as exc:
                checks.check("scenario ran to its end", False, f"{type(exc).__name__}: {exc}")
            if checks.failed:
                d.screenshot("at-failure")
                d.show_logs = True
    except (RuntimeError, Timeout, OSError) as exc:
        checks.check("desktop started", False, f"{type(exc).__name__}: {exc}")

    if checks.failed:
        print(f"{args.scenario}: {len(checks.failed)} check(s) failed: {'; '.join(checks.failed)}")
        return 1
    print(f"{args.scenario}: all checks passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
