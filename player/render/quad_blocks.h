#pragma once

#include <cstdint>
#include <span>

#include "platform/gfx/hresult.h"
#include "platform/gfx/states.h"

namespace gfx {
class Device;
}

// Quads drawn from 16-bit indices: quad q uses vertices 4q to 4q + 3 and indices 6q to 6q + 5,
// the triangles (c0, c1, c2) and (c2, c1, c3). A 16-bit index cannot name a vertex past 65,535,
// so quads form blocks of 16,384 whose indices count from the block's first vertex, and block k
// is drawn with base vertex 65,536 x k. Every quad draw of the scene goes through these two.
inline constexpr uint32_t kQuadsPerBlock = 16384;
inline constexpr uint32_t kVerticesPerBlock = 4 * kQuadsPerBlock;

// Writes the indices of the quads from `firstQuad` on, six per quad, as many as `out` holds:
// 4j, 4j + 1, 4j + 2, 4j + 2, 4j + 1, 4j + 3 with j the quad's place in its block.
void WriteQuadIndices(std::span<uint16_t> out, uint32_t firstQuad = 0);

// DrawIndexedPrimitive for the bound quad batch of `vertexCount` vertices: a triangle list is
// drawn block by block, each piece with its block's base vertex, so that a batch of any size
// draws every quad in its place; other primitive types are drawn as they are. Answers the first
// failure, or kOk.
gfx::HResult DrawIndexedQuads(gfx::Device& device, gfx::PrimitiveType type, uint32_t vertexCount,
                              uint32_t startIndex, uint32_t primitiveCount);
