#!/usr/bin/python3
"""Walks the running desk program through the accessibility bus (AT-SPI),
as a screen reader or a UI test tool sees it.

Opens the call desk from the main menu with the menu button's press
action, lists the desk's push buttons with their names and its fields with
theirs, then presses 閉じる through its press action and checks that the
desk window is gone. Exits non-zero when any of that fails.

Run it through run.sh, which starts the display, the bus and the program.
"""

import sys
import time

import pyatspi

# The program as the bus names it: its display name, or its file name.
APPS = ("RBCTI Pro", "PrjTelban")
FIELD_ROLES = {
    pyatspi.ROLE_TEXT: "text",
    pyatspi.ROLE_ENTRY: "entry",
    pyatspi.ROLE_COMBO_BOX: "combo box",
    pyatspi.ROLE_SPIN_BUTTON: "spin box",
    pyatspi.ROLE_PASSWORD_TEXT: "password",
}


def wait_for(what, find, seconds=20.0):
    end = time.time() + seconds
    while time.time() < end:
        found = find()
        if found is not None:
            return found
        time.sleep(0.2)
    sys.exit(f"not found within {seconds:.0f} s: {what}")


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name in APPS:
            return app
    return None


def window(app, title):
    for w in app:
        if w is not None and w.name == title and w.getState().contains(pyatspi.STATE_SHOWING):
            return w
    return None


def walk(node, depth=0):
    yield node, depth
    for child in node:
        if child is not None:
            yield from walk(child, depth + 1)


def press(accessible):
    action = accessible.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    for i, name in enumerate(names):
        if name.lower() == "press":
            action.doAction(i)
            return
    sys.exit(f"{accessible.name!r} offers no press action, only {names}")


def find_button(root, name):
    for node, _ in walk(root):
        if node.getRole() == pyatspi.ROLE_PUSH_BUTTON and node.name == name:
            return node
    sys.exit(f"no push button {name!r} in {root.name!r}")


def main():
    app = wait_for(f"application {APPS[0]}", application)
    menu = wait_for("the main menu", lambda: window(app, "RBCTI Pro"))
    print(f"window: {menu.name!r} ({menu.getRoleName()})")
    press(find_button(menu, "顧客管理"))
    desk = wait_for("the call desk", lambda: window(app, "顧客管理"))
    print(f"window: {desk.name!r} ({desk.getRoleName()})")

    buttons, fields, unnamed = [], [], []
    for node, _ in walk(desk):
        role = node.getRole()
        if role == pyatspi.ROLE_PUSH_BUTTON:
            buttons.append(node.name)
        elif role in FIELD_ROLES:
            # An editable combo box shows its line edit as a child of its own.
            if node.parent is not None and node.parent.getRole() == pyatspi.ROLE_COMBO_BOX:
                continue
            fields.append((FIELD_ROLES[role], node.name))
            if not node.name:
                unnamed.append(FIELD_ROLES[role])
    print(f"push buttons ({len(buttons)}):")
    for name in buttons:
        print(f"  push button  {name!r}")
    print(f"fields ({len(fields)}):")
    for kind, name in fields:
        print(f"  {kind:<10}   {name!r}")

    press(find_button(desk, "閉じる"))
    end = time.time() + 10
    while time.time() < end and window(app, "顧客管理") is not None:
        time.sleep(0.2)
    if window(app, "顧客管理") is not None:
        sys.exit("the desk is still open after 閉じる was pressed")
    print("pressed 閉じる through its press action: the desk is closed")
    if unnamed:
        sys.exit(f"fields without a name: {unnamed}")
    if "" in buttons:
        sys.exit("push buttons without a name")


if __name__ == "__main__":
    main()
