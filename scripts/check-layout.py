#!/usr/bin/env python3
"""Checks that the source folders are the architecture: each folder of src/ is one CMake target,
no file includes a header of a folder whose target its own target does not link (directly or
through the targets it links), the data-side targets link no Qt and include no Qt header, and
the table model, the export and the command link no Qt Widgets and none of the widget folders,
and nothing in src includes a header from outside it (tools/ holds programs for developers).

    check-layout.py SRC_DIR

Prints each breach and exits 1 when there is one."""

import os
import re
import sys

DATA_SIDE = {"platform", "settings", "result", "db", "stock", "journal", "ledger", "demo"}
NO_WIDGETS = {"table", "pages", "export", "cli"}
WIDGET_FOLDERS = {"grid", "forms", "app"}


def cmake_words(text, command):
    """The arguments of every call of a CMake command, as lists of words."""
    calls = []
    for match in re.finditer(command + r"\s*\(([^)]*)\)", text):
        body = re.sub(r"#[^\n]*", "", match.group(1))
        calls.append(body.split())
    return calls


def targets(src):
    """Folder -> (target, linked words), for every folder of src with a CMakeLists.txt."""
    found, problems = {}, []
    for folder in sorted(os.listdir(src)):
        listing = os.path.join(src, folder, "CMakeLists.txt")
        if not os.path.isfile(listing):
            continue
        text = open(listing, encoding="utf-8").read()
        made = [c[0] for c in cmake_words(text, "add_library") + cmake_words(text, "add_executable")]
        if len(made) != 1:
            problems.append(f"{folder}: {len(made)} targets, one expected")
            continue
        links = [w for c in cmake_words(text, "target_link_libraries") if c[0] == made[0]
                 for w in c[1:] if w not in ("PUBLIC", "PRIVATE", "INTERFACE")]
        found[folder] = (made[0], links)
    return found, problems


def closure(folder, found):
    """Every target that a folder's target links, directly or not, and its own."""
    by_target = {t: f for f, (t, _) in found.items()}
    seen, todo = set(), [found[folder][0]]
    while todo:
        target = todo.pop()
        if target in seen:
            continue
        seen.add(target)
        if target in by_target:
            todo += found[by_target[target]][1]
    return seen


def main():
    src = sys.argv[1]
    found, problems = targets(src)
    by_target = {t: f for f, (t, _) in found.items()}
    for folder in sorted(d for d in os.listdir(src) if os.path.isdir(os.path.join(src, d))):
        if folder not in found:
            problems.append(f"{folder}: no CMakeLists.txt of its own")
            continue
        linked = closure(folder, found)
        linked_folders = {by_target[t] for t in linked if t in by_target}
        if folder in DATA_SIDE:
            qt = sorted(t for t in linked if t.startswith("Qt"))
            if qt:
                problems.append(f"{folder}: a data-side target that links {', '.join(qt)}")
        if folder in NO_WIDGETS:
            widgets = sorted(t for t in linked if t == "Qt6::Widgets")
            widgets += sorted(linked_folders & WIDGET_FOLDERS)
            if widgets:
                problems.append(f"{folder}: links widgets through {', '.join(widgets)}")
        for directory, _, files in os.walk(os.path.join(src, folder)):
            for name in sorted(files):
                if not name.endswith((".h", ".cpp")):
                    continue
                path = os.path.join(directory, name)
                for number, line in enumerate(open(path, encoding="utf-8"), 1):
                    where = f"{os.path.relpath(path, src)}:{number}"
                    local = re.match(r'\s*#\s*include\s+"([^/"]+)/', line)
                    if local and local.group(1) in found and local.group(1) not in linked_folders:
                        problems.append(f"{where}: includes {local.group(1)}/, not linked")
                    outside = local and local.group(1) not in found and not any(
                        os.path.isdir(os.path.join(base, local.group(1)))
                        for base in (directory, os.path.join(src, folder)))
                    if outside:
                        problems.append(f"{where}: includes {local.group(1)}/, outside src")
                    if folder in DATA_SIDE and re.match(r"\s*#\s*include\s+<Q", line):
                        problems.append(f"{where}: a Qt header on the data side")
    for problem in problems:
        print(problem)
    print(f"{len(found)} folders, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
