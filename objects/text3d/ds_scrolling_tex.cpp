#include "objects/text3d/ds_scrolling_tex.h"

#include "core/math/ratio.h"
#include "core/timing/zkw_timing.h"
#include "objects/text3d/text_link_rules.h"
#include "particles/classic/control/particle_system_mech.h"

bool DS_ScrollingTex::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_ScrollingTex", kVersion);
  archive.io().WriteInt32(direction.Value());
  return DS_StaticText::Save(archive);
}

bool DS_ScrollingTex::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  archive.io().ReadInt32(direction.RawValue());
  return DS_StaticText::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<ZKW_ParticleSystemCtrl> DS_ScrollingTex::Clone() const {
  return std::make_unique<DS_ScrollingTex>(*this);
}

float DS_ScrollingTex::StartOffset() const {
  const LinkTextureSet* picture = FirstPicture();
  switch (direction.Value()) {
    case 1:
      return picture != nullptr ? -picture->usedV : -1.0f;
    case 3:
      return picture != nullptr ? -picture->usedU : -1.0f;
    default:
      return extent;
  }
}

void DS_ScrollingTex::Restart() {
  ZKW_ParticleSystemCtrl::Restart();
  offset = StartOffset();
}

void DS_ScrollingTex::WriteQuad() {
  if (mech == nullptr || mech->batches.empty()) return;
  DX_V::PCT* v = mech->batches[0].LockVertices();
  if (v == nullptr) return;
  WriteCornerPositions(v);
  const LinkTextureSet* picture = FirstPicture();
  float a = picture != nullptr ? picture->usedU : 1.0f;
  float b = picture != nullptr ? picture->usedV : 1.0f;
  const D3DXVECTOR3& first = corners.corners[0].Value();
  const D3DXVECTOR3& last = corners.corners[3].Value();
  if (Vertical()) {
    if (picture != nullptr && picture->sourceHeight != 0)
      b *= (last.y - first.y) / static_cast<float>(picture->sourceHeight);
    extent = b;
  } else {
    if (picture != nullptr && picture->sourceWidth != 0)
      a *= (last.x - first.x) / static_cast<float>(picture->sourceWidth);
    extent = a;
  }
  const float uv[4][2] = {{0.0f, b}, {0.0f, 0.0f}, {a, b}, {a, 0.0f}};
  for (int i = 0; i < 4; ++i) {
    v[i].u = uv[i][0];
    v[i].v = uv[i][1];
  }
  mech->batches[0].UnlockVertices();
}

void DS_ScrollingTex::Update(float t) {
  speed.Advance(t);
  if (mech != nullptr && !mech->batches.empty()) {
    PCTSpriteArray& batch = mech->batches[0];
    if (DX_V::PCT* v = batch.LockVertices()) {
      mech->SetQuadColors(timing.TimelineValue(), v);
      batch.UnlockVertices();
    }
  }
  const ZKW_Timing* timeline = timing.Current();
  const float cycle = timeline != nullptr ? timeline->GetCycleLength() : 0.0f;
  if (cycle > 0.0f && !TimingHidden(timing)) {
    const LinkTextureSet* picture = FirstPicture();
    const float used = picture == nullptr      ? 1.0f
                       : direction.Value() > 1 ? picture->usedU
                                               : picture->usedV;
    scrollSpeed = -RatioOr0(used + extent, cycle);
    if (direction.Value() == 1 || direction.Value() == 3) scrollSpeed = -scrollSpeed;
    offset += speed.step * scrollSpeed;
  } else {
    ZKW_ParticleSystemCtrl::Restart();
    offset = StartOffset();
  }
}

void DS_ScrollingTex::Render(DS_2D_Light& /*renderer*/, int* /*readerCount*/) {
  DrawShadowed(Vertical() ? D3DXVECTOR2(0.0f, offset) : D3DXVECTOR2(offset, 0.0f));
}
