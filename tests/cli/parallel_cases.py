#!/usr/bin/env python3
"""Several printers at once, end to end: `upgrade --all --parallel` over the fault matrix (each
printer ends with its own code, the others succeed, each job reaches only its printer), the run
history and Tool.log whole under several writing processes (a rotation included), an interrupt,
and `watch` over a bench where printers come and go.

    parallel_cases.py --program PATH --scenarios DIR --schema FILE [--runner WINE-RUN] [--windows]
"""
import argparse
import json
import os
import re
import signal
import subprocess
import sys
import tempfile
import time
from concurrent.futures import ThreadPoolExecutor

import jsonschema

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import cli_cases as cli  # noqa: E402
from cli_cases import LOCKS, PLAIN_PACKAGE_BYTES  # noqa: E402

INSTANCE = "USB\\VID_5A7C&PID_B10{model}\\SER000{n}"
PACKAGE_VERSION = "V2.10.9"


def printer(n, **more):
    entry = {"instanceId": INSTANCE.format(model=1 + n % 2, n=n), "portNumber": n,
             "version": "V2.10.8"}
    entry.update(more)
    return entry


def write_scenario(args, printers, state_file=None):
    """A scenario of its own in a folder of its own; its name as the program takes it."""
    folder = tempfile.mkdtemp(dir=LOCKS.name)
    scenario = {"description": "parallel case", "printers": printers}
    if state_file:
        scenario["stateFile"] = cli.program_path(args, state_file)
    path = os.path.join(folder, "scenario.json")
    with open(path, "w", encoding="utf-8") as f:
        json.dump(scenario, f)
    return path


def environment(args, scenario_file, lock_dir=None, history_dir=None):
    env = cli.environment(args, "no-printer", lock_dir, history_dir)
    env["VIRUZU_FWUP_EMULATE"] = cli.program_path(args, scenario_file)
    env.pop("VIRUZU_FWUP_SIM_EPOCH_MS", None)
    return env


def run(args, arguments, env, timeout=240):
    done = subprocess.run(cli.command(args, arguments), env=env, stdin=subprocess.DEVNULL,
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=timeout)
    return done.returncode, done.stdout.decode("utf-8")


def results_by_port(name, objects):
    """Each printer's own result line, by port; a port with two is a fault."""
    own, errors = {}, []
    for o in objects:
        if "result" in o and o["result"] != "summary":
            if o.get("port") in own:
                errors.append(f"{name}: two result lines for {o.get('port')}")
            own[o.get("port")] = o
    return own, errors


def check_parallel(name, code, stdout, expected_code, expected):
    """Every line valid, every event and result line naming its printer, the summary last in
    the printers' list order, each printer's result line as `expected` (port: exit code, fields)."""
    objects, errors = cli.read_lines(name, code, stdout, expected_code)
    if objects is None:
        return [], errors
    if not objects or objects[-1].get("result") != "summary":
        return objects, errors + [f"{name}: no summary line last:\n{stdout}"]
    for o in objects[:-1]:
        if o.get("event") != "simulated" and not (o.get("port") and o.get("instanceId")):
            errors.append(f"{name}: a line names no printer: {o}")
    summary = objects[-1]
    ran = [(p["port"], p["exitCode"]) for p in summary["printers"]]
    want = [(port, c) for port, (c, _) in expected.items()]
    if ran != want or summary["exitCode"] != expected_code:
        errors.append(f"{name}: the summary has {ran} ({summary['exitCode']}), expected {want}")
    own, faults = results_by_port(name, objects)
    errors += faults
    for port, (c, fields) in expected.items():
        line = own.get(port, {})
        if line.get("exitCode") != c:
            errors.append(f"{name}: {port} ended {line.get('exitCode')}, expected {c}")
        for key, value in fields.items():
            if line.get(key, "(missing)") != value:
                errors.append(f"{name}: {port} '{key}' is {line.get(key, '(missing)')!r}, "
                              f"expected {value!r}")
    return objects, errors


def history_records(args, env):
    code, out = run(args, ["history"], env)
    return [o["record"] for o in cli.json_lines(out) if o.get("event") == "record"]


