// The diagnostic log: time-stamped notes in "PellmarkLog.txt", shared by name
// with other programs that use the same lock, rotated at 100 KiB. Logging
// never fails its caller: a note that cannot be written is dropped.
//
// DebugLog (common/debug_log.h) formats and stamps a note and queues it; a
// writer thread started with the log appends all pending notes in one open
// of the file under the log lock, within about 50 ms. Pending notes are also
// written at orderly exit (the writer ends then) and when an unhandled
// exception is about to end the process. A program that never starts the
// log never has the thread.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

#include "common/debug_log.h"
#include "common/hresult.h"
#include "platform/system.h"

// Starts the log once at start-up: creates the folder and file, then opens
// or creates the log lock. 0 when this process created the lock (and wrote
// the banner); E_FAIL when another process owns it or it could not be made.
HRESULT StartLog();

// Writes an already formatted text (at most 1,024 characters).
HRESULT LogText(const char* text);

// "Version ..." from version.txt or the Halvern program's version resource.
std::string GetVersionText();

namespace debuglog {

constexpr uint64_t kSizeLimitKiB = 100;
constexpr const char* kLockName = "qtvxsrv-logfile-mutex";
constexpr const char* kFolderName = "Pellmark LogFile";
constexpr const char* kFileName = "PellmarkLog.txt";

// Where the log lives: <root>/Pellmark LogFile/PellmarkLog.txt. The root is
// "C:\" on Windows; on POSIX it is $PELLMARK_LOG_ROOT or the temporary folder.
sys::Path DefaultRoot();

// Overrides, before StartLog, the root, the lock name and the program folder
// (empty values keep the defaults), and forgets a started log (after
// writing its pending notes). Lets tests run
// side by side without sharing one log file.
void Configure(const sys::Path& root, const std::string& lockName, const sys::Path& programFolder);
// Writes the pending notes, ends the writer thread, closes the lock and
// forgets the path.
void Stop();
// Writes every note queued so far before returning (for readers of the file
// in the same process).
void Flush();
// The log file's path once started; empty before.
sys::Path LogPath();

// "\n" followed by the time as "%m/%d/%Y %I:%M:%S%p ".
std::string LinePrefix(const std::tm& local);
// The note with every '\n' replaced by the line prefix.
std::string ExpandLineBreaks(const std::string& note, const std::string& prefix);
// The system name of the banner, ending in a line break.
std::string SystemName(const sys::OsVersion& version);
// The version text from the bytes read from version.txt and the Halvern
// program's version parts (null when it has none).
std::string VersionTextFrom(const std::string& versionFileBytes, const uint16_t* fileVersionParts);

}  // namespace debuglog
