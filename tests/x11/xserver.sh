# Sourced by the window tests: a virtual X server with openbox on the first
# free display from FIRST to LAST, its processes appended to `pids`; its
# screen is kept in a file under `tmp` (what the waits below look at).
#   start_x_server FIRST LAST
start_x_server() {
  local n num=
  for n in $(seq "$1" "$2"); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || { num=$n; break; }
  done
  export DISPLAY=:$num
  mkdir -p "$tmp/screen"
  Xvfb "$DISPLAY" -screen 0 800x600x24 -nolisten tcp -fbdir "$tmp/screen" >/dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 50); do xprop -root >/dev/null 2>&1 && break; sleep 0.1; done
  openbox >/dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.1; done
  sleep 1  # openbox answers before it manages new windows
}

# A sum of what the screen shows now.
screen_sum() { md5sum <"$tmp/screen/Xvfb_screen0" | cut -c1-32; }

# Presses KEY on the instructions and returns once the loading pass is over.
# The instructions and the loading line are still pictures; what follows
# (the logo, the title's letters, its colours) changes every frame, so three
# changes in a row are the sign. A fixed wait raced the loading pass on a
# busy machine.
#   past_loading KEY
past_loading() {
  local prev cur n=0
  xdotool key "$1"
  prev=$(screen_sum)
  for _ in $(seq 400); do
    sleep 0.15
    cur=$(screen_sum)
    if [ "$cur" != "$prev" ]; then n=$((n + 1)); else n=0; fi
    prev=$cur
    [ $n -ge 3 ] && return 0
  done
  echo "FAIL: the loading pass did not end within a minute"
  exit 1
}

# Holds KEY down for a moment: the game polls the keys once a frame, and the
# logo's frames are slow.
hold_key() { xdotool keydown "$1"; sleep "${2:-0.6}"; xdotool keyup "$1"; }
