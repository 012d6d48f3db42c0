// The four texts the analyser takes from a file's tags, in their wide and
// their narrow form.
#pragma once

#include <string>

namespace mp3 {

struct WideTagTexts {
  std::u16string title;
  std::u16string artist;
  std::u16string album;
  std::u16string genre;

  bool allEmpty() const { return title.empty() && artist.empty() && album.empty() && genre.empty(); }
};

struct NarrowTagTexts {
  std::string title;
  std::string artist;
  std::string album;
  std::string genre;
};

}  // namespace mp3
