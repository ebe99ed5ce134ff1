"""The plot benchmark's matplotlib contender: the parameter columns of a generated data file as
strips side by side, depth running down, drawn with lines (and markers with --markers) into a PNG.

usage: python3 plot_matplotlib.py DATA OUT.png WIDTH HEIGHT SKIPLINES [--markers]
SKIPLINES is the number of lines above the first data row (the header line included).
"""
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402


def main():
    path, out, width, height, skip = sys.argv[1:6]
    markers = "--markers" in sys.argv[6:]
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
    fig.savefig(out, dpi=dpi)


if __name__ == "__main__":
    main()
