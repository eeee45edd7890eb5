#!/usr/bin/env bash
# A year-end of 1e20 beside a year-end below zero: the CSV that holds them is imported through
# the real panels, and the program stays; then it starts again on the data file it wrote, in
# light without and in dark with a window manager, shows the dashboard, the annual chart, the
# history chart and the comparison screen, and keeps answering: each screen paints, the memory
# stays small and Ctrl+Q quits cleanly. Screenshots: huge-imported, huge-<screen>-<light|dark>.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e_lib.sh"
binary=$1
shots=$2

e2e_setup || exit 1

# An ordinary household to import over: one record.
python3 - "$HOME/mervane.json" <<'PY'
import json, sys
category = {"ID": "A-0", "name": "Cash", "desc": "", "is_foreign": False, "currency": "USD", "tags": [],
            "is_depreciable": False, "sort_order": 0, "is_hidden": False}
log = {"year": 2018, "month": 6, "TS": 43251, "note": "", "assets": 1000.0, "liabilities": 0.0, "nw": 1000.0,
       "a_logs": [{"cat": "A-0", "year": 2018, "month": 6, "value": 1000.0}], "l_logs": []}
json.dump({"version": "1.0", "base_currency": "USD", "tags": [], "nw_logs": [log], "a_cat": [category],
           "l_cat": []}, open(sys.argv[1], "w"))
PY
cat >"$HOME/huge.csv" <<'CSV'
TAGS,ID,Name,Description

Asset Categories,ID,Name,Description,isForeignCurrency,Currency,Tags
,A-1,Bank,,0,USD,

Liability Categories,ID,Name,Description,isForeignCurrency,Currency,Tags
,L-1,Mortgage,,0,USD,

NW Logs,Year,Month,Note,Assets,Liabilities,NW,Category IDs
,,,,,,,A-1,L-1
,2020,3,,100000000000000000000,0,100000000000000000000,100000000000000000000,0
,2019,12,,0,500,-500,0,500
CSV

# year_ends <file>: "<net worth of each record, oldest first>" as the data file holds them.
year_ends() {
    python3 - "$1" <<'PY'
import json, sys
logs = sorted(json.load(open(sys.argv[1])).get("nw_logs", []), key=lambda l: (l["year"], l["month"]))
print(" ".join("%g" % (l["assets"] - l["liabilities"]) for l in logs))
PY
}

# answering <what>: the program runs, its main window is there and it holds less than 600 MB
# (the axis that walked in tiny steps took gigabytes until it aborted).
answering() {
    kill -0 "$E2E_APP_PID" 2>/dev/null || { cat "$E2E_HOME/app.log" >&2; fail "the program ended after $1"; }
    xdotool search --onlyvisible --pid "$E2E_APP_PID" >/dev/null 2>&1 || fail "no window answers after $1"
    local rss
    rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$E2E_APP_PID/status")
    echo "$1: ${rss} kB resident"
    [ "${rss:-0}" -lt 614400 ] || fail "the program holds ${rss} kB after $1"
}

# shown <screenshot> <previous screenshot>: the window painted something new there.
shown() {
    e2e_screenshot "$1" || return 1
    [ -z "$2" ] && return 0
    ! cmp -s <(convert "$1" rgb:-) <(convert "$2" rgb:-)
}

# Light, without a window manager: the CSV is imported through the panel.
e2e_write_text_settings mcmain "{{100, 50}, {1200, 800}}" SelectedAppearance 1
e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || exit 1
sleep 1
panel_title='^Import inventory items from a CSV file'
# The panel's buttons sit 33 points above its window's bottom: Select 60 from its left, Import
# 62 from its right.
e2e_document_item "$window" 5
importer=$(e2e_popover_window "$window") || fail "the import panel did not open"
sleep 0.5
read -r px py pw ph <<<"$(e2e_window_geometry "$importer")"
xdotool mousemove $((px + 60)) $((py + ph - 33)) click 1
e2e_in_file_panel "$panel_title" "$HOME/huge.csv"
sleep 0.5
answering "choosing the CSV file"
read -r px py pw ph <<<"$(e2e_window_geometry "$importer")"
xdotool mousemove $((px + pw - 62)) $((py + ph - 33)) click 1
e2e_wait_for e2e_popover_gone "$window" || fail "Import did not close the panel"
sleep 1
answering "the import"
[ "$(year_ends "$HOME/mervane.json")" = "-500 1e+20" ] \
    || fail "after the import the data file holds the year-ends $(year_ends "$HOME/mervane.json")"
e2e_screenshot "$shots/huge-imported.png"
e2e_quit "$window"

# visit <appearance name>: starts on the data file, shows each screen with a value axis, keeps
# its screenshot and quits.
visit() {
    local name=$1 previous="" screen shot
    e2e_start "$binary"
    window=$(e2e_wait_window '^Mervane$') || exit 1
    e2e_screenshot_painted "$shots/huge-dashboard-$name.png" || fail "the dashboard stayed blank"
    sleep 1
    e2e_screenshot "$shots/huge-dashboard-$name.png"
    answering "the start ($name)"
    previous="$shots/huge-dashboard-$name.png"
    # The sidebar's buttons: 3 the history chart, 5 the annual chart, 6 the comparison.
    for screen in "5 annual" "3 history" "6 compare" "0 dashboard-again"; do
        set -- $screen
        shot="$shots/huge-$2-$name.png"
        e2e_sidebar_button "$window" "$1"
        E2E_WAIT_SECONDS=15 e2e_wait_for shown "$shot" "$previous" || fail "the $2 screen did not paint ($name)"
        sleep 1
        e2e_screenshot "$shot"
        answering "the $2 screen ($name)"
        previous=$shot
    done
    e2e_quit "$window"
}

visit light
e2e_update_text_setting SelectedAppearance 2
e2e_start_wm
visit dark
[ "$(year_ends "$HOME/mervane.json")" = "-500 1e+20" ] || fail "the year-ends changed: $(year_ends "$HOME/mervane.json")"
echo "a year-end of 1e20 beside one below zero: imported, started twice, every chart shown, quit cleanly"
