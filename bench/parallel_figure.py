#!/usr/bin/python3
"""The parallel figure of bench/run.sh: `upgrade --all --verify --parallel` over eight simulated
printers against one printer alone, and what the same eight cost one after another.

    parallel_figure.py CLI [--repetitions N] [--rate BYTES_PER_S] [--flash SECONDS] [--printers N]

CLI is the console program carrying the full-size packages (build/bench/bench/fwup_bench_cli).
Every printer takes its job at the same line rate, then leaves the bus for the flash time and
comes back on the package's version, which --verify waits for. The parallel run and the
one-printer run go in pairs, in alternating order; the figure is the median of the pairs' time
ratios. The sequential run goes once: it costs eight times the rest.

Memory: the children of the parallel run are read from /proc while it runs (their VmHWM, which
never comes down, so the last reading is within one poll of the peak), and the run's own
ru_maxrss from wait4 bounds all of them exactly (Linux gives a waited-for process's peak
including every descendant it reaped). Both are set against the peak of `check` on the same
printer: the same start-up, discovery and queries as an upgrade run, without the package.
"""

import argparse
import json
import os
import statistics
import subprocess
import sys
import tempfile
import threading
import time

PACKAGE_VERSION = "V2.10.9"
TARGET_RATIO = 1.25
TARGET_GROWTH_MIB = 32


def scenario(folder, name, count, rate, flash):
    printers = [{
        "instanceId": "USB\\VID_5A7C&PID_B101\\SERB%03d" % (i + 1),
        "portNumber": i + 1,
        "version": "V2.10.8",
        "faults": {"linkBytesPerSecond": rate},
        "afterFirmware": {"awaySeconds": flash, "version": PACKAGE_VERSION},
    } for i in range(count)]
    path = os.path.join(folder, name + ".json")
    with open(path, "w", encoding="utf-8") as f:
        json.dump({"description": "bench/parallel_figure.py: %d printer(s) at %d B/s, %d s flash"
                   % (count, rate, flash), "printers": printers}, f)
    return path


def peak_kib(pid):
    try:
        with open("/proc/%d/status" % pid, encoding="ascii") as f:
            for line in f:
                if line.startswith("VmHWM:"):
                    return int(line.split()[1])
    except (OSError, ValueError):
        pass
    return None


def children(pid):
    try:
        with open("/proc/%d/task/%d/children" % (pid, pid), encoding="ascii") as f:
            return [int(c) for c in f.read().split()]
    except OSError:
        return []


def run(cli, args, scenario_path, work):
    """One run: (seconds, exit code, ru_maxrss KiB, {child pid: last VmHWM KiB}, last line)."""
    env = dict(os.environ, VIRUZU_FWUP_EMULATE=scenario_path,
               VIRUZU_FWUP_LOCK_DIR=tempfile.mkdtemp(dir=work),
               VIRUZU_FWUP_HISTORY_DIR=tempfile.mkdtemp(dir=work))
    out = tempfile.NamedTemporaryFile(dir=work, delete=False)
    seen = {}
    start = time.monotonic()
    process = subprocess.Popen([cli] + args + ["--json"], stdin=subprocess.DEVNULL, stdout=out,
                               stderr=subprocess.STDOUT, env=env)
    done = threading.Event()

    def watch():
        while not done.is_set():
            for child in children(process.pid):
                value = peak_kib(child)
                if value is not None:
                    seen[child] = max(seen.get(child, 0), value)
            done.wait(0.02)

    watcher = threading.Thread(target=watch)
    watcher.start()
    _, status, usage = os.wait4(process.pid, 0)
    seconds = time.monotonic() - start
    done.set()
    watcher.join()
    process.returncode = os.waitstatus_to_exitcode(status)
    out.close()
    with open(out.name, encoding="utf-8", errors="replace") as f:
        lines = f.read().splitlines()
    return seconds, process.returncode, usage.ru_maxrss, seen, lines[-1] if lines else ""


