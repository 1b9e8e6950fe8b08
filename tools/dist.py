#!/usr/bin/env python3
"""Packs Lumarel's download and writes SHA256SUMS beside it.

    tools/dist.py EXE README LICENCE OUT.zip

The zip holds the three files in a folder named after it. It keeps nothing of the machine or
the moment it is packed on: the entries in a fixed order, each with the time of the last
commit (SOURCE_DATE_EPOCH when it is set), the same permissions and no extra fields, so that
the same sources give the same bytes wherever they are built.
"""
import hashlib
import os
import subprocess
import sys
import time
import zipfile

ZIP_EPOCH = 315532800  # 1980-01-01, the earliest time a zip entry can hold


def source_time():
    if "SOURCE_DATE_EPOCH" in os.environ:
        return int(os.environ["SOURCE_DATE_EPOCH"])
    try:
        here = os.path.dirname(os.path.abspath(__file__))
        return int(subprocess.run(["git", "-C", here, "log", "-1", "--format=%ct"],
                                  capture_output=True, check=True, text=True).stdout)
    except (OSError, subprocess.CalledProcessError, ValueError):
        return ZIP_EPOCH


def main(exe, readme, licence, out):
    folder = os.path.splitext(os.path.basename(out))[0]
    stamp = time.gmtime(max(source_time(), ZIP_EPOCH))[:6]
    with zipfile.ZipFile(out, "w") as archive:
        for path, name, mode in ((exe, "lumarel.exe", 0o755), (readme, "README.md", 0o644),
                                 (licence, "LICENSE", 0o644)):
            entry = zipfile.ZipInfo(f"{folder}/{name}", date_time=stamp)
            entry.create_system = 3  # Unix, whatever packs it
            entry.external_attr = (0o100000 | mode) << 16
            entry.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as source:
                archive.writestr(entry, source.read(), compresslevel=9)
    with open(out, "rb") as packed:
        digest = hashlib.sha256(packed.read()).hexdigest()
    sums = os.path.join(os.path.dirname(out), "SHA256SUMS")
    with open(sums, "w", newline="\n") as listing:
        listing.write(f"{digest}  {os.path.basename(out)}\n")
    print(f"dist: {out}\n{digest}  {os.path.basename(out)}")


if __name__ == "__main__":
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    main(*sys.argv[1:])
