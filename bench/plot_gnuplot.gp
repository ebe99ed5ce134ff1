# The plot benchmark's gnuplot contender: the parameter columns of a generated data file as strips
# side by side, depth running down, drawn with lines (and points when markers=1) into a PNG.
# Called by bench/run_plot_bench.sh as
#   gnuplot -e "file='DATA'; out='OUT.png'; ncols=N; skiplines=S; markers=0|1; width=W; height=H" \
#           bench/plot_gnuplot.gp
# ncols counts the depth column; skiplines is the number of lines above the first data row.
set terminal pngcairo size width, height
set output out
set datafile separator "\t"
set datafile commentschars ""  # "#" marks a quality code in these files, not a comment
unset key
set yrange [*:*] reverse
set tics font ",7"
strips = ncols - 1
set multiplot layout 1, strips
do for [c = 2:ncols] {
  if (markers) {
    plot file skip skiplines using c:1 with linespoints pointtype 6 pointsize 0.5 linewidth 1
  } else {
    plot file skip skiplines using c:1 with lines linewidth 1
  }
}
unset multiplot
