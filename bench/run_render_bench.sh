#!/usr/bin/env bash
# Render pass benchmark: a screen pass (new layout, frames, axes) of a wide generated file on a
# 1600 x 1200 QImage, against the Qt surface replaying the same drawing calls. Our overhead above
# the replay should stay under 25 %.
#
# usage: bench/run_render_bench.sh     (from anywhere; RUNS=N, DATA_COLUMNS=N, DATA_ROWS=N, SIZE=WxH and
#                                        MODE=horizontal|vertical change the defaults)
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/build-bench"
DATA="$ROOT/bench/data"
RUNS="${RUNS:-50}"
DATA_COLUMNS="${DATA_COLUMNS:-101}"  # the depth column counts as a column
DATA_ROWS="${DATA_ROWS:-2000}"
SIZE="${SIZE:-1600x1200}"
MODE="${MODE:-}"

cd "$ROOT"
# Same configuration as bench/run_load_bench.sh, so neither reconfigures the tree for the other.
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSONDRIX_QT=ON -DSONDRIX_TESTS=OFF \
  -DSONDRIX_BENCH=ON >/dev/null
cmake --build "$BUILD" --target generate_data render_pass_bench

GEN="$BUILD/bench/generate_data"
BENCH="$BUILD/bench/render_pass_bench"
for tool in "$GEN" "$BENCH"; do
  [[ -x "$tool" ]] || { echo "missing $tool" >&2; exit 1; }
done

mkdir -p "$DATA"
file="$DATA/render_${DATA_COLUMNS}x${DATA_ROWS}.tab"
if [[ ! -s "$file" ]]; then
  echo "generating $file"
  "$GEN" "$file.tmp" "$DATA_COLUMNS" "$DATA_ROWS"
  mv "$file.tmp" "$file"
fi

args=("$file" --runs "$RUNS" --size "$SIZE")
if [[ -n "$MODE" ]]; then args+=(--mode "$MODE"); fi
echo
QT_QPA_PLATFORM=offscreen "$BENCH" "${args[@]}"
