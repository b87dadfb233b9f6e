"""An independent AT-SPI client (pyatspi) reads and drives the demo in a real
window, as a screen reader would: the date edits, the drop button's action,
the popup's grid, focus events on real key presses, the lamps, and closing the
popup through its action. Prints one line per check; exits 1 on the first
failure.

    client.py DEMO_PID [before-enable | find-only]

before-enable: the accessibility bus is not enabled yet; the demo's window is
there, not on the accessibility bus, and idle. find-only: the demo's
application and window are found (after the bus was enabled late).
"""
import datetime
import os
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

DEMO_PID = int(sys.argv[1])
MODE = sys.argv[2] if len(sys.argv) > 2 else "all"
TITLE = "Qz Components demo"


def fail(message):
    print("FAILED: " + message)
    sys.exit(1)


def ok(message):
    print("ok: " + message)


def pump(seconds):
    """Lets events arrive (they come only while GLib's main context runs)."""
    end = time.time() + seconds
    context = GLib.MainContext.default()
    while time.time() < end:
        while context.iteration(False):
            pass
        time.sleep(0.01)


def wait_for(what, find, seconds=20):
    end = time.time() + seconds
    while time.time() < end:
        try:
            found = find()
        except Exception:  # objects come and go while a window appears
            found = None
        if found:
            return found
        pump(0.1)
    fail("timed out waiting for " + what)


def walk(node):
    yield node
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child)


def of_role(root, role):
    return [n for n in walk(root) if n.getRoleName() == role]


def states(node):
    return node.getState()


def action(node, name):
    a = node.queryAction()
    for i in range(a.nActions):
        if a.getName(i) == name:
            return a.doAction(i)
    fail("%s '%s' offers no action '%s'" % (node.getRoleName(), node.name, name))


def demo_app():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.get_process_id() == DEMO_PID:
            for j in range(app.childCount):
                if app.getChildAtIndex(j).name == TITLE:
                    return app
    return None


def spoken(day):
    return day.strftime("%A, %B ") + str(day.day) + day.strftime(", %Y")


def cpu_ticks():
    with open("/proc/%d/stat" % DEMO_PID) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])


def idle_ms(seconds):
    before = cpu_ticks()
    time.sleep(seconds)
    return (cpu_ticks() - before) * 1000 // os.sysconf("SC_CLK_TCK")


if MODE == "before-enable":
    # The bridge waits for the bus to be enabled: the window is there, nothing
    # is on the bus yet, and the idle demo uses no processor time.
    wait_for("the demo's window", lambda: subprocess.run(["xdotool", "search", "--pid", str(DEMO_PID)],
                                                         capture_output=True).stdout.strip())
    time.sleep(0.5)
    if demo_app() is not None:
        fail("the demo is on the accessibility bus before it was enabled")
    ms = idle_ms(2)
    print("measured: processor time of the idle demo waiting for the accessibility bus: %d ms in 2 s" % ms)
    if ms > 100:
        fail("the idle demo used %d ms of processor time in 2 s" % ms)
    ok("the demo's window is up, not on the accessibility bus, and idle")
    sys.exit(0)

app = wait_for("the demo's application with its window '%s'" % TITLE, demo_app)
ok("application '%s' with the window '%s'" % (app.name, TITLE))
if MODE == "find-only":
    sys.exit(0)
frame = [app.getChildAtIndex(j) for j in range(app.childCount) if app.getChildAtIndex(j).name == TITLE][0]

# The date edits: named by their labels, described by their layouts.
edits = of_role(frame, "text")
expected = [("dd/mm/yyyy, from Monday", "Date as dd/mm/yyyy"),
            ("m/d/yyyy, from Sunday", "Date as m/d/yyyy"),
            ("yyyy/mm/dd, no fill page", "Date as yyyy/mm/dd"),
            ("Two-digit years near today", "Date as dd/mm/yyyy")]
got = [(e.name, e.description) for e in edits]
if got != expected:
    fail("date edits read %r" % got)
