#pragma once

#include <cstdint>
#include <memory>

#include "core/com_ref.h"
#include "core/guid.h"
#include "core/param/media_param_t.h"
#include "core/param/text_style_params.h"
#include "core/zkw_string.h"
#include "objects/sprites/ds_stat_base_fx_ctrl.h"
#include "platform/gfx/texture.h"
#include "player/document/guid_picture_key.h"

// A block of text shown as one sprite at the position, sized by the width and height, tinted
// by the sprite colour and faded by the sprite opacity and the timeline. The text is a picture
// the editor made and the document keeps under the picture GUID; the text, font and settings
// are only carried so that the record writes back unchanged.
//
// Record "DS_StaticTextConstructor" version 3: two Int32 text settings, WideString text, the
// font (Int32 height, UInt32 weight, Int32 flag, WideString face), the picture GUID (text),
// WideString picture name, Bool keep flag, then the "DS_StatBaseFXCtrl" record. Version 2 holds
// no picture GUID, name or flag; version 1 holds instead four UInt32 durations in milliseconds
// (fade-in, fade-out, shown, hidden) that stand for a random timeline.
class DS_StaticTextConstructor : public DS_StatBaseFXCtrl {
 public:
  static constexpr uint32_t kVersion = 3;

  // A fresh picture GUID, red sprites, time mode 1 and timing flag bit 0.
  DS_StaticTextConstructor();
  // Copies every value; the picture is shared.
  DS_StaticTextConstructor(const DS_StaticTextConstructor& other) = default;

  // Files a copy of the text picture at width x height under the picture GUID in the
  // document's GUID pictures first (nothing is filed without a picture or a size, so that a
  // picture stored there stays).
  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  std::unique_ptr<DS_ParticleSystemCtrl> Clone() const override;
  // An object never placed takes a fresh picture GUID; then the effect and the placement of
  // the base; then the document's picture for the GUID.
  void PrepareEffect() override;
  // The sprite at the position, with half the width and height, in the sprite colour at the
  // opacity times the sprite's alpha factor.
  void UpdateParticle(SpriteRecord& sprite) override;
  // Texture stage 0 modulates texture and vertex colour, the target blends by inverse source
  // alpha; technique "CommonVretexColor" draws the sprites with the picture. Answers false: the
  // sprites are drawn here.
  bool SetEffectParameters(DS_2D_Light& renderer, ParticleGeomArray& sprites) override;

  // The key the picture has in the document.
  GuidPictureKey PictureKey() const { return {pictureGuid, pictureName, pictureKeep}; }

  MediaParamT<int> textSetting1{0};
  MediaParamT<int> textSetting2{0};
  MediaParamT<zkw_string> text;
  FontMediaParam font;
  ComRef<gfx::Texture> textPicture;
  GUID pictureGuid;
  zkw_string pictureName;
  uint8_t pictureKeep = 1;

 protected:
  // "Texture1" is the picture, then the sprites through the effect's current technique; nothing
  // without an effect or sprites.
  void DrawSprites(DS_2D_Light& renderer, ParticleGeomArray& sprites);
};
