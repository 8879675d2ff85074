#!/usr/bin/env python3
"""Times an automatic run of one number, start to exit, as a calling program waits for it: the
median of the runs, and what it costs beyond the run's fixed 100 ms pause. With --against, a
second build of the program runs alternately in the same loop, for a ratio within the same runs.

Usage: bench/one_number_job.py [--runs 7] [--program build/app/Tallow] [--against OTHER_PROGRAM]
"""
import argparse
import os
import statistics
import subprocess
import tempfile
import time


def one_run(program, home):
    kit = os.path.join(home, "Documents", "Merrow", "TallowKit")
    os.makedirs(os.path.join(kit, "AutoFile"), exist_ok=True)
    with open(os.path.join(kit, "AutoFile", "Radix10Kan.tbin"), "wb") as f:
        f.write(b"5\r\n")
    env = {"HOME": home, "PATH": "/usr/bin:/bin", "DISPLAY": os.environ.get("DISPLAY", "")}
    start = time.perf_counter()
    status = subprocess.call([program], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    elapsed = time.perf_counter() - start
    if status != 0:
        raise SystemExit(f"{program} ended with status {status}")
    return elapsed * 1000


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--program", default="build/app/Tallow")
    parser.add_argument("--against")
    args = parser.parse_args()
    programs = [args.program] + ([args.against] if args.against else [])
    times = {program: [] for program in programs}
    with tempfile.TemporaryDirectory(prefix="tallow-one-number-") as home:
        for _ in range(args.runs):
            for program in programs:
                times[program].append(one_run(program, home))
    for program, runs in times.items():
        median = statistics.median(runs)
        print(f"{program}: median {median:.1f} ms, {median - 100:.1f} ms beyond the 100 ms pause "
              f"(runs: {', '.join(f'{t:.0f}' for t in runs)})")
    if args.against:
        ratio = statistics.median(a / b for a, b in zip(times[args.program], times[args.against]))
        print(f"per-run ratio {args.program} / {args.against}: {ratio:.2f}")


if __name__ == "__main__":
    main()
