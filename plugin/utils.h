#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace unreal {

// Splits text at separator at most max_splits times: the number of splits is the count of
// separators (capped), the result holds that many leading pieces and then what remains.
// An empty text gives one empty string; "a::b" gives "a", "", "b".
std::vector<std::u16string> SplitString(const std::u16string& text, char16_t separator,
                                        int32_t max_splits);

}  // namespace unreal
