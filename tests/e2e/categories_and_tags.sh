#!/usr/bin/env bash
# A household describes its money: a green tag is added on the tags screen, the first asset
# category is tagged with it in the category editor, and the second category is dragged above
# it; after a restart the order, the tag and its colour are in the data file and on the screen.
# Screenshots of both screens, light and dark.
# Then the keyboard after the screens' popovers, each closed every way it closes, without and
# with a window manager (see screens_walk). Screenshots: keyboard-screens-{no-wm,wm} (a category's values).
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e_lib.sh"
binary=$1
shots=$2
sidebar=72           # the sidebar's width
arrow=12             # the popover window's margin for its arrow, on every side
tag_list_width=421   # the tags screen's list and its command bar
row_height=52        # a row of the category lists
list_top=76          # the category lists' first row, below the window's top edge

e2e_setup || exit 1
category() { # <ID> <name> <sort order>
    printf '{"ID": "%s", "name": "%s", "desc": "", "is_foreign": false, "currency": "USD", "tags": [],
      "is_depreciable": false, "sort_order": %s, "is_hidden": false}' "$1" "$2" "$3"
}
cat >"$HOME/mervane.json" <<JSON
{"version": "1.0", "base_currency": "USD", "tags": [], "nw_logs": [],
 "a_cat": [$(category CASH Cash 0), $(category SAVINGS Savings 1)],
 "l_cat": [$(category LOAN Loan 0)]}
JSON

# file_state: "<asset names in sort order>|<tags of Cash>|<tag names and colours>"
file_state() {
    python3 - "$HOME/mervane.json" <<'PY'
import json, sys
d = json.load(open(sys.argv[1]))
assets = sorted(d["a_cat"], key=lambda c: c["sort_order"])
tags = {t["ID"]: t for t in d.get("tags", [])}
cash = next(c for c in d["a_cat"] if c["ID"] == "CASH")
print(",".join(c["name"] for c in assets) + "|" + ",".join(tags[i]["name"] for i in cash.get("tags", []) if i in tags)
      + "|" + ",".join(t["name"] + ":" + t["hexColorString"] for t in d.get("tags", [])))
PY
}

# wait_file_state <expected>: waits until the data file says so.
wait_file_state() {
    local state=""
    for _ in $(e2e_polls 5); do
        state=$(file_state)
        [ "$state" = "$1" ] && return 0
        sleep 0.1
    done
    echo "the data file holds '$state', not '$1'" >&2
    return 1
}



# click_save <popover>: Save is the popover's bottom-right button.
click_save() {
    local px py pw ph
    read -r px py pw ph <<<"$(e2e_window_geometry "$1")"
    xdotool mousemove $((px + pw - arrow - 16 - 30)) $((py + ph - arrow - 14 - 10)) click 1
}

# green_in_row <screenshot> <row>: pixels of the green tag's colour in that row of the asset list.
green_in_row() {
    convert "$1" -crop "500x$((row_height - 4))+$((wx + sidebar))+$((wy + list_top + $2 * row_height + 2))" +repage \
        -fuzz 12% -fill white -opaque "#87de69" -fill black +opaque white -format '%[fx:int(mean*w*h)]' info:
}

sidebar_button() { # <index from the top, 0 = dashboard>
    e2e_sidebar_button "$window" "$1"
    sleep 0.5
}


e2e_write_text_settings mcmain "{{100, 50}, {1200, 800}}" SelectedAppearance 1
e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || exit 1
e2e_screenshot_painted "$shots/categories-start.png" || fail "no screenshot"
read -r wx wy ww wh <<<"$(e2e_window_geometry "$window")"

# The tags screen: Add opens the tag editor on its name; the third colour is green.
sidebar_button 2
xdotool mousemove $((wx + sidebar + tag_list_width - 85 + 11)) $((wy + wh - 9 - 11)) click 1
editor=$(e2e_popover_window "$window") || fail "Add opened no tag editor"
sleep 0.5
xdotool type --delay 30 "Family"
xdotool key Tab Tab Tab Tab space
sleep 0.3
e2e_screenshot "$shots/tags-editor-light.png"
click_save "$editor"
wait_file_state "Cash,Savings||Family:GREEN" || fail "the tag was not saved green"
e2e_popover_gone "$window" || fail "the tag editor stayed open after saving"

# The category screen: Cash (row 0) is selected and edited; its editor chooses the tag.
sidebar_button 1
xdotool mousemove $((wx + sidebar + 200)) $((wy + list_top + row_height / 2)) click 1
xdotool mousemove $((wx + sidebar + 564 - 130 + 11)) $((wy + wh - 9 - 11)) click 1
editor=$(e2e_popover_window "$window") || fail "Edit opened no category editor"
sleep 0.5
xdotool key Tab Tab Tab Down
sleep 0.3
e2e_screenshot "$shots/categories-editor-light.png"
click_save "$editor"
wait_file_state "Cash,Savings|Family|Family:GREEN" || fail "Cash was not tagged"
e2e_popover_gone "$window" || fail "the category editor stayed open after saving"

# Savings (row 1) is dragged above Cash.
xdotool mousemove $((wx + sidebar + 200)) $((wy + list_top + row_height + row_height / 2)) mousedown 1
for y in 70 60 45 30 15 6 3; do
    xdotool mousemove $((wx + sidebar + 200)) $((wy + list_top + y))
    sleep 0.05
done
sleep 0.3
xdotool mouseup 1
wait_file_state "Savings,Cash|Family|Family:GREEN" || fail "the drag did not reorder the list"
sleep 0.5
e2e_screenshot "$shots/categories-light.png"
e2e_quit "$window"

