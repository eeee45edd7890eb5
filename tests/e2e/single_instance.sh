#!/usr/bin/env bash
# One instance per data file: a second start against the same home asks the first to come
# forward and exits 0 without a window of its own; the first keeps running. The same holds
# for starts from other homes whose data file is a hard link made after the first saved (and
# a symbolic link to such a hard link): the save put a new file in the data file's place.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e_lib.sh"
binary=$1
shots=$2

e2e_setup || exit 1
cat >"$HOME/mervane.json" <<'JSON'
{"version": "1.0", "base_currency": "USD", "tags": [], "nw_logs": [],
 "a_cat": [{"ID": "CASH", "name": "Cash", "desc": "", "is_foreign": false, "currency": "USD",
            "tags": [], "is_depreciable": false, "sort_order": 0, "is_hidden": false}],
 "l_cat": []}
JSON
e2e_write_text_settings mcmain "{{100, 50}, {1200, 800}}"
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

e2e_save_record_through_editor "$window" 1234.56

# Other homes of the same user (same session, same runtime folder), linked after the save.
make_home() {
    mkdir -p "$1/.config/Mervane" "$1/.local/share" "$1/.cache"
    cp "$(e2e_settings_file)" "$1/.config/Mervane/"
}
hard="$E2E_HOME/hard"
symbolic="$E2E_HOME/symbolic"
make_home "$hard"
make_home "$symbolic"
ln "$HOME/mervane.json" "$hard/mervane.json"
ln -s "$hard/mervane.json" "$symbolic/mervane.json"
for other in "$hard" "$symbolic"; do
    before=$(stamp)
    HOME="$other" XDG_CONFIG_HOME="$other/.config" XDG_DATA_HOME="$other/.local/share" \
        XDG_CACHE_HOME="$other/.cache" timeout 30 "$binary" >"$E2E_HOME/linked.log" 2>&1
    rc=$?
    cat "$E2E_HOME/linked.log"
    [ "$rc" = 0 ] || fail "the start from $other exited with $rc"
    [ -e "$other/mervane.json.lock" ] && fail "the start from $other took a lock of its own"
    [ "$(stamp)" = "$before" ] || fail "the start from $other touched the data file"
    kill -0 "$E2E_APP_PID" 2>/dev/null || fail "the first instance is gone"
    windows=$(xdotool search --onlyvisible --name '^Mervane$' 2>/dev/null | wc -l)
    [ "$windows" = 1 ] || fail "$windows Mervane windows after the start from $other, expected one"
done
[ "$(stat -c %i "$hard/mervane.json")" = "$(stat -c %i "$HOME/mervane.json")" ] \
    || fail "the hard link was replaced"

xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers ctrl+q
e2e_wait_exit 20 || fail "Ctrl+Q did not quit cleanly"
[ -e "$HOME/mervane.json.lock" ] && fail "the lock file outlived the instance"
echo "PASS"
