#!/usr/bin/env python3
"""The everyday plot (axes with names and labels, 10 curves of 10^5 points)
from Python, KORVAN's package against matplotlib, to PDF and PNG: the whole
process (start, import, plot, file) and the drawing alone, and the peak
memory of the process. matplotlib is used here only (Debian
python3-matplotlib); run with the package on PYTHONPATH:

    PYTHONPATH=build/python /usr/bin/python3 bench/python_vs_matplotlib.py
"""
import os
import subprocess
import sys
import tempfile
import time

CHILD = r'''
import sys, time
t0 = time.perf_counter()
import numpy as np
lib, fmt, out = sys.argv[1:4]
x = np.linspace(0, 10, 100000, dtype=np.float32)
ys = [np.sin(x * (1 + 0.1 * k)).astype(np.float32) + k * 0.2 for k in range(10)]
if lib == "korvan":
    import korvan
    t1 = time.perf_counter()
    korvan.metafl(fmt)
    korvan.outfil(out)
    korvan.korini()
    korvan.name("x", "X"); korvan.name("y", "Y")
    korvan.graf(0, 10, 0, 2, -1.5, 3.5, -1.5, 0.5)
    for y in ys:
        korvan.curve(x, y)
    korvan.endgrf()
    korvan.korfin()
else:
    import matplotlib
    matplotlib.use("Agg")
    import matplotlib.pyplot as plt
    t1 = time.perf_counter()
    fig, ax = plt.subplots(figsize=(11.69, 8.27))
    ax.set_xlabel("x"); ax.set_ylabel("y")
    for y in ys:
        ax.plot(x, y, linewidth=0.5)
    fig.savefig(out + "." + fmt.lower(), dpi=72)
t2 = time.perf_counter()
import resource
print(t2 - t1, t2 - t0, resource.getrusage(resource.RUSAGE_SELF).ru_maxrss)
'''


def run(lib, fmt, folder):
    out = os.path.join(folder, f"{lib}-{fmt}")
    t0 = time.perf_counter()
    r = subprocess.run([sys.executable, "-c", CHILD, lib, fmt, out], capture_output=True,
                       text=True, check=True)
    whole = time.perf_counter() - t0
    drawing, _, peak = r.stdout.split()
    return whole, float(drawing), int(peak) / 1024


def main():
    with tempfile.TemporaryDirectory() as folder:
        print(f"{'':22} {'process s':>10} {'drawing s':>10} {'peak MB':>8}")
        for fmt in ("PDF", "PNG"):
            for lib in ("korvan", "matplotlib"):
                try:
                    best = min(run(lib, fmt, folder) for _ in range(3))
                except subprocess.CalledProcessError as e:
                    print(f"{lib} {fmt}: failed: {e.stderr.strip().splitlines()[-1]}")
                    continue
                print(f"{lib + ' ' + fmt:22} {best[0]:10.3f} {best[1]:10.3f} {best[2]:8.1f}")


if __name__ == "__main__":
    main()
