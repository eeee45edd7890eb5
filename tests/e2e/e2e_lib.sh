# Shared helpers for the end-to-end tests: a private X server, a private home,
# and the application started in it.

# e2e_polls <seconds>: the steps of a wait of <seconds> that polls every 0.1 s, times the test's
# time factor (E2E_TIME_SCALE, which ctest sets): a busy or slow machine gets longer to show what a
# test waits for, and a test that sees it sooner goes on at once.
e2e_polls() {
    seq 1 $(($1 * 10 * ${E2E_TIME_SCALE:-1}))
}

# Ends the test with its reason.
fail() {
    echo "FAIL: $*"
    exit 1
}

e2e_setup() {
    E2E_HOME=$(mktemp -d)
    export HOME="$E2E_HOME" XDG_CONFIG_HOME="$E2E_HOME/.config" XDG_DATA_HOME="$E2E_HOME/.local/share"
    export XDG_CACHE_HOME="$E2E_HOME/.cache" XDG_RUNTIME_DIR="$E2E_HOME/runtime"
    mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    unset QT_QPA_PLATFORM WAYLAND_DISPLAY XDG_SESSION_TYPE
    # The dashboard's welcome panel would stand over what the scripts click; the one script
    # that tests it removes this setting.
    e2e_write_text_settings

    trap e2e_teardown EXIT
    # Several tests start their servers at once: a server that does not answer is
    # replaced by a new one rather than handed to the application.
    local attempt
    for attempt in 1 2 3; do
        e2e_start_xvfb && return 0
        echo "X server attempt $attempt did not answer" >&2
        cat "$E2E_HOME/xvfb.log" >&2
    done
    return 1
}

# e2e_start_xvfb: starts a private X server and waits until it accepts clients.
e2e_start_xvfb() {
    local fdfile="$E2E_HOME/display"
    [ -n "${E2E_XVFB_PID:-}" ] && kill "$E2E_XVFB_PID" 2>/dev/null
    rm -f "$fdfile"
    Xvfb -displayfd 3 -noreset -screen 0 1440x900x24 -nolisten tcp 3>"$fdfile" 2>"$E2E_HOME/xvfb.log" &
    E2E_XVFB_PID=$!
    for _ in $(e2e_polls 10); do
        [ -s "$fdfile" ] && break
        sleep 0.1
    done
    [ -s "$fdfile" ] || return 1
    export DISPLAY=":$(head -n1 "$fdfile")"
    for _ in $(e2e_polls 5); do
        xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

# e2e_start_wm: starts openbox on the private X server and waits until it manages the
# screen (the tests that look at dialogs run once without and once with a window manager).
e2e_start_wm() {
    command -v openbox >/dev/null || fail "openbox is not installed"
    openbox --sm-disable >"$E2E_HOME/openbox.log" 2>&1 &
    E2E_WM_PID=$!
    for _ in $(e2e_polls 10); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && return 0
        sleep 0.1
    done
    cat "$E2E_HOME/openbox.log" >&2
    fail "openbox did not start"
}

e2e_teardown() {
    [ -n "${E2E_APP_PID:-}" ] && kill "$E2E_APP_PID" 2>/dev/null
    [ -n "${E2E_WM_PID:-}" ] && kill "$E2E_WM_PID" 2>/dev/null
    [ -n "${E2E_XVFB_PID:-}" ] && kill "$E2E_XVFB_PID" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$E2E_HOME"
}

# e2e_start <binary>: starts the application; its pid is in E2E_APP_PID.
e2e_start() {
    "$1" >"$E2E_HOME/app.log" 2>&1 &
    E2E_APP_PID=$!
}

# The application's main window is mapped with its bare frame; its content waits for the
# keychain's answer, which on a desktop comes up to a second later. Waits for this window wait
# for its content.
e2e_main_window='^Mervane$'

# e2e_wait_window <name pattern>: prints the id of the first visible window so named (the main
# window once it shows its content).
e2e_wait_window() {
    local id="" shot="$E2E_HOME/wait-window.png"
    for _ in $(e2e_polls 30); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 || true)
        if [ -n "$id" ] && { [ "$1" != "$e2e_main_window" ] \
            || { e2e_screenshot "$shot" 2>/dev/null && e2e_window_painted "$shot" "$id"; }; }; then
            echo "$id"
            return 0
        fi
        kill -0 "$E2E_APP_PID" 2>/dev/null || { echo "the application exited early" >&2; cat "$E2E_HOME/app.log" >&2; return 1; }
        sleep 0.1
    done
    if [ -n "$id" ]; then
        echo "the window '$1' showed only its frame" >&2
    else
        echo "no window named '$1' appeared" >&2
    fi
    cat "$E2E_HOME/app.log" >&2
    return 1
}

