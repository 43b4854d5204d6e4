#pragma once

#include <cstdint>
#include <vector>

#include "geometry/offset/stripe_buffers.h"
#include "geometry/offset/zkw_stripe_mesh_builder.h"
#include "platform/math/d3dx_types.h"

class ZKW_StraightSkeletonOffset;

// Triangulates the band of a built straight-skeleton offsetter: a centre vertex per centre-line
// point (u = 0.5), then for the right side (u = 0) and the left side (u = 1) the offset points of
// each centre-line point at its half width, joined to the centre vertices by triangles, with a
// fan around the centre vertex at an outer corner. The offsetter and the two holders are the
// caller's and must outlive the builder.
class ZKW_PointStripeMeshBuilder : public ZKW_StripeMeshBuilder {
 public:
  ZKW_PointStripeMeshBuilder(const ZKW_StraightSkeletonOffset* offsetter,
                             StripeIndexBuffer* indices, StripeVertexBuffer* vertices)
      : offsetter_(offsetter), indices_(indices), vertices_(vertices) {}

  // Locks both buffers and appends after the counts the counters hold. A full buffer grows by
  // 1024 elements on the device that made it, keeping what it holds. The counters are 16-bit:
  // a vertex or triangle that would pass 65,535, or one that no buffer can be made for, is not
  // appended, and neither is the rest of the stripe. Nothing is appended with fewer than two
  // centre-line points, without a vertex buffer or index buffer that locks, or with an index
  // buffer that is not 16-bit.
  void BuildMesh(uint16_t* triangleCount, uint16_t* vertexCount,
                 StripePointInfo pointInfo) override;

  // The counts at the start of the last BuildMesh.
  uint16_t VertexBase() const { return vertexBase_; }
  uint16_t TriangleStart() const { return triangleStart_; }

 private:
  // Room for the element at `count`: the holder grows when `room` is used up. False, and the
  // stripe stops, past 65,535 or when no larger buffer can be made.
  template <class Holder>
  bool MakeRoom(uint16_t count, int32_t& room, Holder& holder,
                bool (*grow)(gfx::Device*, Holder&, int));
  // Append one element at the counter and advance it; false once the stripe has stopped.
  bool AppendVertex(uint16_t* count, float x, float y, uint32_t colour, float u, uint16_t* index);
  bool AppendTriangle(uint16_t* count, uint16_t a, uint16_t b, uint16_t c);
  bool Lock();
  void Unlock();

  const ZKW_StraightSkeletonOffset* offsetter_;
  StripeIndexBuffer* indices_;
  StripeVertexBuffer* vertices_;
  uint16_t vertexBase_ = 0;
  uint16_t triangleStart_ = 0;
  // While BuildMesh runs: the elements the locked buffers really hold, and whether appending
  // has stopped.
  int32_t vertexRoom_ = 0;
  int32_t triangleRoom_ = 0;
  bool stopped_ = false;
  std::vector<D3DXVECTOR3> offsets_;
};
