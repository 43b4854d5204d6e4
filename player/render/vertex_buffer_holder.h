#pragma once

#include <cstdint>

#include "core/com_ref.h"
#include "platform/gfx/buffers.h"

// A mesh's vertex buffer with its vertex count and, between Lock and Unlock, the pointer to its
// data. Copies share the buffer.
struct VertexBufferHolder {
  // Releases the buffer, stores `vertexCount` and creates a managed, write-only buffer of
  // vertexCount x 20 bytes for XYZ|TEX1 vertices; a failure leaves no buffer. A count whose
  // size passes 32 bits is stored as 0.
  void CreateGrid(uint32_t vertexCount);
  // Releases the buffer and creates `bytes` bytes for vertices of `fvf` (managed, write-only);
  // a failure leaves no buffer. The count is the caller's to set.
  void Create(uint32_t bytes, uint32_t fvf);
  // Locks the whole buffer; false (and a null pointer) without a buffer or when the lock fails.
  bool Lock();
  void Unlock();

  ComRef<gfx::VertexBuffer> buffer;
  void* locked = nullptr;
  uint32_t count = 0;
};
