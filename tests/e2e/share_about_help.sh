#!/usr/bin/env bash
# The title bar's share, about and help buttons on the real window, with a stand-in for
# xdg-open first on PATH that writes down every address it is given:
#   1. no window manager, light: the share menu opens below its button and Escape closes it; a
#      second press on the button closes it too. "Report an Issue ..." hands the mail program a
#      mailto: address whose subject and body (read back as a mail program reads them) are the
#      report's; "Feature request" one with its own subject and no body; "Copy" opens nothing.
#      The about sheet shows centred on the window, its texts read clearly, the window takes no
#      press while it is up, and Close ends it. Help opens the manual
#      offer: a second press closes it, Cancel opens nothing, Yes opens the manual.
#      When the stand-in finds no program for an address (as xdg-open does without a browser or
#      a mail program), a message at the asking button says so and shows the address.
#   2. with openbox, dark: the about sheet reads clearly and closes; the issue report goes out
#      once more. Without any xdg-open, Yes on the manual offer is answered by the message.
# Screenshots: share-menu-light.png, about-{light,dark-wm}.png, help-light.png,
# not-opened-{light,dark-wm}.png.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e_lib.sh"
binary=$1
shots=$2
# The buttons' centres from the window's right edge (20 from its top).
share_from_right=126
about_from_right=84
help_from_right=256

e2e_setup || exit 1
python3 "$here/household.py" "$HOME/mervane.json" --years 2 --assets 4 --liabilities 2
e2e_write_text_settings mcmain "{{100, 50}, {1200, 800}}" SelectedAppearance 1
opened="$HOME/opened.txt"
mkdir -p "$HOME/bin"
# stand_in_opener <exit code>: the stand-in writes the address down and ends with that code (3:
# as xdg-open does when no program handles the address).
stand_in_opener() {
    printf '#!/bin/sh\nprintf "%%s\\n" "$1" >>"$HOME/opened.txt"\nexit %s\n' "$1" >"$HOME/bin/xdg-open"
    chmod +x "$HOME/bin/xdg-open"
}
stand_in_opener 0
export PATH="$HOME/bin:$PATH"
unset BROWSER DEFAULT_BROWSER

# press <from right>: clicks a title-bar button.
press() {
    xdotool mousemove $((wx + ww - $1)) $((wy + 20)) click 1
}

# opened_count: how many addresses the stand-in was given.
opened_count() {
    if [ -f "$opened" ]; then wc -l <"$opened"; else echo 0; fi
}

# manual_yes: answers Yes to the manual offer.
manual_yes() {
    local ox oy ow oh offer
    press $help_from_right
    offer=$(e2e_popover_window "$window") || fail "help did not offer the manual"
    sleep 0.5
    read -r ox oy ow oh <<<"$(absolute_geometry "$offer")"
    xdotool mousemove $((ox + ow - 69)) $((oy + oh - 35)) click 1
}

# not_opened_message <shot>: waits for the message that nothing opened the address, keeps a
# screenshot and closes it with Escape.
not_opened_message() {
    e2e_wait_window '^Mervane message$' >/dev/null || fail "no message said that nothing opened the address ($1)"
    sleep 0.4
    e2e_screenshot "$shots/$1"
    xdotool key Escape
    e2e_popover_gone "$window" || fail "Escape left the message open ($1)"
}

# has_opened <count>: whether the stand-in has been given that many addresses.
has_opened() {
    [ "$(opened_count)" -ge "$1" ]
}

# wait_opened <count>: waits until the stand-in has been given that many addresses.
wait_opened() {
    e2e_wait_for has_opened "$1"
}

# share_item <n> <what>: opens the share menu and chooses its n-th item by keyboard.
share_item() {
    local menu
    press $share_from_right
    menu=$(e2e_popover_window "$window") || fail "the share menu did not open ($2)"
    sleep 0.3
    for _ in $(seq 1 "$1"); do xdotool key Down; done
    xdotool key Return
    e2e_popover_gone "$window" || fail "the share menu stayed open after $2"
}

