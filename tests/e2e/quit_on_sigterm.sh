#!/usr/bin/env bash
# SIGTERM (logout, kill) quits through the normal path: exit status 0, and the window
# frame is written to "mcmain" on the way out. A later start that cannot reach the running
# one shows "Mervane is already running."; that box ends on SIGTERM and on SIGINT too.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e_lib.sh"
binary=$1
shots=$2

e2e_setup || exit 1
e2e_start "$binary"
e2e_wait_window '^Mervane$' >/dev/null || exit 1
[ -z "$(e2e_setting_text mcmain 2>/dev/null)" ] || fail "mcmain was there before quitting"
kill -TERM "$E2E_APP_PID"
e2e_wait_exit 20
rc=$?
[ "$rc" = 0 ] || { cat "$E2E_HOME/app.log"; fail "SIGTERM ended it with $rc"; }
saved=$(e2e_setting_text mcmain)
[ -n "$saved" ] || fail "no mcmain after SIGTERM: the quit path did not run"
echo "mcmain: $saved"

# A stopped holder keeps its locks and accepts the connection but never answers.
e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || exit 1
holder=$E2E_APP_PID
kill -STOP "$holder"
trap 'kill -CONT "$holder" 2>/dev/null; e2e_teardown' EXIT

has_window() { xdotool search --onlyvisible --pid "$1" >/dev/null 2>&1; }
for signal in TERM INT; do
    "$binary" >"$E2E_HOME/box-$signal.log" 2>&1 &
    box=$!
    E2E_WAIT_SECONDS=30 e2e_wait_for has_window "$box" \
        || { cat "$E2E_HOME/box-$signal.log"; fail "the later start showed no box"; }
    e2e_screenshot "$shots/already-running-box.png"
    kill -"$signal" "$box"
    for _ in $(e2e_polls 5); do
        kill -0 "$box" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$box" 2>/dev/null; then
        kill -KILL "$box"
        fail "the box was still there 5 s after SIG$signal"
    fi
    wait "$box"
    rc=$?
    [ "$rc" = 0 ] || { cat "$E2E_HOME/box-$signal.log"; fail "SIG$signal ended the box with $rc"; }
done

kill -CONT "$holder"
e2e_quit "$window"
echo "PASS"
