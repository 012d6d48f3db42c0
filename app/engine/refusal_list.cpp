#include "app/engine/refusal_list.h"

#include <utility>

#include "app/debug_log.h"
#include "app/engine/drop_phases.h"
#include "app/engine/refusal_text.h"
#include "platform/codepage.h"

namespace app::engine {

void RefusalList::Add(std::u16string path, const mp3::RefusalReason& reason) {
  DebugLog("\nSkipped %s: %s", NarrowForLog(path).c_str(),
           sys::Utf8FromUtf16(RefusalText(reason, EnglishRefusalText)).c_str());
  files_.push_back(RefusedFile{std::move(path), reason});
}

}  // namespace app::engine
