#!/usr/bin/env python3
"""Checks that Pellmark.exe exports the KVXFringeLock class and comes with an import library.

    pellmark_exports_test.py --objdump OBJDUMP --program Pellmark.exe --import-library libPellmark.dll.a
"""
import argparse
import re
import subprocess
import sys

# The class's constructor, destructor, lock, unlock, virtual table and type information (gcc names).
EXPECTED = [
    "_ZN13KVXFringeLockC1Ev",
    "_ZN13KVXFringeLockD1Ev",
    "_ZN13KVXFringeLock4lockEv",
    "_ZN13KVXFringeLock6unlockEv",
    "_ZTV13KVXFringeLock",
    "_ZTI13KVXFringeLock",
]


def exports(objdump, path):
    out = subprocess.run([objdump, "-p", path], stdout=subprocess.PIPE, check=True).stdout.decode("latin-1")
    section = out.split("[Ordinal/Name Pointer] Table", 1)
    if len(section) < 2:
        return []
    names = []
    for line in section[1].splitlines()[1:]:
        m = re.match(r"\s*\[\s*\d+\]\s+(\S+)", line)
        if not m:
            break
        names.append(m.group(1))
    return names


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--objdump", required=True)
    ap.add_argument("--program", required=True)
    ap.add_argument("--import-library", required=True)
    a = ap.parse_args()
    failures = []
    names = exports(a.objdump, a.program)
    for name in EXPECTED:
        if name not in names:
            failures.append(f"{name} is not exported (exports: {names})")
    # Only the lock class is exported: nothing of the runtime leaks into the table.
    stray = [n for n in names if "KVXFringeLock" not in n]
    if stray:
        failures.append(f"unexpected exports: {stray}")
    symbols = subprocess.run([a.objdump, "-t", a.import_library], stdout=subprocess.PIPE).stdout.decode("latin-1")
    if "_ZN13KVXFringeLock4lockEv" not in symbols:
        failures.append(f"{a.import_library} does not provide KVXFringeLock::lock")
    for f in failures:
        print("FAIL:", f)
    print("exports: " + ("KVXFringeLock exported with an import library" if not failures else f"{len(failures)} problems"))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
