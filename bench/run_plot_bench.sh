#!/usr/bin/env bash
# Plot benchmark: `sondrix-cli render` to a 1600 x 1200 PNG of two large generated files in the
# Vertical mode (11 x 200,000 with lines; 2 x 1,000,000 with lines and markers), against gnuplot
# and matplotlib drawing the same columns as strips into a PNG of the same size, each timed from
# start to file written. Then the plot pass alone (PlotPass on a QImage, no loading, no encoding)
# on the 11 x 200,000 file. Targets: the cli at least 5x faster than gnuplot and 20x faster than
# matplotlib on each file; the plot pass under 150 ms of CPU time.
#
# usage: bench/run_plot_bench.sh     (from anywhere; ROUNDS=N changes the 3 rounds, PASS_RUNS=N
#                                     the 20 timed plot passes)
# Installs gnuplot-nox and python3-matplotlib with apt-get when they are missing (needs root).
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/build-bench"
DATA="$ROOT/bench/data"
ROUNDS="${ROUNDS:-3}"
PASS_RUNS="${PASS_RUNS:-20}"
WIDTH=1600
HEIGHT=1200
TEXT_ITEMS=100000
PASS_TARGET_MS=150
# columns rows markers (the depth column counts as a column)
SHAPES=("11 200000 0" "2 1000000 1")
# The distribution's interpreter: matplotlib comes from the distribution's package.
PYTHON=/usr/bin/python3

cd "$ROOT"
# Same configuration as the other bench scripts, so none reconfigures the tree for another.
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSONDRIX_QT=ON -DSONDRIX_TESTS=OFF \
  -DSONDRIX_BENCH=ON >/dev/null
cmake --build "$BUILD" --target generate_data measure_run sondrix-cli render_pass_bench \
  make_bench_template

CLI="$BUILD/sondrix-cli"
GEN="$BUILD/bench/generate_data"
MEASURE="$BUILD/bench/measure_run"
PASS="$BUILD/bench/render_pass_bench"
TEMPLATE="$BUILD/bench/make_bench_template"
for tool in "$CLI" "$GEN" "$MEASURE" "$PASS" "$TEMPLATE"; do
  [[ -x "$tool" ]] || { echo "missing $tool" >&2; exit 1; }
done

if ! command -v gnuplot >/dev/null || ! "$PYTHON" -c 'import matplotlib' 2>/dev/null; then
  echo "installing gnuplot-nox and python3-matplotlib"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q gnuplot-nox python3-matplotlib >/dev/null
fi

mkdir -p "$DATA"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
export QT_QPA_PLATFORM=offscreen

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Runs one contender through measure_run; prints its wall seconds, or fails the script.
timed() {
  local t rss status
  read -r t rss status < <("$MEASURE" "$@")
  if [[ "$status" != 0 ]]; then
    echo "exit status $status: $*" >&2
    return 1
  fi
  echo "$t"
}

