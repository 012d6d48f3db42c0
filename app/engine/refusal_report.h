// The text of the box that ends a drop which skipped files: the general
// sentence, then one "name - cause" line for each of the first ten skipped
// files, then "... and N more" for the rest (the log holds them all).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "app/engine/refusal_list.h"
#include "app/engine/refusal_text.h"

namespace app::engine {

// A box taller than this many lines would run off a small screen.
constexpr size_t kRefusalsListed = 10;

// heading + the lines; texts gives the causes' and the "more" line's words.
std::u16string RefusalReport(const std::u16string& heading, const std::vector<RefusedFile>& files,
                             const MessageTextSource& texts);

}  // namespace app::engine
