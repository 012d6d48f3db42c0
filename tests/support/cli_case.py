"""Shared pieces of the tests that run our command-line programs as a user
would: the program's command and a fresh work folder from the arguments,
MPEG frames and ID3v2.3 tags built byte by byte, and the collected check
failures with one closing summary line."""
import argparse
import os
import shutil
import struct


def program_and_work_folder(program_arg="tool"):
    """Parses `--work FOLDER PROGRAM...`; empties the folder and answers
    (the program's command as a list, the folder)."""
    ap = argparse.ArgumentParser()
    ap.add_argument("--work", required=True)
    ap.add_argument(program_arg, nargs="+")
    a = ap.parse_args()
    command = [p for p in getattr(a, program_arg) if p != "--"]
    shutil.rmtree(a.work, ignore_errors=True)
    os.makedirs(a.work)
    return command, a.work


def mpeg_frame(b1=0xFB, b2=0x90, b3=0x00, length=417, fill=0x00):
    """One MPEG audio frame; the default is MPEG-1 Layer III, 128 kbit/s,
    44,100 Hz, stereo: 417 bytes."""
    return bytes([0xFF, b1, b2, b3]) + bytes([fill]) * (length - 4)


def synchsafe(n):
    return bytes([(n >> 21) & 0x7F, (n >> 14) & 0x7F, (n >> 7) & 0x7F, n & 0x7F])


def id3v23(frames):
    """An ID3v2.3 tag of (frame id, body) pairs."""
    body = b"".join(ident + struct.pack(">I", len(data)) + b"\0\0" + data for ident, data in frames)
    return b"ID3\x03\x00\x00" + synchsafe(len(body)) + body


class Checks:
    """Collects failed checks so that one run reports all of them."""

    def __init__(self):
        self.failures = []

    def check(self, cond, what):
        if not cond:
            self.failures.append(what)

    def finish(self, name, passed="all checks passed"):
        """Prints every failure and the summary line; answers the exit status."""
        for f in self.failures:
            print("FAIL:", f)
        print(f"{name}: " + (passed if not self.failures else f"{len(self.failures)} checks failed"))
        return 1 if self.failures else 0
