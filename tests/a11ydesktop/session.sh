#!/usr/bin/env bash
# Runs inside `dbus-run-session`: a private X server, the accessibility bus of
# this session (enabled), the demo in a real window, and the AT-SPI client
# (client.py) that checks what a screen reader would find. Exits with the
# client's code; 77 (with the reason on stdout) when the accessibility bus
# cannot start here. With "late" the bus is enabled only after the demo's
# window is up, as when a screen reader starts after the program: the client
# checks the waiting demo, then finds it once the bus is enabled.
#   session.sh DEMO CLIENT [late]
set -u
demo=$1
client=$2
mode=${3:-}

pids=()
cleanup() {
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null; done
    wait 2>/dev/null
}
trap cleanup EXIT

launcher=/usr/libexec/at-spi-bus-launcher
[ -x "$launcher" ] || { echo "skip: $launcher is missing (at-spi2-core)"; exit 77; }

# The X server picks its own display number and writes it to a descriptor.
displayfile=$(mktemp)
Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp 5>"$displayfile" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [ -s "$displayfile" ] && break; sleep 0.1; done
display=$(head -n1 "$displayfile")
rm -f "$displayfile"
[ -n "$display" ] || { echo "skip: Xvfb cannot start here"; exit 77; }
export DISPLAY=":$display"

"$launcher" --launch-immediately >/dev/null 2>&1 &
pids+=($!)
# Wait until the launcher owns its name (asking it anything earlier would start a
# second one through the bus's activation), then enable the accessibility bus.
# (The launcher may start enabled: "late" turns it off first.)
enable() {
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.freedesktop.DBus.Properties.Set \
        string:org.a11y.Status string:IsEnabled variant:boolean:"$1" >/dev/null
}
owned=no
for _ in $(seq 100); do
    if dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
        string:org.a11y.Bus 2>/dev/null | grep -q "boolean true"; then
        owned=yes
        break
    fi
    sleep 0.1
done
[ "$owned" = yes ] || { echo "skip: the accessibility bus does not start here"; exit 77; }
enabled=true
[ "$mode" = late ] && enabled=false
enable $enabled || { echo "skip: the accessibility bus cannot be enabled here"; exit 77; }

# The demo's window, with a steady caret; the client drives it.
QZ_CARET_BLINK_TIME=0 SDL_FRAMEBUFFER_ACCELERATION=0 "$demo" --window &
demopid=$!
pids+=($demopid)
if [ "$mode" = late ]; then
    /usr/bin/python3 "$client" "$demopid" before-enable || exit $?
    enable true || { echo "skip: the accessibility bus cannot be enabled here"; exit 77; }
    /usr/bin/python3 "$client" "$demopid" find-only
    exit $?
fi
/usr/bin/python3 "$client" "$demopid"
