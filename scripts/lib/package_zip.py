#!/usr/bin/env python3
"""Writes a release zip from the programs of a Windows build tree.

    package_zip.py win64 --bin DIR --out DIR [--time SECONDS]
    package_zip.py vantle-i686 --bin DIR --out DIR [--time SECONDS]

win64 is Pellmark-VERSION-win64.zip: in the folder Pellmark-VERSION/ the track manager's delivery
exactly as Deckhand.ini lists it, the wizard with its settings and library beside it, the user's
README.txt, and in simulator/ the simulated player with its own README.txt. vantle-i686 is
Pellmark-VERSION-win32-Vantle.zip: the 32-bit Vantle.dll with a short text.

The zip is the same byte for byte whenever the files are: entries in name order, every entry with
the given time (seconds since 1970, default a fixed date) and the same attributes. Prints the
zip's path."""
import argparse
import configparser
import os
import re
import sys
import time
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
TEXTS = os.path.join(ROOT, "scripts", "release")
WIZARD = ["Deckhand.exe", "Deckhand.ini", "Vantle.dll"]
SIMULATOR = ["OrlenPACAPI.dll", "playertool.exe"]
DEFAULT_TIME = 1767225600  # 2026-01-01 00:00 UTC


def read_version(root=ROOT):
    """The version in the file VERSION, as the build reads it ("1.0.0.1")."""
    with open(os.path.join(root, "VERSION"), encoding="ascii") as f:
        text = f.readline().strip()
    if not re.fullmatch(r"(0|[1-9][0-9]*)(\.(0|[1-9][0-9]*)){3}", text):
        raise SystemExit(f"VERSION holds {text!r}; expected four numbers such as 1.0.0.1")
    return text


def delivery_files(settings_path):
    """The source files the wizard copies, in the order Deckhand.ini lists them."""
    ini = configparser.ConfigParser(interpolation=None, strict=False, comment_prefixes=(";", "#"))
    with open(settings_path, encoding="latin-1") as f:
        ini.read_file(f)
    copy = ini["COPY"]
    names = []
    for i in range(1, int(copy.get("FileNum", "0")) + 1):
        source = copy.get(f"FileName{i}", "").split(",")[0].strip()
        if source:
            names.append(source)
    return names


def user_text(name, version):
    """A text of scripts/release with the version filled in and Windows line ends."""
    with open(os.path.join(TEXTS, name), encoding="utf-8") as f:
        text = f.read().replace("@VERSION@", version)
    return text.replace("\r\n", "\n").replace("\n", "\r\n").encode("utf-8")


def layout(kind, bin_dir, version):
    """{name in the zip: bytes}; fails when a file is missing from the build."""
    def built(name):
        path = os.path.join(bin_dir, name)
        if not os.path.isfile(path):
            raise SystemExit(f"{path} is missing: build the programs first")
        with open(path, "rb") as f:
            return f.read()

    if kind == "vantle-i686":
        return f"Pellmark-{version}-win32-Vantle.zip", {
            "Vantle.dll": built("Vantle.dll"),
            "README.txt": user_text("Vantle-i686.txt", version),
        }
    top = f"Pellmark-{version}/"
    files = {}
    for name in delivery_files(os.path.join(bin_dir, "Deckhand.ini")) + WIZARD:
        files[top + name] = built(name)
    for name in SIMULATOR:
        files[top + "simulator/" + name] = built(name)
    files[top + "README.txt"] = user_text("README.txt", version)
    files[top + "simulator/README.txt"] = user_text("Simulator.txt", version)
    return f"Pellmark-{version}-win64.zip", files


def write_zip(path, files, seconds):
    stamp = time.gmtime(max(seconds, 315532800))[:6]  # a zip cannot date before 1980
    tmp = path + ".tmp"
    with zipfile.ZipFile(tmp, "w") as z:
        for name in sorted(files):
            info = zipfile.ZipInfo(name, date_time=stamp)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 0  # made on "MS-DOS": plain attributes on every system
            info.external_attr = 0x20  # FILE_ATTRIBUTE_ARCHIVE
            z.writestr(info, files[name], compresslevel=9)
    os.replace(tmp, path)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("kind", choices=["win64", "vantle-i686"])
    ap.add_argument("--bin", required=True, help="the build tree's bin folder")
    ap.add_argument("--out", required=True, help="the folder the zip goes to")
    ap.add_argument("--time", type=int, default=DEFAULT_TIME, help="the entries' time, seconds since 1970")
    a = ap.parse_args()
    version = read_version()
    name, files = layout(a.kind, a.bin, version)
    os.makedirs(a.out, exist_ok=True)
    path = os.path.join(a.out, name)
    write_zip(path, files, a.time)
    print(path)
    return 0


if __name__ == "__main__":
    sys.exit(main())
