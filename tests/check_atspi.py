#!/usr/bin/env python3
"""The window as a screen reader gets it, over the real AT-SPI bus: the tree
in reading order, the diagram one figure, the relations between captions and
fields, and l1 tied to y in the right direction.

    dbus-run-session -- tests/check_atspi.py LINTERP

Starts its own X server (Xvfb, on the display number it reports free) and its
own accessibility bus in that D-Bus session. Exits 77 (skipped) when pyatspi,
the AT-SPI bus or Xvfb is missing."""
import shutil
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from xvfb_display import Display  # noqa: E402

BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
try:
    import pyatspi
except ImportError:
    print("atspi: skipped: pyatspi is not installed (Debian package python3-pyatspi)")
    sys.exit(77)
if not os.path.exists(BUS_LAUNCHER):
    print("atspi: skipped: the AT-SPI bus is not installed (Debian package at-spi2-core)")
    sys.exit(77)
if not shutil.which("Xvfb"):
    print("atspi: skipped: Xvfb is not installed (Debian package xvfb)")
    sys.exit(77)

# Reading order: the title, the diagram, the parameters with each field after
# its caption, then the rest in keyboard order, the message last.
# Roles by their AT-SPI numbers: their names change between releases
# ("push button" in 2.46, "button" in 2.56).
HEADING, IMAGE, PANEL, BUTTON, LABEL, TEXT, STATUS = (pyatspi.ROLE_HEADING, pyatspi.ROLE_IMAGE, pyatspi.ROLE_PANEL,
                                                      pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_LABEL, pyatspi.ROLE_TEXT,
                                                      pyatspi.ROLE_STATUS_BAR)
# Fields are named by their captions, as on Windows and the page.
WINDOW = [(HEADING, "两点线性差值"), (IMAGE, "示意图"), (PANEL, "参数"), (BUTTON, "差 值"),
          (LABEL, "y ="), (TEXT, "y ="), (BUTTON, "清 除"), (STATUS, "")]
PARAMETERS = [(LABEL, "y1="), (TEXT, "y1="), (LABEL, "x1="), (TEXT, "x1="), (LABEL, "x2="), (TEXT, "x2="),
              (LABEL, "y2="), (TEXT, "y2="), (LABEL, "x ="), (TEXT, "x =")]
DIAGRAM_CAPTIONS = {"(x1,y1)", "(x2,y2)", "(x,?)"}

failures = []


def expect(condition, what):
    if not condition:
        failures.append(what)


def children(node):
    return [node.getChildAtIndex(i) for i in range(node.childCount)]


def shape(nodes):
    return [(node.getRole(), node.name) for node in nodes]


def related(node, kind):
    """The objects `node` has relation `kind` to."""
    return [relation.getTarget(i) for relation in node.getRelationSet() if relation.getRelationType() == kind
            for i in range(relation.getNTargets())]


def same(a, b):
    return a.path == b.path and a.get_application().name == b.get_application().name


def find_window(program):
    for _ in range(150):
        if program.poll() is not None:
            sys.exit(f"atspi: the program ended with status {program.returncode} before showing its window:\n"
                     + program.stderr.read())
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "linterp" and app.childCount:
                return app.getChildAtIndex(0)
        time.sleep(0.1)
    sys.exit("atspi: the window never appeared on the accessibility bus")


def product_name(program):
    """The window's title, as the build configured it beside the program."""
    with open(os.path.join(os.path.dirname(os.path.abspath(program)), "product.env"), encoding="utf-8") as env:
        return dict(line.rstrip("\n").split("=", 1) for line in env if "=" in line)["LINTERP_NAME"].strip("'")


def check(window):
    expect(window.getRole() == pyatspi.ROLE_FRAME and window.name == product_name(sys.argv[1]),
           f"the window is {shape([window])}")
    top = children(window)
    expect(shape(top) == WINDOW, f"the window's children, in order, are {shape(top)}, not {WINDOW}")
    if shape(top) != WINDOW:
        return
    title, figure, group, _, y_label, y, _, l1 = top
    expect(figure.childCount == 0 and "(x1,y1)" in figure.description and "(x2,y2)" in figure.description,
           f"the diagram is not one described figure: {figure.childCount} children, {figure.description!r}")
    fields = children(group)
    expect(shape(fields) == PARAMETERS, f"参数 holds, in order, {shape(fields)}, not {PARAMETERS}")
    everything = []

    def walk(node):
        everything.append(node.name)
        for child in children(node):
            walk(child)
    walk(window)
    expect(not DIAGRAM_CAPTIONS & set(everything), "the diagram's captions are read one by one as well")
    labelled_by, label_for = pyatspi.RELATION_LABELLED_BY, pyatspi.RELATION_LABEL_FOR
    for caption, field in zip(fields[0::2] + [y_label], fields[1::2] + [y]):
        expect(any(same(c, caption) for c in related(field, labelled_by)), f"{field.name} is not labelled by {caption.name}")
        expect(any(same(f, field) for f in related(caption, label_for)), f"{caption.name} does not label {field.name}")
    # l1 tells of y: y names l1 among what labels or describes it, and l1
    # points at y, never the other way round.
    about_y = related(l1, label_for) + related(l1, pyatspi.RELATION_DESCRIPTION_FOR)
    expect(any(same(t, y) for t in about_y), "l1 neither labels nor describes y")
    y_told_by = related(y, labelled_by) + related(y, pyatspi.RELATION_DESCRIBED_BY)
    expect(any(same(t, l1) for t in y_told_by), "y does not name l1 as what labels or describes it")
    backwards = related(l1, labelled_by) + related(l1, pyatspi.RELATION_DESCRIBED_BY)
    expect(not any(same(t, y) for t in backwards), "l1 says y labels or describes it: the relation points backwards")
    print("atspi: " + " | ".join(f"{node.getRoleName()} {node.name}".strip() for node in top))


def main():
    try:
        display = Display("800x600x24")
    except RuntimeError as error:
        sys.exit(f"atspi: {error}")
    name = display.name
    bus = subprocess.Popen([BUS_LAUNCHER, "--launch-immediately"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1", DISPLAY=name)
    env.pop("QT_QPA_PLATFORM", None)
    env.pop("WAYLAND_DISPLAY", None)
    program = subprocess.Popen([sys.argv[1]], env=env, stderr=subprocess.PIPE, text=True)
    try:
        time.sleep(0.3)
        check(find_window(program))
    finally:
        program.terminate()
        program.communicate()
        bus.terminate()
        display.stop()
    for failure in failures:
        print(f"atspi: FAILED: {failure}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
