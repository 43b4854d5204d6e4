#pragma once

#include <cstdint>

#include "platform/gfx/texture.h"
#include "player/render/render_meshes.h"

// The drawables whose records belong to the object kinds that draw them; the renderer reads
// them through these interfaces.

// A layer of sprites drawn with the fixed-function pipeline: a quad batch of XYZ|DIFFUSE|TEX1
// vertices with the current frame's texture and an optional second texture.
class SpriteLayer {
 public:
  virtual ~SpriteLayer() = default;
  virtual const IndexedMesh& LayerMesh() const = 0;
  // 0 normal alpha blending, any other value additive.
  virtual int BlendMode() const = 0;
  virtual uint32_t QuadCount() const = 0;
  // The texture of the current frame; may be null.
  virtual gfx::Texture* FrameTexture() const = 0;
  // A texture drawn over the sprites a second time; null when the layer has none.
  virtual gfx::Texture* SecondTexture() const = 0;
};

// A mesh that sets device state of its own before the renderer draws it (XYZ|TEX1 vertices,
// indexed). The argument of the renderer's DrawCustom is handed to Prepare as it is.
class CustomDrawable {
 public:
  virtual ~CustomDrawable() = default;
  virtual void Prepare(void* argument) = 0;
  virtual const IndexedMesh& Mesh() const = 0;
  virtual gfx::Texture* Texture() const = 0;
};
