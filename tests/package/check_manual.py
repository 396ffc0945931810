#!/usr/bin/env python3
"""Checks a shipped user manual against its sources: every page and every picture the sources
name is there, every picture is a whole PNG, and every link and picture of every page resolves
to a file of the manual (or a place on a page that has it).

    check_manual.py MANUAL_DIR SOURCE_DIR

Prints each fault and exits 1 when there is one."""

import os
import re
import struct
import sys
import zlib
from html.parser import HTMLParser


class Links(HTMLParser):
    def __init__(self):
        super().__init__()
        self.targets, self.ids = [], set()

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if "id" in attrs:
            self.ids.add(attrs["id"])
        for name in ("href", "src"):
            if attrs.get(name) and not re.match(r"[a-z]+:", attrs[name]):
                self.targets.append(attrs[name])


def whole_png(path):
    """Whether the file is a PNG whose chunks all check out, ending with IEND."""
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        return False
    at = 8
    while at + 12 <= len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if len(body) != length or struct.unpack(">I", data[at + 8 + length:at + 12 + length])[0] \
                != zlib.crc32(kind + body):
            return False
        if kind == b"IEND":
            return True
        at += 12 + length
    return False


def main(manual, sources):
    faults = []
    pages = sorted(f for f in os.listdir(sources) if f.endswith(".html"))
    pictures = [line.split()[0] + ".png" for line in open(os.path.join(sources, "screenshots.txt"),
                                                          encoding="utf-8")
                if line.strip() and not line.startswith("#")]
    for name in pages + ["manual.css"] + ["images/" + p for p in pictures]:
        if not os.path.isfile(os.path.join(manual, name)):
            faults.append(f"{name}: missing")
    for picture in pictures:
        path = os.path.join(manual, "images", picture)
        if os.path.isfile(path) and not whole_png(path):
            faults.append(f"images/{picture}: not a whole PNG")
    parsed = {}
    for page in pages:
        path = os.path.join(manual, page)
        if os.path.isfile(path):
            text = open(path, encoding="utf-8").read()
            parsed[page] = Links()
            parsed[page].feed(text)
            if re.search(r"@[A-Z_]+@", text):
                faults.append(f"{page}: a placeholder left unfilled")
    for page, links in parsed.items():
        for target in links.targets:
            file, _, place = target.partition("#")
            file = file or page
            if not os.path.isfile(os.path.join(manual, file)):
                faults.append(f"{page}: {target} leads nowhere")
            elif place and (file not in parsed or place not in parsed[file].ids):
                faults.append(f"{page}: {target} names no place on {file}")
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
