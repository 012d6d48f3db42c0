#!/usr/bin/env python3
"""Checks the release zips and what they ship.

    package_test.py --case contents --zip ZIP [--bin DIR]
    package_test.py --case vantle --zip ZIP
    package_test.py --case delivery --zip ZIP --wine WINE... --probe EXE --prefix WINEPREFIX
                    --work DIR --artifacts DIR

Cases:
  contents   the win64 zip holds exactly the delivery, the wizard, the readme and the simulator
             folder, each program as built (--bin); version.txt is the 12-character version text;
             every program carries the version of the file VERSION, no link time stamp and no
             symbol table; the wizard's manifest asks for elevation, both programs' manifests
             for common controls 6 and DPI awareness
  vantle     the i686 zip: the 32-bit Vantle.dll with its version, and a text
  delivery   the zip unpacked into a fresh folder; Deckhand.exe from there copies the delivery
             onto a removable drive; Pellmark.exe started from that drive (the simulator's
             library beside it for this run only) lists the simulated player, and its log banner
             names the version of version.txt
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import time
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(ROOT, "tests", "support"))
sys.path.insert(0, os.path.join(ROOT, "scripts", "lib"))
from pe_resources import describe  # noqa: E402
from wine_session import WineSession, run_case, win_path  # noqa: E402

MAKE_MP3 = os.path.join(ROOT, "scripts", "lib", "make_sample_mp3.py")
DELIVERY = ["Pellmark.exe", "Mtbl.dll", "help.htm", "version.txt"]
WIZARD = ["Deckhand.exe", "Deckhand.ini", "Vantle.dll"]
SIMULATOR = ["simulator/OrlenPACAPI.dll", "simulator/playertool.exe", "simulator/README.txt"]
VFT_APP, VFT_DLL = 1, 2
AMD64, I386 = 0x8664, 0x14C
CB_GETCOUNT, CB_SETCURSEL = 0x146, 0x14E


def project_version():
    with open(os.path.join(ROOT, "VERSION")) as f:
        return f.readline().strip()


def version_text(version):
    """What version.txt must hold: the banner's layout for four numbers, 12 characters."""
    return "%d.%d.%02d.%05d" % tuple(int(p) for p in version.split("."))


