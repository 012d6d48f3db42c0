// kvxtag: shows and sets the tag of a track file.
//   kvxtag show FILE
//       one JSON line for the tag, then one per frame in file order
//   kvxtag set FILE [--title T] [--artist A] [--album B] [--genre G]
//       sets the texts through the tag editor exactly as a transfer does
//       (open mode 2, encoding 2, flags 0, LSI order); texts in UTF-8
//   kvxtag put FILE TYPE SUBCODE [--encoding E] [--flags F] [--mode M]
//              [--order K] [--] [VALUE...]
//       sets any address of the editor; no values empties it
// Exit status: 0 done, 1 failed or declined, 2 usage error.
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "container/fringe_editor.h"
#include "container/tag_file.h"
#include "platform/codepage.h"
#include "platform/system.h"
#include "tools/common/tool_main.h"
#include "tools/kvxtag/frame_json.h"

namespace tools {

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

int Usage() {
  std::fprintf(stderr,
               "usage: kvxtag show FILE\n"
               "       kvxtag set FILE [--title T] [--artist A] [--album B] [--genre G]\n"
               "       kvxtag put FILE TYPE SUBCODE [--encoding E] [--flags F] [--mode M] [--order K] "
               "[--] [VALUE...]\n");
  return kExitUsage;
}

int Fail(const std::string& message) {
  std::fprintf(stderr, "kvxtag: %s\n", message.c_str());
  return kExitFailed;
}

std::string ReadCodeText(container::KvxFileRet code) {
  using container::KvxFileRet;
  switch (code) {
    case KvxFileRet::kCannotAccess:
      return "the file cannot be opened or read";
    case KvxFileRet::kInconsistent:
      return "the tag's sizes do not fit together (damaged or truncated tag)";
    case KvxFileRet::kMalformed:
      return "the tag holds data this program does not support";
    case KvxFileRet::kOutOfMemory:
      return "out of memory";
    default:
      return "tag library code " + std::to_string(static_cast<int>(code));
  }
}

std::string HresultText(HRESULT h) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(h));
  if (h == hr::kFalse) return "declined (S_FALSE)";
  if (h == hr::kFail) return std::string("failed (E_FAIL, ") + hex + ")";
  if (h == hr::kInvalidArg)
    return std::string("invalid argument or unreadable tag (E_INVALIDARG, ") + hex + ")";
  if (h == hr::kOutOfMemory) return "out of memory";
  if (h == container::kContentRefusedHresult)
    return std::string("refused by the tag's content (") + hex + ")";
  return hex;
}

// A whole number from an argument; nothing when it is not one.
std::optional<uint32_t> Number(const std::filesystem::path& arg) {
  const std::string s = Utf8(arg);
  if (s.empty() || s.size() > 9 || s.find_first_not_of("0123456789") != std::string::npos)
    return std::nullopt;
  return static_cast<uint32_t>(std::strtoul(s.c_str(), nullptr, 10));
}

std::u16string Text(const std::filesystem::path& arg) { return sys::Utf16FromUtf8(Utf8(arg)); }

int Show(const std::filesystem::path& file) {
  if (!sys::FileExists(file)) return Fail(Utf8(file) + ": no such file");
  container::KVXTag tag;
  const container::KvxFileRet r = container::ReadTagFile(tag, file);
  if (!container::IsOk(r)) return Fail(Utf8(file) + ": " + ReadCodeText(r));
  std::printf("%s\n", TagJson(Utf8(file), tag).c_str());
  for (const auto& entry : tag.entries()) std::printf("%s\n", FrameJson(entry).c_str());
  return 0;
}

struct Assignment {
  uint32_t type;
  uint32_t subCode;
  std::vector<std::u16string> values;
};

