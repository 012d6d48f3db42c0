#!/usr/bin/env python3
"""Runs Pellmark.exe under Wine against a simulated player and drives its main window from outside:
real OLE drops from the window probe, message boxes read and pressed, the command line, real messages.

    pellmark_window_test.py --case NAME --wine WINE... --bin DIR --probe EXE --prefix WINEPREFIX
                            --work DIR --artifacts DIR

Cases:
  listing          a player with albums: the list shows them with their tracks and times; Enter does
                   nothing; log-off is refused with message 18176; suspend is allowed while idle; a
                   screenshot of the populated window is kept
  split_drop       1,000 files dropped on an album of 500 tracks: 999 there, 501 in "Rock ( 1 )";
                   while it runs suspend is denied (18451) and Exit does nothing; the window is
                   held back while the first batch ends and the next one starts, and still every
                   row shows the title of the track the player holds at that place
  erase_dropped    an album whose first track the player cannot read gets a dropped track;
                   erasing the dropped row erases exactly that track
  folder_split     a folder of 2,000 tracks dropped on the empty area: albums Live 999, Live(1) 999,
                   Live(2) 2 (an album Live already exists, so the names are made unique)
  refusals         a text file, an 8 kbit/s MPEG-2.5 file and a RIFF file among two MP3s (one named
                   song.MP3) are refused: 17153 shows at the end naming the three with their causes,
                   both MP3s are taken; song.Mp3 inside a dropped folder is skipped; of 25 refused
                   files the box names ten and counts the other 15
  no_space         the first file does not fit: nothing starts, the progress window offers only OK;
                   Exit does nothing while it shows and closes at once once the player is gone
  cancel_folder    Cancel during the folder phase: no partial track, message 17152 at the end
  cancel_commit    Cancel pressed while a track's closing header and properties are written: the
                   track is on the player and in the list, or in neither; once past the point of
                   no return the press is refused
  unplug           the player disappears while idle: message 17921 once, then the program closes
  command_line     a folder named on the command line is transferred once the listing is shown
After every case the player is checked with `playertool check` (every track well formed) and the
simulated library's log must show no unpaired transaction or other caller error.
"""
import os
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(ROOT, "tests", "support"))
from cli_case import mpeg_frame  # noqa: E402
from wine_session import WineSession, driver_arguments, run_case, win_path  # noqa: E402

MAKE_MP3 = os.path.join(ROOT, "scripts", "lib", "make_sample_mp3.py")

MAIN = ["--title", "Pellmark", "--with-control", "1004", "--not-message-box"]
PROGRESS = ["--title", "Pellmark", "--with-control", "1007"]
BOX = ["--message-box", "--title", "Pellmark"]
SETTING_KEY = r"HKLM\SOFTWARE\Keltan Corporation\Pellmark"

TEXT = {
    17152: "The transfer was stopped before all tracks were written. The tracks written so far stay on the player.",
    17153: "Some of the dropped files were skipped: only MP3 files the player can play are transferred.",
    17155: "There is not enough free space on the player for all dropped files. Files that fit: ",
    16640: "Erase the selected albums and tracks from the player? This cannot be undone.",
    17921: "The player did not respond. It may have been disconnected.",
    18176: "Pellmark is running. Close Pellmark before you log off or shut down the computer.",
    18451: "A transfer is running. The computer can go to sleep when the transfer has finished.",
}
HOLD_WINDOW = 0x8000 + 0x54  # WM_APP + 0x54: the main window sleeps wParam ms
WM_QUERYENDSESSION = 0x11
WM_POWERBROADCAST = 0x218
DENY_SUSPEND = 0x424D5144


