#!/usr/bin/env bash
# Measures the CPU the game takes while playing a replay in a real window:
# an X server without a graphics card (Xvfb), the game windowed at scale 1,
# music and effects mixed for a dummy audio device. Prints the share of one
# core the process used over the whole run, and over the play alone (from
# two seconds in, after the loading pass, to a second before the end), and
# its peak resident size and open files near the end of the play.
#   scripts/bench-cpu.sh [BUILD_DIR] [REPLAY]
set -euo pipefail
build=${1:-build}
replay=${2:-tests/golden/stage1_normal.qsr}
if ! command -v Xvfb >/dev/null 2>&1; then
  echo "bench-cpu: Xvfb is missing (Debian package xvfb; scripts/deps.sh test installs it)" >&2
  exit 1
fi
display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xpid=$!
home=$(mktemp -d)
trap 'kill $xpid 2>/dev/null || true; rm -rf "$home"' EXIT
sleep 1
# A score record to start from, so that no message box waits for a click.
"$build"/quellstorm --headless --home "$home" --frames 5 --script <(echo "3 press ESC") >/dev/null 2>&1 || true
frames=$(sed -n 's/^end \([0-9]*\)/\1/p' "$replay" | tail -1)
ticks=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null || echo 0; }
start=$(date +%s.%N)
DISPLAY=$display SDL_AUDIODRIVER=dummy "$build"/quellstorm --window --scale 1 --home "$home" --play "$replay" \
  >/dev/null 2>&1 &
pid=$!
sleep 2
c0=$(cpu $pid); t0=$(date +%s.%N)
sleep "$(python3 -c "print(max(1.0, ${frames:-2400} * 0.004 - 2.5))")"
c1=$(cpu $pid); t1=$(date +%s.%N)
peak=$(awk '/^VmHWM:/ {printf "%.1f", $2 / 1024}' "/proc/$pid/status" 2>/dev/null || echo "?")
files=$(ls "/proc/$pid/fd" 2>/dev/null | wc -l)
wait $pid || true
end=$(date +%s.%N)
python3 - "$c0" "$c1" "$t0" "$t1" "$ticks" "$start" "$end" <<'PY'
import sys
c0, c1, t0, t1, hz, a, b = map(float, sys.argv[1:])
print(f"bench-cpu: play {t1 - t0:.1f} s: {100 * (c1 - c0) / hz / (t1 - t0):.1f}% of one core (whole run {b - a:.1f} s)")
PY
echo "bench-cpu: window under Xvfb: peak resident size ${peak} MB, ${files} open files"