problems=0
table=()
for shape in "${SHAPES[@]}"; do
  read -r columns rows markers <<<"$shape"
  file="$DATA/load_${columns}x${rows}.tab"
  if [[ ! -s "$file" ]]; then
    echo "generating $file"
    "$GEN" "$file.tmp" "$columns" "$rows"
    mv "$file.tmp" "$file"
  fi
  numeric=$((columns * (rows + 3)))
  # The header line is the first line that starts with the depth column's name.
  skiplines=$(grep -n -m1 '^Depth' "$file" | cut -d: -f1)
  name="$(basename "$file" .tab)"

  # The cli reads its budgets from the window file of its settings folder, $APPDATA/Sondrix.
  appdata="$WORK/appdata_$name"
  mkdir -p "$appdata/Sondrix"
  printf '2008-08-08\n%s\t%s\n-1\t-1\t-1\t-1\n-1\t-1\t-1\t-1\n-1\t-1\t-1\t-1\n' "$TEXT_ITEMS" \
    "$numeric" >"$appdata/Sondrix/SondrixWindow.ini"
  template="$WORK/$name.stf"
  marker_flag=()
  if [[ "$markers" == 1 ]]; then marker_flag=(--markers); fi
  "$TEMPLATE" "$file" "$template" "$WIDTH" "$HEIGHT" "$numeric" "${marker_flag[@]}"

  cat "$file" >/dev/null  # page cache warm for every contender
  cli_times=() gp_times=() mpl_times=()
  for ((i = 0; i < ROUNDS; i++)); do
    cli_times+=("$(APPDATA="$appdata" timed "$CLI" render "$file" -o "$WORK/$name.cli.png" \
      --size "${WIDTH}x${HEIGHT}" --mode vertical --template "$template")") || problems=$((problems + 1))
    gp_times+=("$(timed "$(command -v gnuplot)" -e "file='$file'; out='$WORK/$name.gnuplot.png'; \
ncols=$columns; skiplines=$skiplines; markers=$markers; width=$WIDTH; height=$HEIGHT" \
      "$ROOT/bench/plot_gnuplot.gp")") || problems=$((problems + 1))
    mpl_times+=("$(timed "$PYTHON" "$ROOT/bench/plot_matplotlib.py" "$file" \
      "$WORK/$name.matplotlib.png" "$WIDTH" "$HEIGHT" "$skiplines" "${marker_flag[@]}")") ||
      problems=$((problems + 1))
  done
  for png in cli gnuplot matplotlib; do
    if [[ ! -s "$WORK/$name.$png.png" ]]; then
      echo "no picture from $png for $file" >&2
      problems=$((problems + 1))
    fi
  done
  if [[ -n "${KEEP_PICTURES:-}" ]]; then cp "$WORK/$name".*.png "$KEEP_PICTURES/"; fi
  cli_t=$(printf '%s\n' "${cli_times[@]}" | median)
  gp_t=$(printf '%s\n' "${gp_times[@]}" | median)
  mpl_t=$(printf '%s\n' "${mpl_times[@]}" | median)
  table+=("$(awk -v f="$name" -v m="$markers" -v c="$cli_t" -v g="$gp_t" -v p="$mpl_t" 'BEGIN {
      rg = g / c; rp = p / c
      printf "%-20s %-14s %8.2f %9.2f %11.2f %7.1f%s %7.1f%s\n", f, (m ? "lines+markers" : "lines"),
             c, g, p, rg, (rg >= 5 ? " " : "!"), rp, (rp >= 20 ? " " : "!") }')")
done

# The plot pass alone: PlotPass on a QImage, data already loaded.
pass_file="$DATA/load_11x200000.tab"
pass_report=$("$PASS" "$pass_file" --runs "$PASS_RUNS" --warmup 3 --size "${WIDTH}x${HEIGHT}" \
  --mode vertical --template "$WORK/$(basename "$pass_file" .tab).stf") || [[ $? == 1 ]] ||
  { echo "$pass_report" >&2; problems=$((problems + 1)); }
pass_cpu=$(awk '/^pass ms/ { print $3 }' <<<"$pass_report")
pass_wall=$(awk '/^pass ms/ { print $5 }' <<<"$pass_report")

echo
echo "Median of $ROUNDS rounds, wall seconds from start to file written, ${WIDTH}x${HEIGHT} PNG."
echo "Ratios are contender time / cli time; a '!' marks a miss (targets: gnuplot 5x, matplotlib 20x)."
printf "%-20s %-14s %8s %9s %11s %8s %8s\n" file styles "cli s" "gnuplot s" "matplotlib s" \
  "x gnupl" "x mpl"
printf '%s\n' "${table[@]}"
echo
echo "Plot pass alone, $(basename "$pass_file"), Vertical, median of $PASS_RUNS:" \
  "${pass_cpu} ms CPU (${pass_wall} ms wall); target < ${PASS_TARGET_MS} ms CPU:" \
  "$(awk -v t="$pass_cpu" -v l="$PASS_TARGET_MS" 'BEGIN { print (t < l ? "met" : "MISSED") }')"

if ((problems > 0)); then
  echo "$problems problem(s) found, see above" >&2
  exit 1
fi
