// The log file's side of writing: a batch of notes appended in one open,
// moved to the backup whenever the file has reached its size limit. The
// caller holds the log lock around it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/system.h"

namespace debuglog {

// The bytes a note takes in the file: line breaks as the system's text files
// hold them ("\r\n" on Windows, where a program writing the file in text
// mode would produce the same bytes). Knowing the exact bytes lets a batch
// tell where the size limit falls.
std::string FileBytes(const std::string& text);

// "PellmarkLog.bak" beside "PellmarkLog.txt".
sys::Path BackupPath(const sys::Path& log);

// Appends the notes (file bytes) in order. Before each note, a file that has
// reached sizeLimit bytes (0: no limit) is copied over the backup and
// started afresh, so one batch may end up split across the two files; when
// the copy fails the note is appended regardless, as a single note would be.
// Returns how many notes were written: fewer than given when the file
// could not be opened.
size_t AppendNotes(const sys::Path& path, uint64_t sizeLimit, const std::vector<std::string>& notes);

}  // namespace debuglog
