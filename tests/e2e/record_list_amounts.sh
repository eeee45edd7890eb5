#!/usr/bin/env bash
# The record list's amounts under a real X server: households of ten years in dollars and in
# Swiss francs, and one of 13 MB (50 years, 600 categories) with eight-digit amounts, each
# shown at the default window size in light and dark, without and then with a window manager.
# Screenshots: record-list-<household>-<appearance>[-wm].png. Whether each amount fits its
# field is checked by the layout test; here the rows must show text, no row's text may reach
# into the margin at the right of the list, and the first row's texts must stand out from
# their background (contrast 4.5:1).
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e_lib.sh"
binary=$1
shots=$2
sidebar=72     # the sidebar's width; the record list follows it
list_width=340 # the list's width in the dashboard
title=40       # the title strip above the list
row_height=72
margin=8 # the rows' right margin, left of the scroll bar

e2e_setup || exit 1
households="$E2E_HOME/households"
mkdir -p "$households"
python3 "$here/household.py" "$households/usd.json" --currency USD || fail "no USD household"
python3 "$here/household.py" "$households/chf.json" --currency CHF || fail "no CHF household"
python3 "$here/household.py" "$households/large.json" --currency CHF --years 50 --assets 400 \
    --liabilities 200 || fail "no large household"

# colours <png> <width>x<height>+<x>+<y>: the number of colours in a region of a screenshot.
colours() {
    convert "$1" -crop "$2" +repage -format '%k' info:
}

# first_rows_shown <png> <window x> <window y>: whether the list's first rows show text.
first_rows_shown() {
    [ "$(colours "$1" "$((list_width - 90))x$((2 * row_height))+$(($2 + sidebar + 70))+$(($3 + title))")" -gt 12 ]
}

# scroll_bar_width <png> <window x> <window y>: the width of the strip at the list's right
# edge that is not the rows' background (the scroll bar), found on the first row's line.
scroll_bar_width() {
    local y=$(($3 + title + 4)) x background
    background=$(convert "$1" -crop "1x1+$(($2 + sidebar + 60))+$y" -format '%[pixel:p]' info:)
    for x in $(seq $((list_width - 1)) -1 $((list_width - 30))); do
        [ "$(convert "$1" -crop "1x1+$(($2 + sidebar + x))+$y" -format '%[pixel:p]' info:)" = "$background" ] \
            && { echo $((list_width - 1 - x)); return; }
    done
    echo 0
}

# show <household> <appearance 1|2> <name>: starts the application on that household and
# keeps a screenshot of the list once its rows are drawn; checks the rows' right margin.
show() {
    cp "$households/$1.json" "$HOME/mervane.json"
    e2e_write_text_settings mcmain "{{100, 50}, {1200, 800}}" SelectedAppearance "$2"
    e2e_start "$binary"
    local window wx wy ww wh name=$3 shot="$shots/record-list-$3.png"
    window=$(e2e_wait_window '^Mervane$') || exit 1
    read -r wx wy ww wh <<<"$(e2e_window_geometry "$window")"
    e2e_wait_for eval 'e2e_screenshot "$shot" && first_rows_shown "$shot" "$wx" "$wy"' \
        || fail "$3: the list shows no rows"
    # Every row in view: the rightmost points of the rows, between the text and the scroll
    # bar, hold the background and nothing else.
    local bar rows right_edge
    bar=$(scroll_bar_width "$shot" "$wx" "$wy")
    rows=$(((wh - title - 41) / row_height))
    right_edge=$((wx + sidebar + list_width - bar))
    [ "$(colours "$shot" "$((margin - 2))x$((rows * row_height))+$((right_edge - margin + 2))+$((wy + title))")" -le 2 ] \
        || fail "$3: text reaches the right edge of the list (scroll bar $bar wide)"
    # The first row's texts, at their places in the row (the text column starts 62 points
    # in; the baselines are 24, 38 and 52 points down).
    local lx=$((wx + sidebar)) ry=$((wy + title)) half=$(((list_width - bar - margin - 62 - 8) / 2)) region
    for region in "62 11 120 15 net-worth" "$((right_edge - lx - margin - 100)) 11 100 15 change" \
        "62 30 40 10 assets-caption" "62 43 90 12 assets" "$((62 + half + 8)) 43 90 12 liabilities" \
        "12 13 36 12 month" "12 41 36 12 year"; do
        set -- $region
        python3 "$here/contrast.py" "$shot" $((lx + $1)) $((ry + $2)) "$3" "$4" >/dev/null \
            || fail "$name: the $5 text of the first row is hard to read: $(python3 "$here/contrast.py" "$shot" $((lx + $1)) $((ry + $2)) "$3" "$4")"
    done
    e2e_quit "$window"
}

show usd 1 usd-light
show chf 2 chf-dark
show large 1 large-light
e2e_start_wm
show usd 2 usd-dark-wm
show chf 1 chf-light-wm
show large 2 large-dark-wm
echo "PASS"
