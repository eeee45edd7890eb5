#!/usr/bin/env python3
"""HTTP/1.1 test server on 127.0.0.1 for the HTTP client's tests.

Prints the port it listens on as its first line, then answers until it is terminated or
its standard input closes (so it never outlives the test that started it).

Routes:
  /bytes/<n>        n bytes of a fixed pattern (byte i is i % 251), "application/octet-stream"
  /file/<sha256>    a body this server received earlier (a request body or a multipart part),
                    looked up by the hex SHA-256 of its bytes; 404 when unknown
  /status/<code>    the echo below with that status code
  /stream/<n>       n bytes of XML white space as "text/xml" without a Content-Length (the
                    body ends when the connection closes), made and sent piece by piece as the
                    client takes them, never held whole
  /trickle/<ms>     "text/xml" without a Content-Length, one byte every <ms> milliseconds until
                    the client goes away
  /redirect/<code>/<rest>
                    <code> (a 3xx) with "Location: /<rest>" (query kept) and a short "text/plain"
                    body, after reading the request's body
  anything else     200 with a JSON description of the request:
    method, path, query (raw, without "?"), query_pairs (parsed, [name, value] pairs, or
    null when not UTF-8), headers ({lower-case name: value}), header_list ([name, value] in
    order), body_base64, body_size, body_sha256, form_pairs (for a form-encoded body),
    json (for a JSON body, or json_error), plist (for a property-list body, or plist_error),
    multipart (for a multipart body: defects and parts with headers, name, filename, size,
    sha256, body_base64), chunked (whether the body came chunked)
Property-list values that JSON cannot hold are written as {"$data": base64},
{"$date": ISO 8601} and {"$real": "nan" | "inf" | "-inf"}.
"""

import base64
import datetime
import email.parser
import email.policy
import hashlib
import http.server
import json
import math
import os
import plistlib
import sys
import threading
import time
import urllib.parse

_stored = {}
_stored_lock = threading.Lock()


def _store(data):
    digest = hashlib.sha256(data).hexdigest()
    with _stored_lock:
        _stored[digest] = data
    return digest


def _plist_to_json(value):
    if isinstance(value, dict):
        return {str(k): _plist_to_json(v) for k, v in value.items()}
    if isinstance(value, list):
        return [_plist_to_json(v) for v in value]
    if isinstance(value, (bytes, bytearray)):
        return {"$data": base64.b64encode(value).decode("ascii")}
    if isinstance(value, datetime.datetime):
        return {"$date": value.isoformat()}
    if isinstance(value, float) and not math.isfinite(value):
        return {"$real": "nan" if math.isnan(value) else ("inf" if value > 0 else "-inf")}
    return value


def _pairs(text_bytes):
    try:
        text = text_bytes.decode("utf-8")
        return [list(p) for p in urllib.parse.parse_qsl(
            text, keep_blank_values=True, strict_parsing=False, errors="strict")]
    except (UnicodeDecodeError, ValueError):
        return None


