#include "player/render/vertex_buffer_holder.h"

#include "platform/gfx/device.h"
#include "player/device/device_values.h"

void VertexBufferHolder::CreateGrid(uint32_t vertexCount) {
  constexpr uint32_t kStride = 20;
  // A byte size that wraps would make a buffer smaller than the count its users write.
  count = vertexCount <= UINT32_MAX / kStride ? vertexCount : 0;
  Create(count * kStride, gfx::Fvf::Xyz | gfx::Fvf::Tex1);
}

void VertexBufferHolder::Create(uint32_t bytes, uint32_t fvf) {
  buffer.Reset();
  locked = nullptr;
  gfx::Device* device = CurrentDevice();
  if (device == nullptr || bytes == 0) return;
  gfx::VertexBuffer* created = nullptr;
  if (gfx::Succeeded(device->CreateVertexBuffer(bytes, gfx::Usage::WriteOnly, fvf,
                                                gfx::Pool::Managed, &created)))
    buffer.Reset(created);
}

bool VertexBufferHolder::Lock() {
  locked = nullptr;
  if (!buffer) return false;
  void* data = nullptr;
  if (gfx::Failed(buffer->Lock(0, 0, &data, 0))) return false;
  locked = data;
  return locked != nullptr;
}

void VertexBufferHolder::Unlock() {
  if (buffer && locked != nullptr) buffer->Unlock();
  locked = nullptr;
}
