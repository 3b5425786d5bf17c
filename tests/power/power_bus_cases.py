#!/usr/bin/python3
"""The console program against a real D-Bus standing in for the system bus, with python3-dbusmock's
logind and UPower in front of it: the inhibitor it takes around a transfer, and the battery check
before a run. Besides, a system bus that accepts and never answers (a socket of the test's own),
and interrupts while the program waits on the bus.

Run by scripts/power-bus-test.sh, which starts the bus and sets DBUS_SYSTEM_BUS_ADDRESS. Prints one
line per case and "N passed, N failed"; exits non-zero when a case fails.
"""

import argparse
import json
import os
import shutil
import signal
import socket
import subprocess
import sys
import threading
import time

import dbus

LOGIND = "org.freedesktop.login1"
UPOWER = "org.freedesktop.UPower"
MOCK = "org.freedesktop.DBus.Mock"
DISPLAY_DEVICE = "/org/freedesktop/UPower/devices/DisplayDevice"
WHAT = ("sleep:shutdown:idle:handle-lid-switch:handle-power-key:handle-suspend-key:"
        "handle-hibernate-key")
NOT_HELD_LINE = "Sleep and shutdown could not be held off during the transfer: "

# An older printer on a slow link (a transfer of a few seconds) that does not come back after the
# package: with --verify the program lives on after the run, waiting for it.
SLOW_AND_GONE = {
    "description": "power bus test: slow transfer, printer stays away",
    "printers": [{
        "instanceId": "USB\\VID_5A7C&PID_B101\\SER0001",
        "portNumber": 1,
        "version": "V2.10.8",
        "faults": {"maxWriteBytes": 4096, "linkBytesPerSecond": 200000},
        "afterFirmware": {"awaySeconds": 86400},
    }],
}


class Mocks:
    """The dbusmock services of one case; stopped when the case ends."""

    def __init__(self, work):
        self.work = work
        self.processes = []
        self.bus = dbus.SystemBus(private=True)

    def start(self, template, name, parameters=None):
        argv = ["/usr/bin/python3", "-m", "dbusmock", "--template", template]
        if parameters:
            argv += ["-p", json.dumps(parameters)]
        log = open(os.path.join(self.work, f"{template}-mock.log"), "w")
        self.processes.append(subprocess.Popen(argv, stdout=log, stderr=subprocess.STDOUT))
        deadline = time.monotonic() + 20
        while not self.bus.name_has_owner(name):
            if time.monotonic() > deadline or self.processes[-1].poll() is not None:
                raise RuntimeError(f"the {template} mock did not come up")
            time.sleep(0.05)

    def start_plain(self, name, path, interface):
        """A mock without a template: the object answers only what the case adds to it."""
        argv = ["/usr/bin/python3", "-m", "dbusmock", "--system", name, path, interface]
        log = open(os.path.join(self.work, "plain-mock.log"), "w")
        self.processes.append(subprocess.Popen(argv, stdout=log, stderr=subprocess.STDOUT))
        deadline = time.monotonic() + 20
        while not self.bus.name_has_owner(name):
            if time.monotonic() > deadline or self.processes[-1].poll() is not None:
                raise RuntimeError(f"the mock of {name} did not come up")
            time.sleep(0.05)

    def logind(self):
        return self.bus.get_object(LOGIND, "/org/freedesktop/login1")

    def upower(self, on_battery, percent, present=True):
        self.start("upower", UPOWER, {"OnBattery": on_battery})
        self.bus.get_object(UPOWER, "/org/freedesktop/UPower").SetDeviceProperties(
            DISPLAY_DEVICE,
            {"Percentage": dbus.Double(percent, variant_level=1),
             "IsPresent": dbus.Boolean(present, variant_level=1)},
            dbus_interface=MOCK)

    def stop(self):
        for process in self.processes:
            process.terminate()
        for process in self.processes:
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        self.bus.close()


def inhibit_calls(mocks):
    calls = mocks.logind().GetCalls(dbus_interface=MOCK)
    return [[str(arg) for arg in args] for _, method, args in calls if method == "Inhibit"]


