#!/usr/bin/env bash
# Batch export benchmark: `sondrix-cli batch` over COPIES copies of one generated file (5
# parameters, 2,000 rows) to FORMAT; reports files per second. Target: at least 20 files/s to SVG.
#
# usage: bench/run_batch_bench.sh     (from anywhere; COPIES=N, DATA_ROWS=N, FORMAT=emf|svg|pdf|png
#                                       and BUILD=DIR change the defaults)
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${BUILD:-$ROOT/build-bench}"
DATA="$ROOT/bench/data"
COPIES="${COPIES:-200}"
DATA_ROWS="${DATA_ROWS:-2000}"
FORMAT="${FORMAT:-svg}"
TARGET=20

cd "$ROOT"
# Same configuration as the other benchmark scripts, so none reconfigures the tree for another.
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSONDRIX_QT=ON -DSONDRIX_TESTS=OFF \
  -DSONDRIX_BENCH=ON >/dev/null
cmake --build "$BUILD" --target generate_data sondrix-cli sondrix-cli-draw

GEN="$BUILD/bench/generate_data"
CLI="$BUILD/sondrix-cli"
for tool in "$GEN" "$CLI"; do
  [[ -x "$tool" ]] || { echo "missing $tool" >&2; exit 1; }
done

mkdir -p "$DATA"
file="$DATA/batch_6x${DATA_ROWS}.tab"  # the depth column and 5 parameters
if [[ ! -s "$file" ]]; then
  echo "generating $file"
  "$GEN" "$file.tmp" 6 "$DATA_ROWS"
  mv "$file.tmp" "$file"
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
files=()
for ((i = 1; i <= COPIES; i++)); do
  cp "$file" "$work/copy$i.tab"
  files+=("$work/copy$i.tab")
done

start=$(date +%s.%N)
QT_QPA_PLATFORM=offscreen "$CLI" batch --format "$FORMAT" "${files[@]}" >"$work/log" || {
  tail -n 5 "$work/log"
  echo "batch failed" >&2
  exit 1
}
end=$(date +%s.%N)
written=$(ls "$work"/*."$FORMAT" | wc -l)
tail -n 1 "$work/log"
awk -v n="$written" -v s="$start" -v e="$end" -v t="$TARGET" -v f="$FORMAT" 'BEGIN {
  d = e - s; r = n / d;
  printf "%d files to %s in %.2f s: %.1f files/s (target >= %d)%s\n", n, f, d, r, t, (r < t ? " !" : "")
}'
