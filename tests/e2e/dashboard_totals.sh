#!/usr/bin/env bash
# The dashboard with ten years of monthly records: the record list, the totals line, the pie and
# the year-end bars are drawn; the welcome panel appears on the first start, its check box turns
# it off, and after a restart it stays away; Escape closes it, without and with a window manager;
# a household in debt gets its bars, years and amounts.
# Screenshots light and dark.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e_lib.sh"
binary=$1
shots=$2
sidebar=72
list=340
totals_height=290

e2e_setup || exit 1
# January 2016 to December 2025: four assets that grow, two liabilities that shrink.
python3 - "$HOME/mervane.json" <<'PY'
import json, sys
assets = [("CASH", "Cash"), ("HOUSE", "House"), ("FUND", "Index fund"), ("CAR", "Car")]
liabilities = [("MORTGAGE", "Mortgage"), ("CARD", "Credit card")]
logs = []
for i in range(120):
    year, month = 2016 + i // 12, i % 12 + 1
    a = {"CASH": 5000 + 50 * i, "HOUSE": 200000 + 500 * i, "FUND": 10000 + 400 * i, "CAR": 15000 - 80 * i}
    l = {"MORTGAGE": 150000 - 900 * i, "CARD": 1500}
    logs.append({"year": year, "month": month, "TS": 42000 + 30 * i, "note": "",
                 "assets": float(sum(a.values())), "liabilities": float(sum(l.values())),
                 "nw": float(sum(a.values()) - sum(l.values())),
                 "a_logs": [{"cat": k, "year": year, "month": month, "value": float(v)} for k, v in a.items()],
                 "l_logs": [{"cat": k, "year": year, "month": month, "value": float(v)} for k, v in l.items()]})
logs.reverse()
category = lambda ID, name: {"ID": ID, "name": name, "desc": "", "is_foreign": False, "currency": "USD",
                             "tags": [], "is_depreciable": False, "sort_order": 0, "is_hidden": False}
json.dump({"version": "1.0", "base_currency": "USD", "tags": [], "nw_logs": logs,
           "a_cat": [category(*c) for c in assets], "l_cat": [category(*c) for c in liabilities]},
          open(sys.argv[1], "w"))
PY

