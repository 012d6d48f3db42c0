#!/usr/bin/env python3
"""Writes the seed corpus of kvx_tag_fuzz: small track-file starts that cover
each frame kind, each encoding and the layout rules. Run it from anywhere;
the seeds land beside this script."""
import os
import struct


def synchsafe(n):
    return bytes([(n >> 21) & 0x7F, (n >> 14) & 0x7F, (n >> 7) & 0x7F, n & 0x7F])


def frame(fid, body, flags=b"\x00\x00"):
    return fid.encode("latin-1") + struct.pack(">I", len(body)) + flags + body


def tag(frames, padding=64, magic=b"kvx", flags=0):
    content = b"".join(frames)
    return magic + b"\x03\x00" + bytes([flags]) + synchsafe(len(content) + padding) + content + bytes(padding)


def be(s):
    return s.encode("utf-16-be")


def le_bom(s):
    return b"\xff\xfe" + s.encode("utf-16-le")


AUDIO = bytes([0xFF, 0xFB, 0x90, 0x00]) + bytes(60)

seeds = {
    "new-track.bin": tag([frame("TIT2", b"\x02" + be("T")), frame("TPE1", b"\x02" + be("A")),
                          frame("TALB", b"\x02" + be("B")), frame("TCON", b"\x02" + be("G"))],
                         padding=3010) + AUDIO,
    "all-kinds.bin": tag([
        frame("TIT2", b"\x00Latin title"),
        frame("TPE1", b"\x01" + le_bom("Artist \u00e9")),
        frame("TALB", b"\x01\xfe\xff" + be("Album")),
        frame("TXXX", b"\x00LMR_TRACK\x007"),
        frame("TXXX", b"\x01" + le_bom("LMR_TPE1S") + b"\x00\x00" + le_bom("Sort")),
        frame("WXXX", b"\x02" + be("LMR_WINFO1") + b"\x00\x00http://example.org/"),
        frame("GEOB", b"\x00bin\x00f.bin\x00LMR_LSI\x00\x01\x02\x03"),
        frame("GEOB", b"\x02\x00" + be("n") + b"\x00\x00" + be("LMR_FTHBL1") + b"\x00\x00\xaa"),
        frame("WOAR", b"http://a/"),
        frame("WOAR", b"http://b/"),
        frame("WCOM", b"\x00"),
        frame("WPUB", b"http://pub/"),
        frame("TYER", b"\x002024"),
    ]),
    "long-title-id3.bin": tag([frame("TIT2", b"\x02" + be("x" * 300)), frame("TCON", b"\x00Rock")],
                              magic=b"ID3"),
    "padding-after-first.bin": tag([frame("TIT2", b"\x00one"), b"\x00\x00", frame("TALB", b"\x00x")], padding=8),
    "comm.bin": tag([frame("COMM", b"\x00eng\x00text")]),
    "ulinf.bin": tag([frame("GEOB", b"\x01\x00\x00\x00" + le_bom("LMR_ULINF") + b"\x00\x00data"),
                      frame("TXXX", b"\x02" + be("LMR_FTHBL2") + b"\x00\x00" + be("v"))]),
    "empty-tag.bin": tag([], padding=0) + AUDIO,
}

here = os.path.join(os.path.dirname(os.path.abspath(__file__)), "seeds")
os.makedirs(here, exist_ok=True)
for name, data in seeds.items():
    with open(os.path.join(here, name), "wb") as f:
        f.write(data)
