#!/usr/bin/env bash
# What a user can do without ending the program:
#   1. a double click on "Hide zero values" in a category's value history (each click builds
#      the chart anew while the last one's values still move into place);
#   2. a settings file whose "MaxExchangeRateDecimals" is 2147483647 or -2147483648, read
#      when the exchange-rate viewer and the settings popover open.
# The program must keep running through each.
# Screenshots: values-history, rates-huge-decimals, settings-negative-decimals.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e_lib.sh"
binary=$1
shots=$2
sidebar=72         # the sidebar's width
list_top=76        # the category lists' first row, below the window's top edge
row_height=52      # a row of the category lists
arrow=12           # the popover window's margin for its arrow, on every side
gear_from_right=39 # the settings button's centre, from the window's right edge, 20 from its top

e2e_setup || exit 1
cat >"$HOME/mervane.json" <<'JSON'
{"version": "1.0", "base_currency": "USD", "tags": [],
 "a_cat": [{"ID": "CASH", "name": "Cash", "desc": "", "is_foreign": false, "currency": "USD",
            "tags": [], "is_depreciable": false, "sort_order": 0, "is_hidden": false}],
 "l_cat": [],
 "nw_logs": [
  {"year": 2026, "month": 9, "day": 46630, "note": "", "nw": 900.0, "assets": 900.0,
   "liabilities": 0.0, "a_logs": [{"cat": "CASH", "year": 2026, "month": 9, "value": 900.0}], "l_logs": []},
  {"year": 2026, "month": 10, "day": 46660, "note": "", "nw": 0.0, "assets": 0.0,
   "liabilities": 0.0, "a_logs": [{"cat": "CASH", "year": 2026, "month": 10, "value": 0.0}], "l_logs": []},
  {"year": 2026, "month": 11, "day": 46690, "note": "", "nw": 1200.0, "assets": 1200.0,
   "liabilities": 0.0, "a_logs": [{"cat": "CASH", "year": 2026, "month": 11, "value": 1200.0}], "l_logs": []}]}
JSON

# set_number <key> <integer>: stores the key as a CBOR integer (the settings tool writes texts).
set_number() {
    python3 - "$(e2e_settings_file)" "$1" "$2" <<'PY'
import sys
path, key, number = sys.argv[1], sys.argv[2], int(sys.argv[3])
def head(major, n):
    for info, size in ((24, 1), (25, 2), (26, 4), (27, 8)):
        if n < 24:
            return bytes([major << 5 | n])
        if n < 1 << (8 * size):
            return bytes([major << 5 | info]) + n.to_bytes(size, "big")
data = open(path, "rb").read()
# The file is a map of up to 23 entries (one head byte): add the pair and count it.
assert data and data[0] >> 5 == 5 and (data[0] & 31) < 23, "unexpected settings file"
name = key.encode()
value = head(0, number) if number >= 0 else head(1, -1 - number)
open(path, "wb").write(bytes([data[0] + 1]) + data[1:] + head(3, len(name)) + name + value)
PY
}

alive() {
    kill -0 "$E2E_APP_PID" 2>/dev/null || { cat "$E2E_HOME/app.log" >&2; fail "the program ended: $*"; }
}

e2e_write_text_settings mcmain "{{100, 50}, {1200, 800}}"
set_number MaxExchangeRateDecimals 2147483647
e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || exit 1
e2e_screenshot_painted "$shots/survive-start.png" || fail "no screenshot"
read -r wx wy ww wh <<<"$(e2e_window_geometry "$window")"

# 1. The value history of Cash, from its row's menu; the switch double-clicked 0.3 s after it
#    opened (while the chart still rises into place) and after 6 s.
e2e_sidebar_button "$window" 1
sleep 0.5
for wait in 0.3 6; do
    xdotool mousemove $((wx + sidebar + 200)) $((wy + list_top + row_height / 2)) click 3
    e2e_wait_for e2e_menu_open || fail "the row's menu did not open"
    xdotool key Down Return
    # Until the menu has gone, it would pass for the value history.
    e2e_wait_for e2e_menu_closed || fail "the row's menu stayed open"
    history=$(e2e_popover_window "$window") || fail "Show values opened no value history"
    read -r hx hy hw hh <<<"$(e2e_window_geometry "$history")"
    sleep "$wait"
    [ "$wait" = 6 ] && e2e_screenshot "$shots/values-history.png"
    e2e_remove_setting hideZeroValueCategoryLogHistory
    # The switch is the second line of the popover's content.
    for try in 1 2; do
        xdotool mousemove $((hx + arrow + 14 + 8)) $((hy + arrow + 12 + 38)) click --repeat 2 --delay 60 1
        sleep 0.3
        alive "after double click $try on Hide zero values, $wait s after opening"
        sleep 0.6
        alive "0.9 s after double click $try on Hide zero values, $wait s after opening"
    done
    [ -n "$(e2e_setting_text hideZeroValueCategoryLogHistory)" ] || fail "the clicks missed the switch"
    xdotool key Escape
    e2e_popover_gone "$window" || fail "the value history stayed open"
done

# 2. The exchange-rate viewer with 2147483647 decimals.
xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers ctrl+e
rates=$(e2e_popover_window "$window") || { alive "opening the exchange rates"; fail "no exchange rates"; }
sleep 0.5
alive "showing the exchange rates"
e2e_screenshot "$shots/rates-huge-decimals.png"
xdotool key Escape
e2e_popover_gone "$window" || fail "the exchange rates stayed open"
e2e_quit "$window"

# 3. The settings popover and the viewer with -2147483648 decimals.
e2e_write_text_settings mcmain "{{100, 50}, {1200, 800}}"
set_number MaxExchangeRateDecimals -2147483648
e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || exit 1
sleep 1
read -r wx wy ww wh <<<"$(e2e_window_geometry "$window")"
settings=""
for _ in 1 2 3 4 5; do
    xdotool mousemove $((wx + ww - gear_from_right)) $((wy + 20)) click 1
    settings=$(e2e_popover_window "$window") && break
    alive "opening the settings"
done
[ -n "$settings" ] || fail "the settings did not open"
sleep 0.5
alive "showing the settings"
e2e_screenshot "$shots/settings-negative-decimals.png"
xdotool key Escape
e2e_popover_gone "$window" || fail "the settings stayed open"
xdotool windowfocus --sync "$window"
xdotool key --clearmodifiers ctrl+e
e2e_popover_window "$window" >/dev/null || { alive "opening the exchange rates"; fail "no exchange rates"; }
sleep 0.5
alive "showing the exchange rates with negative decimals"
xdotool key Escape
e2e_popover_gone "$window" || fail "the exchange rates stayed open"
e2e_quit "$window"
echo "PASS"
