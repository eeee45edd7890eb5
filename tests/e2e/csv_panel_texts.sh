#!/usr/bin/env bash
# The CSV import panel's texts, in light and in dark: a household exports its records to a CSV
# file, opens the import panel and chooses that file. The panel must grow to hold the summary
# that comes with the file (its window gets taller and the buttons stay inside it), and the
# explanation must be readable. Screenshots of the panel: csv-panel-light.png, csv-panel-dark.png.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e_lib.sh"
binary=$1
shots=$2
document_from_right=170 # the document button's centre, from the window's right edge, 20 from its top

e2e_setup || exit 1
mkdir -p "$shots"
python3 "$here/household.py" "$HOME/mervane.json" --years 3 --assets 4 --liabilities 2

# document_item <main window> <n>: opens the document menu and chooses its n-th item.
document_item() {
    local wx wy ww wh
    e2e_popover_gone "$1" || { xdotool key Escape; e2e_popover_gone "$1"; } || fail "a popover stays open"
    read -r wx wy ww wh <<<"$(e2e_window_geometry "$1")"
    xdotool mousemove $((wx + ww - document_from_right)) $((wy + 20)) click 1
    sleep 0.5
    for _ in $(seq 1 "$2"); do xdotool key Down; done
    xdotool key Return
}

# in_panel <title pattern> <path>: types the path into the file panel and presses Return.
in_panel() {
    local panel
    panel=$(e2e_wait_window "$1") || fail "no file panel '$1' appeared"
    xdotool windowfocus --sync "$panel"
    sleep 0.3
    xdotool key ctrl+a
    xdotool type --delay 10 "$2"
    xdotool key Return
    for _ in $(seq 1 50); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    fail "the file panel '$1' stayed open"
}

# panel_texts <appearance number> <name>: opens the import panel, chooses the CSV file, keeps a
# screenshot of the panel and checks its size and the explanation's contrast.
panel_texts() {
    local window importer px py pw ph nx ny nw nh shot
    e2e_update_text_setting SelectedAppearance "$1"
    e2e_start "$binary"
    window=$(e2e_wait_window '^Mervane$') || exit 1
    sleep 1
    if [ ! -s "$HOME/ours.csv" ]; then
        document_item "$window" 4
        in_panel '^Export all records to a CSV file' "$HOME/ours.csv"
        e2e_wait_for test -s "$HOME/ours.csv" || fail "the CSV export wrote nothing"
    fi
    document_item "$window" 5
    importer=$(e2e_popover_window "$window") || fail "the import panel did not open"
    sleep 0.5
    read -r px py pw ph <<<"$(e2e_window_geometry "$importer")"
    # Select sits 33 points above the window's bottom, 60 from its left.
    xdotool mousemove $((px + 60)) $((py + ph - 33)) click 1
    in_panel '^Import inventory items from a CSV file' "$HOME/ours.csv"
    # The summary line makes the panel taller; it grows downwards from the anchor.
    for _ in $(seq 1 50); do
        read -r nx ny nw nh <<<"$(e2e_window_geometry "$importer")"
        [ "$nh" -gt "$ph" ] && break
        sleep 0.1
    done
    sleep 0.5
    shot="$shots/csv-panel-$2.png"
    e2e_screenshot "$E2E_HOME/screen.png"
    convert "$E2E_HOME/screen.png" -crop "${nw}x${nh}+${nx}+${ny}" +repage "$shot"
    [ "$nh" -gt "$ph" ] || fail "($2) the panel did not grow with the file's summary: ${pw}x${ph} -> ${nw}x${nh}"
    [ "$ny" -eq "$py" ] || fail "($2) the panel moved from y $py to $ny"
    # The explanation's first lines: below the arrow (12), the margin and the title line.
    python3 "$here/contrast.py" "$shot" 30 58 $((nw - 60)) 40 ||
        fail "($2) the explanation is hard to read"
    # Cancel, 62 + 90 from the right: the buttons moved down with the panel's bottom edge.
    xdotool mousemove $((nx + nw - 150)) $((ny + nh - 33)) click 1
    e2e_wait_for e2e_popover_gone "$window" || fail "($2) Cancel did not close the grown panel"
    e2e_quit "$window"
}

e2e_write_text_settings mcmain "{{100, 50}, {1200, 800}}"
panel_texts 1 light
panel_texts 2 dark
# Once more under a window manager, which frames the file panel.
e2e_start_wm
panel_texts 1 light-wm
echo "the CSV import panel grows with its texts, light and dark, with and without a window manager"