# colour_box <screenshot> <colour> <x> <y> <width> <height>: "<width> <height>" of the part of that
# screen area that holds the colour, or nothing.
colour_box() {
    e2e_colour_box "$@" | awk '$1 > 2 { print $1, $2 }'
}
# pane_shows <screenshot> <colour> <what>: the colour is somewhere in the part of the totals pane.
pane_shows() {
    local x y w h
    case "$3" in
        line) x=$((wx + sidebar + list)); y=$((wy + 40)); w=$((ww - sidebar - list)); h=40 ;;
        pie) x=$((wx + sidebar + list)); y=$((wy + 80)); w=$(((ww - sidebar - list) / 2)); h=$((totals_height - 50)) ;;
        bars) x=$((wx + sidebar + list + (ww - sidebar - list) / 2)); y=$((wy + 80)); w=$(((ww - sidebar - list) / 2))
              h=$((totals_height - 50)) ;;
        list) x=$((wx + sidebar)); y=$((wy + 40)); w=$list; h=$((wh - 40)) ;;
    esac
    [ -n "$(colour_box "$1" "$2" "$x" "$y" "$w" "$h")" ]
}
# pane_box <screenshot> <colour>: "<width> <height> <x> <y>" of that colour on the totals line.
pane_box() {
    e2e_colour_box "$1" "$2" $((wx + sidebar + list)) $((wy + 40)) $((ww - sidebar - list)) 40
}
# The totals line's net worth, assets and liabilities: the dark appearance's pale colours, darker in light.
light_amounts=("#00648F" "#4A6524" "#BD0800")
dark_amounts=("#54CCFF" "#89BB43" "#FF8A85")
# dashboard_drawn <screenshot> <net worth> <assets> <liabilities>: the totals line has its three
# amounts in these colours, the pie and the bars theirs.
dashboard_drawn() {
    e2e_screenshot "$1" || return 1
    pane_shows "$1" "$2" line && pane_shows "$1" "$3" line && pane_shows "$1" "$4" line \
        && pane_shows "$1" "#6FCA47" pie && pane_shows "$1" "#FB4878" pie && pane_shows "$1" "#94DAF5" bars
}
# totals_readable <screenshot> <amount colours...>: the "Net worth:" caption (from where the line
# starts to its amount) and each amount read at 4.5:1 (the line shrinks below large text), and
# so do the year labels under the bars and the amounts beside them.
totals_readable() {
    local shot=$1 colour w h x y line_x first=1 n=1
    shift
    line_x=$(convert "$shot" -crop "$((ww - sidebar - list))x40+$((wx + sidebar + list))+$((wy + 40))" +repage \
        -fill black +opaque "$(convert "$shot" -crop 1x1+$((wx + sidebar + list + 4))+$((wy + 44)) -format '#%[hex:p]' info:)" \
        -trim -format '%O' info: | sed 's/^+\([0-9]*\).*/\1/')
    for colour in "$@"; do
        read -r w h x y <<<"$(pane_box "$shot" "$colour")"
        [ -n "${y:-}" ] || fail "no amount in $colour on the totals line of $(basename "$shot")"
        [ $first = 1 ] && { python3 "$here/contrast.py" "$shot" $((wx + sidebar + list + line_x)) $((y - 2)) \
            $((x - wx - sidebar - list - line_x - 4)) $((h + 4)) || fail "the caption is hard to read"; first=0; }
        python3 "$here/contrast.py" "$shot" $((x - 2)) $((y - 2)) $((w + 4)) $((h + 4)) \
            || fail "amount $n of the totals line is hard to read"
        n=$((n + 1))
    done
    local bars_x=$((wx + sidebar + list + (ww - sidebar - list) / 2))
    python3 "$here/contrast.py" "$shot" $((bars_x + 60)) $((wy + totals_height - 3)) $(((ww - sidebar - list) / 2 - 80)) 12 \
        || fail "the year labels under the bars are hard to read"
    python3 "$here/contrast.py" "$shot" "$bars_x" $((wy + 100)) 56 $((totals_height - 100)) \
        || fail "the amounts beside the bars are hard to read"
}
only_main_window() { [ "$(xdotool search --onlyvisible --pid "$E2E_APP_PID" 2>/dev/null | wc -l)" -eq 1 ]; }

# First start: no "ShowStartForm" at all.
E2E_WELCOME_PANEL=1 e2e_write_text_settings mcmain "{{100, 50}, {1200, 800}}" SelectedAppearance 1
e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || exit 1
read -r wx wy ww wh <<<"$(e2e_window_geometry "$window")"
welcome=$(e2e_popover_window "$window") || fail "the welcome panel did not appear on the first start"
sleep 0.5 # it fades in
e2e_screenshot "$shots/dashboard-welcome-light.png"
read -r px py pw ph <<<"$(e2e_window_geometry "$welcome")"
echo "welcome panel at $px,$py ${pw}x$ph"
# The check box sits at the panel's bottom left, the close control at its top right.
xdotool mousemove $((px + 30)) $((py + ph - 26)) click 1
start_form_off() { [ "$(e2e_setting_text ShowStartForm)" = "false" ]; }
e2e_wait_for start_form_off || fail "the check box did not store ShowStartForm off: '$(e2e_setting_text ShowStartForm)'"
xdotool mousemove $((px + pw - 34)) $((py + 28)) click 1
e2e_popover_gone "$window" || fail "the close control left the welcome panel open"

e2e_wait_for dashboard_drawn "$shots/dashboard-light.png" "${light_amounts[@]}" \
    || fail "the dashboard does not show the totals line, the pie and the bars"
