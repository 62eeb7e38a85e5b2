#!/usr/bin/env python3
"""Checks a compiled help file: the topics the program opens are inside it,
and every link of the help sources resolves to a file inside it.

Usage: chm_check.py <quillon.chm> <help source folder>
"""
import os
import re
import struct
import sys

# Topics the program opens by name (main window, command editor, folder editor).
REQUIRED = ["/Welcome.htm", "/Creating_A_Command.htm", "/Creating_A_Fast_Folder.htm"]


def encint(data, pos):
    value = 0
    while True:
        byte = data[pos]
        pos += 1
        value = (value << 7) | (byte & 0x7F)
        if byte < 0x80:
            return value, pos


def chm_names(path):
    """Lists the names in the file's directory (its PMGL chunks)."""
    data = open(path, "rb").read()
    if data[:4] != b"ITSF":
        raise ValueError("not a compiled help file")
    # The header's section table: entry 0 is the file-size section, entry 1
    # the directory; compilers differ in which comes first, so try both.
    dir_offset = struct.unpack_from("<Q", data, 0x48)[0]
    if data[dir_offset:dir_offset + 4] != b"ITSP":
        dir_offset = struct.unpack_from("<Q", data, 0x58)[0]
    if data[dir_offset:dir_offset + 4] != b"ITSP":
        raise ValueError("directory not found")
    header_len = struct.unpack_from("<I", data, dir_offset + 8)[0]
    chunk_size = struct.unpack_from("<I", data, dir_offset + 0x10)[0]
    chunks = struct.unpack_from("<I", data, dir_offset + 0x2C)[0]
    names = []
    for i in range(chunks):
        start = dir_offset + header_len + i * chunk_size
        chunk = data[start:start + chunk_size]
        if chunk[:4] != b"PMGL":
            continue
        free = struct.unpack_from("<I", chunk, 4)[0]
        pos, end = 20, chunk_size - free
        while pos < end:
            length, pos = encint(chunk, pos)
            names.append(chunk[pos:pos + length].decode("utf-8"))
            pos += length
            for _ in range(3):  # section, offset, length
                _, pos = encint(chunk, pos)
    return names


def main():
    chm, sources = sys.argv[1], sys.argv[2]
    names = set(n.lower() for n in chm_names(chm))
    problems = []
    for topic in REQUIRED:
        if topic.lower() not in names:
            problems.append("missing topic " + topic)
    for source in sorted(os.listdir(sources)):
        if not source.lower().endswith((".htm", ".hhc", ".hhk")):
            continue
        text = open(os.path.join(sources, source), encoding="latin-1").read()
        for target in re.findall(r'(?:href|value)="([^"#:]+\.(?:htm|css))"', text, re.I):
            if "/" + target.lower() not in names:
                problems.append("%s links to %s, which is not in the help file" % (source, target))
    for p in problems:
        print(p)
    print("%d names in %s, %d problems" % (len(names), os.path.basename(chm), len(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