def fault_matrix(args):
    """One printer pulled mid-transfer (failed, as alone), one not ready, one held by another program's run, one
    current, two upgraded and verified: each ends with its own code, the others succeed, and
    each whole job reached only its own printer (the printers' state file: only those two and
    the other program's took the package)."""
    name = "parallel, the fault matrix"
    folder = tempfile.mkdtemp(dir=LOCKS.name)
    state = os.path.join(folder, "printers.state")
    back = {"afterFirmware": {"awaySeconds": 1, "version": PACKAGE_VERSION}}
    scenario = write_scenario(args, [
        printer(1, faults={"unplugAtByte": 200000}),
        printer(2, status=3),
        printer(3, faults={"maxWriteBytes": 4096, "linkBytesPerSecond": 100000}),
        printer(4, version=PACKAGE_VERSION),
        printer(5, **back),
        printer(6, **back),
    ], state)
    lock_dir = tempfile.mkdtemp(dir=LOCKS.name)
    env = environment(args, scenario, lock_dir, folder)
    # Another program's run holds USB003 through its slow transfer.
    other, lines, reached = cli.start_until(args, ["upgrade", "--port", "USB003"], env,
                                            cli.in_transfer)
    if not reached:
        other.wait()
        return [f"{name}: the other program ended before its transfer:\n{''.join(lines)}"]
    code, out = run(args, ["upgrade", "--all", "--verify", "--parallel"], env)
    lines.extend(other.stdout)
    other_code = other.wait(timeout=120)
    full = {"bytesSent": PLAIN_PACKAGE_BYTES, "versionAfter": "same"}
    _, errors = check_parallel(name, code, out, 13, {
        "USB001": (9, {}), "USB002": (5, {"bytesSent": 0}),
        "USB003": (12, {"bytesSent": 0, "package": None}), "USB004": (6, {"bytesSent": 0}),
        "USB005": (0, full), "USB006": (0, full)})
    errors += cli.check_result(name + " (the other program)", other_code, "".join(lines), 0,
                               {"bytesSent": PLAIN_PACKAGE_BYTES})
    with open(state, encoding="utf-8") as f:
        taken = sorted(re.findall(r"ser000(\d)", f.read(), re.IGNORECASE))
    # USB003's whole job is the other program's.
    if taken != ["3", "5", "6"]:
        errors.append(f"{name}: the printers that took a whole job are {taken}, expected 3, 5, 6")
    records = sorted((r["port"], r["bytesSent"]) for r in history_records(args, env))
    if [r for r in records if r[0] in ("USB005", "USB006")] != \
            [("USB005", PLAIN_PACKAGE_BYTES), ("USB006", PLAIN_PACKAGE_BYTES)] \
            or len(records) != 7:
        errors.append(f"{name}: the history holds {records}")
    return errors


def history_rotated_by_many(args):
    """Eight printers' runs at once append to a history close to its rotation: every record of
    every process is there afterwards, in the file or the one it moved to, none cut."""
    name = "parallel, history rotated by several writers"
    folder = tempfile.mkdtemp(dir=LOCKS.name)
    scenario = write_scenario(args, [printer(n) for n in range(1, 9)])
    env = environment(args, scenario, history_dir=folder)
    code, out = run(args, ["check", "--all", "--parallel"], env)
    errors = check_parallel(name + " (first runs)", code, out, 0,
                            {f"USB00{n}": (0, {}) for n in range(1, 9)})[1]
    history = os.path.join(folder, "history.jsonl")
    with open(history, encoding="utf-8") as f:
        record = f.readline()
    filled = 8
    with open(history, "a", encoding="utf-8") as f:
        while os.path.getsize(history) + len(record) * 4 < 1024 * 1024:
            f.write(record)
            f.flush()
            filled += 1
    code, out = run(args, ["check", "--all", "--parallel"], env)
    errors += check_parallel(name, code, out, 0, {f"USB00{n}": (0, {}) for n in range(1, 9)})[1]
    lines = []
    for path in (history + ".1", history):
        if os.path.exists(path):
            with open(path, encoding="utf-8") as f:
                lines += f.read().splitlines()
    whole = []
    for line in lines:
        try:
            whole += [line] if json.loads(line)["command"] == "check" else []
        except ValueError:
            pass
    if len(whole) != filled + 8 or len(lines) != filled + 8:
        errors.append(f"{name}: {len(lines)} lines ({len(whole)} whole), expected {filled + 8}")
    if not os.path.exists(history + ".1"):
        errors.append(f"{name}: the history did not rotate")
    return errors


