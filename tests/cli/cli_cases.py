#!/usr/bin/env python3
"""The console program end to end: every exit code with its --json result line, reached by running
the built viruzu-fwup-cli against the simulated printers of scenarios/, and (natively) Ctrl-C and
SIGTERM through real signals before and during the transfer.

    cli_cases.py --program PATH --scenarios DIR [--runner WINE-RUN] [--windows]
"""
import argparse
import json
import os
import signal
import subprocess
import sys
import tempfile
import time
from concurrent.futures import ThreadPoolExecutor

PLAIN_PACKAGE_BYTES = 600059  # the generated test package 3000
LOCKS = tempfile.TemporaryDirectory(prefix="fwup-locks-")  # the cases' lock folders

# name, scenario, arguments, exit code, fields the result line must hold, also under Wine
CASES = [
    ("succeeded", "one-printer-ready", ["upgrade"], 0,
     {"firmware": "older", "package": 3000, "bytesSent": PLAIN_PACKAGE_BYTES, "port": "USB001"},
     True),
    ("succeeded, encrypted package", "encrypted", ["upgrade"], 0, {"package": 3001}, False),
    ("succeeded, --yes on the same version", "same-version", ["upgrade", "--yes"], 0,
     {"firmware": "same", "package": 3000}, True),
    ("succeeded, second printer by --port", "two-printers", ["upgrade", "--port", "usb002"], 0,
     {"port": "USB002", "model": "Viruzu TQ3800HKS Series"}, False),
    ("succeeded, --serial", "two-printers", ["upgrade", "--serial", "SER0002"], 0,
     {"port": "USB002"}, True),
    ("error, scenario missing", "no-such-file", ["upgrade"], 1, {}, True),
    ("usage, unknown option", "one-printer-ready", ["upgrade", "--frobnicate"], 2, {}, True),
    ("usage, choice matches nothing", "two-printers", ["upgrade", "--serial", "NOPE"], 2,
     {"package": None}, True),
    ("not-connected", "no-printer", ["upgrade"], 3, {"port": None}, True),
    ("port-busy", "port-busy", ["upgrade"], 4, {"package": None}, True),
    ("not-ready", "not-ready", ["upgrade"], 5, {"firmware": None}, True),
    ("declined without a terminal", "same-version", ["upgrade"], 6,
     {"firmware": "same", "package": None, "bytesSent": 0}, True),
    ("firmware-unrecognized", "bad-crc", ["upgrade"], 7, {"package": None}, True),
    ("printer-lost", "security-channel-refused", ["upgrade"], 8, {"package": None}, True),
    ("printer-lost, another printer behind the port", "printer-plugged-in-ahead", ["upgrade"], 8,
     {"package": None}, False),
    ("printer-lost, same instance ID behind the port", "same-serial-plugged-in-ahead",
     ["upgrade"], 8, {"package": None, "bytesSent": 0}, False),
    ("printer-lost, check with another printer behind the port", "check-printer-plugged-in-ahead",
     ["check", "--port", "USB002"], 8, {"port": "USB002"}, False),
    ("printer-lost, check with the same instance ID behind the port",
     "same-serial-plugged-in-ahead", ["check"], 8, {"security": "not-read"}, False),
    ("failed, version query", "version-query-refused", ["upgrade"], 9, {"firmware": "unread"},
     True),
    ("failed, transfer", "burn-channel-refused", ["upgrade"], 9, {"package": 3000}, False),
    ("verify, back on the new version", "flash-comes-back-upgraded", ["upgrade", "--verify"], 0,
     {"versionAfter": "same"}, False),
    ("verify, back on the old version", "flash-comes-back-unchanged", ["upgrade", "--verify"], 10,
     {"versionAfter": "older"}, False),
    ("verify, never back", "flash-never-comes-back",
     ["upgrade", "--verify", "--verify-timeout", "2"], 10, {"versionAfter": None}, True),
    ("verify, never gone: its version is no verdict", "one-printer-ready",
     ["upgrade", "--verify", "--verify-timeout", "2"], 10, {"versionAfter": "older"}, False),
    ("verify, never gone but on the package's version now", "flash-comes-back-at-once",
     ["upgrade", "--verify", "--verify-timeout", "2"], 0, {"versionAfter": "same"}, True),
    ("verify, two printers with the flashed one's instance ID", "verify-same-serial-appears",
     ["upgrade", "--verify"], 10, {"versionAfter": None}, True),
    ("check", "two-printers", ["check", "--port", "USB002"], 0,
     {"firmware": "older", "security": "valid", "ready": True}, True),
    ("check, not ready", "not-ready", ["check"], 5, {"ready": False}, False),
    ("list", "two-printers", ["list"], 0, {"printers": 2}, True),
    ("list, none", "no-printer", ["list"], 3, {"printers": 0}, False),
]

