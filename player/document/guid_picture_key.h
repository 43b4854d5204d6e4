#pragma once

#include <array>
#include <cstdint>

#include "core/guid.h"
#include "core/zkw_string.h"

// The key of a GUID-named picture and of the render targets bound to it: a GUID with a name and
// a flag that travel with it. Keys compare by the GUID's 16 bytes alone, as unsigned bytes in
// the order they lie in memory.
struct GuidPictureKey {
  GUID guid;
  zkw_string name;
  uint8_t flag = 0;

  // The GUID's bytes in memory order (its first three fields little-endian).
  static std::array<uint8_t, 16> Bytes(const GUID& guid);

  friend bool operator<(const GuidPictureKey& a, const GuidPictureKey& b) {
    return Bytes(a.guid) < Bytes(b.guid);
  }
};

// The same record as the object kinds name it: generators and glow objects make one from a new
// GUID, an empty name and flag 1.
using GuidNameKey = GuidPictureKey;
