#!/usr/bin/env bash
# The title bar's print button with a household of three years, in the test build, whose
# MERVANE_TEST_PRINT_PDF sends the print to a file instead of the print panel:
#   1. light, no window manager: the button opens the report choice; every tab shows; Escape
#      leaves it open and a second press of the button closes it; Cancel closes it and prints
#      nothing; Print on the statement tab writes the newest record's statement to the PDF.
#   2. dark, with openbox: the choice reads clearly; the second asset is picked and its assets
#      report is printed.
#   Then, without and with openbox, through the real print panel (the seam off): the statement and
#   the assets report, the dashboard's pie and year-end bars and the annual chart are printed to
#   the files the panel offers, each named after its printout; after a cancelled panel Ctrl+Q,
#   pressed without any click, ends the program.
# Screenshots: print-choice-{statement,assets,liabilities,tags}-light, print-choice-dark-wm.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e_lib.sh"
binary=$1
shots=$2
arrow=12 # the popover window's margin for its arrow, on every side
print_from_right=216 # the print button's centre, from the window's right edge, 20 from its top

e2e_setup || exit 1
# The newest record is of last December: today's month has none, whichever month it is.
year=$(($(date -u +%Y) - 1))
python3 "$here/household.py" "$HOME/mervane.json" --years 3 --assets 6 --liabilities 3 --last-year "$year" \
    || fail "no household"
e2e_write_text_settings mcmain "{{100, 50}, {1200, 800}}" SelectedAppearance 1
export MERVANE_TEST_PRINT_PDF="$HOME/report.pdf"

readable() {
    python3 "$here/contrast.py" "$1" "$2" "$3" "$4" "$5" || fail "$6 is not readable in $(basename "$1")"
}
press_print() {
    local wx wy ww wh
    read -r wx wy <<<"$(e2e_client_origin "$window")"
    read -r _ _ ww wh <<<"$(e2e_window_geometry "$window")"
    xdotool mousemove $((wx + ww - print_from_right)) $((wy + 20)) click 1
}
# open_choice: presses the print button and sets pop, px, py, pw, ph of the choice.
open_choice() {
    press_print
    pop=$(e2e_popover_window "$window") || fail "the print button opened no report choice"
    sleep 0.5 # the popover's fade
    read -r px py <<<"$(e2e_client_origin "$pop")"
    read -r _ _ pw ph <<<"$(e2e_window_geometry "$pop")"
}
# tab <n>: clicks the n-th tab of the centred tab control (each 77 wide).
tab() { xdotool mousemove $((px + pw / 2 + (2 * $1 - 3) * 77 / 2)) $((py + 43)) click 1; }
print_button() { xdotool mousemove $((px + pw - arrow - 46)) $((py + ph - arrow - 26)) click 1; }
cancel_button() { xdotool mousemove $((px + pw - arrow - 146)) $((py + ph - arrow - 26)) click 1; }
printed() { [ -s "$HOME/report.pdf" ] && pdftotext "$HOME/report.pdf" - >/dev/null 2>&1; }
print_panel_gone() { ! xdotool search --all --onlyvisible --pid "$E2E_APP_PID" --name '^Print$' >/dev/null 2>&1; }
pdf_holds() { [ -s "$1" ] && pdftotext "$1" - 2>/dev/null | grep -q "$2"; }
# chart_through_panel <label> <name> <x> <y>: the chart print button there offers "<name>.pdf",
# beside the reports' files; Return prints there.
chart_through_panel() {
    xdotool mousemove "$3" "$4" click 1
    panel=$(e2e_wait_window '^Print$') || fail "no print panel for $2 ($1)"
    sleep 0.5
    xdotool key Return
    e2e_wait_for pdf_is "$HOME/$2.pdf" || fail "$2 was not offered its own file ($1)"
    e2e_wait_for print_panel_gone || fail "the print panel stayed ($1)"
}
pdf_is() { [ -s "$1" ] && pdfinfo "$1" >/dev/null 2>&1; }
# through_the_panel <label>: the real print panel, in a program started without the seam.
through_the_panel() {
    local label=$1 panel seam=$MERVANE_TEST_PRINT_PDF
    rm -f "$HOME/Net worth statement report.pdf" "$HOME/Assets report.pdf" "$HOME/Annual Chart.pdf" \
        "$HOME/Dashboard - Net Worth.pdf" "$HOME/Dashboard - Year-End Bars.pdf"
    unset MERVANE_TEST_PRINT_PDF
    e2e_start "$binary"
    export MERVANE_TEST_PRINT_PDF=$seam
    window=$(e2e_wait_window '^Mervane$') || exit 1
    sleep 0.5
    # The panel offers "<home>/<job name>.pdf"; Return prints there.
    open_choice
    print_button
    panel=$(e2e_wait_window '^Print$') || fail "no print panel for the statement ($label)"
    sleep 0.5
    xdotool key Return
    e2e_wait_for pdf_holds "$HOME/Net worth statement report.pdf" "NET WORTH STATEMENT" \
        || fail "the statement was not printed to its own file ($label)"
    e2e_wait_for print_panel_gone || fail "the print panel stayed ($label)"
    open_choice
    tab 1
    sleep 0.3
    print_button
    panel=$(e2e_wait_window '^Print$') || fail "no print panel for the assets report ($label)"
    sleep 0.5
    e2e_screenshot "$shots/print-panel-assets-$label.png"
    xdotool key Return
    e2e_wait_for pdf_holds "$HOME/Assets report.pdf" "Assets report" \
        || fail "the assets report was not offered its own file ($label)"
    pdf_holds "$HOME/Net worth statement report.pdf" "NET WORTH STATEMENT" \
        || fail "the assets report overwrote the statement ($label)"
    e2e_wait_for print_panel_gone || fail "the print panel stayed ($label)"
    # The charts' print buttons: the dashboard's pie (below its menu button) and year-end bars,
    # and the annual chart's, at the right of its controls.
    local wx wy
    read -r wx wy _ _ <<<"$(e2e_window_geometry "$window")"
    chart_through_panel "$label" "Dashboard - Net Worth" $((wx + 790)) $((wy + 125))
    chart_through_panel "$label" "Dashboard - Year-End Bars" $((wx + 1179)) $((wy + 97))
    e2e_sidebar_button "$window" 5
    sleep 1
    chart_through_panel "$label" "Annual Chart" $((wx + 1141)) $((wy + 62))
    e2e_sidebar_button "$window" 0
    sleep 0.5
    pdf_holds "$HOME/Assets report.pdf" "Assets report" || fail "a chart overwrote the assets report ($label)"
    # A cancelled panel leaves the keyboard to the main window: Ctrl+Q quits without a click,
    # with the pointer away from every window.
    open_choice
    print_button
    panel=$(e2e_wait_window '^Print$') || fail "no print panel to cancel ($label)"
    sleep 0.5
    xdotool key Escape
    e2e_wait_for print_panel_gone || fail "Escape left the print panel ($label)"
    xdotool mousemove 1435 895
    sleep 0.3
    xdotool key ctrl+q
    e2e_wait_exit 10 || fail "Ctrl+Q after a cancelled print panel did not quit ($label)"
}

