#pragma once

#include <array>
#include <compare>
#include <cstdint>

#include "core/zkw_string.h"

// A 128-bit identifier laid out as the platform's GUID: three little-endian fields and eight
// bytes. Links between stored objects are kept as its braced upper-case text.
struct GUID {
  uint32_t Data1 = 0;
  uint16_t Data2 = 0;
  uint16_t Data3 = 0;
  std::array<uint8_t, 8> Data4{};

  friend auto operator<=>(const GUID&, const GUID&) = default;
  friend bool operator==(const GUID&, const GUID&) = default;

  bool IsNull() const { return *this == GUID{}; }

  // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", 38 units.
  zkw_string ToString() const;

  // The inverse of ToString; either hex case is accepted. Any other text gives the all-zero GUID.
  static GUID Parse(std::u16string_view text);

  // A new random (version 4) GUID from the system's random source.
  static GUID Create();
  // From now on Create draws from a generator seeded with `seed` instead, the same GUIDs in the
  // same order on every run: for tools whose output must not change from run to run (the fuzz
  // template and seeds, the demo project). The player never calls it.
  static void MakeCreationRepeatable(uint64_t seed);
};
