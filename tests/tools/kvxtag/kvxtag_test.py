#!/usr/bin/env python3
"""Runs kvxtag as a user would, on track files made here, and checks the
files byte by byte and the tool's JSON lines."""
import argparse
import json
import os
import shutil
import stat
import struct
import subprocess
import sys


def synchsafe(n):
    return bytes([(n >> 21) & 0x7F, (n >> 14) & 0x7F, (n >> 7) & 0x7F, n & 0x7F])


def frame(fid, body, flags=b"\x00\x00"):
    return fid.encode("ascii") + struct.pack(">I", len(body)) + flags + body


def text_frame(fid, text):
    return frame(fid, b"\x02" + text.encode("utf-16-be"))


def tag(frames, length=3072, magic=b"kvx"):
    content = b"".join(frames)
    return magic + b"\x03\x00\x00" + synchsafe(length - 10) + content + bytes(length - 10 - len(content))


AUDIO = bytes([0xFF, 0xFB, 0x90, 0x00]) + bytes(413)  # one 128 kbit/s frame


class Runner:
    def __init__(self, tool, work):
        self.tool = tool
        self.work = work
        self.failures = []

    def path(self, name):
        return os.path.join(self.work, name)

    def run(self, *args):
        return subprocess.run(self.tool + list(args), stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                              stdin=subprocess.DEVNULL, timeout=120)

    def show(self, name):
        out = self.run("show", self.path(name))
        lines = [json.loads(line) for line in out.stdout.decode("utf-8").splitlines()]
        return out.returncode, lines

    def check(self, cond, what):
        if not cond:
            self.failures.append(what)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--work", required=True)
    ap.add_argument("tool", nargs="+")
    a = ap.parse_args()
    r = Runner([p for p in a.tool if p != "--"], a.work)
    shutil.rmtree(a.work, ignore_errors=True)
    os.makedirs(a.work)

    # A new track: the file does not exist yet and gets the tag alone.
    out = r.run("set", r.path("new.kvx"), "--title", "T", "--artist", "A", "--album", "B", "--genre", "G")
    r.check(out.returncode == 0, f"set on a new file: {out}")
    expected = tag([text_frame("TIT2", "T"), text_frame("TPE1", "A"), text_frame("TALB", "B"),
                    text_frame("TCON", "G")])
    with open(r.path("new.kvx"), "rb") as f:
        r.check(f.read() == expected, "new track tag byte for byte")

    # An MP3 without tag, with a wide name and wide texts.
    name = "\u6771\u4eac.mp3"
    with open(r.path(name), "wb") as f:
        f.write(AUDIO * 20)
    out = r.run("set", r.path(name), "--title", "\u00c9t\u00e9 \u6771", "--genre", "Jazz")
    r.check(out.returncode == 0, f"set on a wide name: {out}")
    with open(r.path(name), "rb") as f:
        data = f.read()
    r.check(data[3072:] == AUDIO * 20 and len(data) == 3072 + len(AUDIO) * 20, "audio kept behind the tag")
    code, lines = r.show(name)
    r.check(code == 0 and lines[0]["magic"] == "kvx" and lines[0]["length"] == 3072 and lines[0]["frames"] == 2,
            f"show tag line: {lines[:1]}")
    r.check([(x["id"], x["text"], x["size"], x["encoding"]) for x in lines[1:]] ==
            [("TIT2", "\u00c9t\u00e9 \u6771", 11, 2), ("TCON", "Jazz", 9, 2)], f"show frames: {lines[1:]}")

    # Several values, and a protected address declined.
    out = r.run("put", r.path("new.kvx"), "13", "13", "one", "two")
    r.check(out.returncode == 0, f"put multi-value: {out}")
    out = r.run("put", r.path("new.kvx"), "13", "44", "x")
    r.check(out.returncode == 1 and b"declined" in out.stderr, f"protected address: {out}")
    code, lines = r.show("new.kvx")
    keys = [x["key"] for x in lines[1:]]
    r.check(keys == ["TIT2", "TPE1", "TALB", "TCON", "LMR_FTHBL1", "LMR_FTHBL2"], f"keys: {keys}")

    # An ID3 file written by someone else with a frame we do not handle.
    with open(r.path("comm.mp3"), "wb") as f:
        f.write(tag([frame("COMM", b"\x00eng\x00hello")], 200, b"ID3") + AUDIO)
    out = r.run("show", r.path("comm.mp3"))
    r.check(out.returncode == 1 and b"not support" in out.stderr, f"unsupported frame: {out}")
    out = r.run("set", r.path("comm.mp3"), "--title", "x")
    r.check(out.returncode == 1, f"set refused on unsupported tag: {out}")
    with open(r.path("comm.mp3"), "rb") as f:
        r.check(f.read() == tag([frame("COMM", b"\x00eng\x00hello")], 200, b"ID3") + AUDIO, "unsupported tag kept")

    # A read-only file is refused and left alone.
    os.chmod(r.path("new.kvx"), stat.S_IRUSR)
    out = r.run("set", r.path("new.kvx"), "--title", "changed")
    r.check(out.returncode == 1 and b"read-only" in out.stderr, f"read-only: {out}")
    os.chmod(r.path("new.kvx"), stat.S_IRUSR | stat.S_IWUSR)

    out = r.run("show", r.path("missing.kvx"))
    r.check(out.returncode == 1 and b"no such file" in out.stderr, f"missing file: {out}")
    for args in ([], ["show"], ["set", r.path("new.kvx")], ["set", r.path("new.kvx"), "--colour", "red"],
                 ["put", r.path("new.kvx"), "x", "0"], ["frobnicate", "f"]):
        out = r.run(*args)
        r.check(out.returncode == 2, f"usage error for {args}: {out.returncode}")

    for f in r.failures:
        print("FAIL:", f)
    print("kvxtag: " + ("all checks passed" if not r.failures else f"{len(r.failures)} checks failed"))
    return 1 if r.failures else 0


if __name__ == "__main__":
    sys.exit(main())
