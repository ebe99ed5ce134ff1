"""The plot benchmark's matplotlib contender: the parameter columns of a generated data file as
strips side by side, depth running down, drawn with lines (and markers with --markers) into a PNG.

usage: python3 plot_matplotlib.py DATA OUT.png WIDTH HEIGHT SKIPLINES [--markers] [--redraw N]
SKIPLINES is the number of lines above the first data row (the header line included).
With --redraw N nothing is written: the figure is drawn N times on its canvas and the median
seconds of one draw are printed ("redraw S"), matplotlib's equivalent of a window's repaint.
"""
import statistics
import sys
import time

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402


def main():
    path, out, width, height, skip = sys.argv[1:6]
    options = sys.argv[6:]
    markers = "--markers" in options
    redraws = int(options[options.index("--redraw") + 1]) if "--redraw" in options else 0
    # Empty and flagged cells read as NaN, leaving gaps like gnuplot's missing points; rows that
    # end early are padded to the header's width.
    with open(path, encoding="utf-8", errors="replace") as f:
        lines = f.readlines()[int(skip) - 1:]
    columns = lines[0].count("\t")
    padded = (line.rstrip("\r\n") + "\t" * (columns - line.count("\t")) for line in lines[1:])
    data = np.genfromtxt(padded, delimiter="\t", comments=None)
    if data.ndim == 1:
        data = data.reshape(-1, 1)
    depth = data[:, 0]
    strips = data.shape[1] - 1
    dpi = 100
    fig, axes = plt.subplots(1, strips, figsize=(int(width) / dpi, int(height) / dpi), dpi=dpi,
                             sharey=True, squeeze=False)
    for c in range(strips):
        ax = axes[0][c]
        ax.plot(data[:, c + 1], depth, linewidth=1, marker="o" if markers else None,
                markersize=3, markerfacecolor="none")
        ax.tick_params(labelsize=7)
    axes[0][0].invert_yaxis()
    if redraws > 0:
        times = []
        for _ in range(redraws):
            start = time.perf_counter()
            fig.canvas.draw()
            times.append(time.perf_counter() - start)
        print(f"redraw {statistics.median(times):.4f}")
        return
    fig.savefig(out, dpi=dpi)


if __name__ == "__main__":
    main()
