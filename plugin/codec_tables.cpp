#include "plugin/codec_tables.h"

namespace unreal {

namespace {
char16_t FoldAscii(char16_t c) {
  return (c >= u'A' && c <= u'Z') ? char16_t(c - u'A' + u'a') : c;
}
}  // namespace

bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

}  // namespace unreal
