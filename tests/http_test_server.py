#!/usr/bin/python3
"""HTTP server on 127.0.0.1 for the uninstaller's network tests.

Listens on 127.0.0.1:80 (the client always connects to port 80) and, as a
forward proxy, on an ephemeral port. Every request head is recorded byte for
byte, so tests can check what went over the wire. It never opens a
connection of its own.

    http_test_server.py start STATE_DIR   start in the background, wait until ready
    http_test_server.py stop STATE_DIR    stop the background server
    http_test_server.py serve STATE_DIR   run in the foreground

The background server also ends by itself once the process that started it
(CTest) has gone, so an interrupted run leaves nothing behind.

Replies, chosen by the request path:
    /reply?body=T&enc=E&zero=1&repeat=N&bomb=M&hang=S
        body T (default "ok") repeated N times, a zero byte in its middle when
        zero=1; enc=gzip or deflate (any case) sends it compressed with that
        Content-Encoding; bomb=M sends a gzip stream of M MiB of "a" instead;
        hang=S waits S seconds before answering.
    /hang/...                   answers "ok" only after a minute
    /login/...                  asks for a login: the origin answers 401 and
                                the proxy 407, offering Negotiate, NTLM and
                                Basic, until a request carries
                                Authorization (or, to the proxy,
                                Proxy-Authorization); then "logged in".
                                Both set a cookie "session".
    /control/requests?token=X   every recorded request head containing X,
                                each after a line "== origin" or "== proxy"
    /control/close-port?seconds=S   stop listening on port 80 for S seconds
    /control/proxy-port         the proxy's port
    /control/stall?token=X      from now on, every request whose head contains
                                X is recorded and never answered: the
                                connection stays open, silent, until the
                                client gives up (or the server ends)
    anything else               "ok"
Control requests are not recorded.
"""

import gzip
import json
import os
import signal
import socket
import socketserver
import subprocess
import sys
import threading
import time
import urllib.parse
import zlib

HOST = "127.0.0.1"
ORIGIN_PORT = 80
MAX_HEAD = 64 * 1024
BIND_PATIENCE_S = 60  # another run may still hold port 80
HANG_S = 60  # how long /hang/... requests wait before their reply


class Recorder:
    def __init__(self, log_path):
        self._lock = threading.Lock()
        self._records = []
        self._log_path = log_path

    def add(self, listener, head):
        with self._lock:
            self._records.append((listener, head))
            with open(self._log_path, "ab") as log:
                log.write(b"== " + listener.encode() + b"\r\n" + head)

    def matching(self, token):
        with self._lock:
            return b"".join(b"== " + name.encode() + b"\r\n" + head
                            for name, head in self._records if token in head)


_bomb_cache = {}


def gzip_bomb(mebibytes):
    """A valid gzip stream of `mebibytes` MiB of b"a", about 1 KiB per MiB."""
    if mebibytes in _bomb_cache:
        return _bomb_cache[mebibytes]
    block = b"a" * (1 << 20)
    compressor = zlib.compressobj(9, zlib.DEFLATED, 31)
    head = compressor.compress(block) + compressor.flush(zlib.Z_FULL_FLUSH)
    # After a full flush the compressor starts afresh, so every further MiB
    # compresses to the same bytes.
    repeated = compressor.compress(block) + compressor.flush(zlib.Z_FULL_FLUSH)
    parts = [head, repeated * (mebibytes - 2) if mebibytes > 2 else b""]
    crc = 0
    for _ in range(mebibytes):
        crc = zlib.crc32(block, crc)
    final = compressor.compress(block if mebibytes > 1 else b"") + compressor.flush(zlib.Z_FINISH)
    # The compressor's own trailer counted only the MiB it saw: replace it.
    final = final[:-8] + crc.to_bytes(4, "little") + ((mebibytes << 20) & 0xFFFFFFFF).to_bytes(4, "little")
    _bomb_cache[mebibytes] = b"".join(parts) + final
    return _bomb_cache[mebibytes]


def compress(body, encoding):
    kind = encoding.lower()
    if kind == "gzip":
        return gzip.compress(body)
    if kind == "deflate":
        return zlib.compress(body)
    return body


