#!/usr/bin/env bash
# Builds the Linux program and starts it: marlox-demo by default (a simulated controller on top of
# the machine's own ports), or `scripts/run.sh marlox` for the machine's ports only.
set -euo pipefail
cd "$(dirname "$0")/.."

program=${1:-marlox-demo}
case "$program" in
  marlox|marlox-demo) ;;
  *) echo "usage: $0 [marlox|marlox-demo]" >&2; exit 1 ;;
esac

cmake --preset linux >/dev/null
cmake --build --preset linux -j"$(nproc)" --target "$program"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec "build/linux/ui/$program"
fi
echo "No display: starting $program on a virtual X server (xvfb-run); stop it with Ctrl-C." >&2
exec xvfb-run -a -s "-screen 0 1024x768x24" "build/linux/ui/$program"
