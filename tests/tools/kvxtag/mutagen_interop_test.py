#!/usr/bin/env python3
"""Checks our tags with an ID3v2.3 reader we did not write (mutagen).

1. kvxtag writes a tag with every frame kind; with its magic changed to
   "ID3", mutagen must read the same frames, texts and sizes.
2. mutagen writes an ID3v2.3 tag in encodings 0 and 1; with its magic
   changed to "kvx", kvxtag must read its texts, and after a change of
   title (which converts everything to encoding 2) mutagen must read every
   frame back unchanged."""
import json
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "support"))
from cli_case import Checks, program_and_work_folder  # noqa: E402

try:
    from mutagen import id3
except ImportError:
    print("FAIL: python3-mutagen is not installed for " + sys.executable)
    sys.exit(1)

AUDIO = bytes([0xFF, 0xFB, 0x90, 0x00]) + bytes(413)
checks = Checks()
check = checks.check


def with_magic(src, dst, magic):
    with open(src, "rb") as f:
        data = f.read()
    with open(dst, "wb") as f:
        f.write(magic + data[3:])


def frame_size(body_size):
    return 10 + body_size


def ours_then_mutagen(tool, work):
    path = os.path.join(work, "ours.kvx")
    with open(path, "wb") as f:
        f.write(AUDIO * 10)
    title = "\u00c9t\u00e9 " + "x" * 300  # cut to 256 characters
    runs = [
        ["set", path, "--title", title, "--artist", "\u6771\u4eac", "--album", "Album", "--genre", "Jazz"],
        ["put", path, "13", "77", "7"],                          # TXXX LMR_TRACK
        ["put", path, "13", "13", "one", "two"],                 # TXXX LMR_FTHBL1, 2
        ["put", path, "14", "111", "http://info/"],              # WXXX LMR_WINFO1
        ["put", path, "8", "0", "http://a/", "http://b/"],       # two WOAR
        ["put", path, "15", "122", "--encoding", "0", "data"],   # GEOB LMR_ULINF
        ["put", path, "10", "0", "--encoding", "1", "Comp\u00f6ser"],  # TCOM, stored in encoding 1
        ["put", path, "3", "0", "--mode", "3", "26122"],         # TLEN, protected
    ]
    for args in runs:
        out = subprocess.run(tool + args, stdout=subprocess.PIPE, stderr=subprocess.PIPE, stdin=subprocess.DEVNULL,
                             timeout=120)
        check(out.returncode == 0, f"kvxtag {args[0]} {args[2:4]}: {out.stderr}")

    copy = os.path.join(work, "ours.mp3")
    with_magic(path, copy, b"ID3")
    tags = id3.ID3(copy)
    check(tags.version == (2, 3, 0), f"version {tags.version}")
    check(tags.size == 3072, f"tag size {tags.size}")
    check(not tags.unknown_frames, f"unknown frames {tags.unknown_frames}")
    expect_text = {
        "TIT2": title[:256], "TPE1": "\u6771\u4eac", "TALB": "Album", "TCON": "Jazz", "TXXX:LMR_TRACK": "7",
        "TXXX:LMR_FTHBL1": "one", "TXXX:LMR_FTHBL2": "two", "TLEN": "26122",
    }
    for key, text in expect_text.items():
        got = tags.get(key)
        check(got is not None and list(got.text) == [text], f"{key}: {got!r}")
        # Everything this library writes is UTF-16BE.
        check(got is not None and got.encoding == 2, f"{key} encoding: {getattr(got, 'encoding', None)}")
    # Built in encoding 1; the next write (the TLEN one) converted it to 2.
    tcom = tags.get("TCOM")
    check(tcom is not None and list(tcom.text) == ["Comp\u00f6ser"] and tcom.encoding == 2, f"TCOM: {tcom!r}")
    wxxx = tags.get("WXXX:LMR_WINFO1")
    check(wxxx is not None and wxxx.url == "http://info/", f"WXXX: {wxxx!r}")
    check(sorted(f.url for f in tags.getall("WOAR")) == ["http://a/", "http://b/"], f"WOAR: {tags.getall('WOAR')}")
    geob = tags.get("GEOB:LMR_ULINF")
    check(geob is not None and geob.data == b"data" and geob.mime == "" and geob.filename == "",
          f"GEOB: {geob!r}")

    # Sizes: mutagen finds the padding right after the last frame only if
    # every frame size we wrote is right.
    desc_size = lambda d: 2 * len(d) + 2
    bodies = [1 + 512, 1 + 2 * 2, 1 + 2 * 5, 1 + 2 * 4,                     # TIT2 TPE1 TALB TCON
              1 + desc_size("LMR_TRACK") + 2, 1 + desc_size("LMR_FTHBL1") + 6, 1 + desc_size("LMR_FTHBL2") + 6,
              1 + desc_size("LMR_WINFO1") + len("http://info/"), len("http://a/"), len("http://b/"),
              1 + 1 + 2 + desc_size("LMR_ULINF") + 4, 1 + 2 * 8, 1 + 2 * 5]   # GEOB (mime, file name) TCOM TLEN
    frames_total = sum(frame_size(b) for b in bodies)
    check(tags._padding == 3072 - 10 - frames_total, f"padding {tags._padding}, frames {frames_total}")
    with open(copy, "rb") as f:
        check(f.read()[3072:] == AUDIO * 10, "audio after the tag")


