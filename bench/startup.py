#!/usr/bin/env python3
"""Start-up of Boxwright against a bare Qt window: from exec to the end of the first paint
(the first flush of a window's backing store, which bench/first_paint_probe.cpp, preloaded into
both, reports), the processor time the process took until then (all its threads; steadier than
the clock on a busy machine), and the resident memory then.

  bench/startup.py [--runs N] [--platform offscreen|xcb] [BUILD_DIR]

Runs the two programs in turn, N times each, in a fresh folder each time (no settings.ini),
and prints the medians and their ratios. Under xcb, DISPLAY must name an X server.
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


def measure(program, platform, probe):
    env = dict(os.environ, QT_QPA_PLATFORM=platform, LD_PRELOAD=probe)
    with tempfile.TemporaryDirectory() as folder:
        started = time.clock_gettime(time.CLOCK_MONOTONIC)
        process = subprocess.Popen([program], cwd=folder, env=env, stdin=subprocess.DEVNULL,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        try:
            for line in process.stderr:
                match = FLUSHED.match(line)
                if match:
                    with open(f"/proc/{process.pid}/status") as status:
                        rss = int(re.search(r"VmRSS:\s+(\d+)", status.read()).group(1))
                    return float(match.group(1)) - started, cpu_seconds(process.pid), rss
            raise RuntimeError(f"{program} ended before its first paint")
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
    programs = {"boxwright": os.path.join(build, "app/boxwright"),
                "bare Qt window": os.path.join(build, "bench/bare_qt_window")}
    probe = os.path.join(build, "bench/libfirst_paint_probe.so")
    results = {name: [] for name in programs}
    for _ in range(args.runs):
        for name, program in programs.items():
            results[name].append(measure(program, args.platform, probe))
    medians = {}
    for name, runs in results.items():
        medians[name] = [statistics.median(run[i] for run in runs) for i in range(3)]
        clock, cpu, rss = medians[name]
        print(f"{name:16} first paint {clock * 1000:7.1f} ms   processor {cpu * 1000:7.1f} ms   "
              f"resident {rss / 1024:6.1f} MiB")
    app, bare = medians["boxwright"], medians["bare Qt window"]
    print(f"{'ratio':16} first paint {app[0] / bare[0]:.2f}x   processor {app[1] / bare[1]:.2f}x   "
          f"memory {app[2] / bare[2]:.2f}x")


if __name__ == "__main__":
    sys.exit(main())