# check_mail <address> <kind>: reads a mailto: address as a mail program does (RFC 6068) and
# checks it against what the kind of mail must hold.
check_mail() {
    python3 - "$1" "$2" <<'PY' || fail "the $2 mail is not right: $1"
import re, sys
from urllib.parse import unquote
url, kind = sys.argv[1], sys.argv[2]
assert url.startswith("mailto:"), "not a mailto: address"
assert "#" not in url, "a fragment"
to, _, query = url[len("mailto:"):].partition("?")
recipients = [unquote(a) for a in to.split(",")]
fields = [f.partition("=") for f in query.split("&")] if query else []
names = [unquote(n) for n, _, _ in fields]
values = {unquote(n): unquote(v) for n, _, v in fields}
version = r"\d+\.\d+\.\d+"
if kind == "issue":
    assert recipients == ["support@mervane.app", "bugs@mervane.app"], recipients
    assert names == ["subject", "body"], names
    assert re.fullmatch(r"Issue Report: Mervane 2 - " + version, values["subject"]), values["subject"]
    body = values["body"]
    assert "\n" not in body.replace("\r\n", ""), "a line break that is not CRLF"
    lines = body.split("\r\n")
    assert lines[:16] == ["What I did:", "", "", "", "", "What happened:", "", "", "", "",
                          "What I expected:", "", "", "", "", "Diagnostics:"], lines[:16]
    assert lines[16] == "-" * 47, lines[16]
    assert re.fullmatch(r"Linux \d+\.\d+\.\d+", lines[17]), lines[17]
    assert lines[18].startswith("SystemInfo: ") and len(lines[18]) > 12, lines[18]
    assert re.fullmatch(r"RAM: \d+\.\d GB", lines[19]), lines[19]
    assert re.fullmatch(r"Screen: .+ 1440x900 .+", lines[20]), lines[20]
    assert lines[21:] == [""], lines[21:]
else:
    assert recipients == ["info@mervane.app"], recipients
    assert names == ["subject"], names
    assert re.fullmatch(r"Mervane " + version + r" for Mac - feature request", values["subject"]), values
PY
}

# absolute_geometry <window id>: "x y w h" of the window's contents on the screen.
absolute_geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
        /Width:/ { w = $NF } /Height:/ { h = $NF } END { print x, y, w, h }'
}

# sheet_geometry: "x y w h" of the shown about sheet.
sheet_geometry() {
    local id
    id=$(e2e_wait_window '^About Mervane$') || return 1
    sleep 0.4 # placed and painted
    absolute_geometry "$id"
}

# about_sheet <name>: opens the about sheet, keeps a screenshot, checks that it is centred on
# the window and that its name, version and link read clearly, then closes it with Close.
about_sheet() {
    local sx sy sw sh shot="$shots/about-$1.png"
    press $about_from_right
    read -r sx sy sw sh <<<"$(sheet_geometry)" || fail "the about sheet did not open ($1)"
    [ -n "${sh:-}" ] || fail "the about sheet did not open ($1)"
    [ $(( (sx + sw / 2) - (wx + ww / 2) )) -ge -3 ] && [ $(( (sx + sw / 2) - (wx + ww / 2) )) -le 3 ] \
        || fail "the about sheet is not centred on the window ($1: $sx $sy $sw $sh)"
    e2e_screenshot "$shot"
    python3 "$here/contrast.py" "$shot" $((sx + sw / 2 - 60)) $((sy + 138)) 120 22 \
        || fail "the application's name does not read clearly ($1)"
    python3 "$here/contrast.py" "$shot" $((sx + sw / 2 - 50)) $((sy + 168)) 100 14 \
        || fail "the version does not read clearly ($1)"
    python3 "$here/contrast.py" "$shot" $((sx + sw / 2 - 40)) $((sy + 199)) 80 14 \
        || fail "the link does not read clearly ($1)"
    # Window-modal: a press on the share button opens nothing while the sheet is up.
    press $share_from_right
    sleep 0.6
    [ "$(xdotool search --onlyvisible --pid "$E2E_APP_PID" | wc -l)" -eq 2 ] \
        || fail "the window took a press while the about sheet was up ($1)"
    xdotool mousemove $((sx + sw / 2)) $((sy + sh - 31)) click 1
    e2e_popover_gone "$window" || fail "Close left the about sheet open ($1)"
}