RESULTS = {0: "succeeded", 1: "error", 2: "usage", 3: "not-connected", 4: "port-busy",
           5: "not-ready", 6: "declined", 7: "firmware-unrecognized", 8: "printer-lost",
           9: "failed", 10: "verify-failed", 11: "low-battery", 12: "in-use", 130: "interrupted"}


def scenario_path(args, name):
    path = os.path.join(args.scenarios, name + ".json")
    if args.windows:
        return "Z:" + os.path.abspath(path).replace("/", "\\")
    return path


def command(args, arguments):
    prefix = [args.runner] if args.runner else []
    return prefix + [args.program] + arguments + ["--json"]


def environment(args, scenario, lock_dir=None):
    """Each case takes its printers' locks in a folder of its own (the cases share the scenarios'
    instance IDs and run in parallel), unless `lock_dir` names one to share."""
    env = dict(os.environ)
    env["VIRUZU_FWUP_EMULATE"] = scenario_path(args, scenario)
    if lock_dir is None:
        lock_dir = tempfile.mkdtemp(dir=LOCKS.name)
    env["VIRUZU_FWUP_LOCK_DIR"] = ("Z:" + lock_dir.replace("/", "\\")) if args.windows \
        else lock_dir
    env["LANG"] = "en_US.UTF-8"
    env.pop("LANGUAGE", None)
    env.pop("LC_ALL", None)
    env.pop("LC_MESSAGES", None)
    return env


def json_lines(stdout):
    """Every line parsed; a line that is not one JSON object is a failure."""
    lines = [line for line in stdout.splitlines() if line.strip()]
    return [json.loads(line) for line in lines]


def check_result(name, code, stdout, expected_code, fields):
    errors = []
    try:
        objects = json_lines(stdout)
    except ValueError as e:
        return [f"{name}: output is not JSON lines ({e}):\n{stdout}"]
    if code != expected_code:
        errors.append(f"{name}: exit code {code}, expected {expected_code}")
    if not objects or "result" not in objects[-1]:
        return errors + [f"{name}: no result line last:\n{stdout}"]
    result = objects[-1]
    if result.get("result") != RESULTS[expected_code] or result.get("exitCode") != expected_code:
        errors.append(f"{name}: result line {result}")
    for key, value in fields.items():
        if key not in result or result[key] != value:
            errors.append(f"{name}: '{key}' is {result.get(key, '(missing)')!r}, expected "
                          f"{value!r}")
    # A failed run names the log (a usage error from the options is no run).
    names_log = str(result.get("log", "")).endswith("Tool.log")
    if names_log != (expected_code != 0) and not (expected_code == 2 and "log" not in result):
        errors.append(f"{name}: 'log' is {result.get('log', '(missing)')!r}")
    if any("result" in o for o in objects[:-1]):
        errors.append(f"{name}: more than one result line")
    return errors


def run_case(args, case):
    name, scenario, arguments, expected_code, fields, _ = case
    done = subprocess.run(command(args, arguments), env=environment(args, scenario),
                          stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, text=True, timeout=120)
    return check_result(name, done.returncode, done.stdout, expected_code, fields)


