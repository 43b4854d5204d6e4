#pragma once

#include <GL/glcorearb.h>

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "platform/gfx/descs.h"
#include "platform/gfx/refusal_log.h"
#include "platform/gfx/resource.h"

namespace gfx {

// Storage shared by vertex and index buffers: a CPU copy of the whole buffer, which Lock hands
// out, and a GL buffer that Unlock brings up to date with the locked range.
class BufferStorage {
 public:
  explicit BufferStorage(uint32_t size) : cpu_(size) {}

  // `call` and `site` name the buffer call for the refusal log.
  HResult Lock(uint32_t offset, uint32_t size, void** data, uint32_t flags, bool lost,
               const char* call, const CallSite& site);
  HResult Unlock(const char* call, const CallSite& site);
  void Drop(Device* device, bool keepCopy);
  // Uploads what was written since the last call; returns the GL buffer.
  GLuint Upload(Device* device);
  // Lowest and highest index value in the whole buffer (16- or 32-bit), recomputed after
  // writes; {0, 0} for an empty buffer.
  std::pair<uint32_t, uint32_t> IndexRange(uint32_t indexSize);
  std::span<const uint8_t> Data() const { return cpu_; }
  uint32_t Size() const { return static_cast<uint32_t>(cpu_.size()); }
  bool Locked() const { return locked_; }

 private:
  std::vector<uint8_t> cpu_;
  GLuint name_ = 0;
  bool locked_ = false;
  bool readOnly_ = false;
  uint32_t dirtyBegin_ = 0, dirtyEnd_ = 0;  // bytes not yet uploaded
  uint32_t lockBegin_ = 0, lockEnd_ = 0;
  bool allocated_ = false;
  bool rangeKnown_ = false;
  std::pair<uint32_t, uint32_t> range_{0, 0};
};

class VertexBuffer final : public Resource {
 public:
  // `size` 0 with `offset` 0 locks the whole buffer.
  [[nodiscard]] HResult Lock(uint32_t offset, uint32_t size, void** data, uint32_t flags,
                             CallSite site = CallSite::current());
  HResult Unlock(CallSite site = CallSite::current());
  [[nodiscard]] HResult GetDesc(VertexBufferDesc* out, CallSite site = CallSite::current()) const;
  // The vertex data as last written, without a GPU.
  std::span<const uint8_t> Data() const { return storage_.Data(); }

 private:
  friend class Device;
  VertexBuffer(Device* device, uint32_t size, uint32_t usage, uint32_t fvf, Pool pool);
  ~VertexBuffer() override;
  void DropStorage() override;

  uint32_t usage_, fvf_;
  BufferStorage storage_;
};

class IndexBuffer final : public Resource {
 public:
  [[nodiscard]] HResult Lock(uint32_t offset, uint32_t size, void** data, uint32_t flags,
                             CallSite site = CallSite::current());
  HResult Unlock(CallSite site = CallSite::current());
  [[nodiscard]] HResult GetDesc(IndexBufferDesc* out, CallSite site = CallSite::current()) const;
  std::span<const uint8_t> Data() const { return storage_.Data(); }
  Format GetFormat() const { return format_; }
  uint32_t IndexSize() const { return format_ == Format::Index32 ? 4 : 2; }

 private:
  friend class Device;
  IndexBuffer(Device* device, uint32_t size, uint32_t usage, Format format, Pool pool);
  ~IndexBuffer() override;
  void DropStorage() override;

  uint32_t usage_;
  Format format_;
  BufferStorage storage_;
};

}  // namespace gfx