def _multipart(content_type, body):
    message = email.parser.BytesParser(policy=email.policy.HTTP).parsebytes(
        b"Content-Type: " + content_type.encode("latin-1") + b"\r\n\r\n" + body)
    result = {"defects": [type(d).__name__ for d in message.defects], "parts": []}
    if not message.is_multipart():
        result["defects"].append("NotMultipart")
        return result
    for part in message.iter_parts():
        payload = part.get_payload(decode=True) or b""
        result["parts"].append({
            "headers": [[k, str(v)] for k, v in part.items()],
            "name": part.get_param("name", header="content-disposition"),
            "filename": part.get_filename(),
            "size": len(payload),
            "sha256": _store(payload),
            "body_base64": base64.b64encode(payload).decode("ascii"),
            "defects": [type(d).__name__ for d in part.defects],
        })
    return result


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    # Headers and body go out in separate writes: without this each answer waits for the
    # client's delayed acknowledgement.
    disable_nagle_algorithm = True

    def log_message(self, format, *args):  # noqa: A002 - the base class's name
        pass

    def _read_body(self):
        if "chunked" in self.headers.get("Transfer-Encoding", "").lower():
            chunks = []
            while True:
                size = int(self.rfile.readline().split(b";")[0].strip(), 16)
                if size == 0:
                    while self.rfile.readline() not in (b"\r\n", b"\n", b""):
                        pass
                    return b"".join(chunks), True
                chunks.append(self.rfile.read(size))
                self.rfile.readline()
        length = int(self.headers.get("Content-Length") or 0)
        return (self.rfile.read(length) if length else b""), False

    def _send(self, status, content_type, body):
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        if self.command != "HEAD":
            self.wfile.write(body)

    def _send_open_ended(self, pieces):
        """Sends the pieces as a body whose end is the connection's; stops when the client goes."""
        self.close_connection = True
        self.send_response(200)
        self.send_header("Content-Type", "text/xml")
        self.send_header("Connection", "close")
        self.end_headers()
        try:
            for piece in pieces:
                self.wfile.write(piece)
                self.wfile.flush()
        except (BrokenPipeError, ConnectionResetError):
            pass

    def _describe(self, body, chunked):
        split = urllib.parse.urlsplit(self.path)
        raw_query = self.path.split("?", 1)[1] if "?" in self.path else ""
        content_type = self.headers.get("Content-Type", "")
        mime = content_type.split(";")[0].strip().lower()
        headers = {}
        for name, value in self.headers.items():
            key = name.lower()
            headers[key] = headers[key] + ", " + value if key in headers else value
        description = {
            "method": self.command,
            "path": split.path,
            "query": raw_query,
            "query_pairs": _pairs(raw_query.encode("latin-1")),
            "headers": headers,
            "header_list": [[k, v] for k, v in self.headers.items()],
            "body_base64": base64.b64encode(body).decode("ascii"),
            "body_size": len(body),
            "body_sha256": _store(body) if body else None,
            "chunked": chunked,
        }
        if mime == "application/x-www-form-urlencoded":
            description["form_pairs"] = _pairs(body)
        if mime in ("application/json", "text/json"):
            try:
                description["json"] = json.loads(body.decode("utf-8"))
            except ValueError as error:
                description["json_error"] = str(error)
        if mime in ("application/x-plist", "application/xml", "text/xml") and body:
            try:
                description["plist"] = _plist_to_json(plistlib.loads(body))
            except Exception as error:  # plistlib raises several kinds for bad input
                description["plist_error"] = repr(error)
        if mime.startswith("multipart/"):
            description["multipart"] = _multipart(content_type, body)
        return description

    def _handle(self):
        body, chunked = self._read_body()
        parts = urllib.parse.urlsplit(self.path).path.split("/")
        if len(parts) == 3 and parts[1] == "bytes" and parts[2].isdigit():
            count = int(parts[2])
            pattern = bytes(i % 251 for i in range(251))
            data = (pattern * (count // 251 + 1))[:count]
            self._send(200, "application/octet-stream", data)
            return
        if len(parts) == 3 and parts[1] == "stream" and parts[2].isdigit():
            count = int(parts[2])
            piece = b" " * 65536

            def pieces():
                left = count
                while left > 0:
                    yield piece[:min(left, len(piece))]
                    left -= len(piece)
            self._send_open_ended(pieces())
            return
        if len(parts) == 3 and parts[1] == "trickle" and parts[2].isdigit():
            interval = int(parts[2]) / 1000

            def pieces():
                while True:
                    yield b" "
                    time.sleep(interval)
            self._send_open_ended(pieces())
            return
        if len(parts) >= 4 and parts[1] == "redirect" and parts[2].isdigit():
            query = urllib.parse.urlsplit(self.path).query
            location = "/" + "/".join(parts[3:]) + ("?" + query if query else "")
            self.send_response(int(parts[2]))
            self.send_header("Location", location)
            self.send_header("Content-Type", "text/plain")
            self.send_header("Content-Length", "5")
            self.end_headers()
            if self.command != "HEAD":
                self.wfile.write(b"moved")
            return
        if len(parts) == 3 and parts[1] == "file":
            with _stored_lock:
                data = _stored.get(parts[2].lower())
            if data is None:
                self._send(404, "text/plain", b"unknown file")
            else:
                self._send(200, "application/octet-stream", data)
            return
        status = 200
        if len(parts) == 3 and parts[1] == "status" and parts[2].isdigit():
            status = int(parts[2])
        payload = json.dumps(self._describe(body, chunked), allow_nan=False).encode("utf-8")
        self._send(status, "application/json", payload)

    do_GET = do_POST = do_PUT = do_PATCH = do_DELETE = do_HEAD = do_OPTIONS = _handle


def _exit_when_stdin_closes():
    try:
        while sys.stdin.buffer.read(4096):
            pass
    finally:
        os._exit(0)


def main():
    # Many sessions may connect at once: a short backlog would drop their connections.
    http.server.ThreadingHTTPServer.request_queue_size = 1024
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    server.daemon_threads = True
    print(server.server_address[1], flush=True)
    threading.Thread(target=_exit_when_stdin_closes, daemon=True).start()
    server.serve_forever()


if __name__ == "__main__":
    main()
