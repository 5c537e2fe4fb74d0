#!/usr/bin/env bash
# Runs PROGRAM on a private X server and accessibility bus, with Qt's accessibility on, and checks
# it over AT-SPI with atspi_check.py. Usage: atspi_check.sh PROGRAM LANGUAGE LOCALE
# Meant to run under dbus-run-session, which gives it a session bus of its own.
set -euo pipefail
program=$1 language=$2 locale=$3
here=$(cd "$(dirname "$0")" && pwd)

display=:$((90 + RANDOM % 400))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
bus=$!
LC_ALL=$locale DISPLAY=$display QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" >/dev/null 2>&1 &
app=$!
trap 'kill $app $bus $xvfb 2>/dev/null; wait 2>/dev/null || true' EXIT
# The system's Python: pyatspi comes from Debian's python3-pyatspi.
DISPLAY=$display /usr/bin/python3 "$here/atspi_check.py" "$(basename "$program")" "$language"
