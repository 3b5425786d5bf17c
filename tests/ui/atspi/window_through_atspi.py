#!/usr/bin/python3
"""The window program as a screen reader meets it, through the real accessibility bus.

Run by scripts/atspi-test.sh, which starts Xvfb, a private session bus and at-spi2-core's bus
before it:

    /usr/bin/python3 window_through_atspi.py PROGRAM SCENARIO_DIR

Each case starts the real program against a simulated printer with Qt's accessibility on, reads
the tree of roles, names, states and values the program exposes, and drives it with the keyboard
alone (xdotool's key events into the focused window; nothing is clicked). The last line is
"N passed, N failed".
"""

import glob
import json
import os
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

PROGRAM, SCENARIOS = sys.argv[1], sys.argv[2]
LANGUAGES = ["en", "it", "tr", "ru", "he", "zh", "de", "fr", "es", "pt", "pl", "ja", "ko", "zh_TW",
             "ar", "uk", "cs", "nl", "sv", "hu", "el", "ro", "vi", "id"]

TITLE = "Viruzu  Firmware Upgrade Tool \u2014 simulated printers"
TITLES_HEARD = {}
TRANSMITTING = "The data is being transmitted, please wait\u2026"
SUCCEEDED = "The firmware upgrade is successful."
FAILED = "The firmware upgrade is failed."
KEEP_POWER_ON = "Please do not turn off the printer before upgrading."
NEW_DRIVER = ("The printer shall be used with the new driver after the firmware upgrade, please "
              "check the operation guide for upgrade tools.")
RETRY = ("Please restart the printer to upgrade again, or contact the Viruzu customer service "
         "staff.")
NOT_READY = ("If the printer is not ready, please reset the printer to the ready or sleep state, "
             "and rerun the upgrade tool.")
SAME_VERSION = ("The current firmware version of the printer is the same with the version to be "
                "upgraded to")

PRINTER_CHOSEN = "Printer to upgrade:"
PRINTERS_CHOOSE = "Several printers are attached. Choose the one to upgrade:"
PRINTERS_NONE = ("No supported printer is attached. Turn the printer on and connect it with a USB "
                 "cable.")
FOLLOW_WAITING = ("Waiting for the printer to restart on the new firmware. Do not turn it off. "
                  "Waited:")
FOLLOW_CURRENT = "The printer has restarted and runs the new firmware: V2.10.9"
FOLLOW_NOT_TAKEN = ("The printer restarted but did not take the new firmware. It runs version: "
                    "V2.10.8")
FIGURES = re.compile(r"^\d+ / \d+ bytes   [\d.]+ kB/s   Time left: \d+:\d\d$")
HISTORY = os.environ.get("VIRUZU_FWUP_HISTORY_DIR", "")

# Parts of a control rather than controls a user meets: the tips box's scroll bars and their frames.
PARTS = {"filler", "scroll bar"}
STATES = {pyatspi.STATE_FOCUSED: "focused", pyatspi.STATE_IS_DEFAULT: "default",
          pyatspi.STATE_ENABLED: "enabled", pyatspi.STATE_FOCUSABLE: "focusable"}

events = []


def on_event(event):
    try:
        events.append((event.type, event.source.getRoleName(), event.source.name,
                       event.any_data if isinstance(event.any_data, (str, int, float)) else None))
    except Exception:  # a source already gone says nothing worth keeping
        pass


pyatspi.Registry.registerEventListener(
    on_event, "object:property-change:accessible-value", "object:property-change:accessible-name",
    "object:property-change:accessible-description", "object:state-changed:focused")


def pump(seconds):
    """Lets the bus deliver its events for `seconds`."""
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        while context.iteration(False):
            pass
        time.sleep(0.02)


def wait_for(predicate, timeout):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        try:
            result = predicate()
        except Exception:  # the tree changes under us while the window redraws
            result = None
        if result:
            return result
        pump(0.05)
    return None


class Node:
    def __init__(self, accessible):
        self.role = accessible.getRoleName()
        self.name = accessible.name or ""
        self.description = accessible.description or ""
        states = accessible.getState()
        self.showing = states.contains(pyatspi.STATE_SHOWING)
        self.states = {word for state, word in STATES.items() if states.contains(state)}
        self.value = None
        try:
            self.value = accessible.queryValue()
            self.value = (self.value.currentValue, self.value.minimumValue, self.value.maximumValue)
        except NotImplementedError:
            self.value = None
        self.text = None
        try:
            text = accessible.queryText()
            self.text = text.getText(0, text.characterCount)
        except NotImplementedError:
            pass

    def __repr__(self):
        return f"{self.role} {self.name!r} {sorted(self.states)} {self.value or ''}"


