#!/usr/bin/env bash
# The part of check-install.sh that runs inside the fresh Debian 12 root, as
# root there: installs the package and checks it as the user "tester".
# Usage (inside the root): check-install-inside.sh /tmp/quav_<version>_amd64.deb
set -uo pipefail
deb=$1
export DEBIAN_FRONTEND=noninteractive
apt_get() { apt-get -q -y -o Dpkg::Use-Pty=0 "$@"; }

passed=0
failed=0
ok() { passed=$((passed + 1)); }
bad() { echo "FAIL: $*"; failed=$((failed + 1)); }
check() { local what=$1; shift; if "$@"; then ok; else bad "$what"; fi; }
step() { echo "== $*"; }
packages() { dpkg-query -W -f='${db:Status-Status}\n' | grep -c '^installed$'; }
# Runs a command as the user, with a login's environment and nothing else.
as_user() {
  setpriv --reuid=tester --regid=tester --init-groups \
    env -i HOME=/home/tester USER=tester LOGNAME=tester SHELL=/bin/bash XDG_RUNTIME_DIR=/run/user/1000 \
    PATH=/usr/local/bin:/usr/bin:/bin LANG=C.UTF-8 "$@"
}
finish() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
  exit
}

version=$(dpkg-deb -f "$deb" Version)
step "apt-get update"
apt_get update >/tmp/update.log 2>&1 || { cat /tmp/update.log; bad "apt-get update"; finish; }
useradd -m -u 1000 -s /bin/bash tester
install -d -m 700 -o tester -g tester /run/user/1000

# 1. Only what the package depends on.
before=$(packages)
step "apt-get install --no-install-recommends $deb"
if ! apt_get install --no-install-recommends "$deb" >/tmp/install.log 2>&1; then
  cat /tmp/install.log
  bad "the package installs with its dependencies"
  finish
fi
echo "$(($(packages) - before)) packages installed"
check "dpkg lists quav $version as installed" \
  test "$(dpkg-query -W -f='${Version} ${db:Status-Status}' quav)" = "$version installed"
for program in quav quav-window; do
  missing=$(ldd "/usr/bin/$program" | grep 'not found')
  check "every library of $program is there: $missing" test -z "$missing"
done

step "quav --version, quav --help"
out=$(as_user quav --version 2>&1)
check "quav --version prints $version: $out" grep -q "$version" <<<"$out"
out=$(as_user quav --help 2>&1)
check "quav --help lists the commands: $out" grep -q 'quav search' <<<"$out"

step "quav search on a Shift-JIS tree"
# "検索の対象" and "検索" in code page 932, CR LF; c.dat has the word too but
# is not a TXT file.
as_user mkdir -p /home/tester/tree/sub
as_user sh -c 'cd /home/tester/tree &&
  printf "\214\237\215\365\202\314\221\316\217\333\r\nplain\r\n" >a.txt &&
  printf "x\r\n\214\237\215\365\r\n" >sub/b.txt &&
  printf "\214\237\215\365\r\n" >c.dat'
out=$(as_user quav search --dir /home/tester/tree --ext TXT --subdirs -n 検索 2>&1)
check "quav search -n finds both hits in UTF-8 (exit $?): $out" test "$out" = \
"/home/tester/tree/a.txt:1:検索の対象
/home/tester/tree/sub/b.txt:2:検索"
out=$(as_user quav search --dir /home/tester/tree --ext TXT --no-subdirs 検索 2>&1)
check "quav search lists a.txt with its hit line: $out" \
  grep -qxE 'SEARCH_FILE = /home/tester/tree/a.txt +[0-9/]+ [0-9:]+ +[0-9]+ﾊﾞｲﾄ +' <<<"$out"
check "quav search leaves out the subfolder: $out" test "$(grep -c b.txt <<<"$out")" = 0
as_user quav search --dir /home/tester/tree --ext TXT 見当たらない >/dev/null 2>&1
check "quav search without a hit exits 1" test $? = 1

step "the Japanese font"
for family in IPAGothic IPAPGothic; do
  out=$(fc-match -f '%{family}' "$family")
  check "fc-match $family: $out" grep -q "$family" <<<"$out"
done

step "quav-window on an offscreen screen"
as_user env QT_QPA_PLATFORM=offscreen timeout 5 quav-window >/tmp/window.log 2>&1
status=$?
check "the window runs until stopped (exit $status): $(cat /tmp/window.log)" test "$status" = 124
# The offscreen screen itself says that it cannot pass on size hints.
out=$(grep -v 'does not support propagateSizeHints' /tmp/window.log)
check "the window writes nothing else to standard error: $out" test -z "$out"
check "the first start imports the installed settings" \
  grep -q '^REGEDIT4' /home/tester/.config/quav/QUAV.REG

