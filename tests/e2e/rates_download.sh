#!/usr/bin/env bash
# The daily rates: at start the application fetches the rate document from the configured
# feed (a local server here) and takes its rates; a feed that never answers does not keep
# the application from quitting at once.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/e2e_lib.sh"
binary=$1
shots=$2

e2e_setup || exit 1
cat >"$HOME/mervane.json" <<'JSON'
{"version": "1.0", "base_currency": "USD", "tags": [], "nw_logs": [],
 "a_cat": [{"ID": "SAVINGS", "name": "Savings in London", "desc": "", "is_foreign": true, "currency": "GBP",
            "tags": [], "is_depreciable": false, "sort_order": 0, "is_hidden": false}],
 "l_cat": []}
JSON

# The feed: /feed.xml answers with two rates, /silent reads the request and never answers.
# Every request is written to requests.log; the chosen port to port.
python3 - "$HOME" <<'PY' &
import http.server, os, sys, threading
home = sys.argv[1]
feed = b"""<?xml version="1.0" encoding="UTF-8"?>
<env:Envelope xmlns:env="urn:example:envelope" xmlns="urn:example:rates">
  <Cube><Cube time="2026-12-04"><Cube currency="USD" rate="1.2000"/><Cube currency="GBP" rate="0.8000"/></Cube></Cube>
</env:Envelope>"""
class Feed(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        with open(os.path.join(home, "requests.log"), "a") as log:
            log.write(self.command + " " + self.path + "\n")
        if self.path == "/silent":
            threading.Event().wait(120)
            return
        self.send_response(200)
        self.send_header("Content-Type", "text/xml")
        self.send_header("Content-Length", str(len(feed)))
        self.end_headers()
        self.wfile.write(feed)
    def log_message(self, *args):
        pass
server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Feed)
server.daemon_threads = True
with open(os.path.join(home, "port.tmp"), "w") as f:
    f.write(str(server.server_address[1]))
os.rename(os.path.join(home, "port.tmp"), os.path.join(home, "port"))
server.serve_forever()
PY
server_pid=$!
trap 'kill $server_pid 2>/dev/null; e2e_teardown' EXIT
for _ in $(e2e_polls 5); do [ -s "$HOME/port" ] && break; sleep 0.1; done
[ -s "$HOME/port" ] || fail "the feed server did not start"
port=$(cat "$HOME/port")

# requests_of <path>: how many requests the feed server has had for path.
requests_of() {
    grep -c "^GET $1\$" "$HOME/requests.log" 2>/dev/null || true
}

e2e_write_text_settings ExchangeRateFeedURL "http://127.0.0.1:$port/feed.xml"
e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || fail "no main window"
for _ in $(e2e_polls 10); do [ "$(requests_of /feed.xml)" -ge 1 ] && break; sleep 0.1; done
[ "$(requests_of /feed.xml)" -eq 1 ] || fail "expected one download at start, saw $(requests_of /feed.xml)"
e2e_screenshot "$shots/rates-downloaded.png"
e2e_quit "$window"

# A feed that holds the connection open: Ctrl+Q still quits at once.
e2e_write_text_settings ExchangeRateFeedURL "http://127.0.0.1:$port/silent"
e2e_start "$binary"
window=$(e2e_wait_window '^Mervane$') || fail "no main window the second time"
for _ in $(e2e_polls 10); do [ "$(requests_of /silent)" -ge 1 ] && break; sleep 0.1; done
[ "$(requests_of /silent)" -eq 1 ] || fail "the second start did not download"
e2e_quit "$window"
grep -i "QThread: Destroyed while thread is still running\|QObject::killTimer" "$HOME/app.log" \
    && fail "the network thread outlived the application: $(cat "$HOME/app.log")"
echo "PASS"
