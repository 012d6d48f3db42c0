// A player for the drop phases' tests: albums with track counts, every call
// recorded as a line, and results or side effects that a test injects at
// the Nth call.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/engine/job_device.h"
#include "app/engine/job_events.h"
#include "platform/codepage.h"

namespace enginetest {

class RecordingDevice : public app::engine::JobDevice {
 public:
  HRESULT StartTransaction() override {
    calls.push_back("start");
    if (open) ++nested;
    open = true;
    return hr::kOk;
  }
  HRESULT EndTransaction() override {
    if (!open) return hr::kFalse;
    calls.push_back("end");
    open = false;
    return hr::kOk;
  }
  HRESULT CreateAlbum(const std::u16string& name, uint32_t& eid) override {
    ++creates;
    if (!open) ++outside;
    calls.push_back("create " + sys::Utf8FromUtf16(name));
    if (auto f = createFailures.find(creates); f != createFailures.end()) return f->second;
    eid = nextEid++;
    tracksIn[eid] = 0;
    names[eid] = name;
    return hr::kOk;
  }
  HRESULT WaitForCurrentOperation() override {
    calls.push_back("wait");
    return hr::kOk;
  }
  HRESULT Transfer(const app::engine::TransferJob& job, uint32_t albumEid, uint32_t placement,
                   uint32_t& newTrackEid) override {
    newTrackEid = 0;
    ++transfers;
    sources.push_back("transfer " + job.sourcePath.filename().string());
    if (!open) ++outside;
    if (beforeTransfer) beforeTransfer(transfers);
    HRESULT h = hr::kOk;
    if (auto f = transferResults.find(transfers); f != transferResults.end()) h = f->second;
    if (h != hr::kOk) {
      // As the wrapper does: every way out but success ends the transaction.
      open = false;
      calls.push_back("transfer-ended " + std::to_string(h));
      return h;
    }
    ++tracksIn[albumEid];
    placements.push_back(placement);
    received[albumEid].push_back(job.title);
    numbers[albumEid].push_back(job.number);
    newTrackEid = nextTrackEid++;
    trackEids[albumEid].push_back(newTrackEid);
    return hr::kOk;
  }
  void ExpectSource(const sys::Path& source) override {
    if (!source.empty()) sources.push_back("expect " + source.filename().string());
  }
  int64_t AlbumTrackCount(uint32_t albumEid) override {
    calls.push_back("count " + std::to_string(albumEid));
    if (countFails) return -1;
    auto it = tracksIn.find(albumEid);
    return it == tracksIn.end() ? -1 : it->second;
  }

  // An album the player already holds.
  void addAlbum(uint32_t eid, const std::u16string& name, int64_t tracks) {
    tracksIn[eid] = tracks;
    names[eid] = name;
  }
  std::string nameOf(uint32_t eid) { return sys::Utf8FromUtf16(names[eid]); }

  std::vector<std::string> calls;
  std::vector<std::string> sources;  // sources named ahead and transferred, in order
  std::map<uint32_t, int64_t> tracksIn;
  std::map<uint32_t, std::u16string> names;
  std::map<uint32_t, std::vector<std::string>> received;  // titles per album, in order
  std::map<uint32_t, std::vector<uint32_t>> numbers;      // the jobs' running numbers, likewise
  std::map<uint32_t, std::vector<uint32_t>> trackEids;    // the new tracks' EIDs, likewise
  std::vector<uint32_t> placements;
  std::map<int, HRESULT> createFailures;   // Nth CreateAlbum answers this
  std::map<int, HRESULT> transferResults;  // Nth Transfer answers this
  std::function<void(int)> beforeTransfer;
  bool countFails = false;
  bool open = false;
  int nested = 0;   // a transaction started while one was open
  int outside = 0;  // a call that needed a transaction ran without one
  int creates = 0;
  int transfers = 0;
  uint32_t nextEid = 100;
  uint32_t nextTrackEid = 5000;
};

class RecordingEvents : public app::engine::JobEvents {
 public:
  void OneFolderCreated(const std::u16string* name, int64_t eid) override {
    folders.push_back(name ? sys::Utf8FromUtf16(*name) + "=" + std::to_string(eid)
                           : "null=" + std::to_string(eid));
    if (onFolder) onFolder(folders.size());
  }
  void OneTrackCompleted(const app::engine::CompletedTrack& track) override {
    completed.push_back(track.index);
    completedEids.push_back(track.eid);
    completedTitles.push_back(track.job.title);
    if (onTrack) onTrack(completed.size());
  }
  void ClearListItems() override { ++clears; }
  void ShowMessage(unsigned id) override { messages.push_back(id); }
  void TransferCompleted() override { ++completions; }

  bool silent() const {
    return folders.empty() && completed.empty() && !clears && messages.empty() && !completions;
  }

  // Called with the number of reports of that kind so far.
  std::function<void(size_t)> onFolder;
  std::function<void(size_t)> onTrack;
  std::vector<std::string> folders;
  std::vector<size_t> completed;
  std::vector<uint32_t> completedEids;
  std::vector<std::string> completedTitles;
  int clears = 0;
  std::vector<unsigned> messages;
  int completions = 0;
};

}  // namespace enginetest
