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

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from pgtemp import Postgres, die_with_parent, stop_on_signals  # noqa: E402

BOARD, GAME, SRC = sys.argv[1:4]
KINDS = sys.argv[4:] or ["sqlite", "postgresql"]
ROOT = tempfile.mkdtemp(prefix="qs-board-e2e-")
MAX_UPLOAD_KB = 1024
JS_BYTES = b"console.log('the game');\n" * 50
BR_BYTES = b"\x1b brotli stand-in"  # served as it is: the board never decodes
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
def keys(shift):
    return (f"5 hold SPACE\n6 hold\n40 hold SPACE\n41 hold\n{60 + shift} hold UP SPACE\n"
            "4800 hold\n5000 hold SPACE\n5001 hold\n")


def record(i):
    """One game as the game keeps it: a one-game replay file."""
    d = tempfile.mkdtemp(dir=ROOT)
    with open(f"{d}/k.keys", "w") as f:
        f.write(keys(i))
    subprocess.run([GAME, "--headless", "--home", d, "--script", f"{d}/k.keys", "--frames", "5100",
                    "--draw-every", "1000", "--keep-replays", "on"], check=True, capture_output=True,
                   env=dict(os.environ, SDL_VIDEODRIVER="dummy", SDL_AUDIODRIVER="dummy", XDG_CONFIG_HOME=d),
                   timeout=300)
    kept = [f for f in os.listdir(f"{d}/replays") if f.endswith(".qsr")]
    with open(f"{d}/replays/{kept[0]}", "rb") as f:
        return f.read()


def game_result(data):
    """What the game itself computes for a replay (the board must agree)."""
    d = tempfile.mkdtemp(dir=ROOT)
    with open(f"{d}/r.qsr", "wb") as f:
        f.write(data)
    subprocess.run([GAME, "--headless", "--home", d, "--play", f"{d}/r.qsr", "--verify", "--draw-every", "0",
                    "--result-json", f"{d}/r.json"], capture_output=True, timeout=300,
                   env=dict(os.environ, SDL_VIDEODRIVER="dummy", SDL_AUDIODRIVER="dummy", XDG_CONFIG_HOME=d))
    with open(f"{d}/r.json") as f:
        return json.load(f)


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
    def __init__(self, db, command="serve", *extra):
        args = [BOARD, command, "--db", db, "--game", GAME, "--job-seconds", "120", "--lease-seconds", "2",
                "--max-upload-kb", str(MAX_UPLOAD_KB), "--submit-per-minute", "0"]
        if command == "serve":
            args += ["--listen", "127.0.0.1:0", "--web", f"{ROOT}/web"]
        if os.environ.get("QS_BOARD_NO_MEMORY_LIMIT"):  # sanitizer builds reserve vast address space
            args += ["--job-memory-mb", "0"]
        self.log = open(f"{ROOT}/board-{time.monotonic_ns()}.log", "w")
        self.p = subprocess.Popen(args + list(extra), stdout=subprocess.PIPE, stderr=self.log, text=True,
                                  preexec_fn=die_with_parent)
        cleanups.append(self.kill)
        line = self.p.stdout.readline()
        self.port = int(line.split("127.0.0.1:")[1].split("/")[0]) if command == "serve" else 0

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
            if j.get("status") in ("verified", "rejected"):
                return j
            time.sleep(0.1)
        return {"status": "timed out"}

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
    good, claim, (bad, changed) = games[0], with_header(games[0], "score", 999999999999), tampered(games[0])
    status, j, _ = b.submit(good, "ace")
    check(status == 202 and j.get("status") == "queued" and len(j.get("id", "")) == 32,
          f"{kind}: a finished game is queued at once", (status, j))
    sid = j["id"]
    status2, j2, _ = b.submit(good, "someone else")
    check(j2.get("id") == sid, f"{kind}: the same file sent twice is the same submission", (status2, j2))
    v = b.wait(sid)
    check(v.get("status") == "verified" and v.get("score") == expected["score"] and v.get("rank") == 1,
          f"{kind}: verified with the score the game computes ({expected['score']})", v)
    _, boards, _ = b.json("GET", "/api/boards")
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

    _, jc, _ = b.submit(claim, "claimer")
    _, jt, _ = b.submit(bad, "tamperer")
    vc, vt = b.wait(jc["id"]), b.wait(jt["id"])
    check(vc.get("status") == "verified" and vc.get("score") == expected["score"],
          f"{kind}: a header claiming a higher score is ranked at its true score", vc)
    diff = vt.get("first_difference_frame")
    check(vt.get("status") == "rejected" and isinstance(diff, int) and diff >= changed
          and f"frame {diff}" in (vt.get("reason") or ""),
          f"{kind}: a tampered file is rejected naming the first differing frame", vt)
    return b


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


