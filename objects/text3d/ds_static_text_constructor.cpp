#include "objects/text3d/ds_static_text_constructor.h"

#include "objects/sprites/particle_geom_array.h"
#include "objects/sprites/sprite_preset_rules.h"
#include "platform/gfx/device.h"
#include "platform/gfx/image/dds_writer.h"
#include "player/device/device_values.h"
#include "player/document/doc_res_manager.h"
#include "player/render/texture_helpers.h"
#include "renderers/light/ds_2d_light.h"

DS_StaticTextConstructor::DS_StaticTextConstructor() : pictureGuid(GUID::Create()) {
  colour.RawValue() = 0x0000FF;
  timing.timeMode.RawValue() = 1;
  timing.flags |= 1;
}

bool DS_StaticTextConstructor::Save(DS_IOF_Archive& archive) const {
  DS_DocResManager* document = CurrentDocument();
  if (document != nullptr && textPicture && width.Value() != 0 && height.Value() != 0) {
    ComRef<gfx::Texture> copy;
    CopyTexture(textPicture.Get(), copy, width.Value(), height.Value(), gfx::Format::Unknown);
    FileDataRecord picture;
    if (copy && gfx::Succeeded(gfx::image::SaveTextureAsDds(copy.Get(), &picture.bytes)))
      document->guidPictureTable.insert_or_assign(PictureKey(), std::move(picture));
  }
  WriteRecordHeader(archive, u"DS_StaticTextConstructor", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteInt32(textSetting1.Value());
  io.WriteInt32(textSetting2.Value());
  io.WriteWideString(text.Value());
  WriteFontData(archive, font.Value());
  archive.WriteGuid(pictureGuid);
  io.WriteWideString(pictureName);
  io.WriteBool(pictureKeep != 0);
  return DS_StatBaseFXCtrl::Save(archive);
}

bool DS_StaticTextConstructor::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  DS_IOF_Virtual& io = archive.io();
  io.ReadInt32(textSetting1.RawValue());
  io.ReadInt32(textSetting2.RawValue());
  io.ReadWideString(text.RawValue());
  ReadFontData(archive, font.RawValue());
  // Fade-in, fade-out, shown and hidden in milliseconds.
  uint32_t fadeIn = 0, fadeOut = 0, shown = 0, hidden = 0;
  if (version >= 3) {
    archive.ReadGuid(pictureGuid);
    io.ReadWideString(pictureName);
    bool keep = true;
    io.ReadBool(keep);
    pictureKeep = keep ? 1 : 0;
  } else if (version == 1) {
    for (uint32_t* value : {&fadeIn, &fadeOut, &shown, &hidden})
      io.ReadUInt32(*value);
  }
  DS_StatBaseFXCtrl::ReadBody(archive, ReadBaseHeader(archive));
  if (version == 1 && shown != 0)
    UseFixedRandomTimeline(timing, hidden / 10, shown / 10, fadeIn / 10, fadeOut / 10);
  return true;
}

std::unique_ptr<DS_ParticleSystemCtrl> DS_StaticTextConstructor::Clone() const {
  return std::make_unique<DS_StaticTextConstructor>(*this);
}

void DS_StaticTextConstructor::PrepareEffect() {
  if (keepGuid == 0) {
    pictureGuid = GUID::Create();
    pictureName.clear();
    pictureKeep = 1;
  }
  DS_StatBaseFXCtrl::PrepareEffect();
  DS_DocResManager* document = CurrentDocument();
  textPicture =
      document != nullptr ? document->GetGuidTexture(PictureKey()) : ComRef<gfx::Texture>();
}

void DS_StaticTextConstructor::UpdateParticle(SpriteRecord& sprite) {
  sprite.centre = position.Value();
  sprite.halfWidth = static_cast<float>(width.Value()) * 0.5f;
  sprite.halfHeight = static_cast<float>(height.Value()) * 0.5f;
  sprite.colour = SpriteColour(sprite.alphaFactor);
}

bool DS_StaticTextConstructor::SetEffectParameters(DS_2D_Light& renderer,
                                                   ParticleGeomArray& sprites) {
  using gfx::TextureStageState, gfx::TextureOp, gfx::TextureArg;
  if (gfx::Device* d = CurrentDevice()) {
    d->SetTextureStageState(0, TextureStageState::ColorOp, TextureOp::Modulate);
    d->SetTextureStageState(0, TextureStageState::ColorArg1, TextureArg::Texture);
    d->SetTextureStageState(0, TextureStageState::ColorArg2, TextureArg::Diffuse);
    d->SetTextureStageState(0, TextureStageState::AlphaOp, TextureOp::Modulate);
    d->SetRenderState(gfx::RenderState::DestBlend, gfx::Blend::InvSrcAlpha);
  }
  if (effect) effect->SetTechnique("CommonVretexColor");
  DrawSprites(renderer, sprites);
  return false;
}

void DS_StaticTextConstructor::DrawSprites(DS_2D_Light& renderer, ParticleGeomArray& sprites) {
  if (!effect) return;
  effect->SetTexture("Texture1", textPicture.Get());
  // Without sprites the buffers may still hold the quads of an earlier count.
  if (!sprites.Sprites().empty()) renderer.DrawIndexedColorTex(sprites, effect.Get());
}
