#!/usr/bin/env bash
# The document menu's commands through the real file panels, as a household uses them with ten
# years of records: a CSV export and a backup are saved; another household's file takes the
# place of the data; the backup is restored (OK, then the path typed and Return), and a second
# restore is cancelled with Escape in the file panel; the CSV file is imported, and a second
# import is cancelled with Escape. After each step the program still runs and the data file
# holds what it should. Screenshots: restore-question, restore-panel, restored, import-panel,
# imported.
# Then the keyboard after every panel, popover and message, each closed every way it closes,
# without and with a window manager (see panels_walk). Screenshots: keyboard-welcome-{no-wm,wm}
# (light, dark), keyboard-restore-panel-{no-wm,wm}.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e_lib.sh"
binary=$1
shots=$2

e2e_setup || exit 1

# household <file> <note> <first amount>: ten years of monthly records, 2016 to 2025, with three
# asset and two liability categories; every record's note is <note>.
household() {
    python3 - "$@" <<'PY'
import json, sys
path, note, start = sys.argv[1], sys.argv[2], float(sys.argv[3])
def category(cid, name, order):
    return {"ID": cid, "name": name, "desc": "", "is_foreign": False, "currency": "USD",
            "tags": [], "is_depreciable": False, "sort_order": order, "is_hidden": False}
assets = [category("CASH", "Cash", 0), category("FUND", "Fund", 1), category("HOME", "Home", 2)]
debts = [category("LOAN", "Loan", 0), category("CARD", "Card", 1)]
logs = []
for i in range(120):
    year, month = 2016 + i // 12, i % 12 + 1
    a = [start + 10 * i, 2 * start + 25 * i, 250000.0]
    l = [180000.0 - 500 * i, 1200.5]
    logs.append({"year": year, "month": month, "day": 0, "note": note,
                 "assets": sum(a), "liabilities": sum(l), "nw": sum(a) - sum(l),
                 "a_logs": [{"cat": c["ID"], "value": v} for c, v in zip(assets, a)],
                 "l_logs": [{"cat": c["ID"], "value": v} for c, v in zip(debts, l)]})
logs.reverse()
json.dump({"version": "1.0", "base_currency": "USD", "tags": [], "a_cat": assets, "l_cat": debts,
           "nw_logs": logs}, open(path, "w"))
PY
}

# summary <file>: "<records> <the newest record's note> <its first asset value>"
summary() {
    python3 - "$1" <<'PY'
import json, sys
logs = json.load(open(sys.argv[1])).get("nw_logs", [])
newest = max(logs, key=lambda l: (l["year"], l["month"])) if logs else {}
values = newest.get("a_logs", [])
print(len(logs), newest.get("note", "-") or "-", "%g" % values[0]["value"] if values else "-")
PY
}

running() {
    kill -0 "$E2E_APP_PID" 2>/dev/null || fail "the program is no longer running after $1"
}

household "$HOME/mervane.json" "ours" 1000
e2e_write_text_settings mcmain "{{100, 50}, {1200, 800}}" SelectedAppearance 1
e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || exit 1
sleep 1

# Export to a CSV file (item 4) and back up (item 1), each through the save panel.
e2e_document_item "$window" 4
e2e_in_file_panel '^Export all records to a CSV file' "$HOME/ours.csv"
e2e_close_message "$window" "the CSV export"
[ -s "$HOME/ours.csv" ] || fail "the CSV export wrote nothing"
running "the CSV export"
e2e_document_item "$window" 1
e2e_in_file_panel '^Backup all records to a file' "$HOME/backup.json"
e2e_close_message "$window" "the backup"
[ -s "$HOME/backup.json" ] || fail "the backup wrote nothing"
running "the backup"
[ "$(summary "$HOME/backup.json")" = "120 ours 2190" ] || fail "the backup holds $(summary "$HOME/backup.json")"
e2e_quit "$window"

# Another household's data takes the place of ours.
household "$HOME/mervane.json" "theirs" 5
e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || exit 1
sleep 1

