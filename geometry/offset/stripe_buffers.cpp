#include "geometry/offset/stripe_buffers.h"

#include <algorithm>
#include <cstring>

#include "platform/gfx/device.h"

namespace {

// Makes and locks the larger buffer, copies what the old one holds and swaps it in. `make`
// creates a buffer of the given byte length.
template <class Buffer, class Make>
bool Grow(gfx::ComPtr<Buffer>& buffer, void** data, uint32_t oldBytes, uint32_t newBytes,
          Make make) {
  gfx::ComPtr<Buffer> larger;
  if (gfx::Failed(make(newBytes, larger.Put())) || !larger) return false;
  void* lockedData = nullptr;
  if (gfx::Failed(larger->Lock(0, 0, &lockedData, 0)) || lockedData == nullptr) return false;
  if (*data != nullptr) std::memcpy(lockedData, *data, std::min(oldBytes, newBytes));
  if (buffer) buffer->Unlock();
  buffer = larger;
  *data = lockedData;
  return true;
}

uint32_t GrownCount(int count) {
  return static_cast<uint32_t>(std::max(count, 0)) + kStripeBufferGrowth;
}

}  // namespace

bool GrowVertexBuffer(gfx::Device* device, StripeVertexBuffer& holder, int count) {
  if (device == nullptr) return false;
  gfx::VertexBufferDesc desc{};
  // Without a description the old buffer counts as empty: nothing of it is copied over.
  if (holder.buffer && gfx::Failed(holder.buffer->GetDesc(&desc))) desc = {};
  const uint32_t elements = GrownCount(count);
  const bool grown = Grow(holder.buffer, &holder.data, desc.size, elements * sizeof(StripeVertex),
                          [device](uint32_t bytes, gfx::VertexBuffer** out) {
                            return device->CreateVertexBuffer(bytes, 0, StripeVertex::kFvf,
                                                              gfx::Pool::Managed, out);
                          });
  if (grown) holder.capacity = static_cast<int32_t>(elements);
  return grown;
}

bool GrowIndexBuffer(gfx::Device* device, StripeIndexBuffer& holder, int count) {
  if (device == nullptr) return false;
  gfx::IndexBufferDesc desc{};
  // Without a description the old buffer counts as empty: nothing of it is copied over.
  if (holder.buffer && gfx::Failed(holder.buffer->GetDesc(&desc))) desc = {};
  const uint32_t elements = GrownCount(count);
  void* data = holder.data;
  const bool grown =
      Grow(holder.buffer, &data, desc.size, elements * 3 * sizeof(uint16_t),
           [device](uint32_t bytes, gfx::IndexBuffer** out) {
             return device->CreateIndexBuffer(bytes, gfx::Usage::WriteOnly, gfx::Format::Index16,
                                              gfx::Pool::Managed, out);
           });
  if (grown) {
    holder.data = static_cast<uint16_t*>(data);
    holder.capacity = static_cast<int32_t>(elements);
  }
  return grown;
}
