#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the tree a Linux
# desktop reads: the two programs, the desktop entry (valid, Japanese name and
# comment), the icon in every size of the hicolor theme, the import file, the
# manual pages and the bash completion.
# Usage: check_install.sh CMAKE BUILD_DIR
set -uo pipefail
cmake=$1
build=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

passed=0
failed=0
ok() { passed=$((passed + 1)); }
bad() { echo "FAIL: $*"; failed=$((failed + 1)); }
check() { local what=$1; shift; if "$@"; then ok; else bad "$what"; fi; }

if ! "$cmake" --install "$build" --prefix "$prefix" >"$prefix.log" 2>&1; then
  cat "$prefix.log"; rm -f "$prefix.log"
  echo "0 passed, 1 failed"
  exit 1
fi
rm -f "$prefix.log"

for program in quav quav-window; do
  check "bin/$program is an executable" test -x "$prefix/bin/$program"
done

entry=$prefix/share/applications/quav.desktop
check "desktop entry installed" test -f "$entry"
if command -v desktop-file-validate >/dev/null; then
  out=$(desktop-file-validate "$entry" 2>&1)
  check "desktop-file-validate: $out" test -z "$out"
else
  bad "desktop-file-validate is not installed (scripts/setup.sh installs desktop-file-utils)"
fi
for line in 'Exec=quav' 'Icon=quav' 'Categories=Utility;TextTools;' 'Type=Application'; do
  check "desktop entry has $line" grep -qxF "$line" "$entry"
done
for key in 'Name\[ja\]' 'Comment\[ja\]'; do
  # A Japanese text: at least one character outside ASCII.
  check "desktop entry has a Japanese $key" grep -qP "^$key=.*[^\x00-\x7F]" "$entry"
done

icons=$prefix/share/icons/hicolor
check "scalable icon" grep -q '<svg' "$icons/scalable/apps/quav.svg"
for size in 16 22 24 32 48 64 128 256; do
  png=$icons/${size}x${size}/apps/quav.png
  if [ -f "$png" ]; then
    # PNG signature, then the IHDR width and height as 32-bit big-endian.
    read -r w h < <(od -An -tu4 --endian=big -j16 -N8 "$png")
    check "$png is ${size}x${size} (is ${w}x${h})" test "$w" = "$size" -a "$h" = "$size"
  else
    bad "missing $png"
  fi
done

for page in quav quav-search quav-replace quav-duplicate quav-undo; do
  check "manual page $page(1)" zgrep -q "^\.TH ${page^^} 1 " "$prefix/share/man/man1/$page.1.gz"
done
check "bash completion" grep -q '^complete -F _quav quav$' "$prefix/share/bash-completion/completions/quav"

check "import file in share/quav" grep -q '^REGEDIT4' "$prefix/share/quav/QUAV_INSTALL.REG"

# The installed launcher answers without a display and finds nothing missing.
version=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$prefix/bin/quav" --version 2>&1)
check "installed quav --version: $version" test "$?" = 0 -a -n "$version"
help=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$prefix/bin/quav-window" --help 2>&1)
check "installed quav-window --help" grep -q -- '--version' <<<"$help"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
