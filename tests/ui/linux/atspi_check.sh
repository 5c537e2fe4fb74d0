#!/usr/bin/env bash
# Runs PROGRAM on a private X server and accessibility bus, with Qt's accessibility on, and checks
# it over AT-SPI with atspi_check.py. Usage: atspi_check.sh PROGRAM LANGUAGE LOCALE
# Meant to run under dbus-run-session, which gives it a session bus of its own.
set -euo pipefail
program=$1 language=$2 locale=$3
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
pids=()
cleanup() {
  kill "${pids[@]}" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# Waits up to ten seconds for a command to succeed.
wait_until() {
  for _ in $(seq 100); do
    "$@" >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "timed out waiting for: $*" >&2
  return 1
}

# Xvfb picks a free display itself and writes its number once it accepts clients.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
pids+=($!)
wait_until test -s "$work/display"
export DISPLAY=:$(head -n1 "$work/display")

/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
pids+=($!)
wait_until dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress

LC_ALL=$locale QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" >/dev/null 2>&1 &
pids+=($!)
# The system's Python: pyatspi comes from Debian's python3-pyatspi.
/usr/bin/python3 "$here/atspi_check.py" "$(basename "$program")" "$language"
