#!/usr/bin/env python3
"""A stand-in score board for the game's own tests: the board's submission
API on 127.0.0.1 (a free port, written to PORTFILE), with verdicts given
without re-playing anything.

    board_standin.py PORTFILE

A submission named REJECT is rejected; any other is verified at rank 1
after one "verifying" answer, at the score its replay's header line
"score N" gives (0 without one). The same bytes twice are one submission.
Every request is logged to standard error."""
import hashlib, json, sys, urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

subs = {}


class Board(BaseHTTPRequestHandler):
    def answer(self, code, obj):
        body = json.dumps(obj).encode()
        self.send_response(code)
        self.send_header("Content-Type", "application/json")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_POST(self):
        url = urllib.parse.urlparse(self.path)
        if url.path != "/api/submissions":
            return self.answer(404, {"error": "no such page"})
        name = urllib.parse.parse_qs(url.query).get("name", [""])[0]
        size = int(self.headers.get("Content-Length", "0"))
        if size <= 0 or size > 1 << 20:
            return self.answer(413 if size else 400, {"error": "a replay file is needed as the body"})
        data = self.rfile.read(size)
        if not data.startswith(b"QSREPLAY"):
            return self.answer(400, {"error": "not a replay file"})
        sid = hashlib.sha256(data).hexdigest()[:16]
        if sid not in subs:
            score = 0
            for line in data.split(b"\n")[:40]:
                if line.startswith(b"score "):
                    score = int(line.split()[1])
            subs[sid] = {"name": name, "asked": 0, "score": score}
        self.answer(202, {"id": sid, "status": "queued"})

    def do_GET(self):
        parts = self.path.split("/")
        if len(parts) != 4 or parts[1:3] != ["api", "submissions"] or parts[3] not in subs:
            return self.answer(404, {"error": "no such submission"})
        sid = parts[3]
        s = subs[sid]
        s["asked"] += 1
        out = {"id": sid, "entry": "/entry/" + sid, "score": None, "rank": None, "board": None, "reason": None}
        if s["asked"] == 1:
            out["status"] = "verifying"
        elif s["name"] == "REJECT":
            out.update(status="rejected", reason="the replay differs from the game from frame 120")
        else:
            out.update(status="verified", score=s["score"], rank=1, board="normal")
        self.answer(200, out)


server = ThreadingHTTPServer(("127.0.0.1", 0), Board)
with open(sys.argv[1] + ".tmp", "w") as f:
    f.write(str(server.server_address[1]))
import os
os.rename(sys.argv[1] + ".tmp", sys.argv[1])
server.serve_forever()