def timed(cli, args, path, work, count):
    seconds, code, maxrss, seen, last = run(cli, args, path, work)
    # The summary names each printer's result: every one must have been upgraded and verified.
    want = '"result": "summary", "exitCode": 0' if "--all" in args else '"exitCode": 0'
    if code != 0 or want not in last or last.count('"result": "succeeded"') != count:
        sys.exit("parallel_figure: %s ended %d: %s" % (" ".join(args), code, last[:300]))
    return seconds, maxrss, seen


def figure(name, what, value, unit, target, met):
    print("figure  %-9s %-52s %10.3f %-4s target %-10s %s"
          % (name, what, value, unit, target, met), flush=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("cli")
    parser.add_argument("--repetitions", type=int, default=3)
    parser.add_argument("--rate", type=int, default=40_000_000)
    parser.add_argument("--flash", type=int, default=2)
    parser.add_argument("--printers", type=int, default=8)
    options = parser.parse_args()

    with tempfile.TemporaryDirectory(prefix="fwup-parallel-") as work:
        count = options.printers
        many = scenario(work, "many", count, options.rate, options.flash)
        one = scenario(work, "one", 1, options.rate, options.flash)
        upgrade = ["upgrade", "--all", "--verify"]
        idle_kib = timed(options.cli, ["check"], one, work, 1)[1]

        ratios, parallel_s, one_s, child_peaks, bound_kib = [], [], [], [], 0
        for i in range(options.repetitions):
            sides = [("parallel", many), ("one", one)]
            results = {}
            for side, path in sides if i % 2 == 0 else reversed(sides):
                args = upgrade + (["--parallel"] if side == "parallel" else [])
                results[side] = timed(options.cli, args, path, work,
                                      count if side == "parallel" else 1)
            (p_s, p_rss, p_seen), (o_s, _, _) = results["parallel"], results["one"]
            if len(p_seen) != count:
                sys.exit("parallel_figure: saw %d children, not %d" % (len(p_seen), count))
            ratios.append(p_s / o_s)
            parallel_s.append(p_s)
            one_s.append(o_s)
            child_peaks += p_seen.values()
            bound_kib = max(bound_kib, p_rss)
            print("pair %d: parallel %.2f s, one printer %.2f s, ratio %.3f; children's peaks "
                  "%d to %d KiB" % (i + 1, p_s, o_s, p_s / o_s, min(p_seen.values()),
                                    max(p_seen.values())), flush=True)

        sequential_s = timed(options.cli, upgrade, many, work, count)[0]
        one_median = statistics.median(one_s)
        print("parallel: %d printers, %d B/s each, %d s flash, medians of %d pairs: parallel "
              "%.2f s, one printer %.2f s; sequential %.2f s (once); idle check %d KiB, children "
              "%d to %d KiB (polled), at most %d KiB (wait4)"
              % (count, options.rate, options.flash, len(ratios), statistics.median(parallel_s),
                 one_median, sequential_s, idle_kib, min(child_peaks), max(child_peaks),
                 bound_kib))
        ratio = statistics.median(ratios)
        figure("parallel", "%d printers --parallel / 1 printer, upgrade --verify" % count,
               ratio, "x", "<= %.2f" % TARGET_RATIO, "met" if ratio <= TARGET_RATIO else "MISSED")
        figure("parallel", "%d printers one after another / 1 printer (record)" % count,
               sequential_s / one_median, "x", "(none)", "-")
        # The two readings of the children's peak agree to within the kernel's counter slack.
        growth = (max(bound_kib, max(child_peaks)) - idle_kib) / 1024
        figure("parallel", "peak resident of a child, over an idle check's", growth, "MiB",
               "<= %d MiB" % TARGET_GROWTH_MIB, "met" if growth <= TARGET_GROWTH_MIB else "MISSED")


if __name__ == "__main__":
    main()
