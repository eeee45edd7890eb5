#!/usr/bin/env bash
# The history charts from the sidebar, with two years of months whose net worth rises: a click
# on the newest point opens its value popup, whose info button opens that month's record, and
# a value saved there lands in that month; the settings popover turns the area fill off, shows
# stacked bars and switches to assets and liabilities, which a restart keeps; printing goes
# through the print panel to a landscape PDF; the annual chart shows its bars. The titles and
# labels read at 4.5:1. Screenshots of the area, line, bar, assets and annual views, light and dark.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e_lib.sh"
binary=$1
shots=$2
sidebar=72
arrow=12 # the popover window's margin for its arrow, on every side
net_worth="#47A8FC"
assets="#59BF33"

e2e_setup || exit 1
# Two years of months, January 2024 to December 2025: Cash rises by 1,000 a month, Loan stays.
python3 - "$HOME/mervane.json" <<'PY'
import json, sys
logs = []
for i in range(24):
    year, month = 2024 + i // 12, i % 12 + 1
    cash, loan = 10000.0 + 1000 * i, 2000.0
    logs.append({"year": year, "month": month, "TS": 45000 + 30 * i, "note": "",
                 "assets": cash, "liabilities": loan, "nw": cash - loan,
                 "a_logs": [{"cat": "CASH", "year": year, "month": month, "value": cash}],
                 "l_logs": [{"cat": "LOAN", "year": year, "month": month, "value": loan}]})
logs.reverse()
category = lambda ID, name: {"ID": ID, "name": name, "desc": "", "is_foreign": False, "currency": "USD",
                             "tags": [], "is_depreciable": False, "sort_order": 0, "is_hidden": False}
json.dump({"version": "1.0", "base_currency": "USD", "tags": [], "nw_logs": logs,
           "a_cat": [category("CASH", "Cash")], "l_cat": [category("LOAN", "Loan")]},
          open(sys.argv[1], "w"))
PY

# december_2025: "<records> <Cash of December 2025>"
december_2025() {
    python3 - "$HOME/mervane.json" <<'PY'
import json, sys
logs = json.load(open(sys.argv[1]))["nw_logs"]
dec = [l for l in logs if l["year"] == 2025 and l["month"] == 12]
cash = [a["value"] for a in dec[0]["a_logs"] if a["cat"] == "CASH"] if dec else ["-"]
print(len(logs), cash[0])
PY
}

# colour_box <screenshot> <colour>: "<width> <height> <x> <y>" of the screen area holding that
# colour in the chart (right of the sidebar, below the chart's buttons), or nothing.
colour_box() {
    e2e_colour_box "$1" "$2" $((wx + sidebar)) $((wy + 100)) $((ww - sidebar)) $((wh - 120)) 10
}
shows_colour() { [ -n "$(colour_box "$1" "$2")" ]; }
# readable <screenshot> <x> <y> <w> <h> <what>: the text in that part of the window reads at 4.5:1.
readable() {
    python3 "$here/contrast.py" "$1" $((wx + $2)) $((wy + $3)) "$4" "$5" || fail "$6 is hard to read in $(basename "$1")"
}
# line_readable / annual_readable <screenshot>: the title, the year and the amount labels.
line_readable() {
    readable "$1" 560 83 140 18 "the title" && readable "$1" 90 775 1060 13 "the year labels" \
        && readable "$1" 100 200 45 400 "the amounts"
}
annual_readable() { readable "$1" 160 754 900 13 "the year labels" && readable "$1" 96 100 60 600 "the amounts"; }
# window_besides <window ids...>: waits for a visible window of the application that is none of
# these and prints it.
window_besides() {
    local id
    for _ in $(e2e_polls 5); do
        for id in $(xdotool search --onlyvisible --pid "$E2E_APP_PID" 2>/dev/null); do
            [[ " $* " == *" $id "* ]] || { echo "$id"; return 0; }
        done
        sleep 0.1
    done
    return 1
}
# menu_click <x> <y>: a click at that place of the chart's settings popover.
menu_click() { xdotool mousemove $((mx + $1)) $((my + $2)) click 1; }
screenshot_settled() { sleep 0.6; e2e_screenshot "$1"; }
# screenshot_showing <file> <colour>: screenshots until the chart shows the colour (the plots
# fade in), for at most ten seconds.
shot_shows() { e2e_screenshot "$1" && shows_colour "$1" "$2"; }
screenshot_showing() { e2e_wait_for shot_shows "$1" "$2"; }

e2e_write_text_settings mcmain "{{100, 50}, {1200, 800}}" SelectedAppearance 1
cd "$HOME" # the print panel offers a file named after the chart in the working folder
e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || exit 1
read -r wx wy ww wh <<<"$(e2e_window_geometry "$window")"
e2e_screenshot_painted "$shots/history-start.png" || fail "no screenshot"

