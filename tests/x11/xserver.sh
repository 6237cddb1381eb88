# Sourced by the window tests: a virtual X server with openbox on the first
# free display from FIRST to LAST, its processes appended to `pids`.
#   start_x_server FIRST LAST
start_x_server() {
  local n num=
  for n in $(seq "$1" "$2"); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || { num=$n; break; }
  done
  export DISPLAY=:$num
  Xvfb "$DISPLAY" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 50); do xprop -root >/dev/null 2>&1 && break; sleep 0.1; done
  openbox >/dev/null 2>&1 &
  pids+=($!)
  for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.1; done
  sleep 1  # openbox answers before it manages new windows
}