def interrupted(args):
    """Ctrl-C (SIGINT to the whole group, as a terminal sends it) while one printer transfers and
    the other waits its turn (--parallel 1): the transfer goes on to its end, the other is never
    begun. SIGTERM to the parent alone, with both transferring: both transfers end whole."""
    errors = []
    for name, arguments, group, expected in (
            ("parallel 1, Ctrl-C in the first transfer", ["--parallel", "1"], True,
             {"USB001": (0, {"bytesSent": PLAIN_PACKAGE_BYTES}), "USB002": (130, {})}),
            ("parallel, SIGTERM to the parent during both transfers", ["--parallel"], False,
             {"USB001": (0, {"bytesSent": PLAIN_PACKAGE_BYTES}),
              "USB002": (0, {"bytesSent": PLAIN_PACKAGE_BYTES})})):
        env = cli.environment(args, "two-printers-slow-link")
        process = subprocess.Popen(cli.command(args, ["upgrade", "--all"] + arguments), env=env,
                                   stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                   stderr=subprocess.DEVNULL, text=True, start_new_session=True)
        lines, transferring = [], set()
        for line in process.stdout:
            lines.append(line)
            o = json.loads(line)
            if cli.in_transfer(o):
                transferring.add(o["port"])
            if len(transferring) == (1 if group else 2):
                break
        if group:
            os.killpg(process.pid, signal.SIGINT)
        else:
            process.send_signal(signal.SIGTERM)
        lines.extend(process.stdout)
        code = process.wait(timeout=120)
        _, faults = check_parallel(name, code, "".join(lines), 13 if group else 0, expected)
        errors += faults
    return errors


def watch_bench(args):
    """watch --verify over a bench where printers come and go: each arrival gets one run, the
    printer back on the package's version in another socket is current and sent nothing, the
    not-ready one says so; the interrupt ends it with the summary and the --all exit code."""
    name = "watch, a bench"
    env = cli.environment(args, "bench-printers-come-and-go")
    process = subprocess.Popen(cli.command(args, ["watch", "--verify"]), env=env,
                               stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                               stderr=subprocess.DEVNULL, text=True)
    lines, ended, deadline = [], set(), time.monotonic() + 60
    for line in process.stdout:
        lines.append(line)
        o = json.loads(line)
        if "result" in o:
            ended.add(o["port"])
        if len(ended) == 4 or time.monotonic() > deadline:
            break
    process.send_signal(signal.SIGINT)
    lines.extend(process.stdout)
    code = process.wait(timeout=120)
    objects, errors = check_parallel(name, code, "".join(lines), 13, {
        "USB001": (0, {"versionAfter": "same"}), "USB003": (5, {}),
        "USB002": (0, {"versionAfter": "same"}), "USB004": (6, {"firmware": "same",
                                                                 "bytesSent": 0})})
    seen = [(o["event"], o["port"]) for o in objects if o.get("event") in ("arrived", "departed")]
    for event in (("arrived", "USB001"), ("arrived", "USB003"), ("arrived", "USB002"),
                  ("departed", "USB001"), ("arrived", "USB004")):
        if event not in seen:
            errors.append(f"{name}: no {event} in {seen}")
    return errors


def log_lines_whole(args, since):
    """Every Tool.log line written since `since` (by these cases and any run beside them) is one
    whole line, and the lines of a run started by --parallel name its printer."""
    log = os.path.join(os.path.dirname(args.program), "Tool.log")
    if not os.path.exists(log):
        return []
    with open(log, "rb") as f:
        f.seek(since)
        text = f.read().decode("gb18030", "replace")
    lines = text.split("\r\r\n")
    bad = [line for line in lines
           if line and not re.match(r"\[\d\d/\d\d \d\d:\d\d:\d\d\] ", line)]
    errors = [f"Tool.log: {len(bad)} lines not whole, e.g. {bad[:3]!r}"] if bad else []
    # A printer's run started by --parallel names its printer in each of its lines.
    if not any(re.match(r"\[[^]]*\] USB005 SER0005: CRC is valid", line) for line in lines):
        errors.append("Tool.log: no line of USB005's run names its printer")
    return errors


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--scenarios", required=True)
    parser.add_argument("--runner", default="")
    parser.add_argument("--windows", action="store_true")
    parser.add_argument("--schema", required=True)
    args = parser.parse_args()
    with open(args.schema, encoding="utf-8") as f:
        cli.SCHEMA = jsonschema.Draft202012Validator(json.load(f))
    log = os.path.join(os.path.dirname(args.program), "Tool.log")
    since = os.path.getsize(log) if os.path.exists(log) else 0

    jobs = [fault_matrix, history_rotated_by_many]
    if not args.windows:
        jobs += [interrupted, watch_bench]
    with ThreadPoolExecutor(max_workers=1 if args.windows else 2) as pool:
        errors = [e for found in pool.map(lambda job: job(args), jobs) for e in found]
    errors += log_lines_whole(args, since)
    for error in errors:
        print(error)
    print(f"{len(jobs)} parallel cases, {len(errors)} failures")
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