def reply_for(query):
    """Status, headers and body of a /reply request."""
    params = urllib.parse.parse_qs(query, keep_blank_values=True)
    first = lambda name, default: params.get(name, [default])[0]
    headers = [("Content-Type", "text/plain")]
    hang = float(first("hang", "0"))
    if hang > 0:
        time.sleep(hang)
    if first("bomb", ""):
        headers.append(("Content-Encoding", "gzip"))
        return 200, headers, gzip_bomb(int(first("bomb", "1")))
    body = first("body", "ok").encode("utf-8") * int(first("repeat", "1"))
    if first("zero", "") == "1":
        body = body[:len(body) // 2] + b"\0" + body[len(body) // 2:]
    encoding = first("enc", "")
    if encoding:
        headers.append(("Content-Encoding", encoding))
        body = compress(body, encoding)
    return 200, headers, body


class Server:
    def __init__(self, state_dir):
        self.state_dir = state_dir
        self.recorder = Recorder(os.path.join(state_dir, "requests.log"))
        self.origin = None
        self.proxy = None
        self.origin_lock = threading.Lock()
        self.stalled_tokens = set()
        self.stalled_lock = threading.Lock()

    def make_listener(self, port, listener):
        server = self

        class Handler(socketserver.StreamRequestHandler):
            def handle(self):
                while server.handle_request(self, listener):
                    pass

        class Listener(socketserver.ThreadingTCPServer):
            allow_reuse_address = True
            daemon_threads = True

        return Listener((HOST, port), Handler)

    def open_origin(self):
        deadline = time.monotonic() + BIND_PATIENCE_S
        while True:
            try:
                listener = self.make_listener(ORIGIN_PORT, "origin")
                break
            except OSError:
                if time.monotonic() > deadline:
                    raise
                time.sleep(0.5)
        with self.origin_lock:
            self.origin = listener
        threading.Thread(target=listener.serve_forever, daemon=True).start()

    def close_origin_for(self, seconds):
        with self.origin_lock:
            listener, self.origin = self.origin, None
        if listener is not None:
            listener.shutdown()
            listener.server_close()
        time.sleep(seconds)
        self.open_origin()

    def handle_request(self, handler, listener):
        """Serves one request; False ends the connection."""
        head = read_head(handler.rfile)
        if not head:
            return False
        lines = head.split(b"\r\n")
        try:
            method, target, _ = lines[0].decode("latin-1").split(" ", 2)
        except ValueError:
            send(handler, 400, [], b"bad request", keep_alive=False)
            return False
        fields = {}
        for line in lines[1:]:
            name, _, value = line.decode("latin-1").partition(":")
            if name:
                fields[name.strip().lower()] = value.strip()
        url = urllib.parse.urlsplit(target)
        path, query = url.path, url.query
        if listener == "origin" and path.startswith("/control/"):
            return self.control(handler, path, query)

        self.recorder.add(listener, head)
        if self.stalled(head):
            # Accepted and read, never answered: wait for the client to close.
            while handler.rfile.read(1):
                pass
            return False
        keep_alive = fields.get("connection", "").lower() != "close"
        if path.startswith("/login/"):
            status, asked, given = ((407, "Proxy-Authenticate", "proxy-authorization") if listener == "proxy"
                                    else (401, "WWW-Authenticate", "authorization"))
            if given not in fields:
                challenges = [(asked, scheme) for scheme in ("Negotiate", "NTLM", 'Basic realm="tests"')]
                send(handler, status, challenges + [("Set-Cookie", "session=1; Path=/")], b"login", keep_alive)
                return keep_alive
            send(handler, 200, [("Content-Type", "text/plain"), ("Set-Cookie", "session=1; Path=/")], b"logged in",
                 keep_alive)
            return keep_alive
        if method != "GET":
            send(handler, 405, [], b"GET only", keep_alive)
            return keep_alive
        if path.startswith("/hang/"):
            time.sleep(HANG_S)
        if path == "/reply":
            status, headers, body = reply_for(query)
        else:
            status, headers, body = 200, [("Content-Type", "text/plain")], b"ok"
        send(handler, status, headers, body, keep_alive)
        return keep_alive

    def stalled(self, head):
        with self.stalled_lock:
            return any(token in head for token in self.stalled_tokens)

    def control(self, handler, path, query):
        params = urllib.parse.parse_qs(query)
        if path == "/control/requests":
            send(handler, 200, [], self.recorder.matching(params["token"][0].encode()), keep_alive=False)
        elif path == "/control/proxy-port":
            send(handler, 200, [], str(self.proxy.server_address[1]).encode(), keep_alive=False)
        elif path == "/control/stall":
            with self.stalled_lock:
                self.stalled_tokens.add(params["token"][0].encode())
            send(handler, 200, [], b"stalling", keep_alive=False)
        elif path == "/control/close-port":
            seconds = float(params["seconds"][0])
            send(handler, 200, [], b"closing", keep_alive=False)
            threading.Thread(target=self.close_origin_for, args=(seconds,), daemon=True).start()
        else:
            send(handler, 404, [], b"no such control", keep_alive=False)
        return False

    def run(self, watch_pid):
        self.proxy = self.make_listener(0, "proxy")
        threading.Thread(target=self.proxy.serve_forever, daemon=True).start()
        self.open_origin()
        write_file(os.path.join(self.state_dir, "ready"),
                   json.dumps({"origin": ORIGIN_PORT, "proxy": self.proxy.server_address[1]}))
        stop = threading.Event()
        signal.signal(signal.SIGTERM, lambda *_: stop.set())
        while not stop.wait(1):
            if watch_pid and not pid_alive(watch_pid):
                break


def read_head(stream):
    head = b""
    while not head.endswith(b"\r\n\r\n"):
        line = stream.readline(MAX_HEAD)
        if not line or len(head) + len(line) > MAX_HEAD:
            return b""
        head += line
    return head


def send(handler, status, headers, body, keep_alive):
    reasons = {200: "OK", 400: "Bad Request", 401: "Unauthorized", 404: "Not Found", 405: "Method Not Allowed",
               407: "Proxy Authentication Required"}
    lines = [f"HTTP/1.1 {status} {reasons.get(status, 'Status')}", f"Content-Length: {len(body)}",
             "Connection: " + ("keep-alive" if keep_alive else "close")]
    lines += [f"{name}: {value}" for name, value in headers]
    try:
        handler.wfile.write(("\r\n".join(lines) + "\r\n\r\n").encode("latin-1") + body)
        handler.wfile.flush()
    except OSError:
        pass  # the client gave up; nothing to tell it


def pid_alive(pid):
    try:
        os.kill(pid, 0)
        return True
    except ProcessLookupError:
        return False
    except PermissionError:
        return True


def write_file(path, text):
    with open(path, "w") as file:
        file.write(text)


def start(state_dir):
    os.makedirs(state_dir, exist_ok=True)
    stop(state_dir)
    for name in ("ready", "requests.log", "server.log"):
        if os.path.exists(os.path.join(state_dir, name)):
            os.remove(os.path.join(state_dir, name))
    with open(os.path.join(state_dir, "server.log"), "wb") as log:
        server = subprocess.Popen([sys.executable, os.path.abspath(__file__), "serve", state_dir, str(os.getppid())],
                                  stdin=subprocess.DEVNULL, stdout=log, stderr=log, start_new_session=True)
    write_file(os.path.join(state_dir, "server.pid"), str(server.pid))
    deadline = time.monotonic() + BIND_PATIENCE_S + 10
    while not os.path.exists(os.path.join(state_dir, "ready")):
        if server.poll() is not None or time.monotonic() > deadline:
            stop(state_dir)
            with open(os.path.join(state_dir, "server.log")) as log:
                sys.stderr.write(log.read())
            sys.exit("http test server: could not listen on %s:%d (port 80 needs root or "
                     "net.ipv4.ip_unprivileged_port_start=80)" % (HOST, ORIGIN_PORT))
        time.sleep(0.1)
    print("http test server listening on %s:%d, pid %d" % (HOST, ORIGIN_PORT, server.pid))


def stop(state_dir):
    pid_path = os.path.join(state_dir, "server.pid")
    if not os.path.exists(pid_path):
        return
    with open(pid_path) as file:
        pid = int(file.read())
    os.remove(pid_path)
    try:
        os.kill(pid, signal.SIGTERM)
    except ProcessLookupError:
        return
    deadline = time.monotonic() + 5
    while pid_alive(pid) and time.monotonic() < deadline:
        time.sleep(0.05)
    if pid_alive(pid):
        os.kill(pid, signal.SIGKILL)


def main():
    if len(sys.argv) < 3 or sys.argv[1] not in ("start", "stop", "serve"):
        sys.exit(__doc__)
    command, state_dir = sys.argv[1], os.path.abspath(sys.argv[2])
    if command == "start":
        start(state_dir)
    elif command == "stop":
        stop(state_dir)
    else:
        Server(state_dir).run(int(sys.argv[3]) if len(sys.argv) > 3 else 0)


if __name__ == "__main__":
    main()
