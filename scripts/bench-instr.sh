#!/usr/bin/env bash
# Instructions per game frame, counted by callgrind: the same on any machine
# under any load, so two versions can be compared exactly.
#   scripts/bench-instr.sh BENCH_BUILD_DIR [REPLAY]
# Prints, for the typical (recorded stage-1 run) and the stress scenario,
# the instructions of a shown frame (update and drawing), of a frame in
# between (drawing left out) and of a present.
set -euo pipefail
build=${1:-build-bench}
replay=${2:-tests/golden/stage1_normal.qsr}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
printf '%-10s %16s %16s %16s\n' scenario "shown frame" "frame between" "present"
for sc in typical stress; do
  valgrind --tool=callgrind --callgrind-out-file="$out/$sc.cg" \
    "$build/qs_framebench" --only "$sc" --instr "$replay" >"$out/$sc.txt" 2>"$out/$sc.err" || {
    echo "bench-instr: $sc failed:"; cat "$out/$sc.err"; exit 1; }
  callgrind_annotate --inclusive=yes --threshold=100 "$out/$sc.cg" >"$out/$sc.ann" 2>/dev/null
  python3 - "$sc" "$out/$sc.txt" "$out/$sc.ann" <<'PY'
import re, sys
sc, counts_file, ann_file = sys.argv[1:]
counts = dict(l.split() for l in open(counts_file) if l.strip())
ir = {}
for line in open(ann_file):
    m = re.match(r'\s*([\d,]+)\s.*::(DrawnFrame|UndrawnFrame|PresentFrame)\(\)', line)
    if m:
        ir[m.group(2)] = int(m.group(1).replace(',', ''))
shown = float(counts[sc + '.shown.count'])
between = float(counts[sc + '.between.count'])
per = lambda k, n: ir.get(k, 0) / n if n else 0
print(f"{sc:<10} {per('DrawnFrame', shown):16,.0f} {per('UndrawnFrame', between):16,.0f} {per('PresentFrame', shown):16,.0f}")
PY
done
