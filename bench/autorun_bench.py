#!/usr/bin/env python3
"""Times the whole automatic run of the real program on random numbers against the I/O floor (read
the input, write as many bytes as the result, fsync), a careful single-threaded C++ converter and a
Python one-liner, alternating, and reports medians of wall time and peak memory (maximum resident
set size), with the ratios taken within the same runs. Tallow's figures are less the 100 ms pause
its run makes on purpose.

Usage: bench/autorun_bench.py [--count N] [--runs R] [--encoding utf16|utf8] [--no-python]
                              [--build BUILD_DIR]
utf16 is UTF-16LE with a byte-order mark; utf8 has no mark.
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
    "import sys; numbers = open(sys.argv[1], encoding=sys.argv[3]).read().split(); "
    "open(sys.argv[2], 'w', newline='').write(''.join(format(int(n), 'b') + '\\r\\n' for n in numbers))"
)


PAUSE = 0.1


def make_input(path, count, encoding):
    rng = random.Random(42)
    with open(path, "wb") as f:
        if encoding == "utf16":
            f.write(b"\xff\xfe")
        chunk = 1_000_000
        for start in range(0, count, chunk):
            text = "".join(f"{rng.randint(0, 2147483647)}\r\n" for _ in range(min(chunk, count - start)))
            f.write(text.encode("utf-16-le" if encoding == "utf16" else "ascii"))


def files_equal(a, b):
    with open(a, "rb") as fa, open(b, "rb") as fb:
        while True:
            x, y = fa.read(1 << 20), fb.read(1 << 20)
            if x != y:
                return False
            if not x:
                return True


def timed(argv, env=None):
    # The peak is taken by GNU time: a child forked from this script would count the script's
    # own resident memory in its peak, since it carries over fork and exec.
    with tempfile.NamedTemporaryFile("r") as peak:
        start = time.perf_counter()
        status = subprocess.call(["/usr/bin/time", "-q", "-f", "%M", "-o", peak.name] + argv, env=env,
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        elapsed = time.perf_counter() - start
        if status != 0:
            raise SystemExit(f"{argv[0]} failed with status {status}")
        return elapsed, int(peak.read().split()[-1]) / 1024.0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--count", type=int, default=10_000_000)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--encoding", choices=("utf16", "utf8"), default="utf16")
    parser.add_argument("--no-python", action="store_true")
    parser.add_argument("--build", default="build")
    parser.add_argument("--against", help="another build's program, run alternately")
    args = parser.parse_args()
    python_encoding = "utf-16" if args.encoding == "utf16" else "utf-8"

    work = tempfile.mkdtemp(prefix="tallow-autorun-bench-")
    try:
        source = os.path.join(work, "numbers.tbin")
        make_input(source, args.count, args.encoding)
        print(f"{args.count} numbers, {args.encoding}, {os.path.getsize(source) / 1e6:.0f} MB")
        home = os.path.join(work, "home")
        product = os.path.join(home, "Documents", "Merrow", "TallowKit")
        os.makedirs(os.path.join(product, "AutoFile"))
        runtime = os.path.join(work, "runtime")
        os.makedirs(runtime, mode=0o700)
        env = {"HOME": home, "XDG_RUNTIME_DIR": runtime, "PATH": "/usr/bin:/bin"}
        tallow = os.path.join(args.build, "app", "Tallow")
        reference = os.path.join(args.build, "bench", "bench_reference")
        others = ("floor", "careful") if args.no_python else ("floor", "careful", "python")
        if args.against:
            others = ("against",) + others
        outputs = {name: os.path.join(work, name + ".out") for name in others}

        figures = {name: [] for name in ("tallow",) + others}
        for run in range(args.runs):
            shutil.copyfile(source, os.path.join(product, "AutoFile", "Radix10Kan.tbin"))
            # The copy's own write-back must not fall into the timed run.
            os.sync()
            if args.against:
                seconds, mib = timed([args.against], env)
                figures["against"].append((seconds - PAUSE, mib))
                shutil.copyfile(source, os.path.join(product, "AutoFile", "Radix10Kan.tbin"))
                os.sync()
            seconds, mib = timed([tallow], env)
            figures["tallow"].append((seconds - PAUSE, mib))
            result_bytes = os.path.getsize(os.path.join(product, "Result", "Radix2Result.tbin"))
            figures["floor"].append(
                timed([reference, "floor", source, outputs["floor"], str(result_bytes)]))
            figures["careful"].append(timed([reference, "careful", source, outputs["careful"]]))
            if not args.no_python:
                figures["python"].append(timed(
                    ["python3", "-c", PYTHON_ONE_LINER, source, outputs["python"], python_encoding]))
            print(f"run {run + 1}: " + ", ".join(
                f"{name} {times[-1][0]:.2f} s {times[-1][1]:.0f} MiB" for name, times in figures.items()))

        result = os.path.join(product, "Result", "Radix2Result.tbin")
        same = all(files_equal(result, path) for name, path in outputs.items()
                   if name not in ("floor", "against"))
        print(f"results identical: {same}")
        median = {name: (statistics.median(t for t, _ in v), statistics.median(m for _, m in v))
                  for name, v in figures.items()}
        for name, (seconds, mib) in median.items():
            print(f"median {name}: {seconds:.2f} s, {mib:.0f} MiB")
        ratios = [f"{name}/{other} time {statistics.median(a[0] / b[0] for a, b in zip(figures['tallow'], figures[other])):.2f}"
                  for name, other in (("tallow", o) for o in others)]
        print("per-run ratios, median: " + ", ".join(ratios))
    finally:
        shutil.rmtree(work)


if __name__ == "__main__":
    main()
