#include "platform/gfx/buffers.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/gfx/device.h"

namespace gfx {

HResult BufferStorage::Lock(uint32_t offset, uint32_t size, void** data, uint32_t flags, bool lost,
                            const char* call, const CallSite& site) {
  if (!data) return Refuse(kInvalidCall, site, call, "no place for the answer");
  *data = nullptr;
  if (lost) return Refuse(kInvalidCall, site, call, "the buffer was lost with the device");
  if (locked_) return Refuse(kInvalidCall, site, call, "the buffer is locked already");
  if (size == 0) size = offset <= Size() ? Size() - offset : 0;
  if (offset > Size() || size > Size() - offset) {
    return Refuse(kInvalidCall, site, call, [&] {
      return "bytes " + std::to_string(offset) + " to " + std::to_string(uint64_t(offset) + size) +
             " pass the " + std::to_string(Size()) + " of the buffer";
    });
  }
  *data = cpu_.data() + offset;
  locked_ = true;
  readOnly_ = (flags & LockFlags::ReadOnly) != 0;
  lockBegin_ = offset;
  lockEnd_ = offset + size;
  return kOk;
}

HResult BufferStorage::Unlock(const char* call, const CallSite& site) {
  if (!locked_) return Refuse(kInvalidCall, site, call, "the buffer is not locked");
  locked_ = false;
  if (readOnly_ || lockBegin_ == lockEnd_) return kOk;
  if (dirtyBegin_ == dirtyEnd_) {
    dirtyBegin_ = lockBegin_, dirtyEnd_ = lockEnd_;
  } else {
    dirtyBegin_ = std::min(dirtyBegin_, lockBegin_);
    dirtyEnd_ = std::max(dirtyEnd_, lockEnd_);
  }
  rangeKnown_ = false;
  // Uploaded by the next draw, once however often it was locked.
  return kOk;
}

std::pair<uint32_t, uint32_t> BufferStorage::IndexRange(uint32_t indexSize) {
  if (rangeKnown_) return range_;
  const size_t count = cpu_.size() / indexSize;
  uint32_t lo = UINT32_MAX, hi = 0;
  for (size_t i = 0; i < count; ++i) {
    uint32_t v = 0;
    std::memcpy(&v, cpu_.data() + i * indexSize, indexSize);
    lo = std::min(lo, v), hi = std::max(hi, v);
  }
  range_ = count ? std::make_pair(lo, hi) : std::make_pair(0u, 0u);
  rangeKnown_ = true;
  return range_;
}

GLuint BufferStorage::Upload(Device* device) {
  const GlFunctions& gl = device->Gl();
  if (!name_) {
    gl.GenBuffers(1, &name_);
    allocated_ = false;
  }
  gl.BindBuffer(GL_COPY_WRITE_BUFFER, name_);
  if (!allocated_) {
    gl.BufferData(GL_COPY_WRITE_BUFFER, GLsizeiptr(cpu_.size()), cpu_.data(), GL_DYNAMIC_DRAW);
    allocated_ = true;
    dirtyBegin_ = dirtyEnd_ = 0;
  } else if (dirtyBegin_ != dirtyEnd_) {
    gl.BufferSubData(GL_COPY_WRITE_BUFFER, GLintptr(dirtyBegin_),
                     GLsizeiptr(dirtyEnd_ - dirtyBegin_), cpu_.data() + dirtyBegin_);
    dirtyBegin_ = dirtyEnd_ = 0;
  }
  return name_;
}

void BufferStorage::Drop(Device* device, bool keepCopy) {
  if (name_ && device) {
    device->MakeCurrent();
    device->Gl().DeleteBuffers(1, &name_);
  }
  name_ = 0;
  allocated_ = false;
  locked_ = false;
  rangeKnown_ = false;
  if (!keepCopy) std::vector<uint8_t>().swap(cpu_);
}

VertexBuffer::VertexBuffer(Device* device, uint32_t size, uint32_t usage, uint32_t fvf, Pool pool)
    : Resource(device, pool), usage_(usage), fvf_(fvf), storage_(size) {}

VertexBuffer::~VertexBuffer() {
  storage_.Drop(device_, false);
}

void VertexBuffer::DropStorage() {
  storage_.Drop(device_, pool_ != Pool::Default);
  lost_ = true;
}

HResult VertexBuffer::Lock(uint32_t offset, uint32_t size, void** data, uint32_t flags,
                           CallSite site) {
  return storage_.Lock(offset, size, data, flags, lost_, "VertexBuffer::Lock", site);
}

HResult VertexBuffer::Unlock(CallSite site) {
  return storage_.Unlock("VertexBuffer::Unlock", site);
}

HResult VertexBuffer::GetDesc(VertexBufferDesc* out, CallSite site) const {
  if (!out) return Refuse(kInvalidCall, site, "VertexBuffer::GetDesc", "no place for the answer");
  *out = {Format::Unknown, ResourceType::VertexBuffer, usage_, pool_, storage_.Size(), fvf_};
  return kOk;
}

IndexBuffer::IndexBuffer(Device* device, uint32_t size, uint32_t usage, Format format, Pool pool)
    : Resource(device, pool), usage_(usage), format_(format), storage_(size) {}

IndexBuffer::~IndexBuffer() {
  storage_.Drop(device_, false);
}

void IndexBuffer::DropStorage() {
  storage_.Drop(device_, pool_ != Pool::Default);
  lost_ = true;
}

HResult IndexBuffer::Lock(uint32_t offset, uint32_t size, void** data, uint32_t flags,
                          CallSite site) {
  return storage_.Lock(offset, size, data, flags, lost_, "IndexBuffer::Lock", site);
}

HResult IndexBuffer::Unlock(CallSite site) {
  return storage_.Unlock("IndexBuffer::Unlock", site);
}

HResult IndexBuffer::GetDesc(IndexBufferDesc* out, CallSite site) const {
  if (!out) return Refuse(kInvalidCall, site, "IndexBuffer::GetDesc", "no place for the answer");
  *out = {format_, ResourceType::IndexBuffer, usage_, pool_, storage_.Size()};
  return kOk;
}

}  // namespace gfx
