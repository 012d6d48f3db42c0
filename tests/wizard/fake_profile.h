// A settings file in memory that answers like the Windows profile
// functions: a missing key gives the fallback, long values are cut to the
// buffer, a section too big for its buffer reports the buffer size - 2.
#pragma once

#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "wizard/profile_reader.h"

namespace wizardtest {

class FakeProfile final : public wizard::ProfileReader {
 public:
  void set(const std::string& section, const std::string& key, const std::string& value) {
    auto& lines = m_sections[section];
    for (auto& line : lines)
      if (line.first == key) {
        line.second = value;
        return;
      }
    lines.emplace_back(key, value);
  }

  std::string readText(const std::string& section, const std::string& key, const std::string& fallback,
                       size_t limit) override {
    const std::string* value = find(section, key);
    std::string text = value ? *value : fallback;
    if (text.size() > limit - 1) text.resize(limit - 1);
    return text;
  }
  int readInt(const std::string& section, const std::string& key, int fallback) override {
    const std::string* value = find(section, key);
    return value ? std::atoi(value->c_str()) : fallback;
  }
  std::string readSection(const std::string& section, size_t bufferChars, size_t& returned) override {
    std::string all;
    for (const auto& [key, value] : m_sections[section]) all += key + "=" + value + '\0';
    if (all.size() + 1 > bufferChars) {
      // What the system leaves: the lines cut to fit, two zeros at the end.
      all.resize(bufferChars - 2);
      returned = bufferChars - 2;
      return all + std::string(2, '\0');
    }
    returned = all.size();
    return all + '\0';
  }

 private:
  const std::string* find(const std::string& section, const std::string& key) const {
    auto s = m_sections.find(section);
    if (s == m_sections.end()) return nullptr;
    for (const auto& line : s->second)
      if (line.first == key) return &line.second;
    return nullptr;
  }
  std::map<std::string, std::vector<std::pair<std::string, std::string>>> m_sections;
};

}  // namespace wizardtest