def inhibitors(mocks):
    listed = mocks.logind().ListInhibitors(dbus_interface="org.freedesktop.login1.Manager")
    return [(str(what), str(mode)) for what, _, _, mode, _, _ in listed]


class Program:
    """A copy of the console program in the case's folder, so its Tool.log is the case's own."""

    def __init__(self, built, work):
        self.path = os.path.join(work, "viruzu-fwup-cli")
        shutil.copy2(built, self.path)
        self.log = os.path.join(work, "Tool.log")

    def start(self, scenario, *args, bus=None):
        if os.path.exists(self.log):
            os.remove(self.log)
        env = dict(os.environ, VIRUZU_FWUP_EMULATE=scenario, LANGUAGE="en", LC_ALL="C.UTF-8")
        if bus:
            env["DBUS_SYSTEM_BUS_ADDRESS"] = bus
        return subprocess.Popen([self.path, "upgrade", "--json", "--yes", *args], env=env,
                                stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE, text=True)

    def log_lines(self):
        if not os.path.exists(self.log):
            return []
        with open(self.log, "rb") as log:
            return [line.decode("gbk", "replace").strip() for line in log.read().split(b"\n")]


def finish(process, timeout=120):
    out, err = process.communicate(timeout=timeout)
    events = [json.loads(line) for line in out.splitlines() if line.strip()]
    return process.returncode, events, err


def held_around_the_transfer(program, mocks, scenario, errors):
    mocks.start("logind", LOGIND)
    process = program.start(scenario, "--verify", "--verify-timeout", "3")
    seen_transfer = seen_progress = seen_verify = False
    try:
        for line in process.stdout:
            event = json.loads(line)
            if event.get("event") == "step" and event.get("step") == "transfer":
                # Taken before the transfer's first write, with exactly these words.
                seen_transfer = True
                calls = inhibit_calls(mocks)
                if len(calls) != 1 or calls[0][0] != WHAT or calls[0][3] != "block":
                    errors.append(f"Inhibit calls at the transfer's start: {calls}")
                if inhibitors(mocks) != [(WHAT, "block")]:
                    errors.append(f"inhibitors at the transfer's start: {inhibitors(mocks)}")
            elif event.get("event") == "progress" and event.get("sent", 0) > 0 and not seen_progress:
                seen_progress = True
                if inhibitors(mocks) != [(WHAT, "block")]:
                    errors.append(f"inhibitors during the transfer: {inhibitors(mocks)}")
            elif event.get("event") == "step" and event.get("step") == "verify":
                # The run has ended; the program lives on, waiting for the printer.
                seen_verify = True
                deadline = time.monotonic() + 2
                while inhibitors(mocks) and time.monotonic() < deadline:
                    time.sleep(0.05)
                if process.poll() is not None:
                    errors.append("the program ended before its verify wait")
                if inhibitors(mocks):
                    errors.append(f"still held after the run: {inhibitors(mocks)}")
            elif "result" in event:
                if event["exitCode"] != 10 or event.get("bytesSent", 0) == 0:
                    errors.append(f"result {event}")
    finally:
        code, _, err = finish(process)
    if not (seen_transfer and seen_progress and seen_verify):
        errors.append(f"events missing (transfer {seen_transfer}, progress {seen_progress}, "
                      f"verify {seen_verify}); stderr: {err.strip()}")
    if code != 10:
        errors.append(f"exit code {code}")
    if len(inhibit_calls(mocks)) != 1:
        errors.append(f"Inhibit asked {len(inhibit_calls(mocks))} times")
    if any(NOT_HELD_LINE in line for line in program.log_lines()):
        errors.append("Tool.log says sleep was not held off")


def no_logind(program, mocks, scenario, errors):
    code, events, err = finish(program.start(scenario))
    if code != 0:
        errors.append(f"exit code {code}: {err.strip()}")
    lines = [line for line in program.log_lines() if NOT_HELD_LINE in line]
    if len(lines) != 1:
        errors.append(f"Tool.log lines about sleep: {lines}")


