#pragma once

#include <cstdint>

#include "core/com_ref.h"
#include "core/math/transform_node.h"
#include "platform/gfx/buffers.h"
#include "platform/gfx/states.h"
#include "player/render/vertex_buffer_holder.h"

// The drawables that the slide renderer's draw operations read. Each is placed by the world
// matrix of its transform node.

// A mesh drawn without indices: screen and colour quads, the renderer's background quad.
struct SimpleMesh {
  TransformNode node;
  VertexBufferHolder vertices;
  gfx::PrimitiveType primitiveType = gfx::PrimitiveType::TriangleStrip;
  uint32_t primitiveCount = 0;
};

// A mesh drawn from a 16-bit index buffer: warp grids, loaded meshes, quad batches. Copies
// share the buffers and copy the node's matrices, flag and child list but not its modifier,
// which stays with the node that owns it.
struct IndexedMesh {
  IndexedMesh() = default;
  IndexedMesh(const IndexedMesh& other);
  IndexedMesh& operator=(const IndexedMesh& other);

  TransformNode node;
  VertexBufferHolder vertices;
  gfx::PrimitiveType primitiveType = gfx::PrimitiveType::TriangleStrip;
  // A count the owner keeps beside the indexed one (primitives to draw without indices, or the
  // first index of a batch); the draw operations do not read it.
  uint32_t extra = 0;
  ComRef<gfx::IndexBuffer> indices;
  uint32_t primitiveCount = 0;
};

// Copies the placement of a node (matrices, words, flag, child list); the modifier is not
// copied.
void CopyNodePlacement(TransformNode& to, const TransformNode& from);
