#pragma once

#include <cstdint>

#include "core/archive/ds_iof_archive.h"

// Root of every archived class. A stored object is a record: its class name, a Dword version and
// its own fields, followed by the complete record of its archived base (which stores its own name,
// version and fields in turn). Save writes the current version; readers accept every older one and
// read a newer one as the current.
class DS_IOF_Item {
 public:
  virtual ~DS_IOF_Item() = default;
  virtual bool Save(DS_IOF_Archive& archive) const = 0;

 protected:
  DS_IOF_Item() = default;
  DS_IOF_Item(const DS_IOF_Item&) = default;
  DS_IOF_Item& operator=(const DS_IOF_Item&) = default;
};

// Marks the particle engine's archived parts, created through their own registry.
class ZKW_IOF_Item : public virtual DS_IOF_Item {};

// Writes a record header: the class name and the class's current version.
inline void WriteRecordHeader(DS_IOF_Archive& archive, const zkw_string& className,
                              uint32_t version) {
  archive.io().WriteWideString(className);
  archive.io().WriteDword(version);
}

// Reads a base part's header. The stored name is read and dropped (it is never compared); the
// version is returned for the base's reading body.
inline uint32_t ReadBaseHeader(DS_IOF_Archive& archive) {
  zkw_string name;
  uint32_t version = 0;
  archive.io().ReadWideString(name);
  archive.io().ReadDword(version);
  return version;
}
