#!/usr/bin/env python3
"""Fails on an #include that runs from a folder up to a folder that uses it.

Every target sees the whole source tree as its include root, so the build
alone cannot stop an upward include: this table can. A folder may include
itself and the folders listed for it, nothing else of the project's.
Usage: include_check.py <source root>
"""
import pathlib
import re
import sys

# Lowest first. Each folder names the folders below it that it may use.
ALLOWED = {
    "contract": set(),
    "framework": set(),
    "resources": set(),
    "shellext": {"contract", "resources"},
    "services": {"contract", "framework", "resources"},
    "apppaths": {"contract", "framework", "resources"},
    "regbackup": {"contract", "framework", "resources", "apppaths"},
    "catalogue": {"contract", "framework", "resources", "services", "apppaths", "regbackup"},
    "systemcmds": {"contract", "framework", "resources", "services", "apppaths", "regbackup", "catalogue"},
    "fastfolders": {"contract", "framework", "resources", "services", "catalogue"},
    "shellsettings": {"contract", "framework", "resources", "services", "catalogue"},
    "transfer": {"contract", "framework", "resources", "services", "apppaths", "regbackup", "catalogue", "fastfolders"},
    "app": {"contract", "framework", "resources", "services", "apppaths", "regbackup", "catalogue", "systemcmds",
            "fastfolders", "shellsettings", "transfer"},
    "installer": {"contract", "framework", "resources", "apppaths", "regbackup", "catalogue", "systemcmds",
                  "shellsettings"},
}
# Tests, benchmarks and fuzz targets sit above everything they check.
TOP = {"tests", "bench", "fuzz"}

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.MULTILINE)


def table_circles() -> list:
    """A folder that may reach itself through the table would allow a circle."""
    circles = []
    for start in ALLOWED:
        stack, reached = list(ALLOWED[start]), set()
        while stack:
            folder = stack.pop()
            if folder == start:
                circles.append(f"table: {start}/ may reach itself")
                break
            if folder not in reached:
                reached.add(folder)
                stack.extend(ALLOWED.get(folder, ()))
    return circles


def main(root: pathlib.Path) -> int:
    folders = set(ALLOWED) | TOP
    problems = table_circles()
    for path in sorted(root.rglob("*")):
        if path.suffix not in {".h", ".cpp", ".rc", ".idl"} or "build" in path.relative_to(root).parts[:1]:
            continue
        parts = path.relative_to(root).parts
        # The library's resource script is part of the library.
        source = "shellext" if parts[:2] == ("resources", "tesselator") else parts[0]
        if source not in folders:
            continue
        text = path.read_text(encoding="utf-8", errors="replace")
        for match in INCLUDE.finditer(text):
            target = match.group(1).split("/")[0]
            if "/" not in match.group(1) or target == source or target not in folders:
                continue
            if source in TOP or target in ALLOWED.get(source, set()):
                continue
            line = text.count("\n", 0, match.start()) + 1
            problems.append(f"{path.relative_to(root)}:{line}: {source}/ may not include {match.group(1)}")
    for problem in problems:
        print(problem)
    print(f"include check: {len(problems)} problem(s)")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".")))
