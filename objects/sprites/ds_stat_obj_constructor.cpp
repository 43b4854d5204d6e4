#include "objects/sprites/ds_stat_obj_constructor.h"

#include <cmath>

#include "core/float_to_int.h"
#include "core/startup/thread_slots.h"
#include "objects/sprites/sprite_preset_rules.h"
#include "platform/math/d3dx_math.h"
#include "player/render/render_context.h"

DS_StatObjConstructor::DS_StatObjConstructor() {
  D3DXMatrixIdentity(&rotationMatrix);
}

DS_StatObjConstructor::DS_StatObjConstructor(const DS_StatObjConstructor& other)
    : DS_IOF_Item(),
      DS_ParticleSystemCtrl(other),
      placementRect(other.placementRect),
      rotationAngle(other.rotationAngle),
      rotationMatrix(other.rotationMatrix) {}

bool DS_StatObjConstructor::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_StatObjConstructor", kVersion);
  WriteMediaRectangle(archive, placementRect);
  archive.io().WriteUInt32(rotationAngle.Value());
  return DS_BaseSpriteProp::Save(archive);
}

bool DS_StatObjConstructor::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  ReadMediaRectangle(archive, placementRect);
  archive.io().ReadUInt32(rotationAngle.RawValue());
  if (version < 2) {
    archive.io().ReadInt32(verticalFlip.RawValue());
    archive.io().ReadInt32(horizontalFlip.RawValue());
  }
  return DS_BaseSpriteProp::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<ZKW_RenderObj> DS_StatObjConstructor::CreateRuntimeObject() {
  if (keepGuid == 0) {
    placementRect.extra1.RawValue() = static_cast<int>(SceneWidth() / 2);
    placementRect.extra2.RawValue() = static_cast<int>(SceneHeight() / 2);
    keepGuid = 1;
  }
  return MakeSpriteArrayObject(*this);
}

std::unique_ptr<DS_ParticleSystemCtrl> DS_StatObjConstructor::Clone() const {
  return std::make_unique<DS_StatObjConstructor>(*this);
}

void DS_StatObjConstructor::ViewQuad(QuadCorners& out) {
  out.Init();
  const float x0 = static_cast<float>(placementRect.xMin.Value());
  const float x1 = static_cast<float>(placementRect.xMax.Value());
  const float y0 = static_cast<float>(placementRect.yMin.Value());
  const float y1 = static_cast<float>(placementRect.yMax.Value());
  const float xs[4] = {x0, x0, x1, x1};
  const float ys[4] = {y1, y0, y1, y0};
  for (int i = 0; i < 4; ++i) {
    out.corners[i].x = xs[i];
    out.corners[i].y = ys[i];
  }
}

bool DS_StatObjConstructor::HitTest(float x, float y) {
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  const RenderContext* context = RenderContextTlsSlot::Get();
  return placementRect.HitTest(x, y, context != nullptr ? context->inverseView : identity);
}

bool DS_StatObjConstructor::SplitExportBlock(int& /*frames*/) {
  return false;
}

void DS_StatObjConstructor::SpawnParticle(SpriteRecord& sprite) {
  sprite.centre.x = static_cast<float>(PlacementX());
  sprite.centre.y = static_cast<float>(PlacementY());
  ApplyHalfSize(sprite);
  sprite.colour = SpriteColour(sprite.alphaFactor);
  D3DXMatrixRotationZ(&rotationMatrix,
                      static_cast<float>(rotationAngle.Value()) * -3.1415927f / 180.0f);
  const D3DXVECTOR3 x(1, 0, 0), y(0, 1, 0);
  D3DXVec3TransformCoord(&sprite.axis1, &x, &rotationMatrix);
  D3DXVec3TransformCoord(&sprite.axis2, &y, &rotationMatrix);
  UpdateBounds(sprite);
}

void DS_StatObjConstructor::UpdateBounds(const SpriteRecord& sprite) {
  const float w = sprite.halfWidth, h = sprite.halfHeight;
  const D3DXVECTOR3 &a1 = sprite.axis1, &a2 = sprite.axis2;
  const float wx = std::fabs(w * a1.x), hx = std::fabs(h * a2.x);
  const float hy = std::fabs(h * a2.y), wy = std::fabs(w * a1.y);
  const float x = sprite.centre.x, y = sprite.centre.y;
  placementRect.xMin.SetValueSilently(SaturatingTruncate<int>(x - wx - hx));
  placementRect.xMax.SetValueSilently(SaturatingTruncate<int>(x + wx + hx));
  placementRect.yMin.SetValueSilently(SaturatingTruncate<int>(y - hy - wy));
  placementRect.yMax.SetValueSilently(SaturatingTruncate<int>(y + hy + wy));
}