def windows(app):
    """The top-level windows of the program, each with its showing controls."""
    found = []
    for i in range(app.childCount):
        window = app.getChildAtIndex(i)
        if window is None or not window.getState().contains(pyatspi.STATE_SHOWING):
            continue
        controls = []

        # A hidden control's children may still call themselves showing (the printer list's item).
        def walk(accessible):
            for j in range(accessible.childCount):
                child = accessible.getChildAtIndex(j)
                if child is None:
                    continue
                node = Node(child)
                if not node.showing:
                    continue
                if node.role not in PARTS:
                    controls.append(node)
                walk(child)

        walk(window)
        found.append((Node(window), controls))
    return found


def focused_anywhere(app):
    """Every control of the program with the focus, hidden ones included."""
    found = []

    def walk(accessible):
        for j in range(accessible.childCount):
            child = accessible.getChildAtIndex(j)
            if child is not None:
                if child.getState().contains(pyatspi.STATE_FOCUSED):
                    found.append(Node(child))
                walk(child)

    walk(app)
    return found


class Program:
    def __init__(self, language, scenario):
        env = dict(os.environ, LANGUAGE=language, LC_ALL="C.UTF-8",
                   VIRUZU_FWUP_EMULATE=os.path.join(SCENARIOS, scenario),
                   QT_ACCESSIBILITY="1", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   QT_QPA_PLATFORM="xcb")
        self.process = subprocess.Popen([PROGRAM], env=env, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        self.app = wait_for(self.find_app, 20)
        self.xid = wait_for(self.find_window, 10)
        self.focused = False

    def find_app(self):
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.get_process_id() == self.process.pid and windows(app):
                return app
        return None

    def find_window(self):
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid",
                              str(self.process.pid)], capture_output=True, text=True).stdout
        return out.split()[0] if out.split() else None

    def look(self):
        return windows(self.app) if self.app else []

    def key(self, name):
        """One key into the window that has the keyboard, as a keyboard gives it. Without a window
        manager nobody gives the main window the keyboard at first; after that the program moves
        it itself (to the message dialog and back)."""
        if not self.focused:
            subprocess.run(["xdotool", "windowfocus", "--sync", self.xid], check=False,
                           capture_output=True)
            self.focused = True
        subprocess.run(["xdotool", "key", "--clearmodifiers", name], check=True)

    def wait_end(self, timeout):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def start_upgrade(self, key):
        """Waits for the idle look and presses `key` on Start, which has the focus."""
        main_look(self, lambda c: one(c, "push button", "Start to upgrade"))
        self.key(key)

    def __enter__(self):
        return self

    def __exit__(self, *_):
        if self.process.poll() is None:
            self.process.terminate()
            if self.wait_end(10) is None:
                self.process.kill()
                self.process.wait()


passed = 0
failed = 0


def case(name, body):
    global passed, failed
    problems = []
    events.clear()
    try:
        body(problems)
    except Exception as error:  # a case that breaks is a failed case, and the next one still runs
        problems.append(f"{type(error).__name__}: {error}")
    if problems:
        failed += 1
        print(f"FAIL {name}")
        for problem in problems:
            print(f"     {problem}")
    else:
        passed += 1
        print(f"ok   {name}")


def expect(problems, condition, what):
    if not condition:
        problems.append(what)
    return condition


def one(controls, role, name=None):
    return next((c for c in controls if c.role == role and (name is None or c.name == name)), None)


def check_named(problems, controls):
    for control in controls:
        expect(problems, control.name.strip(), f"no name: {control}")
        # The marks that make a Hebrew line read right to left are for the drawing, not to be heard.
        expect(problems, not any(mark in control.name for mark in "\u200e\u200f\u202b\u202c"),
               f"direction marks in the name: {control}")


def main_look(program, predicate, timeout=30):
    """The main window's controls once `predicate` holds for them."""
    def ready():
        looks = program.look()
        return looks and predicate(looks[0][1]) and looks
    return wait_for(ready, timeout)


