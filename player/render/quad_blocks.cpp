#include "player/render/quad_blocks.h"

#include <algorithm>

#include "platform/gfx/device.h"

namespace {

constexpr uint32_t kIndicesPerBlock = 6 * kQuadsPerBlock;

}  // namespace

void WriteQuadIndices(std::span<uint16_t> out, uint32_t firstQuad) {
  static constexpr uint16_t kCorners[6] = {0, 1, 2, 2, 1, 3};
  uint32_t j = firstQuad % kQuadsPerBlock;
  for (size_t at = 0; at + 6 <= out.size(); at += 6) {
    for (int k = 0; k < 6; ++k)
      out[at + k] = static_cast<uint16_t>(4 * j + kCorners[k]);
    j = j + 1 == kQuadsPerBlock ? 0 : j + 1;
  }
}

gfx::HResult DrawIndexedQuads(gfx::Device& device, gfx::PrimitiveType type, uint32_t vertexCount,
                              uint32_t startIndex, uint32_t primitiveCount) {
  if (type != gfx::PrimitiveType::TriangleList)
    return device.DrawIndexedPrimitive(type, 0, 0, vertexCount, startIndex, primitiveCount);
  gfx::HResult result = gfx::kOk;
  uint64_t index = startIndex;
  const uint64_t end = index + uint64_t{3} * primitiveCount;
  while (index + 3 <= end) {
    const uint64_t block = index / kIndicesPerBlock;
    const uint64_t blockEnd = std::min(end, (block + 1) * kIndicesPerBlock);
    const uint64_t firstVertex = block * kVerticesPerBlock;
    const uint32_t vertices = static_cast<uint32_t>(std::min<uint64_t>(
        kVerticesPerBlock, vertexCount > firstVertex ? vertexCount - firstVertex : 0));
    // Base vertices of blocks past 2^31 vertices cannot be named; no batch comes near them.
    if (firstVertex > INT32_MAX) return gfx::kInvalidCall;
    if (blockEnd - index >= 3) {
      const gfx::HResult drawn = device.DrawIndexedPrimitive(
          type, static_cast<int32_t>(firstVertex), 0, vertices, static_cast<uint32_t>(index),
          static_cast<uint32_t>((blockEnd - index) / 3));
      if (gfx::Failed(drawn) && gfx::Succeeded(result)) result = drawn;
    }
    index = blockEnd;
  }
  return result;
}
