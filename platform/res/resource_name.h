#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace res {

// Resource types by number, with their platform values.
inline constexpr uint16_t kRtIcon = 3;
inline constexpr uint16_t kRtString = 6;
inline constexpr uint16_t kRtRcData = 10;
inline constexpr uint16_t kRtGroupIcon = 14;

// The language a lookup prefers (English, United States); otherwise the first one stored.
inline constexpr uint16_t kPreferredLanguage = 1033;

// A resource type or name: a 16-bit integer id or a string. Strings compare without regard to
// ASCII case, as the platform's resource search upper-cases them.
class ResName {
 public:
  ResName(uint16_t id) : id_(id) {}                                      // NOLINT: an id is a name
  ResName(std::u16string_view name) : name_(name), isId_(false) {}       // NOLINT
  ResName(const char16_t* name) : ResName(std::u16string_view(name)) {}  // NOLINT

  bool IsId() const { return isId_; }
  uint16_t Id() const { return id_; }
  const std::u16string& Name() const { return name_; }

  friend bool operator==(const ResName& a, const ResName& b);

 private:
  uint16_t id_ = 0;
  std::u16string name_;
  bool isId_ = true;
};

}  // namespace res