# The record list shows its rows (their red month badges).
pane_shows "$shots/dashboard-light.png" "#E74C3C" list || fail "the record list shows no rows"
totals_readable "$shots/dashboard-light.png" "${light_amounts[@]}"
e2e_quit "$window"

# The next start: the panel stays away; dark appearance.
e2e_update_text_setting SelectedAppearance 2
e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || exit 1
e2e_screenshot_painted "$shots/dashboard-dark.png" || fail "no dark screenshot"
sleep 1.5 # the panel would have shown by now
only_main_window || fail "the welcome panel came back after 'show at start' was turned off"
e2e_screenshot "$shots/dashboard-dark.png"
read -r wx wy ww wh <<<"$(e2e_window_geometry "$window")"
pane_shows "$shots/dashboard-dark.png" "#54CCFF" line || fail "the dark dashboard shows no totals line"
totals_readable "$shots/dashboard-dark.png" "${dark_amounts[@]}"
e2e_quit "$window"

# A household in debt at every year-end (the smallest loss in 2023): the year-end bars hang from
# a zero line in view, each with its year under the lowest bar, and amounts stand left of them.
python3 - "$HOME/mervane.json" <<'PY'
import json, sys
data = json.load(open(sys.argv[1]))
ends = {2022: -520000.0, 2023: -342361.0, 2024: -910000.0, 2025: -1475000.0}
for log in data["nw_logs"]:
    if log["year"] in ends:
        extra = ends[log["year"]] + (12 - log["month"]) * 1000.0 - log["nw"]
        log["l_logs"][0]["value"] -= extra
        log["liabilities"] -= extra
        log["nw"] += extra
json.dump(data, open(sys.argv[1], "w"))
PY
e2e_update_text_setting SelectedAppearance 1
e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || exit 1
read -r wx wy ww wh <<<"$(e2e_window_geometry "$window")"
e2e_wait_for dashboard_drawn "$shots/dashboard-debt-light.png" "${light_amounts[@]}" || fail "the dashboard in debt does not draw"
bars_x=$((wx + sidebar + list + (ww - sidebar - list) / 2))
read -r bw bh bx by <<<"$(e2e_colour_box "$shots/dashboard-debt-light.png" "#94DAF5" "$bars_x" $((wy + 80)) \
    $(((ww - sidebar - list) / 2)) $((totals_height - 50)))"
[ -n "${by:-}" ] || fail "the year-end bars in debt are not drawn"
echo "bars in debt at $bx,$by ${bw}x$bh"
# darkest <x> <y> <w> <h>: the darkest grey (0 black .. 100 white) in that part of the screenshot.
darkest() {
    convert "$shots/dashboard-debt-light.png" -crop "$3x$4+$1+$2" +repage -colorspace gray \
        -format '%[fx:int(100 * minima)]' info:
}
# The year labels stand under the lowest bar; the amounts left of the first one.
[ "$(darkest "$bx" $((by + bh + 2)) "$bw" 50)" -lt 70 ] || fail "no year labels under the bars in debt"
[ "$(darkest "$bars_x" "$by" $((bx - bars_x - 4)) "$bh")" -lt 70 ] || fail "no amounts beside the bars in debt"
e2e_quit "$window"

e2e_update_text_setting SelectedAppearance 2
# A first start again (dark): Escape closes the panel, without and then with a window manager.
for wm in none openbox; do
    [ $wm = openbox ] && e2e_start_wm
    e2e_remove_setting ShowStartForm
    e2e_start "$binary"
    window=$(e2e_wait_window '^Mervane$') || exit 1
    e2e_popover_window "$window" >/dev/null || fail "the welcome panel did not appear ($wm)"
    sleep 0.5 # it fades in
    e2e_screenshot "$shots/dashboard-welcome-dark-$wm.png"
    xdotool key Escape
    e2e_popover_gone "$window" || fail "Escape left the welcome panel open ($wm)"
    [ -z "$(e2e_setting_text ShowStartForm)" ] || fail "Escape answered the check box ($wm)"
    e2e_quit "$window"
done
echo "PASS"
