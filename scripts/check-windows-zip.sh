#!/usr/bin/env bash
# Makes the Windows release ZIP in the x64 build (default build/win64; the x86 build must be
# built too) and checks it: exactly both programs, each Marlox.exe (the name captions its message
# boxes) in a folder named by its architecture, really of that architecture and at most 300 KB,
# and a README in English and Japanese as UTF-8. Prints the ZIP's path last.
#   scripts/check-windows-zip.sh [WIN64_BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build/win64}")

rm -f "$build"/Marlox-*-windows.zip
(cd "$build" && cpack -G ZIP >cpack.log 2>&1) || { cat "$build/cpack.log"; exit 1; }
zips=("$build"/Marlox-*-windows.zip)
if [ "${#zips[@]}" -ne 1 ] || [ ! -f "${zips[0]}" ]; then
  echo "check-windows-zip: expected one Marlox-*-windows.zip in $build, found: ${zips[*]}" >&2
  exit 1
fi

python3 - "${zips[0]}" <<'PY'
import re
import struct
import sys
import zipfile

MAX_EXE_BYTES = 300 * 1024
MACHINES = {"x64/Marlox.exe": 0x8664, "x86/Marlox.exe": 0x014C}
path = sys.argv[1]
failures = []
if not re.fullmatch(r"Marlox-\d+\.\d+\.\d+\.\d+-windows\.zip", path.rsplit("/", 1)[-1]):
    failures.append("unexpected file name " + path)
with zipfile.ZipFile(path) as archive:
    names = sorted(name for name in archive.namelist() if not name.endswith("/"))  # no folders
    if names != sorted(list(MACHINES) + ["README.txt"]):
        failures.append("contents are %r" % names)
    for name, machine in MACHINES.items():
        if name not in names:
            continue
        data = archive.read(name)
        pe = struct.unpack_from("<I", data, 0x3C)[0] if data[:2] == b"MZ" else None
        if pe is None or data[pe:pe + 4] != b"PE\0\0":
            failures.append(name + " is not a Windows program")
            continue
        found = struct.unpack_from("<H", data, pe + 4)[0]
        if found != machine:
            failures.append("%s is for machine %#x, not %#x" % (name, found, machine))
        print("%s: %d bytes (%.1f KB)" % (name, len(data), len(data) / 1024))
        if len(data) > MAX_EXE_BYTES:
            failures.append("%s is %d bytes, over %d" % (name, len(data), MAX_EXE_BYTES))
    if "README.txt" in names:
        raw = archive.read("README.txt")
        try:
            text = raw.decode("utf-8-sig")
        except UnicodeDecodeError as error:
            failures.append("README.txt is not UTF-8: %s" % error)
            text = ""
        if not raw.startswith(b"\xef\xbb\xbf") or "\n" in text.replace("\r\n", ""):
            failures.append("README.txt lacks the byte order mark or CR LF line ends")
        for needed in ("x64\\Marlox.exe", "x86\\Marlox.exe", "Windows", "インストールは不要です"):
            if needed not in text:
                failures.append("README.txt does not mention " + needed)
for failure in failures:
    print("check-windows-zip:", failure, file=sys.stderr)
sys.exit(1 if failures else 0)
PY
echo "${zips[0]}"
