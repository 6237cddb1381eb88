#!/usr/bin/env python3
"""The score board end to end, on SQLite and on a throw-away PostgreSQL 15
cluster: real games recorded by the headless game, submitted over HTTP on
loopback, re-played by the board's verifiers with the real game.

  board_e2e.py BOARD_BIN GAME_BIN SOURCE_DIR [sqlite|postgresql ...]

Prints one line per check and a closing "board: N passed, N failed".
Every server and database it starts is stopped whatever fails.
"""
import gzip
import http.client
import json
import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import threading
import time
from concurrent.futures import ThreadPoolExecutor
from xml.etree import ElementTree

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pgtemp import Postgres, die_with_parent, stop_on_signals  # noqa: E402

BOARD, GAME, SRC = sys.argv[1:4]
KINDS = sys.argv[4:] or ["sqlite", "postgresql"]
ROOT = tempfile.mkdtemp(prefix="qs-board-e2e-")
JOBS = f"{ROOT}/jobs"
MAX_UPLOAD_KB = 1024
JS_BYTES = b"console.log('the game');\n" * 50
BR_BYTES = b"\x1b brotli stand-in"  # served as it is: the board never decodes
ATOM = "{http://www.w3.org/2005/Atom}"
passed = failed = 0
cleanups = []


def check(ok, what, detail=""):
    global passed, failed
    if ok:
        passed += 1
    else:
        failed += 1
    print(("PASS " if ok else "FAIL ") + what + (": " + str(detail) if detail and not ok else ""), flush=True)
    return ok


# ---- Games to submit -------------------------------------------------------
# NORMAL, firing while flying into the first groups: the ship is lost three
# times, the game over is confirmed, and the replay holds the whole game.
# Two of the games use a bomb on their way.
def keys(shift, speed=False):
    # With `speed` the correction goes up by 0.01 early on and back to none
    # long before the game ends.
    bomb = "300 press Z\n" if shift in (13, 14) else ""
    return (f"5 hold SPACE\n6 hold\n40 hold SPACE\n41 hold\n{60 + shift} hold UP SPACE\n{bomb}"
            + ("100 press 2\n3000 press W\n" if speed else "") + "4800 hold\n5000 hold SPACE\n5001 hold\n")


# Stage 2 and a single life chosen on the options screen, then the same.
LATE_KEYS = ("5 hold SPACE\n6 hold\n10 hold DOWN\n11 hold\n15 hold SPACE\n16 hold\n"  # options
             "150 hold DOWN\n151 hold\n155 hold LEFT\n156 hold\n"  # one life
             "160 hold DOWN\n161 hold\n165 hold RIGHT\n166 hold\n"  # stage 2
             "180 hold SPACE\n181 hold\n300 hold SPACE\n301 hold\n320 hold UP SPACE\n"
             "4800 hold\n5000 hold SPACE\n5001 hold\n")


def record(i, script=None, extra=(), speed=False, whole=None):
    """One game as the game keeps it: a one-game replay file (or with
    `whole`, a whole run of that many games recorded with --record)."""
    d = tempfile.mkdtemp(dir=ROOT)
    with open(f"{d}/k.keys", "w") as f:
        f.write(keys(i, speed) if script is None and not whole else script if not whole else
                "".join(f"{5 + g * 5200} hold SPACE\n{6 + g * 5200} hold\n{40 + g * 5200} hold SPACE\n"
                        f"{41 + g * 5200} hold\n{60 + g * 5200} hold UP SPACE\n{4800 + g * 5200} hold\n"
                        f"{5000 + g * 5200} hold SPACE\n{5001 + g * 5200} hold\n" for g in range(whole)))
    run = ["--script", f"{d}/k.keys"] if script != "" else []
    out = ["--record", f"{d}/run.qsr"] if whole else ["--keep-replays", "on"]
    subprocess.run([GAME, "--headless", "--home", d, *run, *extra, "--frames", str(5100 + 5200 * ((whole or 1) - 1)),
                    "--draw-every", "1000", *out], check=True, capture_output=True,
                   env=dict(os.environ, SDL_VIDEODRIVER="dummy", SDL_AUDIODRIVER="dummy", XDG_CONFIG_HOME=d),
                   timeout=300)
    if whole:
        with open(f"{d}/run.qsr", "rb") as f:
            return f.read()
    kept = [f for f in os.listdir(f"{d}/replays") if f.endswith(".qsr")]
    with open(f"{d}/replays/{kept[0]}", "rb") as f:
        data = f.read()
    # The ghost track made while the game was played, kept beside it.
    with open(f"{d}/replays/{kept[0][:-4]}.qst", "rb") as f:
        KEPT_TRACKS[data] = f.read()
    return data


KEPT_TRACKS = {}


def taken_over(data, frame):
    """The replay watched (opened as watched.qsr) and taken over at `frame`
    with the take-over key, then played on by keys to game over: the
    practice run the game keeps."""
    d = tempfile.mkdtemp(dir=ROOT)
    with open(f"{d}/watched.qsr", "wb") as f:
        f.write(data)
    with open(f"{d}/k.keys", "w") as f:
        f.write(f"{frame} press T\n{frame + 1} hold UP SPACE\n4800 hold\n5000 hold SPACE\n5001 hold\n")
    subprocess.run([GAME, "--headless", "--home", d, "--play", f"{d}/watched.qsr", "--script", f"{d}/k.keys",
                    "--keep-replays", "on", "--frames", "12000", "--draw-every", "1000"], check=True,
                   capture_output=True, timeout=300,
                   env=dict(os.environ, SDL_VIDEODRIVER="dummy", SDL_AUDIODRIVER="dummy", XDG_CONFIG_HOME=d))
    kept = [f for f in os.listdir(f"{d}/replays") if f.endswith(".qsr")]
    with open(f"{d}/replays/{kept[0]}", "rb") as f:
        return f.read()


def game_result(data):
    """What the game itself computes for a replay (the board must agree)."""
    d = tempfile.mkdtemp(dir=ROOT)
    with open(f"{d}/r.qsr", "wb") as f:
        f.write(data)
    subprocess.run([GAME, "--headless", "--home", d, "--play", f"{d}/r.qsr", "--verify", "--draw-every", "0",
                    "--result-json", f"{d}/r.json", "--track", f"{d}/r.qst"], capture_output=True, timeout=300,
                   env=dict(os.environ, SDL_VIDEODRIVER="dummy", SDL_AUDIODRIVER="dummy", XDG_CONFIG_HOME=d))
    with open(f"{d}/r.json") as f:
        result = json.load(f)
    if os.path.exists(f"{d}/r.qst"):  # none for a refused file
        with open(f"{d}/r.qst", "rb") as f:
            result["track"] = f.read()
    return result


