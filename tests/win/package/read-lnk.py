#!/usr/bin/env python3
"""Prints the working folder of a Windows shortcut (.lnk): read-lnk.py FILE.
Follows the shell link layout: header, optional ID list and link info, then the counted strings
(name, relative path, working folder, ...) that the header's flags announce."""
import struct
import sys

HAS_ID_LIST, HAS_LINK_INFO, HAS_NAME, HAS_RELATIVE_PATH, HAS_WORKING_DIR, IS_UNICODE = 1, 2, 4, 8, 0x10, 0x80


def main():
    data = open(sys.argv[1], "rb").read()
    if len(data) < 76 or struct.unpack_from("<I", data, 0)[0] != 76:
        sys.exit(f"{sys.argv[1]}: not a shell link")
    flags = struct.unpack_from("<I", data, 20)[0]
    pos = 76
    if flags & HAS_ID_LIST:
        pos += 2 + struct.unpack_from("<H", data, pos)[0]
    if flags & HAS_LINK_INFO:
        pos += struct.unpack_from("<I", data, pos)[0]
    width = 2 if flags & IS_UNICODE else 1
    for bit in (HAS_NAME, HAS_RELATIVE_PATH, HAS_WORKING_DIR):
        if not flags & bit:
            if bit == HAS_WORKING_DIR:
                sys.exit(f"{sys.argv[1]}: no working folder")
            continue
        count = struct.unpack_from("<H", data, pos)[0]
        raw = data[pos + 2:pos + 2 + count * width]
        pos += 2 + count * width
        if bit == HAS_WORKING_DIR:
            print(raw.decode("utf-16-le" if width == 2 else "latin-1").rstrip("\0"))


if __name__ == "__main__":
    main()
