#!/usr/bin/env python3
"""Writes a zip of a folder whose entry names are UTF-8, every name beyond
ASCII with the zip's UTF-8 name flag (general-purpose bit 11), so that
Windows' own extraction keeps the Chinese folder names. Info-ZIP's zip as
Debian ships it sets no such flag. Empty folders get entries of their own.

    portable-zip.py FOLDER OUTPUT.zip   (entries start with FOLDER's own name)
    portable-zip.py --check OUTPUT.zip  (fails unless every name is UTF-8 and
                                         every non-ASCII one has the flag)
"""
import os
import struct
import sys
import zipfile

UTF8_NAME_FLAG = 0x800
LOCAL_HEADER = b"PK\x03\x04"
CENTRAL_HEADER = b"PK\x01\x02"


def entry(name, path, is_folder):
    # zipfile stores a name beyond ASCII as UTF-8 and flags it itself.
    info = zipfile.ZipInfo.from_file(path, name)
    if not is_folder:
        info.compress_type = zipfile.ZIP_DEFLATED
    return info


def write(folder, output):
    folder = os.path.abspath(folder)
    base = os.path.dirname(folder)
    with zipfile.ZipFile(output, "w") as archive:
        for current, folders, files in os.walk(folder):
            folders.sort()
            name = os.path.relpath(current, base).replace(os.sep, "/") + "/"
            archive.writestr(entry(name, current, True), b"")
            for file in sorted(files):
                path = os.path.join(current, file)
                with open(path, "rb") as data:
                    archive.writestr(entry(name + file, path, False), data.read())


def check(output):
    """Reads the headers' own bytes: each local and central header's flag."""
    data = open(output, "rb").read()
    problems = []
    for signature, flag_offset, name_offset in ((LOCAL_HEADER, 6, 30), (CENTRAL_HEADER, 8, 46)):
        position = data.find(signature)
        while position >= 0:
            (flags,) = struct.unpack_from("<H", data, position + flag_offset)
            length_offset = 26 if signature == LOCAL_HEADER else 28
            (name_length,) = struct.unpack_from("<H", data, position + length_offset)
            raw = data[position + name_offset : position + name_offset + name_length]
            try:
                raw.decode("utf-8")
            except UnicodeDecodeError:
                problems.append(f"{raw!r}: not UTF-8")
            if not raw.isascii() and not flags & UTF8_NAME_FLAG:
                problems.append(f"{raw.decode('utf-8', 'replace')}: no UTF-8 name flag")
            position = data.find(signature, position + 4)
    for problem in problems:
        print(f"portable-zip: {output}: {problem}", file=sys.stderr)
    return not problems


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "--check":
        sys.exit(0 if check(sys.argv[2]) else 1)
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    write(sys.argv[1], sys.argv[2])
