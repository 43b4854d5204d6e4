#include "core/text_helpers.h"

#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <vector>

namespace {

// A cap on the buffer the formatter may grow to: the wide printf reports an error and a buffer
// that is too small alike, so without one a rejected format would grow the buffer forever.
constexpr size_t kMaxFormattedUnits = size_t{1} << 20;

}  // namespace

void FormatWString(zkw_string& out, const wchar_t* format, ...) {
  out.clear();
  if (format == nullptr) return;
  va_list args;
  va_start(args, format);
  std::vector<wchar_t> buffer(256);
  for (;;) {
    va_list attempt;
    va_copy(attempt, args);
    const int written = std::vswprintf(buffer.data(), buffer.size(), format, attempt);
    va_end(attempt);
    if (written >= 0) {
      out = FromWide(std::wstring_view(buffer.data(), std::wcslen(buffer.data())));
      break;
    }
    if (buffer.size() >= kMaxFormattedUnits) break;
    buffer.assign(buffer.size() * 2, L'\0');
  }
  va_end(args);
}

zkw_string GetLowerExtension(const zkw_string& path) {
  const size_t dot = path.rfind(u'.');
  if (dot == zkw_string::npos) return {};
  zkw_string extension = path.substr(dot);
  for (char16_t& unit : extension) {
    if (unit >= u'A' && unit <= u'Z') unit = static_cast<char16_t>(unit - u'A' + u'a');
  }
  return extension;
}

std::filesystem::path ToFsPath(std::u16string_view stored) {
  zkw_string text(stored);
  for (char16_t& u : text)
    if (u == u'\\') u = u'/';
  const std::string utf8 = ToUtf8(text);
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string QuoteForLog(std::u16string_view text, size_t maxUnits) {
  const bool cut = text.size() > maxUnits;
  if (cut) text = text.substr(0, maxUnits);
  zkw_string shown;
  std::string out = "\"";
  auto flush = [&] {
    out += ToUtf8(shown);
    shown.clear();
  };
  for (char16_t unit : text) {
    if (unit < 0x20 || unit == 0x7F || unit == u'"' || unit == u'\\') {
      flush();
      char escaped[8];
      if (unit == u'"' || unit == u'\\') {
        std::snprintf(escaped, sizeof escaped, "\\%c", char(unit));
      } else {
        std::snprintf(escaped, sizeof escaped, "\\u%04X", unsigned(unit));
      }
      out += escaped;
    } else {
      shown += unit;
    }
  }
  flush();
  out += cut ? "\"..." : "\"";
  return out;
}
