#!/usr/bin/env bash
# Frames per second of a replay checked headless with no picture drawn (as
# a score board verifies a submitted game): the processor time of the run.
#   scripts/bench-replay.sh [BUILD_DIR] [REPLAY]
set -euo pipefail
build=${1:-build}
replay=${2:-tests/golden/stage_clear.qsr}
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
frames=$(sed -n 's/^end \([0-9]*\)/\1/p' "$replay" | tail -1)
TIMEFORMAT=%U
user=$( { time "$build"/quellstorm --headless --home "$home" --play "$replay" --verify --draw-every 0 \
          >/dev/null 2>&1; } 2>&1 )
python3 - "$frames" "$user" "$replay" <<'PY'
import sys
frames, user, replay = int(sys.argv[1]), float(sys.argv[2]), sys.argv[3]
print(f"bench-replay: {replay}: {frames} frames verified without drawing in {user:.2f} s of one core, "
      f"{frames / max(user, 1e-3):.0f} frames per second")
PY