class Checks(WineSession):
    def __init__(self, a):
        super().__init__(a.wine or ["wine64"], a.probe, a.artifacts)
        self.a = a
        self.version = project_version()
        self.zip = zipfile.ZipFile(a.zip)
        self.drive = None

    def program_resources(self, name, data, machine, file_type, manifest_wanted):
        try:
            pe = describe(data)
        except Exception as e:  # a damaged file is a failed check, not a crash of the test
            self.check(False, f"{name}: not readable as a program: {e}")
            return
        numbers = [int(p) for p in self.version.split(".")]
        self.check(pe["machine"] == machine, f"{name}: machine {pe['machine']:#x}")
        self.check(pe["timestamp"] == 0, f"{name}: link time stamp {pe['timestamp']} makes builds differ")
        self.check(pe["symbols"] == 0 and not any(s.startswith((".debug", "/")) for s in pe["sections"]),
                   f"{name}: carries symbols or debug sections {pe['sections']}")
        v = pe["version"]
        if not self.check(v is not None, f"{name}: no version resource"):
            return
        self.check(v["file_version"] == numbers and v["product_version"] == numbers,
                   f"{name}: version {v['file_version']} / {v['product_version']}, VERSION says {self.version}")
        s = v["strings"]
        self.check(s.get("FileVersion") == self.version and s.get("ProductVersion") == self.version,
                   f"{name}: version texts {s.get('FileVersion')!r} / {s.get('ProductVersion')!r}")
        self.check(s.get("OriginalFilename") == name.split("/")[-1], f"{name}: OriginalFilename {s}")
        self.check(v["file_type"] == file_type, f"{name}: file type {v['file_type']}")
        manifest = pe["manifest"] or ""
        self.check(bool(manifest) == manifest_wanted, f"{name}: manifest present: {bool(manifest)}")
        return manifest

    def check_manifest(self, name, manifest, elevated):
        compact = re.sub(r"\s+", " ", manifest)
        self.check('name="Microsoft.Windows.Common-Controls" version="6.0.0.0"' in compact,
                   f"{name}: no common controls 6 in the manifest")
        self.check(re.search(r"<dpiAware[^>]*>\s*true\s*</dpiAware>", manifest) is not None,
                   f"{name}: not DPI aware")
        level = re.search(r'requestedExecutionLevel level="(\w+)"', manifest)
        self.check((level.group(1) if level else None) == ("requireAdministrator" if elevated else None),
                   f"{name}: execution level {level.group(1) if level else None}")

    # ---- cases ----------------------------------------------------------------------------------

    def contents(self):
        top = f"Pellmark-{self.version}/"
        names = sorted(self.zip.namelist())
        expected = sorted(top + n for n in DELIVERY + WIZARD + SIMULATOR + ["README.txt"])
        self.check(names == expected, f"zip entries {names}, expected {expected}")
        self.check(names == self.zip.namelist(), "zip entries are not in name order")
        self.check(len({i.date_time for i in self.zip.infolist()}) == 1, "zip entries differ in time")
        if self.a.bin:
            for n in DELIVERY + WIZARD + SIMULATOR[:2]:
                with open(os.path.join(self.a.bin, os.path.basename(n)), "rb") as f:
                    self.check(self.zip.read(top + n) == f.read(), f"{n} in the zip is not the built file")
        text = self.zip.read(top + "version.txt")
        self.check(text == version_text(self.version).encode() and len(text) == 12,
                   f"version.txt holds {text!r}")
        programs = {"Pellmark.exe": (VFT_APP, True), "Deckhand.exe": (VFT_APP, True), "Vantle.dll": (VFT_DLL, False)}
        for name, (kind, with_manifest) in programs.items():
            manifest = self.program_resources(name, self.zip.read(top + name), AMD64, kind, with_manifest)
            if manifest:
                self.check_manifest(name, manifest, elevated=name == "Deckhand.exe")
        readme = self.zip.read(top + "README.txt").decode()
        for needed in ("Deckhand.exe", "PLMRK", "Pellmark.exe", r"C:\Pellmark LogFile\PellmarkLog.txt", self.version):
            self.check(needed in readme, f"README.txt does not mention {needed}")

    def vantle(self):
        names = sorted(self.zip.namelist())
        self.check(names == ["README.txt", "Vantle.dll"], f"i686 zip entries {names}")
        if "Vantle.dll" in names:
            self.program_resources("Vantle.dll", self.zip.read("Vantle.dll"), I386, VFT_DLL, False)

    def delivery(self):
        work = os.path.abspath(self.a.work)
        unpacked = os.path.join(work, "unpacked")
        self.zip.extractall(unpacked)
        program = os.path.join(unpacked, f"Pellmark-{self.version}")
        drive = os.path.join(work, "drive")
        player = os.path.join(drive, "PLAYER")
        os.makedirs(player)

        # The simulated player, filled with the zip's own tool.
        music = os.path.join(work, "music")
        subprocess.run([sys.executable, MAKE_MP3, music, "--count", "3", "--frames", "40", "--prefix", "Road Song"],
                       check=True, stdout=subprocess.DEVNULL)
        songs = [win_path(os.path.join(music, n)) for n in sorted(os.listdir(music))]
        rc, out = self.run(os.path.join(program, "simulator", "playertool.exe"), "put", "Road Trip", *songs,
                           "--player", win_path(player), timeout=120)
        if not self.check(rc == 0, f"playertool put: {rc} {out}"):
            return

        self.map_drive("k", drive)
        self.copy_with_wizard(program)
        plmrk = os.path.join(drive, "PLMRK")
        copied = sorted(os.listdir(plmrk)) if os.path.isdir(plmrk) else []
        self.check(copied == sorted(DELIVERY), f"on the player: {copied}, expected {sorted(DELIVERY)}")
        for n in copied:
            with open(os.path.join(plmrk, n), "rb") as a, open(os.path.join(program, n), "rb") as b:
                self.check(a.read() == b.read(), f"{n} on the player differs from the zip's")
        if copied == sorted(DELIVERY):
            self.run_from_player(program, plmrk)

    def map_drive(self, letter, folder):
        rc, r = self.one("define-drive", letter, folder, "removable", timeout=60)
        self.check(rc == 0 and r.get("type") == 2, f"drive {letter}: mapped as removable: {r}")
        self.drive = letter

    def copy_with_wizard(self, program):
        window = ["--title", "Pellmark Update", "--not-message-box"]
        wizard = self.start(os.path.join(program, "Deckhand.exe"), cwd=program)

        def page(with_control, timeout=20):
            rc, w = self.one("wait", *window, "--with-control", str(with_control), "--timeout",
                             str(timeout * 1000), timeout=timeout + 30)
            return rc == 0

        def click(control):
            self.one("click", *window, "--id", str(control), "--timeout", "5000", timeout=60)

        if not self.check(page(1013), "the wizard's welcome page"):
            return
        click(1)
        if not self.check(page(1002), "the drive selection page"):
            return
        # The scan starts half a second after the page opens; on a busy machine it may take longer.
        chosen = False
        deadline = time.time() + 20
        while not chosen and time.time() < deadline:
            time.sleep(0.5)
            count = self.one("send", *window, CB_GETCOUNT, "--id", 1002, timeout=60)[1].get("result", 0)
            for i in range(max(count, 0)):
                self.one("send", *window, CB_SETCURSEL, i, "--id", 1002, timeout=60)
                if self.one("text", *window, "--id", 1002, timeout=60)[1].get("text") == " (K:)":
                    chosen = True
                    break
        if not self.check(chosen, "the player's drive K: is offered"):
            return
        click(1)
        if not self.check(page(1014) and self.one("text", *window, "--id", "1014", timeout=60)[1].get("text") == "K:",
                          "the confirmation page names K:"):
            return
        click(1)
        if not self.check(page(1004, timeout=60), "the finished page"):
            return
        message = self.one("text", *window, "--id", "1013", timeout=60)[1].get("text", "")
        self.check(message.startswith("Pellmark has been copied onto the player"), f"finished page: {message!r}")
        self.screenshot("package-wizard-finished.png")
        click(2)
        self.check(self.ended(wizard) == 0, "the wizard ends after Finish")

    def run_from_player(self, program, plmrk):
        main = ["--title", "Pellmark", "--with-control", "1004", "--not-message-box"]
        library = os.path.join(plmrk, "OrlenPACAPI.dll")
        shutil.copy(os.path.join(program, "simulator", "OrlenPACAPI.dll"), library)
        log = os.path.join(self.a.prefix, "drive_c", "Pellmark LogFile", "PellmarkLog.txt")
        before = self.log_size(log)
        try:
            self.one("reg-set", r"HKLM\SOFTWARE\Keltan Corporation\Pellmark", "Pellmark", "10", timeout=60)
            env = dict(os.environ, PELLMARK_PLAYER="K:\\PLAYER")
            p = self.start("K:\\PLMRK\\Pellmark.exe", cwd=plmrk, env=env)
            rows = []
            deadline = time.time() + 60
            while time.time() < deadline and len(rows) < 4:
                time.sleep(0.5)
                reports = self.probe("rows", *main, "--timeout", "2000", timeout=60)[1]
                rows = [r["cells"] for r in reports if "cells" in r]
            titles = [r[0] for r in rows]
            self.check(titles == ["Road Trip", "Road Song 01", "Road Song 02", "Road Song 03"],
                       f"the list shows {titles}")
            self.screenshot("package-pellmark-from-player.png")
            self.one("close", *main, "--timeout", "5000", timeout=60)
            self.check(self.ended(p) == 0, "Pellmark ends after Close")
        finally:
            os.remove(library)
        tail = self.log_since(log, before)
        banner = f"debg: Pellmark Version {version_text(self.version)} running on "
        self.check(banner in tail, f"no banner {banner!r} in the log: {tail[:300]!r}")
        self.check("debg: The application path is 'K:\\PLMRK\\'" in tail, "the log names K:\\PLMRK\\ as the program's folder")

    def cleanup(self):
        super().cleanup()
        if self.drive:
            self.one("remove-drive", self.drive, timeout=60)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--case", required=True, choices=["contents", "vantle", "delivery"])
    ap.add_argument("--zip", required=True)
    ap.add_argument("--bin")
    ap.add_argument("--wine", nargs="+")
    ap.add_argument("--probe")
    ap.add_argument("--prefix")
    ap.add_argument("--work")
    ap.add_argument("--artifacts")
    a = ap.parse_args()
    if a.work:
        shutil.rmtree(a.work, ignore_errors=True)
        os.makedirs(a.work)
    return run_case(Checks(a), a.case, f"package {a.case}")


if __name__ == "__main__":
    sys.exit(main())
