#include "platform/gfx/resource.h"

#include <atomic>
#include <cstring>

#include "platform/gfx/device.h"

namespace gfx {

namespace {
std::atomic<uint64_t> nextId{1};
}

Resource::Resource(Device* device, Pool pool) : device_(device), pool_(pool), id_(nextId++) {
  if (device_) device_->Register(this);
}

Resource::~Resource() {
  if (device_) device_->Unregister(this);
}

HResult Resource::GetDevice(Device** out) const {
  if (!out) return kInvalidCall;
  *out = device_;
  if (!device_) return kInvalidCall;
  device_->AddRef();
  return kOk;
}

HResult Resource::SetPrivateData(const GUID& tag, const void* data, uint32_t size) {
  if (!data && size != 0) return kInvalidCall;
  auto* bytes = static_cast<const uint8_t*>(data);
  privateData_[tag] = size ? std::vector<uint8_t>(bytes, bytes + size) : std::vector<uint8_t>{};
  return kOk;
}

HResult Resource::GetPrivateData(const GUID& tag, void* data, uint32_t* size) const {
  if (!size) return kInvalidCall;
  const auto it = privateData_.find(tag);
  if (it == privateData_.end()) return kNotFound;
  const uint32_t stored = static_cast<uint32_t>(it->second.size());
  if (!data || *size < stored) {
    *size = stored;
    return kMoreData;
  }
  if (stored) std::memcpy(data, it->second.data(), stored);
  *size = stored;
  return kOk;
}

HResult Resource::FreePrivateData(const GUID& tag) {
  return privateData_.erase(tag) ? kOk : kNotFound;
}

}  // namespace gfx
