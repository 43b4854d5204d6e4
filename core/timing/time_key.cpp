#include "core/timing/time_key.h"

#include <cmath>
#include <cstdint>

namespace {

constexpr uint64_t kKeyBytes = 16;

bool UsableKey(const TimeKey& key) {
  return std::isfinite(key.start) && std::isfinite(key.end) && std::isfinite(key.fadeInEnd) &&
         std::isfinite(key.fadeOutStart) && key.start <= key.end;
}

}  // namespace

void ReadTimeKeys(DS_IOF_Archive& archive, TimeKeySet& keys) {
  DS_IOF_Virtual& io = archive.io();
  uint32_t count = 0;
  io.ReadDword(count);
  if (!io.CountFits(count, kKeyBytes)) {
    return;
  }
  for (uint32_t i = 0; i < count && !io.Failed(); ++i) {
    TimeKey key;
    io.ReadFloat(key.start);
    io.ReadFloat(key.end);
    io.ReadFloat(key.fadeInEnd);
    io.ReadFloat(key.fadeOutStart);
    if (!io.Failed() && UsableKey(key)) keys.insert(key);
  }
}

void WriteTimeKeys(DS_IOF_Archive& archive, const TimeKeySet& keys) {
  DS_IOF_Virtual& io = archive.io();
  io.WriteDword(static_cast<uint32_t>(keys.size()));
  for (const TimeKey& key : keys) {
    io.WriteFloat(key.start);
    io.WriteFloat(key.end);
    io.WriteFloat(key.fadeInEnd);
    io.WriteFloat(key.fadeOutStart);
  }
}
