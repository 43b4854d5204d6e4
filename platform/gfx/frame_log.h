#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/gfx/device_state.h"
#include "platform/gfx/states.h"

namespace gfx {

// One entry of the device's frame log: a draw or a clear, with what it used. Objects appear by
// their Resource::Id (0 for none).
struct FrameLogEntry {
  enum class Kind { Draw, Clear };
  Kind kind = Kind::Draw;
  std::string technique;  // the label the effect runtime set; empty for fixed function
  std::string effect;     // the name of the shader program drawn with; empty for fixed function
  bool shaderProgram = false;
  PrimitiveType primitiveType = PrimitiveType::TriangleList;
  uint32_t primitiveCount = 0;
  uint32_t vertexCount = 0;  // vertices the draw reads (indices for indexed draws)
  bool indexed = false;
  uint32_t first = 0;      // the first vertex, or the first index of an indexed draw
  int32_t baseVertex = 0;  // added to each index of an indexed draw
  uint32_t indexSize = 0;  // bytes an index of an indexed draw
  uint32_t clearFlags = 0;
  uint32_t clearColor = 0;
  bool redundant = false;  // a clear that changed no pixel, since the same one came last
  // A clear of the whole back buffer whose GL work waits until the back buffer is drawn on, read
  // or shown; a later clear of it may replace it.
  bool deferred = false;
  uint64_t target = 0;
  uint64_t depthStencil = 0;
  uint32_t targetWidth = 0, targetHeight = 0;
  std::array<uint64_t, kMaxTextureStages> textures{};
  uint64_t vertexBuffer = 0;
  uint32_t stride = 0;
  DeviceState state;
};

}  // namespace gfx
