#!/usr/bin/env python3
"""Checks a packed Quellin.exe the way the program divides it at start-up: the marker must occur
exactly twice, closing the program image (named Quellin.image.exe) and the tool (rmevents.exe),
and each entry must hold exactly the bytes of the file it was made from.

usage: check_packed.py PACKED IMAGE TOOL"""
import sys

MARKER = bytes([0x51, 0x58, 0x5F, 0x50, 0x57, 0, 0, 3, 5, 7, 6, 9, 3, 2])


def entries(data):
    found, start, at = [], 0, data.find(MARKER)
    while at != -1:
        length_at = at + len(MARKER)
        length = data[length_at] | data[length_at + 1] << 8
        name = data[length_at + 2:length_at + 2 + length].decode("ascii")
        found.append((name, data[start:at]))
        start = length_at + 2 + length
        at = data.find(MARKER, start)
    return found, len(data) - start


def main():
    packed, image, tool = (open(path, "rb").read() for path in sys.argv[1:4])
    found, trailing = entries(packed)
    problems = []
    names = [name for name, _ in found]
    if names != ["Quellin.image.exe", "rmevents.exe"]:
        problems.append(f"entries {names}, expected the image copy and rmevents.exe")
    else:
        if found[0][1] != image:
            problems.append("the first entry is not the program image byte for byte")
        if found[1][1] != tool:
            problems.append("the second entry is not rmevents.exe byte for byte")
    if trailing:
        problems.append(f"{trailing} bytes after the last trailer")
    if MARKER in image or MARKER in tool:
        problems.append("the marker occurs inside the image or the tool")
    for problem in problems:
        print("FAIL", problem)
    if not problems:
        print("ok   Quellin.exe divides into exactly the image copy and rmevents.exe")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
