#!/usr/bin/env bash
# Loading benchmark: compares `sondrix-cli info` on large generated data files with a plain
# split-lines-and-tabs + fast_float pass over the same bytes, and reports the peak memory of the
# cli next to the size of its numeric item table.
#
# usage: bench/run_load_bench.sh            (from anywhere; ROUNDS=N to change the 5 rounds)
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/build-bench"
DATA="$ROOT/bench/data"
ROUNDS="${ROUNDS:-5}"
TEXT_ITEMS=100000
TARGET_RATIO=0.50
# columns rows (the depth column counts as a column)
SHAPES=("2 1000000" "11 200000" "101 20000")

cd "$ROOT"
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSONDRIX_QT=ON -DSONDRIX_TESTS=OFF \
  -DSONDRIX_BENCH=ON >/dev/null
cmake --build "$BUILD" --target generate_data baseline_pass measure_run sondrix-cli

CLI="$BUILD/sondrix-cli"
GEN="$BUILD/bench/generate_data"
BASE="$BUILD/bench/baseline_pass"
MEASURE="$BUILD/bench/measure_run"
for tool in "$CLI" "$GEN" "$BASE" "$MEASURE"; do
  [[ -x "$tool" ]] || { echo "missing $tool" >&2; exit 1; }
done

mkdir -p "$DATA"

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Prints the "rows" figure of the cli's JSON report (the first "rows" key found, breadth-first).
json_rows() {
  python3 -c '
import json, sys
try:
    queue = [json.load(sys.stdin)]
except ValueError:
    print("unparsable"); sys.exit(0)
while queue:
    node = queue.pop(0)
    if isinstance(node, dict):
        if "rows" in node:
            print(node["rows"]); sys.exit(0)
        queue.extend(node.values())
    elif isinstance(node, list):
        queue.extend(node)
print("absent")'
}

problems=0
table=()
for shape in "${SHAPES[@]}"; do
  read -r columns rows <<<"$shape"
  file="$DATA/load_${columns}x${rows}.tab"
  if [[ ! -s "$file" ]]; then
    echo "generating $file"
    "$GEN" "$file.tmp" "$columns" "$rows"
    mv "$file.tmp" "$file"
  fi
  numeric=$((columns * (rows + 3)))
  bytes=$(stat -c %s "$file")

  # Correctness first: the cli must see every generated row.
  cli_rows=$("$CLI" info "$file" --json --numeric-items "$numeric" --text-items "$TEXT_ITEMS" |
    json_rows) || cli_rows="cli failed"
  if [[ "$cli_rows" != "$rows" ]]; then
    echo "MISMATCH $file: cli reports rows=$cli_rows, generated $rows" >&2
    problems=$((problems + 1))
  fi

  cat "$file" >/dev/null  # page cache warm for both contenders
  cli_times=() base_times=() cli_rss=0 base_rss=0
  for ((i = 0; i < ROUNDS; i++)); do
    read -r t rss status < <("$MEASURE" "$CLI" info "$file" --numeric-items "$numeric" \
      --text-items "$TEXT_ITEMS")
    if [[ "$status" != 0 ]]; then
      echo "cli exited with $status on $file" >&2
      problems=$((problems + 1))
    fi
    cli_times+=("$t")
    if ((rss > cli_rss)); then cli_rss=$rss; fi
    read -r t rss status < <("$MEASURE" "$BASE" "$file")
    if [[ "$status" != 0 ]]; then
      echo "baseline exited with $status on $file" >&2
      problems=$((problems + 1))
    fi
    base_times+=("$t")
    if ((rss > base_rss)); then base_rss=$rss; fi
  done
  cli_t=$(printf '%s\n' "${cli_times[@]}" | median)
  base_t=$(printf '%s\n' "${base_times[@]}" | median)
  table+=("$(awk -v f="$(basename "$file")" -v b="$bytes" -v ct="$cli_t" -v bt="$base_t" \
    -v cr="$cli_rss" -v br="$base_rss" -v n="$numeric" -v target="$TARGET_RATIO" 'BEGIN {
      mb = b / 1e6; cs = mb / ct; bs = mb / bt; ratio = cs / bs
      printf "%-22s %8.1f %9.1f %9.1f %6.2f%s %9.1f %9.1f %9.1f\n", f, mb, cs, bs, ratio,
             (ratio >= target ? " " : "!"), cr / 1024, br / 1024, (n + 1) * 12 / 1048576 }')")
done

echo
echo "Median of $ROUNDS alternating rounds; MB = 10^6 bytes; RSS and table sizes in MiB."
echo "Numeric table = (MaxNumericItems + 1) * 12 bytes; the text table for $TEXT_ITEMS items comes on top."
echo "A '!' after the ratio marks a load speed below $TARGET_RATIO of the baseline."
printf "%-22s %8s %9s %9s %7s %9s %9s %9s\n" file "size MB" "cli MB/s" "base MB/s" ratio \
  "cli RSS" "base RSS" "num table"
printf '%s\n' "${table[@]}"

if ((problems > 0)); then
  echo "$problems problem(s) found, see above" >&2
  exit 1
fi
