# SPDX-License-Identifier: GPL-3.0-or-later
"""What a screen reader sees of simhacheur, through AT-SPI.

Starts the program on the display it is given, walks its accessibility tree and fails when a
control a user can reach has no name; then chooses an experiment through the menu item's own
action and checks that the oscilloscope's description follows, and that the description and the
read-out announce their changes.

    atspi_check.py PROGRAM RUN_FOLDER    (under dbus-run-session and an X server)
"""

import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

# Roles of what a user operates or reads; each needs a name.
NAMED_ROLES = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_SCROLL_BAR,
    pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY, pyatspi.ROLE_MENU, pyatspi.ROLE_MENU_ITEM,
    pyatspi.ROLE_MENU_BAR,
}


def pump(seconds):
    """Lets AT-SPI deliver what is pending, for about `seconds`."""
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        while context.pending():
            context.iteration(False)
        time.sleep(0.02)


def find_application(pid, timeout=20):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.get_process_id() == pid and app.childCount > 0:
                return app
        pump(0.2)
    raise SystemExit("the program never showed up on the accessibility bus")


def walk(node, path=()):
    yield node, path
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child, path + (node.name or node.getRoleName(),))


def by_name(app, name, role=None):
    for node, _ in walk(app):
        if node.name == name and (role is None or node.getRole() == role):
            return node
    raise SystemExit(f"no control named {name!r}")


def check_names(app, failures):
    """Adds a failure for each control shown without a name; returns how many were shown."""
    seen = 0
    for node, path in walk(app):
        if node.getRole() in NAMED_ROLES and node.getState().contains(pyatspi.STATE_SHOWING):
            seen += 1
            if not (node.name or "").strip() or node.name == "?":
                failures.append(f"no name: {'/'.join(path)}: {node.getRoleName()}")
    if seen < 10:
        failures.append(f"only {seen} controls seen: is the tree there at all?")
    return seen


def main():
    program, run_folder = sys.argv[1], sys.argv[2]
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1",
               QT_QPA_PLATFORM="xcb")
    if "ASAN_OPTIONS" in env:
        # libxkbcommon-x11 hands strndup X atom names that are not NUL-terminated, which is
        # allowed; strict string checks would read past them and stop the program in the X setup.
        env["ASAN_OPTIONS"] += ":strict_string_checks=0"
    process = subprocess.Popen([program], cwd=run_folder, env=env)
    failures = []
    try:
        app = find_application(process.pid)
        pump(1)

        seen = check_names(app, failures)
        events = []
        pyatspi.Registry.registerEventListener(
            lambda e: events.append((e.type, e.source.name if e.source else "")),
            "object:property-change:accessible-description",
            "object:property-change:accessible-name")

        scope = by_name(app, "Oscilloscope")
        if "aucun essai" not in (scope.description or ""):
            failures.append(f"description at start: {scope.description!r}")

        item = by_name(app, "Hacheur 2 quadrants: visualisation des tensions.",
                       pyatspi.ROLE_MENU_ITEM)
        action = item.queryAction()
        action.doAction(0)
        pump(1.5)
        scope = by_name(app, "Oscilloscope")
        if not (scope.description or "").startswith("Hacheur 2 quadrants"):
            failures.append(f"description after the menu: {scope.description!r}")
        if not any(t.endswith("accessible-description") and s == "Oscilloscope"
                   for t, s in events):
            failures.append(f"no description change announced: {events}")
        seen += check_names(app, failures)  # the two-quadrant panel is shown now
        by_name(app, "Hacheur 4 quadrants: 1ere approche",
                pyatspi.ROLE_MENU_ITEM).queryAction().doAction(0)
        pump(1.5)
        seen += check_names(app, failures)  # and now the four-quadrant one and the remarks

        # "0 absolu" rewrites the read-out, whose name is its text.
        events.clear()
        by_name(app, "0 absolu", pyatspi.ROLE_PUSH_BUTTON).queryAction().doAction(0)
        pump(1.5)
        if not any(t.endswith("accessible-name") for t, _ in events):
            failures.append(f"the read-out's change was not announced: {events}")
        print(f"AT-SPI: {seen} controls checked in three states of the window")
    finally:
        process.kill()
        process.wait()
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
