#!/usr/bin/env python3
"""Serves the browser build's page on this machine (`make web-serve`):

    web-serve.py DIR [--port N] [--bind ADDR] [--mount NAME=DIR ...]

the way the page wants to be served: DIR's manifest.json (made by
tools/web/site.py through tools/web/manifest.py, and read the same way by
the score board's /play/) names each file with its type, its cache rule
(a year for names carrying a content hash, "no-cache" for the rest, index.html
first), its ETag (If-None-Match: 304) and its .br and .gz siblings (sent to
browsers that take them, Vary: Accept-Encoding). A name it lacks is not served.
--mount NAME=DIR serves DIR's files under /NAME/ as they are (the tests' replays).
Port 0 takes a free port; the first line printed names the address."""
import argparse
import hashlib
import http.server
import json
import os
import sys
import urllib.parse

TYPES = {
    '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8', '.wasm': 'application/wasm',
    '.data': 'application/octet-stream', '.ogg': 'audio/ogg', '.png': 'image/png', '.json': 'application/json',
    '.qsr': 'application/octet-stream', '.txt': 'text/plain; charset=utf-8',
}
YEAR = 'public, max-age=31536000, immutable'


class Handler(http.server.BaseHTTPRequestHandler):
    root = '.'
    mounts = {}
    loaded = [None, None]  # the manifest's time and files
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
        self.served_root = first not in self.mounts
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

    def manifest(self):
        path = os.path.join(self.root, 'manifest.json')
        try:
            mtime = os.stat(path).st_mtime_ns
        except OSError:
            return None
        if Handler.loaded[0] != mtime:
            with open(path, encoding='utf-8') as f:
                Handler.loaded[:] = [mtime, json.load(f)['files']]
        return Handler.loaded[1]

    def from_manifest(self, rel):
        files = self.manifest()
        if files is None:
            return self.refuse(404, 'the page has no manifest.json (make web)')
        e = files.get(rel)
        if e is None:
            return self.refuse(404, 'not found')
        accept = [c.split(';')[0].strip() for c in self.headers.get('Accept-Encoding', '').split(',')]
        name, etag, encoding = rel, e['etag'], None
        for coding in ('br', 'gzip'):
            if coding in accept and coding in e['encodings']:
                name, etag, encoding = e['encodings'][coding]['file'], e['encodings'][coding]['etag'], coding
                break
        tag = '"%s"' % etag
        cache = YEAR if e['cache'] == 'immutable' else 'no-cache'
        if tag in self.headers.get('If-None-Match', ''):
            self.send_response(304)
            self.send_header('ETag', tag)
            self.send_header('Cache-Control', cache)
            self.send_header('Vary', 'Accept-Encoding')
            self.send_header('Content-Length', '0')
            self.end_headers()
            return
        self.send_file(os.path.join(self.root, name), e['type'], encoding, tag, cache)

    def send_file(self, path, ctype, encoding, tag, cache, extra=()):
        try:
            f = open(path, 'rb')
        except OSError:
            return self.refuse(404, 'not found')
        with f:
            self.send_response(200)
            self.send_header('Content-Type', ctype)
            self.send_header('Content-Length', str(os.fstat(f.fileno()).st_size))
            if encoding:
                self.send_header('Content-Encoding', encoding)
            self.send_header('Vary', 'Accept-Encoding')
            self.send_header('Cache-Control', cache)
            self.send_header('ETag', tag)
            for k, v in extra:
                self.send_header(k, v)
            self.end_headers()
            if self.command == 'HEAD':
                return
            while True:
                chunk = f.read(1 << 16)
                if not chunk:
                    break
                try:
                    self.wfile.write(chunk)
                except (BrokenPipeError, ConnectionResetError):
                    return

    def do_GET(self):
        full, rel = self.locate()
        if not full:
            return self.refuse(404, 'not found')
        if self.served_root:
            return self.from_manifest(rel)
        if not os.path.isfile(full):
            return self.refuse(404, 'not found')
        # A mounted folder's file, as it is (a replay: never cached).
        st = os.stat(full)
        tag = '"%s"' % hashlib.sha1(('%s:%d:%d' % (full, st.st_size, st.st_mtime_ns)).encode()).hexdigest()[:20]
        extra = [('Content-Disposition', 'attachment')] if full.endswith('.qsr') else []
        self.send_file(full, TYPES.get(os.path.splitext(full)[1].lower(), 'application/octet-stream'), None, tag,
                       'no-cache', extra)


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
    if not os.path.isfile(os.path.join(a.dir, 'manifest.json')):
        sys.exit('web-serve: %s has no manifest.json (run make web)' % a.dir)
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