texts = [e.queryText().getText(0, -1) for e in edits]
edits[1].queryEditableText().setTextContents("3/14/2026")
text = wait_for("the second edit's new text", lambda: edits[1].queryText().getText(0, -1) == "3/14/2026")
ok("the date edits with names, texts %r and descriptions: %r; the second's text set and read back" % (texts, got))

# The lamps say their state and hue in words.
lamps = [l.name for l in of_role(frame, "status bar")]
if len(lamps) < 4 or not all(re.match(r"^(Off|On|Bright), [a-z ]+$", n) for n in lamps):
    fail("lamps read %r" % lamps)
ok("lamps: %r" % lamps)

# Events: the focus moves as the selection moves.
focused = []


def on_focus(event):
    if event.detail1 == 1:
        focused.append(event.source.name)


pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")

# The drop button opens the popup through its action.
button = [b for b in of_role(edits[0], "push button")]
if not button or button[0].name != "Choose date":
    fail("the first edit's drop button reads %r" % [b.name for b in button])
action(button[0], "click")


def popup():
    for j in range(app.childCount):
        w = app.getChildAtIndex(j)
        if w is not None and w.getRoleName() == "dialog" and w.name == "Choose date":
            return w
    return None


dialog = wait_for("the popup dialog", popup)
ok("the drop button's action opened the dialog '%s'" % dialog.name)
grid = wait_for("the popup's grid", lambda: of_role(dialog, "table")[0])
cells = of_role(grid, "table cell")
if len(cells) != 42:
    fail("the grid has %d cells" % len(cells))
headers = [h.name for h in of_role(grid, "column header")]
if headers != ["Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"]:
    fail("column headers read %r" % headers)
today = datetime.date.today()
selected = [c.name for c in cells if states(c).contains(pyatspi.STATE_SELECTED)]
if selected != [spoken(today)]:
    fail("selected cells %r, expected today %r" % (selected, spoken(today)))
todays = [c.name for c in cells if c.description == "Today"]
if todays != [spoken(today)]:
    fail("cells marked today: %r" % todays)
for name in ("Previous month", "Next month", "Previous year", "Next year"):
    if not [b for b in of_role(dialog, "push button") if b.name == name]:
        fail("no navigation button '%s'" % name)
ok("grid '%s': 42 cells, weekday headers, selected and today '%s'" % (grid.name, spoken(today)))

# Real key presses into the popup's window: the pointer over it gives it the
# keyboard (no window manager here), then Right and Down.
extents = dialog.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
x = extents.x + extents.width // 2
y = extents.y + 4
subprocess.run(["xdotool", "mousemove", str(x), str(y)], check=True)
window = wait_for("the window under the pointer", lambda: re.search(
    r"WINDOW=(\d+)", subprocess.run(["xdotool", "getmouselocation", "--shell"], capture_output=True,
                                    text=True).stdout))
subprocess.run(["xdotool", "windowfocus", window.group(1)], check=False)
pump(0.5)
del focused[:]
expected_moves = [spoken(today + datetime.timedelta(days=1)), spoken(today + datetime.timedelta(days=8))]
subprocess.run(["xdotool", "key", "Right"], check=True)
wait_for("a focus event naming %s" % expected_moves[0], lambda: expected_moves[0] in focused)
subprocess.run(["xdotool", "key", "Down"], check=True)
wait_for("a focus event naming %s" % expected_moves[1], lambda: expected_moves[1] in focused)
ok("focus events on key presses: %r" % focused)

# The dialog closes through its own action.
action(dialog, "close")
wait_for("the popup to close", lambda: popup() is None)
ok("the dialog's action closed it")
pyatspi.Registry.deregisterEventListener(on_focus, "object:state-changed:focused")


# An idle window with the bridge running sleeps until a request comes.
pump(0.5)
ms = idle_ms(3)
print("measured: processor time of the idle demo with the bridge running: %d ms in 3 s" % ms)
if ms > 150:
    fail("the idle demo used %d ms of processor time in 3 s" % ms)
print("all checks passed")