def idle_case(language):
    def body(problems):
        with Program(language, "one-printer-ready.json") as program:
            looks = main_look(program, lambda c: any("focused" in n.states for n in c))
            if not expect(problems, looks, "the idle window never showed a focused control"):
                return
            window, controls = looks[0]
            expect(problems, window.role in ("dialog", "frame") and window.name.strip(),
                   f"window: {window}")
            # Each language is heard in its own words: no two languages share a title.
            expect(problems, window.name not in TITLES_HEARD.values(),
                   f"the title of another language: {window.name}")
            TITLES_HEARD[language] = window.name
            buttons = [c for c in controls if c.role == "push button"]
            expect(problems, len(buttons) == 1 and "focused" in buttons[0].states,
                   f"Start alone and focused: {buttons}")
            tips = one(controls, "text")
            expect(problems, tips and tips.name and tips.text and tips.text.startswith(tips.name),
                   f"tips box named by its heading: {tips}")
            expect(problems, one(controls, "label"), f"the notice: {controls}")
            check_named(problems, controls)
            if language == "en":
                expect(problems, window.name == TITLE, f"title: {window.name!r}")
                expect(problems, buttons and buttons[0].name == "Start to upgrade", f"{buttons}")
                expect(problems, tips and tips.name == "Tips", f"{tips}")
    return body


def final_checks(problems, controls, result, message, exit_caption):
    exit_button = one(controls, "push button")
    expect(problems, exit_button and exit_button.name == exit_caption
           and "focused" in exit_button.states, f"{exit_caption} focused: {exit_button}")
    spoken = (result + " " if result else "") + message + " Printer: "
    expect(problems, exit_button and exit_button.description.startswith(spoken),
           f"{exit_caption} describes the ending: {exit_button and exit_button.description!r}")
    labels = [c.name for c in controls if c.role == "label"]
    if result:
        expect(problems, result in labels, f"result line {result!r} in {labels}")
        picture = one(controls, "image")
        expect(problems, picture and picture.name == result, f"picture named by it: {picture}")
    else:
        expect(problems, not one(controls, "image"), "no picture in the not-ready look")
    check_named(problems, controls)


def ending_case(scenario, result, message, exit_caption):
    def body(problems):
        with Program("en", scenario) as program:
            program.start_upgrade("Return")
            looks = main_look(program, lambda c: one(c, "push button", exit_caption), 60)
            if not expect(problems, looks, f"no final look with {exit_caption!r}"):
                return
            final_checks(problems, looks[0][1], result, message, exit_caption)
            pump(0.3)
            if result:
                expect(problems, any(e[0].endswith("accessible-name") and e[2] == result
                                     for e in events), "the result line's change was not told")
    return body


def transfer_case(problems):
    with Program("en", "slow-link.json") as program:
        program.start_upgrade("Return")

        def bar_value():
            looks = program.look()
            bar = looks and one(looks[0][1], "progress bar")
            return bar and bar.value and bar.value[0] > 1 and looks
        looks = wait_for(bar_value, 30)
        if not expect(problems, looks, "no progress bar with a value above 1"):
            return
        window, controls = looks[0]
        bar = one(controls, "progress bar")
        expect(problems, bar.name == TRANSMITTING + " Printer: Viruzu TQ3800HKR Series, serial "
               "SER0001 Firmware: V2.10.8 \u2192 V2.10.9",
               f"bar named by the status line and the printer: {bar}")
        expect(problems, bar.value[1] == 1 and bar.value[2] == 100, f"bar bounds: {bar.value}")
        expect(problems, one(controls, "label", TRANSMITTING), f"status line: {controls}")
        expect(problems, not one(controls, "push button"), f"no button while sending: {controls}")
        # A hidden Start must not hand the focus on to another hidden control a reader announces.
        focused = focused_anywhere(program.app)
        expect(problems, not focused, f"focus while sending: {focused}")
        first = bar.value[0]
        later = wait_for(lambda: (lambda b: b and b.value[0] > first and b)(
            one(program.look()[0][1], "progress bar")), 30)
        expect(problems, later, f"the value never rose above {first}")
        expect(problems, any(e[0].endswith("accessible-value") and e[1] == "progress bar"
                             for e in events), "no value change was told")
        # The printer, its firmware from and to, and the figures as the console program has them.
        labels = [c.name for c in program.look()[0][1] if c.role == "label"]
        expect(problems, any(name.startswith("Printer: Viruzu TQ3800HKR Series, serial SER0001")
                             for name in labels), f"the printer is named: {labels}")
        figures = wait_for(lambda: [n for n in (c.name for c in program.look()[0][1])
                                    if FIGURES.match(n)], 10)
        expect(problems, figures, f"no bytes, rate and time left: {labels}")


