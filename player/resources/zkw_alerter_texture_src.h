#pragma once

#include <cstdint>
#include <vector>

#include "core/archive/ds_iof_archive.h"
#include "core/ds_safe_ptr.h"
#include "core/guid.h"
#include "core/param/media_param_t.h"
#include "core/param/media_speed_param.h"
#include "core/sequence/link_texture_set.h"
#include "platform/gfx/texture.h"
#include "player/resources/zkw_texture_src.h"

// The tag a texture carries, as 2 bytes holding the 16-bit value 1, once its alpha has been
// multiplied into its colours: textures are shared by every user of a picture, and multiplying
// twice would darken them.
inline constexpr GUID kPremultipliedTag = {
    0xFC4E11FD, 0x5193, 0x4726, {0xBE, 0x4E, 0xFC, 0x16, 0x6E, 0x3E, 0x43, 0x5C}};

// The parameter through which particle objects hold a texture source: it makes the frame
// textures of the source's links and steps through their frames over time. Copies share the
// source and take the speed, direction, clock and frame sets along.
class ZKW_AlerterTextureSRC : public MediaParamT<DS_SafePtr<ZKW_TextureSRC>> {
 public:
  ZKW_AlerterTextureSRC();
  ZKW_AlerterTextureSRC(const ZKW_AlerterTextureSRC&) = default;
  ZKW_AlerterTextureSRC& operator=(const ZKW_AlerterTextureSRC&) = delete;

  void ExecuteCommand(int, MediaControl*) override {}

  ZKW_TextureSRC* Source() const { return Value().Get(); }

  // Makes one frame set per link of the held source through the current document, with
  // `filter` (a D3DX filter). A source whose mode is 0 has its speed used unscaled. Without a
  // source or a document the sets are left empty and the speed as it is. Answers true.
  bool LoadFrames(uint32_t filter);
  // Tags every frame texture as premultiplied: those of a premultiplied source as they are, the
  // others after multiplying their alpha in (once: a tagged texture is left alone; one whose
  // format cannot be multiplied stays untagged). False without a source.
  bool MarkTextures();
  // Moves the clock by the scaled speed x min(dt, 0.2) (nothing for a dt that is not positive)
  // and steps every frame set forward, or backward when the direction is not 0.
  void Advance(float dt);

  // The texture shown by the first frame set; empty without one.
  ComRef<gfx::Texture> CurrentTexture() const;

  MediaSpeedParam speed;                  // percent, scaled by 0.01
  MediaParamT<int> direction{0};          // 0 forward, any other backward
  std::vector<LinkTextureSet> frameSets;  // one per link of the held source
};

// The source's complete record read by class name (held through a new handle, without
// notification; an unknown class leaves no source), a UInt32 speed (set, and the scaled speed
// recomputed, when it differs) and an Int32 direction.
void ReadAlerterTextureSRC(DS_IOF_Archive& archive, ZKW_AlerterTextureSRC& alerter);
// The reverse. Without a source a default soft circle's record stands in, so that the record
// reads back.
void WriteAlerterTextureSRC(DS_IOF_Archive& archive, const ZKW_AlerterTextureSRC& alerter);
