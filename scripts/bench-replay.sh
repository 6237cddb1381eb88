#!/usr/bin/env bash
# Frames per second of a replay checked headless with no picture drawn (as
# a score board verifies a submitted game), and of the same check making
# the game's ghost track (as the board does too): the processor time of
# each run.
#   scripts/bench-replay.sh [BUILD_DIR] [REPLAY]
set -euo pipefail
build=${1:-build}
replay=${2:-tests/golden/stage_clear.qsr}
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
frames=$(sed -n 's/^end \([0-9]*\)/\1/p' "$replay" | tail -1)
TIMEFORMAT="%U %S"
cpu=$( { time "$build"/quellstorm --headless --home "$home" --play "$replay" --verify --draw-every 0 \
          >/dev/null 2>&1; } 2>&1 )
tcpu=$( { time "$build"/quellstorm --headless --home "$home" --play "$replay" --verify --draw-every 0 \
          --result-json "$home/result.json" --track "$home/track.qst" >/dev/null 2>&1; } 2>&1 )
python3 - "$frames" "$cpu" "$tcpu" "$replay" "$home" <<'PY'
import json, sys
frames, cpu, tcpu, replay, home = int(sys.argv[1]), sys.argv[2], sys.argv[3], sys.argv[4], sys.argv[5]
cpu, tcpu = sum(map(float, cpu.split())), sum(map(float, tcpu.split()))
print(f"bench-replay: {replay}: {frames} frames verified without drawing in {cpu:.2f} s of one core, "
      f"{frames / max(cpu, 1e-3):.0f} frames per second", flush=True)
# The track must be the game's whole: a benchmark of anything less says
# nothing. (A whole run's result also counts the title frame that started
# its game.)
game = json.load(open(f"{home}/result.json"))["frames"]
head = open(f"{home}/track.qst", "rb").read().split(b"\ndata ")[0].decode()
tracked = int(dict(l.split(" ", 1) for l in head.split("\n")[1:])["frames"])
if tracked not in (game, game - 1) or game < 1000:
    sys.exit(f"bench-replay: the track holds {tracked} frames of a game of {game}: not the scenario measured")
fps = tracked / max(tcpu, 1e-3)
print(f"bench-replay: making its ghost track ({tracked} frames of play): {tcpu:.2f} s of one core, "
      f"{fps:.0f} frames per core-second (at least 20000 wanted: {'met' if fps >= 20000 else 'NOT MET'})")
PY
