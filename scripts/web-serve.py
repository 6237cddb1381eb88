#!/usr/bin/env python3
"""Serves the browser build's page on this machine (`make web-serve`):

    web-serve.py DIR [--port N] [--bind ADDR] [--mount NAME=DIR ...]

the way the page wants to be served (tools/web/site.py makes DIR):
  - a file with a .br or .gz sibling goes out compressed when the browser
    accepts it (Content-Encoding br or gzip, Vary: Accept-Encoding);
  - names carrying a content hash (qs.<hash>.js, tunes/<hash>.ogg, ...) may
    be kept by the browser for a year; everything else, index.html first,
    is asked for again each time (an ETag spares the bytes when unchanged).
--mount NAME=DIR serves DIR under /NAME/ as well (the tests' replays).
Port 0 takes a free port; the first line printed names the address."""
import argparse
import email.utils
import hashlib
import http.server
import os
import re
import sys
import urllib.parse

TYPES = {
    '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8', '.wasm': 'application/wasm',
    '.data': 'application/octet-stream', '.ogg': 'audio/ogg', '.png': 'image/png', '.json': 'application/json',
    '.qsr': 'application/octet-stream',
}
HASHED = re.compile(r'(^|/)([a-z]+\.)?[0-9a-f]{16}\.[a-z0-9]+$')
YEAR = 'public, max-age=31536000, immutable'


class Handler(http.server.BaseHTTPRequestHandler):
    root = '.'
    mounts = {}
    protocol_version = 'HTTP/1.1'

    def log_message(self, *args):
        pass

    def refuse(self, code, text):
        body = (text + '\n').encode()
        self.send_response(code)
        self.send_header('Content-Type', 'text/plain; charset=utf-8')
        self.send_header('Content-Length', str(len(body)))
        self.send_header('Cache-Control', 'no-store')
        self.end_headers()
        if self.command != 'HEAD':
            self.wfile.write(body)

    def locate(self):
        path = urllib.parse.unquote(urllib.parse.urlsplit(self.path).path)
        if '\0' in path:
            return None, None
        rel = path.lstrip('/')
        root = self.root
        first, _, rest = rel.partition('/')
        if first in self.mounts:
            root, rel = self.mounts[first], rest
        if rel == '' or rel.endswith('/'):
            rel += 'index.html'
        full = os.path.realpath(os.path.join(root, rel))
        base = os.path.realpath(root)
        if full != base and not full.startswith(base + os.sep):
            return None, None  # outside the served folder
        return full, rel

    def do_HEAD(self):
        self.do_GET()

    def do_GET(self):
        full, rel = self.locate()
        if not full or not os.path.isfile(full):
            return self.refuse(404, 'not found')
        accept = self.headers.get('Accept-Encoding', '')
        codings = [c.split(';')[0].strip() for c in accept.split(',')]
        send, encoding = full, None
        for enc, ext in (('br', '.br'), ('gzip', '.gz')):
            if enc in codings and os.path.isfile(full + ext):
                send, encoding = full + ext, enc
                break
        st = os.stat(send)
        tag = '"%s"' % hashlib.sha1(('%s:%d:%d' % (send, st.st_size, st.st_mtime_ns)).encode()).hexdigest()[:20]
        hashed = bool(HASHED.search(rel))
        if self.headers.get('If-None-Match') == tag:
            self.send_response(304)
            self.send_header('ETag', tag)
            self.send_header('Cache-Control', YEAR if hashed else 'no-cache')
            self.send_header('Content-Length', '0')
            self.end_headers()
            return
        self.send_response(200)
        self.send_header('Content-Type', TYPES.get(os.path.splitext(full)[1].lower(), 'application/octet-stream'))
        self.send_header('Content-Length', str(st.st_size))
        if encoding:
            self.send_header('Content-Encoding', encoding)
        self.send_header('Vary', 'Accept-Encoding')
        self.send_header('Cache-Control', YEAR if hashed else 'no-cache')
        self.send_header('ETag', tag)
        self.send_header('Last-Modified', email.utils.formatdate(st.st_mtime, usegmt=True))
        if full.endswith('.qsr'):
            self.send_header('Content-Disposition', 'attachment')
        self.end_headers()
        if self.command == 'HEAD':
            return
        with open(send, 'rb') as f:
            while True:
                chunk = f.read(1 << 16)
                if not chunk:
                    break
                try:
                    self.wfile.write(chunk)
                except (BrokenPipeError, ConnectionResetError):
                    return


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        # A browser dropping a kept-alive connection is no fault of ours.
        if isinstance(sys.exc_info()[1], (ConnectionError, TimeoutError)):
            return
        super().handle_error(request, client_address)


def main():
    ap = argparse.ArgumentParser(description='Serves the browser build of QUELLSTORM.')
    ap.add_argument('dir')
    ap.add_argument('--port', type=int, default=8080)
    ap.add_argument('--bind', default='127.0.0.1')
    ap.add_argument('--mount', action='append', default=[], metavar='NAME=DIR')
    a = ap.parse_args()
    if not os.path.isfile(os.path.join(a.dir, 'index.html')):
        sys.exit('web-serve: %s has no index.html (run make web)' % a.dir)
    Handler.root = a.dir
    for m in a.mount:
        name, sep, d = m.partition('=')
        if not sep or not name or '/' in name or not os.path.isdir(d):
            sys.exit('web-serve: --mount wants NAME=DIR with an existing DIR, not %r' % m)
        Handler.mounts[name] = d
    try:
        server = Server((a.bind, a.port), Handler)
    except OSError as e:
        sys.exit('web-serve: cannot listen on %s:%d: %s' % (a.bind, a.port, e.strerror))
    print('web-serve: http://%s:%d/' % server.server_address[:2], flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass


if __name__ == '__main__':
    main()
