#!/usr/bin/python3
# Reads the program's schedule over AT-SPI as a screen reader does: prints every day and item of
# the period ("item: NAME"), then presses the given keys (xdotool) one by one, printing each focus
# event's name ("focus: NAME") and each new name of an item ("name: NAME").
import subprocess
import sys

import pyatspi
from gi.repository import GLib


def find(node, role, name, depth=0):
    if node is None or depth > 12:
        return None
    if node.getRoleName() == role and node.name == name:
        return node
    for i in range(node.childCount):
        found = find(node.getChildAtIndex(i), role, name, depth + 1)
        if found:
            return found
    return None


def main(keys):
    app = next((a for a in pyatspi.Registry.getDesktop(0) if a and a.name == "Tamberlo"), None)
    schedule = find(app, "table", "Schedule")
    if schedule is None:
        print("no schedule", flush=True)
        return 1
    for d in range(schedule.childCount):
        day = schedule.getChildAtIndex(d)
        print("day: " + day.name, flush=True)
        for i in range(day.childCount):
            print("item: " + day.getChildAtIndex(i).name, flush=True)

    def focused(event):
        if event.detail1 == 1 and event.source.name:
            print("focus: " + event.source.name, flush=True)

    def renamed(event):
        if event.source.name:
            print("name: " + event.source.name, flush=True)

    pyatspi.Registry.registerEventListener(focused, "object:state-changed:focused")
    pyatspi.Registry.registerEventListener(renamed, "object:property-change:accessible-name")
    pending = list(keys)

    def press():
        if not pending:
            pyatspi.Registry.stop()
            return False
        subprocess.run(["xdotool", "search", "--name", "^Tamberlo$", "windowfocus"], check=False)
        subprocess.run(["xdotool", "key", pending.pop(0)], check=False)
        return True

    GLib.timeout_add(700, press)
    pyatspi.Registry.start()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
