#include "stand-ins/device_access/player_settings.h"

#include <cctype>
#include <cstdio>
#include <sstream>

#include "platform/codepage.h"

namespace standin {

namespace {

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool ParseFlag(const std::string& v, bool& out) {
  uint64_t n = 0;
  if (!ParseNumber(v, n) || n > 1) return false;
  out = n != 0;
  return true;
}

bool ParseU32(const std::string& v, uint32_t& out) {
  uint64_t n = 0;
  if (!ParseNumber(v, n) || n > 0xFFFFFFFFull) return false;
  out = static_cast<uint32_t>(n);
  return true;
}

bool ParseFault(const std::string& v, FaultRule& rule) {
  std::istringstream in(v);
  std::string op, call, result, extra;
  if (!(in >> op >> call >> result) || (in >> extra)) return false;
  uint32_t n = 0;
  uint64_t code = 0;
  if (!ParseU32(call, n) || n == 0 || !ParseNumber(result, code) || code > 0xFFFFFFFFull) return false;
  rule.operation = op;
  rule.call = n;
  rule.result = hr::Make(static_cast<uint32_t>(code));
  return true;
}

}  // namespace

bool ParseNumber(const std::string& text, uint64_t& out) {
  std::string t = Trim(text);
  if (t.empty()) return false;
  uint64_t value = 0;
  size_t i = 0;
  unsigned base = 10;
  if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
    base = 16;
    i = 2;
  }
  for (; i < t.size(); ++i) {
    const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(t[i])));
    unsigned digit;
    if (c >= '0' && c <= '9') {
      digit = static_cast<unsigned>(c - '0');
    } else if (base == 16 && c >= 'a' && c <= 'f') {
      digit = static_cast<unsigned>(c - 'a' + 10);
    } else {
      return false;
    }
    if (value > (UINT64_MAX - digit) / base) return false;
    value = value * base + digit;
  }
  out = value;
  return true;
}

void ParseSettings(const std::string& text, PlayerSettings& s, std::vector<std::string>& problems) {
  std::istringstream in(text);
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    std::string t = Trim(line);
    if (t.empty() || t[0] == '#' || t[0] == ';' || t[0] == '[') continue;
    const size_t eq = t.find('=');
    auto problem = [&](const char* what) {
      problems.push_back("line " + std::to_string(number) + ": " + what + ": " + t);
    };
    if (eq == std::string::npos) {
      problem("no '='");
      continue;
    }
    const std::string key = Lower(Trim(t.substr(0, eq)));
    const std::string value = Trim(t.substr(eq + 1));
    bool ok = true;
    if (key == "name") {
      s.deviceName = sys::Utf16FromUtf8(value);
    } else if (key == "devices") {
      ok = ParseU32(value, s.deviceCount);
    } else if (key == "capacity") {
      ok = ParseNumber(value, s.capacity) && s.capacity <= static_cast<uint64_t>(INT64_MAX);
    } else if (key == "medium-kind") {
      ok = ParseU32(value, s.mediumKind);
    } else if (key == "media") {
      ok = ParseU32(value, s.mediumCount) && s.mediumCount <= 16;
    } else if (key == "operation-polls") {
      ok = ParseU32(value, s.operationPolls) && s.operationPolls <= 1000;
    } else if (key == "deny-listing") {
      ok = ParseFlag(value, s.denyListing);
    } else if (key == "album-creation-fails") {
      ok = ParseFlag(value, s.albumCreationFails);
    } else if (key == "medium-full") {
      ok = ParseFlag(value, s.mediumFull);
    } else if (key == "unreadable-track") {
      ok = ParseU32(value, s.unreadableTrack);
    } else if (key == "disconnect-at-poll") {
      ok = ParseU32(value, s.disconnectAtPoll);
    } else if (key == "zero-progress-total") {
      ok = ParseFlag(value, s.zeroProgressTotal);
    } else if (key == "write-delay-ms") {
      ok = ParseU32(value, s.writeDelayMs) && s.writeDelayMs <= 10000;
    } else if (key == "commit-delay-ms") {
      ok = ParseU32(value, s.commitDelayMs) && s.commitDelayMs <= 60000;
    } else if (key == "fail") {
      FaultRule rule;
      ok = ParseFault(value, rule);
      if (ok) s.faults.push_back(rule);
    } else if (key == "player") {
      s.playerFolder = value;
    } else {
      problem("unknown key");
      continue;
    }
    if (!ok) problem("bad value");
  }
}

void LoadSettingsFile(const sys::Path& path, PlayerSettings& settings, std::vector<std::string>& problems) {
  std::FILE* f = sys::OpenStdioFile(path, "rb");
  if (!f) return;
  std::string text;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
  std::fclose(f);
  ParseSettings(text, settings, problems);
}

}  // namespace standin
