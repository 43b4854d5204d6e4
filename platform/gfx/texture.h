#pragma once

#include <GL/glcorearb.h>

#include <cstdint>
#include <vector>

#include "platform/gfx/descs.h"
#include "platform/gfx/refusal_log.h"
#include "platform/gfx/resource.h"
#include "platform/gfx/texture_format.h"

namespace gfx {

class Surface;

// A 2D texture with its mip levels, addressed top-left first: row 0 of every level is the top
// of the picture and v = 0 samples it. Lockable textures (every pool but Default, and Dynamic
// ones) have a CPU copy of each level; LockRect hands out that memory and UnlockRect uploads
// it. Managed textures whose format GL stores byte for byte (A8R8G8B8, X8R8G8B8, A8) hold that
// copy only while a level is locked, read back from GL at the lock: the context outlives device
// losses, so GL's copy is enough, and a picture is not held twice. Render targets live only on
// the GPU and are read back with ReadLevel.
class Texture final : public Resource {
 public:
  uint32_t GetLevelCount() const { return static_cast<uint32_t>(levels_.size()); }
  [[nodiscard]] HResult GetLevelDesc(uint32_t level, SurfaceDesc* out,
                                     CallSite site = CallSite::current()) const;
  // The surface of a level, one object per level while anyone holds it.
  [[nodiscard]] HResult GetSurfaceLevel(uint32_t level, Surface** out,
                                        CallSite site = CallSite::current());
  // `rect` null locks the whole level; a DXT rect is in pixels on block boundaries.
  [[nodiscard]] HResult LockRect(uint32_t level, LockedRect* out, const Rect* rect, uint32_t flags,
                                 CallSite site = CallSite::current());
  HResult UnlockRect(uint32_t level, CallSite site = CallSite::current());

  // Replaces a whole level from rows of `pitch` bytes in the texture's format: the way to fill
  // textures that cannot be locked (render targets, Default pool).
  [[nodiscard]] HResult WriteLevel(uint32_t level, const void* bytes, uint32_t pitch,
                                   CallSite site = CallSite::current());
  // A level's contents as stored, rows from the top, each Pitch bytes (blocks for DXT). Render
  // targets are read from the GPU; other textures from their CPU copy when they have one.
  [[nodiscard]] HResult ReadLevel(uint32_t level, std::vector<uint8_t>* bytes, uint32_t* pitch,
                                  CallSite site = CallSite::current()) const;

  Format GetFormat() const { return format_; }
  uint32_t GetUsage() const { return usage_; }
  uint32_t Width() const { return levels_.empty() ? 0 : levels_[0].width; }
  uint32_t Height() const { return levels_.empty() ? 0 : levels_[0].height; }
  const TextureFormatInfo& FormatInfo() const { return info_; }
  GLuint GlName() const { return name_; }
  // Gives levels that nothing has written since the texture was made their storage: zero bytes
  // in a lockable texture, the driver's new storage in a render target or Default-pool texture.
  // It waits until something draws into, samples, reads or locks the texture, since the picture
  // loaders write every level first (a clear would be a full upload for nothing) and many
  // render targets are never drawn into.
  void DefineUnwrittenLevels() const;

 private:
  friend class Device;
  friend class Surface;
  struct Level {
    uint32_t width = 0, height = 0;
    std::vector<uint8_t> cpu;  // empty when not lockable, or not locked without KeepsCopy()
    bool locked = false;
    bool readOnlyLock = false;
    mutable bool unwritten = false;  // no GL storage yet: DefineUnwrittenLevels makes it
    Surface* surface = nullptr;      // not held: the surface holds the texture
  };

  Texture(Device* device, uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
          Format format, Pool pool);
  ~Texture() override;
  bool CreateStorage();
  void Upload(uint32_t level, const uint8_t* bytes);
  void DropStorage() override;
  bool Lockable() const { return pool_ != Pool::Default || (usage_ & Usage::Dynamic); }
  // Whether lockable levels keep their CPU copy while unlocked.
  bool KeepsCopy() const;
  // The storage of a level nothing has written yet (see DefineUnwrittenLevels).
  void DefineUnwrittenLevel(uint32_t level) const;
  // Fills a level in GL with zero bytes, as a new texture's contents.
  void ClearLevel(uint32_t level) const;
  // Makes a level's GL storage from `bytes` (null: undefined contents) on the bound texture.
  void DefineLevel(uint32_t level, const void* bytes) const;

  Format format_;
  uint32_t usage_;
  TextureFormatInfo info_;
  std::vector<Level> levels_;
  GLuint name_ = 0;
};

}  // namespace gfx