# Dark, after a restart: Savings first, Cash with its green tag second.
e2e_write_text_settings mcmain "{{100, 50}, {1200, 800}}" SelectedAppearance 2
e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || exit 1
sleep 0.5
sidebar_button 1
e2e_screenshot "$shots/categories-dark.png"
[ "$(green_in_row "$shots/categories-dark.png" 0)" -lt 10 ] || fail "the first row shows a green tag"
[ "$(green_in_row "$shots/categories-dark.png" 1)" -gt 40 ] || fail "Cash's green tag is not in the second row"
sidebar_button 2
xdotool mousemove $((wx + sidebar + 200)) $((wy + 125)) click 1
sleep 0.5
e2e_screenshot "$shots/tags-dark.png"
wait_file_state "Savings,Cash|Family|Family:GREEN" || fail "the data file changed"
e2e_quit "$window"

# The keyboard after the screens' popovers: the category and tag editors and their delete
# questions, a category's values (its row's menu), the dashboard's chart menus, tag filter and
# value popups (a bar, a point, a slice), the exchange rates (Ctrl+E) and the record delete
# question, each closed every way it closes, leave it to the main window; without a window
# manager (light) and with openbox (dark). Then a second start of the program with the tag
# editor open (screenshots keyboard-second-start-{no-wm,wm}).
screens_walk() {
    window=$(e2e_wait_window '^Mervane$') || exit 1
    read -r wx wy <<<"$(e2e_client_origin "$window")"
    read -r _ _ ww wh <<<"$(e2e_window_geometry "$window")"
    sleep 1
    e2e_keyboard_walk "$1" <<'WALK'
screen:1,click:300:102,click:517:-20 button:-176:-38
screen:1,click:300:102,click:517:-20 escape
screen:1,click:300:102,click:607:-20 button:-155:-36
screen:1,click:300:102,click:607:-20 escape
screen:1,right:300:102,key:Down,key:Return button:-66:-35
screen:1,right:300:102,key:Down,key:Return escape
screen:1,right:300:102,key:Down,key:Return outside
screen:2,click:419:-20 button:-172:-38
screen:2,click:419:-20 escape
screen:2,click:200:122,click:464:-20 button:-155:-36
screen:2,click:200:122,click:464:-20 escape
screen:0,click:789:96 escape
screen:0,click:789:96 outside
screen:0,click:789:96 again
screen:0,click:1144:356 escape
screen:0,click:1144:356 outside
screen:0,click:1144:356 again
screen:0,click:1022:209 escape
screen:0,click:1022:209 outside
key:ctrl+e button:-67:-36
key:ctrl+e escape
screen:0,click:200:60,click:350:-20 button:-159:-36
screen:0,click:200:60,click:350:-20 escape
screen:0,click:1174:356 escape
screen:0,click:1174:356 outside
screen:0,click:1174:356 again
screen:0,click:1169:458 escape
screen:0,click:626:220 outside
WALK
    # A second start while the tag editor is open and another program has the keyboard: it asks
    # this one to come forward and exits. The window comes over the other program with its
    # editor above it, and the keyboard goes back to the editor. Closed by Escape or Save while
    # the other program is still there, the editor leaves the keyboard to the main window.
    for way in escape save; do
        e2e_open_panel screen:2,click:419:-20
        editor=$(e2e_popover_window "$window") || fail "no tag editor ($1)"
        sleep 0.5
        xmessage -name other -geometry 600x400+300+300 "another program" &
        other_pid=$!
        other=$(e2e_wait_window '^other$') || fail "no other program ($1)"
        xdotool windowfocus --sync "$other"
        e2e_wait_for e2e_stacked "$window" "$other" || fail "the other program is not above the window ($1)"
        "$binary" >"$E2E_HOME/second-start.log" 2>&1 || fail "the second start ended with an error ($1)"
        e2e_wait_for e2e_stacked "$other" "$window" "$editor" ||
            fail "after a second start the windows are stacked $(e2e_stacking), not $(printf '0x%x ' "$other" "$window" "$editor")from the bottom up ($1)"
        e2e_keyboard_back "$editor" "a second start ($1)"
        if [ "$way" = save ]; then
            xdotool type --delay 30 "Second $1"
            sleep 0.3
            click_save "$editor"
            e2e_wait_for grep -q "\"Second $1\"" "$HOME/mervane.json" || fail "Save wrote no tag after a second start ($1)"
        else
            e2e_screenshot "$shots/keyboard-second-start-$1.png"
            e2e_close_panel "$editor" escape
        fi
        e2e_popover_gone "$window" || fail "$way left the tag editor open after a second start ($1)"
        e2e_keyboard_back "$window" "the tag editor closed by $way after a second start ($1)"
        kill "$other_pid"
        wait "$other_pid" 2>/dev/null
    done
    e2e_open_panel screen:1,right:300:102,key:Down,key:Return
    e2e_popover_window "$window" >/dev/null || fail "no category values ($1)"
    sleep 0.5
    e2e_screenshot "$shots/keyboard-screens-$1.png"
    xdotool key Escape
    e2e_quit "$window"
}
python3 "$here/household.py" "$HOME/mervane.json" --years 3 --assets 4 --liabilities 2
e2e_write_text_settings mcmain "{{100, 50}, {1200, 800}}" SelectedAppearance 1
e2e_start "$binary"
screens_walk no-wm
e2e_update_text_setting SelectedAppearance 2
e2e_start_wm
e2e_start "$binary"
screens_walk wm
echo "PASS"
