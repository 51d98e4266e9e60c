#!/usr/bin/env python3
"""Renders manual pages as `man -l` shows them, at 80 and 60 columns, and
fails on anything a reader would see as a fault: a warning from troff, a line
wider than the terminal, a button's name broken over two lines, and in a
Chinese page a space that a line end left after Chinese punctuation or two
spaces where lines were stretched to the margin, or an English name
hyphenated.

    tests/check_manual.py PAGE..."""
import os
import re
import subprocess
import sys
import unicodedata

BUTTONS = ("差 值", "清 除")
CHINESE_PUNCTUATION = "，。、；：）”"


def columns(line):
    return sum(2 if unicodedata.east_asian_width(c) in "WF" else 1 for c in line)


def faults(page, width):
    env = dict(os.environ, LANG="C.UTF-8", LC_ALL="C.UTF-8", MANWIDTH=str(width), MAN_KEEP_FORMATTING="")
    run = subprocess.run(["man", "--warnings", "-l", page], env=env, capture_output=True, text=True)
    found = run.stderr.splitlines()
    if run.returncode != 0:
        found.append(f"man exited with {run.returncode}")
    chinese = ".zh" in os.path.basename(page)
    for number, line in enumerate(run.stdout.splitlines(), 1):
        where = f"line {number}: {line.strip()!r}"
        if columns(line) > width:
            found.append(f"wider than {width} columns, {where}")
        if any(line.rstrip().endswith(name.split()[0]) for name in BUTTONS):
            found.append(f"a button's name is broken, {where}")
        if chinese:
            text = line.strip()
            if re.search(f"[{CHINESE_PUNCTUATION}] ", text):
                found.append(f"a space after Chinese punctuation, {where}")
            if text.endswith("\u2010"):
                found.append(f"an English name hyphenated, {where}")
            if "  " in text and not text.startswith(("LINTERP(", "linterp ")):
                found.append(f"stretched spaces, {where}")
    return found


def main(pages):
    failed = False
    for page in pages:
        for width in (80, 60):
            for fault in faults(page, width):
                print(f"{os.path.basename(page)} at {width} columns: {fault}")
                failed = True
    if not failed:
        print("clean at 80 and 60 columns: " + ", ".join(os.path.basename(page) for page in pages))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
