#!/usr/bin/env bash
# Message boxes in a real window, on a virtual X server with a window
# manager (Xvfb and openbox; xdotool and xprop drive and look):
#  - a full-screen game that shows an error box has the keyboard in the box,
#    Return dismisses it, and the game is full screen again afterwards;
#  - SIGTERM while a box is open ends the game within a few seconds;
#  - a window larger than the screen opens at the largest scale that fits,
#    says so once, and a setting changed on the settings page afterwards
#    leaves the window at the size the player gave it by hand.
#   tests/x11/boxes_fullscreen.sh GAME_BINARY
# Exits 77 (skipped) when the X tools are not installed.
set -uo pipefail
game=$1
for tool in Xvfb openbox xdotool xprop xwininfo; do
  command -v "$tool" >/dev/null 2>&1 || { echo "skip: $tool is not installed (scripts/deps.sh test)"; exit 77; }
done
build=$(dirname "$game")
tmp=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  for _ in $(seq 20); do
    alive=
    for p in "${pids[@]}"; do kill -0 "$p" 2>/dev/null && alive=1; done
    [ -z "$alive" ] && break
    sleep 0.1
  done
  for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null; done
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

. "$(dirname "$0")/xserver.sh"
start_x_server 140 199

# The game beside a copy of its data with a damaged effect: its error box
# comes up on the loading frame. A score record, so that no other box does.
mkdir -p "$tmp/game" "$tmp/home"
cp "$game" "$tmp/game/" && cp -r "$build/BMP" "$build/BG" "$build/SE" "$build/MIDI" "$tmp/game/" || fail "cannot copy the game"
head -c 300 "$build/SE/Coin.wav" >"$tmp/game/SE/Coin.wav"
printf '3 press ESC\n' >"$tmp/esc.txt"
"$game" --headless --home "$tmp/home" --frames 5 --script "$tmp/esc.txt" >/dev/null 2>&1
[ -s "$tmp/home/score.dat" ] || fail "no score record made"
export SDL_AUDIODRIVER=dummy

window_named() {  # waits for a window with exactly this name; prints its id
  for _ in $(seq 100); do
    for w in $(xdotool search --name . 2>/dev/null); do  # (its patterns miss UTF-8 names)
      [ "$(xdotool getwindowname "$w" 2>/dev/null)" = "$1" ] || continue
      xwininfo -id "$w" 2>/dev/null | grep -q IsViewable && { echo "$w"; return 0; }
    done
    sleep 0.1
  done
  return 1
}

# 1. Full screen, a box, Return, full screen again.
"$tmp/game/quellstorm" --home "$tmp/home" >"$tmp/run1.txt" 2>&1 &
gpid=$!
pids+=($gpid)
box=$(window_named "エラー発生") || fail "no error box came up"
main=$(window_named QUELLSTORM) || fail "no game window"
for _ in $(seq 30); do [ "$(xdotool getwindowfocus 2>/dev/null)" = "$box" ] && break; sleep 0.1; done
[ "$(xdotool getwindowfocus)" = "$box" ] || fail "the box does not have the keyboard"
xdotool key Return
for _ in $(seq 50); do xwininfo -id "$box" >/dev/null 2>&1 || break; sleep 0.1; done
xwininfo -id "$box" >/dev/null 2>&1 && fail "Return did not dismiss the box"
ok=
for _ in $(seq 50); do
  state=$(xprop -id "$main" _NET_WM_STATE 2>/dev/null)
  size=$(xwininfo -id "$main" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
  if [[ $state == *_NET_WM_STATE_FULLSCREEN* && $size == 800x600 ]]; then ok=1; break; fi
  sleep 0.1
done
[ -n "$ok" ] || fail "not full screen after the box: $state, $size"
kill -TERM $gpid
wait $gpid 2>/dev/null
echo "ok: full screen again after the box ($size)"

# 2. SIGTERM while the box is open.
"$tmp/game/quellstorm" --home "$tmp/home" >"$tmp/run2.txt" 2>&1 &
gpid=$!
pids+=($gpid)
window_named "エラー発生" >/dev/null || fail "no error box came up (second run)"
start=$(date +%s%N)
kill -TERM $gpid
for _ in $(seq 50); do kill -0 $gpid 2>/dev/null || break; sleep 0.1; done
kill -0 $gpid 2>/dev/null && fail "still running 5 s after SIGTERM with a box open"
wait $gpid 2>/dev/null
echo "ok: SIGTERM with a box open ended the game in $(( ($(date +%s%N) - start) / 1000000 )) ms"

# 3. A window of scale 3 (1920x1440) on an 800x600 screen; then the player
# resizes it and lowers the music on the settings page.
"$build/quellstorm" --window --scale 3 --home "$tmp/home" --config "$tmp/q.ini" >"$tmp/run3.txt" 2>&1 &
gpid=$!
pids+=($gpid)
main=$(window_named QUELLSTORM) || fail "no window at scale 3"
geometry() { xwininfo -id "$main" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }
size=$(geometry)
[ "$size" = 640x480 ] || fail "window of $size on an 800x600 screen"
xdotool windowsize --sync "$main" 720 540
xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowfocus --sync "$main"
sleep 0.5
xdotool key space  # past the instructions, to the title, which takes the settings key
sleep 0.5
xdotool key F1
sleep 0.5
for _ in 1 2 3 4 5; do xdotool key Down; sleep 0.1; done
xdotool key Left
for _ in $(seq 50); do grep -q "music-volume = 95" "$tmp/q.ini" 2>/dev/null && break; sleep 0.1; done
size=$(geometry)
kill -TERM $gpid
wait $gpid 2>/dev/null
grep -q "music-volume = 95" "$tmp/q.ini" 2>/dev/null || fail "the settings page did not lower the music: $(cat "$tmp/q.ini" 2>&1)"
[ "$size" = 720x540 ] || fail "a change of volume put the resized window back to $size"
n=$(grep -c "does not fit the 800x600 screen; opening it at scale 1" "$tmp/run3.txt")
[ "$n" = 1 ] || fail "said $n times that the window does not fit: $(cat "$tmp/run3.txt")"
echo "ok: scale 3 opened at scale 1, said so once, and a page change kept the window's own size"
