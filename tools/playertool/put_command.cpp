#include <windows.h>

#include <atomic>
#include <cstdio>

#include "app/engine/refusal_text.h"
#include "device/ipac_wrap.h"
#include "platform/codepage.h"
#include "tools/common/tool_main.h"
#include "tools/playertool/commands.h"

namespace playertool {

namespace {

std::atomic<int32_t> g_cancel{0};

// Ctrl+C and Ctrl+Break ask the running transfer to stop; it cancels its
// export at the next chunk and the tool ends cleanly.
BOOL WINAPI OnConsoleBreak(DWORD kind) {
  if (kind != CTRL_C_EVENT && kind != CTRL_BREAK_EVENT) return FALSE;
  g_cancel.store(1);
  return TRUE;
}

class ConsoleProgress : public device::IWrapEvents {
 public:
  void RunningState(uint32_t, uint32_t percent) override {
    std::printf("\r  %s %3u%%", m_name.c_str(), percent);
    std::fflush(stdout);
  }
  void TransferPastCancel() override {}
  void ShowMessage(uint32_t id) override { std::fprintf(stderr, "put: message %u\n", id); }
  void setName(std::string name) { m_name = std::move(name); }

 private:
  std::string m_name;
};

std::string Hex(HRESULT h) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(h));
  return text;
}

// The album's identifier, the album created when the player has none of
// that name; 0 on failure.
uint32_t FindOrCreateAlbum(device::CIPACWrap& wrap, const std::u16string& name) {
  uint32_t count = 0;
  std::vector<device::AlbumRecord> albums;
  const HRESULT listed = wrap.EnumAlbums(count, albums);
  if (FAILED(listed)) {
    std::fprintf(stderr, "put: cannot list the albums (%s)\n", Hex(listed).c_str());
    return 0;
  }
  for (const auto& a : albums) {
    if (a.name == name) return a.eid;
  }
  uint32_t eid = 0;
  HRESULT h = wrap.StartTransaction();
  if (SUCCEEDED(h)) {
    h = wrap.CreateAlbum(name, eid);
    const HRESULT ended = wrap.EndTransaction();
    if (SUCCEEDED(h)) h = ended;
  }
  if (FAILED(h)) {
    std::fprintf(stderr, "put: cannot create the album (%s)\n", Hex(h).c_str());
    return 0;
  }
  std::printf("created album \"%s\" (%u)\n", sys::Utf8FromUtf16(name).c_str(), eid);
  return eid;
}

}  // namespace

int PutCommand(const sys::Path& player, const std::u16string& album, const std::vector<sys::Path>& files) {
  if (!player.empty())
    ::SetEnvironmentVariableW(L"PELLMARK_PLAYER", std::filesystem::absolute(player).c_str());
  ::SetConsoleCtrlHandler(OnConsoleBreak, TRUE);
  device::CIPACWrap wrap;
  ConsoleProgress progress;
  wrap.SetEvents(&progress);
  wrap.SetCancelQuery([] { return g_cancel.load() != 0; });
  const std::wstring temp = sys::TempFolder().wstring();
  const HRESULT opened = wrap.Initialize(nullptr, temp.c_str(), temp.c_str());
  if (FAILED(opened)) {
    std::fprintf(stderr, "put: cannot open the player (%s)\n", Hex(opened).c_str());
    return kExitFaults;
  }
  const uint32_t eid = FindOrCreateAlbum(wrap, album);
  if (eid == 0) return kExitFaults;

  int stored = 0, failed = 0;
  for (size_t i = 0; i < files.size(); ++i) {
    const std::string name = tools::Utf8(files[i]);
    mp3::TrackInfo info;
    mp3::ValidityReport report;
    if (!wrap.CheckValidity(std::filesystem::absolute(files[i]), info, &report)) {
      // The same words the track manager's box uses for the file.
      const std::u16string why =
          app::engine::RefusalText(mp3::ReasonOf(report), app::engine::EnglishRefusalText);
      std::printf("refused: %s \xE2\x80\x94 %s\n", name.c_str(), sys::Utf8FromUtf16(why).c_str());
      ++failed;
      continue;
    }
    info.number = static_cast<uint32_t>(i);
    progress.setName(name);
    HRESULT h = wrap.StartTransaction();
    if (SUCCEEDED(h)) h = wrap.Transfer(info, eid, device::kPlaceInto);
    if (h == S_OK) h = wrap.EndTransaction();
    if (h == S_FALSE && g_cancel.load()) {
      std::printf("\ncancelled: %s\n", name.c_str());
      std::printf("put: %d stored, %d failed, cancelled\n", stored, failed);
      return kExitCancelled;
    }
    if (h == S_FALSE) {
      std::printf("\nput: the player is gone\n");
      return kExitFaults;
    }
    if (FAILED(h)) {
      std::printf("\nfailed: %s (%s)\n", name.c_str(), Hex(h).c_str());
      ++failed;
      continue;
    }
    std::printf("\nstored: %s\n", name.c_str());
    ++stored;
  }
  std::printf("put: %d stored, %d failed\n", stored, failed);
  return failed ? kExitFaults : kExitOk;
}

}  // namespace playertool