# 2. Removal, then what a desktop has, and the user's own command.
step "apt-get purge quav"
apt_get purge quav >/tmp/purge.log 2>&1
check "apt-get purge quav" test $? = 0
left=$(ls /usr/bin/quav* /usr/share/quav /usr/share/applications/quav.desktop /usr/share/man/man1/quav* \
          /usr/share/bash-completion/completions/quav 2>/dev/null)
check "nothing of quav is left: $left" test -z "$left"

step "apt-get install man-db bash-completion desktop-file-utils gtk-update-icon-cache xvfb xauth x11-utils x11-apps"
apt_get install man-db bash-completion desktop-file-utils hicolor-icon-theme gtk-update-icon-cache \
  xvfb xauth x11-utils x11-apps >/tmp/tools.log 2>&1 || { cat /tmp/tools.log; bad "the desktop tools install"; finish; }
step "apt install ./$(basename "$deb")"
before=$(packages)
(cd "$(dirname "$deb")" && apt -q -y install "./$(basename "$deb")") >/tmp/install.log 2>&1
check "apt install ./$(basename "$deb"): $(tail -n 5 /tmp/install.log)" test $? = 0
echo "$(($(packages) - before)) packages installed"
grep -E '^(Setting up|Processing triggers for) ' /tmp/install.log | sed 's/^/  /'
check "the Japanese Qt translations are recommended" test -f /usr/share/qt6/translations/qtbase_ja.qm

step "man"
for page in quav quav-search quav-replace quav-duplicate quav-undo quav-window; do
  out=$(as_user env MANWIDTH=80 man -P cat "$page" 2>&1)
  check "man $page shows its options: $(head -n 3 <<<"$out")" grep -q -- '--help' <<<"$out"
done
out=$(as_user env MANWIDTH=80 man -P cat quav-search 2>&1)
check "man quav-search shows Japanese text" grep -q '検索するフォルダ' <<<"$out"
out=$(as_user whatis quav-search 2>&1)
check "the manual index knows quav-search: $out" grep -q '^quav-search (1)' <<<"$out"

step "bash completion"
out=$(as_user bash -ic '__load_completion quav && complete -p quav' 2>&1)
check "bash loads the completion: $out" grep -qx 'complete -F _quav quav' <<<"$out"
# (An interactive bash without a terminal complains about job control on
# standard error.)
out=$(as_user bash -ic '__load_completion quav; COMP_WORDS=(quav s); COMP_CWORD=1; _quav;
  printf "%s\n" "${COMPREPLY[@]}"; COMP_WORDS=(quav search --enc); COMP_CWORD=2; _quav;
  printf "%s\n" "${COMPREPLY[@]}"' 2>/dev/null)
check "quav s<Tab> and quav search --enc<Tab> complete: $out" test "$out" = "search
--encoding"

step "desktop entry and icon"
out=$(desktop-file-validate /usr/share/applications/quav.desktop 2>&1)
check "desktop-file-validate: $out" test -z "$out"
check "the desktop entry starts quav" grep -qx 'Exec=quav' /usr/share/applications/quav.desktop
check "the icon is in the theme" test -f /usr/share/icons/hicolor/48x48/apps/quav.png
check "the icon cache holds quav" grep -q quav /usr/share/icons/hicolor/icon-theme.cache

step "quav (the desktop entry's command) on an X server"
as_user xvfb-run -a -s '-screen 0 1280x1024x24' bash -c '
  QT_QPA_PLATFORM=xcb quav 2>/tmp/xwindow.log & pid=$!
  for i in $(seq 20); do
    id=$(xwininfo -root -tree | sed -n "s/^ *\(0x[0-9a-f]*\) \"QUAV Multi-File Search Workbench\".*/\1/p" | head -n1)
    [ -n "$id" ] && break
    sleep 0.5
  done
  [ -n "$id" ] && xwd -silent -id "$id" >/tmp/window.xwd
  sleep 1
  kill -TERM $pid; wait $pid; echo "exit $?" >>/tmp/xwindow.log
  [ -n "$id" ]'
check "the main window shows under X" test $? = 0
check "the window ends on SIGTERM without more: $(cat /tmp/xwindow.log)" test "$(cat /tmp/xwindow.log)" = "exit 143"

step "apt-get remove quav"
apt_get remove quav >/tmp/remove.log 2>&1
check "apt-get remove quav" test $? = 0
check "quav is gone" test ! -e /usr/bin/quav
# With no icon left in the theme the cache goes too.
check "the icon cache no longer holds quav" bash -c '! grep -qs quav /usr/share/icons/hicolor/icon-theme.cache'
finish
