#include "geometry/offset/stripe_mesh_append.h"

#include <utility>

#include "geometry/offset/stripe_buffers.h"
#include "geometry/offset/zkw_curve_offset_maker.h"
#include "platform/gfx/descs.h"

void AppendStripeMesh(const ZKW_CurveOffsetMaker& offsetter,
                      gfx::ComPtr<gfx::VertexBuffer>& vertexBuffer,
                      gfx::ComPtr<gfx::IndexBuffer>& indexBuffer, uint16_t* triangleCount,
                      uint16_t* vertexCount, const StripePointInfo& pointInfo) {
  StripeVertexBuffer vertices{std::move(vertexBuffer)};
  StripeIndexBuffer indices{std::move(indexBuffer)};
  gfx::VertexBufferDesc vertexDesc{};
  if (vertices.buffer && gfx::Succeeded(vertices.buffer->GetDesc(&vertexDesc)))
    vertices.capacity = static_cast<int32_t>(vertexDesc.size / sizeof(StripeVertex));
  gfx::IndexBufferDesc indexDesc{};
  if (indices.buffer && gfx::Succeeded(indices.buffer->GetDesc(&indexDesc)))
    indices.capacity = static_cast<int32_t>(indexDesc.size / (3 * sizeof(uint16_t)));
  if (DS_SafePtr<ZKW_StripeMeshBuilder> builder = offsetter.CreateMeshBuilder(&indices, &vertices))
    builder->BuildMesh(triangleCount, vertexCount, pointInfo);
  vertexBuffer = std::move(vertices.buffer);
  indexBuffer = std::move(indices.buffer);
}
