#pragma once

#include <cstdint>

#include "geometry/offset/zkw_stripe_mesh_builder.h"
#include "platform/gfx/buffers.h"
#include "platform/gfx/unknown.h"

class ZKW_CurveOffsetMaker;

// Appends the band of a built offsetter through its mesh builder to a caller's vertex buffer
// (32-byte stripe vertices) and 16-bit index buffer, whatever holders the caller keeps them in:
// the builder is given their room from their sizes, and either buffer may come back replaced by
// a larger one that keeps what the old one held. The counters advance as BuildMesh advances
// them; nothing is appended by an offsetter that makes no builder.
void AppendStripeMesh(const ZKW_CurveOffsetMaker& offsetter,
                      gfx::ComPtr<gfx::VertexBuffer>& vertexBuffer,
                      gfx::ComPtr<gfx::IndexBuffer>& indexBuffer, uint16_t* triangleCount,
                      uint16_t* vertexCount, const StripePointInfo& pointInfo);
