#!/usr/bin/env python3
"""Reads the logs of bench_clock.sh (xcapture's screen changes, CPU and resident
memory lines), one per repetition, prints the figures of each clock and of each
start, the ratios of Tavik to the minimal Wine clock and to xclock, and plots the
redraw lateness of the first repetition.

    bench_clock.py PLOT.png RUN1.txt [RUN2.txt ...]
"""

import math
import os
import shutil
import statistics
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from artgen import png  # noqa: E402

FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
SCALE_MS = 250.0
COLORS = {"tavik": (40, 90, 230, 255), "xclock": (220, 60, 40, 255)}


def read(path):
    changes = {"tavik": [], "xclock": []}
    cpu = {}
    rss = {}
    start = end = None
    for line in open(path):
        words = line.split()
        if words[0] == "start":
            start = float(words[1])
        elif words[0] == "end":
            end = float(words[1])
        elif words[0] == "cpu":
            cpu[words[1]] = int(words[2]) / int(words[3])
        elif words[0] == "rss":
            rss[words[1]] = int(words[2]) / 1024
        elif words[0] in changes:
            changes[words[0]].append(float(words[1]))
    return start, end, changes, cpu, rss


def figures(start, end, times):
    first = math.floor(start) + 1
    last = math.floor(end) - 1
    seconds = {}
    for t in times:
        seconds.setdefault(math.floor(t), []).append(t)
    window = range(first, last + 1)
    drawn = sum(1 for s in window if s in seconds)
    twice = sum(1 for s in window if len(seconds.get(s, [])) > 1)
    lateness = [(t - math.floor(t)) * 1000 for s in window for t in seconds.get(s, [])[:1]]
    return {
        "seconds": len(window),
        "drawn": drawn,
        "skipped": len(window) - drawn,
        "twice": twice,
        "median": statistics.median(lateness) if lateness else float("nan"),
        "max": max(lateness) if lateness else float("nan"),
        "points": [(s - first, (t - s) * 1000) for s in window for t in seconds.get(s, [])[:1]],
    }


def plot(results, path, width=600, height=240):
    rows = [[(255, 255, 255, 255)] * width for _ in range(height)]
    left, bottom, top = 40, height - 20, 10
    longest = max(max(r["seconds"] for r in results.values()), 1)
    scale_ms = SCALE_MS

    def put(x, y, color, size=1):
        for dy in range(-size, size + 1):
            for dx in range(-size, size + 1):
                if 0 <= x + dx < width and 0 <= y + dy < height:
                    rows[y + dy][x + dx] = color

    grey = (200, 200, 200, 255)
    for ms in range(0, int(SCALE_MS) + 1, 50):  # a line every 50 ms
        y = bottom - int(ms / scale_ms * (bottom - top))
        for x in range(left, width - 10):
            rows[y][x] = grey if ms else (0, 0, 0, 255)
    for s in range(0, longest + 1, 10):  # a tick every 10 s
        x = left + int(s / longest * (width - 60))
        for y in range(bottom, bottom + 5):
            rows[y][x] = (0, 0, 0, 255)
    for name, result in results.items():
        for s, ms in result["points"]:
            x = left + int(s / longest * (width - 60))
            y = bottom - int(min(ms, scale_ms) / scale_ms * (bottom - top))
            put(x, y, COLORS[name], 2)
    # Legend: a swatch per clock at the top right (blue Tavik, red xclock).
    for i, name in enumerate(results):
        for dy in range(6):
            for dx in range(14):
                rows[top + 4 + i * 10 + dy][width - 170 + dx] = COLORS[name]
    with open(path, "wb") as f:
        f.write(png(width, height, rows, 1))
    label(path, results, width, height, left, bottom, top)


def label(path, results, width, height, left, bottom, top):
    """Writes the axis texts with ImageMagick where it has a font to hand."""
    if not os.path.exists(FONT) or shutil.which("convert") is None:
        return
    texts = [(4, bottom + 4, "0"), (4, top + 4, f"{SCALE_MS:.0f} ms"),
             (left, height - 2, "seconds of the run; a dot per second: how late the redraw came")]
    for i, (name, r) in enumerate(results.items()):
        texts.append((width - 150, top + 11 + i * 10, f"{name} median {r['median']:.0f} ms"))
    command = ["convert", path, "-font", FONT, "-pointsize", "10", "-fill", "black"]
    for x, y, text in texts:
        command += ["-annotate", f"+{x}+{y}", text]
    subprocess.run(command + [path], check=False)


def main(argv):
    if len(argv) < 3:
        sys.stderr.write(__doc__)
        return 2
    runs = [read(path) for path in argv[2:]]
    print(f"{len(runs)} starts, each watched every 20 ms; CPU and memory of a Wine clock "
          "include its prefix's wineserver")
    print(f"{'start':5} {'clock':8} {'seconds':>8} {'drawn':>6} {'skipped':>8} {'twice':>6} "
          f"{'late median ms':>15} {'late max ms':>12} {'CPU s':>7} {'RSS MB':>7}")
    first = None
    for n, (start, end, changes, cpu, rss) in enumerate(runs, 1):
        results = {name: figures(start, end, times) for name, times in changes.items()}
        first = first or results
        for name in ("tavik", "minimal", "xclock"):
            r = results.get(name)
            seen = (f"{r['seconds']:8} {r['drawn']:6} {r['skipped']:8} {r['twice']:6} "
                    f"{r['median']:15.0f} {r['max']:12.0f}") if r else f"{'(not watched)':>58}"
            print(f"{n:5} {name:8} {seen} {cpu.get(name, float('nan')):7.2f} "
                  f"{rss.get(name, float('nan')):7.1f}")

    def median_of(kind, name):
        index = 3 if kind == "cpu" else 4
        return statistics.median(run[index][name] for run in runs)

    print("medians over the starts:")
    for kind, unit in (("cpu", "s"), ("rss", "MB")):
        t, m, x = (median_of(kind, name) for name in ("tavik", "minimal", "xclock"))
        print(f"  {kind.upper():4} Tavik {t:.2f} {unit}, minimal Wine clock {m:.2f} {unit}, "
              f"xclock {x:.2f} {unit}: Tavik/minimal {t / m:.2f}, Tavik/xclock {t / max(x, 1e-9):.1f}")
    lateness = sorted(figures(run[0], run[1], run[2]["tavik"])["median"] for run in runs)
    print("  Tavik's redraw lateness, median of each start (the phase of its 200 ms timer, "
          "fixed for a start): " + ", ".join(f"{ms:.0f}" for ms in lateness) + " ms")
    plot(first, argv[1])
    print(f"plot: {argv[1]}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
