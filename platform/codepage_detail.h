// What the code-page conversions of every system share and nothing outside
// platform/ needs.
#pragma once

#include <cstddef>
#include <string>

namespace sys::detail {

// Length in units (1 or 2) of the character starting at text[i]; a lone
// surrogate counts as one.
size_t CharUnits(const std::u16string& text, size_t i);

}  // namespace sys::detail