def battery(on_battery, percent, expected_code, present=True):
    def case(program, mocks, scenario, errors):
        mocks.start("logind", LOGIND)
        mocks.upower(on_battery, percent, present)
        code, events, err = finish(program.start(scenario))
        result = events[-1] if events else {}
        if code != expected_code or result.get("exitCode") != expected_code:
            errors.append(f"exit code {code}, result {result}; stderr: {err.strip()}")
        if expected_code == 11:
            if result.get("result") != "low-battery":
                errors.append(f"result word {result.get('result')!r}")
            if result.get("reason") != f"the computer runs on battery at {int(percent)} %":
                errors.append(f"reason {result.get('reason')!r}")
            if result.get("bytesSent") != 0 or result.get("package") is not None:
                errors.append(f"something was sent: {result}")
            steps = [e["step"] for e in events if e.get("event") == "step"]
            if steps:
                errors.append(f"printer steps taken: {steps}")
            if inhibit_calls(mocks):
                errors.append("an inhibitor was taken for a run that never started")
            if not any("Not started: the computer runs on battery" in line
                       for line in program.log_lines()):
                errors.append(f"Tool.log: {program.log_lines()}")
        elif result.get("bytesSent", 0) == 0:
            errors.append(f"nothing was sent: {result}")
    return case


LOW_BATTERY_TEXT = ("The computer's battery is nearly empty. Connect the computer to mains power "
                    "and try again.")


def window_refuses(window, driver):
    """The real window program on Qt's offscreen platform, its buttons pressed by the driver:
    Start on a battery at 5 % brings the message, and after Confirm the idle look."""
    def case(_program, mocks, scenario, errors):
        mocks.start("logind", LOGIND)
        mocks.upower(True, 5.0)
        work = mocks.work
        copy = os.path.join(work, "viruzu-fwup")
        shutil.copy2(window, copy)
        runtime = os.path.join(work, "run")
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        env = {key: value for key, value in os.environ.items()
               if key not in ("LANGUAGE", "LC_MESSAGES", "DISPLAY", "WAYLAND_DISPLAY")}
        env.update(LC_ALL="C", LANG="C", QT_QPA_PLATFORM="offscreen", XDG_RUNTIME_DIR=runtime,
                   VIRUZU_FWUP_EMULATE=scenario, LD_PRELOAD=driver,
                   FWUP_DRIVER_PRESS="Start to upgrade", FWUP_DRIVER_AWAIT=LOW_BATTERY_TEXT,
                   FWUP_DRIVER_THEN_PRESS="Confirm",
                   FWUP_DRIVER_THEN_AWAIT_IDLE="Start to upgrade", FWUP_DRIVER_TIMEOUT_S="60")
        done = subprocess.run([copy], env=env, stdin=subprocess.DEVNULL, capture_output=True,
                              text=True, timeout=100)
        output = done.stdout + done.stderr
        if done.returncode != 0:
            errors.append(f"the window program ended with status {done.returncode}")
        for line in ("window_driver: shown: " + LOW_BATTERY_TEXT,
                     "window_driver: idle: Start to upgrade"):
            if line not in output:
                errors.append(f"missing {line!r}; output: {output.strip()[-600:]}")
        log_path = os.path.join(work, "Tool.log")
        log = open(log_path, encoding="gbk", errors="replace").read() if os.path.exists(log_path) else ""
        if "Not started: the computer runs on battery at 5 %" not in log or "Will burn" in log:
            errors.append(f"Tool.log: {log!r}")
        if inhibit_calls(mocks):
            errors.append("an inhibitor was taken for a run that never started")
    return case


def no_upower(program, mocks, scenario, errors):
    mocks.start("logind", LOGIND)
    code, events, err = finish(program.start(scenario))
    if code != 0:
        errors.append(f"exit code {code}: {err.strip()}")


# --- A system bus that hangs, and interrupts while the program waits on the bus ---------------

