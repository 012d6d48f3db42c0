#!/usr/bin/env python3
"""Writes the seed files of the analyser fuzz target: small MP3 files made
here byte by byte, each showing the fuzzer one kind of structure (frames,
garbage between frames, each leading-tag version and text encoding, a
trailing tag). Run it from this folder; it rewrites seeds/."""
import os
import struct


def frame(header, length, fill=0x00):
    return bytes(header) + bytes([fill]) * (length - 4)


MPEG1_L3_128 = ([0xFF, 0xFB, 0x90, 0x00], 417)   # 44,100 Hz stereo
MPEG2_L3_64 = ([0xFF, 0xF3, 0x80, 0xC0], 208)    # 22,050 Hz mono
MPEG1_L2_384 = ([0xFF, 0xFD, 0xE4, 0x00], 1152)  # 48,000 Hz, above the limit
MPEG25_L3_8 = ([0xFF, 0xE3, 0x14, 0xC0], 48)     # 12,000 Hz, below the limit


def synchsafe(n):
    return bytes([(n >> 21) & 0x7F, (n >> 14) & 0x7F, (n >> 7) & 0x7F, n & 0x7F])


def tag_v2(version, frames, flags=0, extended=b""):
    body = extended + b"".join(frames)
    return b"ID3" + bytes([version, 0, flags]) + synchsafe(len(body)) + body


def frame_v22(ident, data):
    return ident + struct.pack(">I", len(data))[1:] + data


def frame_v23(ident, data):
    return ident + struct.pack(">I", len(data)) + b"\0\0" + data


def frame_v24(ident, data):
    return ident + synchsafe(len(data)) + b"\0\0" + data


def tag_v1(title=b"", artist=b"", album=b"", genre=255):
    field = lambda t: t[:30].ljust(30, b"\0")
    return b"TAG" + field(title) + field(artist) + field(album) + b"2001" + bytes(30) + bytes([genre])


def seeds():
    cbr = frame(*MPEG1_L3_128) * 4
    yield "cbr-with-trailing-tag.mp3", cbr + tag_v1(b"Title", b"Artist", b"Album", 17)
    yield "junk-between-frames.mp3", (frame(*MPEG2_L3_64) + b"\x12\xff\xff\xe0\x00\xff" + frame(*MPEG2_L3_64)
                                      + b"\xff" * 3 + frame(*MPEG2_L3_64) + bytes(130))
    yield "v23-ansi-and-utf16.mp3", tag_v2(3, [
        frame_v23(b"TIT2", b"\x00Plain title\x00"),
        frame_v23(b"TPE1", b"\x01\xff\xfe" + "Artiste".encode("utf-16-le")),
        frame_v23(b"TALB", b"\x01\xfe\xff" + "Album".encode("utf-16-be")),
        frame_v23(b"TCON", b"\x00(17)Rock"),
    ]) + cbr
    yield "v23-extended-header.mp3", tag_v2(3, [frame_v23(b"TIT2", b"\x00Extended")], flags=0x40,
                                            extended=struct.pack(">I", 6) + bytes(6)) + cbr
    yield "v22-utf16.mp3", tag_v2(2, [
        frame_v22(b"TT2", b"\x01\xff\xfe" + "Marked".encode("utf-16-le")),
        frame_v22(b"TP1", b"\x01" + "Unmarked".encode("utf-16-le")),
        frame_v22(b"TCO", b"\x00(0)"),
    ]) + cbr + tag_v1(b"", b"Trailing artist")
    yield "v24-utf8-and-be.mp3", tag_v2(4, [
        frame_v24(b"TIT2", b"\x03" + ("\u00e9t\u00e9 " * 20).encode("utf-8")),
        frame_v24(b"TPE1", b"\x02" + "Big Endian".encode("utf-16-be")),
        frame_v24(b"TCON", b"\x03(RX)"),
    ], flags=0x40, extended=synchsafe(6) + b"\x01\x00") + frame(*MPEG2_L3_64) * 3 + bytes(128)
    yield "bit-rate-limits.mp3", frame(*MPEG1_L2_384) + frame(*MPEG25_L3_8) * 2 + bytes(128)


def main():
    os.makedirs("seeds", exist_ok=True)
    for name in os.listdir("seeds"):
        os.remove(os.path.join("seeds", name))
    for name, data in seeds():
        with open(os.path.join("seeds", name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
