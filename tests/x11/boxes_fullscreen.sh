#!/usr/bin/env bash
# Message boxes in a real window, on a virtual X server with a window
# manager (Xvfb and openbox; xdotool and xprop drive and look):
#  - a full-screen game that shows an error box has the keyboard in the box,
#    Return dismisses it, and the game is full screen again afterwards;
#  - SIGTERM while a box is open ends the game within a few seconds;
#  - the default window is the largest at the game's aspect that fits;
#  - a window larger than the screen opens at the largest scale that fits,
#    says so once, and a setting changed on the settings page afterwards
#    leaves the window at the size the player gave it by hand;
#  - a new player's first start (empty data and settings folders): no load
#    box, the language page preselected from LANG, the choice saved, an
#    all-zero record; the second start goes straight to the game; an empty
#    --home folder still gives the load box, once;
#  - with standard error in a file and no data, the message comes in a box.
#   tests/x11/boxes_fullscreen.sh GAME_BINARY
set -uo pipefail
game=$1
for tool in Xvfb openbox xdotool xprop xwininfo; do
  command -v "$tool" >/dev/null 2>&1 || { echo "FAIL: $tool is not installed (xvfb openbox xdotool x11-utils: scripts/deps.sh test)"; exit 1; }
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
mkdir -p "$tmp/game" "$tmp/home" "$tmp/config/quellstorm"
# The runs below that are not about a first start have a settings file.
: >"$tmp/config/quellstorm/quellstorm.ini"
export XDG_CONFIG_HOME="$tmp/config" XDG_DATA_HOME="$tmp/xdg"
cp "$game" "$tmp/game/" && cp -r "$build/BMP" "$build/BG" "$build/SE" "$build/MIDI" "$tmp/game/" || fail "cannot copy the game"
head -c 300 "$build/SE/Coin.wav" >"$tmp/game/SE/Coin.wav"
printf '3 press ESC\n' >"$tmp/esc.txt"
"$game" --headless --home "$tmp/home" --frames 5 --script "$tmp/esc.txt" >/dev/null 2>&1
[ -s "$tmp/home/score.dat" ] || fail "no score record made"
export SDL_AUDIODRIVER=dummy