// Opens, sets and commits; each failure is reported in terms of the step.
int Apply(const std::filesystem::path& file, uint32_t mode, uint32_t order, uint32_t encoding, uint8_t flags,
          const std::vector<Assignment>& assignments) {
  container::KVXFringeEditor editor;
  HRESULT h = editor.Open(file, mode);
  if (h != hr::kOk) {
    bool readOnly = false;
    if (h == hr::kFail && sys::GetReadOnly(file, readOnly) && readOnly)
      return Fail(Utf8(file) + ": the file is read-only");
    return Fail(Utf8(file) + ": cannot open the tag: " + HresultText(h));
  }
  int status = 0;
  for (const Assignment& a : assignments) {
    h = editor.Set(a.type, a.subCode, a.values, encoding, flags);
    if (h != hr::kOk) {
      status = Fail("type " + std::to_string(a.type) + " sub-code " + std::to_string(a.subCode) + ": " +
                    HresultText(h));
      if (hr::Failed(h)) break;
    }
  }
  // Commit in every case: it releases the editor, and writes only what was set.
  h = editor.Commit(order);
  if (h != hr::kOk) return Fail(Utf8(file) + ": writing the tag " + HresultText(h));
  return status;
}

int Set(const std::vector<std::filesystem::path>& args) {
  // The transfer's order and addresses.
  struct Option {
    const char* name;
    uint32_t type, subCode;
    std::optional<std::u16string> value;
  } options[] = {{"--title", container::kFringeTitle, 0, {}},
                 {"--album", container::kFringeAlbum, 0, {}},
                 {"--artist", container::kFringeArtist, container::kSubCodeAlbumArtist, {}},
                 {"--genre", container::kFringeGenre, container::kSubCodeAlbumGenre, {}}};
  for (size_t i = 1; i < args.size(); i += 2) {
    Option* match = nullptr;
    for (Option& o : options)
      if (Utf8(args[i]) == o.name) match = &o;
    if (match == nullptr || i + 1 >= args.size()) return Usage();
    match->value = Text(args[i + 1]);
  }
  std::vector<Assignment> assignments;
  for (const Option& o : options)
    if (o.value) assignments.push_back({o.type, o.subCode, {*o.value}});
  if (assignments.empty()) return Usage();
  return Apply(args[0], container::kFringeOpenWrite, container::kFringeCommitLsi, 2, 0, assignments);
}

int Put(const std::vector<std::filesystem::path>& args) {
  if (args.size() < 3) return Usage();
  auto type = Number(args[1]);
  auto subCode = Number(args[2]);
  if (!type || !subCode) return Usage();
  uint32_t encoding = 2, flags = 0, mode = container::kFringeOpenWrite, order = container::kFringeCommitLsi;
  std::vector<std::u16string> values;
  bool optionsEnded = false;
  for (size_t i = 3; i < args.size(); ++i) {
    const std::string a = Utf8(args[i]);
    if (!optionsEnded && a == "--") {
      optionsEnded = true;
      continue;
    }
    if (!optionsEnded && a.rfind("--", 0) == 0) {
      if (i + 1 >= args.size()) return Usage();
      auto n = Number(args[++i]);
      if (!n) return Usage();
      if (a == "--encoding")
        encoding = *n;
      else if (a == "--flags" && *n <= 0xFF)
        flags = *n;
      else if (a == "--mode")
        mode = *n;
      else if (a == "--order")
        order = *n;
      else
        return Usage();
      continue;
    }
    values.push_back(Text(args[i]));
  }
  return Apply(args[0], mode, order, encoding, static_cast<uint8_t>(flags), {{*type, *subCode, values}});
}

}  // namespace

int ToolMain(const std::vector<std::filesystem::path>& args) {
  if (args.size() < 2) return Usage();
  const std::string command = Utf8(args[0]);
  const std::vector<std::filesystem::path> rest(args.begin() + 1, args.end());
  if (command == "show" && rest.size() == 1) return Show(rest[0]);
  if (command == "set") return Set(rest);
  if (command == "put") return Put(rest);
  return Usage();
}

}  // namespace tools
