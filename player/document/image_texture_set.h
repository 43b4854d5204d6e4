#pragma once

#include <cstdint>
#include <vector>

#include "core/com_ref.h"
#include "core/sequence/frame_cursor.h"
#include "platform/gfx/texture.h"

// The textures of one image link as scene objects use them: one texture per frame (null where
// a frame could not be made), the frames' display times in seconds, the picture's size and
// aspect (height / width), the time of the last frame change and the frame shown. Copying adds
// a reference to every texture. The document owns the sets it hands out.
struct ImageTextureSet {
  // Steps the frame shown over the delays by the running time t: a time earlier than the last
  // change restarts the current frame's time from it; once the current frame's delay is
  // exceeded the next frame shows (wrapping), timed from t. Without delays nothing changes.
  void Advance(float t) { DurationCycler(delays, lastSwitch, frameIndex).Advance(t); }
  // The texture of the frame shown; empty when the set has no texture at that index.
  ComRef<gfx::Texture> CurrentTexture() const {
    return frameIndex < textures.size() ? textures[frameIndex] : ComRef<gfx::Texture>();
  }

  std::vector<ComRef<gfx::Texture>> textures;
  std::vector<float> delays;
  uint32_t width = 0;
  uint32_t height = 0;
  float aspect = 1.0f;
  float lastSwitch = 0.0f;
  uint32_t frameIndex = 0;
};

// The same set as the object kinds name it.
using TextureFrameSet = ImageTextureSet;
