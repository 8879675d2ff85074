#!/usr/bin/env python3
"""Times the whole automatic run of the real program on 10,000,000 random numbers against a
Python one-liner and a plain one-pass C++ converter, alternating, and reports medians of wall
time and peak memory (maximum resident set size).

Usage: bench/autorun_bench.py [--count N] [--runs R] [--build BUILD_DIR]
"""
import argparse
import os
import random
import shutil
import statistics
import subprocess
import tempfile
import time

PYTHON_ONE_LINER = (
    "import sys; numbers = open(sys.argv[1], encoding='utf-16').read().split(); "
    "open(sys.argv[2], 'w', newline='').write(''.join(format(int(n), 'b') + '\\r\\n' for n in numbers))"
)


def make_input(path, count):
    rng = random.Random(42)
    text = "".join(f"{rng.randint(0, 2147483647)}\r\n" for _ in range(count))
    with open(path, "wb") as f:
        f.write(b"\xff\xfe" + text.encode("utf-16-le"))


def timed(argv, env=None):
    start = time.perf_counter()
    process = subprocess.Popen(argv, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(process.pid, 0)
    elapsed = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        raise SystemExit(f"{argv[0]} failed with {status}")
    return elapsed, usage.ru_maxrss / 1024.0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--count", type=int, default=10_000_000)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--build", default="build")
    args = parser.parse_args()

    work = tempfile.mkdtemp(prefix="tallow-autorun-bench-")
    try:
        source = os.path.join(work, "numbers.tbin")
        make_input(source, args.count)
        home = os.path.join(work, "home")
        product = os.path.join(home, "Documents", "Merrow", "TallowKit")
        os.makedirs(os.path.join(product, "AutoFile"))
        runtime = os.path.join(work, "runtime")
        os.makedirs(runtime, mode=0o700)
        env = {"HOME": home, "XDG_RUNTIME_DIR": runtime, "PATH": "/usr/bin:/bin"}
        tallow = os.path.join(args.build, "app", "Tallow")
        reference = os.path.join(args.build, "bench", "bench_reference")
        outputs = {name: os.path.join(work, name + ".out") for name in ("python", "reference")}

        figures = {"tallow": [], "reference": [], "python": []}
        for run in range(args.runs):
            shutil.copyfile(source, os.path.join(product, "AutoFile", "Radix10Kan.tbin"))
            figures["tallow"].append(timed([tallow], env))
            figures["reference"].append(timed([reference, source, outputs["reference"]]))
            figures["python"].append(timed(["python3", "-c", PYTHON_ONE_LINER, source, outputs["python"]]))
            print(f"run {run + 1}: " + ", ".join(
                f"{name} {times[-1][0]:.2f} s {times[-1][1]:.0f} MiB" for name, times in figures.items()))

        result = os.path.join(product, "Result", "Radix2Result.tbin")
        same = all(open(result, "rb").read() == open(path, "rb").read() for path in outputs.values())
        print(f"results identical: {same}")
        median = {name: (statistics.median(t for t, _ in v), statistics.median(m for _, m in v))
                  for name, v in figures.items()}
        for name, (seconds, mib) in median.items():
            print(f"median {name}: {seconds:.2f} s, {mib:.0f} MiB")
        t, r, p = median["tallow"], median["reference"], median["python"]
        print(f"time: tallow/reference {t[0] / r[0]:.2f}, tallow/python {t[0] / p[0]:.2f}; "
              f"memory: tallow/python {t[1] / p[1]:.2f}")
    finally:
        shutil.rmtree(work)


if __name__ == "__main__":
    main()
