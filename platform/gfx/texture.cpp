#include "platform/gfx/texture.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "platform/gfx/device.h"
#include "platform/gfx/surface.h"

namespace gfx {

namespace {

constexpr char kNoPlace[] = "no place for the answer";
constexpr char kLost[] = "the texture was lost with the device";

std::string NoLevel(uint32_t level) {
  return "level " + std::to_string(level) + " does not exist";
}

}  // namespace

Texture::Texture(Device* device, uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                 Format format, Pool pool)
    : Resource(device, pool), format_(format), usage_(usage), info_(TextureFormatInfo::Of(format)) {
  uint32_t full = 1;
  for (uint32_t size = std::max(width, height); size > 1; size /= 2)
    ++full;
  const uint32_t count = levels == 0 ? full : std::min(levels, full);
  for (uint32_t i = 0; i < count; ++i) {
    Level level;
    level.width = std::max(1u, width >> i);
    level.height = std::max(1u, height >> i);
    if (Lockable() && KeepsCopy())
      level.cpu.assign(size_t(info_.Pitch(level.width)) * info_.Rows(level.height), 0);
    levels_.push_back(std::move(level));
  }
}

Texture::~Texture() {
  DropStorage();
}

bool Texture::CreateStorage() {
  const GlFunctions& gl = device_->Gl();
  gl.GenTextures(1, &name_);
  device_->BindForUpload(name_);
  gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
  gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, GLint(levels_.size()) - 1);
  gl.TexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_RGBA, info_.swizzle.data());
  for (uint32_t i = 0; i < levels_.size(); ++i) {
    // A lockable level without a copy is defined by its first write (or by its clear), in one
    // upload: the driver need not make and clear storage that is written over at once. A render
    // target gets its storage when it is first drawn into, read or sampled: one that nothing
    // draws into (a spare, a pass of a slide that does not show) holds no memory.
    levels_[i].unwritten =
        levels_[i].cpu.empty() && (Lockable() || (usage_ & Usage::RenderTarget) != 0);
    if (levels_[i].unwritten) continue;
    DefineLevel(i, nullptr);
    if (!levels_[i].cpu.empty()) Upload(i, levels_[i].cpu.data());
  }
  return gl.GetError() == GL_NO_ERROR;
}

bool Texture::KeepsCopy() const {
  if (pool_ != Pool::Managed) return true;
  return format_ != Format::A8R8G8B8 && format_ != Format::X8R8G8B8 && format_ != Format::A8;
}

void Texture::DefineUnwrittenLevels() const {
  for (uint32_t i = 0; i < levels_.size(); ++i)
    if (levels_[i].unwritten) DefineUnwrittenLevel(i);
}

void Texture::DefineUnwrittenLevel(uint32_t level) const {
  if (Lockable()) {
    ClearLevel(level);
    return;
  }
  // What a new render target or Default-pool texture holds is the driver's to choose.
  levels_[level].unwritten = false;
  device_->BindForUpload(name_);
  DefineLevel(level, nullptr);
}

void Texture::ClearLevel(uint32_t level) const {
  const Level& l = levels_[level];
  l.unwritten = false;
  // calloc: large blocks come as fresh zero pages that cost no memory until written.
  const std::unique_ptr<void, void (*)(void*)> zeros(
      std::calloc(size_t(info_.Pitch(l.width)) * info_.Rows(l.height), 1), std::free);
  if (!zeros) return;
  device_->BindForUpload(name_);
  DefineLevel(level, zeros.get());
}

void Texture::DefineLevel(uint32_t level, const void* bytes) const {
  device_->ForgetClear();
  const Level& l = levels_[level];
  device_->Gl().TexImage2D(GL_TEXTURE_2D, GLint(level), GLint(info_.internalFormat),
                           GLsizei(l.width), GLsizei(l.height), 0, info_.uploadFormat,
                           info_.uploadType, bytes);
}

