# Shared helpers for the end-to-end tests: a private X server, a private home,
# and the application started in it.

e2e_setup() {
    E2E_HOME=$(mktemp -d)
    export HOME="$E2E_HOME" XDG_CONFIG_HOME="$E2E_HOME/.config" XDG_DATA_HOME="$E2E_HOME/.local/share"
    export XDG_CACHE_HOME="$E2E_HOME/.cache" XDG_RUNTIME_DIR="$E2E_HOME/runtime"
    mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    unset QT_QPA_PLATFORM WAYLAND_DISPLAY XDG_SESSION_TYPE

    local fdfile="$E2E_HOME/display"
    Xvfb -displayfd 3 -screen 0 1440x900x24 -nolisten tcp 3>"$fdfile" 2>"$E2E_HOME/xvfb.log" &
    E2E_XVFB_PID=$!
    for _ in $(seq 1 100); do
        [ -s "$fdfile" ] && break
        sleep 0.1
    done
    [ -s "$fdfile" ] || { echo "Xvfb did not start"; cat "$E2E_HOME/xvfb.log"; return 1; }
    export DISPLAY=":$(head -n1 "$fdfile")"
    trap e2e_teardown EXIT
}

e2e_teardown() {
    [ -n "${E2E_APP_PID:-}" ] && kill "$E2E_APP_PID" 2>/dev/null
    [ -n "${E2E_XVFB_PID:-}" ] && kill "$E2E_XVFB_PID" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$E2E_HOME"
}

# e2e_start <binary>: starts the application; its pid is in E2E_APP_PID.
e2e_start() {
    "$1" >"$E2E_HOME/app.log" 2>&1 &
    E2E_APP_PID=$!
}

# e2e_wait_window <name pattern>: prints the id of the first visible window so named.
e2e_wait_window() {
    local id=""
    for _ in $(seq 1 300); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        kill -0 "$E2E_APP_PID" 2>/dev/null || { echo "the application exited early" >&2; cat "$E2E_HOME/app.log" >&2; return 1; }
        sleep 0.1
    done
    echo "no window named '$1' appeared" >&2
    cat "$E2E_HOME/app.log" >&2
    return 1
}

# e2e_screenshot <file>: the whole screen as PNG.
e2e_screenshot() {
    mkdir -p "$(dirname "$1")"
    import -display "$DISPLAY" -window root "$1"
}

# e2e_screenshot_painted <file>: waits until the screen shows more than one colour
# (the window has painted), then keeps that screenshot.
e2e_screenshot_painted() {
    local spread
    for _ in $(seq 1 100); do
        e2e_screenshot "$1" || return 1
        spread=$(convert "$1" -format '%[fx:standard_deviation]' info: 2>/dev/null || echo 0)
        [ "$spread" != "0" ] && return 0
        sleep 0.1
    done
    echo "the screen stayed blank" >&2
    return 1
}

# e2e_wait_exit <seconds>: waits for the application to end; returns its exit code.
e2e_wait_exit() {
    local rc
    for _ in $(seq 1 $(( $1 * 10 ))); do
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
