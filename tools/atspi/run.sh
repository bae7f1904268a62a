#!/bin/bash
# Runs walk.py against the desk program under a virtual display with the
# accessibility bus: bash tools/atspi/run.sh [build dir], from the
# repository root. Needs xvfb, dbus, at-spi2-core and python3-pyatspi.
set -u
build=${1:-build}
program=$(realpath "$build/bin/PrjTelban")
here=$(dirname "$(realpath "$0")")
exec dbus-run-session -- bash -c '
    set -u
    # A free display number, whatever else runs on the machine.
    fifo=$(mktemp -u) && mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 3>"$fifo" >/dev/null 2>&1 & xvfb=$!
    read -r display <"$fifo"; rm -f "$fifo"
    export DISPLAY=:$display QT_QPA_PLATFORM=xcb QT_ACCESSIBILITY=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
    /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 & bus=$!
    sleep 1
    /usr/libexec/at-spi2-registryd >/dev/null 2>&1 & registry=$!
    sleep 1
    "$1" >/dev/null 2>&1 & desk=$!
    /usr/bin/python3 "$2/walk.py"; status=$?
    kill $desk $registry $bus $xvfb 2>/dev/null
    wait 2>/dev/null
    exit $status
' run "$program" "$here"
