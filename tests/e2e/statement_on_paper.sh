#!/usr/bin/env bash
# The statement and the table reports on paper read in both appearances: a household of three
# years prints this month's statement and then the tags report through the title bar's print
# button (light without, then dark with a window manager; the test build's
# MERVANE_TEST_PRINT_PDF sends them to a file). On the statement's first page, turned into a
# picture, the totals (20 points: 3:1), the column titles, a change row and the first asset's
# and liability's name, value and share (4.5:1) are measured against the white paper where the
# PDF's own word boxes place them; on the tags report's, its orange title (22 points: 3:1), the
# period, subtitle, column titles, first row and footer (4.5:1).
# Pictures: statement-{light,dark-wm}-1.png, tags-report-{light,dark-wm}-1.png.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e_lib.sh"
binary=$1
shots=$2
arrow=12 # the popover window's margin for its arrow, on every side
print_from_right=216 # the print button's centre, from the window's right edge, 20 from its top
dpi=144

e2e_setup || exit 1
python3 "$here/household.py" "$HOME/mervane.json" --years 3 --assets 6 --liabilities 3 --last-year "$(date -u +%Y)" \
    || fail "no household"
export MERVANE_TEST_PRINT_PDF="$HOME/statement.pdf"

printed() { [ -s "$HOME/statement.pdf" ] && pdftotext "$HOME/statement.pdf" - >/dev/null 2>&1; }

# regions <pdf> <statement|table>: "<what> <x> <y> <width> <height> <minimum>" in pixels of the
# first page at $dpi, for each text measured on the statement or a table report, from the word
# boxes pdftotext gives.
regions() {
    pdftotext -f 1 -l 1 -bbox "$1" - | python3 -c '
import re, sys
scale = float(sys.argv[1]) / 72
words = [(float(a), float(b), float(c), float(d), w) for a, b, c, d, w in re.findall(
    r"<word xMin=\"([\d.]+)\" yMin=\"([\d.]+)\" xMax=\"([\d.]+)\" yMax=\"([\d.]+)\">([^<]*)</word>", sys.stdin.read())]
def out(what, word, minimum):
    x0, y0, x1, y1, _ = word
    print(what, int(x0 * scale), int(y0 * scale), int((x1 - x0) * scale), int((y1 - y0) * scale), minimum)
def first(test, below=0.0):
    return next(w for w in words if w[1] > below and test(w))
if sys.argv[2] == "statement":
    amount = lambda w: w[4][:1] in "$("
    title = first(lambda w: w[4] == "ASSETS")
    out("column-title", title, 4.5)
    for name in ("NET", "ASSETS", "LIABILITIES"):
        column = first(lambda w: w[4] == name)
        out("total-under-" + name, first(lambda w: amount(w) and abs(w[0] - column[0]) < 1, column[1]), 3)
    changes = first(lambda w: w[4] == "Changes")
    out("change-amount", first(amount, changes[1]), 4.5)
    for heading in ("Asset", "Liability"):
        top = first(lambda w: w[4] == heading and w[0] < 30, changes[1])
        value = first(amount, top[1] + 5)
        out(heading + "-name", first(lambda w: abs(w[1] - value[1]) < 1 and w[0] < value[0]), 4.5)
        out(heading + "-value", value, 4.5)
        out(heading + "-share", first(lambda w: abs(w[1] - value[1]) < 1 and w[4].endswith("%")), 4.5)
else:
    out("title", first(lambda w: w[4] == "Tags"), 3)
    out("period", first(lambda w: w[4] in ("Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec")), 4.5)
    out("subtitle", first(lambda w: w[4] == "Selected"), 4.5)
    header = first(lambda w: w[4] == "Amount")
    out("column-title", header, 4.5)
    amount = first(lambda w: w[4][:1] in "$(", header[1] + 5)
    out("row-date", first(lambda w: abs(w[1] - amount[1]) < 1 and w[0] < amount[0]), 4.5)
    out("row-amount", amount, 4.5)
    out("row-percent", first(lambda w: abs(w[1] - amount[1]) < 1 and w[4].endswith("%")), 4.5)
    out("footer", first(lambda w: w[4] == "Page"), 4.5)
' "$dpi" "$2"
}

# readable_on_paper <report> <tab> <statement|table> <count> <name>: prints the report of the report
# choice's tab (0 the statement, 3 the tags) and measures its texts.
readable_on_paper() {
    local wx wy ww wh pop px py pw ph picture="$shots/$1-$5"
    rm -f "$HOME/statement.pdf"
    read -r wx wy <<<"$(e2e_client_origin "$window")"
    read -r _ _ ww wh <<<"$(e2e_window_geometry "$window")"
    xdotool mousemove $((wx + ww - print_from_right)) $((wy + 20)) click 1
    pop=$(e2e_popover_window "$window") || fail "the print button opened no report choice ($5)"
    sleep 0.5 # the popover's fade
    read -r px py <<<"$(e2e_client_origin "$pop")"
    read -r _ _ pw ph <<<"$(e2e_window_geometry "$pop")"
    xdotool mousemove $((px + pw / 2 + (2 * $2 - 3) * 77 / 2)) $((py + 43)) click 1 # its tab
    sleep 0.3
    xdotool mousemove $((px + pw - arrow - 46)) $((py + ph - arrow - 26)) click 1 # Print
    e2e_wait_for printed || fail "the $1 was not printed ($5)"
    mkdir -p "$shots"
    pdftoppm -f 1 -l 1 -r "$dpi" -png "$HOME/statement.pdf" "$picture" || fail "the $1's page is no picture"
    local measured=0 what x y w h minimum
    while read -r what x y w h minimum; do
        python3 "$here/contrast.py" "$picture-1.png" "$x" "$y" "$w" "$h" "$minimum" \
            || fail "the $1's $what is not readable on paper ($5)"
        measured=$((measured + 1))
    done < <(regions "$HOME/statement.pdf" "$3")
    [ "$measured" = "$4" ] || fail "the $1's texts were not all found ($5: $measured)"
}
statement_readable() { readable_on_paper statement 0 statement 11 "$1"; }
tags_report_readable() { readable_on_paper tags-report 3 table 8 "$1"; }

e2e_write_text_settings mcmain "{{100, 50}, {1200, 800}}" SelectedAppearance 1
e2e_settings_tool set-json ReportTagIDsKey '["T-HOME"]' 
e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || exit 1
e2e_screenshot_painted "$HOME/start.png" || fail "no screenshot"
statement_readable light
tags_report_readable light
e2e_quit "$window"

e2e_update_text_setting SelectedAppearance 2
e2e_start_wm
e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || exit 1
sleep 0.5
statement_readable dark-wm
tags_report_readable dark-wm
e2e_quit "$window"
echo "PASS"
