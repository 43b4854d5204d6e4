#pragma once

#include <map>

#include "core/link/link_key.h"

class ZKW_LosableObj;

// The document's device-dependent objects by their keys; the objects are not owned.
class LosableRegistry {
 public:
  // A non-null object is entered under the key unless the key is present (the first stays); a
  // null object erases the key.
  void Set(const LinkKey& key, ZKW_LosableObj* object);

  const std::map<LinkKey, ZKW_LosableObj*>& Entries() const { return entries_; }
  void Clear() { entries_.clear(); }

 private:
  std::map<LinkKey, ZKW_LosableObj*> entries_;
};
