#!/usr/bin/env bash
# The print panel and the settings popover in both appearances, first without and then with a
# window manager, for a household of ten years:
#   1. no window manager, light: the dashboard pie's print button opens the print panel, whose
#      labels and Print button read clearly on its background; Escape cancels it. The settings
#      open, Dark is chosen in them while they are open: their captions turn light on a dark
#      panel at once, the disabled password section's and its fields' outlines at 3:1. The print
#      panel is readable in dark too.
#   2. with openbox, after a restart in dark: the print panel reads clearly; the settings switch
#      to Light while open and their captions turn dark on a light panel; the print panel reads
#      clearly in light.
# Screenshots: dialogs-print-{light,dark}[-wm], dialogs-settings-{dark,light}[-wm].
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e_lib.sh"
binary=$1
shots=$2
gear_from_right=39 # the settings button's centre, from the window's right edge, 20 from its top

e2e_setup || exit 1
python3 "$here/household.py" "$HOME/mervane.json" --years 10 --assets 6 --liabilities 3
e2e_write_text_settings mcmain "{{100, 50}, {1200, 800}}" SelectedAppearance 1
cd "$HOME" # the print panel offers print.pdf in the working folder

# readable <screenshot> <x> <y> <w> <h> <what>: fails the test unless the region's text has a
# contrast of 4.5:1 to its background.
readable() {
    python3 "$here/contrast.py" "$1" "$2" "$3" "$4" "$5" || fail "$6 is not readable in $(basename "$1")"
}

# keychain_on_bus: whether the session bus has a secret service or can start one. Only without
# one do the settings give the reason why the password section is disabled, on a line of its own.
keychain_on_bus() {
    local kind
    [ -n "${DBUS_SESSION_BUS_ADDRESS:-}" ] || return 1
    for kind in ListNames ListActivatableNames; do
        dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
            "org.freedesktop.DBus.$kind" 2>/dev/null | grep -q '"org.freedesktop.secrets"' && return 0
    done
    return 1
}

# print_panel_readable <name>: opens the print panel from the dashboard pie's print button,
# keeps a screenshot, checks a label and the Print button, and cancels the panel with Escape.
print_panel_readable() {
    local panel dx dy shot="$shots/dialogs-print-$1.png"
    xdotool mousemove $((wx + 790)) $((wy + 124)) click 1
    panel=$(e2e_wait_window '^Print$') || fail "the pie's print button showed no print panel ($1)"
    read -r dx dy <<<"$(e2e_client_origin "$panel")"
    sleep 0.6 # painted and placed
    e2e_screenshot "$shot"
    readable "$shot" $((dx + 20)) $((dy + 64)) 72 20 "the print panel's Location label"
    readable "$shot" $((dx + 218)) $((dy + 151)) 24 17 "the print panel's Print button"
    xdotool windowfocus --sync "$panel" key Escape
    for _ in $(e2e_polls 5); do
        xdotool search --onlyvisible --name '^Print$' >/dev/null 2>&1 || break
        sleep 0.1
    done
    xdotool search --onlyvisible --name '^Print$' >/dev/null 2>&1 && fail "Escape left the print panel open ($1)"
    kill -0 "$E2E_APP_PID" 2>/dev/null || fail "the program ended after the print panel ($1)"
}

# settings_switch <segment x> <name>: opens the settings, clicks an appearance segment while
# they are open, keeps a screenshot and checks the "Appearance:" caption, then closes them.
settings_switch() {
    local pop="" px py
    for _ in 1 2 3 4 5; do
        xdotool mousemove $((wx + ww - gear_from_right)) $((wy + 20)) click 1
        pop=$(e2e_popover_window "$window") && break
    done
    [ -n "$pop" ] || fail "the settings did not open ($2)"
    sleep 0.5 # the popover's fade
    read -r px py <<<"$(e2e_client_origin "$pop")"
    xdotool mousemove $((px + $1)) $((py + 40)) click 1
    sleep 0.6
    local shot="$shots/dialogs-settings-$2.png"
    e2e_screenshot "$shot"
    readable "$shot" $((px + 26)) $((py + 32)) 84 18 "the settings' Appearance caption"
    readable "$shot" $((px + 26)) $((py + 92)) 160 18 "the settings' annual years caption"
    # In dark the fields' outlines, a column of the region at each field's left edge, stand at
    # 3:1 on the field and the panel.
    local top
    if [ "${2#dark}" != "$2" ]; then
        for top in 192 222 252; do
            python3 "$here/contrast.py" "$shot" $((px + 243)) $((py + top)) 6 12 3 \
                || fail "the settings' password field outline at $top is not visible in $(basename "$shot")"
        done
    fi
    # The password section is disabled until a password is set (or for want of a keychain):
    # its captions, checkbox and Save stay readable, and the reason shown is read like any text.
    local region
    for region in "26 190 70 18 Password" "26 220 110 18 Repeat-password" "26 250 90 18 Password-hint" \
        "262 161 225 18 Lock-checkbox" "432 281 42 14 Save"; do
        set -- $region
        python3 "$here/contrast.py" "$shot" $((px + $1)) $((py + $2)) "$3" "$4" 3 \
            || fail "the settings' disabled $5 is not readable in $(basename "$shot")"
    done
    if ! keychain_on_bus; then
        readable "$shot" $((px + 26)) $((py + 306)) 430 17 "the settings' keychain reason"
    fi
    xdotool key Escape
    e2e_popover_gone "$window" || fail "the settings stayed open ($2)"
}

# 1. Without a window manager.
e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || exit 1
read -r wx wy ww wh <<<"$(e2e_window_geometry "$window")"
e2e_screenshot_painted "$shots/dialogs-start.png" || fail "no screenshot"
print_panel_readable light
settings_switch 412 dark
print_panel_readable dark
e2e_quit "$window"
[ "$(e2e_setting_text SelectedAppearance)" = 2 ] || fail "Dark was not kept"

# 2. With a window manager, starting dark.
e2e_start_wm
e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || exit 1
read -r wx wy ww wh <<<"$(e2e_window_geometry "$window")"
sleep 1
print_panel_readable dark-wm
settings_switch 350 light-wm
print_panel_readable light-wm
e2e_quit "$window"
echo "PASS"
