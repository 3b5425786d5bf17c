#!/usr/bin/env python3
"""The console program end to end: every exit code with its --json result line, reached by running
the built viruzu-fwup-cli against the simulated printers of scenarios/, and (natively) Ctrl-C and
SIGTERM through real signals before and during the transfer. Every line printed must be UTF-8 and
valid against the published schema (docs/cli-output.schema.json).

    cli_cases.py --program PATH --scenarios DIR --schema FILE [--runner WINE-RUN] [--windows]
"""
import argparse
import fcntl
import json
import os
import pty
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from concurrent.futures import ThreadPoolExecutor

import jsonschema

PLAIN_PACKAGE_BYTES = 600059  # the generated test package 3000
LOCKS = tempfile.TemporaryDirectory(prefix="fwup-locks-")  # the cases' lock and history folders

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
    ("error, printer discovery fails", "device-list-fails", ["upgrade"], 1,
     {"reason": "printer discovery failed with -1", "port": None}, True),
    ("usage, argument not UTF-8", "one-printer-ready", [os.fsdecode(b"\xff\xfe")], 2,
     {"reason": "unknown command '\ufffd\ufffd'"}, False),
    ("usage, argument not ASCII", "one-printer-ready", ["upgrade", "--\u043a\u043b\u044e\u0447"], 2,
     {"reason": "unknown option '--\u043a\u043b\u044e\u0447'"}, True),
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
    ("failed, transfer", "burn-channel-refused", ["upgrade"], 9,
     {"package": None, "packageChosen": 3000, "bytesSent": 0}, False),
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
    ("check, no security record", "newer-version-no-security-record", ["check"], 9,
     {"security": "no-record", "package": None}, True),
    ("usage, --all with a printer choice", "two-printers", ["upgrade", "--all", "--port", "USB001"],
     2, {"reason": "--all takes no printer choice"}, True),
    ("list", "two-printers", ["list"], 0, {"printers": 2}, True),
    ("list, none", "no-printer", ["list"], 3, {"printers": 0}, False),
]

# --all: name, scenario, arguments, exit code, each printer's port and exit code in the summary,
# fields each printer's own result line must hold (by port), also under Wine
ALL_CASES = [
    ("all, one fails, one current, one upgraded", "three-printers-one-fails",
     ["upgrade", "--all", "--verify"], 13, [("USB001", 9), ("USB002", 6), ("USB003", 0)],
     {"USB001": {"packageChosen": 3000, "bytesSent": 0}, "USB002": {"firmware": "same"},
      "USB003": {"bytesSent": PLAIN_PACKAGE_BYTES, "versionAfter": "same"}}, True),
    ("all, every one upgraded", "two-printers", ["upgrade", "--all"], 0,
     [("USB001", 0), ("USB002", 0)], {"USB002": {"bytesSent": PLAIN_PACKAGE_BYTES}}, False),
    ("all, check", "three-printers-one-fails", ["check", "--all"], 0,
     [("USB001", 0), ("USB002", 0), ("USB003", 0)], {"USB002": {"firmware": "same"}}, False),
    # A printer found at its turn by its instance ID alone is another one: never a second job.
    ("all, same serial, the second pulled, --yes", "same-serial-one-pulled",
     ["upgrade", "--all", "--yes"], 13, [("USB001", 0), ("USB002", 3)],
     {"USB001": {"bytesSent": PLAIN_PACKAGE_BYTES}, "USB002": {"bytesSent": 0}}, True),
    ("all, same serial, the second pulled, the first back current", "same-serial-one-pulled",
     ["upgrade", "--all"], 13, [("USB001", 0), ("USB002", 3)],
     {"USB002": {"bytesSent": 0, "firmware": None}}, False),
    ("all, none attached", "no-printer", ["upgrade", "--all"], 3, [], {}, True),
    ("all, discovery fails", "device-list-fails", ["check", "--all"], 1, [], {}, False),
]

RESULTS = {0: "succeeded", 1: "error", 2: "usage", 3: "not-connected", 4: "port-busy",
           5: "not-ready", 6: "declined", 7: "firmware-unrecognized", 8: "printer-lost",
           9: "failed", 10: "verify-failed", 11: "low-battery", 12: "in-use",
           130: "interrupted"}


def scenario_path(args, name):
    path = os.path.join(args.scenarios, name + ".json")
    if args.windows:
        return "Z:" + os.path.abspath(path).replace("/", "\\")
    return path


def command(args, arguments):
    prefix = [args.runner] if args.runner else []
    return prefix + [args.program] + arguments + ["--json"]


def program_path(args, path):
    return ("Z:" + path.replace("/", "\\")) if args.windows else path


