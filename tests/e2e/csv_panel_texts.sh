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

e2e_setup || exit 1
mkdir -p "$shots"
python3 "$here/household.py" "$HOME/mervane.json" --years 3 --assets 4 --liabilities 2

# panel_texts <appearance number> <name>: opens the import panel, chooses the CSV file, keeps a
# screenshot of the panel and checks its size and the explanation's contrast.
panel_texts() {
    local window importer px py pw ph nx ny nw nh shot
    e2e_update_text_setting SelectedAppearance "$1"
    e2e_start "$binary"
    window=$(e2e_wait_window '^Mervane$') || exit 1
    sleep 1
    if [ ! -s "$HOME/ours.csv" ]; then
        e2e_document_item "$window" 4
        e2e_in_file_panel '^Export all records to a CSV file' "$HOME/ours.csv"
        e2e_close_message "$window" "the CSV export"
        [ -s "$HOME/ours.csv" ] || fail "the CSV export wrote nothing"
    fi
    e2e_document_item "$window" 5
    importer=$(e2e_popover_window "$window") || fail "the import panel did not open"
    sleep 0.5
    read -r px py pw ph <<<"$(e2e_window_geometry "$importer")"
    # Select sits 33 points above the window's bottom, 60 from its left.
    xdotool mousemove $((px + 60)) $((py + ph - 33)) click 1
    e2e_in_file_panel '^Import inventory items from a CSV file' "$HOME/ours.csv"
    # The summary line makes the panel taller; it grows downwards from the anchor.
    for _ in $(e2e_polls 5); do
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