def killed_worker_and_restart(kind, db, games):
    # Verified elsewhere: this board only answers.
    b = Board(db, "serve", "--verifiers", "-1")
    w1 = Board(db, "worker", "--verifiers", "1")
    sid = b.submit(games[0], "survivor")[1]["id"]
    end = time.monotonic() + 60
    while time.monotonic() < end and b.json("GET", f"/api/submissions/{sid}")[1].get("status") != "verifying":
        time.sleep(0.01)
    w1.stop(signal.SIGKILL)
    check(b.json("GET", f"/api/submissions/{sid}")[1].get("status") == "verifying",
          f"{kind}: a worker is killed with SIGKILL mid-job")
    queued = [b.submit(g, f"queued{i}")[1]["id"] for i, g in enumerate(games[1:])]
    check(b.stop() == 0, f"{kind}: the board stops cleanly with a queue")
    b = Board(db, "serve", "--verifiers", "2")
    w2 = Board(db, "worker", "--verifiers", "1")
    v = b.wait(sid)
    _, entry, _ = b.json("GET", f"/api/entry/{sid}")
    _, boards, _ = b.json("GET", "/api/boards")
    entries = [e for bd in boards["boards"] for e in bd["entries"] if e["id"] == sid]
    check(v.get("status") == "verified" and len(entries) == 1 and len(entry.get("stage_scores", [])) == 1,
          f"{kind}: another verifier finished the killed worker's job, once", (v, entries))
    after = [b.wait(i) for i in queued]
    check(all(a.get("status") == "verified" for a in after),
          f"{kind}: every job queued before the restart is verified after it", after)
    w2.stop()
    return b


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


def limits(kind, db, game):
    b = Board(db, "serve", "--verifiers", "-1", "--queue-max", "1", "--submit-per-minute", "1",
              "--submit-burst", "3")
    # Files that differ in their bytes only (never verified here).
    first, second = game + b"\n", game + b"\n\n"
    codes = [b.submit(f, "limits")[0] for f in (first, second, first)]
    status, j, hdrs = b.submit(first, "limits")
    check(codes == [202, 503, 200], f"{kind}: a full queue refuses a new file with 503", codes)
    check(status == 429 and int(hdrs.get("Retry-After", "0")) > 0 and "error" in j,
          f"{kind}: too many submissions from one address: 429 with Retry-After", (status, hdrs))
    b.stop()


def main():
    stop_on_signals()
    try:
        os.makedirs(f"{ROOT}/web")
        with open(f"{ROOT}/web/index.html", "w") as f:
            f.write("<!DOCTYPE html><title>play</title>")
        for name, data in (("qs.0123456789abcdef.js", JS_BYTES), ("qs.0123456789abcdef.js.br", BR_BYTES),
                           ("qs.0123456789abcdef.js.gz", gzip.compress(JS_BYTES))):
            with open(f"{ROOT}/web/{name}", "wb") as f:
                f.write(data)
        with ThreadPoolExecutor(2) as ex:
            games = list(ex.map(record, range(12)))
        expected = game_result(games[0])
        check(expected.get("verified") is True and expected.get("ending") == "gameover" and expected["score"] > 0,
              "the recorded game is a finished one with a score", expected)
        for kind in KINDS:
            pg = None
            if kind == "postgresql":
                pg = Postgres(ROOT)
                cleanups.append(pg.stop)
                db = pg.url
            else:
                db = f"{ROOT}/board.sqlite"
            b = play_and_rank(kind, db, games, expected)
            bad_inputs(kind, b, games)
            if kind == KINDS[0]:
                play_files(b)
            hostile_names(kind, b, games[1:4])
            b.stop()
            b = killed_worker_and_restart(kind, db, games[4:8])
            if pg:
                postgres_outage(b, pg, games[8:12])
            b.stop()
            limits(kind, db, games[0] + b"\n\n\n")
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
