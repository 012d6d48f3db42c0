#!/usr/bin/env python3
"""Reads what a Windows program or DLL carries in its headers and resource section: the machine,
the link time stamp, the symbol table, the version resource and the manifest.

    pe_resources.py FILE...     prints one JSON object per file

Every read is checked against the file's size (struct raises on a short buffer), and the walk of
the resource tree is bounded, so a damaged file gives an error, never a loop."""
import json
import struct
import sys

RT_VERSION = 16
RT_MANIFEST = 24
VS_FIXEDFILEINFO_SIGNATURE = 0xFEEF04BD


class PeError(Exception):
    pass


class PeFile:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise PeError("no MZ header")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise PeError("no PE signature")
        (self.machine, sections, self.timestamp, self.symbol_table, self.symbol_count, optional_size,
         _) = struct.unpack_from("<HHIIIHH", data, pe + 4)
        optional = pe + 24
        magic = struct.unpack_from("<H", data, optional)[0]
        if magic not in (0x10B, 0x20B):
            raise PeError(f"unknown optional header {magic:#x}")
        directories = optional + (96 if magic == 0x10B else 112)
        count = struct.unpack_from("<I", data, directories - 4)[0]
        self.resource_rva, self.resource_size = (
            struct.unpack_from("<II", data, directories + 16) if count > 2 else (0, 0))
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            name, vsize, va, raw_size, raw = struct.unpack_from("<8sIIII", data, table + 40 * i)
            self.sections.append((self._section_name(name), va, max(vsize, raw_size), raw))

    def _section_name(self, field):
        """A name of up to 8 bytes, or "/N": offset N into the string table after the symbols
        (the linker's way to write longer names such as .debug_info)."""
        name = field.rstrip(b"\0").decode("latin-1")
        if name.startswith("/") and name[1:].isdigit() and self.symbol_table:
            at = self.symbol_table + 18 * self.symbol_count + int(name[1:])
            end = self.data.find(b"\0", at)
            if at < len(self.data) and end > at:
                name = self.data[at:end].decode("latin-1")
        return name

    def offset(self, rva):
        for _, va, size, raw in self.sections:
            if va <= rva < va + size:
                return raw + rva - va
        raise PeError(f"address {rva:#x} is in no section")

    def resources(self):
        """{(type, name, language): bytes}; type and name are numbers or texts."""
        if not self.resource_rva:
            return {}
        base = self.offset(self.resource_rva)
        found = {}

        def entries(directory):
            named, ids = struct.unpack_from("<HH", self.data, base + directory + 12)
            for i in range(named + ids):
                name, target = struct.unpack_from("<II", self.data, base + directory + 16 + 8 * i)
                if name & 0x80000000:
                    at = base + (name & 0x7FFFFFFF)
                    length = struct.unpack_from("<H", self.data, at)[0]
                    name = self.data[at + 2:at + 2 + 2 * length].decode("utf-16-le")
                yield name, target

        # Three levels: type, name, language; a subdirectory pointer deeper than that is an error.
        for kind, to_names in entries(0):
            if not to_names & 0x80000000:
                raise PeError("resource type without a directory")
            for name, to_languages in entries(to_names & 0x7FFFFFFF):
                if not to_languages & 0x80000000:
                    raise PeError("resource name without a directory")
                for language, to_data in entries(to_languages & 0x7FFFFFFF):
                    if to_data & 0x80000000:
                        raise PeError("resource tree deeper than three levels")
                    rva, size = struct.unpack_from("<II", self.data, base + to_data)
                    at = self.offset(rva)
                    if at + size > len(self.data):
                        raise PeError("resource data past the end of the file")
                    found[(kind, name, language)] = self.data[at:at + size]
        return found

    def resource(self, kind):
        """The data of the first resource of that type, or None."""
        for (k, _, _), data in sorted(self.resources().items(), key=lambda item: str(item[0])):
            if k == kind:
                return data
        return None


def _version_node(data, at):
    """One node of a version resource: (key, value bytes, is text, children, end)."""
    length, value_length, is_text = struct.unpack_from("<HHH", data, at)
    if length < 6 or at + length > len(data):
        raise PeError("version resource node out of bounds")
    end = at + length
    key_end = at + 6
    while data[key_end:key_end + 2] != b"\0\0":
        key_end += 2
        if key_end >= end:
            raise PeError("version resource key without end")
    key = data[at + 6:key_end].decode("utf-16-le")
    value_at = (key_end + 2 + 3) & ~3
    value_size = value_length * 2 if is_text else value_length
    value = data[value_at:value_at + value_size]
    children = []
    child = (value_at + value_size + 3) & ~3
    while child < end:
        node = _version_node(data, child)
        children.append(node)
        child = (node[4] + 3) & ~3
    return key, value, is_text, children, end


def version_info(data):
    """The version resource: file and product version (four numbers each), file type and the
    texts of its string tables."""
    key, value, _, children, _ = _version_node(data, 0)
    if key != "VS_VERSION_INFO" or len(value) < 52:
        raise PeError("no VS_VERSION_INFO")
    fixed = struct.unpack_from("<13I", value)
    if fixed[0] != VS_FIXEDFILEINFO_SIGNATURE:
        raise PeError("no VS_FIXEDFILEINFO")

    def four(ms, ls):
        return [ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF]

    texts = {}
    for child_key, _, _, tables, _ in children:
        if child_key == "StringFileInfo":
            for _, _, _, strings, _ in tables:
                for name, text, _, _, _ in strings:
                    texts[name] = text.decode("utf-16-le").rstrip("\0")
    return {"file_version": four(fixed[2], fixed[3]), "product_version": four(fixed[4], fixed[5]),
            "file_type": fixed[9], "strings": texts}


def describe(data):
    pe = PeFile(data)
    version = pe.resource(RT_VERSION)
    manifest = pe.resource(RT_MANIFEST)
    return {"machine": pe.machine, "timestamp": pe.timestamp, "symbols": pe.symbol_count,
            "sections": [s[0] for s in pe.sections],
            "version": version_info(version) if version else None,
            "manifest": manifest.decode("utf-8") if manifest else None}


def main():
    status = 0
    for path in sys.argv[1:]:
        try:
            with open(path, "rb") as f:
                print(json.dumps(dict(describe(f.read()), path=path)))
        except (OSError, PeError, struct.error) as e:
            print(json.dumps({"path": path, "error": str(e)}))
            status = 1
    return status


if __name__ == "__main__":
    sys.exit(main())
