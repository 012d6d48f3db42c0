#!/usr/bin/env python3
"""Runs mp3probe as a user would, on MP3 files made here, and checks its JSON."""
import json
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "support"))
from cli_case import Checks, id3v23, mpeg_frame, program_and_work_folder  # noqa: E402


def frame(b1=0xFB, b2=0x90, b3=0x00, length=417):
    return mpeg_frame(b1, b2, b3, length)


def id3v2(body_size, footer=False):
    s = body_size
    size = bytes([(s >> 21) & 0x7F, (s >> 14) & 0x7F, (s >> 7) & 0x7F, s & 0x7F])
    head = b"ID3\x04\x00" + bytes([0x10 if footer else 0]) + size
    # A body that looks like frame syncs: it must not be counted.
    return head + frame()[:body_size].ljust(body_size, b"\xff") + (b"3DI" + bytes(7) if footer else b"")


def id3v1():
    return b"TAG" + bytes([0xFF, 0xFB, 0x90, 0x00]) + bytes(121)


def id3v1_texts(title=b"", artist=b"", album=b"", genre=255):
    field = lambda t: t.ljust(30, b"\0")
    return b"TAG" + field(title) + field(artist) + field(album) + bytes(34) + bytes([genre])


def main():
    probe, work = program_and_work_folder("probe")
    audio = frame() * 1000
    files = {
        "plain.mp3": audio,
        "tagged.mp3": id3v2(600) + audio + id3v1(),
        "footer.mp3": id3v2(300, footer=True) + audio,
        "vbr.mp3": frame() * 10 + frame(b2=0xB0, length=626) + frame() * 10,
        "\u6771\u4eac.mp3": frame() * 3,
        "junk.mp3": b"not an mp3 at all" * 10,
        # What a drop makes of files: accepted with texts, or refused and why.
        "texts.MP3": id3v23([(b"TIT2", b"\x01\xff\xfe" + "Caf\u00e9".encode("utf-16-le")),
                             (b"TPE1", b"\x00Artist")]) + audio + id3v1_texts(b"Old", b"", b"Alb", 17),
        "song.mp3.wav": audio,
        "riff.mp3": b"RIFF" + audio,
        # MPEG-2 Layer III at 24 kbit/s, 22,050 Hz: 78-byte frames.
        "low.mp3": frame(b1=0xF3, b2=0x30, length=78) * 50,
    }
    for name, data in files.items():
        with open(os.path.join(work, name), "wb") as f:
            f.write(data)
    names = list(files) + ["missing.mp3"]
    paths = [os.path.join(work, n) for n in names]
    run = subprocess.run(probe + paths, stdout=subprocess.PIPE, stdin=subprocess.DEVNULL, timeout=120)
    out = run.stdout.decode("utf-8").splitlines()
    checks = Checks()
    check = checks.check

    check(len(out) == len(names), f"one line per file, got {len(out)}: {out}")
    results = {}
    for line in out:
        obj = json.loads(line)
        results[os.path.basename(obj["path"].replace("\\", "/"))] = obj
    whole = {"frames": 1000, "total_ms": 26122, "highest_bps": 128000, "codec": "0380d900"}
    for name in ("plain.mp3", "tagged.mp3", "footer.mp3"):
        check(results.get(name, {}).get("scan") == whole, f"{name}: {results.get(name)}")
    vbr = results.get("vbr.mp3", {}).get("scan", {})
    check(vbr.get("frames") == 21 and vbr.get("highest_bps") == 192000 and vbr.get("codec") == "0390db00",
          f"vbr: {vbr}")
    check(results.get("\u6771\u4eac.mp3", {}).get("scan", {}).get("frames") == 3, f"wide name: {results}")
    check(results.get("junk.mp3", {}).get("scan", {}).get("frames") == 0, f"junk: {results.get('junk.mp3')}")
    check("error" in results.get("missing.mp3", {}), f"missing: {results.get('missing.mp3')}")

    def drop(name, accepted, reason, **fields):
        obj = results.get(name, {})
        got = {k: obj.get(k) for k in ["accepted", "reason"] + list(fields)}
        want = dict(accepted=accepted, reason=reason, **fields)
        check(got == want, f"{name}: drop fields {got}, expected {want}")

    drop("plain.mp3", True, "", lowest_bps=128000, highest_bps=128000, duration_ms=26062, title="plain",
         artist="", album="", genre="", narrow={"title": "706c61696e", "artist": "", "album": "", "genre": ""})
    drop("vbr.mp3", True, "", lowest_bps=128000, highest_bps=192000)
    drop("texts.MP3", True, "", duration_ms=26062, title="Caf\u00e9", artist="Artist", album="Alb", genre="Rock",
         narrow={"title": "436166e9", "artist": "417274697374", "album": "416c62", "genre": "526f636b"})
    drop("\u6771\u4eac.mp3", True, "", title="\u6771\u4eac", duration_ms=78)
    drop("song.mp3.wav", False, "extension", title="")
    drop("riff.mp3", False, "riff")
    drop("low.mp3", False, "bit-rate", lowest_bps=24000, highest_bps=24000, duration_ms=1300)
    drop("junk.mp3", False, "no-frame", lowest_bps=0, highest_bps=0, duration_ms=0)
    drop("missing.mp3", False, "unreadable", title="")
    check(run.returncode != 0, "unreadable file must give a non-zero exit status")

    usage = subprocess.run(probe, stdout=subprocess.PIPE, stderr=subprocess.PIPE, stdin=subprocess.DEVNULL)
    check(usage.returncode == 2, "no arguments is a usage error")

    return checks.finish("mp3probe")


if __name__ == "__main__":
    sys.exit(main())
