#!/usr/bin/env bash
# Measures the pacing in a real window: an X server without a graphics
# card (Xvfb), the game windowed at scale 1 playing a replay, once paced
# exactly and once smoothly, each logging every present (--pace-log).
# Prints, for both, the spread of game steps per picture and of the time
# between pictures (from two seconds in, after the loading pass).
#   scripts/bench-pace.sh [BUILD_DIR] [REPLAY]
set -euo pipefail
build=${1:-build}
replay=${2:-tests/golden/stage1_normal.qsr}
if ! command -v Xvfb >/dev/null 2>&1; then
  echo "bench-pace: Xvfb is missing (Debian package xvfb; scripts/deps.sh test installs it)" >&2
  exit 1
fi
display=:$((80 + RANDOM % 9))
Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xpid=$!
home=$(mktemp -d)
trap 'kill $xpid 2>/dev/null || true; rm -rf "$home"' EXIT
sleep 1
for mode in exact smooth; do
  DISPLAY=$display SDL_AUDIODRIVER=dummy "$build"/quellstorm --window --scale 1 --home "$home" --play "$replay" \
    --pace "$mode" --pace-log "$home/$mode.log" >/dev/null 2>"$home/$mode.err" || true
  grep -v 'incomplete' "$home/$mode.err" | sed 's/^/bench-pace: /' >&2 || true
  awk -v mode="$mode" '
    /^#/ { next }
    { t[n] = $1; s[n] = $2; n++ }
    END {
      from = 0; while (from < n && t[from] < t[0] + 2000) from++;
      m = 0; sum = 0; sumsq = 0
      for (i = from + 1; i < n; i++) { d[m] = t[i] - t[i-1]; st[m] = s[i]; m++ }
      if (m < 10) { printf "bench-pace: %s: too few pictures (%d)\n", mode, m; exit }
      steps = 0; for (i = 0; i < m; i++) { hist[st[i]]++; steps += st[i]; sum += d[i]; sumsq += d[i] * d[i] }
      mean = sum / m; sd = sqrt(sumsq / m - mean * mean)
      # intervals sorted for their percentiles
      for (i = 0; i < m; i++) e[i] = d[i]
      for (i = 1; i < m; i++) { v = e[i]; j = i - 1; while (j >= 0 && e[j] > v) { e[j+1] = e[j]; j-- } e[j+1] = v }
      h = ""; for (k = 0; k <= 10; k++) if (k in hist) h = h sprintf(" %d:%.1f%%", k, 100 * hist[k] / m)
      printf "pace %-6s %5d pictures  steps a picture%s  (%.1f steps/s)\n", mode, m, h, steps / (sum / 1000)
      printf "pace %-6s interval ms: median %.2f  p1 %.2f  p99 %.2f  max %.2f  sd %.2f\n", mode, e[int(m/2)], e[int(m*0.01)], e[int(m*0.99)], e[m-1], sd
    }' "$home/$mode.log"
done
