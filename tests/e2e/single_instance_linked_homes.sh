#!/usr/bin/env bash
# One instance per data file whatever path reaches it: a second home whose data file is a link
# to the first home's. A start from the second home brings the first (minimised) window
# forward and exits 0 without a window or a lock of its own; the first keeps running.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e_lib.sh"
binary=$1
shots=$2

e2e_setup || exit 1
e2e_start_wm
python3 "$here/household.py" "$HOME/mervane.json" --years 1 --assets 3 --liabilities 1 >/dev/null \
    || fail "no data file"

# The second home of the same user (same session, same runtime folder).
second="$E2E_HOME/second"
mkdir -p "$second/.config/Mervane" "$second/.local/share" "$second/.cache"
cp "$(e2e_settings_file)" "$second/.config/Mervane/"
ln -s "$HOME/mervane.json" "$second/mervane.json"

e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || exit 1
e2e_screenshot_painted "$shots/single-instance-linked-first.png" || fail "no screenshot of the first"
[ -e "$HOME/mervane.json.lock" ] || fail "the first instance holds no lock file"

xdotool windowminimize "$window"
e2e_wait_for e2e_in_wm_state "$window" Iconic \
    || fail "the first window did not minimise (state $(e2e_wm_state "$window"))"

stamp() { stat -c '%s %Y %i' "$HOME/mervane.json"; }
before=$(stamp)
HOME="$second" XDG_CONFIG_HOME="$second/.config" XDG_DATA_HOME="$second/.local/share" \
    XDG_CACHE_HOME="$second/.cache" timeout 20 "$binary" >"$E2E_HOME/second.log" 2>&1
rc=$?
cat "$E2E_HOME/second.log"
[ "$rc" = 0 ] || fail "the start from the second home exited with $rc"
[ -L "$second/mervane.json" ] || fail "the second home's link was replaced"
[ -e "$second/mervane.json.lock" ] && fail "the second home took a lock of its own"
[ "$(stamp)" = "$before" ] || fail "the second start touched the data file"
kill -0 "$E2E_APP_PID" 2>/dev/null || fail "the first instance is gone"

# The first window came forward.
e2e_wait_for e2e_in_wm_state "$window" Normal \
    || fail "the first window stayed minimised (state $(e2e_wm_state "$window"))"
windows=$(xdotool search --onlyvisible --name '^Mervane$' 2>/dev/null | wc -l)
[ "$windows" = 1 ] || fail "$windows Mervane windows, expected one"
e2e_screenshot_painted "$shots/single-instance-linked-forward.png" || fail "no screenshot after the second start"

e2e_quit "$window"
[ -e "$HOME/mervane.json.lock" ] && fail "the lock file outlived the instance"
echo "PASS"
