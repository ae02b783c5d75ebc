#!/usr/bin/env python3
"""Checks a release zip the way a user receives it: one top folder Quellin-<version>-<arch>/
holding exactly Quellin.exe, README.txt and LICENSE.txt; the guide readable in Notepad (BOM,
UTF-8, CR LF, Chinese) and the same text as docs/guide-zh.txt; the licence the repository's;
Quellin.exe a program of the zip's architecture that carries an rmevents.exe of that architecture
behind its image, divided the way the program divides itself (check_packed.py).

usage: check_package.py ZIP ARCH      (ARCH: win32 or win64)"""
import os
import re
import struct
import sys
import zipfile
import zlib

from check_packed import MARKER, entries

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
MACHINES = {"win32": 0x14C, "win64": 0x8664}
BOM = b"\xef\xbb\xbf"
ZIP_NAME = re.compile(r"Quellin-(\d+\.\d+\.\d+)-(win32|win64)\.zip")


def pe_machine(data):
    """The machine field of a PE file's header, or None when `data` does not start with one."""
    if len(data) < 0x40 or data[:2] != b"MZ":
        return None
    header = struct.unpack_from("<I", data, 0x3C)[0]
    if header + 6 > len(data) or data[header:header + 4] != b"PE\0\0":
        return None
    return struct.unpack_from("<H", data, header + 4)[0]


def is_crlf(data):
    """Every line ends in CR LF, the last one included, and no CR stands alone."""
    return data.endswith(b"\r\n") and data.count(b"\n") == data.count(b"\r\n") == data.count(b"\r")


def crlf(data):
    return data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")


def repository_text(path):
    with open(os.path.join(ROOT, path), "rb") as source:
        return source.read()


class Checks:
    def __init__(self):
        self.failed = 0

    def check(self, passed, text):
        print("ok  " if passed else "FAIL", text)
        if not passed:
            self.failed += 1
        return passed


def check_guide(checks, guide):
    if not checks.check(guide.startswith(BOM), "README.txt starts with the UTF-8 BOM"):
        return
    try:
        text = guide[len(BOM):].decode("utf-8")
    except UnicodeDecodeError as error:
        checks.check(False, f"README.txt decodes as UTF-8 ({error})")
        return
    checks.check(True, "README.txt decodes as UTF-8")
    checks.check(is_crlf(guide), "README.txt has CR LF line ends throughout")
    han = sum(1 for c in text if "\u4e00" <= c <= "\u9fff")
    checks.check(han >= 200, f"README.txt is Chinese text ({han} Han characters)")
    source = repository_text("docs/guide-zh.txt")
    checks.check(crlf(guide[len(BOM):]) == crlf(source.removeprefix(BOM)),
                 "README.txt is docs/guide-zh.txt")


def machine_text(machine):
    return "no PE" if machine is None else f"{machine:#x}"


def check_program(checks, program, machine):
    found_machine = machine_text(pe_machine(program))
    checks.check(pe_machine(program) == machine,
                 f"Quellin.exe is a PE for machine {machine:#x} (found {found_machine})")
    found, trailing = entries(program)
    names = [name for name, _ in found]
    if not checks.check(names == ["Quellin.image.exe", "rmevents.exe"] and trailing == 0,
                        f"Quellin.exe divides into exactly its image and rmevents.exe "
                        f"(entries {names}, {trailing} bytes after the last trailer)"):
        return
    image, tool = found[0][1], found[1][1]
    checks.check(pe_machine(tool) == machine,
                 f"the rmevents.exe it carries is a PE for machine {machine:#x} "
                 f"(found {machine_text(pe_machine(tool))}, {len(tool)} bytes)")
    checks.check(MARKER not in image and MARKER not in tool,
                 "the marker occurs only in the two trailers")


def check_archive(checks, archive, top, machine):
    try:
        bad = archive.testzip()
    except (zipfile.BadZipFile, zlib.error) as error:
        bad = str(error)
    if not checks.check(bad is None, "every entry reads back with its CRC" +
                        (f" (not {bad})" if bad else "")):
        return
    names = sorted(archive.namelist())
    expected = sorted([top] + [top + name for name in ("Quellin.exe", "README.txt", "LICENSE.txt")])
    if not checks.check(names == expected,
                        f"entries are exactly {top} and its Quellin.exe, README.txt, LICENSE.txt" +
                        ("" if names == expected else f" (found {names})")):
        return
    checks.check(all(info.compress_type == zipfile.ZIP_DEFLATED
                     for info in archive.infolist() if not info.is_dir()),
                 "the files are deflated")
    check_guide(checks, archive.read(top + "README.txt"))
    licence = archive.read(top + "LICENSE.txt")
    checks.check(is_crlf(licence) and licence == crlf(repository_text("LICENSE")),
                 "LICENSE.txt is the repository's LICENSE with CR LF line ends")
    check_program(checks, archive.read(top + "Quellin.exe"), machine)


def main():
    if len(sys.argv) != 3 or sys.argv[2] not in MACHINES:
        sys.exit(__doc__)
    path, arch = sys.argv[1], sys.argv[2]
    checks = Checks()
    named = ZIP_NAME.fullmatch(os.path.basename(path))
    if checks.check(named is not None and named.group(2) == arch,
                    f"{os.path.basename(path)} is named Quellin-<version>-{arch}.zip"):
        try:
            with zipfile.ZipFile(path) as archive:
                check_archive(checks, archive, f"Quellin-{named.group(1)}-{arch}/", MACHINES[arch])
        except (OSError, zipfile.BadZipFile) as error:
            checks.check(False, f"{path} opens as a zip ({error})")
    return 1 if checks.failed else 0


if __name__ == "__main__":
    sys.exit(main())
