#pragma once

#include <cstdint>
#include <vector>

#include "core/com_ref.h"
#include "core/sequence/frame_cursor.h"

namespace gfx {
class Texture;
}

// The textures of one picture link's frames, with their sizes and a frame cursor. Texture is
// the reference-holding texture handle of the graphics layer (copying a set adds references to
// its textures); the document fills the textures of LinkTextureSet below.
template <class Texture>
struct LinkTextureSetT {
  // Every field back to its initial value: sizes 0, used fractions and aspect 1, no textures or
  // delays, frame 0 at time 0.
  void Reset() { *this = LinkTextureSetT(); }
  // Takes every field of `other`: sizes, used fractions and aspect, its textures (a reference
  // added to each, the ones held before released), delays, frame and time of the last change.
  void Assign(const LinkTextureSetT& other) { *this = other; }

  // Steps the frame cursor by the running local time t (see frame_cursor.h); callers choose the
  // direction by a mode of their own and call it for each set they animate with the same t.
  void AdvanceFrame(float t) { AdvanceFrameForward(delays, lastSwitch, frameIndex, t); }
  void AdvanceFrameBackward(float t) { ::AdvanceFrameBackward(delays, lastSwitch, frameIndex, t); }
  void RestartFrames() {
    frameIndex = 0;
    lastSwitch = 0.0f;
  }

  // The texture of the frame shown; an empty handle when the set has no texture at that index
  // (fewer textures than delays). Use it rather than indexing `textures` with `frameIndex`.
  Texture CurrentTexture() const {
    return frameIndex < textures.size() ? textures[frameIndex] : Texture();
  }

  uint32_t sourceWidth = 0, sourceHeight = 0;
  uint32_t textureWidth = 0, textureHeight = 0;
  float usedU = 1.0f, usedV = 1.0f;  // the fractions of the texture that the picture covers
  float aspect = 1.0f;               // sourceHeight / sourceWidth
  std::vector<Texture> textures;     // one per frame
  std::vector<float> delays;         // seconds per frame
  uint32_t frameIndex = 0;           // the frame shown
  float lastSwitch = 0.0f;           // the time of the last frame change
};

// The frame textures of a link as the document makes them (using them needs the graphics
// layer's texture type, platform/gfx/texture.h).
using LinkTextureSet = LinkTextureSetT<ComRef<gfx::Texture>>;
