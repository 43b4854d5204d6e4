#pragma once

#include <functional>
#include <map>

#include "core/ds_safe_ptr.h"
#include "core/zkw_string.h"

// An object that a particle physics may take its placement from, made by class name. The program
// has no kind of it: the registry stays empty.
class ZKW_OriginObject {
 public:
  virtual ~ZKW_OriginObject() = default;
};

// Makes a new origin object of one kind.
using OriginObjectFactory = std::function<DS_SafePtr<ZKW_OriginObject>()>;

// The registry of origin-object kinds by exact class name (ordered by UTF-16 units), made empty
// on first use and kept until the program ends. Nothing in the program adds to it.
std::map<zkw_string, OriginObjectFactory>& GetOriginObjectRegistry();

// A new object of the kind registered under `name`; an empty handle when no kind has that name.
DS_SafePtr<ZKW_OriginObject> CreateOriginObjectByName(const zkw_string& name);
