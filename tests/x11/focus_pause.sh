#!/usr/bin/env bash
# Pause on focus loss in a real window, on a virtual X server with a window
# manager (Xvfb and openbox; xdotool types and minimises):
#  - a game in play whose window is minimised pauses as under the pause key:
#    the game's kept replay holds the pause key's key-down, which nobody
#    typed, and plays back the same;
#  - with the setting off, minimising changes nothing;
#  - either way the game kept from the window plays back the same;
#  - a kept game watched from the replays page (F3, Return) is left with
#    Escape, back to the page, and the title then starts a game as usual;
#  - a kept game watched is taken over in stage 1 (T), played on by keys
#    and left with Escape: the practice run kept holds the watched start
#    and inputs up to that frame, then the keys typed; it verifies
#    headless, re-plays to the end it was kept with, and names its parent
#    and the frame.
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

# The game in a window on HOME's record and settings, past its loading
# pass; sets `pid` and `wid`.
start() {
  local home=$1; shift
  SDL_AUDIODRIVER=dummy "$game" --window --scale 1 --home "$home" --config "$home/settings.ini" "$@" \
    >"$home/out.txt" 2>&1 &
  pid=$!
  pids+=($pid)
  wid=""
  for _ in $(seq 300); do
    wid=$(xdotool search --pid "$pid" --onlyvisible 2>/dev/null | head -1)
    [ -n "$wid" ] && break
    sleep 0.1
  done
  [ -n "$wid" ] || { kill "$pid"; fail "no game window"; }
  xdotool windowactivate --sync "$wid" 2>/dev/null
  past_loading Return  # past the instructions and the loading pass
}

# One game: into play from the title with the shot key, the window
# minimised, back, and Escape. Sets `kept` to the kept replay's path.
play() {
  local home=$1; shift
  mkdir -p "$home"
  head -c 1088 /dev/zero >"$home/score.dat"  # no load box
  : >"$home/settings.ini"  # a settings file: no language page of a first start
  start "$home" "$@"
  # The game polls the keys once a frame: each is held a moment.
  xdotool windowactivate --sync "$wid"
  hold_key space; sleep 0.5  # past the intro
  hold_key space; sleep 1.5  # GAME START: in play
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

# Watching the kept game from the replays page, leaving it with Escape,
# then a game from the title: the program must not stand still after
# Escape (no frame is due while the viewer leaves).
home=$tmp/off
start "$home"
xdotool windowactivate --sync "$wid"
hold_key space; sleep 1  # past the intro: the title
xdotool key F3; sleep 0.5
xdotool key Return; sleep 2  # watching
shot() { [ -n "${QS_X11_SHOTS:-}" ] && command -v xwd >/dev/null && xwd -id "$wid" -silent >"$QS_X11_SHOTS/$1.xwd"; }
shot watching
xdotool key Escape; sleep 1  # back on the replays page
shot left-viewer
xdotool key Escape; sleep 0.5  # the page closed: the title
hold_key space; sleep 1.5  # GAME START
xdotool key Escape
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "the game stood still after Escape left the viewer"
wait "$pid" || fail "the game ended with status $? ($(cat "$home/out.txt"))"
n=$(ls "$home"/replays/*-NORMAL-*.qsr 2>/dev/null | wc -l)
[ "$n" = 2 ] || fail "no game kept after leaving the viewer ($n NORMAL replays)"
echo "leaving the viewer: ok"

# Taking over: the first game kept (the second row) watched, paused at once
# (a replay this short could end before a key comes), taken over, played on.
start "$home"
xdotool windowactivate --sync "$wid"
hold_key space; sleep 1  # past the intro: the title
xdotool key F3; sleep 0.5
xdotool key Down Return; sleep 0.4
xdotool key space; sleep 0.5  # watching, paused
shot take-over-hint
xdotool key t; sleep 0.3  # taken over: the keys are the player's
xdotool keydown Up space; sleep 1.5; xdotool keyup Up space; sleep 0.3
xdotool key Escape; sleep 1  # kept as practice, back on the replays page
shot practice-listed
xdotool key Escape; sleep 0.5  # the page closed: the title
xdotool key Escape
wait "$pid" || fail "the game ended with status $? ($(cat "$home/out.txt"))"
watched=$(basename "$kept")
practice=$(ls "$home"/replays/*-NORMAL-PRACTICE-*.qsr 2>/dev/null | head -1)
[ -n "$practice" ] || fail "no practice run kept after the take-over ($(ls "$home/replays"))"
head_value() { sed -n "s/^$1 //p" "$practice" | head -1; }
at=$(head_value taken-at)
[ "$(head_value practice)" = take-over ] && [ "$(head_value parent)" = "$watched" ] && [ "${at:-0}" -gt 0 ] ||
  fail "the practice run does not say what it was taken over from: $(grep -v '^[0-9]' "$practice")"
# Up and the shot key held, as typed after the frame taken over.
awk -v at="$at" '$1 > at && $2 == "K" && $3 == "11" { found = 1 } END { exit !found }' "$practice" ||
  fail "the keys typed after the take-over are not in the practice run"
"$game" --headless --home "$home" --play "$practice" --verify --draw-every 0 --result-json "$tmp/p.json" >/dev/null 2>&1 ||
  fail "the practice run does not verify ($(cat "$tmp/p.json"))"
grep -q "\"practice\":\"take-over\",\"parent\":\"$watched\",\"taken_at\":$at," "$tmp/p.json" &&
  grep -q "\"score\":$(head_value score)," "$tmp/p.json" && grep -q "\"frames\":$(head_value frames)," "$tmp/p.json" ||
  fail "the practice run's playback does not end where it was kept ($(cat "$tmp/p.json"))"
"$game" --headless --home "$home" --play "$practice" --draw-every 0 --frames "$at" --state-out "$tmp/at.txt" >/dev/null 2>&1
grep -q ' Scene=1 ' "$tmp/at.txt" && grep -q ' StageNo=1 ' "$tmp/at.txt" ||
  fail "not taken over in stage 1's play: $(cut -c1-120 "$tmp/at.txt")"
echo "taking over: ok (at frame $at)"
