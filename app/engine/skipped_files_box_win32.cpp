#include "app/engine/skipped_files_box_win32.h"

#include <string>

#include "app/engine/refusal_report.h"
#include "app/message_ids.h"
#include "winui/message_text.h"

namespace app::engine {
namespace {

std::u16string MessageText16(unsigned messageId) {
  const std::wstring text = winui::MessageText(messageId);
  return std::u16string(text.begin(), text.end());
}

}  // namespace

void ShowSkippedFiles(HWND owner, const RefusalList& refusals) {
  const std::u16string text =
      RefusalReport(MessageText16(msg::kSomeFilesSkipped), refusals.files(), MessageText16);
  winui::ShowMessageText(owner, std::wstring(text.begin(), text.end()), MB_OK);
}

}  // namespace app::engine
