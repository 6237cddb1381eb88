#!/usr/bin/env python3
"""manifest.py DIR: writes DIR/manifest.json, the one description of how the
page's files are served, read by the score board (/play/) and by
scripts/web-serve.py alike. For each file the page may ask for:

  "NAME": {"type": content type, "cache": "immutable" | "no-cache",
           "etag": its content's hash, "size": bytes,
           "encodings": {"br": {"file": "NAME.br", "etag": ..., "size": ...},
                         "gzip": {...}}}

A name carrying 16 hex digits of its content's hash (qs.<hash>.js,
tunes/<hash>.ogg, icon.<hash>.png) never changes meaning: "immutable", a
browser may keep it a year. Everything else, index.html first, is asked
for again each time ("no-cache"; the ETag spares the bytes). A .br or .gz
sibling is the same file compressed, sent to browsers that take it.
tools/web/site.py calls it last; the tests call it on folders they make."""
import hashlib
import json
import os
import re
import sys

TYPES = {
    '.html': 'text/html; charset=utf-8', '.js': 'text/javascript; charset=utf-8', '.mjs': 'text/javascript; charset=utf-8',
    '.wasm': 'application/wasm', '.data': 'application/octet-stream', '.ogg': 'audio/ogg', '.png': 'image/png',
    '.json': 'application/json', '.css': 'text/css; charset=utf-8', '.svg': 'image/svg+xml', '.ico': 'image/x-icon',
    '.txt': 'text/plain; charset=utf-8', '.webmanifest': 'application/manifest+json',
}
HASHED = re.compile(r'(^|/)([a-z]+\.)?[0-9a-f]{16}\.[a-z0-9]+$')
ENCODINGS = (('br', '.br'), ('gzip', '.gz'))


def tag(path):
    with open(path, 'rb') as f:
        return hashlib.sha256(f.read()).hexdigest()[:16]


def describe(out):
    names = []
    for root, _dirs, files in os.walk(out):
        for n in files:
            rel = os.path.relpath(os.path.join(root, n), out).replace(os.sep, '/')
            if rel == 'manifest.json' or any(p.startswith('.') for p in rel.split('/')):
                continue
            names.append(rel)
    present = set(names)
    entries = {}
    for rel in sorted(names):
        base, ext = os.path.splitext(rel)
        if ext in ('.br', '.gz') and base in present:
            continue  # a sibling, described with its file
        path = os.path.join(out, rel)
        e = {'type': TYPES.get(ext.lower(), 'application/octet-stream'),
             'cache': 'immutable' if HASHED.search(rel) else 'no-cache',
             'etag': tag(path), 'size': os.path.getsize(path), 'encodings': {}}
        for coding, suffix in ENCODINGS:
            if rel + suffix in present:
                p = path + suffix
                e['encodings'][coding] = {'file': rel + suffix, 'etag': tag(p) + '-' + coding,
                                          'size': os.path.getsize(p)}
        entries[rel] = e
    return {'format': 1, 'files': entries}


def write(out):
    data = json.dumps(describe(out), indent=1, sort_keys=True).encode() + b'\n'
    path = os.path.join(out, 'manifest.json')
    try:
        with open(path, 'rb') as f:
            if f.read() == data:
                return path
    except OSError:
        pass
    with open(path + '.tmp', 'wb') as f:
        f.write(data)
    os.replace(path + '.tmp', path)
    return path


if __name__ == '__main__':
    if len(sys.argv) != 2 or not os.path.isdir(sys.argv[1]):
        sys.exit('usage: manifest.py DIR')
    write(sys.argv[1])
