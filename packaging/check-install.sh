#!/usr/bin/env bash
# Installs a QUAV Debian package on a fresh Debian 12 (a minimal debootstrap
# root, nothing else installed) and uses it as a user would: first with only
# what the package depends on (the programs, a search on Shift-JIS files, the
# window on an offscreen screen, the Japanese font, the first start's settings
# from the installed import file), then with what a desktop brings (the user's
# own `apt install ./quav_*.deb` with its recommendations, man, bash
# completion, the desktop entry and icon cache, the window on an X server),
# and finally removes it. lintian runs on the package when it is installed
# here. Needs root (debootstrap, chroot, mounts) and a Debian mirror.
#
# Usage: check-install.sh [--base DIR] [--keep] QUAV_DEB
#   --base DIR  a fresh root kept for the next runs: made by debootstrap when
#               DIR does not exist yet, copied (never changed) when it does
#   --keep      leave the root the check ran in (its path is printed)
# Environment: MIRROR (default http://deb.debian.org/debian),
#              SECURITY_MIRROR (default http://deb.debian.org/debian-security)
set -uo pipefail

base=
keep=0
while [ $# -gt 0 ]; do
  case $1 in
    --base) base=${2:?--base needs a folder}; shift 2 ;;
    --keep) keep=1; shift ;;
    -h|--help) sed -n '2,/^set /{/^set /d;s/^# \{0,1\}//;p}' "$0"; exit 0 ;;
    -*) echo "check-install.sh: unknown option $1" >&2; exit 2 ;;
    *) break ;;
  esac
done
[ $# -eq 1 ] || { echo "usage: check-install.sh [--base DIR] [--keep] QUAV_DEB" >&2; exit 2; }
deb=$(realpath -e "$1") || { echo "check-install.sh: no package $1" >&2; exit 2; }
[ "$(id -u)" -eq 0 ] || { echo "check-install.sh: needs root (debootstrap, chroot, mount)" >&2; exit 2; }
mirror=${MIRROR:-http://deb.debian.org/debian}
security=${SECURITY_MIRROR:-http://deb.debian.org/debian-security}
here=$(cd "$(dirname "$0")" && pwd)

make_root() {
  local dir=$1
  command -v debootstrap >/dev/null ||
    { echo "check-install.sh: debootstrap is missing (apt-get install debootstrap)" >&2; return 1; }
  echo "== debootstrap --variant=minbase bookworm $dir $mirror"
  debootstrap --variant=minbase bookworm "$dir" "$mirror" >"$dir.log" 2>&1 ||
    { tail -n 20 "$dir.log" >&2; return 1; }
  rm -f "$dir.log"
}

root=$(mktemp -d /var/tmp/quav-deb12.XXXXXX)
mounts=()
cleanup() {
  local i
  for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
    umount "${mounts[$i]}" 2>/dev/null || umount -l "${mounts[$i]}"
  done
  # Never remove a tree that still has the host's /dev or /proc mounted in it.
  if [ "$keep" -eq 1 ]; then
    echo "root kept: $root"
  elif findmnt -rn -o TARGET | grep -q "^$root/"; then
    echo "check-install.sh: $root still has mounts; left in place" >&2
  else
    rm -rf --one-file-system "$root"
  fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

start=$SECONDS
if [ -n "$base" ]; then
  if [ ! -e "$base/etc/debian_version" ]; then
    mkdir -p "$base" && make_root "$base" || exit 1
  fi
  echo "== copy of the fresh root $base"
  cp -a "$base/." "$root/" || exit 1
else
  make_root "$root" || exit 1
fi

cat >"$root/etc/apt/sources.list" <<EOF
deb $mirror bookworm main
deb $mirror bookworm-updates main
deb $security bookworm-security main
EOF
cp -L /etc/resolv.conf "$root/etc/resolv.conf"
# No service of a package installed here starts on the host.
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod 755 "$root/usr/sbin/policy-rc.d"
for m in proc sys dev dev/pts; do
  mkdir -p "$root/$m"
  case $m in
    proc) mount -t proc proc "$root/proc" ;;
    sys) mount -t sysfs sys "$root/sys" ;;
    *) mount --bind "/$m" "$root/$m" ;;
  esac || { echo "check-install.sh: cannot mount $root/$m" >&2; exit 1; }
  mounts+=("$root/$m")
done

cp "$deb" "$root/tmp/"
cp "$here/check-install-inside.sh" "$root/tmp/"
chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LC_ALL=C.UTF-8 \
  bash /tmp/check-install-inside.sh "/tmp/$(basename "$deb")"
status=$?
if [ -f "$root/tmp/window.xwd" ] && command -v convert >/dev/null; then
  shot=${deb%.deb}-window.png
  convert "xwd:$root/tmp/window.xwd" "$shot" && echo "window picture: $shot"
fi

if command -v lintian >/dev/null; then
  echo "== lintian $(basename "$deb")"
  # The built-in maintainer address is a placeholder for a build of one's
  # own; a published package sets QUAV_PACKAGE_MAINTAINER.
  tags=$(lintian --suppress-tags bogus-mail-host,bogus-mail-host-in-debian-changelog "$deb" 2>&1 |
         grep -v 'running with root privileges')
  [ -n "$tags" ] && echo "$tags"
  if grep -q '^E:' <<<"$tags"; then
    echo "FAIL: lintian reports errors"
    status=1
  fi
else
  echo "== lintian is not installed here: skipped"
fi
echo "== $((SECONDS - start)) s"
exit "$status"
