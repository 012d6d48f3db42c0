#!/usr/bin/env python3
"""Checks that a DLL exports exactly the given names, undecorated."""
import re
import subprocess
import sys


def main():
    objdump, dll, *wanted = sys.argv[1:]
    out = subprocess.run([objdump, "-p", dll], check=True, capture_output=True, text=True).stdout
    table = out.split("[Ordinal/Name Pointer] Table", 1)
    if len(table) != 2:
        print("no export name table in", dll)
        return 1
    names = []
    for line in table[1].splitlines()[1:]:
        m = re.match(r"\s*\[\s*\d+\]\s+(\S+)\s*$", line)
        if not m:
            break
        names.append(m.group(1))
    if sorted(names) != sorted(wanted):
        print("exports:", names)
        print("wanted: ", wanted)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
