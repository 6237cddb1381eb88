#!/usr/bin/env bash
# Measures the CPU the game takes while playing a replay in a real window:
# an X server without a GPU (Xvfb), the game windowed at scale 1, audio to a
# dummy device. Prints the share of one core the process used.
#   scripts/bench-cpu.sh [BUILD_DIR] [REPLAY]
set -euo pipefail
build=${1:-build}
replay=${2:-tests/golden/stage1_normal.qsr}
if ! command -v Xvfb >/dev/null 2>&1; then
  echo "bench-cpu: installing xvfb"
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends xvfb >/dev/null
fi
display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xpid=$!
trap 'kill $xpid 2>/dev/null || true' EXIT
sleep 1
home=$(mktemp -d)
cp "$build"/score.dat "$home"/ 2>/dev/null || "$build"/quellstorm --headless --home "$home" --frames 5 --script <(echo "3 press ESC") 2>/dev/null
start=$(date +%s.%N)
DISPLAY=$display SDL_AUDIODRIVER=dummy /usr/bin/time -f "%U %S" -o "$home/time.txt" \
  "$build"/quellstorm --window --scale 1 --home "$home" --play "$replay" 2>/dev/null
end=$(date +%s.%N)
read -r user sys < "$home/time.txt"
python3 - "$user" "$sys" "$start" "$end" <<'PY'
import sys
u, s, a, b = map(float, sys.argv[1:])
wall = b - a
print(f"bench-cpu: {wall:.1f} s of play, {u:.2f} s user + {s:.2f} s system = {100*(u+s)/wall:.1f}% of one core")
PY
rm -rf "$home"