# Restore (item 2): the question, OK (Return), then the backup in the file panel.
e2e_document_item "$window" 2
question=$(e2e_popover_window "$window") || fail "restore asked nothing"
sleep 0.5
e2e_screenshot "$shots/restore-question.png"
xdotool windowfocus --sync "$question" key Return
panel=$(e2e_wait_window '^Restore all records from a file') || fail "OK showed no file panel"
sleep 1
# The panel stays above the window: the question fading out must not raise the window over it.
# (xwininfo lists the top-level windows from the top down.)
on_top=$(xwininfo -root -children | awk -v a="$(printf '0x%x' "$panel")" -v b="$(printf '0x%x' "$window")" \
    '!found && $1 == a { found = "panel" } !found && $1 == b { found = "window" } END { print found }')
[ "$on_top" = "panel" ] || fail "the file panel is hidden behind the main window"
e2e_screenshot "$shots/restore-panel.png"
e2e_in_file_panel '^Restore all records from a file' "$HOME/backup.json"
e2e_close_message "$window" "the restore"
running "a restore"
[ "$(summary "$HOME/mervane.json")" = "120 ours 2190" ] || fail "after the restore the data file holds $(summary "$HOME/mervane.json")"
ls "$HOME"/mervane.json.before-restore-* >/dev/null 2>&1 || fail "no before-restore copy was kept"
[ "$(summary "$(ls "$HOME"/mervane.json.before-restore-* | head -n1)")" = "120 theirs 1195" ] ||
    fail "the before-restore copy is not the replaced data"
e2e_screenshot "$shots/restored.png"

# A second restore, cancelled in the file panel: nothing changes.
cp "$HOME/mervane.json" "$HOME/expected.json"
e2e_document_item "$window" 2
question=$(e2e_popover_window "$window") || fail "the second restore asked nothing"
sleep 0.5
xdotool windowfocus --sync "$question" key Return
e2e_in_file_panel '^Restore all records from a file' ""
sleep 1
running "a cancelled restore"
cmp -s "$HOME/mervane.json" "$HOME/expected.json" || fail "a cancelled restore changed the data file"

e2e_quit "$window"

# CSV import (item 5), again over the other household's data: the panel's Select asks for the
# file, Import replaces the data.
household "$HOME/mervane.json" "theirs" 5
cp "$HOME/mervane.json" "$HOME/expected.json"
e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || exit 1
sleep 1
panel_title='^Import inventory items from a CSV file'
# The panel's buttons sit 33 points above its window's bottom: Select 60 from its left,
# Import 62 from its right.
e2e_document_item "$window" 5
importer=$(e2e_popover_window "$window") || fail "the import panel did not open"
sleep 0.5
read -r px py pw ph <<<"$(e2e_window_geometry "$importer")"
xdotool mousemove $((px + 60)) $((py + ph - 33)) click 1
e2e_in_file_panel "$panel_title" ""
sleep 0.5
running "a cancelled CSV choice"
cmp -s "$HOME/mervane.json" "$HOME/expected.json" || fail "a cancelled CSV choice changed the data file"

xdotool mousemove $((px + 60)) $((py + ph - 33)) click 1
panel=$(e2e_wait_window "$panel_title") || fail "Select showed no file panel"
e2e_screenshot "$shots/import-panel.png"
e2e_in_file_panel "$panel_title" "$HOME/ours.csv"
sleep 0.5
running "a CSV file chosen"
cmp -s "$HOME/mervane.json" "$HOME/expected.json" || fail "choosing a CSV file changed the data file"
# The panel has grown with the file's summary: its buttons moved down with its bottom edge.
read -r px py pw ph <<<"$(e2e_window_geometry "$importer")"
xdotool mousemove $((px + pw - 62)) $((py + ph - 33)) click 1
e2e_wait_for e2e_popover_gone "$window" || fail "Import did not close the panel"
sleep 0.5
running "the CSV import"
[ "$(summary "$HOME/mervane.json")" = "120 ours 2190" ] || fail "after the import the data file holds $(summary "$HOME/mervane.json")"
copy=$(ls "$HOME"/mervane.json.before-import-* 2>/dev/null | head -n1)
[ -n "$copy" ] && cmp -s "$copy" "$HOME/expected.json" || fail "no before-import copy of the replaced data was kept"
e2e_screenshot "$shots/imported.png"
e2e_quit "$window"

# After a restart the imported records are there.
e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || exit 1
sleep 1
running "a restart"
[ "$(summary "$HOME/mervane.json")" = "120 ours 2190" ] || fail "a restart lost the import"
e2e_quit "$window"

