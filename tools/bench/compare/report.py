#!/usr/bin/python3
"""Writes the comparison table (Markdown) and its plot from compare.sh's measurements.

report.py RESULTS.tsv OUT.md OUT.png LOAD_BEFORE LOAD_AFTER
  RESULTS.tsv: threads ("1" or "all"), case, who ("Ravinel" for ours), best ms.
"""
import datetime
import os
import subprocess
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402

THUMBS = "thumbnails of 200 JPEG 1600x1200"


def read_results(path):
    figures = {}  # (threads, case, who) -> ms
    with open(path) as f:
        for line in f:
            threads, case, who, ms = line.rstrip("\n").split("\t")
            if ms:
                figures[(threads, case, who)] = float(ms)
    return figures


def comparisons(figures):
    """(case, ours label, our case key, peer label, peer case key) in table order."""
    cases = []
    for threads, case, who in figures:
        if case not in cases:
            cases.append(case)
    rows = []
    for case in cases:
        if case.startswith((THUMBS, "load:", "memcpy", "floor:")):
            continue
        for who in peers_of(figures, case):
            rows.append((case, "Ravinel", case, who, case))
    for quality in ("high quality", "low quality"):
        ours = f"{THUMBS}, {quality}"
        for who in peers_of(figures, THUMBS):
            rows.append((ours, "Ravinel", ours, who, THUMBS))
    # The floors: what no program can beat.
    copy = next((c for c in cases if c.startswith("memcpy")), None)
    reduce_case = "AreaReduce 4000x3000 -> 1274x956"
    if copy is not None:
        rows.append((f"floor: {reduce_case} / memcpy", "Ravinel", reduce_case,
                     f"Ravinel {copy}", copy))
    rows.append((f"floor: {reduce_case} / copy", "Ravinel", reduce_case,
                 "numpy copyto of 4000x3000x3 bytes", "floor: copy 4000x3000x3 bytes"))
    rows.append(("floor: load of the JPEG 4000x3000 / decode", "Ravinel load (読込処理)",
                 "load: JPEG 4000x3000", "tjbench decode, full size",
                 "load: JPEG 4000x3000"))
    return rows


def peers_of(figures, case):
    found = []
    for threads, c, who in figures:
        if c == case and who != "Ravinel" and who not in found:
            found.append(who)
    return found


def figure_of(figures, threads, case, who):
    # A peer label may carry "Ravinel memcpy ..." for our own floor case.
    if who.startswith("Ravinel "):
        who = "Ravinel"
    elif who.startswith("numpy copyto"):
        who = "numpy copyto"
    elif who.startswith("tjbench"):
        who = "tjbench decode"
    return figures.get((threads, case, who))


def version(command):
    try:
        return subprocess.run(command, shell=True, capture_output=True, text=True,
                              timeout=30).stdout.strip()
    except (OSError, subprocess.SubprocessError):
        return "?"


def machine_lines(load_before, load_after):
    import cv2
    import numpy
    import PIL

    model = version("lscpu | sed -n 's/^Model name: *//p'")
    magick = version("convert -version | sed -n 1p | cut -d' ' -f3")
    return [
        f"- Date: {datetime.datetime.utcnow():%Y-%m-%d %H:%M} UTC",
        f"- Processor: {model}, {os.cpu_count()} cores (`nproc`: {version('nproc')}), "
        f"{version('grep -o -w avx2 /proc/cpuinfo | head -1') or 'no AVX2'}",
        f"- Load average (1, 5, 15 min) before: {load_before}; after: {load_after}",
        f"- Ravinel: {version('git rev-parse --short HEAD')} "
        f"(`{version('git log -1 --format=%s')}`), g++ {version('g++ -dumpfullversion')} "
        "Release",
        f"- OpenCV {cv2.__version__} (Python), Pillow {PIL.__version__}, "
        f"numpy {numpy.__version__}, Python {sys.version.split()[0]}",
        f"- libvips {version('pkg-config --modversion vips')}, "
        f"ImageMagick {magick}, "
        f"libjpeg-turbo {version(dpkg_version('libjpeg62-turbo'))}, "
        f"Qt {version(dpkg_version('libqt6core6'))}, "
        f"{version('hyperfine --version')}",
    ]


def dpkg_version(package):
    return f"dpkg-query -W -f='${{Version}}' {package}"


def ratio_text(ours, peer):
    if ours is None or peer is None or peer <= 0:
        return "", None
    ratio = ours / peer
    return f"{ratio:.2f}", ratio


def ms_text(value):
    if value is None:
        return "n/a"
    return f"{value:.1f}" if value >= 10 else f"{value:.2f}"


def write_report(figures, rows, out_md, load_before, load_after):
    lines = [
        "# Compared with other libraries",
        "",
        "Written by `tools/bench/compare.sh` (see \"Compared with other libraries\" in",
        "`docs/benchmarks.md` for what is measured and how). Ratio = our time / their",
        "time: below 1 we are faster. Best times in milliseconds.",
        "",
        "Machine:",
        "",
        *machine_lines(load_before, load_after),
        "",
        "| Case | Ours | Theirs | Ours ms, 1 thread | Theirs ms, 1 thread | Ratio, 1 thread "
        "| Ours ms, all cores | Theirs ms, all cores | Ratio, all cores |",
        "|---|---|---|---:|---:|---:|---:|---:|---:|",
    ]
    plotted = []
    for case, ours_label, ours_case, peer, peer_case in rows:
        cells = [case, ours_label, peer]
        ratios = []
        for threads in ("1", "all"):
            ours = figure_of(figures, threads, ours_case, "Ravinel")
            theirs = figure_of(figures, threads, peer_case, peer)
            text, ratio = ratio_text(ours, theirs)
            cells += [ms_text(ours), ms_text(theirs), f"**{text}**" if text else "n/a"]
            ratios.append(ratio)
        lines.append("| " + " | ".join(cells) + " |")
        plotted.append((f"{case}\nvs {peer}", ratios))
    lines.append("")
    with open(out_md, "w") as f:
        f.write("\n".join(lines))
    return plotted


def write_plot(plotted, out_png):
    labels = [label for label, _ in plotted]
    height = 0.38
    fig, ax = plt.subplots(figsize=(11, 0.55 * len(labels) + 1.5))
    for k, (name, colour) in enumerate((("1 thread", "tab:blue"), ("all cores", "tab:orange"))):
        values = [ratios[k] if ratios[k] is not None else float("nan")
                  for _, ratios in plotted]
        positions = [i + (k - 0.5) * height for i in range(len(labels))]
        ax.barh(positions, values, height, label=name, color=colour)
    ax.axvline(1.0, color="black", linewidth=1)
    ax.set_xscale("log")
    ax.set_yticks(range(len(labels)))
    ax.set_yticklabels(labels, fontsize=7)
    ax.invert_yaxis()
    ax.set_xlabel("our time / their time (log scale; left of 1: we are faster)")
    ax.set_title("Ravinel against other libraries, same pictures, same machine")
    ax.legend(loc="lower right")
    ax.grid(axis="x", which="both", alpha=0.3)
    fig.tight_layout()
    fig.savefig(out_png, dpi=110)


def main():
    results, out_md, out_png, load_before, load_after = sys.argv[1:6]
    figures = read_results(results)
    rows = comparisons(figures)
    plotted = write_report(figures, rows, out_md, load_before, load_after)
    write_plot(plotted, out_png)


if __name__ == "__main__":
    main()
