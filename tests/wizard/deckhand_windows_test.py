#!/usr/bin/env python3
"""Runs Deckhand.exe under Wine as a user would and drives it page by page with the window probe.

    deckhand_windows_test.py --case NAME --wine WINE... --deckhand EXE --scripted-deckhand EXE
                             --vantle DLL --probe EXE --work DIR --artifacts DIR

The player is a folder of the host mapped to a removable drive letter of the prefix (the probe's
define-drive). The scripted build answers INQUIRY from simulated players named in a script file.

Cases:
  full_copy        every page in turn with Back on the drive and confirmation pages, the cancel
                   question declined, a copy whose files match the sources (renamed, read-only one
                   replaced, a Windows 98 only entry left out); a screenshot of every page
  listing          which drives are listed (name and DeviceCap, a reader refusing pass-through, a
                   fixed drive), and Refresh after the player moved to another letter
  failed_copy      a copy that fails shows the system's text, offers drive selection, and a fresh
                   run then succeeds
  cancel_copy      cancelling with Yes ends on the failure page with the abort code
  no_player        ten scans without a player end with the no-device box and the page stays
                   open with Next disabled; a player that arrives while Refresh is retrying is
                   listed without the box (the scripted build waits 400 ms between scans)
  system_checks    TARGET 1 on the NT family, a plain user and a Power User, a missing settings
                   file: one message box each and no page
  real_program     the shipped Deckhand.exe (no simulation) copies onto a removable drive that
                   cannot be asked for INQUIRY
Every case leaves no Deckhand running and no drive mapped; failures make the exit status 1.
"""
import os
import shutil
import stat
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from wine_session import WineSession, driver_arguments, run_case, win_path  # noqa: E402

TITLE = "Pellmark Update"
WINDOW = ["--title", TITLE, "--not-message-box"]
BOX = ["--message-box"]

IDOK, IDCANCEL, IDNO, IDYES = 1, 2, 7, 6
BACK, DRIVE_LIST, TO_DRIVE_SELECTION, REFRESH, MESSAGE, DETAIL = 1001, 1002, 1004, 1012, 1013, 1014
CB_GETCOUNT, CB_SETCURSEL = 0x146, 0x14E

TEXTS = {
    "MAIN_TITLE": TITLE,
    "BUTTON_REFRESH": "Refresh",
    "BUTTON_TO_SEL_DRV": "Choose drive",
    "DLG_CAP_WELCOME": "",
    "DLG_MSG_WELCOME": "Welcome message",
    "DLG_CAP_SEL_DRV": "Choose the player",
    "DLG_MSG_SEL_DRV": "Choose the drive",
    "DLG_MSG_NO_DEVICE": "No player",
    "DLG_CAP_CONFIRMATION": "Ready",
    "DLG_MSG_CONFIRMATION": "Copy onto",
    "DLG_CAP_COPYING": "Copying",
    "DLG_MSG_COPYING": "Copying now",
    "DLG_CAP_FINISHED": "Finished",
    "DLG_MSG_FINISHED1": "All copied",
    "DLG_CAP_FAILED": "Failed",
    "DLG_MSG_FINISHED2": "Copy failed",
    "FONT_SIZE": "14",
    "FONT_CHAR_SET": "0",
}


