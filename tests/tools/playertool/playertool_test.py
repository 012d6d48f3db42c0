#!/usr/bin/env python3
"""Runs playertool as a user would: puts generated MP3 files onto a player
folder, lists and checks it, then damages the stored tracks and checks that
every fault is named."""
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "support"))
from cli_case import Checks, id3v23, mpeg_frame, program_and_work_folder  # noqa: E402


def frame(b1=0xFB, b2=0x90, b3=0x00, length=417, fill=0x55):
    return mpeg_frame(b1, b2, b3, length, fill)


def main():
    tool, work = program_and_work_folder("tool")
    player = os.path.join(work, "player")
    files = {
        "plain.mp3": frame() * 300,
        "tagged.mp3": id3v23([(b"TIT2", b"\x00Song"), (b"TPE1", b"\x00Band")]) + frame(fill=0x33) * 200,
        # MPEG-2 Layer III, 64 kbit/s, 22,050 Hz: 208-byte frames.
        "mpeg2.mp3": frame(b1=0xF3, b2=0x80, length=208) * 150,
        "junk.mp3": b"not an mp3" * 50,
    }
    for name, data in files.items():
        with open(os.path.join(work, name), "wb") as f:
            f.write(data)
    checks = Checks()
    check = checks.check

    def run(*args):
        r = subprocess.run(tool + list(args), stdout=subprocess.PIPE, stdin=subprocess.DEVNULL, timeout=120)
        return r.returncode, r.stdout.decode("utf-8").replace("\r\n", "\n")

    paths = [os.path.join(work, n) for n in files]
    code, out = run("put", "Mixed", *paths, "--player", player)
    check(code == 1, f"put with a refused file exits 1, got {code}: {out}")
    check('created album "Mixed"' in out, f"album created: {out}")
    check(out.count("stored: ") == 3 and "refused: " in out and "junk.mp3" in out, f"three stored, one refused: {out}")
    check("put: 3 stored, 1 failed" in out, f"summary: {out}")
    # The cause in the words the track manager's box uses for the file.
    check("junk.mp3 \u2014 not MPEG audio\n" in out, f"the refusal says why: {out}")
    check(" 100%" in out, f"progress reaches 100%: {out}")

    code, out = run("put", "Mixed", paths[0], "--player", player)
    check(code == 0 and "created album" not in out, f"second put goes into the existing album: {code} {out}")

    code, out = run("list", "--player", player)
    check(code == 0, f"list exits 0: {code}")
    lines = out.splitlines()
    check(any(l.startswith('album 256 "Mixed" (4 tracks') for l in lines), f"album line: {out}")
    tracks = [l for l in lines if l.startswith("  track ")]
    check(len(tracks) == 4, f"four track lines: {out}")
    check(any('"Song" artist "Band"' in l for l in tracks), f"tag texts listed: {out}")
    check(all("flags 0xFFFE" in l for l in tracks), f"new-track flags: {out}")

    code, out = run("check", "--player", player)
    check(code == 0 and out.strip().endswith("check: 1 albums, 4 tracks, 0 faults"), f"clean check: {code} {out}")

    # Damage: a wrong frame count in one header block, a missing file, a stray file.
    tracks_dir = os.path.join(player, "tracks")
    names = sorted(os.path.relpath(os.path.join(d, f), tracks_dir).replace(os.sep, "/")
                   for d, _, files in os.walk(tracks_dir) for f in files)
    with open(os.path.join(tracks_dir, names[0]), "r+b") as f:
        f.seek(3072 + 43)
        f.write(b"\x07")
    os.remove(os.path.join(tracks_dir, names[1]))
    with open(os.path.join(tracks_dir, "stray.kvx"), "wb") as f:
        f.write(b"x")
    code, out = run("check", "--player", player)
    check(code == 1, f"damaged check exits 1: {code}")
    check("frames, the audio has 300" in out, f"frame count fault named: {out}")
    check(f"{names[1]}): file missing" in out, f"missing file named: {out}")
    check("stray.kvx is not in the index" in out, f"stray file named: {out}")
    check(out.strip().endswith("check: 1 albums, 4 tracks, 3 faults"), f"summary line: {out}")

    # fill: copies of one stored track, past the first folder of track files.
    filled = os.path.join(work, "filled")
    code, out = run("fill", "--albums", "2", "--tracks-per-album", "150", paths[0], "--player", filled)
    check(code == 0, f"fill exits 0: {code} {out}")
    code, out = run("check", "--player", filled)
    check(code == 0 and out.strip().endswith("check: 2 albums, 300 tracks, 0 faults"), f"filled check: {code} {out}")

    code, out = run("frobnicate")
    check(code == 2, f"unknown command exits 2: {code}")

    return checks.finish("playertool")


if __name__ == "__main__":
    sys.exit(main())