def mutagen_then_ours(tool, work):
    src = os.path.join(work, "theirs.mp3")
    with open(src, "wb") as f:
        f.write(AUDIO * 10)
    tags = id3.ID3()
    tags.add(id3.TIT2(encoding=0, text="Old title"))
    tags.add(id3.TPE1(encoding=1, text="\u00c5rtist \u6771"))
    tags.add(id3.TALB(encoding=0, text="Caf\u00e9"))
    tags.add(id3.TXXX(encoding=1, desc="LMR_TRACK", text="12"))
    tags.add(id3.WXXX(encoding=0, desc="home", url="http://home/"))
    tags.add(id3.WOAR(url="http://artist/"))
    tags.add(id3.GEOB(encoding=1, mime="application/x-lmr", filename="f.bin", desc="LMR_LSI", data=b"\x00\x01\x02"))
    tags.save(src, v2_version=3, padding=lambda info: 1000)
    ours = os.path.join(work, "theirs.kvx")
    with_magic(src, ours, b"kvx")

    out = subprocess.run(tool + ["show", ours], stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                         stdin=subprocess.DEVNULL, timeout=120)
    check(out.returncode == 0, f"show mutagen's tag: {out.stderr}")
    lines = [json.loads(x) for x in out.stdout.decode("utf-8").splitlines()]
    texts = {x["key"]: x.get("text") for x in lines[1:]}
    check(texts.get("TIT2") == "Old title" and texts.get("TPE1") == "\u00c5rtist \u6771" and
          texts.get("TALB") == "Caf\u00e9" and texts.get("LMR_TRACK") == "12" and texts.get("home") == "http://home/",
          f"texts read by kvxtag: {texts}")

    out = subprocess.run(tool + ["set", ours, "--title", "New title"], stdout=subprocess.PIPE,
                         stderr=subprocess.PIPE, stdin=subprocess.DEVNULL, timeout=120)
    check(out.returncode == 0, f"set on mutagen's tag: {out.stderr}")
    back = os.path.join(work, "back.mp3")
    with_magic(ours, back, b"ID3")
    again = id3.ID3(back)
    check(list(again["TIT2"].text) == ["New title"], f"TIT2 {again.get('TIT2')!r}")
    check(list(again["TPE1"].text) == ["\u00c5rtist \u6771"], f"TPE1 {again.get('TPE1')!r}")
    check(list(again["TALB"].text) == ["Caf\u00e9"], f"TALB {again.get('TALB')!r}")
    check(list(again["TXXX:LMR_TRACK"].text) == ["12"], "TXXX")
    check(again["WXXX:home"].url == "http://home/", "WXXX")
    check(again["WOAR:http://artist/"].url == "http://artist/", "WOAR")
    geob = again["GEOB:LMR_LSI"]
    check((geob.mime, geob.filename, geob.data) == ("application/x-lmr", "f.bin", b"\x00\x01\x02"), f"GEOB {geob!r}")
    for key in ("TIT2", "TPE1", "TALB", "TXXX:LMR_TRACK", "WXXX:home", "GEOB:LMR_LSI"):
        check(again[key].encoding == 2, f"{key} converted to encoding 2")
    with open(back, "rb") as f:
        check(f.read()[again.size:] == AUDIO * 10, "audio after the rewritten tag")


def main():
    tool, work = program_and_work_folder("tool")
    ours_then_mutagen(tool, work)
    mutagen_then_ours(tool, work)
    return checks.finish("mutagen interop")


if __name__ == "__main__":
    sys.exit(main())
