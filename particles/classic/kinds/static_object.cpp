#include "particles/classic/kinds/static_object.h"

#include "core/param/param_reads.h"
#include "particles/classic/control/particle_system_mech.h"
#include "platform/math/d3dx_math.h"

namespace {

// The appearance's first frame sequence, null without one.
const LinkTextureSet* FirstFrames(const ParticleAppearance& look) {
  return look.frames.empty() ? nullptr : &look.frames.front();
}

}  // namespace

bool ZKW_SingleParticle::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_SingleParticle", kVersion);
  WriteMediaQuad(archive, corners);
  return ZKW_ParticleSystemCtrl::Save(archive);
}

bool ZKW_SingleParticle::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadMediaQuad(archive, corners);
  return ZKW_ParticleSystemCtrl::ReadBody(archive, ReadBaseHeader(archive));
}

void ZKW_SingleParticle::AttachRuntimeObject(ZKW_ParticleSystemMech* runtime) {
  AttachWithBatches(runtime, 1);
  if (runtime != nullptr) runtime->SetBatchQuadCount(0, 1, FirstFrames(appearance), &appearance);
  WriteQuad();
}

void ZKW_SingleParticle::WriteQuad() {
  if (mech == nullptr || mech->batches.empty()) return;
  DX_V::PCT* v = mech->batches[0].LockVertices();
  if (v == nullptr) return;
  WriteCornerPositions(v);
  mech->batches[0].UnlockVertices();
  mech->FillBatchUVs(0, FirstFrames(appearance), &appearance);
}

void ZKW_SingleParticle::WriteCornerPositions(DX_V::PCT* v) const {
  static constexpr int kCornerOfVertex[4] = {1, 0, 3, 2};
  for (int i = 0; i < 4; ++i) {
    const D3DXVECTOR3& at = corners.corners[kCornerOfVertex[i]].Value();
    v[i].x = at.x;
    v[i].y = at.y;
    v[i].z = at.z;
  }
}

ZKW_StaticObject::ZKW_StaticObject() {
  spinSpeed.SetScale(0.4f, 0.0f);
}

bool ZKW_StaticObject::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_StaticObject", kVersion);
  archive.io().WriteUInt32(spinSpeed.Value());
  archive.io().WriteInt32(spinDirection.Value());
  return ZKW_SingleParticle::Save(archive);
}

bool ZKW_StaticObject::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadChangedUInt32(archive, spinSpeed);
  archive.io().ReadInt32(spinDirection.RawValue());
  return ZKW_SingleParticle::ReadBody(archive, ReadBaseHeader(archive));
}

void ZKW_StaticObject::Update(float t) {
  appearance.Tick(t);
  if (mech == nullptr || mech->batches.empty()) return;
  PCTSpriteArray& batch = mech->batches[0];
  if (DX_V::PCT* v = batch.LockVertices()) {
    mech->SetQuadColors(Visibility(), v);
    batch.UnlockVertices();
  }
  if (spinSpeed.Value() != 0) {
    spinSpeed.Advance(t);
    angle += spinDirection.Value() == 0 ? spinSpeed.step : -spinSpeed.step;
  } else {
    angle = 0.0f;
  }
  const D3DXVECTOR3& first = corners.corners[0].Value();
  const D3DXVECTOR3& last = corners.corners[3].Value();
  const float mx = (first.x + last.x) * 0.5f, my = (first.y + last.y) * 0.5f;
  D3DXMATRIX toMiddle, turn, back;
  D3DXMatrixTranslation(&toMiddle, -mx, -my, 0.0f);
  D3DXMatrixRotationZ(&turn, angle * 2.0f * 3.1415927f / 360.0f);
  D3DXMatrixTranslation(&back, mx, my, 0.0f);
  const D3DXMATRIX spin = toMiddle * turn * back;
  batch.node.UpdateWorld(&spin);
}

std::unique_ptr<ZKW_ParticleSystemCtrl> ZKW_StaticObject::Clone() const {
  return std::make_unique<ZKW_StaticObject>(*this);
}