window_named() {  # waits for a window with exactly this name; prints its id
  for _ in $(seq 200); do  # (the instructions wait a few seconds before the loading pass)
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
: >"$tmp/q.ini"  # a settings file: no language page of a first start
# First the default window: the largest at the game's aspect that fits the
# screen less the window's frame, a fraction of a scale.
"$build/quellstorm" --window --home "$tmp/home" --config "$tmp/q.ini" >"$tmp/run3a.txt" 2>&1 &
gpid=$!
pids+=($gpid)
main=$(window_named QUELLSTORM) || fail "no default window"
size=$(xwininfo -id "$main" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
kill -TERM $gpid
wait $gpid 2>/dev/null
[ "$size" = 744x558 ] || fail "a default window of $size on an 800x600 screen, not the largest that fits (744x558)"
echo "ok: the default window is the largest that fits ($size)"
"$build/quellstorm" --window --scale 3 --home "$tmp/home" --config "$tmp/q.ini" >"$tmp/run3.txt" 2>&1 &
gpid=$!
pids+=($gpid)
main=$(window_named QUELLSTORM) || fail "no window at scale 3"
geometry() { xwininfo -id "$main" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }
size=$(geometry)
[ "$size" = 640x480 ] || fail "window of $size on an 800x600 screen"
xdotool windowsize --sync "$main" 720 540
xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowfocus --sync "$main"
past_loading space  # past the instructions and the loading pass
hold_key space  # past the intro, to the title, which takes the settings key
sleep 0.3
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

# 4. A new player's first start, in English and in Japanese.
start_fresh() {  # LANG DIR OUT SETTLE WHAT: the game in a window on DIR's own XDG folders, focused
  LANG=$1 LC_ALL= LC_MESSAGES= XDG_DATA_HOME="$2/data" XDG_CONFIG_HOME="$2/config" \
    "$build/quellstorm" --window --scale 1 >"$2/$3" 2>&1 &
  gpid=$!
  pids+=($gpid)
  main=$(window_named QUELLSTORM) || fail "no game window ($5)"
  sleep "$4"
  xdotool windowactivate --sync "$main" 2>/dev/null
}
first_start() {  # LANG KEYS EXPECTED: the page's choice after KEYS and Return
  local lang=$1 keys=$2 want=$3 dir="$tmp/new-${1%%.*}$2"
  mkdir -p "$dir"
  start_fresh "$lang" "$dir" out.txt 1 "$lang"
  for k in $keys; do xdotool key "$k"; sleep 0.3; done
  xdotool key Return
  for _ in $(seq 50); do grep -q '^language = ' "$dir/config/quellstorm/quellstorm.ini" 2>/dev/null && break; sleep 0.1; done
  got=$(sed -n 's/^language = //p' "$dir/config/quellstorm/quellstorm.ini" 2>/dev/null)
  [ "$got" = "$want" ] || fail "LANG=$lang, keys '$keys': language '$got' saved, not '$want'"
  # The game starts now; its loading pass is where the load box would come.
  past_loading Return  # past the instructions
  for w in $(xdotool search --name . 2>/dev/null); do
    [ "$(xdotool getwindowname "$w" 2>/dev/null)" = "おーぷんえらー" ] && fail "a load box at a first start ($lang)"
  done
  [ -e "$dir/data/quellstorm/score.dat" ] || fail "no fresh record after the loading pass ($lang)"
  xdotool windowactivate --sync "$main" 2>/dev/null
  xdotool key Escape  # the page is closed: the game's own quit
  for _ in $(seq 50); do kill -0 $gpid 2>/dev/null || break; sleep 0.1; done
  kill -0 $gpid 2>/dev/null && fail "Escape after the language page did not quit ($lang)"
  wait $gpid || fail "the first start ended with status $? ($(cat "$dir/out.txt"))"
  rec="$dir/data/quellstorm/score.dat"
  [ "$(stat -c %s "$rec" 2>/dev/null)" = 1088 ] || fail "no 1088-byte record after a first start ($lang)"
  # All zero but the save time the quit stamped (bytes 1056 to 1067).
  nonzero=$(od -An -v -tu1 -w1 "$rec" | awk '$1 != 0 && (NR - 1 < 1056 || NR - 1 > 1067) {n++} END {print n + 0}')
  [ "$nonzero" = 0 ] || fail "the fresh record holds $nonzero bytes besides the save time"
  echo "ok: first start with LANG=$lang: no load box, '$want' chosen and saved, an all-zero record"
}
first_start en_US.UTF-8 "" en
first_start ja_JP.UTF-8 "" ja
first_start ja_JP.UTF-8 "Down" en

# The second start has its settings file: no page, Escape quits at once.
dir="$tmp/new-ja_JP"
start_fresh ja_JP.UTF-8 "$dir" out2.txt 2 "second start"
xdotool key Escape
for _ in $(seq 50); do kill -0 $gpid 2>/dev/null || break; sleep 0.1; done
kill -0 $gpid 2>/dev/null && fail "the second start showed the language page again (Escape did not quit)"
wait $gpid
echo "ok: the second start goes straight to the game"

# 5. An empty --home folder is taken as it is: the load box, once.
mkdir -p "$tmp/emptyhome"
"$build/quellstorm" --window --scale 1 --home "$tmp/emptyhome" >"$tmp/run5.txt" 2>&1 &
gpid=$!
pids+=($gpid)
box=$(window_named "おーぷんえらー") || fail "no load box with an empty --home folder"
xdotool windowactivate --sync "$box" 2>/dev/null
xdotool key Return
for _ in $(seq 50); do xwininfo -id "$box" >/dev/null 2>&1 || break; sleep 0.1; done
sleep 2
for w in $(xdotool search --name . 2>/dev/null); do
  [ "$(xdotool getwindowname "$w" 2>/dev/null)" = "おーぷんえらー" ] && fail "a second load box"
done
[ -e "$tmp/emptyhome/score.dat" ] && fail "a record was made in the --home folder before any save"
kill -TERM $gpid
wait $gpid 2>/dev/null
echo "ok: an empty --home folder gives the load box once"

# 6. No data and standard error in a file (a desktop start): a box says so,
# and the exit status stays 1.
mkdir -p "$tmp/bare"
cp "$game" "$tmp/bare/"
XDG_DATA_DIRS="$tmp/none" "$tmp/bare/quellstorm" --window >"$tmp/run6.txt" 2>&1 &
gpid=$!
pids+=($gpid)
# (SDL's own box: xdotool's search does not see it, the window tree does.)
box=
for _ in $(seq 100); do
  box=$(xwininfo -root -tree | awk '/"QUELLSTORM"/ {print $1; exit}')
  [ -n "$box" ] && break
  sleep 0.1
done
[ -n "$box" ] || fail "no box without data"
xwininfo -id "$box" | grep -q "Width: 640" && fail "a game window without data"
[ -n "${QS_X11_SHOTS:-}" ] && command -v xwd >/dev/null && xwd -root -silent >"$QS_X11_SHOTS/nodata-box.xwd"
xdotool windowactivate --sync "$box" 2>/dev/null
xdotool key Return
for _ in $(seq 50); do kill -0 $gpid 2>/dev/null || break; sleep 0.1; done
kill -0 $gpid 2>/dev/null && fail "the box without data did not end the game"
wait $gpid
rc=$?
[ $rc = 1 ] || fail "exit status $rc without data"
grep -q "cannot find the game data" "$tmp/run6.txt" || fail "no message on standard error without data"
echo "ok: no data: a box, then exit status 1"