# e2e_window_painted <screenshot> <window id>: whether the screenshot shows more of the window
# than its frame and background: below its top quarter (a title strip), its inside holds more
# than one colour.
e2e_window_painted() {
    local x y w h colours
    read -r x y <<<"$(e2e_client_origin "$2" 2>/dev/null)"
    read -r _ _ w h <<<"$(e2e_window_geometry "$2" 2>/dev/null)"
    [ -n "$h" ] || return 1
    [ "$x" -lt 0 ] && { w=$((w + x)); x=0; }
    [ "$y" -lt 0 ] && { h=$((h + y)); y=0; }
    [ "$w" -gt 16 ] && [ "$h" -gt 16 ] || return 1
    # A 4-pixel edge is left out: the window draws its border lines there.
    colours=$(convert "$1" -crop "$((w - 8))x$((h * 3 / 4 - 4))+$((x + 4))+$((y + h / 4))" +repage \
        -format '%k' info: 2>/dev/null)
    [ "${colours:-0}" -gt 1 ]
}

# e2e_screenshot <file>: the whole screen as PNG.
e2e_screenshot() {
    mkdir -p "$(dirname "$1")"
    import -display "$DISPLAY" -window root "$1"
}

# e2e_screenshot_painted <file> [<check> [<argument>...]]: waits until the screen shows the main
# window's content, not only its frame (without a main window: anything but one colour), and,
# with a check, until `<check> <file> <argument>...` succeeds on the screenshot (the content the
# test is about); then keeps that screenshot.
e2e_screenshot_painted() {
    local file=$1 window spread
    shift
    for _ in $(e2e_polls 10); do
        e2e_screenshot "$file" || return 1
        window=$(xdotool search --onlyvisible --name "$e2e_main_window" 2>/dev/null | head -n1)
        if [ -n "$window" ]; then
            e2e_window_painted "$file" "$window"
        else
            spread=$(convert "$file" -format '%[fx:standard_deviation]' info: 2>/dev/null || echo 0)
            [ "$spread" != "0" ]
        fi && { [ $# = 0 ] || "$1" "$file" "${@:2}"; } && return 0
        sleep 0.1
    done
    echo "the screen did not show the window's content${1:+ that passes '$*'}" >&2
    return 1
}

# e2e_wait_exit <seconds>: waits for the application to end; returns its exit code.
# e2e_wait_for <command...>: polls until the command succeeds, for at most ten seconds
# (E2E_WAIT_SECONDS, when set).
e2e_wait_for() {
    for _ in $(e2e_polls "${E2E_WAIT_SECONDS:-10}"); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

e2e_wait_exit() {
    local rc
    for _ in $(e2e_polls "$1"); do
        kill -0 "$E2E_APP_PID" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$E2E_APP_PID" 2>/dev/null; then
        echo "the application did not quit" >&2
        return 124
    fi
    wait "$E2E_APP_PID"; rc=$?
    E2E_APP_PID=""
    return $rc
}

# e2e_settings_file: the application's settings file in the private home.
e2e_settings_file() {
    echo "$XDG_CONFIG_HOME/Mervane/Mervane.cbor"
}

# e2e_write_text_settings <key> <text> [<key> <text> ...]: replaces the settings file by
# one holding these text values (and "ShowStartForm" false, unless E2E_WELCOME_PANEL is 1).
e2e_write_text_settings() {
    mkdir -p "$(dirname "$(e2e_settings_file)")"
    printf '\xa0' >"$(e2e_settings_file)" # an empty map
    [ "${E2E_WELCOME_PANEL:-0}" = 1 ] || e2e_update_text_setting ShowStartForm false
    while [ $# -ge 2 ]; do
        e2e_update_text_setting "$1" "$2"
        shift 2
    done
}

# e2e_setting_text <key>: prints the value stored under key: a text, a number, or true or false
# (nothing when absent).
e2e_setting_text() {
    e2e_settings_tool get "$1"
}

# e2e_update_text_setting <key> <text>: sets one key to a text and keeps the others.
e2e_update_text_setting() {
    e2e_settings_tool set "$1" "$2"
}

# e2e_remove_setting <key>: takes one key out of the settings file.
e2e_remove_setting() {
    e2e_settings_tool del "$1"
}

# e2e_settings_tool <get|set|del|get-json|set-json> <key> [text or JSON]: reads, changes or removes
# one key of the settings file. In JSON a date-time is {"$date": "<ISO 8601>"}.
e2e_settings_tool() {
    python3 - "$(e2e_settings_file)" "$@" <<'PY'
import json, struct, sys
path, command, key = sys.argv[1], sys.argv[2], sys.argv[3]
data = open(path, "rb").read()
pos = 0
class Tagged:
    def __init__(self, tag, value): self.tag, self.value = tag, value
def read():
    global pos
    first = data[pos]; pos += 1
    major, info = first >> 5, first & 31
    if major == 7:
        if info == 25: pos += 2; return None
        if info == 26: v = struct.unpack(">f", data[pos:pos+4])[0]; pos += 4; return v
        if info == 27: v = struct.unpack(">d", data[pos:pos+8])[0]; pos += 8; return v
        return {20: False, 21: True}.get(info)
    n = info
    if info >= 24:
        size = 1 << (info - 24)
        n = int.from_bytes(data[pos:pos+size], "big"); pos += size
    if major == 0: return n
    if major == 1: return -1 - n
    if major in (2, 3):
        v = data[pos:pos+n]; pos += n
        return v.decode("utf-8") if major == 3 else v
    if major == 4: return [read() for _ in range(n)]
    if major == 5: return {read(): read() for _ in range(n)}
    if major == 6: return Tagged(n, read())
def head(major, n):
    if n < 24: return bytes([major << 5 | n])
    for info, size in ((24, 1), (25, 2), (26, 4), (27, 8)):
        if n < 1 << (8 * size): return bytes([major << 5 | info]) + n.to_bytes(size, "big")
def write(v):
    if isinstance(v, Tagged): return head(6, v.tag) + write(v.value)
    if v is None: return b"\xf6"
    if v is True: return b"\xf5"
    if v is False: return b"\xf4"
    if isinstance(v, int): return head(0, v) if v >= 0 else head(1, -1 - v)
    if isinstance(v, float): return b"\xfb" + struct.pack(">d", v)
    if isinstance(v, str): b = v.encode("utf-8"); return head(3, len(b)) + b
    if isinstance(v, bytes): return head(2, len(v)) + v
    if isinstance(v, list): return head(4, len(v)) + b"".join(write(x) for x in v)
    if isinstance(v, dict): return head(5, len(v)) + b"".join(write(k) + write(x) for k, x in v.items())
root = read() if data else {}
if command == "set":
    root[key] = sys.argv[4]
    open(path, "wb").write(write(root))
elif command == "set-json":
    root[key] = json.loads(sys.argv[4], object_hook=lambda o: Tagged(0, o["$date"]) if list(o) == ["$date"] else o)
    open(path, "wb").write(write(root))
elif command == "get-json":
    date = lambda v: {"$date": v.value} if isinstance(v, Tagged) and v.tag == 0 else None
    print(json.dumps(root.get(key) if isinstance(root, dict) else None, default=date))
elif command == "del":
    root.pop(key, None)
    open(path, "wb").write(write(root))
else:
    value = root.get(key) if isinstance(root, dict) else None
    if isinstance(value, Tagged): value = value.value
    if isinstance(value, bool):
        print("true" if value else "false")
    elif isinstance(value, (str, int, float)):
        print(value)
PY
}

# e2e_window_geometry <window id>: prints "x y width height".
e2e_window_geometry() {
    xdotool getwindowgeometry --shell "$1" | awk -F= '
        $1 == "X" { x = $2 } $1 == "Y" { y = $2 } $1 == "WIDTH" { w = $2 } $1 == "HEIGHT" { h = $2 }
        END { print x, y, w, h }'
}

# e2e_client_origin <window id>: "x y" of the window's contents on the screen (a window
# manager's frame left out).
e2e_client_origin() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
        END { print x, y }'
}

# e2e_wait_geometry <window id> <"x y width height">: waits until the window has it.
e2e_wait_geometry() {
    local now=""
    for _ in $(e2e_polls 10); do
        now=$(e2e_window_geometry "$1")
        [ "$now" = "$2" ] && return 0
        sleep 0.1
    done
    echo "window geometry is '$now', expected '$2'" >&2
    return 1
}

# e2e_user_time <window>: the window's _NET_WM_USER_TIME, the time of the last press or key the
# application had in it (kept on the window that _NET_WM_USER_TIME_WINDOW names, when set).
e2e_user_time() {
    local holder
    holder=$(xprop -id "$1" _NET_WM_USER_TIME_WINDOW 2>/dev/null | grep -o '0x[0-9a-f]*')
    xprop -id "${holder:-$1}" _NET_WM_USER_TIME 2>/dev/null | awk '/=/ { print $NF }'
}

# e2e_double_click <window> <x> <y> [<dx1> <dy1> <dx2> <dy2>]: a double click at x y in the
# window; with offsets, the mouse moves by the first while the first click's button is down and
# by the second during the second click. A window manager holds each press on a window in its
# click grab until it has focused and raised the window, and the X server can lose a release and
# a press that come in meanwhile: the second click follows once the application has the first
# press.
e2e_double_click() {
    local window=$1 before first=(mouseup 1 mousedown 1) second=(mouseup 1)
    if [ $# -ge 7 ]; then
        first=(mousemove_relative -- "$4" "$5" mouseup 1 mousedown 1)
        second=(mousemove_relative -- "$6" "$7" mouseup 1)
    fi
    before=$(e2e_user_time "$window")
    xdotool mousemove --window "$window" "$2" "$3" mousedown 1
    # Polled without the usual 0.1 s pause: the second press must follow within the double-click
    # interval.
    for _ in $(e2e_polls 20); do
        [ "$(e2e_user_time "$window")" != "$before" ] && { xdotool "${first[@]}" "${second[@]}"; return 0; }
        sleep 0.01
    done
    xdotool mouseup 1
    echo "the application did not get the first press of a double click" >&2
    return 1
}

# e2e_wm_state <window>: the window manager's state of the window: Normal or Iconic.
e2e_wm_state() {
    xprop -id "$1" WM_STATE 2>/dev/null | awk '/window state:/ { print $3 }'
}

# e2e_in_wm_state <window> <state>: succeeds while the window is in that state.
e2e_in_wm_state() {
    [ "$(e2e_wm_state "$1")" = "$2" ]
}

# e2e_popover_window <main window>: prints the id of the application's visible window that is
# not the main one (an open popover), waiting for it to appear.
e2e_popover_window() {
    local id h
    for _ in $(e2e_polls 5); do
        for id in $(xdotool search --onlyvisible --pid "$E2E_APP_PID" 2>/dev/null); do
            [ "$id" = "$1" ] && continue
            # A tool tip (a button under the pointer) is a window of its own, one line high.
            h=$(xdotool getwindowgeometry --shell "$id" 2>/dev/null | awk -F= '$1 == "HEIGHT" { print $2 }')
            [ "${h:-0}" -le 40 ] && continue
            echo "$id"
            return 0
        done
        sleep 0.1
    done
    return 1
}

# e2e_popover_gone <main window>: waits until the main window is the application's only
# visible window.
e2e_popover_gone() {
    for _ in $(e2e_polls 5); do
        xdotool search --onlyvisible --pid "$E2E_APP_PID" 2>/dev/null | grep -qv "^$1\$" || return 0
        sleep 0.1
    done
    return 1
}

# e2e_menu_open: succeeds while the application shows a menu: a window no window manager
# manages, taller than a tool tip.
e2e_menu_open() {
    local id h
    for id in $(xdotool search --onlyvisible --pid "$E2E_APP_PID" 2>/dev/null); do
        xwininfo -id "$id" 2>/dev/null | grep -q 'Override Redirect State: yes' || continue
        h=$(xdotool getwindowgeometry --shell "$id" 2>/dev/null | awk -F= '$1 == "HEIGHT" { print $2 }')
        [ "${h:-0}" -gt 40 ] && return 0
    done
    return 1
}

e2e_menu_closed() {
    ! e2e_menu_open
}

# e2e_quit <main window>: Ctrl+Q in the main window; fails the test unless the application
# quits cleanly.
e2e_quit() {
    xdotool windowfocus --sync "$1"
    xdotool key --clearmodifiers ctrl+q
    e2e_wait_exit 20 || fail "Ctrl+Q did not quit cleanly"
}

# e2e_document_item <main window> <n>: opens the document menu (its button's centre is 170
# points from the window's right edge, 20 from its top) and chooses its n-th item.
e2e_document_item() {
    local wx wy ww wh
    # A message still shown from the last command closes first; a click would only close it.
    e2e_popover_gone "$1" || { xdotool key Escape; e2e_popover_gone "$1"; } || fail "a popover stays open"
    read -r wx wy ww wh <<<"$(e2e_window_geometry "$1")"
    xdotool mousemove $((wx + ww - 170)) $((wy + 20)) click 1
    e2e_wait_for e2e_menu_open || fail "the document menu did not open"
    for _ in $(seq 1 "$2"); do xdotool key Down; done
    xdotool key Return
    # Until the menu has gone, it would pass for the panel the item opens.
    e2e_wait_for e2e_menu_closed || fail "the document menu stayed open"
}

# e2e_close_message <main window> <what>: waits for the message a command ends with ("...
# successfully exported"), closes it with Escape and waits until the keyboard is back in the
# main window. Until the message shows, the command may still be running: a click on the window
# would only close the message.
e2e_close_message() {
    e2e_wait_window '^Mervane message$' >/dev/null || fail "$2 ended without its message"
    xdotool key Escape
    e2e_popover_gone "$1" || fail "the message after $2 stayed open"
    e2e_keyboard_back "$1" "the message after $2"
}

# e2e_in_file_panel <title pattern> <path or "">: waits for the file panel; types the path and
# Return, or Escape without one. The panel must close.
e2e_in_file_panel() {
    local panel
    panel=$(e2e_wait_window "$1") || fail "no file panel '$1' appeared"
    xdotool windowfocus --sync "$panel"
    sleep 0.3
    if [ -n "$2" ]; then
        xdotool key ctrl+a
        xdotool type --delay 10 "$2"
        xdotool key Return
    else
        xdotool key Escape
    fi
    for _ in $(e2e_polls 5); do
        xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    fail "the file panel '$1' stayed open"
}

# e2e_colour_box <screenshot> <colour> <x> <y> <width> <height> [fuzz %]: "<width> <height> <x>
# <y>" (on the screen) of what in that region of the screenshot holds the colour, or nothing.
e2e_colour_box() {
    convert "$1" -crop "$5x$6+$3+$4" +repage -fill black -fuzz "${7:-8}%" +opaque "$2" -trim \
        -format '%w %h %X %Y' info: 2>/dev/null | awk -v x="$3" -v y="$4" '$1 > 1 { print $1, $2, $3 + x, $4 + y }'
}

# e2e_sidebar_button <main window> <n>: clicks the sidebar's n-th button (0: the dashboard).
e2e_sidebar_button() {
    local wx wy ww wh
    read -r wx wy ww wh <<<"$(e2e_window_geometry "$1")"
    xdotool mousemove $((wx + 36)) $((wy + 82 + $2 * 59)) click 1
}

# e2e_save_record_through_editor <window> <value>: a save as a user makes one. The record
# list's add button (118 points left of the list's right edge, which is 72 + 340 points from
# the window's left) opens the editor, <value> goes into the first row, and Save (the editor's
# bottom-right button, inside its 12-point arrow margin) writes the record. Fails the test
# unless the data file then holds <value> in a new file put in place.
e2e_save_record_through_editor() {
    local window=$1 value=$2 wx wy ww wh px py pw ph editor inode_before
    read -r wx wy ww wh <<<"$(e2e_window_geometry "$window")"
    inode_before=$(stat -c %i "$HOME/mervane.json")
    xdotool mousemove $((wx + 72 + 340 - 118 + 11)) $((wy + wh - 9 - 11)) click 1
    editor=$(e2e_popover_window "$window") || fail "the add button opened no editor"
    sleep 0.5
    read -r px py pw ph <<<"$(e2e_window_geometry "$editor")"
    xdotool type --delay 30 "$value"
    xdotool key Tab
    sleep 0.3
    xdotool mousemove $((px + pw - 12 - 16 - 40)) $((py + ph - 12 - 14 - 12)) click 1
    e2e_wait_for grep -q "$value" "$HOME/mervane.json" || fail "Save wrote no record"
    [ "$(stat -c %i "$HOME/mervane.json")" != "$inode_before" ] || fail "the save did not put a new file in place"
}

# e2e_keyboard_in <window>: succeeds while that window has the X input focus.
e2e_keyboard_in() {
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]
}

# e2e_keyboard_back <window> <what>: waits until the window has the keyboard; fails the test
# unless it does.
e2e_keyboard_back() {
    e2e_wait_for e2e_keyboard_in "$1" || fail "after $2 the keyboard is in $(xdotool getwindowfocus 2>&1), not in window $1"
}

# e2e_stacking: the ids (hexadecimal) of the screen's top-level windows from the bottom up: as
# the window manager stacks them, or, without one, as the X server does.
e2e_stacking() {
    local managed
    managed=$(xprop -root _NET_CLIENT_LIST_STACKING 2>/dev/null | grep -o '0x[0-9a-f]*')
    if [ -n "$managed" ]; then
        echo $managed
    else
        # xwininfo lists the root's children from the top down.
        echo $(xwininfo -root -children | awk '$1 ~ /^0x/ { print $1 }' | tac)
    fi
}

# e2e_stacked <window>...: succeeds while each window is stacked above the one before it.
e2e_stacked() {
    local stack id place last=0
    stack=$(e2e_stacking | tr ' ' '\n')
    for id in "$@"; do
        place=$(grep -nx "$(printf '0x%x' "$id")" <<<"$stack" | cut -d: -f1)
        [ -n "$place" ] && [ "$place" -gt "$last" ] || return 1
        last=$place
    done
}

# The keyboard walk: the main window's id and its contents' place and size are in window, wx,
# wy, ww and wh.
# e2e_open_panel <how>: title:<button's centre from the window's right>, lock (the title bar's
# left), document:<item>, editor (the record list's add button); or steps joined by commas:
# screen:<sidebar button>, click:<x>:<y> or right:<x>:<y> in the window (y negative: from its
# bottom), key:<key>.
e2e_open_panel() {
    local step x y chosen=0
    for step in ${1//,/ }; do
        # A last key given to a menu chooses from it.
        [ "$step" = "${1##*,}" ] && [ "${step%%:*}" = key ] && e2e_menu_open && chosen=1
        case $step in
            title:*) xdotool mousemove $((wx + ww - ${step#title:})) $((wy + 20)) click 1 ;;
            lock) xdotool mousemove $((wx + 101)) $((wy + 20)) click 1 ;;
            document:*) e2e_document_item "$window" "${step#document:}" ;;
            editor) xdotool mousemove $((wx + 72 + 340 - 118 + 11)) $((wy + wh - 20)) click 1 ;;
            screen:*)
                # A screen already shown is not shown again: switching is the slow part.
                [ "$e2e_shown_screen" = "${step#screen:}" ] && continue
                e2e_shown_screen=${step#screen:}
                xdotool mousemove $((wx + 36)) $((wy + 82 + e2e_shown_screen * 59)) click 1
                sleep 0.6 ;;
            click:* | right:*)
                IFS=: read -r _ x y <<<"$step"
                [ "$y" -lt 0 ] && y=$((wh + y))
                xdotool mousemove $((wx + x)) $((wy + y)) click "$([ "${step%%:*}" = right ] && echo 3 || echo 1)"
                [ "${step%%:*}" = click ] || e2e_wait_for e2e_menu_open || fail "$step opened no menu" ;;
            key:*) xdotool key "${step#key:}" ;;
        esac
        [ "$step" = "${1##*,}" ] || sleep 0.4
    done
    # Until the menu has gone, it would pass for the panel its item opens.
    [ "$chosen" = 0 ] || e2e_wait_for e2e_menu_closed || fail "the menu stayed open after $1"
}

# e2e_close_panel <panel> <how> <opener>: escape, again (the opener's last step once more),
# outside (a click on the window's heading, 500 right and 60 down), button:<x>:<y> in the panel
# (negative: from its right or bottom), or welcome-close (the welcome panel's Close, 167 right
# of the window's middle, 97 down).
e2e_close_panel() {
    local px py pw ph bx by
    case $2 in
        escape) xdotool key Escape ;;
        again) e2e_open_panel "${3##*,}" ;;
        outside) xdotool mousemove $((wx + 500)) $((wy + 60)) click 1 ;;
        welcome-close) xdotool mousemove $((wx + ww / 2 + 167)) $((wy + 97)) click 1 ;;
        button:*)
            read -r px py <<<"$(e2e_client_origin "$1")"
            read -r _ _ pw ph <<<"$(e2e_window_geometry "$1")"
            IFS=: read -r _ bx by <<<"$2"
            [ "$bx" -lt 0 ] && bx=$((pw + bx))
            [ "$by" -lt 0 ] && by=$((ph + by))
            xdotool mousemove $((px + bx)) $((py + by)) click 1 ;;
    esac
}

# e2e_keyboard_walk <label>: for each line "<opener> <way>" of its input, opens a panel and
# closes it that way; fails the test unless it closes and the main window has the keyboard.
e2e_keyboard_walk() {
    local opener way panel
    e2e_shown_screen=""
    while read -r opener way; do
        e2e_open_panel "$opener"
        panel=$(e2e_popover_window "$window") || fail "$opener opened nothing ($1)"
        sleep 0.5 # the fade
        e2e_close_panel "$panel" "$way" "$opener"
        e2e_popover_gone "$window" || fail "$way left $opener open ($1)"
        e2e_keyboard_back "$window" "$opener closed by $way ($1)"
    done
}