def question_case(problems):
    with Program("en", "same-version.json") as program:
        program.start_upgrade("Return")
        dialog = wait_for(lambda: len(program.look()) == 2 and program.look(), 30)
        if not expect(problems, dialog, "no question dialog"):
            return
        question = [w for w in dialog if one(w[1], "push button", "No")]
        if not expect(problems, question, f"no dialog with No: {dialog}"):
            return
        window, controls = question[0]
        expect(problems, window.name == "Viruzu  Firmware Upgrade Tool", f"dialog name: {window}")
        expect(problems, window.description == SAME_VERSION, f"dialog description: {window}")
        expect(problems, one(controls, "label", SAME_VERSION), f"message: {controls}")
        no, yes = one(controls, "push button", "No"), one(controls, "push button", "Yes")
        expect(problems, no and {"focused", "default"} <= no.states, f"No focused, default: {no}")
        expect(problems, yes and "default" not in yes.states, f"Yes: {yes}")
        expect(problems, not one(controls, "push button", "Confirm"), f"{controls}")
        check_named(problems, controls)
        # Escape answers No: the run stops and the window is idle again with Start focused.
        program.key("Escape")
        back = main_look(program, lambda c: (lambda s: s and "focused" in s.states)(
            one(c, "push button", "Start to upgrade")) and len(program.look()) == 1, 30)
        expect(problems, back, f"Escape did not bring back the idle look: {program.look()}")


def keyboard_run_case(problems):
    """Start to the success look and out again, with the keyboard alone."""
    with Program("en", "one-printer-ready.json") as program:
        # Tab goes from Start to the tips box and back.
        for key, role in (("Tab", "text"), ("Tab", "push button")):
            program.key(key)
            expect(problems, main_look(program, lambda c, role=role: any(
                n.role == role and "focused" in n.states for n in c), 10),
                f"{key} did not move the focus to the {role}")
        program.start_upgrade("space")
        looks = main_look(program, lambda c: one(c, "push button", "Complete"), 60)
        if not expect(problems, looks, "no success look"):
            return
        final_checks(problems, looks[0][1], SUCCEEDED, KEEP_POWER_ON + " " + NEW_DRIVER,
                     "Complete")
        program.key("Return")
        status = program.wait_end(15)
        expect(problems, status == 0, f"Return on Complete: the program ended with {status}")


def combo(controls):
    return one(controls, "combo box")


def history_records():
    records = []
    for path in glob.glob(os.path.join(HISTORY, "*.jsonl")):
        with open(path, encoding="utf-8") as lines:
            records += [json.loads(line) for line in lines if line.strip()]
    return records


def choice_case(problems):
    """Two printers: none is upgraded until one is picked; the picked second one and only it
    receives the firmware, and the window then follows it back on the new version."""
    before = len(history_records())
    with Program("en", "two-printers-second-comes-back.json") as program:
        looks = main_look(program, lambda c: combo(c) and "focused" in combo(c).states, 20)
        if not expect(problems, looks, f"the list never took the keyboard: {program.look()}"):
            return
        controls = looks[0][1]
        box = combo(controls)
        expect(problems, box.name == PRINTERS_CHOOSE, f"list named by the line: {box}")
        expect(problems, box.description == "Printers attached: 2", f"{box.description!r}")
        start = one(controls, "push button", "Start to upgrade")
        expect(problems, start and "enabled" not in start.states, f"Start waits: {start}")
        check_named(problems, controls)
        # Return on the list is no choice: nothing starts.
        program.key("Return")
        pump(1)
        expect(problems, not history_records()[before:], "a run began without a choice")
        program.key("Down")
        program.key("Down")
        chosen = main_look(program, lambda c: (lambda s: s and "enabled" in s.states)(
            one(c, "push button", "Start to upgrade")), 10)
        if not expect(problems, chosen, "picking a printer did not enable Start"):
            return
        program.key("Tab")
        expect(problems, main_look(program, lambda c: (lambda s: s and "focused" in s.states)(
            one(c, "push button", "Start to upgrade")), 10), "Tab from the list is not Start")
        program.key("Return")
        looks = main_look(program, lambda c: one(c, "label", FOLLOW_CURRENT), 60)
        if not expect(problems, looks, f"never back on the new version: {program.look()}"):
            return
        labels = [c.name for c in looks[0][1] if c.role == "label"]
        expect(problems, any(n.startswith("Printer: Viruzu TQ3800HKS Series, serial SER0002")
                             for n in labels), f"the final look names the printer: {labels}")
        exit_button = one(looks[0][1], "push button", "Complete")
        expect(problems, exit_button and FOLLOW_CURRENT in exit_button.description,
               f"the verdict is told: {exit_button}")
        program.key("Return")
        expect(problems, program.wait_end(15) == 0, "Complete did not end the program")
    records = history_records()[before:]
    expect(problems, len(records) == 1 and records[0].get("instanceId")
           == "USB\\VID_5A7C&PID_B102\\SER0002" and records[0].get("versionAfter") == "same",
           f"one record, of the second printer, back on the package: {records}")


