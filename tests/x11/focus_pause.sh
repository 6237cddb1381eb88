#!/usr/bin/env bash
# Pause on focus loss in a real window, on a virtual X server with a window
# manager (Xvfb and openbox; xdotool types and minimises):
#  - a game in play whose window is minimised pauses as under the pause key:
#    the game's kept replay holds the pause key's key-down, which nobody
#    typed, and plays back the same;
#  - with the setting off, minimising changes nothing;
#  - either way the game kept from the window plays back the same.
#   tests/x11/focus_pause.sh GAME_BINARY
set -uo pipefail
game=$1
for tool in Xvfb openbox xdotool xprop; do
  command -v "$tool" >/dev/null 2>&1 || { echo "FAIL: $tool is not installed (xvfb openbox xdotool x11-utils: scripts/deps.sh test)"; exit 1; }
done
tmp=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT
[ -n "${KEEP:-}" ] && trap - EXIT
fail() { echo "FAIL: $*"; exit 1; }

. "$(dirname "$0")/xserver.sh"
start_x_server 200 259

# One game: into play from the title with the shot key, the window
# minimised, back, and Escape. Sets `kept` to the kept replay's path.
play() {
  local home=$1; shift
  mkdir -p "$home"
  head -c 1088 /dev/zero >"$home/score.dat"  # no load box
  : >"$home/settings.ini"  # a settings file: no language page of a first start
  SDL_AUDIODRIVER=dummy "$game" --window --scale 1 --home "$home" --config "$home/settings.ini" "$@" \
    >"$home/out.txt" 2>&1 &
  local pid=$!
  local wid=""
  for _ in $(seq 300); do
    wid=$(xdotool search --pid "$pid" --onlyvisible 2>/dev/null | head -1)
    [ -n "$wid" ] && break
    sleep 0.1
  done
  [ -n "$wid" ] || { kill "$pid"; fail "no game window"; }
  sleep 3  # the loading pass
  # The game polls the keys once a frame: each is held a moment.
  xdotool windowactivate --sync "$wid"
  xdotool keydown space; sleep 0.2; xdotool keyup space; sleep 0.5  # past the intro
  xdotool keydown space; sleep 0.2; xdotool keyup space; sleep 1.5  # GAME START: in play
  xdotool windowminimize --sync "$wid"; sleep 1
  xdotool windowactivate --sync "$wid" 2>/dev/null; sleep 0.5
  xdotool key Escape
  wait "$pid" || fail "the game ended with status $? ($(cat "$home/out.txt"))"
  kept=$(ls "$home"/replays/*-NORMAL-*.qsr 2>/dev/null | head -1)
}

play "$tmp/on"
[ -n "$kept" ] || fail "no kept replay ($(ls "$tmp/on/replays" 2>&1))"
grep -q '^[0-9]* P 43$' "$kept" || fail "the focus pause is not in the replay as the pause key"
"$game" --headless --home "$tmp/on" --play "$kept" --verify >/dev/null 2>&1 || fail "the kept replay does not verify"

play "$tmp/off" --pause-on-focus-loss off
[ -n "$kept" ] || fail "no kept replay with the setting off"
grep -q '^[0-9]* P 43$' "$kept" && fail "paused on focus loss with the setting off"
# Keys typed at any moment of a frame are recorded as the frame saw them.
"$game" --headless --home "$tmp/off" --play "$kept" --verify >/dev/null 2>&1 || fail "the kept replay does not verify"
echo "focus pause: ok"
