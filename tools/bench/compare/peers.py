#!/usr/bin/python3
"""Times OpenCV, Pillow and numpy on the benchmark pictures, in this process.

peers.py PICTURES_DIR THREADS
  PICTURES_DIR holds p4000x3000.ppm, p1600x1200.ppm, p800x600.ppm (the pixels
  ravinel-bench resamples) and photo.jpg (the 4000x3000 JPEG the viewer opens).
  THREADS is "1" (OpenCV on one thread) or "all" (OpenCV's default).
Prints one line per measurement: case, tab, library call, tab, best milliseconds.
Each picture is read once; only the call is timed, best of several after a warm-up.
"""
import sys
import time

import cv2
import numpy as np
from PIL import Image


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    # "P6\nW H\n255\n" as ravinel-sample writes it
    magic, size, maxval, pixels = data.split(b"\n", 3)
    width, height = (int(v) for v in size.split())
    assert magic == b"P6" and maxval == b"255"
    return np.frombuffer(pixels, dtype=np.uint8).reshape(height, width, 3).copy()


def best_ms(call, runs):
    call()  # warm-up: caches, page faults of the output
    best = float("inf")
    for _ in range(runs):
        start = time.perf_counter()
        call()
        best = min(best, time.perf_counter() - start)
    return best * 1000


def main():
    folder, threads = sys.argv[1], sys.argv[2]
    if threads == "1":
        cv2.setNumThreads(1)
    results = []

    def add(case, who, call, runs=9):
        results.append((case, who, best_ms(call, runs)))

    for (w, h), (dw, dh) in (((4000, 3000), (1274, 956)), ((1600, 1200), (100, 75))):
        case = f"AreaReduce {w}x{h} -> {dw}x{dh}"
        a = read_ppm(f"{folder}/p{w}x{h}.ppm")
        im = Image.fromarray(a)
        add(case, "OpenCV resize INTER_AREA",
            lambda: cv2.resize(a, (dw, dh), interpolation=cv2.INTER_AREA))
        add(case, "Pillow resize BOX", lambda: im.resize((dw, dh), Image.BOX))
        if w % dw == 0 and h % dh == 0:
            add(case, "Pillow reduce", lambda: im.reduce(w // dw))

    case = "AreaExpand 800x600 -> 1600x1200"
    a = read_ppm(f"{folder}/p800x600.ppm")
    im = Image.fromarray(a)
    add(case, "OpenCV resize INTER_AREA",
        lambda: cv2.resize(a, (1600, 1200), interpolation=cv2.INTER_AREA))
    add(case, "OpenCV resize INTER_LINEAR",
        lambda: cv2.resize(a, (1600, 1200), interpolation=cv2.INTER_LINEAR))
    add(case, "Pillow resize BOX", lambda: im.resize((1600, 1200), Image.BOX))

    # Open to shown: decode the 4000x3000 JPEG from its file and make the 1274x956 picture.
    case = "open JPEG 4000x3000, fit 1274x956"
    jpeg = f"{folder}/photo.jpg"
    add(case, "OpenCV imread + INTER_AREA",
        lambda: cv2.resize(cv2.imread(jpeg), (1274, 956), interpolation=cv2.INTER_AREA), 5)
    add(case, "Pillow open + resize BOX",
        lambda: Image.open(jpeg).resize((1274, 956), Image.BOX), 5)

    # The floor: copying the bytes of the 4000x3000 picture once.
    source = read_ppm(f"{folder}/p4000x3000.ppm")
    dest = np.empty_like(source)
    add("floor: copy 4000x3000x3 bytes", "numpy copyto", lambda: np.copyto(dest, source))

    for case, who, ms in results:
        print(f"{case}\t{who}\t{ms:.3f}")


if __name__ == "__main__":
    main()
