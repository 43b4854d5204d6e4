#include "core/scene/runtime_object_map.h"

#include <array>
#include <cstring>

namespace {

std::array<uint8_t, 16> StoredBytes(const GUID& g) {
  std::array<uint8_t, 16> bytes{};
  for (int i = 0; i < 4; ++i)
    bytes[i] = static_cast<uint8_t>(g.Data1 >> (8 * i));
  for (int i = 0; i < 2; ++i)
    bytes[4 + i] = static_cast<uint8_t>(g.Data2 >> (8 * i));
  for (int i = 0; i < 2; ++i)
    bytes[6 + i] = static_cast<uint8_t>(g.Data3 >> (8 * i));
  std::memcpy(bytes.data() + 8, g.Data4.data(), 8);
  return bytes;
}

// Set when the map is destroyed at exit; a trivially destructible flag stays readable after.
bool g_mapDestroyed = false;

struct MapHolder {
  RuntimeObjectMap map;
  ~MapHolder() { g_mapDestroyed = true; }
};

}  // namespace

bool GuidByteOrder::operator()(const GUID& a, const GUID& b) const {
  return StoredBytes(a) < StoredBytes(b);
}

RuntimeObjectMap* GetRuntimeObjectMap() {
  if (g_mapDestroyed) return nullptr;
  static MapHolder holder;
  return &holder.map;
}

DS_ABObj* FindRuntimeObject(const GUID& guid) {
  RuntimeObjectMap* map = GetRuntimeObjectMap();
  if (map == nullptr) return nullptr;
  auto it = map->find(guid);
  return it != map->end() ? it->second : nullptr;
}
