#include "player/document/losable_registry.h"

void LosableRegistry::Set(const LinkKey& key, ZKW_LosableObj* object) {
  if (object != nullptr) {
    entries_.emplace(key, object);
  } else {
    entries_.erase(key);
  }
}
