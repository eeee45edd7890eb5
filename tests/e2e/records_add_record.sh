#!/usr/bin/env bash
# A household enters a month: the record list's add button opens the editor, a value is
# typed into the first asset row, Save writes the record; after a restart the record is in
# the list and in the data file. Screenshots of the list and the editor, light and dark; the
# editor's asset and liability values read at 4.5:1 in both.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e_lib.sh"
binary=$1
shots=$2
sidebar=72 # the sidebar's width; the record list follows it, 340 wide
list_width=340
arrow=12 # the popover window's margin for its arrow, on every side

e2e_setup || exit 1
cat >"$HOME/mervane.json" <<'JSON'
{"version": "1.0", "base_currency": "USD", "tags": [], "nw_logs": [],
 "a_cat": [{"ID": "CASH", "name": "Cash", "desc": "", "is_foreign": false, "currency": "USD",
            "tags": [], "is_depreciable": false, "sort_order": 0, "is_hidden": false}],
 "l_cat": [{"ID": "LOAN", "name": "Loan", "desc": "", "is_foreign": false, "currency": "USD",
            "tags": [], "is_depreciable": false, "sort_order": 0, "is_hidden": false}]}
JSON

# records_in_file: "<count> <first record's Cash value> <its year>-<its month>"
records_in_file() {
    python3 - "$HOME/mervane.json" <<'PY'
import json, sys
logs = json.load(open(sys.argv[1])).get("nw_logs", [])
cash = [l["value"] for l in (logs[0].get("a_logs", []) if logs else []) if l.get("cat") == "CASH"]
print(len(logs), cash[0] if cash else "-", f'{logs[0]["year"]}-{logs[0]["month"]}' if logs else "-")
PY
}


# row_has_text <screenshot> <window x> <window y>: whether the list's first row shows anything
# besides its background.
row_has_text() {
    local colours
    colours=$(convert "$1" -crop "$((list_width - 30))x60+$(($2 + sidebar + 10))+$(($3 + 45))" +repage \
        -format '%k' info:)
    [ "$colours" -gt 8 ]
}

# value_readable <screenshot> <row's middle, below the editor's top> <what>: the value in the
# editor's row (right-aligned in its field) reads at 4.5:1 on the field.
value_readable() {
    python3 "$here/contrast.py" "$1" $((px + 470)) $((py + $2 - 7)) 115 15 || fail "$3 is not readable in $(basename "$1")"
}
asset_row=84     # the Cash row's middle, below the editor's top
liability_row=284 # the Loan row's

e2e_write_text_settings mcmain "{{100, 50}, {1200, 800}}" SelectedAppearance 1
e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || exit 1
e2e_screenshot_painted "$shots/records-empty.png" || fail "no screenshot"
read -r wx wy ww wh <<<"$(e2e_window_geometry "$window")"
row_has_text "$shots/records-empty.png" "$wx" "$wy" && fail "the empty list shows a row"

# The add button sits 118 points from the list's right edge, 9 above the window's bottom.
xdotool mousemove $((wx + sidebar + list_width - 118 + 11)) $((wy + wh - 9 - 11)) click 1
editor=$(e2e_popover_window "$window") || fail "the add button opened no editor"
sleep 0.5
read -r px py pw ph <<<"$(e2e_window_geometry "$editor")"
e2e_screenshot "$shots/records-editor-new-light.png"
value_readable "$shots/records-editor-new-light.png" $liability_row "the liability's value (light)"
# The editor starts on the first asset's value: typing replaces it.
xdotool type --delay 30 "1234.56"
xdotool key Tab
sleep 0.3
e2e_screenshot "$shots/records-editor-light.png"
value_readable "$shots/records-editor-light.png" $asset_row "the asset's value (light)"
# Save is the bottom-right button of the editor.
xdotool mousemove $((px + pw - arrow - 16 - 40)) $((py + ph - arrow - 14 - 12)) click 1
for _ in $(e2e_polls 5); do
    read -r count cash period <<<"$(records_in_file)"
    [ "$count" = 1 ] && break
    sleep 0.1
done
[ "$count" = 1 ] || fail "Save wrote no record (file holds $count)"
[ "$cash" = 1234.56 ] || fail "the record holds Cash $cash, not 1234.56"
[ "$period" = "$(date +%Y)-$(date +%-m)" ] || fail "the new record is for $period, not this month"
e2e_popover_gone "$window" || fail "the editor stayed open after saving"
e2e_screenshot "$shots/records-list-light.png"
row_has_text "$shots/records-list-light.png" "$wx" "$wy" || fail "the saved record is not in the list"
e2e_quit "$window"

# Again, dark: the record is there after the restart, and a double click opens it.
e2e_write_text_settings mcmain "{{100, 50}, {1200, 800}}" SelectedAppearance 2
e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || exit 1
e2e_screenshot_painted "$shots/records-list-dark.png" row_has_text "$wx" "$wy" \
    || fail "after a restart the record is not in the list"
xdotool mousemove $((wx + sidebar + 200)) $((wy + 40 + 36)) click --repeat 2 --delay 80 1
editor=$(e2e_popover_window "$window") || fail "a double click on the record opened no editor"
sleep 0.5
# Into the note: the first value gives up its focus and its selection.
read -r px py pw ph <<<"$(e2e_window_geometry "$editor")"
xdotool mousemove $((px + 300)) $((py + ph - 71)) click 1
sleep 0.3
e2e_screenshot "$shots/records-editor-dark.png"
value_readable "$shots/records-editor-dark.png" $asset_row "the asset's value (dark)"
value_readable "$shots/records-editor-dark.png" $liability_row "the liability's value (dark)"
read -r count cash _ <<<"$(records_in_file)"
[ "$count" = 1 ] && [ "$cash" = 1234.56 ] || fail "the data file changed: $count records, Cash $cash"
e2e_quit "$window"
echo "PASS"