# How long the program may take to give up on a bus that does not answer, or to act on an
# interrupt while it waits: far below the 90 s sd-bus waits on its own, far above the program's own
# bounds (5 s, and a fraction of a second), so that a loaded machine does not fail the case.
HUNG_BUS_BOUND_S = 15
INTERRUPT_BOUND_S = 3
POWER_NOT_READ_LINE = "The power state could not be read: no answer on the system bus within"
LOGIND_HUNG_LINE = NOT_HELD_LINE + "logind: no answer on the system bus within"


class SilentBus:
    """A unix socket that accepts every connection and never says a word: a system bus whose
    daemon hangs. Counts the connections it accepted."""

    def __init__(self, work):
        self.path = os.path.join(work, "silent_bus_socket")
        self.address = f"unix:path={self.path}"
        self.server = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self.server.bind(self.path)
        self.server.listen(16)
        self.server.settimeout(0.1)
        self.connections = []
        self.running = True
        self.thread = threading.Thread(target=self._accept, daemon=True)
        self.thread.start()

    def _accept(self):
        while self.running:
            try:
                connection, _ = self.server.accept()
            except socket.timeout:
                continue
            except OSError:
                return
            self.connections.append(connection)

    def wait_for_connections(self, count, timeout):
        deadline = time.monotonic() + timeout
        while len(self.connections) < count:
            if time.monotonic() > deadline:
                return False
            time.sleep(0.02)
        return True

    def close(self):
        self.running = False
        self.thread.join()
        self.server.close()
        for connection in self.connections:
            connection.close()


def with_state_file(scenario, work):
    """The scenario with a state file of the case's own: a simulated printer that took the
    package writes its new version there, so a file that is missing says nothing was flashed."""
    with open(scenario) as file:
        played = json.load(file)
    played["stateFile"] = os.path.join(work, "printer-state.json")
    path = os.path.join(work, "scenario.json")
    with open(path, "w") as file:
        json.dump(played, file)
    return path, played["stateFile"]


def hung_bus(program, mocks, scenario, errors):
    bus = SilentBus(mocks.work)
    try:
        started = time.monotonic()
        process = program.start(scenario, bus=bus.address)
        first_step = None
        for line in process.stdout:
            event = json.loads(line)
            if first_step is None and event.get("event") == "step":
                first_step = time.monotonic() - started
        code, events, err = finish(process)
        took = time.monotonic() - started
    finally:
        bus.close()
    if first_step is None or first_step > HUNG_BUS_BOUND_S:
        errors.append(f"the first printer step came after {first_step} s")
    # The power read and the inhibitor are each given up on within their bound.
    if took > 2 * HUNG_BUS_BOUND_S:
        errors.append(f"the run took {took:.1f} s")
    if code != 0:
        errors.append(f"exit code {code}: {err.strip()}")
    log = program.log_lines()
    for expected in (POWER_NOT_READ_LINE, LOGIND_HUNG_LINE):
        if sum(expected in line for line in log) != 1:
            errors.append(f"Tool.log lines with {expected!r}: {log}")