# 1. Without a window manager, light.
e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || exit 1
read -r wx wy ww wh <<<"$(e2e_window_geometry "$window")"
sleep 1

press $share_from_right
menu=$(e2e_popover_window "$window") || fail "the share menu did not open"
sleep 0.3
read -r mx my _ _ <<<"$(e2e_window_geometry "$menu")"
[ "$my" -ge $((wy + 30)) ] && [ "$my" -le $((wy + 36)) ] || fail "the share menu is not below its button (y $my)"
e2e_screenshot "$shots/share-menu-light.png"
xdotool key Escape
e2e_popover_gone "$window" || fail "Escape left the share menu open"
press $share_from_right
e2e_popover_window "$window" >/dev/null || fail "the share menu did not open again"
sleep 0.3
press $share_from_right
sleep 0.5
e2e_popover_gone "$window" || fail "a second press on share left the menu open"

share_item 2 "Report an Issue ..."
wait_opened 1 || fail "Report an Issue ... opened nothing"
check_mail "$(sed -n 1p "$opened")" issue
share_item 3 "Feature request"
wait_opened 2 || fail "Feature request opened nothing"
check_mail "$(sed -n 2p "$opened")" feature
share_item 1 "Copy"
sleep 0.3
[ "$(opened_count)" -eq 2 ] || fail "Copy opened an address"

about_sheet light

press $help_from_right
offer=$(e2e_popover_window "$window") || fail "help did not offer the manual"
sleep 0.5
e2e_screenshot "$shots/help-light.png"
press $help_from_right
e2e_popover_gone "$window" || fail "a second press on help left the offer open"
for answer in cancel yes; do
    press $help_from_right
    offer=$(e2e_popover_window "$window") || fail "help did not offer the manual ($answer)"
    sleep 0.5
    read -r ox oy ow oh <<<"$(absolute_geometry "$offer")"
    # The two buttons sit at the offer's bottom right (inside the arrow's margin), Yes last.
    if [ $answer = cancel ]; then
        xdotool mousemove $((ox + ow - 155)) $((oy + oh - 35)) click 1
    else
        xdotool mousemove $((ox + ow - 69)) $((oy + oh - 35)) click 1
    fi
    e2e_popover_gone "$window" || fail "the offer stayed open after $answer"
done
wait_opened 3 || fail "Yes did not open the manual"
[ "$(sed -n 3p "$opened")" = "https://mervane.app/manual/Mervane.pdf" ] \
    || fail "help opened $(sed -n 3p "$opened") for the manual"
[ "$(opened_count)" -eq 3 ] || fail "Cancel opened an address: $(cat "$opened")"

stand_in_opener 3
manual_yes
wait_opened 4 || fail "Yes did not hand the manual to xdg-open"
not_opened_message not-opened-light.png
# The menu gives way to the message.
press $share_from_right
e2e_popover_window "$window" >/dev/null || fail "the share menu did not open (no mail program)"
sleep 0.3
xdotool key Down Down Down Return
wait_opened 5 || fail "Feature request did not hand the mail to xdg-open"
not_opened_message not-opened-mail-light.png
stand_in_opener 0
e2e_quit "$window"

# 2. With openbox, dark.
e2e_update_text_setting SelectedAppearance 2
e2e_start_wm
e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || exit 1
sleep 1
read -r wx wy ww wh <<<"$(e2e_window_geometry "$window")"
about_sheet dark-wm
share_item 2 "Report an Issue ... (with a window manager)"
wait_opened 6 || fail "Report an Issue ... opened nothing with a window manager"
check_mail "$(sed -n 6p "$opened")" issue
rm "$HOME/bin/xdg-open"
manual_yes
not_opened_message not-opened-dark-wm.png
e2e_quit "$window"
echo "PASS"
