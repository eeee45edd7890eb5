#!/usr/bin/env bash
# The settings popover and the app lock, as a user meets them:
#   1. settings from the title bar, the currency picker from it, the dark appearance chosen;
#      after a restart the window is dark;
#   2. with a keychain (a keyring daemon on a private session bus): a password set in the
#      settings locks the next start; a wrong password shows the hint from the second try;
#      the right one opens the dashboard.
# Screenshots: settings-light, currency-picker, settings-dark, restart-dark, lock, lock-hint,
# unlocked.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e_lib.sh"
binary=$1
shots=$2
gear_from_right=39 # the settings button's centre, from the window's right edge, 20 from its top

e2e_setup || exit 1
cat >"$HOME/mervane.json" <<'JSON'
{"version": "1.0", "base_currency": "USD", "tags": [],
 "a_cat": [{"ID": "CASH", "name": "Cash", "desc": "", "is_foreign": false, "currency": "USD",
            "tags": [], "is_depreciable": false, "sort_order": 0, "is_hidden": false}],
 "l_cat": [],
 "nw_logs": [{"year": 2026, "month": 11, "day": 46690, "note": "", "nw": 1200.0, "assets": 1200.0,
              "liabilities": 0.0, "a_logs": [{"cat": "CASH", "value": 1200.0}], "l_logs": []}]}
JSON
e2e_write_text_settings mcmain "{{100, 50}, {1200, 800}}"

# open_settings <main window>: clicks the settings button; prints the popover's id and geometry.
open_settings() {
    local wx wy ww wh pop=""
    read -r wx wy ww wh <<<"$(e2e_window_geometry "$1")"
    # The title bar gets its buttons once the start-up has asked the keychain; a click before
    # that finds none, and is made again.
    for _ in 1 2 3 4 5; do
        xdotool mousemove $((wx + ww - gear_from_right)) $((wy + 20)) click 1
        pop=$(e2e_popover_window "$1") && break
    done
    [ -n "$pop" ] || return 1
    sleep 0.5 # the popover's fade
    # A busy machine may still be placing it: its place must hold still before it is clicked.
    local now last=""
    for _ in $(e2e_polls 5); do
        now=$(e2e_window_geometry "$pop")
        [ "$now" = "$last" ] && break
        last=$now
        sleep 0.2
    done
    echo "$pop $now"
}

# click_in <x> <y> <dx> <dy>: a click at an offset inside a window placed at x, y.
click_in() {
    xdotool mousemove $(($1 + $3)) $(($2 + $4)) click 1
    sleep 0.3
}

# luminance <file> <x> <y>: the brightness (0-255) of one screen pixel.
luminance() {
    convert "$1" -crop "1x1+$2+$3" -colorspace Gray -format '%[fx:int(255*u)]' info:
}

# 1. Settings, picker, dark.
e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || exit 1
read -r pop px py pw ph <<<"$(open_settings "$window")" || fail "the settings did not open"
e2e_screenshot "$shots/settings-light.png"
click_in "$px" "$py" 426 395 # Change...
picker=""
for id in $(xdotool search --onlyvisible --pid "$E2E_APP_PID"); do
    [ "$id" != "$window" ] && [ "$id" != "$pop" ] && picker=$id
done
[ -n "$picker" ] || fail "the currency picker did not open"
sleep 0.5
e2e_screenshot "$shots/currency-picker.png"
xdotool key Escape
sleep 0.5
click_in "$px" "$py" 412 40 # Dark
e2e_screenshot "$shots/settings-dark.png"
xdotool key Escape
e2e_popover_gone "$window" || fail "the settings stayed open"
e2e_quit "$window"

e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || exit 1
sleep 1
e2e_screenshot "$shots/restart-dark.png"
read -r wx wy ww wh <<<"$(e2e_window_geometry "$window")"
bright=$(luminance "$shots/restart-dark.png" $((wx + ww - 200)) $((wy + 400)))
[ "$bright" -lt 90 ] || fail "the restarted window is not dark (content brightness $bright)"
e2e_quit "$window"

# 2. The lock, with a keychain on a private session bus.
eval "$(dbus-launch --sh-syntax)"
E2E_BUS_PID=$DBUS_SESSION_BUS_PID
trap 'kill $E2E_BUS_PID $E2E_KEYRING_PID 2>/dev/null; e2e_teardown' EXIT
printf 'e2e' | gnome-keyring-daemon --unlock --foreground --components=secrets >"$HOME/keyring.log" 2>&1 &
E2E_KEYRING_PID=$!
for _ in $(e2e_polls 5); do
    dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
        string:org.freedesktop.secrets 2>/dev/null | grep -q "boolean true" && break
    sleep 0.1
done

e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || exit 1
read -r pop px py pw ph <<<"$(open_settings "$window")" || fail "the settings did not open with a keychain"
click_in "$px" "$py" 253 170 # Lock the application with a password
click_in "$px" "$py" 370 198
xdotool type --delay 20 's3cret'
click_in "$px" "$py" 370 228
xdotool type --delay 20 's3cret'
click_in "$px" "$py" 370 258
xdotool type --delay 20 'pet'
click_in "$px" "$py" 453 288 # Save
# The keychain answers in its own time; the flag is written once the password is stored.
lock_set() { [ "$(e2e_setting_text AppLockIsSet)" = true ]; }
e2e_wait_for lock_set || fail "the password was not stored"
e2e_screenshot "$shots/settings-password.png"
xdotool key Escape
e2e_popover_gone "$window" || fail "the settings stayed open after saving the password"
e2e_quit "$window"

# locked <screenshot> <window x> <window y> <width> <height>: whether the lock panel (light in
# both appearances) sits in the middle of the window instead of the dark dashboard.
locked() {
    [ "$(luminance "$1" $(($2 + $4 / 2)) $(($3 + $5 / 2 - 60)))" -gt 170 ]
}

# shows_lock <screenshot>: waits (ten seconds at most) until the lock panel has come in.
shows_lock() {
    e2e_screenshot "$1" && locked "$1" "$wx" "$wy" "$ww" "$wh"
}

e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || exit 1
read -r wx wy ww wh <<<"$(e2e_window_geometry "$window")"
e2e_wait_for shows_lock "$shots/lock.png" || fail "the start was not locked"
# Until the keychain has handed the password over, a line under the field says it is awaited.
password_ready() {
    local shot="$HOME/waiting.png" colours
    e2e_screenshot "$shot" || return 1
    colours=$(convert "$shot" -crop "300x36+$((wx + ww / 2 - 150))+$((wy + wh / 2 + 62))" +repage -format '%k' info:)
    [ "$colours" -le 10 ]
}
e2e_wait_for password_ready || fail "the keychain never handed the password over"
# The field keeps a wrong try; each try replaces it.
for wrong in wrong1 wrong2; do
    xdotool key ctrl+a BackSpace
    xdotool type --delay 20 "$wrong"
    xdotool key Return
    sleep 1
done
e2e_screenshot "$shots/lock-hint.png"
xdotool key ctrl+a BackSpace
xdotool type --delay 20 's3cret'
xdotool key Return
opened() { ! shows_lock "$shots/unlocked.png"; }
e2e_wait_for opened || fail "the right password did not open the dashboard"
e2e_quit "$window"
echo "PASS"
