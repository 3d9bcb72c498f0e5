#!/usr/bin/env bash
# Makes the Debian package from the already built tree (cpack, not the
# package target, which would build everything again) and checks what a
# user's apt gets: the programs, the desktop entry (valid), the icons, the
# import file, the manual pages (readable by man), the bash completion, and
# the dependencies declared. Skipped (exit 77) where dpkg-deb is missing.
# Usage: check_package.sh CPACK BUILD_DIR
set -uo pipefail
cpack=$1
build=$2
if ! command -v dpkg-deb >/dev/null; then
  echo "dpkg-deb is not installed (scripts/setup.sh installs dpkg-dev): skipped"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

passed=0
failed=0
ok() { passed=$((passed + 1)); }
bad() { echo "FAIL: $*"; failed=$((failed + 1)); }
check() { local what=$1; shift; if "$@"; then ok; else bad "$what"; fi; }

if ! (cd "$build" && "$cpack" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1); then
  cat "$work/cpack.log"
  echo "0 passed, 1 failed"
  exit 1
fi
deb=$(ls "$work"/out/quav_*_amd64.deb 2>/dev/null | head -n1)
if [ -z "$deb" ]; then
  ls -R "$work/out"
  echo "0 passed, 1 failed: no quav_*_amd64.deb"
  exit 1
fi
check "$deb is a Debian package" grep -q 'Debian binary package' <(file -b "$deb")

contents=$(dpkg-deb -c "$deb" | sed 's/ -> .*//' | awk '{print $NF}' | sed 's|^\./|/|')
for path in /usr/bin/quav /usr/bin/quav-window /usr/share/applications/quav.desktop \
            /usr/share/icons/hicolor/scalable/apps/quav.svg /usr/share/icons/hicolor/48x48/apps/quav.png \
            /usr/share/quav/QUAV_INSTALL.REG /usr/share/bash-completion/completions/quav \
            /usr/share/man/man1/quav.1.gz /usr/share/man/man1/quav-search.1.gz /usr/share/man/man1/quav-replace.1.gz \
            /usr/share/man/man1/quav-duplicate.1.gz /usr/share/man/man1/quav-undo.1.gz \
            /usr/share/man/man1/quav-window.1.gz /usr/share/doc/quav/copyright /usr/share/doc/quav/changelog.gz; do
  check "package holds $path" grep -qxF "$path" <<<"$contents"
done

info=$(dpkg-deb -I "$deb")
check "package is named quav" grep -qx ' Package: quav' <<<"$info"
check "package is for amd64" grep -qx ' Architecture: amd64' <<<"$info"
depends=$(sed -n 's/^ Depends: //p' <<<"$info")
# The Qt libraries the programs link, found by dpkg-shlibdeps, and a
# Japanese font.
for dep in libqt6core6 libqt6widgets6 libqt6gui6 libc6 fonts-ipafont-gothic; do
  check "package depends on $dep (Depends: $depends)" grep -q "\b$dep\b" <<<"$depends"
done
# The program asks for IPAGothic by name: another font must not satisfy it.
check "IPAGothic is no alternative (Depends: $depends)" grep -qE '(^|, )fonts-ipafont-gothic(,|$)' <<<"$depends"

dpkg-deb -x "$deb" "$work/root"
root=$work/root
if command -v desktop-file-validate >/dev/null; then
  out=$(desktop-file-validate "$root/usr/share/applications/quav.desktop" 2>&1)
  check "desktop-file-validate: $out" test -z "$out"
else
  bad "desktop-file-validate is not installed (scripts/setup.sh installs desktop-file-utils)"
fi
check "quav is an executable" grep -q 'ELF 64-bit' <(file -b "$root/usr/bin/quav")
for page in quav quav-search quav-replace quav-duplicate quav-undo quav-window; do
  if command -v man >/dev/null; then
    text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$root/usr/share/man/man1/$page.1.gz" 2>&1)
    check "man -l $page.1.gz shows its options" grep -q -- '--help' <<<"$text"
  else
    check "$page.1.gz is a manual page" zgrep -q '^\.TH ' "$root/usr/share/man/man1/$page.1.gz"
  fi
done
completion=$root/usr/share/bash-completion/completions/quav
check "completion is valid bash" bash -n "$completion"
check "completion completes quav" grep -q '^complete -F _quav quav$' "$completion"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
