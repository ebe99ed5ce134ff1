#!/bin/sh
# Start to first frame of the desktop program (offscreen) against the command line's render of
# the same file, and the median time of forced repaints of the plot window.
# usage: bench/run_window_bench.sh FILE...    (BUILD=dir, ROUNDS=N repaints, SIZE=WxH)
set -eu
BUILD=${BUILD:-build}
ROUNDS=${ROUNDS:-9}
SIZE=${SIZE:-1600x1200}
W=${SIZE%x*}
H=${SIZE#*x}
now() { date +%s.%N; }
for file in "$@"; do
  out=$(mktemp -d)
  t0=$(now)
  "$BUILD/sondrix-cli" render "$file" -o "$out/plot.png" --size "$SIZE" >"$out/cli.log" 2>&1 || echo "cli render failed: $(tail -1 "$out/cli.log")"
  t1=$(now)
  # The window file places the plot window at the size asked for.
  # The settings folder is $APPDATA/Sondrix; budgets large enough for the bench files.
  export APPDATA="$out"
  mkdir -p "$out/Sondrix"
  printf '2008-08-08\n100000\t20000000\n0\t0\t%s\t%s\n0\t0\t%s\t%s\n-1\t-1\t-1\t-1\n' \
    $((W + 40)) $((H + 120)) "$W" "$H" >"$out/Sondrix/SondrixWindow.ini"
  t2=$(now)
  repaint=$(QT_QPA_PLATFORM=offscreen SONDRIX_BENCH_FIRST_FRAME=$ROUNDS timeout 300 \
    "$BUILD/sondrix" "$file" 2>&1 | grep '^repaint' || echo "repaint n/a")
  t3=$(now)
  echo "$file: cli render $(awk "BEGIN{print $t1 - $t0}") s; window start+first frame+$ROUNDS repaints $(awk "BEGIN{print $t3 - $t2}") s; $repaint"
  rm -rf "$out"
done
