#include "plugin/utils.h"

#include <algorithm>

namespace unreal {

std::vector<std::u16string> SplitString(const std::u16string& text, char16_t separator,
                                        int32_t max_splits) {
  const auto separators = static_cast<int64_t>(std::count(text.begin(), text.end(), separator));
  const int64_t splits = std::clamp<int64_t>(separators, 0, std::max<int32_t>(max_splits, 0));
  std::vector<std::u16string> parts;
  parts.reserve(static_cast<size_t>(splits) + 1);
  size_t start = 0;
  for (int64_t i = 0; i < splits; ++i) {
    const size_t at = text.find(separator, start);
    parts.emplace_back(text, start, at - start);
    start = at + 1;
  }
  parts.emplace_back(text, start);
  return parts;
}

}  // namespace unreal
