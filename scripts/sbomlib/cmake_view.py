"""What CMake knows about how the programs were built, read through its file API."""

import glob
import json
import os

from .release import run

QUERIES = ("codemodel-v2", "toolchains-v1", "cache-v2")


def _reply(tree, kind):
    index = max(glob.glob(os.path.join(tree, ".cmake/api/v1/reply/index-*.json")),
                key=os.path.getmtime)
    with open(index) as f:
        objects = json.load(f)["objects"]
    for entry in objects:
        if entry["kind"] == kind:
            with open(os.path.join(tree, ".cmake/api/v1/reply", entry["jsonFile"])) as f:
                return json.load(f)
    raise SystemExit(f"sbom: no {kind} reply in {tree}")


def _fresh_reply(tree):
    indexes = glob.glob(os.path.join(tree, ".cmake/api/v1/reply/index-*.json"))
    ninja = os.path.join(tree, "build.ninja")
    if not indexes or not os.path.exists(ninja):
        return False
    have = _reply_kinds(max(indexes, key=os.path.getmtime))
    return (max(os.path.getmtime(i) for i in indexes) >= os.path.getmtime(ninja)
            and all(q.split("-v")[0] in have for q in QUERIES))


def _reply_kinds(index):
    with open(index) as f:
        return {entry["kind"] for entry in json.load(f)["objects"]}


class BuildTree:
    """One configured build tree (build/linux or build/windows)."""

    def __init__(self, tree):
        self.tree = os.path.realpath(tree)
        query = os.path.join(self.tree, ".cmake/api/v1/query")
        os.makedirs(query, exist_ok=True)
        for name in QUERIES:
            open(os.path.join(query, name), "a").close()
        # Every configure run writes the reply, the ones ninja starts included: one at least as new
        # as build.ninja is the tree's; otherwise configure again to get it.
        if not _fresh_reply(self.tree):
            run("cmake", self.tree)
        self.cache = {e["name"]: e["value"] for e in _reply(self.tree, "cache")["entries"]}
        self.source = os.path.realpath(self.cache["CMAKE_HOME_DIRECTORY"])
        cxx = [t for t in _reply(self.tree, "toolchains")["toolchains"] if t["language"] == "CXX"]
        self.compiler = cxx[0]["compiler"]
        codemodel = _reply(self.tree, "codemodel")
        config = codemodel["configurations"][0]
        self.targets = {}
        for ref in config["targets"]:
            with open(os.path.join(self.tree, ".cmake/api/v1/reply", ref["jsonFile"])) as f:
                target = json.load(f)
            self.targets[target["id"]] = target

    def target_for(self, file_name):
        """The executable target whose artifact has this file name."""
        for target in self.targets.values():
            if target["type"] == "EXECUTABLE" and any(
                    os.path.basename(a["path"]) == file_name for a in target.get("artifacts", [])):
                return target
        raise SystemExit(f"sbom: no target in {self.tree} makes {file_name}")

    def _with_dependencies(self, target):
        seen, todo = [], [target["id"]]
        while todo:
            current = todo.pop()
            if current in seen or current not in self.targets:
                continue
            seen.append(current)
            todo.extend(d["id"] for d in self.targets[current].get("dependencies", []))
        return [self.targets[t] for t in sorted(seen)]

    def include_dirs(self, target):
        """Every include directory the program's own sources and its libraries compiled with."""
        dirs = set()
        for t in self._with_dependencies(target):
            for group in t.get("compileGroups", []):
                dirs.update(os.path.realpath(i["path"]) for i in group.get("includes", []))
        return sorted(dirs)

    def inside(self, path, folder):
        return path == folder or path.startswith(folder + os.sep)

    def static_archives(self, target):
        """The archives outside the build tree the program's link took code from: those CMake
        names, and the compiler's own libraries, resolved as the linker would for this link's
        flags (-static, -static-libgcc, -static-libstdc++)."""
        fragments = target.get("link", {}).get("commandFragments", [])
        flags = " ".join(f["fragment"] for f in fragments if f["role"] != "libraries").split()
        static = "-static" in flags
        implicit = self.compiler.get("implicit", {})
        dirs = [f[2:] for f in flags if f.startswith("-L")] + implicit.get("linkDirectories", [])
        names, archives = [], []
        for fragment in (f["fragment"] for f in fragments if f["role"] == "libraries"):
            for word in fragment.split():
                if word.startswith("-l"):
                    names.append(word[2:])
                elif os.path.isabs(word) and not self.inside(word, self.tree):
                    if word.endswith(".a") and not word.endswith(".dll.a"):
                        archives.append(word)
        names += implicit.get("linkLibraries", [])
        for name in dict.fromkeys(names):
            if name == "gcc_s" and (static or "-static-libgcc" in flags):
                name = "gcc_eh"
            only_static = static or (name == "stdc++" and "-static-libstdc++" in flags)
            found = self._find_library(name, dirs, only_static)
            if found and found.endswith(".a") and not found.endswith(".dll.a"):
                archives.append(found)
        return sorted(set(os.path.realpath(a) for a in archives))

    def _find_library(self, name, dirs, only_static):
        shared = [] if only_static else [f"lib{name}.so", f"lib{name}.dll.a"]
        for d in dirs:
            for candidate in shared + [f"lib{name}.a"]:
                path = os.path.join(d, candidate)
                if os.path.exists(path):
                    return path
        return None
