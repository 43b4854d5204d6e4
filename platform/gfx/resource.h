#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "core/guid.h"
#include "platform/gfx/formats.h"
#include "platform/gfx/hresult.h"
#include "platform/gfx/unknown.h"

namespace gfx {

class Device;

// Base of every object a device creates: its pool, a private-data store keyed by GUID, and its
// link to the device. A device loss drops the storage of Default-pool objects; destroying the
// device drops everyone's. A dropped object stays valid to hold and release but draws nothing
// and refuses locks.
class Resource : public Unknown {
 public:
  Pool GetPool() const { return pool_; }
  // A number unique among the objects of the process, used by the frame log.
  uint64_t Id() const { return id_; }
  bool IsLost() const { return lost_; }
  // The device that made the object, with a reference added for the caller; kInvalidCall (and
  // null) once that device is gone.
  HResult GetDevice(Device** out) const;

  HResult SetPrivateData(const GUID& tag, const void* data, uint32_t size);
  // `size` holds the room at `data` and receives the stored size. kNotFound when the tag is
  // absent, kMoreData (with the needed size) when the room is too small or `data` is null.
  HResult GetPrivateData(const GUID& tag, void* data, uint32_t* size) const;
  HResult FreePrivateData(const GUID& tag);

 protected:
  Resource(Device* device, Pool pool);
  ~Resource() override;

  // Frees the GL objects (and a Default-pool object's CPU copy) and marks the object lost.
  virtual void DropStorage() = 0;

  Device* device_;  // null once the device is gone
  Pool pool_;
  bool lost_ = false;

 private:
  friend class Device;
  uint64_t id_;
  std::map<GUID, std::vector<uint8_t>> privateData_;
};

}  // namespace gfx
