#!/usr/bin/env bash
# The window as a user meets it: the start-up message about an unreadable data file lies
# wholly on the screen whether the window fills the screen or is tiled to its right half,
# Escape in the main window or a click into it dismisses it, the window carries the application's icon, and
# dark appearance and a doubled scale factor paint (screenshots kept for a look by eye).
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e_lib.sh"
binary=$1
shots=$2
screen_w=1440
screen_h=900
arrow=12 # the popover window's margin for its arrow, on every side

e2e_setup || exit 1
printf '{"nw_logs": [ {"year": 2021, "month": 12, "nw": ' >"$HOME/mervane.json"

# message_gone: waits until no message popover is visible.
message_gone() {
    for _ in $(e2e_polls 5); do
        xdotool search --onlyvisible --name '^Mervane message$' >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    return 1
}


for placement in full right; do
    case $placement in
    full) frame="{{0, 0}, {$screen_w, $screen_h}}" ;;
    right) frame="{{$((screen_w / 2)), 0}, {$((screen_w / 2)), $screen_h}}" ;;
    esac
    e2e_write_text_settings mcmain "$frame" SelectedAppearance 1
    e2e_start "$binary"
    window=$(e2e_wait_window '^Mervane$') || exit 1
    message=$(e2e_wait_window '^Mervane message$') || fail "$placement: no message popover"
    e2e_screenshot_painted "$shots/window-message-$placement.png" || fail "no screenshot"
    read -r mx my mw mh <<<"$(e2e_window_geometry "$message")"
    echo "$placement: message at $mx $my ${mw}x$mh"
    # The panel fades in; under load the first painted screen may not show it yet.
    for _ in $(e2e_polls 5); do
        colours=$(convert "$shots/window-message-$placement.png" -crop "${mw}x${mh}+${mx}+${my}" +repage \
            -format '%k' info:)
        [ "$colours" -gt 8 ] && break
        sleep 0.1
        e2e_screenshot "$shots/window-message-$placement.png"
    done
    [ "$mx" -ge 0 ] && [ "$my" -ge 0 ] && [ $((mx + mw)) -le $screen_w ] && [ $((my + mh)) -le $screen_h ] \
        || fail "$placement: the message popover at $mx,$my ${mw}x$mh is not inside the screen"

    # Escape in the main window, or a click into it, dismisses the message; what disappears
    # from the screen is the whole panel, not a sliver of it.
    xdotool windowfocus --sync "$window"
    if [ "$placement" = full ]; then
        xdotool key --clearmodifiers Escape
        message_gone || fail "$placement: Escape in the main window left the message open"
    else
        xdotool mousemove --window "$window" 300 500 click 1
        message_gone || fail "$placement: a click into the main window left the message open"
    fi
    e2e_screenshot "$shots/window-message-$placement-closed.png"
    region="${mw}x${mh}+${mx}+${my}"
    convert "$shots/window-message-$placement.png" -crop "$region" +repage "$E2E_HOME/with.png"
    convert "$shots/window-message-$placement-closed.png" -crop "$region" +repage "$E2E_HOME/without.png"
    compare -metric AE -fuzz 2% "$E2E_HOME/with.png" "$E2E_HOME/without.png" \
        -compose src -highlight-color white -lowlight-color black "$E2E_HOME/diff.png" 2>/dev/null
    read -r dw dh <<<"$(convert "$E2E_HOME/diff.png" -trim -format '%w %h' info:)"
    [ "$dw" -ge $((mw - 2 * arrow - 4)) ] && [ "$dh" -ge $((mh - 2 * arrow - 4)) ] \
        || fail "$placement: only ${dw}x$dh of the ${mw}x$mh message was on the screen"
    cmp -s "$HOME/mervane.json" <(printf '{"nw_logs": [ {"year": 2021, "month": 12, "nw": ') \
        || fail "the data file changed"
    e2e_quit "$window"
done

# Dark appearance, with the application's icon on the window.
e2e_write_text_settings mcmain "{{200, 100}, {1000, 680}}" SelectedAppearance 2
e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || exit 1
e2e_wait_window '^Mervane message$' >/dev/null || fail "dark: no message popover"
e2e_screenshot_painted "$shots/window-dark.png" || fail "no dark screenshot"
icon=$(xprop -id "$window" _NET_WM_ICON | head -c 200)
case $icon in
*"not found"* | *"no such"* | "") fail "the window has no icon: $icon" ;;
esac
read -r wx wy _ _ <<<"$(e2e_window_geometry "$window")"
lightness=$(convert "$shots/window-dark.png" -format "%[fx:int(255*p{$((wx + 500)),$((wy + 400))}.lightness)]" info:)
[ "$lightness" -lt 100 ] || fail "the dark window's content is light ($lightness)"
e2e_quit "$window"

# Twice the scale: the window and its icons paint at the doubled size.
rm "$HOME/mervane.json"
e2e_write_text_settings SelectedAppearance 1
QT_SCALE_FACTOR=2 e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || exit 1
e2e_screenshot_painted "$shots/window-scale-2.png" || fail "no screenshot at scale 2"
read -r _ _ ww wh <<<"$(e2e_window_geometry "$window")"
[ "$ww" -le $screen_w ] && [ "$wh" -le $screen_h ] || fail "at scale 2 the window is ${ww}x$wh, larger than the screen"
e2e_quit "$window"
echo "PASS"