def environment(args, scenario, lock_dir=None, history_dir=None):
    """Each case takes its printers' locks in a folder of its own (the cases share the scenarios'
    instance IDs and run in parallel), unless `lock_dir` names one to share; the same for the
    run history and `history_dir`."""
    env = dict(os.environ)
    env["VIRUZU_FWUP_EMULATE"] = scenario_path(args, scenario)
    if lock_dir is None:
        lock_dir = tempfile.mkdtemp(dir=LOCKS.name)
    env["VIRUZU_FWUP_LOCK_DIR"] = program_path(args, lock_dir)
    env["VIRUZU_FWUP_HISTORY_DIR"] = program_path(
        args, history_dir or tempfile.mkdtemp(dir=LOCKS.name))
    # Under Wine a locale the host lacks leaves the command line read in the wrong character set;
    # C.UTF-8 is always there and gives English too.
    env["LANG"] = "C.UTF-8" if args.windows else "en_US.UTF-8"
    env.pop("LANGUAGE", None)
    env.pop("LC_ALL", None)
    env.pop("LC_MESSAGES", None)
    return env


SCHEMA = None  # the validator of docs/cli-output.schema.json, set by main


def json_lines(stdout):
    """Every line parsed (bytes must be UTF-8); a line that is not one JSON object is a failure."""
    if isinstance(stdout, bytes):
        stdout = stdout.decode("utf-8")
    lines = [line for line in stdout.splitlines() if line.strip()]
    return [json.loads(line) for line in lines]


def read_lines(name, code, stdout, expected_code):
    """The output's JSON lines (None when it is not UTF-8 JSON lines) and the faults every run
    shares: a line against the schema, the wrong exit code."""
    try:
        objects = json_lines(stdout)
    except ValueError as e:  # UnicodeDecodeError among them
        return None, [f"{name}: output is not UTF-8 JSON lines ({e}):\n{stdout!r}"]
    errors = [f"{name}: {line} against the schema: {fault.message}"
              for line in objects for fault in SCHEMA.iter_errors(line)]
    if code != expected_code:
        errors.append(f"{name}: exit code {code}, expected {expected_code}")
    return objects, errors


def check_result(name, code, stdout, expected_code, fields):
    objects, errors = read_lines(name, code, stdout, expected_code)
    if objects is None:
        return errors
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
                          stderr=subprocess.PIPE, timeout=120)
    return check_result(name, done.returncode, done.stdout, expected_code, fields)


def check_all(name, code, stdout, expected_code, expected_printers, fields, skipped=0):
    """--all: each printer's own result line in list order, as valid as a single run's, then the
    summary naming the same printers with the same exit codes; the last `skipped` were never
    begun and have no line of their own."""
    objects, errors = read_lines(name, code, stdout, expected_code)
    if objects is None:
        return errors
    if not objects or objects[-1].get("result") != "summary":
        return errors + [f"{name}: no summary line last:\n{stdout}"]
    summary = objects[-1]
    if summary["exitCode"] != expected_code:
        errors.append(f"{name}: summary {summary}")
    ran = [(p["port"], p["exitCode"]) for p in summary["printers"]]
    if ran != expected_printers:
        errors.append(f"{name}: the summary has {ran}, expected {expected_printers}")
    own = [o for o in objects[:-1] if "result" in o]
    if [(o.get("port"), o["exitCode"]) for o in own] != ran[:len(ran) - skipped]:
        errors.append(f"{name}: the printers' result lines {own} are not the summary's")
    for line in own:
        for key, value in fields.get(line.get("port"), {}).items():
            if line.get(key, "(missing)") != value:
                errors.append(f"{name}: {line['port']} '{key}' is "
                              f"{line.get(key, '(missing)')!r}, expected {value!r}")
        if str(line.get("log", "")).endswith("Tool.log") != (line["exitCode"] != 0):
            errors.append(f"{name}: {line['port']} 'log' is {line.get('log', '(missing)')!r}")
    return errors


def run_all_case(args, case):
    name, scenario, arguments, expected_code, printers, fields, _ = case
    done = subprocess.run(command(args, arguments), env=environment(args, scenario),
                          stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, timeout=240)
    return check_all(name, done.returncode, done.stdout, expected_code, printers, fields)


def first_of_several(args):
    """Two printers attached and none named: the first is taken, the note goes to standard
    error, and standard output is what it was."""
    name = "first of several printers, named on standard error"
    done = subprocess.run(command(args, ["check"]), env=environment(args, "two-printers"),
                          stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, timeout=120)
    errors = check_result(name, done.returncode, done.stdout, 0, {"port": "USB001"})
    note = done.stderr.decode("utf-8", "replace")
    for word in ("USB001", "SER0001", "--port", "--serial", "--all"):
        if word not in note:
            errors.append(f"{name}: standard error does not name {word}: {note!r}")
    if any(o.get("event") == "error" for o in json_lines(done.stdout)):
        errors.append(f"{name}: the note reached standard output")
    return errors


