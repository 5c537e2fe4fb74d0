#!/usr/bin/env bash
# Checks that the x86 Marlox.exe (default build/win32) can load on Windows 95 OSR2 and NT 4.0 SP6:
# it imports only functions listed in ui/windows/x86-imports.txt, and asks for subsystem 4.0.
#   scripts/check-x86-imports.sh [WIN32_BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
exe="${1:-build/win32}/ui/Marlox.exe"
allowed=ui/windows/x86-imports.txt

dump=$(i686-w64-mingw32-objdump -p "$exe")
grep -q 'file format pei-i386' <<<"$dump" || { echo "check-x86-imports: $exe is not an x86 program" >&2; exit 1; }
subsystem=$(awk '$1 == "MajorSubsystemVersion" {major = $2} $1 == "MinorSubsystemVersion" {minor = $2}
                 END {print major "." minor}' <<<"$dump")
status=0
if [ "$subsystem" != "4.0" ]; then
  echo "check-x86-imports: subsystem version $subsystem, not 4.0" >&2
  status=1
fi
# Named imports as dll!function; an import by ordinal has no name to check and fails too.
imports=$(awk '/DLL Name:/ {dll = tolower($3)}
               /^\t[0-9a-f]+\t +[0-9]+ +[^ ]+$/ && dll != "" {print dll "!" $3}
               /^\t[0-9a-f]+\t +<none> +[0-9a-f]+$/ && dll != "" {print dll "!#" $3}' <<<"$dump" | sort -u)
[ -n "$imports" ] || { echo "check-x86-imports: no imports found in $exe" >&2; exit 1; }
unlisted=$(comm -23 <(echo "$imports") <(grep -v '^#' "$allowed" | sed '/^$/d' | sort -u))
if [ -n "$unlisted" ]; then
  echo "check-x86-imports: $exe imports what Windows 95 or NT 4.0 may lack (not in $allowed):" >&2
  sed 's/^/  /' <<<"$unlisted" >&2
  status=1
fi
[ "$status" -ne 0 ] || echo "$exe: $(wc -l <<<"$imports") imports, all listed; subsystem $subsystem"
exit "$status"
