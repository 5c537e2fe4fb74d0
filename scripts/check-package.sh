#!/usr/bin/env bash
# Makes the Linux .deb in a built folder (default build/linux) and checks it as Debian would:
# lintian without errors or warnings, the AppStream metadata and the desktop entry valid, and the
# package, changelog and metadata versions in agreement. Prints the .deb's path last.
#   scripts/check-package.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build/linux}")

rm -f "$build"/marlox_*.deb
(cd "$build" && cpack -G DEB >cpack.log 2>&1) || { cat "$build/cpack.log"; exit 1; }
debs=("$build"/marlox_*.deb)
if [ "${#debs[@]}" -ne 1 ] || [ ! -f "${debs[0]}" ]; then
  echo "check-package: expected one marlox_*.deb in $build, found: ${debs[*]}" >&2
  exit 1
fi
deb=${debs[0]}

status=0
fail() {
  echo "check-package: $*" >&2
  status=1
}

# Lintian warns about running as root unless told it is meant.
lintian_args=(--fail-on error,warning --display-info)
[ "$(id -u)" -ne 0 ] || lintian_args+=(--allow-root)
echo "== lintian $(basename "$deb")"
lintian "${lintian_args[@]}" "$deb" || fail "lintian reports errors or warnings"

tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
dpkg-deb -x "$deb" "$tree"

echo "== appstreamcli validate"
metainfo=("$tree"/usr/share/metainfo/*.metainfo.xml)
[ -f "${metainfo[0]}" ] || fail "no AppStream metadata in /usr/share/metainfo"
for file in "${metainfo[@]}"; do
  [ -f "$file" ] && { appstreamcli validate --no-net "$file" || fail "$(basename "$file") is not valid"; }
done
appstreamcli validate-tree --no-net "$tree" || fail "the installed tree's AppStream data is not valid"

echo "== desktop-file-validate"
desktops=("$tree"/usr/share/applications/*.desktop)
[ -f "${desktops[0]}" ] || fail "no desktop entry in /usr/share/applications"
for file in "${desktops[@]}"; do
  [ -f "$file" ] && { desktop-file-validate "$file" || fail "$(basename "$file") is not valid"; }
done

echo "== versions and description"
version=$(dpkg-deb -f "$deb" Version)
changelog=$(gzip -dc "$tree/usr/share/doc/marlox/changelog.gz" | dpkg-parsechangelog -l - -S Version) ||
  changelog=missing
[ "$changelog" = "$version" ] || fail "changelog's latest entry is $changelog, the package is $version"
for file in "${metainfo[@]}"; do
  [ -f "$file" ] || continue
  release=$(grep -o '<release version="[^"]*"' "$file" | head -n1 | cut -d'"' -f2) || true
  [ "$release" = "$version" ] ||
    fail "$(basename "$file")'s latest release is ${release:-missing}, the package is $version"
done
if dpkg-deb -f "$deb" Description | grep -Eq '&(apos|quot|amp|lt|gt);'; then
  fail "the description holds XML entities (an apostrophe or ampersand in its source)"
fi
echo "package $version, changelog $changelog"

[ "$status" -eq 0 ] || exit "$status"
echo "$deb"
