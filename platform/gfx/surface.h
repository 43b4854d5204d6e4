#pragma once

#include <GL/glcorearb.h>

#include <cstdint>
#include <vector>

#include "platform/gfx/descs.h"
#include "platform/gfx/refusal_log.h"
#include "platform/gfx/resource.h"

namespace gfx {

class Texture;

// A 2D image the device draws into or reads: a level of a texture (which it keeps alive), the
// back buffer, or the depth-stencil surface.
class Surface final : public Resource {
 public:
  enum class Kind { TextureLevel, BackBuffer, DepthStencil };

  [[nodiscard]] HResult GetDesc(SurfaceDesc* out, CallSite site = CallSite::current()) const;
  // Texture levels only; as Texture::LockRect.
  [[nodiscard]] HResult LockRect(LockedRect* out, const Rect* rect, uint32_t flags,
                                 CallSite site = CallSite::current());
  HResult UnlockRect(CallSite site = CallSite::current());
  // Rows from the top in the surface's format (BGRA bytes for the colour formats). The
  // depth-stencil surface cannot be read.
  [[nodiscard]] HResult ReadPixels(std::vector<uint8_t>* bytes, uint32_t* pitch,
                                   CallSite site = CallSite::current()) const;

  Kind GetKind() const { return kind_; }
  Texture* Container() const { return texture_; }  // not referenced; null but for levels
  uint32_t Level() const { return level_; }
  uint32_t Width() const { return width_; }
  uint32_t Height() const { return height_; }
  Format GetFormat() const { return format_; }
  GLuint GlRenderbuffer() const { return renderbuffer_; }

 private:
  friend class Device;
  friend class Texture;
  Surface(Texture* texture, uint32_t level);
  Surface(Device* device, Kind kind, uint32_t width, uint32_t height, Format format);
  ~Surface() override;
  void DropStorage() override;

  Kind kind_;
  Texture* texture_ = nullptr;  // held
  uint32_t level_ = 0;
  uint32_t width_ = 0, height_ = 0;
  Format format_ = Format::Unknown;
  GLuint renderbuffer_ = 0;
};

}  // namespace gfx