# 1. Light, without a window manager.
e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || exit 1
e2e_screenshot_painted "$shots/print-start.png" || fail "no screenshot"
open_choice
names=(statement assets liabilities tags)
for n in 3 2 1 0; do
    tab "$n"
    sleep 0.3
    e2e_screenshot "$shots/print-choice-${names[$n]}-light.png"
done
readable "$shots/print-choice-statement-light.png" $((px + 126)) $((py + 134)) 50 20 "the Month caption"
xdotool key Escape
sleep 0.5
xdotool search --onlyvisible --pid "$E2E_APP_PID" | grep -qx "$pop" || fail "Escape closed the report choice"
press_print
e2e_popover_gone "$window" || fail "a second press of the print button left the choice open"

open_choice
cancel_button
e2e_popover_gone "$window" || fail "Cancel left the choice open"
[ -z "$(e2e_setting_text print_selectedMonth)" ] || fail "Cancel stored the statement's month"
[ -e "$HOME/report.pdf" ] && fail "Cancel printed"

open_choice
print_button
e2e_wait_for printed || fail "Print on the statement tab printed nothing"
e2e_popover_gone "$window" || fail "Print left the choice open"
text=$(pdftotext "$HOME/report.pdf" -)
grep -q "NET WORTH STATEMENT - *DECEMBER $year" <<<"$text" || fail "the statement is not of the newest month: $text"
grep -q "Page 1 of" <<<"$text" || fail "the statement has no page footer"
[ "$(e2e_setting_text print_selectedMonth)" = 12 ] || fail "the statement's month was not stored"
[ "$(e2e_setting_text print_fromYear)" = 2015 ] || fail "the statement did not store its fixed period"
kill -0 "$E2E_APP_PID" || fail "the program ended after printing"
e2e_quit "$window"
through_the_panel no-wm

# 2. Dark, with a window manager.
rm -f "$HOME/report.pdf"
e2e_update_text_setting SelectedAppearance 2
e2e_start_wm
e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || exit 1
sleep 0.5
open_choice
e2e_screenshot "$shots/print-choice-dark-wm.png"
readable "$shots/print-choice-dark-wm.png" $((px + 126)) $((py + 134)) 50 20 "the Month caption (dark)"
tab 1
sleep 0.3
e2e_screenshot "$shots/print-choice-assets-dark-wm.png"
readable "$shots/print-choice-assets-dark-wm.png" $((px + 85)) $((py + 92)) 80 20 "the first asset (dark)"
xdotool mousemove $((px + 120)) $((py + 127)) click 1 # the second asset's row
[ "$(e2e_setting_text ReportAssetCategoryKey)" = "A001" ] \
    || fail "picking the second asset stored $(e2e_setting_text ReportAssetCategoryKey)"
print_button
e2e_wait_for printed || fail "Print on the assets tab printed nothing"
text=$(pdftotext "$HOME/report.pdf" -)
grep -q "Assets report" <<<"$text" || fail "no assets report: $text"
grep -q "Category: Asset 2" <<<"$text" || fail "the assets report is not of the second asset: $text"
grep -q "Page 1 of" <<<"$text" || fail "the assets report has no page footer"
e2e_quit "$window"
through_the_panel wm
echo "the report choice opened, closed and printed the statement and the assets report, also through the print panel, beside three charts"
