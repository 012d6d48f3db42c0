#include "app/engine/refusal_report.h"

#include <string>

#include "app/engine/drop_rules.h"
#include "app/message_ids.h"

namespace app::engine {
namespace {

constexpr char16_t kDash[] = u" \u2014 ";
constexpr char16_t kEllipsis[] = u"\u2026 ";

std::u16string Number(size_t n) {
  const std::string digits = std::to_string(n);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace

std::u16string RefusalReport(const std::u16string& heading, const std::vector<RefusedFile>& files,
                             const MessageTextSource& texts) {
  std::u16string report = heading;
  // A blank line sets the list apart from the sentence above it.
  if (!files.empty()) report += u"\n";
  const size_t listed = files.size() < kRefusalsListed ? files.size() : kRefusalsListed;
  for (size_t i = 0; i < listed; ++i) {
    report += u"\n" + LastPathComponent(files[i].path) + kDash + RefusalText(files[i].reason, texts);
  }
  if (files.size() > listed) {
    report += u"\n" + std::u16string(kEllipsis) + texts(msg::kMoreRefusedBefore) + u" " +
              Number(files.size() - listed) + u" " + texts(msg::kMoreRefusedAfter);
  }
  return report;
}

}  // namespace app::engine
