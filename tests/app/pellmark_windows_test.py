#!/usr/bin/env python3
"""Runs Pellmark.exe under Wine as a user would and checks its windows with the window probe.

    pellmark_windows_test.py --case NAME --wine WINE... --pellmark EXE --probe EXE
                             --lock-holder EXE --prefix WINEPREFIX --work DIR --artifacts DIR

Cases:
  second_instance       a second start shows "already running" and ends with 0; the first runs on
  local_holder          another program holding the local lock: its name and the lock-out text in a
                        top-most box, exit code 0, no main window; once it lets go Pellmark starts
  global_holder         the same for the global lock (names each on a line of their own)
  lock_prefixes         the lock names by Windows version: Windows 2000 "Local\\l"/"Global\\g",
                        NT 4 "l"/"g" (the version is set per program in the prefix)
  help_at_startup       value 10 keeps the help window closed at start, F1 still opens it, F1 while it
                        is open opens no second one; any other value opens it at start
  help_check_box        the check box writes 0 and 10, and the next start follows it
  missing_module        without Mtbl.dll beside it the program starts with empty texts and closes
  about_and_help_screenshots
                        the About box's texts; screenshots of the About box and the help window
Every case leaves no Pellmark running; failures are listed and make the exit status 1.
"""
import os
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from wine_session import WineSession, driver_arguments, run_case  # noqa: E402

SETTING_KEY = r"HKLM\SOFTWARE\Keltan Corporation\Pellmark"
VERSION_KEY = r"HKCU\Software\Wine\AppDefaults\Pellmark.exe"
MAIN = ["--title", "Pellmark", "--with-control", "1004"]
HELP = ["--title", "Pellmark Help"]
ABOUT = ["--title", "Pellmark", "--with-control", "1019"]
BOX = ["--message-box", "--title", "Pellmark"]

ALREADY_RUNNING = "Pellmark is already running."
LOCKED_OUT = " is using the player. Close that program, then start Pellmark again."