def ship_at(data, frame):
    """The ship's (x, y) after frame `frame` of the replay's playback."""
    d = tempfile.mkdtemp(dir=ROOT)
    with open(f"{d}/r.qsr", "wb") as f:
        f.write(data)
    subprocess.run([GAME, "--headless", "--home", d, "--play", f"{d}/r.qsr", "--draw-every", "0", "--frames",
                    str(frame), "--state-out", f"{d}/s.txt"], capture_output=True, timeout=300,
                   env=dict(os.environ, SDL_VIDEODRIVER="dummy", SDL_AUDIODRIVER="dummy", XDG_CONFIG_HOME=d))
    with open(f"{d}/s.txt") as f:
        fields = dict(w.split("=", 1) for w in f.read().split())
    return int(fields["ShipX"]), int(fields["ShipY"])


def track_points(track):
    """A track file's (x, y, score) of each frame (docs/replay-format.md)."""
    head, _, data = track.partition(b"\ndata ")
    data = data[data.index(b"\n") + 1:]
    pts, x, y, score, i = [], 0, 0, 0, 0
    while i < len(data):
        flags = data[i]
        i += 1
        if flags & 2:
            x, y = (int.from_bytes(data[i:i + 2], "little", signed=True),
                    int.from_bytes(data[i + 2:i + 4], "little", signed=True))
            i += 4
        else:
            x, y = x + int.from_bytes(data[i:i + 1], "little", signed=True), \
                y + int.from_bytes(data[i + 1:i + 2], "little", signed=True)
            i += 2
        if flags & 4:
            v, shift = 0, 0
            while True:
                v |= (data[i] & 0x7F) << shift
                shift += 7
                i += 1
                if not data[i - 1] & 0x80:
                    break
            score += (v >> 1) ^ -(v & 1)
        if flags & 8:
            i += 1
        pts.append((x, y, score))
    return pts


def with_header(data, key, value):
    """The replay with one header line set: the bytes change, the game not."""
    lines = data.split(b"\n")
    new = f"{key} {value}".encode()
    for i, line in enumerate(lines):
        if line.startswith(key.encode() + b" "):
            lines[i] = new
            return b"\n".join(lines)
    lines.insert(1, new)
    return b"\n".join(lines)


def tampered(data):
    """The keys of the longest hold changed to none: the game parts from the
    recording there."""
    lines = data.split(b"\n")
    keyed = [(i, int(line.split(b" ")[0])) for i, line in enumerate(lines)
             if len(line.split(b" ")) == 3 and line.split(b" ")[1] == b"K"]
    gaps = [(keyed[k + 1][1] - keyed[k][1], keyed[k]) for k in range(len(keyed) - 1)]
    _, (i, frame) = max(gaps)
    lines[i] = str(frame).encode() + b" K 0"
    return b"\n".join(lines), frame


# ---- The board --------------------------------------------------------------
class Board:
    def __init__(self, db, command="serve", *extra, game=GAME):
        args = [BOARD, command, "--db", db, "--game", game, "--job-seconds", "600", "--lease-seconds", "2",
                "--max-upload-kb", str(MAX_UPLOAD_KB), "--submit-per-minute", "0"]
        if command == "serve":
            args += ["--listen", "127.0.0.1:0", "--web", f"{ROOT}/web"]
        if os.environ.get("QS_BOARD_NO_MEMORY_LIMIT"):  # sanitizer builds reserve vast address space
            args += ["--job-memory-mb", "0"]
        self.log = open(f"{ROOT}/board-{time.monotonic_ns()}.log", "w")
        self.logname = self.log.name
        # The verifiers' job folders go where the test can see them.
        self.p = subprocess.Popen(args + list(extra), stdout=subprocess.PIPE, stderr=self.log, text=True,
                                  preexec_fn=die_with_parent, env=dict(os.environ, TMPDIR=JOBS))
        cleanups.append(self.kill)
        line = self.p.stdout.readline()
        self.port = int(line.split("127.0.0.1:")[1].split("/")[0]) if command == "serve" and line else 0

    def logged(self):
        with open(self.logname) as f:
            return f.read()

    def request(self, method, path, body=None, headers=None, timeout=30):
        c = http.client.HTTPConnection("127.0.0.1", self.port, timeout=timeout)
        try:
            c.request(method, path, body=body, headers=headers or {})
            r = c.getresponse()
            data = r.read()
            return r.status, dict(r.getheaders()), data
        finally:
            c.close()

    def json(self, method, path, body=None, headers=None):
        status, hdrs, data = self.request(method, path, body, headers)
        try:
            return status, json.loads(data), hdrs
        except ValueError:
            return status, {"not-json": data[:200]}, hdrs

    def submit(self, data, name):
        return self.json("POST", "/api/submissions?name=" + urlquote(name), data,
                         {"Content-Type": "application/octet-stream"})

    def wait(self, sid, timeout=120):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            _, j, _ = self.json("GET", f"/api/submissions/{sid}")
            if j.get("status") in ("verified", "rejected", "held"):
                return j
            time.sleep(0.1)
        return {"status": "timed out"}

    def boards(self):
        # The boards are served from copies up to a second old: a run
        # verified just now shows once its copy has been remade.
        time.sleep(1.2)
        return self.json("GET", "/api/boards")[1]

    def stop(self, sig=signal.SIGTERM):
        if self.p.poll() is None:
            self.p.send_signal(sig)
            try:
                self.p.wait(30)
            except subprocess.TimeoutExpired:
                self.p.kill()
                self.p.wait()
        return self.p.returncode

    def kill(self):
        if self.p.poll() is None:
            self.p.kill()
            self.p.wait()


def urlquote(s):
    from urllib.parse import quote
    return quote(s, safe="")


def alive(b):
    status, j, _ = b.json("GET", "/api/status")
    return status == 200 and "queued" in j


