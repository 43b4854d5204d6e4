#include "core/guid.h"

#include <mutex>
#include <optional>
#include <random>

namespace {

constexpr char16_t kHex[] = u"0123456789ABCDEF";

void PutHex(zkw_string& out, uint64_t value, int digits) {
  for (int i = digits - 1; i >= 0; --i)
    out += kHex[(value >> (4 * i)) & 0xF];
}

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

// Reads `digits` hex digits at text[pos]; false when any is not a hex digit.
bool GetHex(std::u16string_view text, size_t pos, int digits, uint64_t& value) {
  value = 0;
  for (int i = 0; i < digits; ++i) {
    int v = HexValue(text[pos + i]);
    if (v < 0) return false;
    value = (value << 4) | static_cast<uint64_t>(v);
  }
  return true;
}

}  // namespace

zkw_string GUID::ToString() const {
  zkw_string out;
  out.reserve(38);
  out += u'{';
  PutHex(out, Data1, 8);
  out += u'-';
  PutHex(out, Data2, 4);
  out += u'-';
  PutHex(out, Data3, 4);
  out += u'-';
  PutHex(out, Data4[0], 2);
  PutHex(out, Data4[1], 2);
  out += u'-';
  for (int i = 2; i < 8; ++i)
    PutHex(out, Data4[i], 2);
  out += u'}';
  return out;
}

GUID GUID::Parse(std::u16string_view text) {
  if (text.size() != 38 || text[0] != u'{' || text[37] != u'}' || text[9] != u'-' ||
      text[14] != u'-' || text[19] != u'-' || text[24] != u'-') {
    return GUID{};
  }
  GUID g;
  uint64_t v = 0;
  if (!GetHex(text, 1, 8, v)) return GUID{};
  g.Data1 = static_cast<uint32_t>(v);
  if (!GetHex(text, 10, 4, v)) return GUID{};
  g.Data2 = static_cast<uint16_t>(v);
  if (!GetHex(text, 15, 4, v)) return GUID{};
  g.Data3 = static_cast<uint16_t>(v);
  static constexpr size_t kBytePos[8] = {20, 22, 25, 27, 29, 31, 33, 35};
  for (int i = 0; i < 8; ++i) {
    if (!GetHex(text, kBytePos[i], 2, v)) return GUID{};
    g.Data4[i] = static_cast<uint8_t>(v);
  }
  return g;
}

namespace {

// The repeatable generator, once a tool has asked for one.
std::mutex repeatableMutex;
std::optional<std::mt19937> repeatable;

}  // namespace

void GUID::MakeCreationRepeatable(uint64_t seed) {
  const std::lock_guard<std::mutex> lock(repeatableMutex);
  repeatable.emplace(static_cast<std::mt19937::result_type>(seed ^ (seed >> 32)));
}

GUID GUID::Create() {
  std::array<uint8_t, 16> b{};
  auto fill = [&b](auto& source) {
    for (size_t i = 0; i < b.size(); i += 4) {
      const uint32_t r = static_cast<uint32_t>(source());
      for (size_t k = 0; k < 4; ++k)
        b[i + k] = static_cast<uint8_t>(r >> (8 * k));
    }
  };
  bool filled = false;
  {
    const std::lock_guard<std::mutex> lock(repeatableMutex);
    if (repeatable) {
      fill(*repeatable);
      filled = true;
    }
  }
  if (!filled) {
    std::random_device source;
    fill(source);
  }
  GUID g;
  g.Data1 = b[0] | (b[1] << 8) | (b[2] << 16) | (uint32_t(b[3]) << 24);
  g.Data2 = static_cast<uint16_t>(b[4] | (b[5] << 8));
  g.Data3 = static_cast<uint16_t>(((b[6] | (b[7] << 8)) & 0x0FFF) | 0x4000);
  for (int i = 0; i < 8; ++i)
    g.Data4[i] = b[8 + i];
  g.Data4[0] = static_cast<uint8_t>((g.Data4[0] & 0x3F) | 0x80);
  return g;
}
