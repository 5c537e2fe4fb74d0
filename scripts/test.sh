#!/usr/bin/env bash
# Builds every target (Windows x64 and x86, Linux), checks the Linux .deb (lintian, AppStream,
# desktop entry), the Windows ZIP (contents, program sizes) and the x86 program's imports (each
# one present on Windows 95 and NT 4.0), and runs the whole test suite: the Linux build again
# under AddressSanitizer and UndefinedBehaviorSanitizer, the multi-port probe tests under
# ThreadSanitizer, each fuzz target for a while, the real-kernel lab (QEMU, scripts/vm-test.sh),
# and last the Linux build's suite (unit, pty integration, Qt dialog, the Windows programs under
# Wine, the soak), whose summary closes the output.
#   FUZZ_SECONDS  seconds per fuzz target (default 60; 0 skips fuzzing)
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc)
# The Windows builds come first: the Linux build registers the Wine tests when they exist.
for preset in win64 win32 linux; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j"$jobs"
done

bash scripts/check-package.sh build/linux
bash scripts/check-windows-zip.sh build/win64
bash scripts/check-x86-imports.sh build/win32

cmake --preset linux-asan >/dev/null
cmake --build --preset linux-asan -j"$jobs"
ctest --preset linux-asan -j"$jobs"

# Only the tests that run ports on several threads, in a build of only what they need.
cmake --preset linux-tsan >/dev/null
cmake --build --preset linux-tsan -j"$jobs"
ctest --preset linux-tsan -j"$jobs"

fuzz_seconds=${FUZZ_SECONDS:-60}
if [ "$fuzz_seconds" != 0 ]; then
  bash scripts/fuzz.sh "$fuzz_seconds"
fi

bash scripts/vm-test.sh build/linux

ctest --preset linux -j"$jobs"