# ---- The cases ---------------------------------------------------------------
def play_and_rank(kind, db, games, expected):
    b = Board(db, "serve", "--verifiers", "2")
    good, (bad, changed) = games[0], tampered(games[0])
    # The same run under another name: re-dated, its header claiming more.
    claim = with_header(with_header(games[0], "score", 999999999999), "date", "2031-01-01 00:00:00")
    status, j, _ = b.submit(good, "ace")
    check(status == 202 and j.get("status") == "queued" and len(j.get("id", "")) == 32,
          f"{kind}: a finished game is queued at once", (status, j))
    sid = j["id"]
    status2, j2, _ = b.submit(good, "someone else")
    check(j2.get("id") == sid, f"{kind}: the same file sent twice is the same submission", (status2, j2))
    v = b.wait(sid)
    check(v.get("status") == "verified" and v.get("score") == expected["score"] and v.get("rank") == 1,
          f"{kind}: verified with the score the game computes ({expected['score']})", v)
    boards = b.boards()
    listed = [e for bd in boards["boards"] for e in bd["entries"] if e["id"] == sid]
    check(len(listed) == 1 and listed[0]["score"] == expected["score"] and listed[0]["name"] == "ace",
          f"{kind}: listed once on its board", boards)
    _, entry, _ = b.json("GET", f"/api/entry/{sid}")
    check(entry.get("difficulty") == expected["difficulty"] and entry.get("jewels") == expected["jewels"]
          and [s["score"] for s in entry.get("stage_scores", [])] == expected["stage_scores"],
          f"{kind}: the entry holds the game's own difficulty, jewels and stage scores", entry)
    status, hdrs, data = b.request("GET", f"/api/replays/{sid}")
    check(status == 200 and data == good and "attachment" in hdrs.get("Content-Disposition", ""),
          f"{kind}: the replay downloads as sent")
    # The ghost's track: the board's, the game's and the one kept while the
    # game was played are the same bytes; its ship is where the playback's is.
    status, _, track = b.request("GET", f"/api/replays/{sid}/track")
    check(status == 200 and track == expected["track"] == KEPT_TRACKS[good],
          f"{kind}: the board serves the track the game makes of the run", (status, len(track)))
    pts = track_points(track)
    sampled = {f: ship_at(good, f) for f in (1, len(pts) // 3, len(pts) - 5)}
    check(len(pts) == expected["frames"] and pts[-1][2] == expected["score"]
          and all(pts[f - 1][:2] == xy for f, xy in sampled.items()),
          f"{kind}: the track's ship is where the playback's is", (len(pts), sampled, [pts[f - 1] for f in sampled]))

    status, jc, _ = b.submit(claim, "claimer")
    _, jt, _ = b.submit(bad, "tamperer")
    vc, vt = b.wait(jc["id"]), b.wait(jt["id"])
    boards = b.boards()
    ranked = [e for bd in boards["boards"] for e in bd["entries"] if e["score"] == expected["score"]]
    check(status == 200 and jc.get("id") == sid and vc.get("name") == "ace" and len(ranked) == 1,
          f"{kind}: a re-dated copy claiming more under another name is the first sender's entry, ranked once",
          (status, jc, vc, ranked))
    diff = vt.get("first_difference_frame")
    check(vt.get("status") == "rejected" and isinstance(diff, int) and diff >= changed
          and f"frame {diff}" in (vt.get("reason") or ""),
          f"{kind}: a tampered file is rejected naming the first differing frame", vt)
    status, _, _ = b.request("GET", f"/api/replays/{jt['id']}/track")
    check(status == 404, f"{kind}: a rejected file has no track", status)

    # Only a player's own game is ranked, and whole runs only from stage 1:
    # the bot's game is refused saying so; a game started at stage 2 from
    # the options screen is ranked on a board of its own, its start shown.
    _, jb, _ = b.submit(BOT_GAME, "robot")
    _, jl, _ = b.submit(LATE_GAME, "latecomer")
    vb, vl = b.wait(jb["id"]), b.wait(jl["id"])
    check(vb.get("status") == "rejected" and "bot" in (vb.get("reason") or ""),
          f"{kind}: the bot's game is refused with that reason", vb)
    boards = b.boards()
    where = {e["id"]: (bd["board"], bd["title"], e.get("start_stage")) for bd in boards["boards"] for e in bd["entries"]}
    check(vl.get("status") == "verified" and vl.get("rank") == 1 and vl.get("board_title") == "NORMAL, from stage 2"
          and where.get(jl["id"], ("",))[1:] == ("NORMAL, from stage 2", 2) and where.get(sid, ("",))[1:] == ("NORMAL", 1),
          f"{kind}: a game from stage 2 ranks on its own board, apart from whole runs", (vl, where))
    _, _, page = b.request("GET", "/")
    check(b"NORMAL, from stage 2</a></h2>" in page and b"<td>stage 2</td>" in page,
          f"{kind}: the boards page shows the start stage", page[:2000])
    return b


def starts_and_costs(kind, b, extra):
    """What a file's start and its length may earn: the speed correction used
    at any time, an end far past the file's lines, whole runs, older files."""
    started = time.monotonic()
    endless = b.wait(b.submit(extra["endless"], "endless")[1].get("id"))
    took = time.monotonic() - started
    ids = {what: b.submit(data, what)[1].get("id") for what, data in extra.items() if what != "endless"}
    done = {what: b.wait(i) for what, i in ids.items()}
    v = done["speed"]
    check(v.get("status") == "verified" and v.get("board") == "d1s+0.010",
          f"{kind}: a game that used the speed correction, then set it back, is on the correction's board", v)
    check(endless.get("status") == "rejected" and "far past" in (endless.get("reason") or "") and took < 10,
          f"{kind}: an end line far past the file's last line is refused within seconds", (took, endless))
    v = done["format1"]
    check(v.get("status") == "verified" and v.get("score") == 15723,
          f"{kind}: a format-1 whole run of one game from start-up is ranked like any other", v)
    v = done["two games"]
    check(v.get("status") == "rejected" and "a whole-run recording" in (v.get("reason") or "")
          and "send the kept game's file" in v.get("reason", ""),
          f"{kind}: a whole run of two games is refused with the true reason", v)
    v = done["image"]
    check(v.get("status") == "rejected" and "its start cannot be proven" in (v.get("reason") or ""),
          f"{kind}: an older kept game (a memory image) is refused: it still plays in the game", v)
    v, s = done["take-over"], done["stage practice"]
    check(v.get("status") == "rejected" and "a practice run is not ranked: taken over from run "
          "watched.qsr at frame 137" in (v.get("reason") or "")
          and s.get("status") == "rejected" and "a stage practice run is not ranked" in (s.get("reason") or ""),
          f"{kind}: practice runs (a take-over, a stage practice) verify but are not ranked, by name", (v, s))
    v = done["bad practice"]
    check(v.get("status") == "rejected" and "'practice' is neither" in (v.get("reason") or ""),
          f"{kind}: an unknown practice mark refuses the file", v)


def bad_inputs(kind, b, games):
    ok = lambda s, j: 400 <= s < 500 and isinstance(j.get("error"), str) and j["error"]
    octet = {"Content-Type": "application/octet-stream"}
    cases = [
        ("junk bytes", "/api/submissions?name=x", os.urandom(3000), octet, 400),
        ("an empty body", "/api/submissions?name=x", b"", octet, 400),
        ("a truncated replay", "/api/submissions?name=x", games[1][:len(games[1]) // 2], octet, 400),
        ("an oversized upload", "/api/submissions?name=x", b"QSREPLAY 2\n" + b"0" * (MAX_UPLOAD_KB * 1024 + 10),
         octet, 413),
        ("a wrong content type", "/api/submissions?name=x", games[1], {"Content-Type": "text/plain"}, 415),
        ("no name", "/api/submissions", games[1], octet, 400),
        ("a name with control characters", "/api/submissions?name=" + urlquote("a\x07b\x1b[2J"), games[1], octet, 400),
        ("a name of 25 characters", "/api/submissions?name=" + "x" * 25, games[1], octet, 400),
        ("a name of spaces", "/api/submissions?name=%20%20", games[1], octet, 400),
        ("a name of zero-width spaces", "/api/submissions?name=" + urlquote("\u200b\u200b"), games[1], octet, 400),
        ("a name turned by a direction override", "/api/submissions?name=" + urlquote("ab\u202egnp.exe"), games[1],
         octet, 400),
        ("a name of combining marks alone", "/api/submissions?name=" + urlquote("\u0301\u0301"), games[1], octet, 400),
        ("a form without its file", "/submit", b"name=x", {"Content-Type": "application/x-www-form-urlencoded"}, 400),
    ]
    for what, path, body, headers, want in cases:
        status, j, _ = b.json("POST", path, body, headers)
        check(status == want and ok(status, j), f"{kind}: {what} is refused with {want} and a reason", (status, j))
    for path in ["/api/submissions/../../../etc/passwd", "/api/replays/..%2F..%2Fetc%2Fpasswd",
                 "/api/replays/" + "A" * 32, "/entry/%3Cscript%3E", "/play/../../etc/passwd",
                 "/play/%2e%2e/%2e%2e/etc/passwd", "/play/.%00./x", "/api/entry/" + "0" * 31 + "%00",
                 "/api/submissions/" + "0" * 32]:
        status, j, _ = b.json("GET", path)
        check(400 <= status < 500 and "error" in j and b"root:" not in json.dumps(j).encode(),
              f"{kind}: path trick {path} is answered {status} with a reason", (status, j))
    check(alive(b), f"{kind}: the board still answers after the bad input")


def play_files(b):
    """/play/: the web build's files, precompressed siblings and cache rules."""
    s, h, body = b.request("GET", "/play/", headers={"Accept-Encoding": "gzip, br"})
    check(s == 200 and body.startswith(b"<!DOCTYPE") and h.get("Cache-Control") == "no-cache",
          "/play/ is the page, never kept by a cache", (s, h))
    s, h, body = b.request("GET", "/play/qs.0123456789abcdef.js", headers={"Accept-Encoding": "gzip, br"})
    check(s == 200 and h.get("Content-Encoding") == "br" and body == BR_BYTES
          and "max-age=31536000" in h.get("Cache-Control", "") and "Accept-Encoding" in h.get("Vary", ""),
          "a hashed name comes as its .br sibling, kept a year", (s, h))
    s, h, body = b.request("GET", "/play/qs.0123456789abcdef.js", headers={"Accept-Encoding": "gzip"})
    check(s == 200 and h.get("Content-Encoding") == "gzip" and gzip.decompress(body) == JS_BYTES,
          "without br the .gz sibling is sent", (s, h))
    s, h, body = b.request("GET", "/play/qs.0123456789abcdef.js")
    check(s == 200 and "Content-Encoding" not in h and body == JS_BYTES, "and the file itself to others", (s, h))
    s, h, _ = b.request("GET", "/play/", headers={"Accept-Encoding": "gzip, br"})
    s2, h2, body = b.request("GET", "/play/", headers={"If-None-Match": h.get("ETag", "none")})
    check(h.get("ETag") and s2 == 304 and not body and h2.get("ETag") == h["ETag"],
          "a file the browser holds already is answered 304 by its ETag", (s2, h2))
    codes = [b.request("GET", f"/play/{n}")[0] for n in ("stray.js", "unlisted.js")]
    check(codes == [404, 404], "only the manifest's files are served, and only those still there", codes)


def hostile_names(kind, b, games):
    names = ["<svg onload=__pwned=1>", "\"><b>bold</b><i>", "x'); DROP TABLE x;--"]
    ids = [b.submit(g, n)[1]["id"] for g, n in zip(games, names)]
    done = [b.wait(i) for i in ids]
    check(all(d.get("status") == "verified" for d in done), f"{kind}: hostile names are ranked like any", done)
    status, _, page = b.request("GET", "/")
    check(status == 200 and b"<svg" not in page and b"&lt;svg onload=__pwned=1&gt;" in page,
          f"{kind}: names are escaped in the page's HTML")
    web = os.path.join(SRC, "tests", "web")
    if not check(os.path.isdir(os.path.join(web, "node_modules", "puppeteer-core")),
                 "the browser tests' node modules are installed (scripts/deps.sh test)"):
        return
    r = subprocess.run(["node", os.path.join(web, "board_names.mjs"), f"http://127.0.0.1:{b.port}/",
                        f"{ROOT}/board-{kind}.png"] + names, capture_output=True, text=True, timeout=180)
    print(r.stdout, end="")
    check(r.returncode == 0, f"{kind}: headless Chromium shows every hostile name as plain text", r.stderr[-500:])


def atom(b, path):
    """A feed read with a real XML parser: its entries' ids, or None when it
    is not Atom with what every feed and entry must hold."""
    status, hdrs, data = b.request("GET", path)
    if status != 200 or not hdrs.get("Content-Type", "").startswith("application/atom+xml"):
        return None
    root = ElementTree.fromstring(data)
    need = ["id", "title", "updated"]
    if root.tag != ATOM + "feed" or any(root.find(ATOM + t) is None for t in need + ["author"]):
        return None
    ids = []
    for e in root.findall(ATOM + "entry"):
        if any(e.find(ATOM + t) is None for t in need + ["author", "link", "summary"]):
            return None
        ids.append(e.find(ATOM + "id").text)
    return ids


def admin(db, *args):
    return subprocess.run([BOARD, "admin", *args, "--db", db], capture_output=True, text=True, timeout=60)


def community(kind, db, b, games):
    """Three players' runs: one row per player with dates and conditions,
    the pages and feeds that list them, a removed entry, a blocked name."""
    runs = [("ana", games[0]), ("ana", games[2]), ("bo", games[1]), ("cy", games[3])]
    # cy's whole game on EASY, cleared without a ship lost (a long one: it
    # is played back while the rest is checked, and looked at last).
    _, jn, _ = b.submit(NOMISS_GAME, "cy")
    ids = [b.submit(g, n)[1]["id"] for n, g in runs]
    done = {i: b.wait(i) for i in ids}
    check(all(d.get("status") == "verified" for d in done.values()), f"{kind}: the three players' runs are verified",
          done)
    entries = {i: b.json("GET", f"/api/entry/{i}")[1] for i in ids}
    bombed = [e.get("bombs_used") for e in entries.values()]
    check(all(e.get("misses") == e.get("lives") for e in entries.values()) and sorted(bombed) == [0, 0, 1, 1],
          f"{kind}: ships lost and bombs used are the game's own counts", [(e.get("misses"), e.get("bombs_used"))
                                                                          for e in entries.values()])
    _, board, _ = b.json("GET", "/api/board/d1")
    rows = [r for r in board.get("entries", []) if r["name"] in ("ana", "bo", "cy")]
    best_ana = max((entries[i] for i in ids[:2]), key=lambda e: (e["score"], -e["verified_at"]))
    check(sorted(r["name"] for r in rows) == ["ana", "bo", "cy"] and all(r.get("date") for r in rows)
          and all(("no-bomb" in r["tags"]) == (r["bombs_used"] == 0) and "no-miss" not in r["tags"] for r in rows)
          and [r["id"] for r in rows if r["name"] == "ana"] == [best_ana["id"]],
          f"{kind}: the board shows one row per player, their best, with its date and conditions", rows)
    _, every, _ = b.json("GET", "/api/board/d1?all=1")
    _, nobomb, _ = b.json("GET", "/api/board/d1?nobomb=1&all=1")
    check(sum(r["name"] == "ana" for r in every.get("entries", [])) == 2
          and {r["name"] for r in nobomb.get("entries", [])} & {"ana", "bo", "cy"} == {"ana", "cy"}
          and all(r["bombs_used"] == 0 for r in nobomb["entries"]),
          f"{kind}: every run on switching, and the no-bomb filter keeps only runs without a bomb", (every, nobomb))
    s1, _, _ = b.request("GET", "/api/board/d1?page=99")
    s2, _, _ = b.request("GET", "/board/d9")
    s3, _, _ = b.request("GET", "/board/d1?page=x")
    check((s1, s2, s3) == (404, 404, 400), f"{kind}: a page past the last, an unknown board, a bad page: 404 404 400",
          (s1, s2, s3))
    _, player, _ = b.json("GET", "/api/player/ana")
    status, _, page = b.request("GET", "/player/ana")
    check(len(player.get("latest", [])) == 2 and [x["id"] for x in player.get("bests", [])] == [best_ana["id"]]
          and player.get("stage_bests") and status == 200 and all(i.encode() in page for i in ids[:2]),
          f"{kind}: the player page lists their runs, their best per board and per stage", player)
    feed = atom(b, "/feeds/player/ana")
    records = atom(b, "/feeds/records.atom")
    check(feed is not None and all(any(i in x for x in feed) for i in ids[:2]) and records,
          f"{kind}: the player's feed and the records feed are Atom and list the runs", (feed, records))

    # The host removes bo's run and blocks a name.
    r = admin(db, "remove", ids[2], "played with a turbo pad")
    time.sleep(1.5)  # the boards' copies are remade within a second
    _, board, _ = b.json("GET", "/api/board/d1?all=1")
    _, sub, _ = b.json("GET", f"/api/submissions/{ids[2]}")
    status, _, page = b.request("GET", f"/entry/{ids[2]}")
    check(r.returncode == 0 and all(e["id"] != ids[2] for e in board.get("entries", []))
          and sub.get("status") == "removed" and b"played with a turbo pad" in page and b"Removed" in page,
          f"{kind}: a removed entry leaves the boards and its page says why", (r.stderr, sub))
    r = admin(db, "block", "name", "Mallory", "sent other people's replays")
    status, j, _ = b.submit(games[0] + b"\n", "mallory")
    check(r.returncode == 0 and status == 403 and "other people's replays" in j.get("error", ""),
          f"{kind}: a blocked name is refused with 403 and the reason", (status, j))
    listed, log = admin(db, "list").stdout, admin(db, "log").stdout
    check(ids[2] in listed and "Mallory" in listed and "remove " + ids[2] in log and "block name Mallory" in log
          and log.count("Z  ") >= 2,
          f"{kind}: the host lists what is removed and blocked, and the log holds each act with its time", log)

    vn = b.wait(jn["id"], timeout=600) if "id" in jn else jn
    _, en, _ = b.json("GET", f"/api/entry/{jn.get('id')}")
    time.sleep(1.2)  # the boards' copies are remade within a second
    _, easy, _ = b.json("GET", "/api/board/d0?nomiss=1")
    _, normal, _ = b.json("GET", "/api/board/d1?nomiss=1")
    row = [r for r in easy.get("entries", []) if r["id"] == jn.get("id")]
    check(vn.get("status") == "verified" and en.get("misses") == 0 and en.get("ending") == "staffroll"
          and en.get("stage") == 6 and len(row) == 1 and row[0]["name"] == "cy"
          and {"no-miss", "clear"} <= set(row[0]["tags"]) and normal.get("entries") == [],
          f"{kind}: a game cleared without a ship lost is tagged no-miss and clear, and the no-miss filter lists it "
          "alone", (vn, en.get("misses"), en.get("ending"), row, normal.get("entries")))


def killed_worker_and_restart(kind, db, games):
    # Verified elsewhere: this board only answers.
    b = Board(db, "serve", "--verifiers", "-1")
    w1 = Board(db, "worker", "--verifiers", "1")
    sid = b.submit(games[0], "survivor")[1]["id"]
    left = lambda: [d for d in os.listdir(JOBS) if d.startswith(f"quellstorm-verify-{w1.p.pid}-")]
    status, hdrs, page = b.request("GET", f"/entry/{sid}")
    check(status == 200 and int(hdrs.get("Refresh", "0")) > 0 and b"/api/submissions/" in page,
          f"{kind}: a waiting entry's page follows it (Refresh, and a script asking for its state)", hdrs)
    end = time.monotonic() + 60
    while time.monotonic() < end and (b.json("GET", f"/api/submissions/{sid}")[1].get("status") != "verifying"
                                      or not left()):
        time.sleep(0.01)
    w1.stop(signal.SIGKILL)
    check(b.json("GET", f"/api/submissions/{sid}")[1].get("status") == "verifying",
          f"{kind}: a worker is killed with SIGKILL mid-job")
    check(left(), f"{kind}: the killed worker's job folder is left behind", os.listdir(JOBS))
    queued = [b.submit(g, f"queued{i}")[1]["id"] for i, g in enumerate(games[1:])]
    check(b.stop() == 0, f"{kind}: the board stops cleanly with a queue")
    b = Board(db, "serve", "--verifiers", "2")
    check(not left() and "removed 1 job folder" in b.logged(), f"{kind}: and removed at the next start",
          (os.listdir(JOBS), b.logged()[-300:]))
    w2 = Board(db, "worker", "--verifiers", "1")
    v = b.wait(sid)
    _, entry, _ = b.json("GET", f"/api/entry/{sid}")
    boards = b.boards()
    entries = [e for bd in boards["boards"] for e in bd["entries"] if e["id"] == sid]
    check(v.get("status") == "verified" and len(entries) == 1 and len(entry.get("stage_scores", [])) == 1,
          f"{kind}: another verifier finished the killed worker's job, once", (v, entries))
    after = [b.wait(i) for i in queued]
    check(all(a.get("status") == "verified" for a in after),
          f"{kind}: every job queued before the restart is verified after it", after)
    w2.stop()
    return b


def sandbox(kind, db, game):
    """The verifier's child, tried by a stand-in game built here: every way
    out of its sandbox fails; the board's own troubles are not the file's."""
    pdir = f"{ROOT}/probe"
    flag = f"{pdir}/kill-flag"
    if not os.path.exists(f"{pdir}/probe"):
        os.makedirs(pdir)
        subprocess.run(["cc", "-O1", "-o", f"{pdir}/probe", f'-DKILL_FLAG="{flag}"',
                        os.path.join(SRC, "tests", "board", "probe.c")], check=True)
    b = Board(db, "serve", "--verifiers", "1", game="/nonexistent/quellstorm")
    check(b.p.wait(30) == 1 and "/nonexistent/quellstorm cannot be run" in b.logged(),
          f"{kind}: a board whose game is missing refuses to start", b.logged()[-300:])
    b = Board(db, "serve", "--verifiers", "1", game=f"{pdir}/probe")
    check("sandbox: " in b.logged(), f"{kind}: the board says at start what its sandbox holds", b.logged()[-300:])
    escape = f"{ROOT}/escaped"
    # Each stand-in run with a start of its own (a run is its start and
    # inputs: the probe's own lines are not the game's).
    probe = (f"QSREPLAY 2\nclock 1\nport {b.port}\ndb {db}\noutside {escape}\nmode probe\nend 1\n").encode()
    j = b.wait(b.submit(probe, "probe")[1]["id"])
    reason = j.get("reason") or ""
    for what in ("a TCP connection to the board", "a UDP datagram", "a file written outside its folder",
                 "reading the board's database", "reading the board's environment", "forking 100 processes",
                 "reading an inherited descriptor"):
        check(f"{what}: blocked" in reason, f"{kind}: sandbox: {what} fails", reason)
    check(not os.path.exists(escape) and "ESCAPED" not in reason, f"{kind}: sandbox: nothing was written outside",
          (escape, reason))
    # Killed from outside (as by the out-of-memory killer): not the file's
    # fault. Logged and tried again; a genuine game killed every time is
    # held after its three tries (neither ranked nor rejected), one killed
    # once is ranked.
    # The held one first, to its end: which job a released one comes back
    # behind is the queue's business, and the flag must outlast its tries.
    open(flag, "w").close()
    hid = b.submit(game, "held")[1]["id"]
    h = b.wait(hid)
    sid = b.submit(b"QSREPLAY 2\nclock 2\nmode killed-once\nend 1\n", "killed")[1]["id"]
    end = time.monotonic() + 60
    while time.monotonic() < end and f"could not judge {sid}" not in b.logged():
        time.sleep(0.05)
    os.remove(flag)
    j = b.wait(sid)
    check(j.get("status") == "verified" and f"could not judge {sid} (try 1 of 3): the game stopped on signal Killed"
          in b.logged(), f"{kind}: a game killed from outside is logged, tried again and not rejected",
          (j, b.logged()[-400:]))
    status, again, _ = b.submit(game, "someone else")
    _, _, page = b.request("GET", f"/entry/{hid}")
    _, counts, _ = b.json("GET", "/api/status")
    check(h.get("status") == "held" and "(3 tries; the last: the game stopped on signal Killed" in h.get("reason", "")
          and h.get("held_at") and f"could not judge {hid} (try 3 of 3)" in b.logged()
          and (status, again.get("id"), again.get("status")) == (200, hid, "held")
          and b"Held since" in page and b"not rejected" in page and counts.get("held") == 1,
          f"{kind}: a game the board could not judge three times is held with the last cause, and so answered again",
          (h, status, again, counts, b.logged()[-400:]))
    listed = admin(db, "held").stdout
    check("held jobs: 1" in listed and f"{hid}  held: the board could not verify" in listed,
          f"{kind}: the host lists the held jobs with their causes", listed)
    home = tempfile.mkdtemp(dir=ROOT)
    with open(f"{home}/held.qsr", "wb") as f:
        f.write(game)
    r = subprocess.run([GAME, "--board-url", f"http://127.0.0.1:{b.port}", "--submit", f"{home}/held.qsr"],
                       capture_output=True, text=True, timeout=60, env=dict(os.environ, XDG_CONFIG_HOME=home))
    check(r.returncode == 4 and "held by the board, not the file's fault: the board could not verify" in r.stdout,
          f"{kind}: the game's --submit says the file is held, not refused (exit status 4)", (r.returncode, r.stdout))
    b.stop()
    # The cause gone (the real game in place of the killed stand-in), the
    # host has it re-played: the board never does that of itself.
    b = Board(db, "serve", "--verifiers", "1")
    still = b.json("GET", f"/api/submissions/{hid}")[1].get("status")
    r = admin(db, "retry", hid if kind == KINDS[0] else "all")
    v = b.wait(hid)
    log = admin(db, "log").stdout
    check(still == "held" and r.returncode == 0 and f"queued again {hid}" in r.stdout and v.get("status") == "verified"
          and f"retry {hid}: held: the board could not verify" in log
          and admin(db, "retry", "all").stderr.strip().endswith("nothing is held"),
          f"{kind}: retried by the host, a held game is verified once the board can judge it, and the act logged",
          (still, r.stdout, r.stderr, v, log[-300:]))
    b.stop()


def full_disk(games):
    """A board whose disk is full says so, in its log and in its answer."""
    disk = f"{ROOT}/full"
    os.makedirs(disk)
    if subprocess.run(["mount", "-t", "tmpfs", "-o", "size=4m", "tmpfs", disk], capture_output=True).returncode:
        print("SKIP sqlite: a full disk (cannot mount a small tmpfs here)")
        return
    cleanups.append(lambda: subprocess.run(["umount", "-l", disk]))
    b = Board(f"{disk}/board.sqlite", "serve", "--verifiers", "-1")
    check(b.submit(games[0], "before")[0] == 202, "sqlite: a board on a small disk takes a file")
    with open(f"{disk}/filler", "wb") as f:
        try:
            while True:
                f.write(b"\0" * 65536)
                f.flush()
        except OSError:
            pass
    status, j, _ = b.submit(games[1], "after")
    check(status == 503 and "disk is full" in j.get("error", "") and "the board's disk is full" in b.logged(),
          "sqlite: on a full disk the answer and the log say so", (status, j, b.logged()[-300:]))
    os.remove(f"{disk}/filler")
    check(b.submit(games[1], "after")[0] == 202, "sqlite: and the file is taken once there is room again")
    b.stop()


def postgres_outage(b, pg, games):
    """Requests while PostgreSQL is stopped fail cleanly; nothing accepted is lost."""
    answers, accepted, stop = [], [], threading.Event()

    def reader():
        while not stop.is_set():
            try:
                s, _, body = b.request("GET", "/api/boards", timeout=15)
                answers.append((s, body[:100]))
            except OSError as e:
                answers.append((0, str(e)))
            time.sleep(0.01)

    def submitter():
        for i, g in enumerate(games):
            if stop.is_set():
                break
            for _ in range(100):
                s, j, _ = b.submit(g, f"outage{i}")
                answers.append((s, json.dumps(j)[:100]))
                if s in (200, 202):
                    accepted.append(j["id"])
                    break
                time.sleep(0.2)
            time.sleep(0.5)

    threads = [threading.Thread(target=reader), threading.Thread(target=reader), threading.Thread(target=submitter)]
    for t in threads:
        t.start()
    time.sleep(0.5)
    pg.stop()
    time.sleep(2.5)
    pg.start()
    threads[2].join(120)
    stop.set()
    for t in threads:
        t.join(30)
    codes = sorted(set(s for s, _ in answers))
    check(503 in codes and set(codes) <= {200, 202, 503},
          "postgresql: while the database is down requests are answered 503, never dropped", codes)
    bad = [a for a in answers if a[0] == 503 and b'"error"' not in (a[1] if isinstance(a[1], bytes) else a[1].encode())]
    check(not bad, "postgresql: each 503 says why in JSON", bad[:3])
    done = [b.wait(i) for i in accepted]
    check(len(accepted) == len(games) and all(d.get("status") == "verified" for d in done),
          "postgresql: every submission accepted around the outage is verified", (len(accepted), done))


def retention(db):
    """A rejected file's bytes are deleted after --keep-rejected-days; its
    entry and reason stay."""
    import sqlite3
    con = sqlite3.connect(db)
    rid = con.execute("SELECT id FROM submissions WHERE status = 'rejected' LIMIT 1").fetchone()[0]
    con.execute("UPDATE submissions SET verified_at = 0 WHERE id = ?", (rid,))
    con.commit()
    con.close()
    b = Board(db, "serve", "--verifiers", "-1", "--keep-rejected-days", "1")
    end = time.monotonic() + 10
    while time.monotonic() < end and b.request("GET", f"/api/replays/{rid}")[0] != 404:
        time.sleep(0.1)
    _, j, _ = b.json("GET", f"/api/submissions/{rid}")
    check(b.request("GET", f"/api/replays/{rid}")[0] == 404 and j.get("status") == "rejected" and j.get("reason"),
          "sqlite: a file rejected long ago loses its bytes, keeps its entry and reason", j)
    b.stop()


def web_folder(db):
    r = subprocess.run([BOARD, "serve", "--db", db, "--listen", "127.0.0.1:0", "--web", f"{ROOT}/no-such-web"],
                       capture_output=True, text=True, timeout=60)
    check(r.returncode == 2 and "index.html" in r.stderr, "a --web folder without the page stops the board, saying why",
          (r.returncode, r.stderr))


def limits(kind, db, game):
    # The limits from a settings file, as the service reads them (a wrong
    # line stops the board, naming it).
    conf = f"{ROOT}/limits.conf"
    with open(conf, "w") as f:
        f.write("# limits\nsubmit-burst = lots\n")
    b = Board(db, "serve", "--config", conf)
    check(b.p.wait(10) == 2 and f"{conf}:2: --submit-burst: expected a whole number" in b.logged(),
          f"{kind}: a wrong line of the settings file stops the board, naming it", b.logged())
    with open(conf, "w") as f:
        f.write("# limits\nqueue-max = 1\n  submit-burst=3\nquiet\nsubmit-per-minute = 0\n")
    b = Board(db, "serve", "--verifiers", "-1", "--config", conf, "--submit-per-minute", "1")
    # Two runs never sent before (never verified here), and the first again
    # in other bytes.
    first, second = with_header(game, "clock", "8"), with_header(game, "clock", "4")
    game = first + b"\n"
    codes = [b.submit(f, "limits")[0] for f in (first, second, game)]
    status, j, hdrs = b.submit(first, "limits")
    check(codes == [202, 503, 200], f"{kind}: a full queue refuses a new file with 503", codes)
    check(status == 429 and int(hdrs.get("Retry-After", "0")) > 0 and "error" in j,
          f"{kind}: too many submissions from one address: 429 with Retry-After", (status, hdrs))
    b.stop()
    # Behind a trusted proxy each client has its own bucket; an IPv6 client
    # is its /64; an untrusted peer's X-Forwarded-For is not believed.
    b = Board(db, "serve", "--verifiers", "-1", "--submit-per-minute", "1", "--submit-burst", "1",
              "--trusted-proxy", "127.0.0.0/8")
    sent = lambda client: b.json("POST", "/api/submissions?name=proxied", first,
                                 {"Content-Type": "application/octet-stream", "X-Forwarded-For": client})[0]
    codes = [sent(c) for c in ("203.0.113.5", "203.0.113.5", "203.0.113.6", "2001:db8::1", "2001:db8::2",
                                "2001:db8:0:1::1", "198.51.100.7, 127.0.0.9")]
    check(codes[1] == 429 and codes[4] == 429 and 429 not in codes[:1] + codes[2:4] + codes[5:],
          f"{kind}: behind a trusted proxy: a bucket per client, per /64 for IPv6", codes)
    b.stop()


def main():
    stop_on_signals()
    try:
        os.makedirs(f"{ROOT}/web")
        # The verifiers' sandboxed games run as users of their own (when the
        # test runs as root): they must reach their job folders.
        os.chmod(ROOT, 0o711)
        os.makedirs(JOBS, 0o711)
        with open(f"{ROOT}/web/index.html", "w") as f:
            f.write("<!DOCTYPE html><title>play</title>")
        for name, data in (("qs.0123456789abcdef.js", JS_BYTES), ("qs.0123456789abcdef.js.br", BR_BYTES),
                           ("qs.0123456789abcdef.js.gz", gzip.compress(JS_BYTES)), ("unlisted.js", JS_BYTES)):
            with open(f"{ROOT}/web/{name}", "wb") as f:
                f.write(data)
        # How the files are served, described as the page's build does it.
        subprocess.run([sys.executable, os.path.join(SRC, "tools", "web", "manifest.py"), f"{ROOT}/web"], check=True)
        os.remove(f"{ROOT}/web/unlisted.js")  # a name the manifest holds, gone: 404, not a crash
        with open(f"{ROOT}/web/stray.js", "wb") as f:
            f.write(JS_BYTES)  # a file the manifest does not name is not served
        with ThreadPoolExecutor(2) as ex:
            games = list(ex.map(record, range(17)))
            speed, two = ex.submit(record, 0, speed=True), ex.submit(record, 0, whole=2)
            extra = {"speed": speed.result(), "two games": two.result()}
        end = games[1].rstrip(b"\n").rfind(b"\nend ")
        extra["endless"] = games[1][:end] + b"\nend 2147483647\n"
        extra["take-over"] = taken_over(games[2], 137)
        extra["bad practice"] = with_header(games[3], "practice", "ranked")
        for what, name in (("format1", "run_format1.qsr"), ("image", "kept_sim1.qsr")):
            with open(os.path.join(SRC, "tests", "data", name), "rb") as f:
                extra[what] = f.read()
        global BOT_GAME, LATE_GAME, NOMISS_GAME
        with open(os.path.join(SRC, "tests", "data", "nomiss_clear.qsr"), "rb") as f:
            NOMISS_GAME = f.read()
        BOT_GAME, LATE_GAME = record(0, "", ("--bot", "7")), record(0, LATE_KEYS)
        check(b"\nbot 1\n" in BOT_GAME and b"\nbot 1\n" not in games[0], "a game played by --bot is marked in its file")
        expected = game_result(games[0])
        check(expected.get("verified") is True and expected.get("ending") == "gameover" and expected["score"] > 0,
              "the recorded game is a finished one with a score", expected)
        extra["stage practice"] = with_header(LATE_GAME, "practice", "stage")
        taken = game_result(extra["take-over"])
        check(taken.get("verified") is True and taken.get("ending") == "gameover" and taken.get("practice") ==
              "take-over" and taken.get("parent") == "watched.qsr" and taken.get("taken_at") == 137
              and expected.get("practice") is None and game_result(with_header(extra["take-over"], "taken-at", 999999))
              .get("ending") == "refused", "a replay taken over verifies with its marks; one taken past its end is "
              "refused", taken)
        for kind in KINDS:
            pg = None
            if kind == "postgresql":
                pg = Postgres(ROOT)
                cleanups.append(pg.stop)
                db = pg.url
            else:
                db = f"{ROOT}/board.sqlite"
            b = play_and_rank(kind, db, games, expected)
            starts_and_costs(kind, b, extra)
            bad_inputs(kind, b, games)
            if kind == KINDS[0]:
                play_files(b)
                web_folder(db)
            hostile_names(kind, b, games[1:4])
            community(kind, db, b, games[12:16])
            b.stop()
            sandbox(kind, db, games[16])
            if kind == "sqlite":
                full_disk(games)
                retention(db)
            b = killed_worker_and_restart(kind, db, games[4:8])
            if pg:
                postgres_outage(b, pg, games[8:12])
            b.stop()
            limits(kind, db, games[0])
    finally:
        for c in reversed(cleanups):
            try:
                c()
            except Exception as e:  # noqa: BLE001 - keep stopping the rest
                print("cleanup:", e)
        if failed == 0:
            shutil.rmtree(ROOT, ignore_errors=True)
        else:
            print("board: logs kept in", ROOT)
    print(f"board: {passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
