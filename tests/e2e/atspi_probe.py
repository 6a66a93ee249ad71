#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Reads a running program's window the way a screen reader does, through
AT-SPI, and prints what it finds. Every step waits on a condition with a
deadline rather than for a fixed time, so a busy machine only makes it slower.

  atspi_probe.py text  APP WINDOW        the text of every label, one after another
  atspi_probe.py boxes APP WINDOW        "name=value" of every text box
  atspi_probe.py tabs  APP WINDOW        the name of each control that Tab focuses,
                                         once round, from the first focused one
  atspi_probe.py focused APP WINDOW      the name of the control holding the focus
  atspi_probe.py press APP WINDOW NAME   runs the named control's first action
                                         (a click, a toggle), as a reader can
  atspi_probe.py caret APP WINDOW NAME LENGTH
                                         once the named box holds a text longer
                                         than LENGTH: "caret text" of it

APP is the program's name (tocka, tallio); WINDOW its window's title.
"""

import subprocess
import sys
import time

import pyatspi

DEADLINE = 30.0  # seconds for any one condition; generous for a busy machine


def fail(message):
    print("atspi_probe: " + message, file=sys.stderr)
    sys.exit(1)


def wait_for(what, probe):
    end = time.monotonic() + DEADLINE
    while True:
        try:
            found = probe()
        except Exception:  # the tree is still being built or torn down
            found = None
        if found:
            return found
        if time.monotonic() > end:
            fail("gave up waiting for " + what)
        time.sleep(0.1)


def window(app_name, title):
    def find():
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == app_name:
                for child in app:
                    if child is not None and child.name == title:
                        return child
        return None
    return wait_for("the window '%s' of %s" % (title, app_name), find)


def descendants(node):
    for child in node:
        if child is None:
            continue
        yield child
        yield from descendants(child)


def text_of(node):
    text = node.queryText()
    return text.getText(0, text.characterCount)


def labels(win):
    return [n for n in descendants(win) if n.getRole() == pyatspi.ROLE_LABEL]


def boxes(win):
    return [n for n in descendants(win) if n.getRole() in (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY)
            and n.getState().contains(pyatspi.STATE_EDITABLE)]


def focused(win):
    for node in descendants(win):
        if node.getState().contains(pyatspi.STATE_FOCUSED):
            return node
    return None


def focused_name(win):
    node = focused(win)
    return node.name if node is not None else None


def named(within, name):
    return wait_for("a control named '%s'" % name, lambda: next((n for n in within() if n.name == name), None))


def main():
    if len(sys.argv) < 4:
        fail(__doc__)
    command, app_name, title = sys.argv[1:4]
    win = window(app_name, title)
    if command == "text":
        found = wait_for("a label in '%s'" % title, lambda: labels(win))
        for label in found:
            print(text_of(label))
    elif command == "boxes":
        found = wait_for("a text box in '%s'" % title, lambda: boxes(win))
        for box in found:
            print("%s=%s" % (box.name, text_of(box)))
    elif command == "tabs":
        first = wait_for("a focused control in '%s'" % title, lambda: focused_name(win))
        order = [first]
        while True:
            subprocess.run(["xdotool", "key", "Tab"], check=True)
            before = order[-1]
            now = wait_for("Tab to move on from '%s'" % before,
                           lambda: (lambda n: n if n and n != before else None)(focused_name(win)))
            if now == first:
                break
            order.append(now)
            if len(order) > 100:
                fail("Tab never came back to '%s': %s" % (first, order))
        for name in order:
            print(name)
    elif command == "focused":
        print(wait_for("a focused control in '%s'" % title, lambda: focused_name(win)))
    elif command == "press" and len(sys.argv) == 5:
        controls = lambda: [n for n in descendants(win) if n.getRole() != pyatspi.ROLE_LABEL]
        named(controls, sys.argv[4]).queryAction().doAction(0)
    elif command == "caret" and len(sys.argv) == 6:
        box = named(lambda: boxes(win), sys.argv[4])
        longer = int(sys.argv[5])
        text = wait_for("'%s' to hold more than %d characters" % (sys.argv[4], longer),
                        lambda: (lambda t: t if len(t) > longer else None)(text_of(box)))
        print("%d %s" % (box.queryText().caretOffset, text))
    else:
        fail(__doc__)


if __name__ == "__main__":
    main()