# The keyboard after every panel: each panel, popover and message, closed each way it closes,
# leaves it to the main window, without a window manager (where nothing else hands it back)
# and with openbox; a start with the welcome panel too. The About sheet keeps it after a click
# into the window it blocks (title:84,click:...). The restore question's OK leaves it to
# the file panel it opens, and a popover that closes because another program took the
# keyboard leaves it there.
panels_walk() {
    local label=$1
    window=$(e2e_wait_window '^Mervane$') || exit 1
    read -r wx wy <<<"$(e2e_client_origin "$window")"
    read -r _ _ ww wh <<<"$(e2e_window_geometry "$window")"
    welcome=$(e2e_popover_window "$window") || fail "no welcome panel ($label)"
    sleep 0.5
    e2e_screenshot "$shots/keyboard-welcome-$label.png"
    e2e_close_panel "$welcome" "$welcome_way"
    e2e_popover_gone "$window" || fail "the welcome panel stayed ($label)"
    e2e_keyboard_back "$window" "the welcome panel's $welcome_way ($label)"
    e2e_keyboard_walk "$label" <<'WALK'
title:39 button:-70:-36
title:39 escape
title:84 button:-170:-32
title:84 escape
title:84,click:300:400 button:-170:-32
title:84,click:300:400 escape
title:126 escape
title:126 outside
title:126 again
title:170 escape
title:170 outside
title:216 button:-158:-38
title:216 again
title:256 button:-155:-36
title:256 escape
title:256 outside
lock escape
lock outside
document:1 escape
document:2 button:-155:-36
document:2 escape
document:5 button:-155:-36
document:5 escape
editor button:187:-38
editor escape
WALK
    # Another program takes the keyboard while the manual offer is open: it closes and leaves it.
    xmessage -name other "another program" &
    other_pid=$!
    other=$(e2e_wait_window '^other$') || fail "no other program ($label)"
    e2e_open_panel title:256
    e2e_popover_window "$window" >/dev/null || fail "the manual offer did not open ($label)"
    sleep 0.5
    xdotool windowfocus --sync "$other"
    e2e_popover_gone "$window" || fail "the manual offer stayed open beside another program ($label)"
    sleep 0.5 # a return of the keyboard would have come by now
    e2e_keyboard_in "$other" || fail "a popover closing took the keyboard from another program ($label)"
    kill "$other_pid"
    wait "$other_pid" 2>/dev/null
    xdotool windowfocus --sync "$window" # the user comes back
    # The restore question's OK: the file panel has the keyboard, then the window again.
    e2e_document_item "$window" 2
    question=$(e2e_popover_window "$window") || fail "restore asked nothing ($label)"
    sleep 0.5
    e2e_close_panel "$question" button:-69:-36
    panel=$(e2e_wait_window '^Restore all records from a file') || fail "OK showed no file panel ($label)"
    e2e_keyboard_back "$panel" "the restore question's OK ($label)"
    question_gone() { ! xdotool search --onlyvisible --pid "$E2E_APP_PID" | grep -qx "$question"; }
    e2e_wait_for question_gone || fail "the restore question stayed over its file panel ($label)"
    e2e_keyboard_in "$panel" || fail "the restore question's fade took the keyboard from the file panel ($label)"
    e2e_screenshot "$shots/keyboard-restore-panel-$label.png"
    xdotool key Escape
    e2e_popover_gone "$window" || fail "Escape left the file panel open ($label)"
    e2e_keyboard_back "$window" "the file panel's Escape ($label)"
    # Ctrl+Q without a click, with the pointer away from every window.
    xdotool mousemove 1435 895
    xdotool key ctrl+q
    e2e_wait_exit 10 || fail "Ctrl+Q after the walk did not quit ($label)"
}
E2E_WELCOME_PANEL=1 e2e_write_text_settings mcmain "{{100, 50}, {1200, 800}}"
welcome_way=escape
e2e_start "$binary"
panels_walk no-wm
e2e_update_text_setting SelectedAppearance 2
e2e_update_text_setting ShowStartForm true
welcome_way=welcome-close
e2e_start_wm
e2e_start "$binary"
panels_walk wm

echo "restore and import went through the real file panels; the keyboard came back after every panel"
