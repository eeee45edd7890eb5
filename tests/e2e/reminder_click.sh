#!/usr/bin/env bash
# The monthly reminder against a desktop's notification service: a recording one on a private
# session bus, and the program installed as a desktop finds it. A reminder due while no service
# answers stays due and is shown once the service appears; a click on a reminder shown before a
# restart brings the minimised window forward and closes the reminder; a click while Mervane is
# not running starts the installed program through the launcher entry the reminder names.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e_lib.sh"
binary=$1
shots=$2
recorder=$3
build=$4

e2e_setup || exit 1
e2e_start_wm

# Installed as `cmake --install` puts it, with a launcher entry a desktop accepts.
prefix="$E2E_HOME/prefix"
cmake --install "$build" --prefix "$prefix" >"$E2E_HOME/install.log" 2>&1 \
    || { cat "$E2E_HOME/install.log"; fail "cmake --install failed"; }
launcher="$prefix/share/applications/mervane.desktop"
installed="$prefix/bin/mervane"
[ -f "$launcher" ] || fail "no launcher entry was installed"
cmp -s "$binary" "$installed" || fail "the installed program is not the one built"
command -v desktop-file-validate >/dev/null || fail "desktop-file-validate (desktop-file-utils) is not installed"
desktop-file-validate "$launcher" || fail "the installed launcher entry is not valid"
export XDG_DATA_DIRS="$prefix/share" PATH="$prefix/bin:$PATH"

# A session bus of the test's own, with no services to start on demand (no keychain either:
# Mervane runs unlocked; no notification service but the recorder).
bus=$(dbus-daemon --config-file="$here/../support/private-session-bus.conf" --fork --print-address=1 \
    --print-pid=1) || fail "no session bus"
export DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p <<<"$bus")
bus_pid=$(sed -n 2p <<<"$bus")
recorder_pid=""
trap 'kill $recorder_pid $bus_pid 2>/dev/null; pkill -f "^$installed" 2>/dev/null; e2e_teardown' EXIT
log="$E2E_HOME/notifications.log"
: >"$log"

# The reminder fell due two days ago; it was last handled the day before.
due=$(date -u -d '-2 days' +%Y-%m-%dT%H:%M:%S.000Z)
before=$(date -u -d '-3 days' +%Y-%m-%dT%H:%M:%S.000Z)
make_due() {
    e2e_settings_tool set-json ScheduledUserNotifications "[{\"identifier\": \"e2e-reminder\",
        \"title\": \"Mervane\", \"informativeText\": \"It is time to log your monthly net worth records.\",
        \"deliveryDate\": {\"\$date\": \"$due\"}, \"handledThrough\": {\"\$date\": \"$before\"}}]"
}
handled() {
    e2e_settings_tool get-json ScheduledUserNotifications \
        | python3 -c 'import json, sys; print(json.load(sys.stdin)[0].get("handledThrough", {}).get("$date", ""))'
}
handled_since_due() { [ "$(handled)" != "$before" ]; }
logged() { grep -c -- "$1" "$log"; }
logged_once() { [ "$(logged "$1")" = 1 ]; }
click() {
    dbus-send --session --print-reply --dest=org.freedesktop.Notifications /recorder \
        net.mervane.test.NotificationRecorder.Click "uint32:$1" "boolean:$2" >/dev/null \
        || fail "the recorder took no click"
}
gone() { ! kill -0 "$1" 2>/dev/null; }
make_due

# 1. No notification service at start: the reminder stays due.
e2e_start "$installed"
window=$(e2e_wait_window '^Mervane$') || exit 1
e2e_wait_for grep -q "The reminder could not be shown" "$E2E_HOME/app.log" \
    || { cat "$E2E_HOME/app.log"; fail "the program did not try to show the due reminder"; }
[ "$(handled)" = "$before" ] || fail "the reminder counted as handled though no service showed it ($(handled))"

# The service comes: the reminder is shown once, and counts as handled after that.
"$recorder" "$log" 2>"$E2E_HOME/recorder.log" &
recorder_pid=$!
e2e_wait_for grep -q '^Notify ' "$log" || { cat "$log" "$E2E_HOME/recorder.log"; fail "the reminder was not shown once the service came"; }
notify=$(grep '^Notify ' "$log")
expected="app=Mervane icon=mervane desktop-entry=mervane actions=default,Open summary=Mervane body=It is time to log your monthly net worth records."
[ "${notify#Notify id=101 }" = "$expected" ] || fail "unexpected notification: $notify"
e2e_wait_for handled_since_due || fail "the shown reminder did not count as handled"
logged_once '^Notify ' || fail "the reminder was shown $(logged '^Notify ') times"
# The launcher entry the reminder names is the installed one.
[ -f "$prefix/share/applications/$(sed 's/.* desktop-entry=\([^ ]*\) .*/\1/' <<<"$notify").desktop" ] \
    || fail "the reminder names a launcher entry that is not installed"

# 2. A click on that reminder after a restart brings the minimised window forward and closes it.
e2e_quit "$window"
e2e_start "$installed"
window=$(e2e_wait_window '^Mervane$') || exit 1
e2e_screenshot_painted "$shots/reminder-restarted.png" || fail "no screenshot after the restart"
xdotool windowminimize "$window"
e2e_wait_for e2e_in_wm_state "$window" Iconic || fail "the window did not minimise (state $(e2e_wm_state "$window"))"
click 101 false
e2e_wait_for e2e_in_wm_state "$window" Normal || fail "the click on the earlier run's reminder left the window minimised"
e2e_wait_for grep -q '^Close id=101$' "$log" || { cat "$log"; fail "the clicked reminder was not closed"; }
logged_once '^Notify ' || fail "the restart showed the handled reminder again"
e2e_screenshot_painted "$shots/reminder-clicked.png" || fail "no screenshot after the click"

# 3. Due again and shown, then Mervane quits: a click starts it through its launcher entry.
e2e_quit "$window"
make_due
e2e_start "$installed"
window=$(e2e_wait_window '^Mervane$') || exit 1
e2e_wait_for logged_once '^Notify id=102 ' || { cat "$log"; fail "the due reminder was not shown"; }
e2e_wait_for handled_since_due || fail "the shown reminder did not count as handled"
e2e_quit "$window"
click 102 true
e2e_wait_for grep -q "^Started launcher=$launcher program=$installed\$" "$log" \
    || { cat "$log"; fail "the click did not start the installed program"; }
started=""
for _ in $(e2e_polls 30); do
    started=$(xdotool search --onlyvisible --name '^Mervane$' 2>/dev/null | head -n1)
    [ -n "$started" ] && break
    sleep 0.1
done
[ -n "$started" ] || fail "no window of the program the click started"
pid=$(xdotool getwindowpid "$started")
[ "$(readlink "/proc/$pid/exe")" = "$installed" ] || fail "the window is not the installed program's"
e2e_screenshot_painted "$shots/reminder-started-by-click.png" || fail "no screenshot of the started program"
xdotool windowfocus --sync "$started"
xdotool key --clearmodifiers ctrl+q
E2E_WAIT_SECONDS=20 e2e_wait_for gone "$pid" || fail "the started program did not quit"
echo "PASS"
