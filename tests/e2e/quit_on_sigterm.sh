#!/usr/bin/env bash
# SIGTERM (logout, kill) quits through the normal path: exit status 0, and the window
# frame is written to "mcmain" on the way out.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e_lib.sh"
binary=$1

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
echo "PASS"
