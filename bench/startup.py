#!/usr/bin/env python3
"""Start-up of Boxwright against a bare Qt window: from exec to the end of the first paint
(the first flush of a window's backing store, which bench/first_paint_probe.cpp, preloaded into
both, reports), the processor time the process took until then (all its threads; steadier than
the clock on a busy machine), and the resident memory then.

  bench/startup.py [--runs N] [--platform offscreen|xcb] [BUILD_DIR]

Runs Boxwright, the bare window and two reference windows in turn, N times each, in a fresh
folder each time (no settings.ini), and prints the medians and each program's ratio to the bare
window. The reference windows are the bare window with one label (the cost of drawing any text)
and the main window's controls in plain Qt (the cost of the controls themselves). Under xcb,
DISPLAY must name an X server.
"""
import argparse
import os
import re
import statistics
import subprocess
import sys
import tempfile
import time

FLUSHED = re.compile(r"^first paint flushed at (\d+\.\d+)$")


def cpu_seconds(pid):
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        with open(f"/proc/{pid}/task/{task}/schedstat") as schedstat:
            total += int(schedstat.read().split()[0])
    return total / 1e9


def measure(command, platform, probe):
    env = dict(os.environ, QT_QPA_PLATFORM=platform, LD_PRELOAD=probe)
    with tempfile.TemporaryDirectory() as folder:
        started = time.clock_gettime(time.CLOCK_MONOTONIC)
        process = subprocess.Popen(command, cwd=folder, env=env, stdin=subprocess.DEVNULL,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        try:
            for line in process.stderr:
                match = FLUSHED.match(line)
                if match:
                    with open(f"/proc/{process.pid}/status") as status:
                        rss = int(re.search(r"VmRSS:\s+(\d+)", status.read()).group(1))
                    return float(match.group(1)) - started, cpu_seconds(process.pid), rss
            raise RuntimeError(f"{command[0]} ended before its first paint")
        finally:
            process.kill()
            process.wait()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=15)
    parser.add_argument("--platform", default="offscreen")
    parser.add_argument("build", nargs="?", default="build/release")
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    bare = os.path.join(build, "bench/bare_qt_window")
    programs = {"boxwright": [os.path.join(build, "app/boxwright")],
                "bare Qt window": [bare],
                "one label": [bare, "--label"],
                "plain Qt replica": [os.path.join(build, "bench/plain_qt_replica")]}
    probe = os.path.join(build, "bench/libfirst_paint_probe.so")
    results = {name: [] for name in programs}
    for _ in range(args.runs):
        for name, command in programs.items():
            results[name].append(measure(command, args.platform, probe))
    medians = {name: [statistics.median(run[i] for run in runs) for i in range(3)]
               for name, runs in results.items()}
    baseline = medians["bare Qt window"]
    for name, (clock, cpu, rss) in medians.items():
        print(f"{name:16} first paint {clock * 1000:6.1f} ms {clock / baseline[0]:5.2f}x   "
              f"processor {cpu * 1000:6.1f} ms {cpu / baseline[1]:5.2f}x   "
              f"resident {rss / 1024:5.1f} MiB {rss / baseline[2]:5.2f}x")


if __name__ == "__main__":
    sys.exit(main())