class Case(WineSession):
    def __init__(self, a):
        super().__init__(a.wine, a.probe, a.artifacts)
        self.a = a
        self.drives = []

    # ---- helpers --------------------------------------------------------------------------------

    def one(self, *args, timeout=60):
        return super().one(*args, timeout=timeout)

    def host_folder(self, name):
        path = os.path.join(self.a.work, name)
        os.makedirs(path, exist_ok=True)
        return path

    def map_drive(self, letter, folder, kind="removable"):
        rc, r = self.one("define-drive", letter, folder, kind)
        expected = {"removable": 2, "fixed": 3}[kind]
        self.check(rc == 0 and r.get("type") == expected, f"drive {letter}: mapped as {kind}: {r}")
        if letter not in self.drives:
            self.drives.append(letter)

    def unmap_drive(self, letter):
        self.one("remove-drive", letter)
        if letter in self.drives:
            self.drives.remove(letter)

    def program(self, name, settings, sources, scripted=True):
        """A program folder: the wizard, Vantle.dll, Deckhand.ini and the source files."""
        folder = self.host_folder(name)
        shutil.copy(self.a.scripted_deckhand if scripted else self.a.deckhand, os.path.join(folder, "Deckhand.exe"))
        shutil.copy(self.a.vantle, folder)
        if settings is not None:
            with open(os.path.join(folder, "Deckhand.ini"), "w", newline="\r\n") as f:
                for section, values in settings.items():
                    f.write(f"[{section}]\n")
                    for key, value in values.items():
                        f.write(f"{key}={value}\n")
        for file_name, content in sources.items():
            with open(os.path.join(folder, file_name), "wb") as f:
                f.write(content)
        return folder

    def write_script(self, lines):
        path = os.path.join(self.a.work, "drives.txt")
        with open(path + ".new", "w") as f:
            f.write("\n".join(lines) + "\n")
        os.replace(path + ".new", path)
        return path

    def start(self, folder, script=None, scan_retry_ms=None):
        env = dict(os.environ)
        if script:
            env["PELLMARK_WIZARD_SCRIPT"] = win_path(script)
        if scan_retry_ms is not None:
            env["PELLMARK_WIZARD_SCAN_RETRY_MS"] = str(scan_retry_ms)
        return super().start(os.path.join(folder, "Deckhand.exe"), cwd=folder, env=env)

    def page(self, timeout_ms=10000):
        """The page shown now: (name, {id: control}) or (None, {})."""
        rc, w = self.one("texts", *WINDOW, "--timeout", timeout_ms)
        if rc != 0:
            return None, {}
        controls = {c["id"]: c for c in w.get("controls", [])}
        if DRIVE_LIST in controls:
            name = "drive"
        elif TO_DRIVE_SELECTION in controls:
            name = "finish"
        elif BACK in controls:
            name = "confirm"
        elif DETAIL in controls:
            name = "copying"
        else:
            name = "welcome"
        return name, controls

    def wait_page(self, name, timeout=20):
        deadline = time.time() + timeout
        seen = None
        while time.time() < deadline:
            seen, controls = self.page(2000)
            if seen == name:
                return controls
            time.sleep(0.1)
        self.check(False, f"expected the {name} page, saw {seen}")
        return None

    def click(self, control, window=WINDOW):
        self.one("click", *window, "--id", control, "--timeout", 5000)

    def box_text(self, timeout_ms=10000):
        rc, r = self.one("text", *BOX, "--title", TITLE, "--id", "0xFFFF", "--timeout", timeout_ms)
        return r.get("text") if rc == 0 else None

    def drive_page_after_scan(self, timeout=15):
        """Waits for the drive page and for its first scan, which runs half a second after the page
        opens (later on a busy machine): until the list offers a drive or a box shows. Answers the
        page's controls."""
        controls = self.wait_page("drive")
        time.sleep(1.0)
        deadline = time.time() + timeout
        while time.time() < deadline:
            if self.one("send", *WINDOW, CB_GETCOUNT, "--id", DRIVE_LIST)[1].get("result", 0) > 0:
                break
            if self.one("count", *BOX, "--title", TITLE)[1].get("count", 0) > 0:
                break
            time.sleep(0.2)
        return controls

    def open_drive_page(self):
        """From the welcome page to the drive page, once its scan has run."""
        self.wait_page("welcome")
        self.click(IDOK)
        return self.drive_page_after_scan()

    def confirm_and_copy(self):
        """Next on the drive page and on the confirmation page: the copy starts."""
        self.click(IDOK)
        self.wait_page("confirm")
        self.click(IDOK)

    def list_entries(self):
        rc, r = self.one("send", *WINDOW, CB_GETCOUNT, "--id", DRIVE_LIST)
        count = r.get("result", -1)
        entries = []
        for i in range(max(count, 0)):
            self.one("send", *WINDOW, CB_SETCURSEL, i, "--id", DRIVE_LIST)
            entries.append(self.one("text", *WINDOW, "--id", DRIVE_LIST)[1].get("text"))
        if count > 0:
            self.one("send", *WINDOW, CB_SETCURSEL, 0, "--id", DRIVE_LIST)
        return entries

    def same_files(self, folder, expected):
        names = sorted(os.listdir(folder)) if os.path.isdir(folder) else []
        self.check(names == sorted(expected), f"files on the player: {names}, expected {sorted(expected)}")
        for name, content in expected.items():
            path = os.path.join(folder, name)
            if os.path.isfile(path):
                with open(path, "rb") as f:
                    self.check(f.read() == content, f"{name} on the player differs from its source")

    def close_wizard(self, p, what):
        self.click(IDCANCEL)
        rc = self.ended(p)
        self.check(rc == 0, f"{what}: Deckhand ended with {rc}")

    def cleanup(self):
        super().cleanup()
        for letter in list(self.drives):
            self.unmap_drive(letter)

    # ---- cases ----------------------------------------------------------------------------------

    def delivery(self):
        return {"Pellmark.exe": b"MZ program " * 500, "Mtbl.dll": b"MZ messages", "help.htm": b"<html>help</html>",
                "OrlenPACAPI.dll": b"MZ device access", "old98.dll": b"only for Windows 98"}

    def settings(self, files, path="\\PLMRK", extra=None):
        copy = {"FileNum": str(len(files)), "PATH": path}
        for i, line in enumerate(files, 1):
            copy[f"FileName{i}"] = line
        s = {"COPY": copy, "DEVICE": {"NAME": "\"QUINTAD2\""}, "DIALOG_TEXT": dict(TEXTS)}
        for section, values in (extra or {}).items():
            s.setdefault(section, {}).update(values)
        return s

    def full_copy(self):
        player = self.host_folder("player-r")
        os.makedirs(os.path.join(player, "PLMRK"))
        stale = os.path.join(player, "PLMRK", "Mtbl.dll")
        with open(stale, "wb") as f:
            f.write(b"an older delivery")
        os.chmod(stale, stat.S_IREAD)  # read-only on the player
        self.map_drive("r", player)
        script = self.write_script(["player R QUINTAD2 1"])
        sources = self.delivery()
        folder = self.program("program", self.settings(
            ["Pellmark.exe", "Mtbl.dll", "help.htm,manual.htm", "OrlenPACAPI.dll,", "old98.dll,,1"]), sources)
        p = self.start(folder, script)

        controls = self.wait_page("welcome")
        if not controls:
            return
        self.check(controls[MESSAGE]["text"] == "Welcome message", f"welcome message: {controls[MESSAGE]}")
        self.check(controls[IDOK]["text"] == "Next" and controls[IDCANCEL]["text"] == "Exit",
                   f"welcome buttons: {controls[IDOK]['text']}, {controls[IDCANCEL]['text']}")
        self.screenshot("wizard-1-welcome.png")  # empty caption: the template title "Welcome"
        self.click(IDOK)

        self.drive_page_after_scan()
        entries = self.list_entries()
        self.check(entries == [" (R:)"], f"drive list: {entries}")
        controls = self.page()[1]
        self.check(controls[IDOK]["enabled"], "Next is enabled once the player is listed")
        self.check(controls[REFRESH]["text"] == "Refresh" and controls[IDCANCEL]["text"] == "Cancel",
                   "drive page buttons")
        self.screenshot("wizard-2-drive-selection.png")
        self.click(BACK)  # back to the welcome page
        self.open_drive_page()
        self.click(IDOK)

        controls = self.wait_page("confirm")
        if not controls:
            return
        self.check(controls[DETAIL]["text"] == "R:", f"chosen drive: {controls[DETAIL]['text']!r}")
        self.screenshot("wizard-3-confirmation.png")
        self.click(BACK)  # back to drive selection: a fresh scan
        self.drive_page_after_scan()
        self.check(self.list_entries() == [" (R:)"], "the scan ran again after Back")
        self.confirm_and_copy()

        # The copy starts a second after the copying page opens: time for the cancel question,
        # asked at once (a screenshot first could take longer than that second). The screenshot
        # shows the copying page with the question in front.
        controls = self.wait_page("copying", timeout=5)
        self.click(IDCANCEL)
        text = self.box_text()
        self.check(text == "Will you cancel to copy ?", f"cancel question: {text!r}")
        self.screenshot("wizard-4-copying-cancel-question.png")
        self.click(IDNO, BOX + ["--title", TITLE])

        controls = self.wait_page("finish")
        if not controls:
            return
        self.check(controls[MESSAGE]["text"] == "All copied", f"finished message: {controls[MESSAGE]['text']!r}")
        self.check(controls[IDCANCEL]["text"] == "Finish", f"finished button: {controls[IDCANCEL]['text']!r}")
        self.check(not controls[TO_DRIVE_SELECTION]["visible"], "no way back after success")
        self.screenshot("wizard-5-finished.png")
        expected = {name: sources[name] for name in ("Pellmark.exe", "Mtbl.dll", "OrlenPACAPI.dll")}
        expected["manual.htm"] = sources["help.htm"]
        self.same_files(os.path.join(player, "PLMRK"), expected)
        self.close_wizard(p, "full_copy")

    def listing(self):
        cap0, blanks, reader, fixed = (self.host_folder(n) for n in ("cap0", "blanks", "reader", "fixed"))
        self.map_drive("m", cap0)
        self.map_drive("n", blanks)
        self.map_drive("o", reader)
        self.map_drive("q", fixed, "fixed")
        script = self.write_script(["player M QUINTAD2 0", "player N QUINTAD2-- 1", "refuse-query O",
                                    "player Q QUINTAD2 1"])
        folder = self.program("program", self.settings([]), {})
        p = self.start(folder, script)
        self.wait_page("welcome")
        rc, r = self.one("send", *WINDOW, "reg:QueryCancelAutoPlay")
        self.check(rc == 0 and r.get("result") == 0, f"the welcome page leaves AutoPlay alone: {r}")
        self.click(IDOK)
        self.drive_page_after_scan()
        # While the player is being chosen, AutoPlay is held back.
        rc, r = self.one("send", *WINDOW, "reg:QueryCancelAutoPlay")
        self.check(rc == 0 and r.get("result") == 1, f"the drive page cancels AutoPlay: {r}")
        entries = self.list_entries()
        self.check(entries == [" (N:)", " (O:)"], f"listed drives: {entries}")
        self.screenshot("wizard-listing.png")

        # The player moves from N: to V:; N: disappears.
        moved = self.host_folder("moved")
        self.unmap_drive("n")
        self.unmap_drive("o")
        self.map_drive("v", moved)
        self.write_script(["player M QUINTAD2 0", "player V QUINTAD2 1"])
        self.click(REFRESH)
        time.sleep(0.5)
        entries = self.list_entries()
        self.check(entries[:1] == [" (V:)"], f"after Refresh: {entries}")
        self.click(IDOK)
        controls = self.wait_page("confirm")
        if controls:
            self.check(controls[DETAIL]["text"] == "V:", f"chosen after the move: {controls[DETAIL]['text']!r}")
        self.click(IDCANCEL)
        self.check(self.ended(p) == 0, "Cancel on the confirmation page ends the program")

    def failed_copy(self):
        player = self.host_folder("player-s")
        # A folder where a file is to go: the copy of that file fails.
        os.makedirs(os.path.join(player, "PLMRK", "Mtbl.dll"))
        self.map_drive("s", player)
        script = self.write_script(["player S QUINTAD2 1"])
        sources = self.delivery()
        folder = self.program("program", self.settings(["Pellmark.exe", "Mtbl.dll", "help.htm"]), sources)
        p = self.start(folder, script)
        self.open_drive_page()
        self.confirm_and_copy()
        controls = self.wait_page("finish")
        if not controls:
            return
        self.check(controls[MESSAGE]["text"] == "Copy failed", f"failure message: {controls[MESSAGE]['text']!r}")
        self.check(controls[IDCANCEL]["text"] == "Done", f"failure button: {controls[IDCANCEL]['text']!r}")
        back = controls[TO_DRIVE_SELECTION]
        self.check(back["visible"] and back["text"] == "Choose drive", f"way back: {back}")
        reason = controls[DETAIL]["text"]
        self.check(bool(reason) and not reason.startswith("Error 0x"), f"the system's text for the code: {reason!r}")
        print(f"failure text shown: {reason!r}")
        self.screenshot("wizard-5b-failed.png")
        self.check(os.path.isfile(os.path.join(player, "PLMRK", "Pellmark.exe")), "files before the failure stay")

        os.rmdir(os.path.join(player, "PLMRK", "Mtbl.dll"))
        self.click(TO_DRIVE_SELECTION)
        self.drive_page_after_scan()
        self.check(self.list_entries() == [" (S:)"], "a fresh scan after the failure")
        self.confirm_and_copy()
        controls = self.wait_page("finish")
        if controls:
            self.check(controls[MESSAGE]["text"] == "All copied", "the second run succeeds")
        self.same_files(os.path.join(player, "PLMRK"), {n: sources[n] for n in ("Pellmark.exe", "Mtbl.dll", "help.htm")})
        self.close_wizard(p, "failed_copy")

    def cancel_copy(self):
        player = self.host_folder("player-t")
        self.map_drive("t", player)
        script = self.write_script(["player T QUINTAD2 1"])
        folder = self.program("program", self.settings(["Pellmark.exe"]), self.delivery())
        p = self.start(folder, script)
        self.open_drive_page()
        self.confirm_and_copy()
        self.wait_page("copying", timeout=5)
        self.click(IDCANCEL)
        self.check(self.box_text() == "Will you cancel to copy ?", "cancel question")
        self.click(IDYES, BOX + ["--title", TITLE])
        controls = self.wait_page("finish")
        if not controls:
            return
        self.check(controls[MESSAGE]["text"] == "Copy failed", "a cancelled copy is shown as a failure")
        print(f"cancel text shown: {controls[DETAIL]['text']!r}")
        self.check("0x80004004" in controls[DETAIL]["text"] or "bort" in controls[DETAIL]["text"],
                   f"the abort code: {controls[DETAIL]['text']!r}")
        self.check(not os.path.exists(os.path.join(player, "PLMRK", "Pellmark.exe")),
                   "nothing copied after Yes before the start")
        self.close_wizard(p, "cancel_copy")

    def no_player(self):
        letter = self.host_folder("not-a-player")
        self.map_drive("w", letter)
        # A removable drive that answers, but not as the player.
        script = self.write_script(["player W OTHER 1"])
        folder = self.program("program", self.settings([]), {})
        retry_ms = 400
        p = self.start(folder, script, scan_retry_ms=retry_ms)
        self.wait_page("welcome")
        self.click(IDOK)
        self.wait_page("drive")
        # Half a second, a scan and ten retries: about 4.5 s here, where a whole second between scans
        # would take more than ten.
        text = self.box_text(timeout_ms=8000)
        self.check(text == "No player", f"no-device box after the retries: {text!r}")
        self.screenshot("wizard-no-player.png")
        self.click(IDOK, BOX + ["--title", TITLE])
        self.one("gone", *BOX, "--title", TITLE, "--timeout", 5000)
        controls = self.wait_page("drive")
        if not controls:
            return
        self.check(not controls[IDOK]["enabled"], "Next stays disabled without a player")
        self.check(self.list_entries() == [], "the list stays empty")

        # Refresh retries again; the player arrives a second into that.
        self.click(REFRESH)
        time.sleep(1.0)
        self.write_script(["player W QUINTAD2 1"])
        entries = self.list_entries()  # answered once the scan has ended
        self.check(entries == [" (W:)"], f"the player found by a retry: {entries}")
        self.check(self.one("count", *BOX, "--title", TITLE)[1].get("count") == 0,
                   "no box when a retry finds the player")
        self.check(self.page()[1][IDOK]["enabled"], "Next is enabled once the player is listed")
        self.close_wizard(p, "no_player")

    def system_checks(self):
        def one_box(folder, script, expected_text, caption=TITLE, what=""):
            p = self.start(folder, script)
            rc, r = self.one("text", "--message-box", "--title", caption, "--id", "0xFFFF", "--timeout", 15000)
            self.check(rc == 0 and r.get("text") == expected_text, f"{what}: box text {r.get('text')!r}")
            self.check(self.one("count", *WINDOW)[1].get("count") == 0, f"{what}: no page")
            self.one("click", "--message-box", "--title", caption, "--id", 1, "--timeout", 5000)
            self.check(self.ended(p) == 0, f"{what}: the program ends")

        nt_only = self.program("target1", self.settings([], extra={"COPY": {"TARGET": "1"}}), {})
        one_box(nt_only, None, "Need Windows 98 or Windows Me.", what="TARGET 1")
        script = self.write_script(["admin 2"])
        user = self.program("user", self.settings([], extra={"MESSAGE": {"MSG_NEED_ADMIN": "Ask an administrator."}}), {})
        one_box(user, script, "Ask an administrator.", what="plain user")
        script = self.write_script(["admin 3"])
        one_box(self.program("power", self.settings([]), {}), script, "Need logon by Administrator.",
                what="Power User")
        missing = self.program("missing", None, {})
        one_box(missing, None, "Setting File Read Error", caption="Error", what="no settings file")

    def real_program(self):
        player = self.host_folder("player-u")
        self.map_drive("u", player)
        sources = {"Pellmark.exe": b"MZ real"}
        folder = self.program("program", self.settings(["Pellmark.exe"], path="\\A\\B"), sources, scripted=False)
        p = self.start(folder)
        self.open_drive_page()
        entries = self.list_entries()
        self.check(" (U:)" in entries, f"a drive that cannot be asked is offered: {entries}")
        for i, e in enumerate(entries):
            if e == " (U:)":
                self.one("send", *WINDOW, CB_SETCURSEL, i, "--id", DRIVE_LIST)
        self.confirm_and_copy()
        controls = self.wait_page("finish")
        if controls:
            self.check(controls[MESSAGE]["text"] == "All copied", "the shipped program copies")
        self.same_files(os.path.join(player, "A", "B"), sources)
        self.close_wizard(p, "real_program")


def main():
    a = driver_arguments("--deckhand", "--scripted-deckhand", "--vantle", fresh_work=True)
    case = Case(a)
    return run_case(case, a.case, f"deckhand {a.case}")


if __name__ == "__main__":
    sys.exit(main())