e2e_sidebar_button "$window" 3
screenshot_showing "$shots/history-area-light.png" "$net_worth"
sleep 1.5 # the plots fade in
e2e_screenshot "$shots/history-area-light.png"
line_readable "$shots/history-area-light.png"
read -r lw lh lx ly <<<"$(colour_box "$shots/history-area-light.png" "$net_worth")"
[ -n "${ly:-}" ] || fail "the line chart shows no net-worth line"
echo "net-worth line from $lx,$((ly + lh)) to $((lx + lw)),$ly"

# The newest point is the top-right end of the rising line.
xdotool mousemove $((lx + lw - 6)) $((ly + 6)) click 1
popup=$(e2e_popover_window "$window") || fail "a click on the newest point opened no value popup"
sleep 0.4
e2e_screenshot "$shots/history-popup-light.png"
read -r px py _ _ <<<"$(e2e_window_geometry "$popup")"
# The info button: 205 points from the popup's left, 11 from its top, 14 wide.
xdotool mousemove $((px + arrow + 212)) $((py + arrow + 18)) click 1
editor=$(window_besides "$window" "$popup") || fail "the info button opened no record editor"
sleep 0.5
e2e_screenshot "$shots/history-editor-light.png"
# The editor starts on the first asset's value: typing replaces it. Save is its bottom-right button.
xdotool type --delay 30 "77777"
xdotool key Tab
read -r ex ey ew eh <<<"$(e2e_window_geometry "$editor")"
xdotool mousemove $((ex + ew - arrow - 16 - 40)) $((ey + eh - arrow - 14 - 12)) click 1
saved() { [ "$(december_2025)" = "24 77777.0" ] || [ "$(december_2025)" = "24 77777" ]; }
e2e_wait_for saved || fail "the record of December 2025 did not get the value: $(december_2025)"
e2e_popover_gone "$window" || fail "the editor stayed open after saving"
echo "the point's info button opened December 2025 and saved it"

# The settings popover, hanging from the chart's menu button at the top right.
xdotool mousemove $((wx + ww - 25)) $((wy + 62)) click 1
menu=$(e2e_popover_window "$window") || fail "the settings button opened no popover"
read -r mx my _ _ <<<"$(e2e_window_geometry "$menu")"
menu_click 160 410 # Area fill
screenshot_settled "$shots/history-line-light.png"
menu_click 728 266 # Stacked bars
screenshot_settled "$shots/history-bars-light.png"
[ "$(e2e_setting_text nwStackedChart)" = "true" ] || fail "Stacked bars was not saved"
menu_click 321 39 # the Assets & Liabilities tab
screenshot_showing "$shots/history-assets-light.png" "$assets" || fail "the assets line did not appear"
[ "$(e2e_setting_text LnChartType)" = 1 ] || fail "the chart type was not saved: $(e2e_setting_text LnChartType)"
xdotool key Escape
e2e_popover_gone "$window" || fail "Escape left the settings popover open"

# Print: the print panel's default on a machine without printers writes a PDF named after the
# chart's title ("/" cannot be in a file name).
chart_pdf="$HOME/Assets-Liabilities History.pdf"
rm -f "$chart_pdf"
xdotool mousemove $((wx + ww - 117)) $((wy + 62)) click 1
panel=$(e2e_wait_window '^Print') || fail "the print button showed no print panel"
xdotool windowfocus --sync "$panel" key Return
printed() { [ -s "$chart_pdf" ] && pdfinfo "$chart_pdf" >/dev/null 2>&1; }
e2e_wait_for printed || fail "nothing was printed to $chart_pdf"
read -r pw ph <<<"$(pdfinfo "$chart_pdf" | awk '/^Page size:/ { print int($3), int($5) }')"
[ "$pw" -gt "$ph" ] || fail "the chart was printed on a ${pw}x$ph page, not in landscape"
echo "printed on a ${pw}x$ph page"

e2e_sidebar_button "$window" 5
screenshot_settled "$shots/history-annual-light.png"
annual_readable "$shots/history-annual-light.png"
e2e_quit "$window"

# Dark, after a restart: the chart still shows assets and liabilities.
e2e_update_text_setting SelectedAppearance 2
e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || exit 1
e2e_screenshot_painted "$shots/history-start-dark.png" || fail "no dark screenshot"
e2e_sidebar_button "$window" 3
screenshot_showing "$shots/history-assets-dark.png" "$assets" || fail "after a restart the chart type was lost"
line_readable "$shots/history-assets-dark.png"
e2e_sidebar_button "$window" 5
screenshot_settled "$shots/history-annual-dark.png"
annual_readable "$shots/history-annual-dark.png"
e2e_quit "$window"
echo "PASS"
