#!/usr/bin/python3
"""Walks the AT-SPI tree of the running Talvexor host, as a screen reader sees
it, and lists every input with its role, name and states. Prints the share of
inputs that have a name; exits 1 when it is under the share asked for
(default 95 %) or when the application does not appear."""
import sys
import time

import pyatspi

INPUTS = {
    pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY, pyatspi.ROLE_PASSWORD_TEXT, pyatspi.ROLE_SPIN_BUTTON,
    pyatspi.ROLE_DATE_EDITOR, pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_COMBO_BOX,
    pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_TREE, pyatspi.ROLE_LIST, pyatspi.ROLE_PAGE_TAB_LIST,
}
APPLICATION = "Talvexor"
STATES = ((pyatspi.STATE_EDITABLE, "editable"), (pyatspi.STATE_READ_ONLY, "read-only"),
          (pyatspi.STATE_FOCUSABLE, "focusable"), (pyatspi.STATE_ENABLED, "enabled"))


def find_application(seconds):
    deadline = time.time() + seconds
    while time.time() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name == APPLICATION:
                return app
        time.sleep(0.5)
    return None


def walk(node, depth=0):
    if node is None or depth > 40:
        return
    yield node
    for i in range(node.childCount):
        yield from walk(node.getChildAtIndex(i), depth + 1)


def main():
    wanted = float(sys.argv[1]) if len(sys.argv) > 1 else 95.0
    app = find_application(30)
    if app is None:
        print(f"{APPLICATION} did not appear on the accessibility bus")
        return 1
    inputs, named = 0, 0
    tabs = []
    for node in walk(app):
        role = node.getRole()
        if role == pyatspi.ROLE_PAGE_TAB:
            tabs.append(node.name)
        if role not in INPUTS:
            continue
        states = node.getState()
        labels = [label for state, label in STATES if states.contains(state)]
        inputs += 1
        named += 1 if node.name.strip() else 0
        print(f"{node.getRoleName():<16} {node.name!r:<48} {' '.join(labels)}")
    print(f"page tabs: {', '.join(tabs)}")
    share = 100.0 * named / inputs if inputs else 0.0
    print(f"inputs named: {named} of {inputs} ({share:.1f} %)")
    return 0 if share >= wanted else 1


if __name__ == "__main__":
    sys.exit(main())