void Texture::Upload(uint32_t level, const uint8_t* bytes) {
  const GlFunctions& gl = device_->Gl();
  const Level& l = levels_[level];
  const bool define = l.unwritten;
  l.unwritten = false;
  std::vector<uint8_t> decoded;
  if (info_.compressed) {
    decoded.resize(size_t(l.width) * l.height * 4);
    DecodeDxt(format_, bytes, l.width, l.height, decoded.data());
    bytes = decoded.data();
  }
  device_->BindForUpload(name_);
  device_->ForgetClear();
  if (define)
    DefineLevel(level, bytes);
  else
    gl.TexSubImage2D(GL_TEXTURE_2D, GLint(level), 0, 0, GLsizei(l.width), GLsizei(l.height),
                     info_.uploadFormat, info_.uploadType, bytes);
}

void Texture::DropStorage() {
  for (Level& level : levels_) {
    if (pool_ == Pool::Default) std::vector<uint8_t>().swap(level.cpu);
    level.locked = false;
  }
  if (name_ && device_) {
    device_->MakeCurrent();
    device_->ForgetTexture(name_);
    device_->Gl().DeleteTextures(1, &name_);
  }
  name_ = 0;
  lost_ = true;
}

HResult Texture::GetLevelDesc(uint32_t level, SurfaceDesc* out, CallSite site) const {
  if (!out) return Refuse(kInvalidCall, site, "GetLevelDesc", kNoPlace);
  if (level >= levels_.size())
    return Refuse(kInvalidCall, site, "GetLevelDesc", [&] { return NoLevel(level); });
  *out = {format_, ResourceType::Surface, usage_,
          pool_,   levels_[level].width,  levels_[level].height};
  return kOk;
}

HResult Texture::GetSurfaceLevel(uint32_t level, Surface** out, CallSite site) {
  if (!out) return Refuse(kInvalidCall, site, "GetSurfaceLevel", kNoPlace);
  *out = nullptr;
  if (level >= levels_.size())
    return Refuse(kInvalidCall, site, "GetSurfaceLevel", [&] { return NoLevel(level); });
  Surface*& surface = levels_[level].surface;
  if (surface)
    surface->AddRef();
  else
    surface = new Surface(this, level);
  *out = surface;
  return kOk;
}

HResult Texture::LockRect(uint32_t level, LockedRect* out, const Rect* rect, uint32_t flags,
                          CallSite site) {
  if (!out) return Refuse(kInvalidCall, site, "LockRect", kNoPlace);
  if (level >= levels_.size())
    return Refuse(kInvalidCall, site, "LockRect", [&] { return NoLevel(level); });
  Level& l = levels_[level];
  if (lost_) return Refuse(kInvalidCall, site, "LockRect", kLost);
  if (!Lockable())
    return Refuse(kInvalidCall, site, "LockRect", "the texture keeps no copy that can be locked");
  if (l.locked) return Refuse(kInvalidCall, site, "LockRect", "the level is locked already");
  Rect r{0, 0, int32_t(l.width), int32_t(l.height)};
  if (rect) {
    r = *rect;
    if (r.left < 0 || r.top < 0 || r.left >= r.right || r.top >= r.bottom ||
        uint32_t(r.right) > l.width || uint32_t(r.bottom) > l.height) {
      return Refuse(kInvalidCall, site, "LockRect", [&] {
        return "the rectangle (" + std::to_string(r.left) + ", " + std::to_string(r.top) + ") - (" +
               std::to_string(r.right) + ", " + std::to_string(r.bottom) +
               ") is empty or passes the level's " + std::to_string(l.width) + " x " +
               std::to_string(l.height);
      });
    }
    if (info_.compressed && (r.left % 4 || r.top % 4))
      return Refuse(kInvalidCall, site, "LockRect", "the rectangle is off the 4 x 4 blocks");
  }
  const uint32_t pitch = info_.Pitch(l.width);
  if (l.cpu.empty()) {
    // A level without a kept copy: read back for the time of the lock.
    if (KeepsCopy() || !name_ || !device_)
      return Refuse(kInvalidCall, site, "LockRect", "the level has neither a copy nor a texture");
    device_->MakeCurrent();
    if (l.unwritten) DefineUnwrittenLevel(level);
    l.cpu.assign(size_t(pitch) * l.height, 0);
    device_->BindForUpload(name_);
    device_->Gl().GetTexImage(GL_TEXTURE_2D, GLint(level), info_.uploadFormat, info_.uploadType,
                              l.cpu.data());
  }
  const uint32_t row = info_.compressed ? uint32_t(r.top) / 4 : uint32_t(r.top);
  const uint32_t column = info_.compressed ? uint32_t(r.left) / 4 : uint32_t(r.left);
  out->pitch = int32_t(pitch);
  out->bits = l.cpu.data() + size_t(row) * pitch + size_t(column) * info_.bytesPerUnit;
  l.locked = true;
  l.readOnlyLock = (flags & LockFlags::ReadOnly) != 0;
  return kOk;
}

