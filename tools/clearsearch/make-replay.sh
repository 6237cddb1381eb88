#!/bin/sh
# Makes tests/data/nomiss_clear.qsr: a whole game cleared without a ship
# lost, kept by the game as its own replay.
#
#   tools/clearsearch/make-replay.sh BUILD_DIR OUT.qsr [SEED] [SECONDS]
#
# qs_clearsearch (cmake --build BUILD_DIR --target qs_clearsearch) searches
# for the game on one core (it is one thread), niced, for at most SECONDS (default 3600); the
# game then plays the inputs it found as a script, keeping the game as any
# headless run told to keep its games does, and the kept file is checked
# by playing it back. The search depends only on SEED (default 1): the same
# seed finds the same game.
set -eu
build=$(cd "$1" && pwd) out=$2 seed=${3:-1} seconds=${4:-3600}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy XDG_CONFIG_HOME="$work/home"
mkdir -p "$work/home"
nice -n 19 "$build/qs_clearsearch" --out "$work/clear.keys" --seed "$seed" --seconds "$seconds" \
    --home "$work/search"
frames=$(sed -n 's/^# frames: //p' "$work/clear.keys")
"$build/quellstorm" --headless --home "$work/home/" --script "$work/clear.keys" --keep-replays on \
    --draw-every 0 --frames "$frames" 2>/dev/null
kept=$(ls "$work"/home/replays/*.qsr)
"$build/quellstorm" --headless --home "$work/home/" --play "$kept" --verify --draw-every 0 \
    --result-json "$work/result.json" 2>/dev/null
python3 - "$work/result.json" <<'PY'
import json, sys
r = json.load(open(sys.argv[1]))
ok = r["verified"] and r["ending"] == "staffroll" and r["misses"] == 0 and not r["invincible"] and not r["stage_option"] \
    and not r["bot"] and r["start_stage"] == 1
print(("kept: " if ok else "not what was asked for: ") + json.dumps(r))
sys.exit(0 if ok else 1)
PY
cp "$kept" "$out"
echo "$out: $(wc -c < "$out") bytes"
