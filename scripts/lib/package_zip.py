#!/usr/bin/env python3
"""Writes one Quellin release zip: TOP/Quellin.exe, TOP/README.txt (the Chinese guide) and
TOP/LICENSE.txt, deflated, every entry dated EPOCH, so the same inputs always give the same bytes.

usage: package_zip.py OUT TOP EPOCH EXE GUIDE LICENSE

The two texts are written with CR LF line ends whatever the checkout did to them (Notepad on
Windows 7 shows a file with bare LF as one long line), and the guide starts with the UTF-8 BOM,
without which that Notepad reads it in the ANSI code page."""
import os
import sys
import time
import zipfile

BOM = b"\xef\xbb\xbf"
# The entries' "made by" system: MS-DOS, so that no unzip tool applies Unix permissions from them.
MADE_BY_DOS = 0
ATTRIBUTE_DIRECTORY = 0x10
ATTRIBUTE_ARCHIVE = 0x20


def crlf(data):
    return data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")


def guide_text(data):
    return BOM + crlf(data[len(BOM):] if data.startswith(BOM) else data)


def entry(name, date_time, attributes):
    info = zipfile.ZipInfo(name, date_time)
    info.create_system = MADE_BY_DOS
    info.external_attr = attributes
    if not name.endswith("/"):
        info.compress_type = zipfile.ZIP_DEFLATED
    return info


def main():
    if len(sys.argv) != 7:
        sys.exit(__doc__)
    out, top, epoch, exe, guide, licence = sys.argv[1:]
    # Zip dates are local times without a zone and cannot be earlier than 1980; UTC keeps them the
    # same on every build machine.
    date_time = time.gmtime(max(int(epoch), 315532800))[:6]
    contents = [
        ("Quellin.exe", open(exe, "rb").read()),
        ("README.txt", guide_text(open(guide, "rb").read())),
        ("LICENSE.txt", crlf(open(licence, "rb").read())),
    ]
    partial = out + ".partial"
    with zipfile.ZipFile(partial, "w") as archive:
        archive.writestr(entry(top + "/", date_time, ATTRIBUTE_DIRECTORY), b"")
        for name, data in contents:
            archive.writestr(entry(f"{top}/{name}", date_time, ATTRIBUTE_ARCHIVE), data,
                             compresslevel=9)
    # A run that stops half-way leaves no zip that looks finished.
    os.replace(partial, out)


if __name__ == "__main__":
    main()
