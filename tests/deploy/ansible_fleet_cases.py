#!/usr/bin/env python3
"""Checks the two runs of scripts/ansible-test.sh.

    ansible_fleet_cases.py FIRST AGAIN HOSTILE_AGAIN PARALLEL_AGAIN

Each run is FIRST.out (ansible-playbook's output, whose PLAY RECAP gives each host's changed and
failed counts) and FIRST-facts/ (the jsonfile fact cache: what the role registered per host, each
printer's result, the run's summary and the host's history). Prints one line per case, then
"N passed, N failed"; exits 1 when a case failed.
"""

import json
import os
import re
import sys

RECAP_LINE = re.compile(r"^(\S+)\s+:\s+((?:\w+=\d+\s*)+)$")


def load(run):
    """The run's recap per host ({"changed": 1, "failed": 0, ...}) and its fact cache per host."""
    stats = {}
    with open(run + ".out", encoding="utf-8", errors="replace") as f:
        in_recap = False
        for line in f:
            in_recap = in_recap or line.startswith("PLAY RECAP")
            match = RECAP_LINE.match(line.strip()) if in_recap else None
            if match:
                stats[match.group(1)] = {k: int(v) for k, v in
                                         (pair.split("=") for pair in match.group(2).split())}
    facts = {}
    folder = run + "-facts"
    for host in os.listdir(folder) if os.path.isdir(folder) else []:
        with open(os.path.join(folder, host), encoding="utf-8") as f:
            facts[host] = json.load(f)
    return {"stats": stats, "facts": facts}


def facts(report, host):
    return report["facts"].get(host, {})


def mentions(line, serial):
    return serial in json.dumps(line) or serial in str(line.get("instanceId"))


def host_case(report, host, changed, failed, codes, summary_code, serials, history_lines,
              parallel=None):
    """Problems with one host's recap and facts, as text; empty when it is as expected.

    parallel: the --parallel arguments the run must have had ([] for none). Parallel runs hand
    back their results in the order they ended, so those are compared in port order.
    """
    problems = []
    stats = report["stats"].get(host)
    if stats is None:
        return [f"no recap for {host}"]
    if (stats["changed"] > 0) != changed:
        problems.append(f"recap changed={stats['changed']}")
    if (stats["failed"] > 0) != failed:
        problems.append(f"recap failed={stats['failed']}")
    got = facts(report, host)
    printers = got.get("viruzu_fwup_printers", [])
    if parallel:
        printers = sorted(printers, key=lambda p: str(p.get("port")))
    command = got.get("viruzu_fwup_command", [])
    given = command[command.index("--parallel"):] if "--parallel" in command else []
    if parallel is not None and given != parallel:
        problems.append(f"command {command}, not with {parallel or 'no --parallel'}")
    if [p.get("exitCode") for p in printers] != codes:
        problems.append(f"printer exit codes {[p.get('exitCode') for p in printers]}, not {codes}")
    if [p.get("instanceId", "").rsplit("\\", 1)[-1] for p in printers] != serials:
        problems.append(f"printers {[p.get('instanceId') for p in printers]}, not {serials}")
    summary = got.get("viruzu_fwup_summary", {})
    if summary.get("result") != "summary" or summary.get("exitCode") != summary_code:
        problems.append(f"summary {summary}, not exit code {summary_code}")
    if parallel and [p.get("exitCode") for p in summary.get("printers", [])] != codes:
        problems.append(f"summary's printers {summary.get('printers')}, not {codes}")
    history = got.get("viruzu_fwup_history", [])
    if len(history) != history_lines:
        problems.append(f"{len(history)} history lines, not {history_lines}")
    strangers = [line for line in history if not any(mentions(line, s) for s in serials)]
    if strangers:
        problems.append(f"history lines of another host: {strangers}")
    return problems


# office-hostile's printer, as its scenario gives it: each string must come back whole, never cut
# at a line separator nor evaluated as a template.
HOSTILE_ID = ("USB\\VID_5A7C&PID_B101\\SER\u001b[31m\u009b\u202e\u2066\u2028\u0085\u2029"
              "{{ 7 * 7 }}")
HOSTILE_VERSION = "V2.10.8\u001b]0;owned\u0007\u009b\u202e\u2028\u0085\u2029{{ 6 * 7 }}"


def hostile_strings(report):
    """Problems with the strings office-hostile's facts give back."""
    got = facts(report, "office-hostile")
    ids = [p.get("instanceId") for p in got.get("viruzu_fwup_printers", [])]
    history = got.get("viruzu_fwup_history", [])
    problems = [f"printer instance IDs {ids!r}"] if ids != [HOSTILE_ID] else []
    if not history or history[0].get("versionText") != HOSTILE_VERSION:
        problems.append(f"first record's version {history[:1]!r}")
    return problems


def main():
    first, again = load(sys.argv[1]), load(sys.argv[2])
    hostile_again, parallel_again = load(sys.argv[3]), load(sys.argv[4])
    cases = [
        ("office-a: two printers upgraded, changed", first, "office-a",
         dict(changed=True, failed=False, codes=[0, 0], summary_code=0,
              serials=["SER0001", "SER0002"], history_lines=2, parallel=[])),
        ("office-b: already current, ok", first, "office-b",
         dict(changed=False, failed=False, codes=[6], summary_code=0,
              serials=["SER0101"], history_lines=1)),
        ("office-c: printer pulled mid-transfer, failed", first, "office-c",
         dict(changed=False, failed=True, codes=[9], summary_code=13,
              serials=["SER0201"], history_lines=1)),
        ("office-a again: new version reported, ok and unchanged", again, "office-a",
         dict(changed=False, failed=False, codes=[6, 6], summary_code=0,
              serials=["SER0001", "SER0002"], history_lines=4)),
    ]
    # Three printers take the package at once and remember it: every one is current next time.
    parallel_serials = ["SER0301", "SER0302", "SER0303", "SER0304"]
    cases += [
        ("office-parallel: --parallel 3, three upgraded and one current, changed", first,
         "office-parallel", dict(changed=True, failed=False, codes=[0, 0, 6, 0], summary_code=0,
                                 serials=parallel_serials, history_lines=4,
                                 parallel=["--parallel", "3"])),
        ("office-parallel again with -e true: --parallel, all four current, ok", parallel_again,
         "office-parallel", dict(changed=False, failed=False, codes=[6, 6, 6, 6], summary_code=0,
                                 serials=parallel_serials, history_lines=8,
                                 parallel=["--parallel"])),
    ]
    hostile_serial = HOSTILE_ID.rsplit("\\", 1)[-1]
    cases += [
        ("office-hostile: printer strings that act, upgraded, changed", first, "office-hostile",
         dict(changed=True, failed=False, codes=[0], summary_code=0, serials=[hostile_serial],
              history_lines=1)),
        ("office-hostile again: current, ok, its first record kept", hostile_again,
         "office-hostile", dict(changed=False, failed=False, codes=[6], summary_code=0,
                                serials=[hostile_serial], history_lines=2)),
    ]
    passed = failed = 0
    for name, report, host, expected in cases:
        problems = host_case(report, host, **expected)
        if host == "office-hostile":
            problems += hostile_strings(report)
        if name.startswith("office-a again") and set(report["stats"]) != {"office-a"}:
            problems.append(f"hosts run: {sorted(report['stats'])}")
        print(f"{'ok  ' if not problems else 'FAIL'} {name}" +
              ("" if not problems else ": " + "; ".join(problems)))
        passed += not problems
        failed += bool(problems)
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
