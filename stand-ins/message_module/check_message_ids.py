#!/usr/bin/env python3
"""Checks that every message number the track manager uses has a text in our message module.

    check_message_ids.py --mc messages.mc --ids app/message_ids.h --sources DIR [DIR ...]

- messages.mc: every entry has a number, exactly one non-empty text, no '%' (the program fetches
  texts without inserts), and no number appears twice;
- message_ids.h: every named constant has a text;
- the sources: a part may keep its own few ids in a `namespace msg { ... }` block; every constant
  there has a text too; every msg::kName the sources use is one of these constants; every number
  written directly into a MessageText or ShowMessage call has a text;
- English copies: a `{msg::kName, u"text"}` entry (the texts the tools print without the message
  module) must equal that message's text, so the tools and the window say the same.
Prints what it found and exits 1 on any failure.
"""
import argparse
import os
import re
import sys

SOURCE_EXTENSIONS = (".cpp", ".h", ".cc", ".hpp")
SKIP_DIRS = {".git", "__pycache__"}


def parse_mc(path):
    """{number: text} and a list of problems."""
    texts, problems = {}, []
    number, language, lines = None, False, None
    with open(path, encoding="ascii") as f:
        for lineno, raw in enumerate(f, 1):
            line = raw.rstrip("\r\n")
            if lines is not None:
                if line == ".":
                    text = "\n".join(lines)
                    if not text.strip():
                        problems.append(f"{path}:{lineno}: message {number} has an empty text")
                    if "%" in text:
                        problems.append(f"{path}:{lineno}: message {number} has a '%' in its text")
                    if number in texts:
                        problems.append(f"{path}:{lineno}: message {number} is defined twice")
                    texts[number] = text
                    number, language, lines = None, False, None
                else:
                    lines.append(line)
                continue
            if line.startswith(";") or not line.strip():
                continue
            key, _, value = line.partition("=")
            key = key.strip()
            if key == "MessageId":
                if number is not None:
                    problems.append(f"{path}:{lineno}: message {number} has no text")
                try:
                    number = int(value.strip(), 0)
                except ValueError:
                    problems.append(f"{path}:{lineno}: bad MessageId {value!r}")
                    number = None
            elif key == "Language":
                if number is None:
                    problems.append(f"{path}:{lineno}: Language without a MessageId")
                lines = []
                language = True
    if lines is not None or (number is not None and not language):
        problems.append(f"{path}: the last message is not complete")
    return texts, problems


def parse_ids(path):
    constants = {}
    with open(path, encoding="utf-8") as f:
        for m in CONSTANT.finditer(f.read()):
            constants[m.group(1)] = int(m.group(2))
    return constants


def source_files(roots):
    for root in roots:
        for folder, dirs, files in os.walk(root, followlinks=True):
            dirs[:] = [d for d in dirs if d not in SKIP_DIRS and not d.startswith("build")]
            for name in files:
                if name.endswith(SOURCE_EXTENSIONS):
                    yield os.path.join(folder, name)


MSG_BLOCK = re.compile(r"namespace\s+msg\s*\{(.*?)\}", re.S)
CONSTANT = re.compile(r"constexpr\s+unsigned\s+(k\w+)\s*=\s*(\d+)\s*;")
CALL_WITH_NUMBER = re.compile(r"\b(?:MessageText|ShowMessage)\s*\(\s*(?:[^,();]*,\s*)?(\d{3,5})\b")
NAMED_ID = re.compile(r"\bmsg::(k\w+)")
ENGLISH_COPY = re.compile(r'\{\s*msg::(k\w+)\s*,\s*u"((?:[^"\\]|\\.)*)"\s*\}')


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--mc", required=True)
    ap.add_argument("--ids", required=True)
    ap.add_argument("--sources", nargs="+", required=True)
    a = ap.parse_args()

    texts, problems = parse_mc(a.mc)
    constants = parse_ids(a.ids)
    if not constants:
        problems.append(f"{a.ids}: no message constants found")
    for name, number in sorted(constants.items(), key=lambda kv: kv[1]):
        if number not in texts:
            problems.append(f"{a.ids}: {name} = {number} has no text in {os.path.basename(a.mc)}")

    codes = {}
    for path in source_files(a.sources):
        with open(path, encoding="utf-8", errors="replace") as f:
            codes[path] = f.read()
    known = set(constants)
    for path, code in codes.items():
        if os.path.samefile(path, a.ids):
            continue
        for block in MSG_BLOCK.finditer(code):
            for m in CONSTANT.finditer(block.group(1)):
                known.add(m.group(1))
                if int(m.group(2)) not in texts:
                    problems.append(f"{path}: {m.group(1)} = {m.group(2)} has no text in {os.path.basename(a.mc)}")

    used_names, used_numbers = set(), set()
    for path, code in codes.items():
        for m in NAMED_ID.finditer(code):
            used_names.add(m.group(1))
            if m.group(1) not in known:
                problems.append(f"{path}: msg::{m.group(1)} is not a message constant")
        for m in CALL_WITH_NUMBER.finditer(code):
            number = int(m.group(1))
            used_numbers.add(number)
            if number not in texts:
                problems.append(f"{path}: message {number} has no text in {os.path.basename(a.mc)}")

    english_copies = 0
    for path, code in codes.items():
        for m in ENGLISH_COPY.finditer(code):
            english_copies += 1
            number = constants.get(m.group(1))
            if number is None or texts.get(number) != m.group(2):
                problems.append(f"{path}: the English copy of msg::{m.group(1)} ({m.group(2)!r}) differs from "
                                f"{os.path.basename(a.mc)} ({texts.get(number)!r})")

    for p in problems:
        print("FAIL:", p)
    print(f"message module: {len(texts)} texts; {len(constants)} named ids, {len(used_names)} used by name, "
          f"{len(used_numbers)} used by number, {english_copies} English copies; " + ("all have texts" if not problems else f"{len(problems)} problems"))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
