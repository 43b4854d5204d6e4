#include "platform/gfx/surface.h"

#include <algorithm>

#include "platform/gfx/device.h"
#include "platform/gfx/texture.h"

namespace gfx {

namespace {

constexpr char kNoTextureLevel[] = "only a texture level can be locked";

}  // namespace

Surface::Surface(Texture* texture, uint32_t level)
    : Resource(nullptr, texture->GetPool()),
      kind_(Kind::TextureLevel),
      texture_(texture),
      level_(level),
      format_(texture->GetFormat()) {
  texture_->AddRef();
  // The texture makes surfaces of its own levels only, so the level is there.
  SurfaceDesc desc;
  if (Succeeded(texture_->GetLevelDesc(level, &desc))) {
    width_ = desc.width;
    height_ = desc.height;
  }
}

Surface::Surface(Device* device, Kind kind, uint32_t width, uint32_t height, Format format)
    : Resource(device, Pool::Default),
      kind_(kind),
      width_(width),
      height_(height),
      format_(format) {
  const GlFunctions& gl = device_->Gl();
  gl.GenRenderbuffers(1, &renderbuffer_);
  gl.BindRenderbuffer(GL_RENDERBUFFER, renderbuffer_);
  // An X8R8G8B8 back buffer stores no alpha: it reads as 1 like the format's unused byte.
  const GLenum storage = kind == Kind::DepthStencil   ? GL_DEPTH24_STENCIL8
                         : format == Format::A8R8G8B8 ? GL_RGBA8
                                                      : GL_RGB8;
  gl.RenderbufferStorage(GL_RENDERBUFFER, storage, GLsizei(width), GLsizei(height));
}

Surface::~Surface() {
  if (texture_) {
    texture_->levels_[level_].surface = nullptr;
    texture_->Release();
  }
  DropStorage();
}

void Surface::DropStorage() {
  if (renderbuffer_ && device_) {
    device_->MakeCurrent();
    device_->ForgetRenderbuffer(renderbuffer_);
    device_->Gl().DeleteRenderbuffers(1, &renderbuffer_);
  }
  renderbuffer_ = 0;
  if (kind_ != Kind::TextureLevel) lost_ = true;
}

HResult Surface::GetDesc(SurfaceDesc* out, CallSite site) const {
  if (!out) return Refuse(kInvalidCall, site, "Surface::GetDesc", "no place for the answer");
  if (texture_) return texture_->GetLevelDesc(level_, out, site);
  const uint32_t usage = kind_ == Kind::DepthStencil ? Usage::DepthStencil : Usage::RenderTarget;
  *out = {format_, ResourceType::Surface, usage, Pool::Default, width_, height_};
  return kOk;
}

HResult Surface::LockRect(LockedRect* out, const Rect* rect, uint32_t flags, CallSite site) {
  if (!texture_) return Refuse(kInvalidCall, site, "Surface::LockRect", kNoTextureLevel);
  return texture_->LockRect(level_, out, rect, flags, site);
}

HResult Surface::UnlockRect(CallSite site) {
  if (!texture_) return Refuse(kInvalidCall, site, "Surface::UnlockRect", kNoTextureLevel);
  return texture_->UnlockRect(level_, site);
}

HResult Surface::ReadPixels(std::vector<uint8_t>* bytes, uint32_t* pitch, CallSite site) const {
  if (texture_) return texture_->ReadLevel(level_, bytes, pitch, site);
  if (!bytes || !pitch) return Refuse(kInvalidCall, site, "ReadPixels", "no place for the answer");
  if (kind_ != Kind::BackBuffer)
    return Refuse(kInvalidCall, site, "ReadPixels", "a depth surface cannot be read");
  if (!device_ || !renderbuffer_)
    return Refuse(kInvalidCall, site, "ReadPixels", "the surface was lost with the device");
  if (!device_->BindForRead(this)) return kFail;
  *pitch = width_ * 4;
  bytes->assign(size_t(*pitch) * height_, 0);
  device_->Gl().ReadPixels(0, 0, GLsizei(width_), GLsizei(height_), GL_BGRA, GL_UNSIGNED_BYTE,
                           bytes->data());
  if (device_->BackBufferInWindow()) {
    // The window's rows run upwards.
    for (uint32_t top = 0, bottom = height_ - 1; top < bottom; ++top, --bottom)
      std::swap_ranges(bytes->begin() + ptrdiff_t(top) * *pitch,
                       bytes->begin() + ptrdiff_t(top + 1) * *pitch,
                       bytes->begin() + ptrdiff_t(bottom) * *pitch);
  }
  if (format_ != Format::A8R8G8B8)
    for (size_t i = 3; i < bytes->size(); i += 4)
      (*bytes)[i] = 0xFF;
  return kOk;
}

}  // namespace gfx