class Case(WineSession):
    def __init__(self, a):
        self.work = os.path.abspath(a.work)
        shutil.rmtree(self.work, ignore_errors=True)
        os.makedirs(self.work)
        self.player = os.path.join(self.work, "player")
        os.makedirs(self.player)
        super().__init__(a.wine, a.probe, a.artifacts, env=dict(os.environ, PELLMARK_PLAYER=win_path(self.player)))
        self.a = a

    # ---- helpers --------------------------------------------------------------------------------

    def tool(self, *args):
        return self.run(os.path.join(self.a.bin, "playertool.exe"), *args, "--player", win_path(self.player))

    def settings(self, **values):
        with open(os.path.join(self.player, "settings.ini"), "w") as f:
            for k, v in values.items():
                f.write(f"{k.replace('_', '-')} = {v}\n")

    def mp3s(self, folder, count, prefix="Sample Track", frames=4):
        subprocess.run([sys.executable, MAKE_MP3, folder, "--count", str(count), "--frames", str(frames),
                        "--prefix", prefix], check=True)
        return sorted(os.path.join(folder, n) for n in os.listdir(folder))

    def put(self, album, files):
        for i in range(0, len(files), 100):
            rc, text = self.tool("put", album, *[win_path(f) for f in files[i:i + 100]])
            if rc != 0:
                raise RuntimeError(f"playertool put failed: {text}")

    def albums(self):
        """{album name: track count} from playertool list."""
        return {name: len(tracks) for name, tracks in self.tracks().items()}

    def tracks(self):
        """{album name: [(track id, title), ...] in the player's order} from playertool list."""
        rc, text = self.tool("list")
        out, album = {}, None
        for line in text.splitlines():
            if line.startswith("album "):
                # An album the program is still creating may have no name yet.
                quoted = line.split('"')
                album = quoted[1] if len(quoted) > 2 else None
                if album is not None:
                    out[album] = []
            elif line.startswith("  track ") and album is not None:
                # A track still being written has no title yet.
                quoted = line.split('"')
                out[album].append((int(line.split()[1]), quoted[1] if len(quoted) > 2 else None))
        return out

    def titles(self, album):
        return [title for _, title in self.tracks().get(album, [])]

    def start(self, *args):
        return super().start(os.path.join(self.a.bin, "Pellmark.exe"), *args, cwd=self.work)

    def rows(self, tries=3):
        """The list's rows; a read the window did not answer in time (it may be busy with a backlog
        of reports) is tried again. [] when no read succeeded."""
        for _ in range(tries):
            rc, reports = self.probe("rows", *MAIN, "--timeout", "5000")
            if rc == 0:
                return [r["cells"] for r in reports if "cells" in r]
            time.sleep(0.5)
        return []

    def wait_listed(self, rows_expected=None, timeout=60):
        """Waits for the main window and its first listing (the Erase All button is enabled then)."""
        end = time.time() + timeout
        while time.time() < end:
            rc, w = self.one("texts", *MAIN, "--timeout", "2000")
            if rc == 0:
                controls = {c["id"]: c for c in w.get("controls", [])}
                if controls.get(4, {}).get("enabled") and (rows_expected is None or
                                                            len(self.rows()) == rows_expected):
                    return True
            time.sleep(0.3)
        return False

    def box_text(self, timeout_ms=20000):
        rc, box = self.one("text", *BOX, "--id", "0xFFFF", "--timeout", str(timeout_ms))
        return box.get("text") if rc == 0 else None

    def press_box(self):
        self.one("click", *BOX, "--id", "1", "--timeout", "5000")
        self.one("gone", *BOX, "--timeout", "5000")

    def expect_box(self, message_id, what, timeout_ms=20000):
        text = self.box_text(timeout_ms)
        self.check(text == TEXT[message_id], f"{what}: expected message {message_id}, box says {text!r}")
        if text is not None:
            self.press_box()

    def no_box(self, what):
        count = self.one("count", *BOX)[1].get("count", -1)
        self.check(count == 0, f"{what}: {count} message boxes are open")

    def progress_visible(self):
        return self.one("count", *PROGRESS)[1].get("count", 0) > 0

    def wait_transfer_end(self, albums=None, timeout=900):
        """Waits until the progress window has gone again, a message box shows, or (a short
        transfer can come and go between two looks) the player holds the albums expected."""
        end = time.time() + timeout
        seen = False
        while time.time() < end:
            if self.progress_visible():
                seen = True
            elif seen or self.one("count", *BOX)[1].get("count", 0) > 0:
                return True
            elif albums is not None and self.albums() == albums and not self.progress_visible():
                return True
            time.sleep(0.5)
        return False

    def drop(self, where, paths, timeout=900):
        listing = os.path.join(self.work, "drop-list.txt")
        with open(listing, "w", encoding="utf-8") as f:
            f.write("\n".join(win_path(p) for p in paths))
        rc, report = self.one("ole-drop", *MAIN, *where, "--list", win_path(listing), timeout=timeout)
        self.check(rc == 0, f"the OLE drop was not delivered: {report}")
        return report

    def close_main(self, p, what):
        self.one("close", *MAIN, "--timeout", "5000")
        rc = self.ended(p, timeout=30)
        self.check(rc == 0, f"{what}: Pellmark ended with {rc} after Close")

    def final_checks(self):
        rc, text = self.tool("check")
        last = text.strip().splitlines()[-1] if text.strip() else ""
        self.check(rc == 0 and last.endswith(" 0 faults"), f"playertool check: {last!r}")
        log = os.path.join(self.player, "OrlenPACAPI.log")
        if os.path.exists(log):
            with open(log, encoding="utf-8", errors="replace") as f:
                errors = [line.strip() for line in f if "caller error" in line]
            self.check(not errors, f"the library saw caller errors: {errors[:3]}")

    # ---- cases ----------------------------------------------------------------------------------

    def listing(self):
        rock = self.mp3s(os.path.join(self.work, "rock"), 3, "Rock Song", frames=1000)
        jazz = self.mp3s(os.path.join(self.work, "jazz"), 2, "Jazz Tune", frames=2000)
        self.put("Rock", rock)
        self.put("Jazz", jazz)
        p = self.start()
        if not self.check(self.wait_listed(rows_expected=7), "the list shows two albums with five tracks"):
            return
        rows = self.rows()
        # make_sample_mp3 cycles four frame kinds: 1,000 frames of kind 0 (1152 samples at 44.1 kHz) last
        # 26,122 ms, kind 1 (48 kHz) 24,000 ms, kind 2 (576 samples at 22.05 kHz) 26,122 ms.
        expected = [
            ["Rock", "", "", "", ""],
            ["Rock Song 01", "Pellmark Demo Band", "00:26", "Demo Album", "Rock"],
            ["Rock Song 02", "Pellmark Demo Band", "00:24", "Demo Album", "Rock"],
            ["Rock Song 03", "Pellmark Demo Band", "00:26", "Demo Album", "Rock"],
            ["Jazz", "", "", "", ""],
            ["Jazz Tune 01", "Pellmark Demo Band", "00:52", "Demo Album", "Rock"],
            ["Jazz Tune 02", "Pellmark Demo Band", "00:48", "Demo Album", "Rock"],
        ]
        self.check(rows == expected, f"list rows: {rows}")
        rc, status = self.one("text", *MAIN, "--id", "1003")
        self.check(status.get("text", "").endswith(" MB / 1024.00 MB"), f"status line: {status}")
        self.screenshot("main_window_populated.png")

        # Enter does nothing: the window stays and no box opens.
        self.one("key", *MAIN, "RETURN")
        self.one("key", *MAIN, "RETURN", "--id", "1004")
        time.sleep(1)
        self.check(self.one("count", *MAIN)[1].get("count") == 1, "Enter closed the main window")
        self.no_box("after Enter")

        # Log-off is refused at any time, with message 18176.
        rc, r = self.one("send", *MAIN, str(WM_QUERYENDSESSION), "0", "0")
        self.check(r.get("result") == 0, f"WM_QUERYENDSESSION answered {r}")
        self.expect_box(18176, "log-off")
        # Suspend is allowed while nothing runs.
        rc, r = self.one("send", *MAIN, str(WM_POWERBROADCAST), "0", "0")
        self.check(r.get("result") != DENY_SUSPEND, f"an idle suspend was denied: {r}")
        time.sleep(0.5)
        self.no_box("after an idle suspend request")
        self.close_main(p, "listing")

    def split_drop(self):
        self.put("Rock", self.mp3s(os.path.join(self.work, "rock"), 500, "Old"))
        files = self.mp3s(os.path.join(self.work, "drop"), 1000, "New")
        # A player slow enough (about 30 ms a track) for the end of the first batch to be caught.
        self.settings(write_delay_ms=10)
        p = self.start()
        if not self.check(self.wait_listed(rows_expected=501), "Rock is listed with its tracks"):
            return
        self.drop(["--row", "0"], files)
        # While the transfer runs: suspend denied with 18451, Exit ignored.
        if self.progress_visible():
            rc, r = self.one("send", *MAIN, str(WM_POWERBROADCAST), "0", "0")
            self.check(r.get("result") == DENY_SUSPEND, f"suspend during a transfer answered {r}")
            self.expect_box(18451, "suspend during a transfer")
            rc, w = self.one("wait", *MAIN)
            self.check(self.progress_visible() is False or w.get("enabled") is False,
                       "the main window stays disabled behind the progress window after the box")
            self.one("close", *MAIN)
            time.sleep(1)
            self.check(self.one("count", *MAIN)[1].get("count") == 1, "Exit closed the window during a transfer")
        else:
            self.failures.append("the progress window was not shown while the transfer ran")
        if self.hold_over_batch_end():
            # The window has caught up with the held-back reports; the pooled batch still runs.
            time.sleep(2)
            self.check(self.progress_visible(), "the pooled batch was over before the rows were read")
            self.check_rock_rows("while the pooled batch runs")
        self.check(self.wait_transfer_end(), "the transfer ended")
        time.sleep(0.5)
        self.no_box("after the split drop")
        self.check(self.albums() == {"Rock": 999, "Rock ( 1 )": 501}, f"albums after the drop: {self.albums()}")
        self.check_rock_rows("after the drop")
        self.close_main(p, "split_drop")

    def check_rock_rows(self, when, catch_up_s=30):
        """Rock stays open: its rows are the player's tracks, in the player's order. A window still
        working through its backlog shows a correct but shorter Rock; that is waited for, never a
        row with another track's title."""
        end = time.time() + catch_up_s
        while True:
            rows = self.rows()
            held = self.titles("Rock")
            albums = set(self.albums())
            shown = [r[0] for r in rows[1:]]
            shown = shown[:next((i for i, r in enumerate(shown) if r in albums), len(shown))]
            wrong = [(i, r, t) for i, (r, t) in enumerate(zip(shown, held)) if r != t]
            behind = rows[:1] and rows[0][0] == "Rock" and not wrong and len(shown) < len(held)
            if not (behind or not rows) or time.time() >= end:
                break
            time.sleep(0.5)
        self.check(rows[:1] and rows[0][0] == "Rock" and shown == held,
                   f"Rock's rows {when} differ from the player: {len(rows)} rows read, Rock shows "
                   f"{len(shown)} of the player's {len(held)}, first differences {wrong[:5]}")

    def hold_over_batch_end(self):
        """Holds the window's thread while the drop thread ends the first batch (999 in Rock) and
        starts the pooled one ("Rock ( 1 )"), so the window handles the first batch's last reports
        only after the queue holds the next batch. True when the hold covered that moment."""
        end = time.time() + 600
        count = 0
        while time.time() < end:
            count = self.albums().get("Rock", 0)
            if count >= 900:
                break
            time.sleep(0.2)
        if not self.check(900 <= count < 990, f"Rock held {count} tracks when the window was to be held"):
            return False
        hold_ms = 10000
        posted = time.time()
        self.one("post", *MAIN, str(HOLD_WINDOW), str(hold_ms))
        while time.time() < posted + hold_ms / 1000 and "Rock ( 1 )" not in self.albums():
            time.sleep(0.2)
        covered = self.check(time.time() < posted + hold_ms / 1000 - 0.5,
                             "the pooled batch did not start while the window was held")
        time.sleep(max(0.0, posted + hold_ms / 1000 - time.time()))
        return covered

    def folder_split(self):
        self.put("Live", self.mp3s(os.path.join(self.work, "old"), 1, "Old"))
        live = os.path.join(self.work, "drop", "Live")
        self.mp3s(live, 2000, "Take")
        p = self.start()
        if not self.check(self.wait_listed(rows_expected=2), "Live is listed"):
            return
        self.drop(["--empty"], [live])
        self.check(self.wait_transfer_end(), "the transfer ended")
        time.sleep(0.5)
        self.no_box("after the folder drop")
        got = self.albums()
        self.check(got == {"Live": 1, "Live(1)": 999, "Live(2)": 999, "Live(3)": 2}, f"albums: {got}")
        rows = self.rows()
        names = [r[0] for r in rows if r[1] == ""]
        self.check(names == ["Live", "Live(1)", "Live(2)", "Live(3)"], f"album rows: {names}")
        self.close_main(p, "folder_split")

    def write(self, name, data):
        path = os.path.join(self.work, name)
        with open(path, "wb") as f:
            f.write(data)
        return path

    def expect_skipped(self, lines, what):
        """The box that ends a drop which skipped files: 17153, a blank line, then `lines`."""
        text = self.box_text()
        expected = "\n".join([TEXT[17153], ""] + lines)
        self.check(text == expected, f"{what}: the box says {text!r}, expected {expected!r}")
        if text is not None:
            self.press_box()

    def refusals(self):
        samples = self.mp3s(os.path.join(self.work, "samples"), 5, "Song")
        song_upper = os.path.join(self.work, "song.MP3")
        shutil.copy(samples[0], song_upper)
        note = self.write("note.txt", b"not music")
        # MPEG-2.5 Layer III, 8 kbit/s, 11,025 Hz, mono: 52-byte frames.
        slow = self.write("slow.mp3", mpeg_frame(b1=0xE3, b2=0x10, b3=0xC0, length=52) * 200)
        riff = self.write("riff.mp3", b"RIFF" + (36).to_bytes(4, "little") + b"WAVEfmt " + bytes(2000))
        mixed = os.path.join(self.work, "Mixed")
        os.makedirs(mixed)
        shutil.copy(samples[1], os.path.join(mixed, "kept.mp3"))
        shutil.copy(samples[2], os.path.join(mixed, "song.Mp3"))
        p = self.start()
        if not self.check(self.wait_listed(rows_expected=0), "the empty player is listed"):
            return
        self.drop(["--empty"], [note, song_upper, slow, riff, samples[3]])
        self.check(self.wait_transfer_end(), "the first drop ended")
        self.expect_skipped(["note.txt \u2014 not an MP3 file by its name",
                             "slow.mp3 \u2014 bit rate outside 32-320 kbit/s: 8 kbit/s",
                             "riff.mp3 \u2014 not MPEG audio"], "three refused among two MP3s")
        self.check(self.albums() == {"New Album": 2}, f"both MP3s go into a new album: {self.albums()}")
        self.drop(["--empty"], [mixed])
        self.check(self.wait_transfer_end(albums={"New Album": 2, "Mixed": 1}, timeout=120),
                   "the folder drop ended")
        time.sleep(0.5)
        self.no_box("a folder whose only refusal is by its extension")
        self.check(self.albums() == {"New Album": 2, "Mixed": 1}, f"song.Mp3 skipped: {self.albums()}")

        many = [self.write(f"note{i:02}.txt", b"not music") for i in range(25)]
        self.drop(["--row", "0"], many + [samples[4]])
        self.check(self.wait_transfer_end(), "the drop of 25 refused files ended")
        self.expect_skipped([f"note{i:02}.txt \u2014 not an MP3 file by its name" for i in range(10)] +
                            ["\u2026 and 15 more"], "25 refused files")
        self.check(sum(self.albums().values()) == 4, f"the one MP3 among them is taken: {self.albums()}")
        self.close_main(p, "refusals")

    def no_space(self):
        big = self.mp3s(os.path.join(self.work, "big"), 2, "Big", frames=3000)
        # About 1.2 MB each; the player has 1 MB. The player goes away at its 8th poll (about 12 s).
        self.settings(capacity=1048576, disconnect_at_poll=8)
        p = self.start()
        if not self.check(self.wait_listed(rows_expected=0), "the empty player is listed"):
            return
        self.drop(["--empty"], big)
        time.sleep(1)
        rc, w = self.one("texts", *PROGRESS, "--timeout", "5000")
        controls = {c["id"]: c for c in w.get("controls", [])}
        text = controls.get(1006, {}).get("text", "")
        self.check(text.startswith(TEXT[17155] + "0"), f"progress text: {text!r}")
        self.check(controls.get(1007, {}).get("text") == "OK", f"only closing is offered: {controls.get(1007)}")
        self.check(self.albums() == {}, f"nothing was transferred: {self.albums()}")
        # Exit does nothing while the progress window shows ...
        self.one("close", *MAIN)
        time.sleep(1)
        self.check(p.poll() is None, "Exit closed the program while the progress window showed")
        # ... and the program closes at once when the player is gone.
        self.expect_box(17921, "the player went away", timeout_ms=30000)
        rc = self.ended(p, timeout=15)
        self.check(rc == 0, f"Pellmark did not close after the player went away ({rc})")

    def cancel_folder(self):
        folder = os.path.join(self.work, "Concert")
        self.mp3s(folder, 20, "Part", frames=1000)
        # A slow player: each 64 KiB chunk takes 50 ms, so a track takes about 0.35 s.
        self.settings(write_delay_ms=50)
        p = self.start()
        if not self.check(self.wait_listed(rows_expected=0), "the empty player is listed"):
            return
        listing = os.path.join(self.work, "drop-list.txt")
        with open(listing, "w", encoding="utf-8") as f:
            f.write(win_path(folder))
        drop = WineSession.start(self, self.a.probe, "ole-drop", *MAIN, "--empty", "--list", win_path(listing))
        # Cancel once the first tracks of the folder are on the player.
        end = time.time() + 120
        while time.time() < end and sum(self.albums().values()) < 2:
            time.sleep(0.3)
        self.press_cancel_until_taken()
        self.expect_box(17152, "cancel during the folder phase", timeout_ms=60000)
        drop.wait(timeout=60)
        got = self.albums()
        self.check(list(got) == ["Concert"] and 2 <= got["Concert"] < 20, f"albums after cancel: {got}")
        self.close_main(p, "cancel_folder")

    def press_cancel_until_taken(self, tries=8):
        """Presses Cancel in the progress window while a track is being written. From the moment a
        track is committed until the next one starts, the window refuses Cancel by design; a press
        that lands there is pressed again. True once a message box shows (the drop has stopped)."""
        seen = []
        for _ in range(tries):
            rc, w = self.one("texts", *PROGRESS, "--timeout", "2000")
            button = {c["id"]: c for c in w.get("controls", [])}.get(1007, {})
            seen.append((rc, button.get("text"), button.get("enabled")))
            if rc == 0 and button.get("enabled"):
                self.one("click", *PROGRESS, "--id", "1007")
            if self.box_text(timeout_ms=1500) is not None:
                return True
        self.failures.append(f"Cancel was never taken; the button was {seen}")
        return False

    def list_titles(self, album):
        """Track titles the list shows under an album (album rows have no artist)."""
        titles, inside = [], False
        for cells in self.rows():
            if cells[1] == "":
                inside = cells[0] == album
            elif inside:
                titles.append(cells[0])
        return titles

    def cancel_commit(self):
        self.put("Rock", self.mp3s(os.path.join(self.work, "rock"), 1, "Old"))
        new = self.mp3s(os.path.join(self.work, "new"), 2, "New")
        # A slow player: each write (headers, audio, properties) takes 1.5 s, and an ended export
        # is filed away for a second more, so the closing steps of a track can be hit.
        self.settings(write_delay_ms=1500, commit_delay_ms=1000)
        p = self.start()
        if not self.check(self.wait_listed(rows_expected=2), "Rock is listed"):
            return
        # 80 %: the closing header is written; the properties follow and the track is committed.
        # 70 %: the audio is written; the closing header is still being written.
        for name, ending, kept in ((new[0], "80 %", True), (new[1], "70 %", False)):
            click = WineSession.start(self, self.a.probe, "click-when", *PROGRESS, "--id", "1007",
                                      "--watch", "1006", "--ends-with", ending, "--timeout", "60000")
            self.drop(["--row", "0"], [name])
            self.check(self.ended(click, 90) == 0, f"Cancel was not pressed at {ending}")
            if kept:
                self.check(self.wait_transfer_end(timeout=60), "the drop ended")
                text = self.box_text(timeout_ms=1000)
                if not self.check(text is None, f"Cancel at {ending} was taken, past the point of no return: "
                                                f"a box says {text!r}"):
                    self.press_box()
            else:
                self.expect_box(17152, f"Cancel at {ending}", timeout_ms=60000)
            on_player, in_list = self.titles("Rock"), self.list_titles("Rock")
            self.check(on_player == in_list, f"Cancel at {ending}: player {on_player}, list {in_list}")
            title = os.path.splitext(os.path.basename(name))[0]
            self.check((title in on_player) == kept, f"Cancel at {ending}: player {on_player}")
        self.close_main(p, "cancel_commit")

    def erase_dropped(self):
        self.put("Rock", self.mp3s(os.path.join(self.work, "old"), 2, "Old"))
        # The player cannot read Rock's first track: the listing leaves it out, so the list's
        # positions in Rock are one less than the player's.
        damaged, kept = self.tracks()["Rock"]
        self.settings(unreadable_track=damaged[0])
        new = self.mp3s(os.path.join(self.work, "new"), 1, "New")
        p = self.start()
        if not self.check(self.wait_listed(rows_expected=2), "Rock is listed without its unreadable track"):
            return
        self.drop(["--row", "0"], new)
        self.check(self.wait_transfer_end(albums={"Rock": 3}, timeout=120), "the drop ended")
        time.sleep(0.5)
        rows = [r[0] for r in self.rows()]
        self.check(rows == ["Rock", kept[1], "New 01"], f"rows after the drop: {rows}")
        self.one("select-row", *MAIN, "2")
        self.one("click", *MAIN, "--id", "3")
        self.expect_box(16640, "Erase asks first")
        end = time.time() + 30
        while time.time() < end and len(self.titles("Rock")) == 3:
            time.sleep(0.3)
        self.check(self.titles("Rock") == [damaged[1], kept[1]],
                   f"the player after erasing the dropped row: {self.titles('Rock')}")
        self.no_box("after the erase")
        self.check(self.wait_listed(rows_expected=2), f"rows after the erase: {self.rows()}")
        self.close_main(p, "erase_dropped")

    def unplug(self):
        self.put("Rock", self.mp3s(os.path.join(self.work, "rock"), 2, "Song"))
        self.settings(disconnect_at_poll=3)
        p = self.start()
        self.check(self.wait_listed(rows_expected=3), "Rock is listed")
        self.expect_box(17921, "the player went away", timeout_ms=30000)
        rc = self.ended(p, timeout=15)
        self.check(rc == 0, f"Pellmark did not close after the player went away ({rc})")
        self.no_box("after the program closed")

    def command_line(self):
        self.put("Rock", self.mp3s(os.path.join(self.work, "rock"), 1, "Song"))
        folder = os.path.join(self.work, "Evening")
        self.mp3s(folder, 5, "Piece")
        p = self.start(win_path(folder))
        end = time.time() + 60
        while time.time() < end and self.albums().get("Evening") != 5:
            time.sleep(0.5)
        self.check(self.albums() == {"Rock": 1, "Evening": 5}, f"albums: {self.albums()}")
        # The new album stays closed in the list until the next listing.
        self.check(self.wait_listed(rows_expected=3), "the list shows both albums")
        self.no_box("after the command-line drop")
        self.close_main(p, "command_line")
        # A plain start changes nothing.
        p = self.start()
        self.check(self.wait_listed(rows_expected=8), "a plain start lists the same")
        time.sleep(2)
        self.check(self.albums() == {"Rock": 1, "Evening": 5}, f"a plain start changed the player: {self.albums()}")
        self.close_main(p, "plain start")


def main():
    a = driver_arguments("--bin", "--prefix")
    case = Case(a)
    # Start without the help window.
    return run_case(case, a.case, a.case, before=lambda: case.one("reg-set", SETTING_KEY, "Pellmark", "10"),
                    after=case.final_checks)


if __name__ == "__main__":
    sys.exit(main())
