#!/usr/bin/env python3
"""The page's files as a web server hands them out, from the link step's
output:

    site.py WEB_DIR TUNES_DIR ICON_PNG OUT_DIR

OUT_DIR receives
    index.html                 the page (never cached)
    qs.<hash>.js, .wasm, .data the program and its packaged data
    tunes/<hash>.ogg           each rendered tune, fetched after the start
    icon.<hash>.png            the favicon (the game's icon)
    manifest.json              how each is served (tools/web/manifest.py)
    licences/                  the game's licence and copyright, and the
                               cut font's licence and how to put the
                               original font back (the page links them)
and beside every file worth it a brotli (.br) and a gzip (.gz) copy. A name
with a hash never changes its content, so a server may let browsers keep it
for a year; an update makes new names, never mixing old and new files. The
page finds the hashed names in a table written into index.html.

Files of an earlier build that the new page does not name are removed; a
compressed copy already made for a hashed name is kept (same name, same
bytes)."""
import gzip
import hashlib
import json
import os
import sys

import manifest

try:
    import brotli
except ImportError:  # python3-brotli (scripts/web-deps.sh installs it)
    sys.exit("web-site: ERROR: the Python brotli module is missing (Debian package python3-brotli)")

# What is worth compressing: the rest (Ogg, PNG) is compressed already.
COMPRESS = ('.html', '.js', '.wasm', '.data')


def digest(data):
    return hashlib.sha256(data).hexdigest()[:16]


def write_if_changed(path, data):
    try:
        with open(path, 'rb') as f:
            if f.read() == data:
                return False
    except OSError:
        pass
    tmp = path + '.tmp'
    with open(tmp, 'wb') as f:
        f.write(data)
    os.replace(tmp, path)
    return True


def compressed_copies(path, data, fresh):
    """The .gz and .br siblings of `path`, made again only when `fresh`."""
    made = [path + '.gz', path + '.br']
    if fresh or not os.path.exists(made[0]):
        # No name or time in the gzip header: the same input, the same bytes.
        write_if_changed(made[0], gzip.compress(data, 9, mtime=0))
    if fresh or not os.path.exists(made[1]):
        write_if_changed(made[1], brotli.compress(data, quality=11 if len(data) < (8 << 20) else 9))
    return made


def main():
    if len(sys.argv) != 5:
        sys.exit('usage: site.py WEB_DIR TUNES_DIR ICON_PNG OUT_DIR')
    web, tunes, icon, out = sys.argv[1:]
    os.makedirs(os.path.join(out, 'tunes'), exist_ok=True)
    keep = set()
    files = {}  # name the page asks for -> hashed name

    def place(data, name, ext):
        path = os.path.join(out, name)
        fresh = write_if_changed(path, data)
        keep.add(path)
        if ext in COMPRESS:
            keep.update(compressed_copies(path, data, fresh))
        return data

    for ext in ('.wasm', '.data', '.js'):
        with open(os.path.join(web, 'index' + ext), 'rb') as f:
            data = f.read()
        name = 'qs.%s%s' % (digest(data), ext)
        place(data, name, ext)
        files['index' + ext] = name

    tune_bytes = 0
    tune_dir = os.path.join(tunes, 'MIDI')
    for t in sorted(os.listdir(tune_dir)):
        if not t.endswith('.ogg'):
            continue
        with open(os.path.join(tune_dir, t), 'rb') as f:
            data = f.read()
        name = 'tunes/%s.ogg' % digest(data)
        place(data, name, '.ogg')
        files['/MIDI/' + t] = name
        tune_bytes += len(data)

    with open(icon, 'rb') as f:
        data = f.read()
    icon_name = 'icon.%s.png' % digest(data)
    place(data, icon_name, '.png')

    # What the page passes on, under which terms: plain text beside it.
    root = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..')
    os.makedirs(os.path.join(out, 'licences'), exist_ok=True)
    for src, name in ((os.path.join(root, 'COPYING'), 'COPYING.txt'),
                      (os.path.join(root, 'dist', 'copyright'), 'copyright.txt'),
                      (os.path.join(web, 'data', 'font', 'LICENSE-IPA.txt'), 'font-LICENSE-IPA.txt'),
                      (os.path.join(web, 'data', 'font', 'README-font.txt'), 'font-README.txt')):
        try:
            with open(src, 'rb') as f:
                place(f.read(), 'licences/' + name, '.txt')
        except OSError as e:
            sys.exit('web-site: ERROR: %s' % e)

    with open(os.path.join(web, 'index.html'), encoding='utf-8') as f:
        html = f.read()
    script = 'src="index.js"'
    if script not in html or '/*QS_FILES*/' not in html or 'href="data:,"' not in html:
        sys.exit('web-site: ERROR: index.html lacks the places for the hashed names')
    html = html.replace(script, 'src="%s"' % files['index.js'])
    html = html.replace('/*QS_FILES*/null', json.dumps(files, ensure_ascii=True, sort_keys=True))
    html = html.replace('href="data:,"', 'href="%s" type="image/png"' % icon_name, 1)
    place(html.encode('utf-8'), 'index.html', '.html')

    keep.add(os.path.join(out, 'manifest.json'))
    for root, _dirs, names in os.walk(out):
        for n in names:
            p = os.path.join(root, n)
            if p not in keep:
                os.remove(p)
    # How the servers serve each file (the board's /play/, web-serve.py).
    manifest.write(out)

    first = sum(os.path.getsize(os.path.join(out, files[k]) + '.br') for k in ('index.js', 'index.wasm', 'index.data'))
    first += os.path.getsize(os.path.join(out, 'index.html.br'))
    print('web-site: %s: first load %.2f MB with brotli; %d tunes %.2f MB fetched after the start'
          % (out, first / 1e6, sum(1 for k in files if k.startswith('/MIDI/')), tune_bytes / 1e6))


if __name__ == '__main__':
    main()
