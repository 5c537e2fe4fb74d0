#!/usr/bin/env bash
# Builds the Linux program and starts it against the substitute controller.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset linux >/dev/null
cmake --build --preset linux -j"$(nproc)"

sim_link=$(mktemp -u /tmp/marlox-sim.XXXXXX)
build/linux/tools/sim/marlox-sim --profile tarvex --link "$sim_link" &
sim_pid=$!
trap 'kill $sim_pid 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "$sim_link" ] && break; sleep 0.1; done
build/linux/tools/probe/marlox-probe "$sim_link"
