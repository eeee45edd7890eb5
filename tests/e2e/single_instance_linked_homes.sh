#!/usr/bin/env bash
# One instance per data file whatever path reaches it: a second home whose data file is a
# symbolic link to the first home's, and a third whose data file is a hard link to it. A start
# from either brings the first (minimised) window forward and exits 0 without a window or a
# lock of its own; the first keeps running. After the first saved (a new file took the data
# file's place), the same holds for a home whose data file is a hard link made then, and for
# one whose data file is a symbolic link to that hard link.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e_lib.sh"
binary=$1
shots=$2

e2e_setup || exit 1
e2e_start_wm
python3 "$here/household.py" "$HOME/mervane.json" --years 1 --assets 3 --liabilities 1 >/dev/null \
    || fail "no data file"

# Other homes of the same user (same session, same runtime folder).
make_home() {
    mkdir -p "$1/.config/Mervane" "$1/.local/share" "$1/.cache"
    cp "$(e2e_settings_file)" "$1/.config/Mervane/"
}
second="$E2E_HOME/second"
third="$E2E_HOME/third"
make_home "$second"
make_home "$third"
ln -s "$HOME/mervane.json" "$second/mervane.json"

e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || exit 1
e2e_screenshot_painted "$shots/single-instance-linked-first.png" || fail "no screenshot of the first"
[ -e "$HOME/mervane.json.lock" ] || fail "the first instance holds no lock file"
# Linked once the first runs, so that the link is to the very file it opened.
ln "$HOME/mervane.json" "$third/mervane.json"

stamp() { stat -c '%s %Y %i' "$HOME/mervane.json"; }

# start_from <home> <kind of link>: a start from that home only brings the first forward.
start_from() {
    local other=$1 kind=$2 rc before
    xdotool windowminimize "$window"
    e2e_wait_for e2e_in_wm_state "$window" Iconic \
        || fail "the first window did not minimise (state $(e2e_wm_state "$window"))"
    before=$(stamp)
    HOME="$other" XDG_CONFIG_HOME="$other/.config" XDG_DATA_HOME="$other/.local/share" \
        XDG_CACHE_HOME="$other/.cache" timeout 20 "$binary" >"$E2E_HOME/$kind.log" 2>&1
    rc=$?
    cat "$E2E_HOME/$kind.log"
    [ "$rc" = 0 ] || fail "the start through the $kind link exited with $rc"
    [ -e "$other/mervane.json.lock" ] && fail "the start through the $kind link took a lock of its own"
    [ "$(stamp)" = "$before" ] || fail "the start through the $kind link touched the data file"
    kill -0 "$E2E_APP_PID" 2>/dev/null || fail "the first instance is gone"

    # The first window came forward.
    e2e_wait_for e2e_in_wm_state "$window" Normal \
        || fail "the first window stayed minimised after the $kind link (state $(e2e_wm_state "$window"))"
    windows=$(xdotool search --onlyvisible --name '^Mervane$' 2>/dev/null | wc -l)
    [ "$windows" = 1 ] || fail "$windows Mervane windows after the $kind link, expected one"
}

start_from "$second" symbolic
[ -L "$second/mervane.json" ] || fail "the second home's link was replaced"
e2e_screenshot_painted "$shots/single-instance-linked-forward.png" || fail "no screenshot after the second start"
start_from "$third" hard
[ "$(stat -c %i "$third/mervane.json")" = "$(stat -c %i "$HOME/mervane.json")" ] \
    || fail "the third home's hard link was replaced"

e2e_save_record_through_editor "$window" 4321.5
e2e_popover_gone "$window" || fail "the editor stayed open after saving"

after_save="$E2E_HOME/after-save"
to_after_save="$E2E_HOME/to-after-save"
make_home "$after_save"
make_home "$to_after_save"
ln "$HOME/mervane.json" "$after_save/mervane.json"
ln -s "$after_save/mervane.json" "$to_after_save/mervane.json"
start_from "$after_save" after-save-hard
start_from "$to_after_save" after-save-symbolic
e2e_screenshot_painted "$shots/single-instance-linked-after-save.png" || fail "no screenshot after the save"

e2e_quit "$window"
[ -e "$HOME/mervane.json.lock" ] && fail "the lock file outlived the instance"
echo "PASS"
