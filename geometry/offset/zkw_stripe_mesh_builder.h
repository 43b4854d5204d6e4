#pragma once

#include <cstdint>
#include <functional>

// The half width and the colour (0xAARRGGBB) of the band at centre-line point `index`.
using StripePointInfo =
    std::function<void(const unsigned& index, float& halfWidth, uint32_t& colour)>;

// Triangulates an offsetter's band into the caller's vertex and 16-bit index buffers. Held
// through DS_SafePtr handles.
class ZKW_StripeMeshBuilder {
 public:
  ZKW_StripeMeshBuilder() = default;
  ZKW_StripeMeshBuilder(const ZKW_StripeMeshBuilder&) = delete;
  ZKW_StripeMeshBuilder& operator=(const ZKW_StripeMeshBuilder&) = delete;
  virtual ~ZKW_StripeMeshBuilder() = default;

  // Appends the band's vertices and triangles after the counts the two counters hold and
  // advances them.
  virtual void BuildMesh(uint16_t* triangleCount, uint16_t* vertexCount,
                         StripePointInfo pointInfo) = 0;
};
