"""Shared pieces of the tests that run our Windows programs under Wine and drive their windows
from outside with the window probe: programs run with their output going through a file, the
probe's JSON reports, started processes remembered and stopped, screenshots of the display, and
one closing summary line for the collected failures."""
import argparse
import json
import os
import shutil
import subprocess
import tempfile
import time


def win_path(path):
    """The Wine path of a host path (drive Z: is the host's root)."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wine_command(values):
    """The Wine command from --wine: CTest hands a list over as one ';'-separated argument."""
    return values[0].split(";") if len(values) == 1 else list(values)


def driver_arguments(*own, fresh_work=False):
    """The command line of a test driver: the arguments every driver takes (--case, --wine, --probe,
    --work, --artifacts) and its own required ones, named in own; with fresh_work the work folder
    is emptied first."""
    ap = argparse.ArgumentParser()
    ap.add_argument("--case", required=True)
    ap.add_argument("--wine", nargs="+", required=True)
    for name in ("--probe", "--work", "--artifacts") + own:
        ap.add_argument(name, required=True)
    a = ap.parse_args()
    if fresh_work:
        shutil.rmtree(a.work, ignore_errors=True)
        os.makedirs(a.work)
    return a


class WineSession:
    """Runs Windows programs and the window probe; collects failed checks."""

    def __init__(self, wine, probe, artifacts, env=None):
        self.wine = wine_command(wine)
        self.probe_exe = probe
        self.artifacts = artifacts
        self.env = env
        self.failures = []
        self.started = []

    def check(self, condition, what):
        if not condition:
            self.failures.append(what)
        return condition

    def run(self, program, *args, timeout=600, cwd=None):
        """Runs a Windows program to its end; answers (exit code, stdout text).

        The output goes through a file, not a pipe: a Wine process started on the way (the desktop
        process) inherits the handles and would keep a pipe open long after the program ended."""
        with tempfile.TemporaryFile() as out:
            r = subprocess.run(self.wine + [program] + [str(a) for a in args], stdout=out,
                               stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL, timeout=timeout,
                               env=self.env, cwd=cwd)
            out.seek(0)
            return r.returncode, out.read().decode("utf-8", "replace")

    def probe(self, *args, timeout=600):
        """Runs the window probe; answers (exit code, list of its JSON reports)."""
        rc, text = self.run(self.probe_exe, *args, timeout=timeout)
        return rc, [json.loads(line) for line in text.splitlines() if line.strip().startswith("{")]

    def one(self, *args, timeout=600):
        """Runs the probe for one report; answers (exit code, the report or {})."""
        rc, reports = self.probe(*args, timeout=timeout)
        return rc, (reports[0] if reports else {})

    def count(self, window):
        return self.one("count", *window)[1].get("count", -1)

    def start(self, program, *args, cwd=None, env=None):
        """Starts a Windows program without waiting; it is stopped by cleanup() if still running."""
        p = subprocess.Popen(self.wine + [program] + [str(a) for a in args], cwd=cwd, env=env or self.env,
                             stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.started.append(p)
        return p

    @staticmethod
    def log_size(log):
        return os.path.getsize(log) if os.path.exists(log) else 0

    @staticmethod
    def log_since(log, before):
        """The text the diagnostic log gained since it held `before` bytes. The log may have been
        rotated meanwhile (past 100 KiB it becomes the .bak file and starts afresh); then that is
        the .bak's tail and the whole new file."""
        with open(log, "rb") as f:
            data = f.read()
        if len(data) < before:
            backup = os.path.splitext(log)[0] + ".bak"
            with open(backup, "rb") as f:
                data = f.read()[before:] + data
        else:
            data = data[before:]
        return data.decode("latin-1")

    @staticmethod
    def ended(p, timeout=30):
        """The process's exit code, or None when it did not end in time."""
        try:
            return p.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return None

    def cleanup(self):
        for p in self.started:
            if p.poll() is None:
                p.kill()
                p.wait()

    def screenshot(self, name, settle=0.5):
        """Saves the whole display as artifacts/name; skipped without a display."""
        if not os.environ.get("DISPLAY"):
            print(f"no DISPLAY: screenshot {name} skipped")
            return
        os.makedirs(self.artifacts, exist_ok=True)
        path = os.path.join(self.artifacts, name)
        time.sleep(settle)  # let the window finish painting
        r = subprocess.run(["import", "-window", "root", path], stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, timeout=60)
        ok = r.returncode == 0 and os.path.exists(path) and os.path.getsize(path) > 1000
        if self.check(ok, f"screenshot {path}: {r.stderr.decode(errors='replace')[:200]}"):
            print(f"screenshot saved: {path}")

    def finish(self, name, passed="all checks passed"):
        """Prints every failure and the summary line; answers the exit status."""
        for f in self.failures:
            print("FAIL:", f)
        print(f"{name}: " + (passed if not self.failures else f"{len(self.failures)} checks failed"))
        return 1 if self.failures else 0


def run_case(session, case_name, title, before=None, after=None, always=None):
    """Runs the session's method case_name between the optional before and after steps, then the
    always step and the stopping of everything the session started whatever happened; answers the
    exit status. A failure of the harness itself (a time-out, an exception) fails the case."""
    case = getattr(session, case_name, None)
    if case is None or case_name.startswith("_"):
        print(f"unknown case {case_name}")
        return 2
    try:
        if before:
            before()
        case()
        if after:
            after()
    except Exception as e:
        session.failures.append(f"{type(e).__name__}: {e}")
    finally:
        try:
            if always:
                always()
        finally:
            session.cleanup()
    return session.finish(title)
