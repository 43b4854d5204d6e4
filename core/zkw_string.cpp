#include "core/zkw_string.h"

#include <cstdint>
#include <stdexcept>

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

void AppendUtf16(zkw_string& out, char32_t c) {
  if (c < 0x10000) {
    out += static_cast<char16_t>(c);
  } else {
    c -= 0x10000;
    out += static_cast<char16_t>(0xD800 | (c >> 10));
    out += static_cast<char16_t>(0xDC00 | (c & 0x3FF));
  }
}

bool IsHigh(char16_t u) {
  return u >= 0xD800 && u <= 0xDBFF;
}
bool IsLow(char16_t u) {
  return u >= 0xDC00 && u <= 0xDFFF;
}

}  // namespace

std::string ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char16_t u = text[i];
    if (IsHigh(u) && i + 1 < text.size() && IsLow(text[i + 1])) {
      char32_t c = 0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00);
      AppendUtf8(out, c);
      ++i;
    } else if (IsHigh(u) || IsLow(u)) {
      AppendUtf8(out, kReplacement);
    } else {
      AppendUtf8(out, u);
    }
  }
  return out;
}

namespace {

// Decodes UTF-8 into `out`. A malformed sequence becomes U+FFFD per bad byte, or, when `strict`,
// stops the decoding with false.
bool DecodeUtf8(std::string_view text, zkw_string& out, bool strict) {
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    auto b = static_cast<uint8_t>(text[i]);
    int extra = b < 0x80           ? 0
                : (b >> 5) == 0x6  ? 1
                : (b >> 4) == 0xE  ? 2
                : (b >> 3) == 0x1E ? 3
                                   : -1;
    bool ok = extra >= 0 && i + extra < text.size();
    char32_t c = 0;
    if (ok) {
      c = extra == 0 ? b : (b & (0x3F >> extra));
      for (int k = 1; k <= extra; ++k) {
        auto cont = static_cast<uint8_t>(text[i + k]);
        if ((cont & 0xC0) != 0x80) {
          ok = false;
          break;
        }
        c = (c << 6) | (cont & 0x3F);
      }
      static constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
      ok = ok && c >= kMin[extra] && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
    }
    if (!ok) {
      if (strict) return false;
      AppendUtf16(out, kReplacement);
      ++i;
      continue;
    }
    AppendUtf16(out, c);
    i += extra + 1;
  }
  return true;
}

}  // namespace

zkw_string FromUtf8(std::string_view text) {
  zkw_string out;
  DecodeUtf8(text, out, false);
  return out;
}

zkw_string Utf8ToWString(const char* text) {
  zkw_string out;
  if (text == nullptr) return out;
  if (!DecodeUtf8(text, out, true)) throw std::range_error("invalid UTF-8 text");
  return out;
}

zkw_string FromWide(std::wstring_view text) {
  zkw_string out;
  out.reserve(text.size());
  for (wchar_t w : text) {
    auto c = static_cast<char32_t>(w);
    AppendUtf16(out, c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF) ? kReplacement : c);
  }
  return out;
}
