// Settings of the simulated player: its name, medium, pacing and the faults
// it injects. They come from "settings.ini" in the player folder, after the
// library's own settings file beside the DLL (which may also name the
// player folder). Lines are "key = value"; '#' and ';' start comments.
// Without settings the player injects nothing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/hresult.h"
#include "platform/system.h"

namespace standin {

// "fail = Operation N RESULT": the Nth call (from 1) of Operation answers
// RESULT instead of doing anything.
struct FaultRule {
  std::string operation;
  uint32_t call = 0;
  HRESULT result = 0;
};

struct PlayerSettings {
  std::u16string deviceName = u"Orlen Player";  // name
  uint32_t deviceCount = 1;                     // devices (0: no player attached)
  uint64_t capacity = 1ull << 30;               // capacity (bytes)
  uint32_t mediumKind = 1;                      // medium-kind (1 = usable)
  uint32_t mediumCount = 1;                     // media
  // operation-polls: progress polls a removal, move or album creation
  // answers "not yet" before it reports the operation finished.
  uint32_t operationPolls = 0;
  bool denyListing = false;         // deny-listing: E_ACCESSDENIED on listing
  bool albumCreationFails = false;  // album-creation-fails: 0x8000000A
  bool mediumFull = false;          // medium-full: no free byte left
  // unreadable-track: the track with this id is damaged: reading its
  // properties fails, as it does on a player whose track entry is corrupt.
  uint32_t unreadableTrack = 0;
  uint32_t disconnectAtPoll = 0;    // disconnect-at-poll: gone from that poll on
  bool zeroProgressTotal = false;   // zero-progress-total: exports report total 0
  // write-delay-ms: each WriteExportData and SetProperties takes this
  // long, like a slow player on a slow port (so a test can stop a transfer
  // part-way, or while a track's closing steps are written).
  uint32_t writeDelayMs = 0;
  // commit-delay-ms: an ended export still reports itself unfinished this
  // long, as a player does while it files the new track away.
  uint32_t commitDelayMs = 0;
  std::vector<FaultRule> faults;    // fail
  std::string playerFolder;         // player: only in the settings beside the DLL
};

// Applies the lines of text to settings; each line that cannot be used is
// described in problems (with its line number) and skipped.
void ParseSettings(const std::string& text, PlayerSettings& settings, std::vector<std::string>& problems);

// ParseSettings on a file; a missing file changes nothing and is no problem.
void LoadSettingsFile(const sys::Path& path, PlayerSettings& settings, std::vector<std::string>& problems);

// Parses "123", "0x7B" or a negative decimal; false on anything else.
bool ParseNumber(const std::string& text, uint64_t& out);

}  // namespace standin