HResult Texture::UnlockRect(uint32_t level, CallSite site) {
  if (level >= levels_.size())
    return Refuse(kInvalidCall, site, "UnlockRect", [&] { return NoLevel(level); });
  if (!levels_[level].locked)
    return Refuse(kInvalidCall, site, "UnlockRect", "the level is not locked");
  Level& l = levels_[level];
  l.locked = false;
  if (!l.readOnlyLock && name_ && device_) {
    device_->MakeCurrent();
    Upload(level, l.cpu.data());
  }
  if (!KeepsCopy()) std::vector<uint8_t>().swap(l.cpu);
  return kOk;
}

HResult Texture::WriteLevel(uint32_t level, const void* bytes, uint32_t pitch, CallSite site) {
  if (level >= levels_.size())
    return Refuse(kInvalidCall, site, "WriteLevel", [&] { return NoLevel(level); });
  if (!bytes) return Refuse(kInvalidCall, site, "WriteLevel", "no bytes");
  if (lost_ || !name_ || !device_) return Refuse(kInvalidCall, site, "WriteLevel", kLost);
  Level& l = levels_[level];
  const uint32_t rowBytes = info_.Pitch(l.width), rows = info_.Rows(l.height);
  if (l.locked) return Refuse(kInvalidCall, site, "WriteLevel", "the level is locked");
  if (pitch < rowBytes) {
    return Refuse(kInvalidCall, site, "WriteLevel", [&] {
      return "a pitch of " + std::to_string(pitch) + " is shorter than a row of " +
             std::to_string(rowBytes) + " bytes";
    });
  }
  device_->MakeCurrent();
  if (pitch == rowBytes && l.cpu.empty()) {
    Upload(level, static_cast<const uint8_t*>(bytes));
    return kOk;
  }
  std::vector<uint8_t> packed(size_t(rowBytes) * rows);
  for (uint32_t y = 0; y < rows; ++y)
    std::memcpy(packed.data() + size_t(y) * rowBytes,
                static_cast<const uint8_t*>(bytes) + size_t(y) * pitch, rowBytes);
  Upload(level, packed.data());
  if (!l.cpu.empty()) l.cpu = std::move(packed);
  return kOk;
}

HResult Texture::ReadLevel(uint32_t level, std::vector<uint8_t>* bytes, uint32_t* pitch,
                           CallSite site) const {
  if (!bytes || !pitch) return Refuse(kInvalidCall, site, "ReadLevel", kNoPlace);
  if (level >= levels_.size())
    return Refuse(kInvalidCall, site, "ReadLevel", [&] { return NoLevel(level); });
  if (lost_) return Refuse(kInvalidCall, site, "ReadLevel", kLost);
  const Level& l = levels_[level];
  *pitch = info_.Pitch(l.width);
  if (!l.cpu.empty() && !(usage_ & Usage::RenderTarget)) {
    *bytes = l.cpu;
    return kOk;
  }
  if (info_.compressed)
    return Refuse(kInvalidCall, site, "ReadLevel", "compressed levels are not read from the GPU");
  if (!name_ || !device_) return Refuse(kInvalidCall, site, "ReadLevel", kLost);
  device_->MakeCurrent();
  if (l.unwritten) DefineUnwrittenLevel(level);
  bytes->assign(size_t(*pitch) * l.height, 0);
  device_->BindForUpload(name_);
  device_->Gl().GetTexImage(GL_TEXTURE_2D, GLint(level), info_.uploadFormat, info_.uploadType,
                            bytes->data());
  return kOk;
}

}  // namespace gfx
