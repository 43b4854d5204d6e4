#include "geometry/origin/origin_object_registry.h"

std::map<zkw_string, OriginObjectFactory>& GetOriginObjectRegistry() {
  static std::map<zkw_string, OriginObjectFactory> registry;
  return registry;
}

DS_SafePtr<ZKW_OriginObject> CreateOriginObjectByName(const zkw_string& name) {
  const auto& registry = GetOriginObjectRegistry();
  const auto it = registry.find(name);
  if (it == registry.end() || !it->second) return {};
  return it->second();
}
