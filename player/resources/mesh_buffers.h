#pragma once

#include <cstdint>

#include "core/com_ref.h"
#include "platform/gfx/buffers.h"
#include "platform/math/d3dx_types.h"

// A mesh ready to draw: a vertex buffer, a 16-bit index buffer, their counts and the bounding
// sphere in model space. An empty value has no buffers and zeros; copies share the buffers.
struct MeshBuffers {
  ComRef<gfx::VertexBuffer> vertexBuffer;
  ComRef<gfx::IndexBuffer> indexBuffer;
  uint32_t vertexCount = 0;
  uint32_t faceCount = 0;
  float radius = 0.0f;
  D3DXVECTOR3 center;
};
