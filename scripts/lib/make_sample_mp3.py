#!/usr/bin/env python3
"""Writes sample MP3 files: valid MPEG audio frames (silent filler payload)
with ID3v2.3 and ID3v1 tags, for demonstrations and benchmarks.

usage: make_sample_mp3.py OUT_DIR [--count N] [--frames F]
"""
import argparse
import os
import struct

# (b1, b2, b3, frame length): MPEG-1 Layer III 128 kbit/s 44.1 kHz stereo,
# MPEG-1 Layer III 192 kbit/s 48 kHz joint stereo, MPEG-2 Layer III 64 kbit/s
# 22.05 kHz mono, MPEG-1 Layer II 192 kbit/s 44.1 kHz.
KINDS = [
    (0xFB, 0x90, 0x00, 417),
    (0xFB, 0xB4, 0x40, 576),
    (0xF3, 0x80, 0xC0, 208),
    (0xFD, 0xA0, 0x00, 626),
]


def synchsafe(n):
    return bytes([(n >> 21) & 0x7F, (n >> 14) & 0x7F, (n >> 7) & 0x7F, n & 0x7F])


def text_frame(fid, text):
    body = b"\x01" + b"\xff\xfe" + text.encode("utf-16-le")
    return fid.encode() + struct.pack(">I", len(body)) + b"\x00\x00" + body


def id3v2(title, artist, album, genre):
    frames = b"".join(text_frame(f, t) for f, t in
                      (("TIT2", title), ("TPE1", artist), ("TALB", album), ("TCON", genre)))
    return b"ID3\x03\x00\x00" + synchsafe(len(frames)) + frames


def id3v1(title, artist, album, genre_byte):
    def field(s, n):
        return s.encode("latin-1", "replace")[:n].ljust(n, b"\x00")
    return b"TAG" + field(title, 30) + field(artist, 30) + field(album, 30) + b"2026" + bytes(30) + bytes([genre_byte])


def audio(kind, frames):
    b1, b2, b3, length = KINDS[kind % len(KINDS)]
    return (bytes([0xFF, b1, b2, b3]) + bytes(length - 4)) * frames


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("out")
    ap.add_argument("--count", type=int, default=1)
    ap.add_argument("--frames", type=int, default=1000)
    ap.add_argument("--prefix", default="Sample Track")
    a = ap.parse_args()
    os.makedirs(a.out, exist_ok=True)
    for i in range(1, a.count + 1):
        title = f"{a.prefix} {i:02d}"
        data = id3v2(title, "Pellmark Demo Band", "Demo Album", "Rock") + audio(i - 1, a.frames) + \
            id3v1(title, "Pellmark Demo Band", "Demo Album", 17)
        with open(os.path.join(a.out, f"{title}.mp3"), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