def start_until(args, arguments, env, reached):
    """Starts the program and reads its lines until one satisfies `reached`. Returns the process,
    the lines read and whether such a line came before the output ended."""
    process = subprocess.Popen(command(args, arguments), env=env, stdin=subprocess.DEVNULL,
                               stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    lines = []
    for line in process.stdout:
        lines.append(line)
        if reached(json.loads(line)):
            return process, lines, True
    return process, lines, False


def in_transfer(o):
    return o.get("event") == "step" and o.get("step") == "transfer"


def interrupted_all(args):
    """An interrupt during the first printer's transfer of --all: that transfer goes on to its
    end, the second printer is never begun."""
    name = "all, Ctrl-C during the first printer's transfer"
    process, lines, reached = start_until(args, ["upgrade", "--all"],
                                          environment(args, "two-printers-slow-link"), in_transfer)
    if reached:
        process.send_signal(signal.SIGINT)
    lines.extend(process.stdout)
    code = process.wait(timeout=120)
    return check_all(name, code, "".join(lines), 13, [("USB001", 0), ("USB002", 130)],
                     {"USB001": {"bytesSent": PLAIN_PACKAGE_BYTES}}, skipped=1)


def run_interrupted(args, name, scenario, signum, wait_for, expected_code, check):
    """Starts the program, sends `signum` once a line satisfying `wait_for` has been printed, and
    checks how it ends. The line is printed before the step it announces, so the signal always
    lands in that step."""
    process, lines, reached = start_until(args, ["upgrade"], environment(args, scenario), wait_for)
    if reached:
        signaled = time.monotonic()
        process.send_signal(signum)
    else:
        process.wait()
        return [f"{name}: the program ended before the signal could be sent:\n{''.join(lines)}"]
    lines.extend(process.stdout)
    code = process.wait(timeout=120)
    ended_after = time.monotonic() - signaled
    errors = check_result(name, code, "".join(lines), expected_code, {})
    return errors + check(name, json_lines("".join(lines)), ended_after)


def all_beside_a_run(args):
    """--all while another program transfers to the first printer: that printer is skipped as
    in use with nothing sent, the next is upgraded, and the other program's transfer goes on."""
    name = "all, the first printer held by another program"
    lock_dir = tempfile.mkdtemp(dir=LOCKS.name)
    first, lines, reached = start_until(args, ["upgrade", "--port", "USB001"],
                                        environment(args, "two-printers-slow-link", lock_dir),
                                        in_transfer)
    if not reached:
        first.wait()
        return [f"{name}: the first program ended before its transfer:\n{''.join(lines)}"]
    every = subprocess.run(command(args, ["upgrade", "--all"]),
                           env=environment(args, "two-printers-slow-link", lock_dir),
                           stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                           stderr=subprocess.DEVNULL, timeout=240)
    errors = check_all(name + " (--all)", every.returncode, every.stdout, 13,
                       [("USB001", 12), ("USB002", 0)],
                       {"USB001": {"bytesSent": 0, "package": None},
                        "USB002": {"bytesSent": PLAIN_PACKAGE_BYTES}})
    lines.extend(first.stdout)
    errors += check_result(name + " (first)", first.wait(timeout=120), "".join(lines), 0,
                           {"bytesSent": PLAIN_PACKAGE_BYTES})
    return errors


def run_two_programs(args):
    """Two console programs on one printer: the second starts while the first is in its
    transfer, must send nothing and end 12 at once; the first must not notice."""
    name = "in-use, a second program while the first transfers"
    lock_dir = tempfile.mkdtemp(dir=LOCKS.name)
    first, lines, reached = start_until(args, ["upgrade"],
                                        environment(args, "slow-link", lock_dir), in_transfer)
    if not reached:
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


# The lock against a second, unprivileged user (issue 27): what that user plants where the
# simulated printers' lock folder is named. Root only (CI runs as root): the user is a bare uid.
OTHER_USER = 54321

# name, what the other user does (sh, in a sticky folder writable by all, with $mine root's own
# folder), the lock folder named (relative to that folder)
LOCK_PLANT_CASES = [
    ("in-use, lock folder made first by another user", "mkdir -m 777 locks", "locks"),
    ("in-use, lock folder a symlink to a folder of root's", 'ln -s "$mine" locks', "locks"),
    ("in-use, a directory at the lock file's name in a shared folder",
     "mkdir -m 777 'USB%5CVID_5A7C%26PID_B101%5CSER0001.lock'", "."),
    ("in-use, a lock file another user made in a shared folder",
     "umask 0; : > 'USB%5CVID_5A7C%26PID_B101%5CSER0001.lock'", "."),
]


def planted_lock(args, case):
    """A lock that cannot be taken safely is a refusal: 12 with the reason, nothing sent, nothing
    made where a symlink points."""
    name, plant, folder = case
    ground = tempfile.mkdtemp(dir=LOCKS.name)
    os.chmod(LOCKS.name, 0o755)
    os.chmod(ground, 0o755)
    shared, mine = os.path.join(ground, "shared"), os.path.join(ground, "mine")
    os.mkdir(shared)
    os.chmod(shared, 0o1777)
    os.mkdir(mine, 0o700)
    planted = subprocess.run(["/bin/sh", "-c", plant], cwd=shared, env={"mine": mine},
                             user=OTHER_USER, group=OTHER_USER, extra_groups=[],
                             stdin=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True,
                             timeout=60)
    if planted.returncode != 0:
        return [f"{name}: the other user could not plant: {planted.stderr}"]
    done = subprocess.run(command(args, ["upgrade"]),
                          env=environment(args, "one-printer-ready",
                                          os.path.normpath(os.path.join(shared, folder))),
                          stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, timeout=120)
    errors = check_result(name, done.returncode, done.stdout, 12,
                          {"package": None, "bytesSent": 0})
    objects = json_lines(done.stdout) if not errors else []
    if objects and not objects[-1].get("reason", "").startswith(
            "the printer's lock could not be taken: "):
        errors.append(f"{name}: reason {objects[-1].get('reason')!r}")
    if os.listdir(mine):
        errors.append(f"{name}: made {os.listdir(mine)} through the symlink")
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


def log_of_unreadable_folder(args):
    """A program folder whose name is not UTF-8 cannot hold a log the result line can name: the
    log goes to the state folder instead."""
    name = "log, program folder not UTF-8"
    with tempfile.TemporaryDirectory() as scratch:
        folder = os.path.join(os.fsencode(scratch), b"fwup-\xff")
        os.mkdir(folder)
        program = os.path.join(folder, b"viruzu-fwup-cli")
        shutil.copy(args.program, program)
        env = environment(args, "bad-crc")
        env["XDG_STATE_HOME"] = os.path.join(scratch, "state")
        done = subprocess.run([program, "upgrade", "--json"], env=env, stdin=subprocess.DEVNULL,
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=120)
        expected = os.path.join(scratch, "state", "viruzu-fwup", "Tool.log")
        errors = check_result(name, done.returncode, done.stdout, 7, {"log": expected})
        if not os.path.isfile(expected) or os.path.exists(os.path.join(folder, b"Tool.log")):
            errors.append(f"{name}: the log is not in {expected} alone")
        return errors


def answer_on_terminal(args, name, language, typed, expected_code):
    """The same-version question answered on a terminal, in the user's language (LC_ALL, which
    also tells Wine). The answer is typed once the question is on standard error, and ended with
    Enter as a terminal sends it (CR: a Windows console line ends there, a POSIX terminal turns it
    into a line end)."""
    leader, follower = pty.openpty()
    env = environment(args, "same-version")
    env["LC_ALL"] = language
    process = subprocess.Popen(command(args, ["upgrade"]), env=env, stdin=follower,
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    os.close(follower)
    try:
        asked = b""
        deadline = time.monotonic() + 60
        while b"]" not in asked and time.monotonic() < deadline:
            ready, _, _ = select.select([process.stderr, leader], [], [], 1)
            if process.stderr in ready:
                piece = os.read(process.stderr.fileno(), 4096)
                if not piece:
                    break
                asked += piece
            if leader in ready:
                os.read(leader, 4096)  # what the terminal echoes
        os.write(leader, typed.encode("utf-8") + b"\r")
        # Yes goes on with the transfer and the printer's flashing time.
        stdout, _ = process.communicate(timeout=120)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()
        return [f"{name}: the question did not end after the answer"]
    finally:
        os.close(leader)
    errors = check_result(name, process.returncode, stdout, expected_code, {})
    if not errors:
        asked = [o for o in json_lines(stdout) if o.get("event") == "question"]
        if not asked or asked[0]["answeredBy"] != "terminal":
            errors.append(f"{name}: the question was not asked on the terminal: {asked}")
    return errors


def terminal_cases(windows):
    """Native only for now: under Wine a console read from a pseudo-terminal does not end at the
    typed Enter (the folding itself runs under Wine in the unit tests)."""
    cases = [
        ("terminal, Spanish yes without its accent", "es_ES.UTF-8", "SI", 0, False),
        ("terminal, Russian lower-case yes", "ru_RU.UTF-8", "\u0434\u0430", 0, False),
        ("terminal, anything else is No", "ru_RU.UTF-8", "\u0434\u0430\u0430", 6, False),
    ]
    return [c[:4] for c in cases if c[4] or not windows]


def signal_during_blocked_write(args):
    """Signals while the program waits to write lines to a full pipe: every line still arrives
    whole. The pipe is shrunk to one page and filled with blank lines, and nothing is read until
    the end, so each line the program writes blocks; a signal is sent each time the kernel shows
    it waiting in the pipe write (the first ends the run, the others land in its last lines)."""
    name = "signals during blocked writes"
    reader, writer = os.pipe()
    fcntl.fcntl(writer, 1031, 4096)  # F_SETPIPE_SZ
    os.write(writer, b"\n" * 4096)
    process = subprocess.Popen(command(args, ["upgrade"]), env=environment(args, "slow-link"),
                               stdin=subprocess.DEVNULL, stdout=writer,
                               stderr=subprocess.DEVNULL)
    os.close(writer)
    signals = 0
    deadline = time.monotonic() + 20
    while signals < 4 and process.poll() is None and time.monotonic() < deadline:
        try:
            with open(f"/proc/{process.pid}/wchan") as f:
                blocked = "pipe" in f.read()
        except OSError:
            break
        if blocked:
            process.send_signal(signal.SIGINT)
            signals += 1
            # Until the handler has run and the write is waiting again.
            time.sleep(0.05)
        else:
            time.sleep(0.005)
    with os.fdopen(reader, "rb") as out:
        stdout = out.read()
    code = process.wait(timeout=120)
    errors = [] if signals else [f"{name}: the program never blocked in a write"]
    errors += check_result(name, code, stdout, 130, {})
    if not errors:
        events = [o.get("event") for o in json_lines(stdout)]
        # The first signal lands in the first line, before the run's power check, which then
        # ends the run: that line and the result line (None), each whole.
        if events != ["simulated", None]:
            errors.append(f"{name}: lines lost, the events are {events}")
    return errors


def history_cases(args):
    """Three runs recorded, a damaged and a cut line among them: `history --json` gives the three
    records in order and names each line it skipped on standard error; plain text without a
    terminal is one tab-separated row each; `upgrade --all` leaves one line per printer; an
    absent history is said and ends 0."""
    name = "history"
    folder = tempfile.mkdtemp(dir=LOCKS.name)

    def run(scenario, arguments, folder=folder, text=False):
        return subprocess.run(([args.runner] if args.runner else []) + [args.program] + arguments,
                              env=environment(args, scenario, history_dir=folder),
                              stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, timeout=120, text=text)

    errors = []
    for scenario, arguments in (("one-printer-ready", ["upgrade", "--json"]),
                                ("same-version", ["check", "--json"]),
                                ("no-printer", ["upgrade", "--json"])):
        run(scenario, arguments)
        if scenario == "same-version":
            with open(os.path.join(folder, "history.jsonl"), "ab") as f:
                f.write(b'{"time": "damaged"\n')
    with open(os.path.join(folder, "history.jsonl"), "ab") as f:
        f.write(b'{"time":"2026-')  # a write cut short

    done = run("no-printer", ["history", "--json"])
    errors += check_result(name, done.returncode, done.stdout, 0,
                           {"records": 3, "skipped": 2,
                            "history": program_path(args, os.path.join(folder, "history.jsonl"))})
    records = [o["record"] for o in json_lines(done.stdout) if o.get("event") == "record"]
    want = [("upgrade", "succeeded", "USB001", "V2.10.8", "older", 3000, PLAIN_PACKAGE_BYTES),
            ("check", "succeeded", "USB001", "V2.10.9", "same", None, 0),
            ("upgrade", "not-connected", None, None, None, None, 0)]
    got = [(r["command"], r["result"], r["port"], r["versionText"], r["firmware"], r["package"],
            r["bytesSent"]) for r in records]
    if got != want:
        errors.append(f"{name}: the records are {got}, expected {want}")
    if not all(r["program"] == "viruzu-fwup-cli" and r["computer"] for r in records):
        errors.append(f"{name}: program or computer missing: {records}")
    notes = done.stderr.decode("utf-8", "replace")
    if "line 3: not a record, skipped" not in notes or "line 5: cut off, skipped" not in notes:
        errors.append(f"{name}: the skipped lines are not named: {notes!r}")

    done = run("no-printer", ["history"], text=True)
    rows = done.stdout.splitlines()
    if done.returncode != 0 or len(rows) != 4 or not rows[0].startswith("TIME\tCOMPUTER\t") \
            or rows[1].split("\t")[2:5] != ["upgrade", "USB001", "Viruzu TQ3800HKR Series"]:
        errors.append(f"{name}, plain text: {done.returncode} {done.stdout!r}")

    # --all: each printer's run is a line of its own.
    every = tempfile.mkdtemp(dir=LOCKS.name)
    run("two-printers", ["upgrade", "--all", "--json"], folder=every)
    done = run("no-printer", ["history", "--json"], folder=every)
    ports = [(o["record"]["port"], o["record"]["result"]) for o in json_lines(done.stdout)
             if o.get("event") == "record"]
    if ports != [("USB001", "succeeded"), ("USB002", "succeeded")]:
        errors.append(f"{name}, --all: the records are {ports}")

    empty = tempfile.mkdtemp(dir=LOCKS.name)
    done = run("no-printer", ["history", "--json"], folder=empty)
    errors += check_result(name + ", none yet", done.returncode, done.stdout, 0, {"records": 0})
    if b"no history yet" not in done.stderr:
        errors.append(f"{name}, none yet: not said: {done.stderr!r}")
    return errors


def history_says_only_what_happened(args):
    """Issue 27, item 6: `history` prints only lines that are records as a run writes them
    (well-formed lines with values no run writes are skipped and named), and a simulated run's
    record says so."""
    name = "history, only records as runs write them"
    folder = tempfile.mkdtemp(dir=LOCKS.name)
    env = environment(args, "one-printer-ready", history_dir=folder)
    subprocess.run(([args.runner] if args.runner else []) + [args.program, "upgrade", "--json"],
                   env=env, stdin=subprocess.DEVNULL, capture_output=True, timeout=120)
    path = os.path.join(folder, "history.jsonl")
    with open(path, "rb") as f:
        written = json.loads(f.readline())
    hostile = [("package", 42), ("firmware", "sideways"), ("command", "list"),
               ("result", "summary"), ("time", "yesterday"), ("note", "planted")]
    with open(path, "ab") as f:
        for member, value in hostile:
            f.write(json.dumps(dict(written, **{member: value})).encode() + b"\n")
    done = subprocess.run(command(args, ["history"]), env=env, stdin=subprocess.DEVNULL,
                          capture_output=True, timeout=120)
    errors = check_result(name, done.returncode, done.stdout, 0,
                          {"records": 1, "skipped": len(hostile)})
    records = [o["record"] for o in json_lines(done.stdout) if o.get("event") == "record"]
    if [r.get("simulated") for r in records] != [True]:
        errors.append(f"{name}: the simulated run's record is not marked: {records}")
    notes = done.stderr.decode("utf-8", "replace")
    for line in range(2, 2 + len(hostile)):
        if f"line {line}: not a record, skipped" not in notes:
            errors.append(f"{name}: line {line} is not named as skipped: {notes!r}")
    return errors


def simulated_history_of_its_own(args):
    """A simulated run with no history folder named never lands in the real history: its record
    goes to history-simulated.jsonl, which `history` reads while the printers are simulated."""
    name = "history, a simulated run's own"
    errors = []
    with tempfile.TemporaryDirectory() as scratch:
        program = os.path.join(scratch, "viruzu-fwup-cli")
        shutil.copy(args.program, program)
        env = environment(args, "one-printer-ready")
        del env["VIRUZU_FWUP_HISTORY_DIR"]
        env["XDG_STATE_HOME"] = os.path.join(scratch, "state")
        done = subprocess.run([program, "upgrade", "--json"], env=env, stdin=subprocess.DEVNULL,
                              capture_output=True, timeout=120)
        errors += check_result(name, done.returncode, done.stdout, 0, {})
        if os.path.exists(os.path.join(scratch, "history.jsonl")):
            errors.append(f"{name}: the simulated run is in the real history")
        done = subprocess.run([program, "history", "--json"], env=env, stdin=subprocess.DEVNULL,
                              capture_output=True, timeout=120)
        errors += check_result(name, done.returncode, done.stdout, 0, {
            "records": 1, "history": os.path.join(scratch, "history-simulated.jsonl")})
        records = [o["record"] for o in json_lines(done.stdout) if o.get("event") == "record"]
        if [r.get("simulated") for r in records] != [True]:
            errors.append(f"{name}: not marked: {records}")
        del env["VIRUZU_FWUP_EMULATE"]
        done = subprocess.run([program, "history", "--json"], env=env, stdin=subprocess.DEVNULL,
                              capture_output=True, timeout=120)
        errors += check_result(name + ", real printers", done.returncode, done.stdout, 0,
                               {"records": 0, "history": os.path.join(scratch, "history.jsonl")})
    return errors


def failing_device_list(args):
    """The real libusb discovery with libusb_get_device_list failing (preloaded)."""
    name = "error, libusb device list fails"
    errors = []
    for arguments in (["list"], ["check"], ["upgrade"]):
        env = environment(args, "")
        del env["VIRUZU_FWUP_EMULATE"]
        env["LD_PRELOAD"] = args.failing_device_list
        done = subprocess.run(command(args, arguments), env=env, stdin=subprocess.DEVNULL,
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=120)
        errors += check_result(f"{name} ({arguments[0]})", done.returncode, done.stdout, 1,
                               {"reason": "printer discovery failed with -1"})
    return errors


# --- A hostile printer: what it says never acts on the output -------------------------------------

# What acts rather than shows: C0 and C1 controls, DEL, bidi controls, line and paragraph
# separators. A line end is the output's own; a tab separates the history's plain columns.
ACTING = set(map(chr, range(0x20))) | set(map(chr, range(0x7F, 0xA0))) | set(
    "\u061c\u200e\u200f\u202a\u202b\u202c\u202d\u202e\u2066\u2067\u2068\u2069"
    "\u2028\u2029")


def acting_in(text, allowed="\n"):
    return sorted({f"U+{ord(c):04X}" for c in text if c in ACTING and c not in allowed})


def strict_json_lines(name, stdout):
    """Split on "\n" alone, as a strict reader does: a raw U+2028 or U+0085 must cut nothing.
    Returns the objects and the faults."""
    try:
        text = stdout.decode("utf-8")
    except UnicodeDecodeError as e:
        return [], [f"{name}: output not UTF-8: {e}"]
    objects, errors = [], []
    for line in text.split("\n"):
        if not line.strip():
            continue
        if acting_in(line, allowed=""):
            errors.append(f"{name}: raw {acting_in(line, '')} in the JSON line {line!r}")
        try:
            objects.append(json.loads(line))
        except ValueError as e:
            errors.append(f"{name}: not one JSON object per line ({e}): {line!r}")
    errors += [f"{name}: {o} against the schema: {fault.message}"
               for o in objects for fault in SCHEMA.iter_errors(o)]
    return objects, errors


def hostile_printer_cases(args):
    """list, check, upgrade (one printer and --all), a choice that matches nothing, and history
    against printers whose instance IDs and version replies hold controls, bidi controls and line
    separators: each ends as for a plain printer; its text (standard output and error) holds no
    such character raw but shows each escaped; each JSON line is one line for a reader that
    splits on "\n" (and for Python's splitlines), and gives back the printer's very strings."""
    name = "hostile printer"
    with open(os.path.join(args.scenarios, "hostile-printer.json"), encoding="utf-8") as f:
        printers = json.load(f)["printers"]
    ids = [p["instanceId"] for p in printers]
    versions = [p["version"] for p in printers]
    history = tempfile.mkdtemp(dir=LOCKS.name)
    errors = []

    def run(arguments, json_mode):
        prefix = [args.runner] if args.runner else []
        done = subprocess.run(prefix + [args.program] + arguments + (["--json"] if json_mode else []),
                              env=environment(args, "hostile-printer", history_dir=history
                                              if "--parallel" not in arguments else None),
                              stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, timeout=240)
        # A Windows console line ends in CR LF. A CR or LF a printer sent is shown escaped, so
        # a raw pair can only be the platform's line end.
        if args.windows:
            done.stdout = done.stdout.replace(b"\r\n", b"\n")
            done.stderr = done.stderr.replace(b"\r\n", b"\n")
        return done

    runs = [(["list"], 0), (["check"], 0), (["upgrade"], 0), (["upgrade", "--all"], 0),
            (["upgrade", "--all", "--parallel"], 0), (["check", "--all", "--parallel", "2"], 0),
            (["upgrade", "--serial", "NOPE"], 2)]
    for arguments, code in runs:
        for json_mode in (False, True):
            case = f"{name}, {' '.join(arguments)}{' --json' if json_mode else ''}"
            done = run(arguments, json_mode)
            if done.returncode != code:
                errors.append(f"{case}: exit code {done.returncode}, expected {code}")
            err = done.stderr.decode("utf-8", "replace")
            if acting_in(err):
                errors.append(f"{case}: raw {acting_in(err)} on standard error: {err!r}")
            if json_mode:
                objects, faults = strict_json_lines(case, done.stdout)
                errors += faults
                try:  # what Ansible's stdout_lines and many readers do
                    json_lines(done.stdout)
                except ValueError as e:
                    errors.append(f"{case}: splitlines cuts a line: {e}")
                said = {o[k] for o in objects for k in ("instanceId",) if o.get(k)}
                said |= {p["instanceId"] for o in objects if isinstance(o.get("printers"), list)
                         for p in o["printers"]}
                if not said <= set(ids) or (arguments != ["upgrade", "--serial", "NOPE"]
                                            and not said):
                    errors.append(f"{case}: instance IDs read back {said!r}, expected of {ids!r}")
                continue
            out = done.stdout.decode("utf-8", "replace")
            if acting_in(out + err):
                errors.append(f"{case}: raw {acting_in(out)} on standard output: {out!r}")
            if "SER\\x1b[31m\\x07\\u009b2J\\u202eLIVE\\u2066\\u2028\\u0085\\u2029" not in out + err:
                errors.append(f"{case}: the instance ID is not shown escaped: {out + err!r}")

    # In the order run, both modes each: check and upgrade take the first printer, --all both
    # (--parallel's runs, whose order is theirs, are recorded in a history of their own),
    # and the choice that matched nothing is a record without a printer.
    done = run(["history"], True)
    objects, faults = strict_json_lines(name + ", history --json", done.stdout)
    errors += faults
    got = [(o["record"]["instanceId"], o["record"]["versionText"]) for o in objects
           if o.get("event") == "record"]
    want = ([(ids[0], versions[0])] * 4 + [(ids[0], versions[0]), (ids[1], versions[1])] * 2
            + [(None, None)] * 2)
    if got != want:
        errors.append(f"{name}, history --json: the records give back {got!r}, expected {want!r}")
    done = run(["history"], False)
    out = done.stdout.decode("utf-8", "replace")
    rows = out.split("\n")[:-1]
    if acting_in(out, allowed="\n\t") or len(rows) != 11 \
            or any(len(row.split("\t")) != 10 for row in rows) \
            or "V2.10.8\\x1b]0;owned\\x07\\u009b31m\\u202e\\u2066\\u2028\\u0085\\u2029" not in out \
            or "V2.10.7\\r\\n\\t\\x7f\\u0080" not in out:
        errors.append(f"{name}, history: {done.returncode} {out!r}")
    return errors


def hostile_printer_in_the_log(args):
    """A run that names the hostile instance ID in Tool.log (verify finds two printers with it):
    every entry stays one line, "[MM/DD hh:mm:ss] " to CR CR LF, with nothing raw that acts."""
    name = "hostile printer, Tool.log"
    with tempfile.TemporaryDirectory() as scratch:
        program = os.path.join(scratch, "viruzu-fwup-cli")
        shutil.copy(args.program, program)
        env = environment(args, "hostile-printer-twin-appears")
        done = subprocess.run([program, "upgrade", "--verify", "--json"], env=env,
                              stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, timeout=240)
        errors = check_result(name, done.returncode, done.stdout, 10, {})
        try:
            with open(os.path.join(scratch, "Tool.log"), "rb") as f:
                log = f.read().decode("gbk")
        except (OSError, ValueError) as e:
            return errors + [f"{name}: {e}"]
    entries = log.split("\r\r\n")
    if entries[-1] != "":
        errors.append(f"{name}: the log does not end an entry: {log!r}")
    for entry in entries[:-1]:
        if not (len(entry) > 17 and entry[0] == "[" and entry[15:17] == "] ") \
                or acting_in(entry, allowed=""):
            errors.append(f"{name}: not one line: {entry!r}")
    if "instance ID USB\\VID_5A7C&PID_B101\\SER\\x1b[31m\\x07\\u009b2J\\u202e" not in log:
        errors.append(f"{name}: the instance ID is not named escaped: {log!r}")
    return errors


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--scenarios", required=True)
    parser.add_argument("--runner", default="")
    parser.add_argument("--windows", action="store_true")
    parser.add_argument("--schema", required=True)
    parser.add_argument("--failing-device-list", default="",
                        help="a library that makes libusb_get_device_list fail, to preload")
    args = parser.parse_args()
    global SCHEMA
    with open(args.schema, encoding="utf-8") as f:
        schema = json.load(f)
    jsonschema.Draft202012Validator.check_schema(schema)
    SCHEMA = jsonschema.Draft202012Validator(schema)

    cases = [c for c in CASES if c[5]] if args.windows else CASES
    jobs = [lambda c=c: run_case(args, c) for c in cases]
    jobs.append(lambda: run_two_programs(args))
    jobs.append(lambda: all_beside_a_run(args))
    jobs += [lambda c=c: run_all_case(args, c) for c in ALL_CASES if c[6] or not args.windows]
    jobs.append(lambda: first_of_several(args))
    jobs.append(lambda: history_cases(args))
    jobs.append(lambda: history_says_only_what_happened(args))
    jobs += [lambda c=c: answer_on_terminal(args, *c) for c in terminal_cases(args.windows)]
    if not args.windows:
        jobs += [lambda c=c: run_interrupted(args, *c) for c in interrupt_cases(args)]
        jobs += [lambda: log_of_unreadable_folder(args), lambda: signal_during_blocked_write(args),
                 lambda: interrupted_all(args)]
        jobs.append(lambda: simulated_history_of_its_own(args))
    if args.failing_device_list:
        jobs.append(lambda: failing_device_list(args))
    jobs.append(lambda: hostile_printer_cases(args))
    if not args.windows:
        jobs.append(lambda: hostile_printer_in_the_log(args))
    if not args.windows and os.geteuid() == 0:
        jobs += [lambda c=c: planted_lock(args, c) for c in LOCK_PLANT_CASES]
    elif not args.windows:
        print(f"{len(LOCK_PLANT_CASES)} planted lock cases skipped: they need root")
    # The cases mostly wait (verify, slow link); Wine starts are better not overlapped.
    with ThreadPoolExecutor(max_workers=1 if args.windows else 6) as pool:
        errors = [e for found in pool.map(lambda job: job(), jobs) for e in found]
    for error in errors:
        print(error)
    print(f"{len(jobs)} cases, {len(errors)} failures")
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