def run_interrupted(args, name, scenario, signum, wait_for, expected_code, check):
    """Starts the program, sends `signum` once a line satisfying `wait_for` has been printed, and
    checks how it ends. The line is printed before the step it announces, so the signal always
    lands in that step."""
    process = subprocess.Popen(command(args, ["upgrade"]), env=environment(args, scenario),
                               stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                               stderr=subprocess.DEVNULL, text=True)
    lines = []
    for line in process.stdout:
        lines.append(line)
        if wait_for(json.loads(line)):
            signaled = time.monotonic()
            process.send_signal(signum)
            break
    else:
        process.wait()
        return [f"{name}: the program ended before the signal could be sent:\n{''.join(lines)}"]
    lines.extend(process.stdout)
    code = process.wait(timeout=120)
    ended_after = time.monotonic() - signaled
    errors = check_result(name, code, "".join(lines), expected_code, {})
    return errors + check(name, json_lines("".join(lines)), ended_after)


def run_two_programs(args):
    """Two console programs on one printer: the second starts while the first is in its
    transfer, must send nothing and end 12 at once; the first must not notice."""
    name = "in-use, a second program while the first transfers"
    lock_dir = tempfile.mkdtemp(dir=LOCKS.name)
    first = subprocess.Popen(command(args, ["upgrade"]),
                             env=environment(args, "slow-link", lock_dir),
                             stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL, text=True)
    lines = []
    for line in first.stdout:
        lines.append(line)
        o = json.loads(line)
        if o.get("event") == "step" and o.get("step") == "transfer":
            break
    else:
        first.wait()
        return [f"{name}: the first program ended before its transfer:\n{''.join(lines)}"]
    started = time.monotonic()
    second = subprocess.run(command(args, ["upgrade"]),
                            env=environment(args, "slow-link", lock_dir),
                            stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                            stderr=subprocess.PIPE, text=True, timeout=120)
    took = time.monotonic() - started
    errors = check_result(name + " (second)", second.returncode, second.stdout, 12,
                          {"package": None, "bytesSent": 0, "port": "USB001"})
    if took > 5:
        errors.append(f"{name}: the second program took {took:.1f} s")
    lines.extend(first.stdout)
    code = first.wait(timeout=120)
    errors += check_result(name + " (first)", code, "".join(lines), 0,
                           {"bytesSent": PLAIN_PACKAGE_BYTES})
    return errors


def interrupt_cases(args):
    def before(name, objects, ended_after):
        # The silent printer would keep the status query waiting for many seconds.
        return [f"{name}: took {ended_after:.1f} s to end"] if ended_after > 3 else []

    def during(name, objects, ended_after):
        errors = []
        notes = [o for o in objects if o.get("event") == "interrupt"]
        if len(notes) != 1:
            errors.append(f"{name}: {len(notes)} interrupt notes, expected one")
        elif not 0 <= notes[0]["sent"] < PLAIN_PACKAGE_BYTES:
            errors.append(f"{name}: the note gives {notes[0]['sent']} bytes sent")
        if objects[-1].get("bytesSent") != PLAIN_PACKAGE_BYTES:
            errors.append(f"{name}: the transfer did not finish: {objects[-1]}")
        return errors

    return [
        ("Ctrl-C before the transfer", "silent-printer", signal.SIGINT,
         lambda o: o.get("event") == "printer", 130, before),
        ("SIGTERM before the transfer", "silent-printer", signal.SIGTERM,
         lambda o: o.get("event") == "printer", 130, before),
        ("Ctrl-C during the transfer", "slow-link", signal.SIGINT,
         lambda o: o.get("event") == "step" and o.get("step") == "transfer", 0, during),
    ]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--scenarios", required=True)
    parser.add_argument("--runner", default="")
    parser.add_argument("--windows", action="store_true")
    args = parser.parse_args()

    cases = [c for c in CASES if c[5]] if args.windows else CASES
    jobs = [lambda c=c: run_case(args, c) for c in cases]
    jobs.append(lambda: run_two_programs(args))
    if not args.windows:
        jobs += [lambda c=c: run_interrupted(args, *c) for c in interrupt_cases(args)]
    # The cases mostly wait (verify, slow link); Wine starts are better not overlapped.
    with ThreadPoolExecutor(max_workers=1 if args.windows else 6) as pool:
        errors = [e for found in pool.map(lambda job: job(), jobs) for e in found]
    for error in errors:
        print(error)
    print(f"{len(jobs)} cases, {len(errors)} failures")
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
