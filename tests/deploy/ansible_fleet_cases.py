#!/usr/bin/env python3
"""Checks the two runs of scripts/ansible-test.sh.

    ansible_fleet_cases.py FIRST AGAIN

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
    return serial in json.dumps(line)


def host_case(report, host, changed, failed, codes, summary_code, serials, history_lines):
    """Problems with one host's recap and facts, as text; empty when it is as expected."""
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
    if [p.get("exitCode") for p in printers] != codes:
        problems.append(f"printer exit codes {[p.get('exitCode') for p in printers]}, not {codes}")
    if [p.get("instanceId", "").rsplit("\\", 1)[-1] for p in printers] != serials:
        problems.append(f"printers {[p.get('instanceId') for p in printers]}, not {serials}")
    summary = got.get("viruzu_fwup_summary", {})
    if summary.get("result") != "summary" or summary.get("exitCode") != summary_code:
        problems.append(f"summary {summary}, not exit code {summary_code}")
    history = got.get("viruzu_fwup_history", [])
    if len(history) != history_lines:
        problems.append(f"{len(history)} history lines, not {history_lines}")
    strangers = [line for line in history if not any(mentions(line, s) for s in serials)]
    if strangers:
        problems.append(f"history lines of another host: {strangers}")
    return problems


def main():
    first, again = load(sys.argv[1]), load(sys.argv[2])
    cases = [
        ("office-a: two printers upgraded, changed", first, "office-a",
         dict(changed=True, failed=False, codes=[0, 0], summary_code=0,
              serials=["SER0001", "SER0002"], history_lines=2)),
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
    passed = failed = 0
    for name, report, host, expected in cases:
        problems = host_case(report, host, **expected)
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
