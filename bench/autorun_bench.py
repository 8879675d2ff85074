#!/usr/bin/env python3
"""Times the whole automatic run of the real program on random numbers against the I/O floor (read
the input, write as many bytes as the result, fsync), a careful single-threaded C++ converter and a
Python one-liner, alternating, and reports medians of wall time, CPU time (user and system), page
faults and peak memory (maximum resident set size), with the ratios taken within the same runs.
Tallow's wall times are less the 100 ms pause its run makes on purpose. With --against, another
build's program runs in the same loop; with --fresh, each of Tallow's runs starts without the
previous result in place; with --busy, a second process keeps one core busy throughout.

Usage: bench/autorun_bench.py [--count N] [--runs R] [--encoding utf16|utf8] [--no-python]
                              [--build BUILD_DIR] [--against PROGRAM] [--fresh] [--busy]
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
    """Wall time, peak memory (MiB), CPU time (user + system) and page faults of one run.

    These come from GNU time, which waits for the child alone: a child forked from this script
    would count the script's own resident memory in its peak, since it carries over fork and exec.
    """
    with tempfile.NamedTemporaryFile("r") as usage:
        start = time.perf_counter()
        status = subprocess.call(["/usr/bin/time", "-q", "-f", "%M %U %S %R %F", "-o", usage.name]
                                 + argv, env=env, stdout=subprocess.DEVNULL,
                                 stderr=subprocess.DEVNULL)
        elapsed = time.perf_counter() - start
        if status != 0:
            raise SystemExit(f"{argv[0]} failed with status {status}")
        peak, user, system, minor, major = usage.read().split()[-5:]
        return Run(elapsed, int(peak) / 1024.0, float(user) + float(system),
                   int(minor) + int(major))


class Run:
    def __init__(self, wall, mib, cpu, faults):
        self.wall, self.mib, self.cpu, self.faults = wall, mib, cpu, faults

    def less_pause(self):
        return Run(self.wall - PAUSE, self.mib, self.cpu, self.faults)

    def __str__(self):
        return f"{self.wall:.2f} s ({self.cpu:.2f} s CPU, {self.faults} faults) {self.mib:.0f} MiB"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--count", type=int, default=10_000_000)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--encoding", choices=("utf16", "utf8"), default="utf16")
    parser.add_argument("--no-python", action="store_true")
    parser.add_argument("--build", default="build")
    parser.add_argument("--against", help="another build's program, run alternately")
    parser.add_argument("--fresh", action="store_true",
                        help="remove the previous result before each of Tallow's runs")
    parser.add_argument("--busy", action="store_true",
                        help="keep one core busy with a second process throughout")
    args = parser.parse_args()
    python_encoding = "utf-16" if args.encoding == "utf16" else "utf-8"

    work = tempfile.mkdtemp(prefix="tallow-autorun-bench-")
    spinner = subprocess.Popen(["sh", "-c", "while :; do :; done"]) if args.busy else None
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
        def place_input():
            shutil.copyfile(source, os.path.join(product, "AutoFile", "Radix10Kan.tbin"))
            if args.fresh:
                shutil.rmtree(os.path.join(product, "Result"), ignore_errors=True)
            # The copy's own write-back must not fall into the timed run.
            os.sync()

        for run in range(args.runs):
            if args.against:
                place_input()
                figures["against"].append(timed([args.against], env).less_pause())
            place_input()
            figures["tallow"].append(timed([tallow], env).less_pause())
            result_bytes = os.path.getsize(os.path.join(product, "Result", "Radix2Result.tbin"))
            figures["floor"].append(
                timed([reference, "floor", source, outputs["floor"], str(result_bytes)]))
            figures["careful"].append(timed([reference, "careful", source, outputs["careful"]]))
            if not args.no_python:
                figures["python"].append(timed(
                    ["python3", "-c", PYTHON_ONE_LINER, source, outputs["python"], python_encoding]))
            print(f"run {run + 1}: " + ", ".join(
                f"{name} {times[-1]}" for name, times in figures.items()))

        result = os.path.join(product, "Result", "Radix2Result.tbin")
        same = all(files_equal(result, path) for name, path in outputs.items()
                   if name not in ("floor", "against"))
        print(f"results identical: {same}")
        for name, runs in figures.items():
            print(f"median {name}: " + str(Run(*(statistics.median(getattr(r, field) for r in runs)
                                                  for field in ("wall", "mib", "cpu", "faults")))))
        for field in ("wall", "cpu"):
            ratios = [f"tallow/{other} {statistics.median(getattr(a, field) / getattr(b, field) for a, b in zip(figures['tallow'], figures[other])):.2f}"
                      for other in others]
            print(f"per-run {field} ratios, median: " + ", ".join(ratios))
    finally:
        if spinner:
            spinner.kill()
        shutil.rmtree(work)


if __name__ == "__main__":
    main()
