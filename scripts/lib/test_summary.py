#!/usr/bin/env python3
"""Counts test results across build trees and prints one closing line.

Arguments: NAME=BUILD_DIR pairs. In each tree, test-results/ctest.xml (the
JUnit report of ctest) lists the CTest tests; a test that is a GoogleTest
program also left test-results/<test>.xml, whose cases are counted one by
one. Any other test counts as one case. A program that failed without a
failing case in its report (a crash, a sanitizer report at exit) counts as
one more failure.
"""
import os
import sys
import xml.etree.ElementTree as ET

INFRASTRUCTURE = {"wine.start", "wine.stop"}


def gtest_counts(path):
    root = ET.parse(path).getroot()
    total = failed = skipped = 0
    for case in root.iter("testcase"):
        if case.get("status") == "notrun" or case.get("result") == "skipped":
            skipped += 1
            continue
        total += 1
        if case.find("failure") is not None:
            failed += 1
    return total - failed, failed, skipped


def tree_counts(build):
    results = os.path.join(build, "test-results")
    report = os.path.join(results, "ctest.xml")
    if not os.path.exists(report):
        return 0, 1, 0, ["no test report (ctest did not run)"]
    passed = failed = skipped = 0
    failures = []
    for case in ET.parse(report).getroot().iter("testcase"):
        name = case.get("name")
        ok = case.get("status") in ("run", "passed") and case.find("failure") is None
        if case.get("status") in ("disabled", "notrun") and name not in INFRASTRUCTURE:
            failed += 1
            failures.append(f"{name} (not run)")
            continue
        if name in INFRASTRUCTURE:
            if not ok:
                failed += 1
                failures.append(name)
            continue
        gtest = os.path.join(results, name + ".xml")
        if os.path.exists(gtest):
            try:
                p, f, s = gtest_counts(gtest)
            except ET.ParseError:
                p, f, s = 0, 1, 0
            passed += p
            failed += f
            skipped += s
            if not ok and f == 0:
                failed += 1
                failures.append(f"{name} (program failed outside its cases)")
            elif f:
                failures.append(f"{name} ({f} failing cases)")
        else:
            if ok:
                passed += 1
            else:
                failed += 1
                failures.append(name)
    return passed, failed, skipped, failures


def main():
    total_p = total_f = total_s = 0
    for arg in sys.argv[1:]:
        name, build = arg.split("=", 1)
        p, f, s, failures = tree_counts(build)
        for what in failures:
            print(f"{name}: FAILED {what}")
        extra = f", {s} skipped" if s else ""
        print(f"{name}: {p} passed, {f} failed{extra}")
        total_p, total_f, total_s = total_p + p, total_f + f, total_s + s
    if not sys.argv[1:]:
        total_f = 1
        print("no build tree was tested")
    extra = f", {total_s} skipped" if total_s else ""
    print(f"{total_p} passed, {total_f} failed{extra}")
    return 1 if total_f else 0


if __name__ == "__main__":
    sys.exit(main())