def interrupted_while(waiting):
    """SIGINT while the program waits on the bus: for the power read or for the inhibitor, on a
    bus that never answers, or for a logind that takes its time over the inhibitor. The run ends
    interrupted within a moment, and not a byte reaches the printer."""
    def case(program, mocks, scenario, errors):
        played, state_file = with_state_file(scenario, mocks.work)
        marker = os.path.join(mocks.work, "inhibit-asked")
        bus = SilentBus(mocks.work) if waiting != "slow logind" else None
        if waiting == "slow logind":
            # No template: its Inhibit answers at once. This one notes the call, then keeps the
            # caller waiting (the whole mock with it) for longer than the bound of any wait.
            mocks.start_plain(LOGIND, "/org/freedesktop/login1", LOGIND + ".Manager")
            mocks.logind().AddMethod(
                LOGIND + ".Manager", "Inhibit", "ssss", "h",
                f"open({marker!r}, 'w').close(); __import__('time').sleep(30); ret = 0",
                dbus_interface=MOCK)
        try:
            process = program.start(played, bus=bus.address if bus else None)
            if waiting == "power read":
                asked = bus.wait_for_connections(1, 10)
            elif waiting == "inhibitor on a silent bus":
                asked = bus.wait_for_connections(2, 10 + HUNG_BUS_BOUND_S)
            else:
                deadline = time.monotonic() + 30
                while not os.path.exists(marker) and time.monotonic() < deadline:
                    time.sleep(0.02)
                asked = os.path.exists(marker)
            if not asked:
                errors.append("the program never came to wait on the bus")
            time.sleep(0.3)  # well inside the wait
            signaled = time.monotonic()
            process.send_signal(signal.SIGINT)
            try:
                code, events, err = finish(process, timeout=60)
            except subprocess.TimeoutExpired:
                process.kill()
                code, events, err = finish(process)
            answered = time.monotonic() - signaled
        finally:
            if bus:
                bus.close()
        if answered > INTERRUPT_BOUND_S:
            errors.append(f"the interrupt was acted on after {answered:.1f} s")
        result = events[-1] if events else {}
        if code != 130 or result.get("result") != "interrupted":
            errors.append(f"exit code {code}, result {result}; stderr: {err.strip()}")
        # An interrupted run's line names no package and no count; a count would be one sent.
        if result.get("bytesSent", 0) != 0 or result.get("package") is not None:
            errors.append(f"something was sent: {result}")
        steps = [e["step"] for e in events if e.get("event") == "step"]
        if "transfer" in steps or (waiting == "power read" and steps):
            errors.append(f"steps taken: {steps}")
        if os.path.exists(state_file):
            errors.append("the simulated printer took the package")
        if any(NOT_HELD_LINE in line for line in program.log_lines()):
            errors.append("Tool.log speaks of a transfer that never was")
    return case


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--scenarios", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--window", help="the Qt window program, for the window's case")
    parser.add_argument("--driver", help="tests/program's window driver, preloaded into it")
    options = parser.parse_args()
    if "DBUS_SYSTEM_BUS_ADDRESS" not in os.environ:
        sys.exit("power-bus cases: DBUS_SYSTEM_BUS_ADDRESS is not set (scripts/power-bus-test.sh)")

    ready = os.path.join(options.scenarios, "one-printer-ready.json")
    slow = os.path.join(options.work, "slow-and-gone.json")
    with open(slow, "w") as file:
        json.dump(SLOW_AND_GONE, file)
    cases = [
        ("inhibitor held from the transfer to the run's end", held_around_the_transfer, slow),
        ("no logind: the run goes on, Tool.log says so", no_logind, ready),
        ("on battery at 5 %: refused, nothing sent", battery(True, 5.0, 11), ready),
        ("on battery at 60 %: goes on", battery(True, 60.0, 0), ready),
        ("on mains, battery at 5 %: goes on", battery(False, 5.0, 0), ready),
        ("on battery, no battery present: goes on", battery(True, 5.0, 0, present=False), ready),
        ("no UPower: goes on", no_upower, ready),
        ("a bus that never answers: the run goes on within seconds, Tool.log says so", hung_bus,
         ready),
        ("interrupt during the power read on a silent bus: 130, nothing sent",
         interrupted_while("power read"), ready),
        ("interrupt during the inhibitor call on a silent bus: 130, nothing sent",
         interrupted_while("inhibitor on a silent bus"), ready),
        ("interrupt while logind holds back its inhibitor: 130, nothing sent",
         interrupted_while("slow logind"), ready),
    ]
    if options.window and options.driver:
        cases.append(("window, on battery at 5 %: the message, then the idle look",
                      window_refuses(options.window, options.driver), ready))
    passed = failed = 0
    for number, (name, run, scenario) in enumerate(cases, 1):
        work = os.path.join(options.work, f"case-{number}")
        os.makedirs(work, exist_ok=True)
        program = Program(options.program, work)
        mocks = Mocks(work)
        errors = []
        try:
            run(program, mocks, scenario, errors)
        except Exception as error:  # a case that breaks is a failed case, not a stopped script
            errors.append(f"{type(error).__name__}: {error}")
        finally:
            mocks.stop()
        if errors:
            failed += 1
            print(f"FAIL {name}")
            for error in errors:
                print(f"     {error}")
        else:
            passed += 1
            print(f"ok   {name}")
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
