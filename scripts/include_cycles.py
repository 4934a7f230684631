#!/usr/bin/env python3
"""Prints the include graph of a source folder and every cycle in it.

A header and the .cpp of the same name count as one unit, so a unit depends
on whatever either of its files includes with #include "...". Only units of
the folder appear; includes that leave it are not followed.

    scripts/include_cycles.py                 # src/tablebase, file units
    scripts/include_cycles.py src/board
    scripts/include_cycles.py --folders src   # each folder of src/ one unit

Exits with status 1 when there is a cycle, 0 otherwise.
"""

import argparse
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)
SOURCE_SUFFIXES = (".h", ".cpp")


def includes_of(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        return INCLUDE.findall(f.read())


def resolve(include, including_file, root):
    """Path of an included file, looked up beside the including file, then under root."""
    for base in (os.path.dirname(including_file), root):
        candidate = os.path.normpath(os.path.join(base, include))
        if os.path.isfile(candidate):
            return candidate
    return None


def file_unit_graph(folder, root):
    """Units named by file stem; edges to other units of the same folder."""
    graph = {}
    for name in sorted(os.listdir(folder)):
        stem, suffix = os.path.splitext(name)
        if suffix not in SOURCE_SUFFIXES:
            continue
        path = os.path.join(folder, name)
        deps = graph.setdefault(stem, set())
        for include in includes_of(path):
            target = resolve(include, path, root)
            if target and os.path.dirname(target) == os.path.normpath(folder):
                target_stem = os.path.splitext(os.path.basename(target))[0]
                if target_stem != stem:
                    deps.add(target_stem)
    return graph


def folder_unit_graph(root):
    """Units named by the folders directly under root; edges between them."""
    graph = {}
    for top in sorted(os.listdir(root)):
        top_path = os.path.join(root, top)
        if not os.path.isdir(top_path):
            continue
        deps = graph.setdefault(top, set())
        for directory, _, names in os.walk(top_path):
            for name in names:
                if not name.endswith(SOURCE_SUFFIXES):
                    continue
                path = os.path.join(directory, name)
                for include in includes_of(path):
                    target = resolve(include, path, root)
                    if not target:
                        continue
                    target_top = os.path.relpath(target, root).split(os.sep)[0]
                    if target_top != top and os.path.isdir(os.path.join(root, target_top)):
                        deps.add(target_top)
    return graph


def elementary_cycles(graph):
    """Every simple cycle once, starting at its smallest unit."""
    cycles = []

    def walk(start, node, path, on_path):
        for nxt in sorted(graph.get(node, ())):
            if nxt == start:
                cycles.append(path + [start])
            elif nxt > start and nxt not in on_path:
                on_path.add(nxt)
                walk(start, nxt, path + [nxt], on_path)
                on_path.remove(nxt)

    for start in sorted(graph):
        walk(start, start, [start], {start})
    return cycles


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("folder", nargs="?", help="folder to read (default src/tablebase, or src with --folders)")
    parser.add_argument("--folders", action="store_true", help="one unit per folder directly under the given one")
    parser.add_argument("--root", help="directory include paths start from (default: the folder's parent, "
                        "or the folder itself with --folders)")
    args = parser.parse_args()

    repo = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    folder = args.folder or os.path.join(repo, "src" if args.folders else "src/tablebase")
    if not os.path.isdir(folder):
        sys.exit(f"no such folder: {folder}")
    folder = os.path.normpath(folder)

    if args.folders:
        graph = folder_unit_graph(args.root or folder)
    else:
        graph = file_unit_graph(folder, args.root or os.path.dirname(folder))

    width = max((len(unit) for unit in graph), default=0)
    for unit in sorted(graph):
        print(f"{unit:<{width}} -> {' '.join(sorted(graph[unit])) or '(nothing)'}")

    cycles = elementary_cycles(graph)
    if not cycles:
        print("no cycle")
        return 0
    print(f"{len(cycles)} cycle{'s' if len(cycles) > 1 else ''}:")
    for cycle in cycles:
        print("  " + " -> ".join(cycle))
    return 1


if __name__ == "__main__":
    sys.exit(main())
