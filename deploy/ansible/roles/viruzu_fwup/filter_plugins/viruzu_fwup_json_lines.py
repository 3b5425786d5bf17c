"""The console program's --json output read as the program writes it: one JSON object per line,
lines ended by "\n" alone.

Ansible's stdout_lines (Python's splitlines) also cuts at U+2028, U+2029, U+0085 and other
characters a printer may send in its version or serial; a piece that is no JSON would fail the
host. Here a line that does not parse is left out (the run is judged by its exit code and its
summary line), and every string read is marked unsafe, so that braces a printer sends are never
taken for a template.
"""

import json

try:
    from ansible.utils.unsafe_proxy import wrap_var
except ImportError:  # outside Ansible, e.g. a unit check
    def wrap_var(value):
        return value


def viruzu_fwup_json_lines(stdout):
    """The objects of the JSON lines in `stdout`, in order."""
    objects = []
    for line in str(stdout or "").split("\n"):
        if not line.lstrip().startswith("{"):
            continue
        try:
            value = json.loads(line)
        except ValueError:
            continue
        if isinstance(value, dict):
            objects.append(wrap_var(value))
    return objects


class FilterModule:
    def filters(self):
        return {"viruzu_fwup_json_lines": viruzu_fwup_json_lines}
