#include "fx/water/ds_water_fx.h"

#include <algorithm>
#include <cmath>

#include "core/math/ratio.h"
#include "core/param/param_reads.h"
#include "core/scene/scene_services.h"
#include "platform/math/d3dx_math.h"
#include "player/document/doc_res_manager.h"

DS_WaterFX::DS_WaterFX() {
  speed.SetScale(0.02f, 0.0f);
  speed.SetValue(50);
  scale.SetValue(30);
  effectLink = DS_HLSLEffectFile(u"glimres.dll", 90);
  callbacks_.Watch(&DS_WaterFX::UpdateDirection, angle);
  UpdateDirection();
}

DS_WaterFX::DS_WaterFX(const DS_WaterFX& other)
    : DS_FX_Constructor(other),
      surface(other.surface),
      bumpScale(other.bumpScale),
      direction2Scale(other.direction2Scale),
      direction1Scale(other.direction1Scale),
      angle(other.angle),
      shadows(other.shadows),
      lightHeight(other.lightHeight),
      color(other.color),
      bumpLink(other.bumpLink),
      bumpTexture(other.bumpTexture),
      direction(other.direction) {
  std::copy(std::begin(other.bumpTransform), std::end(other.bumpTransform), bumpTransform);
  callbacks_.Watch(&DS_WaterFX::UpdateDirection, angle);
  UpdateDirection();
}

bool DS_WaterFX::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_WaterFX", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(surface.Value());
  io.WriteUInt32(bumpScale.Value());
  io.WriteUInt32(direction2Scale.Value());
  io.WriteUInt32(direction1Scale.Value());
  io.WriteUInt32(angle.Value());
  io.WriteUInt32(shadows.Value());
  io.WriteUInt32(lightHeight.Value());
  io.WriteDword(color.Value());
  RegisterSavedLinkWithDocument(bumpLink);
  WriteFileLink(archive, bumpLink);
  return DS_FX_Constructor::Save(archive);
}

bool DS_WaterFX::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  DS_IOF_Virtual& io = archive.io();
  ReadChangedUInt32(archive, surface);
  ReadChangedUInt32(archive, bumpScale);
  ReadChangedUInt32(archive, direction2Scale);
  ReadChangedUInt32(archive, direction1Scale);
  io.ReadUInt32(angle.RawValue());
  ReadChangedUInt32(archive, shadows);
  ReadChangedUInt32(archive, lightHeight);
  io.ReadDword(color.RawValue());
  ReadFileLink(archive, bumpLink);
  return DS_FX_Constructor::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_WaterFX::UpdateDirection() {
  D3DXMATRIX m;
  D3DXMatrixRotationZ(&m, static_cast<float>(angle.Value()) * 3.1415927f / 180.0f);
  const D3DXVECTOR4 x(1.0f, 0.0f, 0.0f, 0.0f);
  D3DXVec4Transform(&direction, &x, &m);
}

float DS_WaterFX::SurfaceValue() const {
  const float n = std::clamp(surface.Scaled(), kLeastSurface, kMostSurface);
  // e - 1 is 0 where 2 / n rounds to 2.
  return 2.0f / n - 1.0f == 1.0f ? kBelowOne : n;
}

void DS_WaterFX::Prepare(ComRef<gfx::Texture>* maskSlot) {
  bumpTexture.Reset();
  if (DS_DocResManager* document = CurrentDocument())
    bumpTexture = document->GetImageTextures(bumpLink).CurrentTexture();
  DS_FX_Constructor::Prepare(maskSlot);
}

void DS_WaterFX::Tick(float time) {
  DS_FX_Constructor::Tick(time);
  const float w = Phase() * 0.5f * 9.0f;
  const float r = bumpScale.Scaled();
  bumpTransform[0] = std::cos(w) * r;
  bumpTransform[1] = -std::sin(w) * r;
  bumpTransform[2] = std::sin(w) * r;
  bumpTransform[3] = std::cos(w) * r;
}

void DS_WaterFX::Draw(DS_2D_Light& canvas) {
  if (!effect) return;
  const float n = SurfaceValue();
  const float e = 2.0f / n - 1.0f;
  effect->SetTexture("BumpMap", bumpTexture.Get());
  effect->SetFloatArray("BampTrans", bumpTransform, 4);
  const float p1[3] = {n - 1.0f, -1.0f, n - 1.0f};
  effect->SetFloatArray("P1", p1, 3);
  const float p2[3] = {1.0f, (std::sqrt(e) + e) / (e - 1.0f), 1.0f};
  effect->SetFloatArray("P2", p2, 3);
  effect->SetFloat("Time", Phase() * 2.0f);
  const float s1 = direction1Scale.Scaled(), s2 = direction2Scale.Scaled();
  const float d1[2] = {RatioOr0(-0.5f * direction.x, s1), RatioOr0(-0.5f * direction.y, s1)};
  effect->SetFloatArray("Direction1", d1, 2);
  const float d2[2] = {-0.5f * s2 * direction.x, -0.5f * s2 * direction.y};
  effect->SetFloatArray("Direction2", d2, 2);
  effect->SetFloat("Shadows", shadows.Scaled());
  D3DXVECTOR3 half(1.0f, 2.0f, lightHeight.Scaled());
  D3DXVec3Normalize(&half, &half);
  effect->SetFloatArray("Vhalf", &half.x, 3);
  effect->SetFloatArray("Color", ColorrefRgb(color.Value()).data(), 3);
  BindCommon(canvas);
}
