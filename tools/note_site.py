#!/usr/bin/env python3
"""A sample note-sharing site on 127.0.0.1, for trying Vellacrop without the
internet and for its end-to-end tests.

Serves note pages at /note/NAME and their pictures at /img/NAME/K/w/W/h/H/q/Q
over HTTP and, with --https-port, over HTTPS with a self-signed certificate made
at start-up (--cert-dir keeps it, so that a test can trust it).

Notes:
  demo         "春日花园散步记录｜周末好去处", 4 pictures, two of them on one line
  many?n=N     N pictures (default 12)
  big?n=N&kb=K N pictures of about K kilobytes each
  notitle      no <title>
  zero         a zero byte in front of the title
  traversal    the title ../x
  broken       4 pictures, the second answers 404
  slow         4 pictures, the third takes 30 seconds
  missing      a 404 error page that has a title and one picture

Usage: note_site.py [--port 8000] [--https-port 0] [--log FILE] [--cert-dir DIR]
Prints "READY http=PORT https=PORT" once it listens.
"""

import argparse
import hashlib
import http.server
import os
import random
import ssl
import struct
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse
import zlib

LOG_LOCK = threading.Lock()
LOG_FILE = None


def png(seed, kb=0):
    """A deterministic PNG: a small coloured square, or noise of about kb KB."""
    rng = random.Random(seed)
    if kb > 0:
        width = height = max(8, int((kb * 1024 / 3) ** 0.5))
        rows = b"".join(b"\0" + rng.randbytes(width * 3) for _ in range(height))
        level = 0
    else:
        width = height = 16
        colour = bytes(rng.randrange(256) for _ in range(3))
        rows = b"".join(b"\0" + colour * width for _ in range(height))
        level = 9

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(rows, level)) + chunk(b"IEND", b""))


def element(base, note, k):
    return ('<i class="img" style="background-image:url(%s/img/%s/%d/w/540/h/540/q/75);" data-index="%d"></i>'
            % (base, note, k, k))


def page(base, note, title, count, pair_at=None, zero=False):
    slides = []
    k = 1
    while k <= count:
        if pair_at == k and k < count:
            slides.append('<div class="swiper-slide">%s%s</div>' % (element(base, note, k), element(base, note, k + 1)))
            k += 2
        else:
            slides.append('<div class="swiper-slide">%s</div>' % element(base, note, k))
            slides.append('<input type="hidden" class="pid" value="%d"><img class="lazy" alt="" src="/p.gif">' % k)
            k += 1
    head = ['<!DOCTYPE html>', '<html lang="zh-CN">', '<head>', '<meta charset="utf-8">']
    if zero:
        head.append("\0")
    if title is not None:
        head.append("<title>%s</title>" % title)
    head += ['<script>window.__STATE__={"note":"%s"}</script>' % note, '</head>', '<body>',
             '<header class="top-bar"><i class="icon-logo"></i><input class="search"></header>',
             '<div class="note-container"><div class="media-container">',
             '<div class="each active" data-v-1>', '<div class="swiper-wrapper">']
    body = slides + ['</div>', '</div>', '</div>', '<div class="note-top"><span class="name">作者</span></div>',
                     '<div class="note-content">周末好去处 ✨</div>', '</div>', '</body>', '</html>', '']
    return "\n".join(head + body).encode()


NOTES = {
    "demo": dict(title="春日花园散步记录｜周末好去处", count=4, pair_at=2),
    "notitle": dict(title=None, count=3),
    "zero": dict(title="Zero", count=2, zero=True),
    "traversal": dict(title="../x", count=1),
    "broken": dict(title="Broken", count=4),
    "slow": dict(title="Slow", count=4),
}


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"
    server_version = "NoteSite/1"

    def log_message(self, fmt, *args):
        pass

    def record(self):
        if LOG_FILE:
            with LOG_LOCK, open(LOG_FILE, "a", encoding="utf-8", errors="replace") as f:
                f.write(self.requestline + "\n")
                for name, value in self.headers.items():
                    f.write("  %s: %s\n" % (name, value))

    def send(self, status, body, kind):
        self.send_response(status)
        self.send_header("Content-Type", kind)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        self.record()
        url = urllib.parse.urlsplit(self.path)
        query = dict(urllib.parse.parse_qsl(url.query))
        parts = url.path.strip("/").split("/")
        scheme = "https" if isinstance(self.connection, ssl.SSLSocket) else "http"
        base = "%s://127.0.0.1:%d" % (scheme, self.server.server_address[1])
        if len(parts) == 2 and parts[0] == "note":
            name = parts[1]
            if name == "many":
                body = page(base, "many", "Many", int(query.get("n", 12)))
            elif name == "big":
                body = page(base, "big-%s" % query.get("kb", 200), "Big", int(query.get("n", 50)))
            elif name == "missing":
                body = page(base, "missing", "Not found", 1)
                return self.send(404, body, "text/html; charset=utf-8")
            elif name in NOTES:
                body = page(base, name, **NOTES[name])
            else:
                return self.send(404, b"<html><title>404</title></html>", "text/html")
            return self.send(200, body, "text/html; charset=utf-8")
        if len(parts) >= 3 and parts[0] == "img":
            note, k = parts[1], parts[2]
            if note == "broken" and k == "2":
                return self.send(404, b"no such picture", "text/plain")
            if note == "slow" and k == "3":
                time.sleep(30)
            kb = int(note.split("-")[1]) if note.startswith("big-") else 0
            return self.send(200, png("%s/%s" % (note, k), kb), "image/png")
        self.send(404, b"not found", "text/plain")


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True


def self_signed(directory):
    os.makedirs(directory, exist_ok=True)
    cert, key = os.path.join(directory, "site.crt"), os.path.join(directory, "site.key")
    if not os.path.exists(cert):
        subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2",
                        "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1",
                        "-keyout", key, "-out", cert], check=True, capture_output=True)
    return cert, key


def main():
    global LOG_FILE
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--port", type=int, default=8000)
    ap.add_argument("--https-port", type=int, default=None)
    ap.add_argument("--log")
    ap.add_argument("--cert-dir")
    a = ap.parse_args()
    LOG_FILE = a.log
    http_server = Server(("127.0.0.1", a.port), Handler)
    threading.Thread(target=http_server.serve_forever, daemon=True).start()
    https_port = 0
    if a.https_port is not None:
        directory = a.cert_dir or tempfile.mkdtemp(prefix="note-site-")
        cert, key = self_signed(directory)
        https_server = Server(("127.0.0.1", a.https_port), Handler)
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(cert, key)
        https_server.socket = context.wrap_socket(https_server.socket, server_side=True)
        https_port = https_server.server_address[1]
        threading.Thread(target=https_server.serve_forever, daemon=True).start()
    print("READY http=%d https=%d" % (http_server.server_address[1], https_port), flush=True)
    print("Paste http://127.0.0.1:%d/note/demo into Vellacrop." % http_server.server_address[1],
          file=sys.stderr, flush=True)
    try:
        while True:
            time.sleep(3600)
    except KeyboardInterrupt:
        pass


if __name__ == "__main__":
    main()
