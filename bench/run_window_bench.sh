#!/usr/bin/env bash
# Window benchmark, side by side in one run on three generated files (2 x 1,000,000;
# 11 x 200,000; 101 x 20,000), the plot window at 1600 x 1200 on the offscreen platform:
#  (a) start of `sondrix FILE` until the plot window's first paint has finished, against
#      `sondrix-cli render` of the same file to a PNG of the same size (target: at most 2x);
#  (b) the plot window's forced repaints (median), against matplotlib drawing the same strips on
#      its Agg canvas (`fig.canvas.draw()`, median) at the same size (target: at least 5x
#      faster). The window keeps its picture, so a repaint (exposing, raising the window) only
#      shows it; a redraw (after a change of the settings) runs the plot pass. Both are shown.
#
# usage: bench/run_window_bench.sh      (ROUNDS=N rounds of (a), REPAINTS=N forced repaints,
#                                        BUILD=dir an existing build tree instead of build-bench)
# Installs python3-matplotlib with apt-get when it is missing (needs root).
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${BUILD:-}"
DATA="$ROOT/bench/data"
ROUNDS="${ROUNDS:-3}"
REPAINTS="${REPAINTS:-9}"
WIDTH=1600
HEIGHT=1200
TEXT_ITEMS=100000
SHAPES=("2 1000000" "11 200000" "101 20000")
PYTHON=/usr/bin/python3

cd "$ROOT"
if [[ -z "$BUILD" ]]; then
  # The same configuration as the other bench scripts, so none reconfigures the tree for another.
  BUILD="$ROOT/build-bench"
  cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSONDRIX_QT=ON -DSONDRIX_TESTS=OFF \
    -DSONDRIX_BENCH=ON >/dev/null
fi
cmake --build "$BUILD" --target generate_data measure_run sondrix-cli sondrix
if ! "$PYTHON" -c 'import matplotlib' 2>/dev/null; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q python3-matplotlib >/dev/null
fi

WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
# An offscreen screen large enough for the frame around a 1600 x 1200 plot.
cat >"$WORK/screens.json" <<JSON
{ "screens": [ { "name": "bench", "x": 0, "y": 0, "width": 2400, "height": 1800,
                 "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1 } ] }
JSON
export QT_QPA_PLATFORM="offscreen:configfile=$WORK/screens.json"
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
now_ms() { date +%s%3N; }

mkdir -p "$DATA"
table=()
problems=0
for shape in "${SHAPES[@]}"; do
  read -r columns rows <<<"$shape"
  file="$DATA/load_${columns}x${rows}.tab"
  if [[ ! -s "$file" ]]; then
    "$BUILD/bench/generate_data" "$file.tmp" "$columns" "$rows"
    mv "$file.tmp" "$file"
  fi
  name="$(basename "$file" .tab)"
  skiplines=$(grep -n -m1 '^Depth' "$file" | cut -d: -f1)
  # Both programs read their budgets from the window file of the settings folder; it also
  # places the frame and sizes the plot window's drawing area to the bench size (the status
  # bar comes on top of the plot window's height).
  export APPDATA="$WORK/appdata_$name"
  mkdir -p "$APPDATA/Sondrix"
  printf '2008-08-08\n%s\t%s\n0\t0\t%s\t%s\n0\t0\t%s\t%s\n-1\t-1\t-1\t-1\n' "$TEXT_ITEMS" \
    $((columns * (rows + 3))) $((WIDTH + 60)) $((HEIGHT + 160)) $((WIDTH + 8)) \
    $((HEIGHT + 50)) >"$APPDATA/Sondrix/SondrixWindow.ini"
  cat "$file" >/dev/null
  cli=() first=() repaint=() redraw=()
  for ((i = 0; i < ROUNDS; i++)); do
    read -r t _ status < <("$BUILD/bench/measure_run" "$BUILD/sondrix-cli" render "$file" \
      -o "$WORK/$name.png" --size "${WIDTH}x${HEIGHT}")
    [[ "$status" == 0 ]] || { echo "cli render failed on $file" >&2; problems=$((problems + 1)); }
    cli+=("$t")
    start=$(now_ms)
    log=$(SONDRIX_BENCH_FIRST_FRAME=$REPAINTS timeout 300 "$BUILD/sondrix" "$file" 2>&1) || true
    at=$(awk '/^first-frame/ { print $2 }' <<<"$log")
    size=$(awk '/^repaint/ { print $2 }' <<<"$log")
    if [[ -z "$at" || "$size" != "${WIDTH}x${HEIGHT}" ]]; then
      echo "no first frame at ${WIDTH}x${HEIGHT} for $file: $log" >&2
      problems=$((problems + 1))
      continue
    fi
    first+=("$(awk -v a="$at" -v s="$start" 'BEGIN { print (a - s) / 1000 }')")
    repaint+=("$(awk '/^repaint/ { print $4 }' <<<"$log")")
    redraw+=("$(awk '/^redraw/ { print $4 }' <<<"$log")")
  done
  mpl=$("$PYTHON" "$ROOT/bench/plot_matplotlib.py" "$file" - "$WIDTH" "$HEIGHT" "$skiplines" \
    --redraw "$REPAINTS" | awk '/^redraw/ { print $2 }')
  c=$(printf '%s\n' "${cli[@]}" | median)
  f=$(printf '%s\n' "${first[@]:-0}" | median)
  rp=$(printf '%s\n' "${repaint[@]:-0}" | median)
  rd=$(printf '%s\n' "${redraw[@]:-0}" | median)
  table+=("$(awk -v n="$name" -v c="$c" -v f="$f" -v rp="$rp" -v rd="$rd" -v m="$mpl" 'BEGIN {
    a = f / c; b = (rp > 0 ? m / rp : 0); d = (rd > 0 ? m / rd : 0)
    printf "%-20s %7.3f %8.3f %6.2f%s %9.4f %9.4f %8.4f %8.0f%s %7.1f\n", n, c, f, a,
           (a <= 2 ? " " : "!"), rp, rd, m, b, (b >= 5 ? " " : "!"), d }')")
done

echo
echo "Wall seconds, ${WIDTH}x${HEIGHT}; medians of $ROUNDS starts and of $REPAINTS repaints each."
echo "first/cli: first frame against the cli render (target <= 2); mpl/...: matplotlib's draw"
echo "against the window's repaint (target >= 5) and against its redraw with the plot pass."
printf "%-20s %7s %8s %7s %9s %9s %8s %9s %7s\n" file "cli s" "first s" "f/cli" "repaint s" \
  "redraw s" "mpl s" "mpl/rep" "mpl/red"
printf '%s\n' "${table[@]}"
((problems == 0)) || { echo "$problems problem(s), see above" >&2; exit 1; }
