"""Prints the kernel modules named on the command line, each after the modules it needs, as
modules.dep of the modules folder lists them: the order the stand's guest loads them in.

    module-load-order.py MODULES_DIR NAME...
"""
import os
import sys


def main() -> None:
    base, wanted = sys.argv[1], sys.argv[2:]
    deps = {}
    with open(os.path.join(base, "modules.dep")) as dep_file:
        for line in dep_file:
            module, _, needs = line.partition(":")
            deps[module] = needs.split()
    # modules.dep names files; the stand names modules, which may spell "-" as "_".
    by_name = {os.path.basename(m).split(".ko")[0].replace("-", "_"): m for m in deps}
    order = []

    def add(module: str) -> None:
        for need in deps[module]:
            add(need)
        if module not in order:
            order.append(module)

    for name in wanted:
        add(by_name[name.replace("-", "_")])
    print("\n".join(order))


main()
