#include "objects/text3d/ds_static_text.h"

#include <initializer_list>

#include "core/math/ratio.h"
#include "particles/classic/control/particle_system_mech.h"

bool DS_StaticText::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_StaticText", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteWideString(text.Value());
  io.WriteWideString(fontFace.Value());
  io.WriteUInt32(fontSize.Value());
  io.WriteInt32(fontValue1.Value());
  io.WriteInt32(fontValue2.Value());
  io.WriteDword(fontColour.Value());
  for (const MediaParamT<int>* value : {&layout1, &layout2, &layout3})
    io.WriteInt32(value->Value());
  io.WriteDword(outlineColour.Value());
  io.WriteUInt32(outlineAmount1.Value());
  io.WriteUInt32(outlineAmount2.Value());
  io.WriteInt32(fillValue.Value());
  io.WriteDword(fillColour.Value());
  io.WriteUInt32(fillAmount.Value());
  io.WriteInt32(shadowOn.Value());
  WriteColorAlphaParam(archive, shadowColour);
  io.WriteUInt32(shadowDistance.Value());
  io.WriteUInt32(shadowDirection.Value());
  WriteColorAlphaParam(archive, furtherColour1);
  WriteColorAlphaParam(archive, furtherColour2);
  io.WriteUInt32(furtherValue1.Value());
  io.WriteUInt32(furtherValue2.Value());
  return ZKW_StaticObject::Save(archive);
}

bool DS_StaticText::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  DS_IOF_Virtual& io = archive.io();
  io.ReadWideString(text.RawValue());
  io.ReadWideString(fontFace.RawValue());
  io.ReadUInt32(fontSize.RawValue());
  io.ReadInt32(fontValue1.RawValue());
  io.ReadInt32(fontValue2.RawValue());
  io.ReadDword(fontColour.RawValue());
  for (MediaParamT<int>* value : {&layout1, &layout2, &layout3})
    io.ReadInt32(value->RawValue());
  io.ReadDword(outlineColour.RawValue());
  io.ReadUInt32(outlineAmount1.RawValue());
  io.ReadUInt32(outlineAmount2.RawValue());
  io.ReadInt32(fillValue.RawValue());
  io.ReadDword(fillColour.RawValue());
  io.ReadUInt32(fillAmount.RawValue());
  io.ReadInt32(shadowOn.RawValue());
  ReadColorAlphaParam(archive, shadowColour);
  io.ReadUInt32(shadowDistance.RawValue());
  io.ReadUInt32(shadowDirection.RawValue());
  shadowDirection.Recompute();
  ReadColorAlphaParam(archive, furtherColour1);
  ReadColorAlphaParam(archive, furtherColour2);
  io.ReadUInt32(furtherValue1.RawValue());
  io.ReadUInt32(furtherValue2.RawValue());
  return ZKW_StaticObject::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<ZKW_ParticleSystemCtrl> DS_StaticText::Clone() const {
  return std::make_unique<DS_StaticText>(*this);
}

void DS_StaticText::AttachRuntimeObject(ZKW_ParticleSystemMech* runtime) {
  appearance.effectLink = DS_HLSLEffectFile(u"glimres.dll", 198);
  ZKW_StaticObject::AttachRuntimeObject(runtime);
}

void DS_StaticText::ReloadPictures() {
  appearance.LoadTextures();
}

const LinkTextureSet* DS_StaticText::FirstPicture() const {
  return appearance.frames.empty() ? nullptr : &appearance.frames.front();
}

void DS_StaticText::Render(DS_2D_Light& /*renderer*/, int* /*readerCount*/) {
  gfx::Effect* effect = appearance.effect.Get();
  if (effect == nullptr || mech == nullptr || mech->batches.empty()) return;
  if (appearance.frames.size() > 1) {
    const float none[2] = {0.0f, 0.0f};
    effect->SetTexture("Texture", appearance.frames[1].CurrentTexture().Get());
    effect->SetFloatArray("Shift", none, 2);
    mech->DrawBatch(effect, "Main", 0);
  }
  DrawShadowed(D3DXVECTOR2(0.0f, 0.0f));
}

void DS_StaticText::DrawShadowed(const D3DXVECTOR2& shift) {
  gfx::Effect* effect = appearance.effect.Get();
  const LinkTextureSet* picture = FirstPicture();
  if (effect == nullptr || picture == nullptr || mech == nullptr || mech->batches.empty()) return;
  effect->SetTexture("Texture", picture->CurrentTexture().Get());
  if (shadowOn.Value() != 0) {
    const D3DXVECTOR2 shadow = ShadowShift(shift);
    const float moved[2] = {shadow.x, shadow.y};
    const std::array<float, 4> colour = ColorWordFloats(
        shadowColour.Value(), static_cast<float>(shadowColour.alpha.Scaled()) / 255.0f);
    effect->SetFloatArray("Shift", moved, 2);
    effect->SetFloatArray("Color", colour.data(), 4);
    mech->DrawBatch(effect, "Shadow", 0);
  }
  const float at[2] = {shift.x, shift.y};
  effect->SetFloatArray("Shift", at, 2);
  mech->DrawBatch(effect, "Main", 0);
}

D3DXVECTOR2 DS_StaticText::ShadowShift(const D3DXVECTOR2& shift) const {
  const LinkTextureSet* picture = FirstPicture();
  if (picture == nullptr) return shift;
  const float distance = static_cast<float>(shadowDistance.Value());
  const D3DXVECTOR4& towards = shadowDirection.Direction();
  return D3DXVECTOR2(
      shift.x + RatioOr0(distance * towards.x, static_cast<float>(picture->textureWidth)),
      shift.y - RatioOr0(distance * towards.y, static_cast<float>(picture->textureHeight)));
}
