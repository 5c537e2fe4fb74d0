#!/usr/bin/env bash
# Builds every target (Linux, Windows x64 and x86) and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc)
for preset in win64 win32 linux; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j"$jobs"
done
ctest --preset linux -j"$jobs"
