"""What a screen reader finds of a running program over AT-SPI; run with
Debian's /usr/bin/python3 in the D-Bus session of the program's
accessibility bus.
  tree PID             the program's objects, one a line, indented by depth:
                       role "name" [states] and, where set, its description,
                       text and selected range
  watch PID SECONDS    its events for SECONDS, one a line (type role "name"
                       detail data), after a line "ready"
  where PID ROLE NAME  the middle of the first such object, in its window's
                       pixels: "X Y"
"""
import sys

import pyatspi
from gi.repository import GLib

STATES = {pyatspi.STATE_FOCUSED: "focused", pyatspi.STATE_EDITABLE: "editable",
          pyatspi.STATE_INVALID: "invalid", pyatspi.STATE_CHECKED: "checked"}


def walk(node, depth=0):
    yield depth, node
    for k in range(node.childCount):
        child = node.getChildAtIndex(k)
        if child is not None:
            yield from walk(child, depth + 1)


def describe(node):
    states = node.getState()
    line = '%s "%s" [%s]' % (node.getRoleName(), node.name,
                             ",".join(word for state, word in STATES.items() if states.contains(state)))
    if node.description:
        line += ' description="%s"' % node.description
    try:
        text = node.queryText()
    except NotImplementedError:
        return line
    line += ' text="%s"' % text.getText(0, text.characterCount)
    if text.getNSelections() > 0:
        line += " selected=%d-%d" % tuple(text.getSelection(0))
    return line


def main(command, pid, *rest):
    desktop = pyatspi.Registry.getDesktop(0)
    apps = [desktop.getChildAtIndex(k) for k in range(desktop.childCount)]
    app = next((a for a in apps if a is not None and a.get_process_id() == int(pid)), None)
    if command == "tree" and app is not None:
        print("\n".join("  " * depth + describe(node) for depth, node in walk(app)), flush=True)
    elif command == "where" and app is not None:
        node = next((n for _, n in walk(app) if n.getRoleName() == rest[0] and n.name == rest[1]), None)
        if node is None:
            return 1
        box = node.queryComponent().getExtents(pyatspi.WINDOW_COORDS)
        print(box.x + box.width // 2, box.y + box.height // 2, flush=True)
    elif command == "watch":
        def show(event):
            try:
                if event.host_application.get_process_id() != int(pid):
                    return
                source = '%s "%s"' % (event.source.getRoleName(), event.source.name)
            except Exception:  # an object already gone
                return
            data = event.any_data if isinstance(event.any_data, (str, int)) else ""
            print("%s %s %d %s" % (event.type, source, event.detail1, data), flush=True)
        for kind in ("object:state-changed", "object:property-change", "object:text-changed", "focus:"):
            pyatspi.Registry.registerEventListener(show, kind)
        GLib.timeout_add(int(float(rest[0]) * 1000), pyatspi.Registry.stop)
        print("ready", flush=True)
        pyatspi.Registry.start()
    else:
        return 1
    return 0


sys.exit(main(*sys.argv[1:]))