class Shell(WineSession):
    def __init__(self, a):
        super().__init__(a.wine, a.probe, a.artifacts)
        self.a = a

    # ---- helpers --------------------------------------------------------------------------------

    def probe(self, *args, timeout=60):
        return super().probe(*args, timeout=timeout)

    def one(self, *args, timeout=60):
        return super().one(*args, timeout=timeout)

    def start(self, program=None, cwd=None):
        return super().start(program or self.a.pellmark, cwd=cwd or self.a.work)

    def set_help_value(self, value):
        self.one("reg-set", SETTING_KEY, "Pellmark", str(value))

    def help_value(self):
        return self.one("reg-get", SETTING_KEY, "Pellmark")[1].get("value")

    def wait_main(self, timeout_ms=20000):
        rc, w = self.one("wait", *MAIN, "--timeout", str(timeout_ms))
        return w if rc == 0 else None

    def close_main(self, p, what):
        """Presses the main window's Close button and expects exit code 0."""
        self.one("click", *MAIN, "--id", "2", "--timeout", "5000")
        rc = self.ended(p)
        self.check(rc == 0, f"{what}: Pellmark ended with {rc} after Close")

    def text_of_box(self):
        rc, box = self.one("text", *BOX, "--id", "0xFFFF", "--timeout", "20000")
        return box.get("text") if rc == 0 else None

    def no_leftovers(self):
        """Before a case: no Pellmark of an earlier failed run may hold the single-instance event."""
        for window in (BOX, HELP, ABOUT, MAIN):
            for _ in range(3):
                if self.count(window) == 0:
                    break
                self.one("close", *window, "--timeout", "1000")
                time.sleep(0.5)
        self.one("gone", *MAIN, "--timeout", "5000")

    # ---- cases ----------------------------------------------------------------------------------

    def second_instance(self):
        self.set_help_value(10)
        first = self.start()
        if not self.check(self.wait_main(), "the first instance shows its main window"):
            return
        second = self.start()
        text = self.text_of_box()
        self.check(text == ALREADY_RUNNING, f"second instance box text: {text!r}")
        self.one("click", *BOX, "--id", "1")
        rc = self.ended(second)
        self.check(rc == 0, f"the second instance ends with 0, got {rc}")
        self.check(self.count(MAIN) == 1, "one main window, the first one's")
        self.check(first.poll() is None, "the first instance runs on")
        rc, answer = self.one("send", *MAIN, "0", "--timeout", "2000")  # WM_NULL: it still answers
        self.check(rc == 0 and "result" in answer, f"the first instance answers messages: {answer}")
        # Enter in the main window must not close it.
        self.one("key", *MAIN, "RETURN")
        time.sleep(0.5)
        self.check(self.count(MAIN) == 1 and first.poll() is None, "Enter does not close the main window")
        self.close_main(first, "second_instance")

    def holder_case(self, scope, holder_name, expected_text):
        self.set_help_value(10)
        stop = os.path.join(self.a.work, "stop-holder")
        holder_out = os.path.join(self.a.work, "holder-out.txt")
        with open(holder_out, "wb") as out:
            holder = subprocess.Popen(self.wine + [self.a.lock_holder, scope, holder_name, stop], cwd=self.a.work,
                                      stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.DEVNULL)
        self.started.append(holder)
        line = ""
        deadline = time.time() + 30
        while time.time() < deadline and not line.endswith("\n") and holder.poll() is None:
            time.sleep(0.1)
            with open(holder_out, "rb") as f:
                line = f.read().decode()
        line = line.strip()
        if not self.check(line == "held", f"the other program holds the {scope} lock: {line!r}"):
            return
        p = self.start()
        rc, box = self.one("wait", *BOX, "--timeout", "20000")
        self.check(rc == 0 and box.get("topmost") is True, f"the lock-out box is top-most: {box}")
        text = self.text_of_box()
        self.check(text == expected_text, f"lock-out text: {text!r}, expected {expected_text!r}")
        self.check(self.count(MAIN) == 0, "no main window while locked out")
        self.one("click", *BOX, "--id", "1")
        rc = self.ended(p)
        self.check(rc == 0, f"locked out: exit code {rc}")
        with open(stop, "w"):
            pass
        self.check(self.ended(holder) == 0, "the other program let go of the lock")
        # With the lock free again, Pellmark starts.
        p = self.start()
        self.check(self.wait_main() is not None, "Pellmark starts once the lock is free")
        self.close_main(p, f"{scope}_holder")

    def local_holder(self):
        self.holder_case("local", "Lumora Backup", "Lumora Backup" + LOCKED_OUT)

    def global_holder(self):
        self.holder_case("global", "Lumora Sync", "Lumora Sync\n" + LOCKED_OUT)

    def lock_prefixes(self):
        self.set_help_value(10)
        log = os.path.join(self.a.prefix, "drive_c", "Pellmark LogFile", "PellmarkLog.txt")
        expected = {
            "win2k": (["Local\\lKeltan_LumoraBackupLocker", "Global\\gKeltan_LumoraBackupLocker"], "Windows 2000"),
            "nt40": (["lKeltan_LumoraBackupLocker", "gKeltan_LumoraBackupLocker"], "an unknown operating system"),
        }
        try:
            for version, (names, system) in expected.items():
                self.one("reg-set-text", VERSION_KEY, "Version", version)
                before = self.log_size(log)
                p = self.start()
                if not self.check(self.wait_main(), f"{version}: main window"):
                    continue
                self.close_main(p, f"lock_prefixes {version}")
                tail = self.log_since(log, before)
                held = [line.split("Exclusion lock held: ", 1)[1].strip()
                        for line in tail.splitlines() if "Exclusion lock held: " in line]
                self.check(held == names, f"{version}: locks held {held}, expected {names}")
                self.check(f"running on {system}" in tail, f"{version}: the log banner names {system}")
        finally:
            self.one("reg-delete", VERSION_KEY)

    def help_at_startup(self):
        # Any value but 10 opens the help window by itself.
        self.set_help_value(0)
        p = self.start()
        rc, help_window = self.one("wait", *HELP, "--timeout", "20000")
        self.check(rc == 0, "value 0: the help window opens at start-up")
        rc, main = self.one("wait", *MAIN)
        self.check(main.get("enabled") is False, "the main window waits while the help window is up")
        self.one("click", *HELP, "--id", "2")
        self.check(self.one("gone", *HELP)[0] == 0, "Close closes the help window")
        self.close_main(p, "help_at_startup value 0")

        # Value 10: no help window at start, F1 opens it, once only.
        self.set_help_value(10)
        p = self.start()
        if not self.check(self.wait_main(), "value 10: main window"):
            return
        time.sleep(1.5)  # the start-up timer has long fired by now
        self.check(self.count(HELP) == 0, "value 10: no help window at start-up")
        self.one("key", *MAIN, "F1")
        rc, _ = self.one("wait", *HELP, "--timeout", "10000")
        self.check(rc == 0, "F1 opens the help window")
        self.one("key", *HELP, "F1")
        self.one("key", *MAIN, "F1")
        time.sleep(1.0)
        self.check(self.count(HELP) == 1, f"F1 while the help window is open: {self.count(HELP)} help windows")
        self.one("click", *HELP, "--id", "2")
        self.one("gone", *HELP)
        self.one("key", *MAIN, "F1")
        rc, _ = self.one("wait", *HELP, "--timeout", "10000")
        self.check(rc == 0, "F1 opens the help window again after it was closed")
        self.one("click", *HELP, "--id", "2")
        self.one("gone", *HELP)
        self.close_main(p, "help_at_startup value 10")

    def help_check_box(self):
        self.set_help_value(0)
        p = self.start()
        rc, help_window = self.one("texts", *HELP, "--timeout", "20000")
        box = [c for c in help_window.get("controls", []) if c["id"] == 1009]
        self.check(box and box[0].get("checked") == 1, f"ticked while the value is not 10: {box}")
        self.check(box and box[0].get("text") == "Show this help when Pellmark starts", f"check box text: {box}")
        for expected in (10, 0, 10):
            self.one("click", *HELP, "--id", "1009")
            time.sleep(0.3)
            value = self.help_value()
            self.check(value == expected, f"the check box wrote {value}, expected {expected}")
        self.one("click", *HELP, "--id", "2")
        self.one("gone", *HELP)
        self.close_main(p, "help_check_box")
        p = self.start()
        self.wait_main()
        time.sleep(1.5)
        self.check(self.count(HELP) == 0, "after unticking, the next start opens no help window")
        self.close_main(p, "help_check_box second start")

    def missing_module(self):
        self.set_help_value(10)
        bare = os.path.join(self.a.work, "bare")
        os.makedirs(bare, exist_ok=True)
        program = os.path.join(bare, "Pellmark.exe")
        shutil.copy2(self.a.pellmark, program)
        # The device-access library stays, so only the texts are missing (its player is made beside it).
        shutil.copy2(os.path.join(os.path.dirname(self.a.pellmark), "OrlenPACAPI.dll"), bare)
        p = self.start(program, cwd=bare)
        untitled = ["--class", "#32770", "--title", "", "--with-control", "1004"]
        rc, w = self.one("texts", *untitled, "--timeout", "20000")
        if not self.check(rc == 0, "without the message module the main window still opens, untitled"):
            return
        texts = {c["id"]: c["text"] for c in w.get("controls", [])}
        self.check(texts.get(2) == "" and texts.get(3) == "" and texts.get(1023) == "",
                   f"without the message module the texts are empty: {texts}")
        # Close is ignored until the first listing is done; press it until the program ends.
        rc = None
        for _ in range(10):
            self.one("click", *untitled, "--id", "2", "--timeout", "2000")
            rc = self.ended(p, timeout=3)
            if rc is not None:
                break
        self.check(rc == 0, f"without the message module: exit code {rc}")

    def about_and_help_screenshots(self):
        os.makedirs(self.a.artifacts, exist_ok=True)
        self.set_help_value(10)
        p = self.start()
        if not self.check(self.wait_main(), "main window"):
            return
        self.one("syscommand", *MAIN, "16")
        rc, about = self.one("texts", *ABOUT, "--timeout", "10000")
        texts = {c["id"]: c["text"] for c in about.get("controls", [])}
        self.check(rc == 0 and about.get("title") == "Pellmark", f"About box title: {about.get('title')}")
        self.check(texts.get(1019) == "Pellmark Version 1.0", f"About version line: {texts.get(1019)!r}")
        self.check(bool(texts.get(1020)), "About second line")
        self.check(texts.get(1) == "OK", f"About OK button: {texts.get(1)!r}")
        self.screenshot("about-box.png")
        self.one("click", *ABOUT, "--id", "1")
        self.check(self.one("gone", *ABOUT)[0] == 0, "OK closes the About box")

        self.one("key", *MAIN, "F1")
        deadline = time.time() + 15
        shown = False
        while time.time() < deadline and not shown:
            rc, h = self.one("texts", *HELP, "--timeout", "10000")
            fallback = [c for c in h.get("controls", []) if c["id"] == 1018]
            shown = bool(fallback and fallback[0]["visible"])
            if not shown:
                time.sleep(0.3)
        self.check(shown, "without an HTML engine the help window shows the page as text")
        if shown:
            text = fallback[0]["text"]
            self.check("help.htm" in text and "Albums of 999" in text, f"help text: {text[:200]!r}")
        self.screenshot("help-window.png")
        self.one("click", *HELP, "--id", "2")
        self.one("gone", *HELP)
        self.close_main(p, "screenshots")


def main():
    a = driver_arguments("--pellmark", "--lock-holder", "--prefix", fresh_work=True)
    shell = Shell(a)
    return run_case(shell, a.case, f"pellmark {a.case}", before=shell.no_leftovers, always=shell.no_leftovers)


if __name__ == "__main__":
    sys.exit(main())
