#!/usr/bin/env bash
# One instance per data file: a second start against the same home asks the first to come
# forward and exits 0 without a window of its own; the first keeps running.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e_lib.sh"
binary=$1
shots=$2

e2e_setup || exit 1
e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || exit 1
e2e_screenshot_painted "$shots/single-instance-first.png" || fail "no screenshot of the first"
[ -e "$HOME/mervane.json.lock" ] || fail "the first instance holds no lock file"

stamp() { stat -c '%s %Y %i' "$HOME/mervane.json" 2>/dev/null || echo none; }
before=$(stamp)
timeout 30 "$binary" >"$E2E_HOME/second.log" 2>&1
rc=$?
[ "$(stamp)" = "$before" ] || fail "the second start touched the data file"
cat "$E2E_HOME/second.log"
[ "$rc" = 0 ] || fail "the second start exited with $rc"
kill -0 "$E2E_APP_PID" 2>/dev/null || fail "the first instance is gone"
windows=$(xdotool search --onlyvisible --name '^Mervane$' 2>/dev/null | wc -l)
[ "$windows" = 1 ] || fail "$windows Mervane windows, expected one"

xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers ctrl+q
e2e_wait_exit 20 || fail "Ctrl+Q did not quit cleanly"
[ -e "$HOME/mervane.json.lock" ] && fail "the lock file outlived the instance"
echo "PASS"
