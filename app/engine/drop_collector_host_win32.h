// DropCollectorHost (drop_collector.h) over the real file system, the device
// wrapper, the progress window and the main window (through DropHost).
#pragma once

#include <windows.h>

#include "app/engine/drop_collector.h"
#include "app/engine/drop_host.h"

namespace app::engine {

class CDropCollectorHost final : public DropCollectorHost {
 public:
  explicit CDropCollectorHost(DropHost& host) : host_(host) {}

  bool QueryAttributes(const std::u16string& path, bool& isFolder) override;
  bool FileSize(const std::u16string& path, uint64_t& size) override;
  bool ListFolder(const std::u16string& folder, std::vector<FolderEntry>& entries) override;
  bool FreeSpace(int64_t& freeBytes) override;
  bool CheckValidity(const std::u16string& path, TransferJob& info) override;
  bool CheckValidityExplained(const std::u16string& path, TransferJob& info,
                              mp3::RefusalReason& reason) override;
  size_t AlbumCount() override { return host_.AlbumCount(); }
  std::u16string MessageText(unsigned messageId) override;
  void SetProgressText(const std::u16string& text) override;
  void SetProgressClosing() override;
  void BringProgressToFront() override;
  void RepaintProgress() override;
  uint64_t TickMs() override { return ::GetTickCount64(); }
  void HideProgress() override;
  void EnableMainWindow(bool enable) override { host_.EnableMainWindow(enable); }
  void PumpMessages(int count) override;
  void Sleep(unsigned milliseconds) override { ::Sleep(milliseconds); }
  void DoOleDrop(bool accepted, bool refused) override { host_.DoOleDrop(accepted, refused); }
  void KeepRefusals(const RefusalList& refusals) override { host_.KeepRefusals(refusals); }
  void ShowLastRow() override;

 private:
  DropHost& host_;
};

// Runs up to `count` pending messages of this thread through the
// framework's dialog navigation. A WM_QUIT is put back for the real loop.
void PumpPendingMessages(int count);

}  // namespace app::engine
