"""What a screen reader finds of a running program over AT-SPI.

  atspi_probe.py tree PID          the program's windows as an indented tree,
                                   one object a line: role "name" [states]
                                   and, where set, its description, text and
                                   selected range
  atspi_probe.py watch PID SECONDS the program's events until SECONDS have
                                   passed, one a line: type role "name" detail
                                   data; "ready" first, once listening
  atspi_probe.py where PID ROLE NAME  the middle of the first such object, in
                                   its window's pixels: "X Y"

Run with Debian's /usr/bin/python3 (python3-pyatspi) inside the D-Bus session
that the program's accessibility bus belongs to.
"""
import sys

import pyatspi
from gi.repository import GLib

STATES = {
    pyatspi.STATE_FOCUSED: "focused",
    pyatspi.STATE_EDITABLE: "editable",
    pyatspi.STATE_INVALID: "invalid",
    pyatspi.STATE_CHECKED: "checked",
}


def application(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for k in range(desktop.childCount):
        app = desktop.getChildAtIndex(k)
        if app is not None and app.get_process_id() == pid:
            return app
    return None


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


def find(node, role, name):
    if node.getRoleName() == role and node.name == name:
        return node
    for k in range(node.childCount):
        child = node.getChildAtIndex(k)
        found = find(child, role, name) if child is not None else None
        if found is not None:
            return found
    return None


def tree(node, depth, out):
    out.append("  " * depth + describe(node))
    for k in range(node.childCount):
        child = node.getChildAtIndex(k)
        if child is not None:
            tree(child, depth + 1, out)


def event_line(event):
    try:
        source = '%s "%s"' % (event.source.getRoleName(), event.source.name)
    except Exception:  # an object already gone
        source = "? ?"
    data = event.any_data if isinstance(event.any_data, (str, int)) else ""
    return "%s %s %d %s" % (event.type, source, event.detail1, data)


def main():
    command, pid = sys.argv[1], int(sys.argv[2])
    if command == "tree":
        app = application(pid)
        if app is None:
            return 1
        out = []
        tree(app, 0, out)
        print("\n".join(out), flush=True)
        return 0
    if command == "where":
        app = application(pid)
        node = find(app, sys.argv[3], sys.argv[4]) if app is not None else None
        if node is None:
            return 1
        box = node.queryComponent().getExtents(pyatspi.WINDOW_COORDS)
        print(box.x + box.width // 2, box.y + box.height // 2, flush=True)
        return 0
    if command == "watch":
        def show(event):
            try:
                if event.host_application.get_process_id() != pid:
                    return
            except Exception:
                return
            print(event_line(event), flush=True)
        for kind in ("object:state-changed", "object:property-change", "object:text-changed", "focus:"):
            pyatspi.Registry.registerEventListener(show, kind)
        GLib.timeout_add(int(float(sys.argv[3]) * 1000), pyatspi.Registry.stop)
        print("ready", flush=True)
        pyatspi.Registry.start()
        return 0
    return 2


sys.exit(main())
