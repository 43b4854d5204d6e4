#include "player/render/warp_grid_mesh.h"

#include <span>

#include "core/grid_indices.h"
#include "platform/gfx/device.h"
#include "player/device/device_values.h"

IndexedGrid BuildGridIndexBuffer(uint32_t columns, uint32_t rows) {
  IndexedGrid grid;
  const uint32_t count = GridIndexCount(columns, rows);
  gfx::Device* device = CurrentDevice();
  if (count == 0 || device == nullptr) return grid;
  gfx::IndexBuffer* buffer = nullptr;
  if (gfx::Failed(device->CreateIndexBuffer(count * 2, gfx::Usage::WriteOnly, gfx::Format::Index16,
                                            gfx::Pool::Managed, &buffer)))
    return grid;
  grid.buffer.Reset(buffer);
  void* data = nullptr;
  if (gfx::Succeeded(buffer->Lock(0, 0, &data, 0))) {
    WriteGridIndices(columns, rows, std::span<uint16_t>(static_cast<uint16_t*>(data), count));
    buffer->Unlock();
  }
  grid.triangleCount = count / 3;
  return grid;
}

namespace {

// (columns + 1) x (rows + 1), or 0 when that passes 32 bits (the 64-bit product wraps to 0 only
// for the largest grid, which passes them too).
uint32_t GridVertexCount(uint32_t columns, uint32_t rows) {
  const uint64_t count = (uint64_t{columns} + 1) * (uint64_t{rows} + 1);
  return count <= UINT32_MAX ? static_cast<uint32_t>(count) : 0;
}

TexVertex Lerp(const TexVertex& a, const TexVertex& b, float t) {
  return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t,
          a.u + (b.u - a.u) * t, a.v + (b.v - a.v) * t};
}

}  // namespace

void WarpGridMesh::Resize(uint32_t newColumns, uint32_t newRows) {
  columns = newColumns;
  rows = newRows;
  vertices.CreateGrid(GridVertexCount(columns, rows));
  primitiveType = gfx::PrimitiveType::TriangleList;
  IndexedGrid grid = BuildGridIndexBuffer(columns + 1, rows + 1);
  indices = grid.buffer;
  primitiveCount = grid.triangleCount;
}

void WarpGridMesh::Fill(const TexVertex& c00, const TexVertex& c01, const TexVertex& c10,
                        const TexVertex& c11) {
  const uint32_t needed = GridVertexCount(columns, rows);
  if (needed == 0 || vertices.count < needed || !vertices.Lock()) return;
  auto* out = static_cast<TexVertex*>(vertices.locked);
  for (uint32_t i = 0; i <= rows; ++i) {
    const float ti = rows == 0 ? 0.0f : static_cast<float>(i) / static_cast<float>(rows);
    const TexVertex left = Lerp(c00, c10, ti);
    const TexVertex right = Lerp(c01, c11, ti);
    for (uint32_t j = 0; j <= columns; ++j) {
      const float tj = columns == 0 ? 0.0f : static_cast<float>(j) / static_cast<float>(columns);
      out[i * (columns + 1) + j] = Lerp(left, right, tj);
    }
  }
  vertices.Unlock();
}