def attached(controls, line, count):
    """The printer line says `line` and the list's description counts `count` printers."""
    box = combo(controls)
    return (one(controls, "label", line) and box
            and box.description == f"Printers attached: {count}")


def arrivals_case(problems):
    """Plugged in and pulled at idle, seen in the list within two seconds of the event (the
    scenario's second printer comes after 3 s, its first leaves after 8 s)."""
    with Program("en", "printer-comes-and-goes-idle.json") as program:
        first = main_look(program, lambda c: attached(c, PRINTER_CHOSEN, 1))
        if not expect(problems, first, f"one printer first: {program.look()}"):
            return
        # Qt names a list by the entry it shows: the one printer, by model, port and serial.
        box = combo(first[0][1])
        expect(problems, box.name.startswith("Viruzu TQ3800HK") and ", serial " in box.name,
               f"the printer's entry: {box}")
        two = main_look(program, lambda c: attached(c, PRINTERS_CHOOSE, 2), 10)
        expect(problems, two, f"the second printer never showed: {program.look()}")
        expect(problems, any(e[0].endswith("accessible-description") and
                             e[3] == "Printers attached: 2" for e in events)
               or any(e[0].endswith("accessible-name") and e[2] == PRINTERS_CHOOSE
                      for e in events), "the change of the list was not told")
        start = two and one(two[0][1], "push button", "Start to upgrade")
        expect(problems, start and "enabled" not in start.states, f"Start waits: {start}")
        back_to_one = main_look(program, lambda c: attached(c, PRINTER_CHOSEN, 1), 15)
        expect(problems, back_to_one, f"the first printer never left: {program.look()}")


def follow_case(scenario, label, result, exit_caption):
    def body(problems):
        with Program("en", scenario) as program:
            program.start_upgrade("Return")
            waiting = main_look(program, lambda c: any(
                n.role == "label" and n.name.startswith(FOLLOW_WAITING) for n in c), 60)
            expect(problems, waiting, f"no waiting line: {program.look()}")
            # The line, and the button that has the focus telling it (a description reaches the
            # bus a moment after the text).
            looks = main_look(program, lambda c: one(c, "label", label) and (
                lambda b: b and label in b.description)(one(c, "push button", exit_caption)), 60)
            if not expect(problems, looks, f"no {label!r} told: {program.look()}"):
                return
            controls = looks[0][1]
            expect(problems, one(controls, "label", result), f"result {result!r}: {controls}")
            exit_button = one(controls, "push button", exit_caption)
            expect(problems, exit_button and "focused" in exit_button.states
                   and label in exit_button.description, f"told from {exit_caption}: {exit_button}")
    return body


CASES = [(f"idle look, {code}", idle_case(code)) for code in LANGUAGES] + [
    ("two printers: none until picked, the picked one alone upgraded and followed", choice_case),
    ("plugged in and pulled at idle: the list follows", arrivals_case),
    ("after the flash: back on the package's version",
     follow_case("flash-comes-back-upgraded.json", FOLLOW_CURRENT, SUCCEEDED, "Complete")),
    ("after the flash: back on the old version is a failure",
     follow_case("flash-comes-back-unchanged.json", FOLLOW_NOT_TAKEN, FAILED, "Exit")),
    ("transfer look: the bar is named and its value rises", transfer_case),
    ("question: No focused and default, Escape is No", question_case),
    ("failure look", ending_case("burn-channel-refused.json", FAILED, RETRY, "Exit")),
    ("not-ready look", ending_case("not-ready.json", "", NOT_READY, "Exit")),
    ("keyboard alone: Space on Start, success, Return on Complete", keyboard_run_case),
]
# A third argument runs only the cases whose names hold it.
for name, body in CASES:
    if len(sys.argv) < 4 or sys.argv[3] in name:
        case(name, body)
print(f"{passed} passed, {failed} failed")
sys.exit(1 if failed else 0)
