#include "particles/behaviour/particle/particle_record.h"

#include <algorithm>

#include "core/crt_rand.h"
#include "core/math/matrix_helpers.h"
#include "platform/math/d3dx_math.h"

namespace {

D3DXMATRIX Identity() {
  D3DXMATRIX m;
  D3DXMatrixIdentity(&m);
  return m;
}

D3DXMATRIX ScalingAbout(const D3DXVECTOR3& pivot, float s) {
  D3DXMATRIX m;
  ScalingAboutPivot(&m, &pivot, s, s, s);
  return m;
}

}  // namespace

ParticleRecord::ParticleRecord(const D3DXVECTOR3& position, DS_SafePtr<ParticleRecord> parentHandle)
    : parent(std::move(parentHandle)) {
  Reset();
  Position() = position;
}

void ParticleRecord::Reset() {
  std::fill(std::begin(floats), std::end(floats), 0.0f);
  floats[kScale] = 1.0f;
  floats[kAlpha] = 1.0f;
  floats[kRandom8] = crt_rand_unit();
  floats[kRandom7] = crt_rand_unit();
  BeginFrame();
  for (D3DXVECTOR3& v : vectors)
    v = D3DXVECTOR3(0, 0, 0);
  vectors[kDirection] = D3DXVECTOR3(0, 1, 0);
  vectors[kColour] = D3DXVECTOR3(1, 1, 1);
  vectors[kScaleXYZ] = D3DXVECTOR3(1, 1, 1);
  scaleMatrix = Identity();
  baseMatrix = Identity();
  birthMatrix = Identity();
  const float tex[4] = {0, 1, 0, 1}, preset[4] = {1, 1, 0, 0}, curveBlock[4] = {1, 1, 0, 1};
  std::copy(std::begin(tex), std::end(tex), texRect);
  std::copy(std::begin(tex), std::end(tex), atlasCell);
  std::copy(std::begin(preset), std::end(preset), presetCell);
  std::copy(std::begin(curveBlock), std::end(curveBlock), curve);
}

void ParticleRecord::BeginFrame() {
  previousWorld = WorldMatrix();
  rotationA = Identity();
  rotationB = Identity();
  vectors[kAcceleration] = D3DXVECTOR3(0, 0, 0);
  vectors[kPositionOffset] = D3DXVECTOR3(0, 0, 0);
  vectors[kScaleXYZ] = D3DXVECTOR3(1, 1, 1);
  floats[kScale] = 1.0f;
  floats[kAlpha] = 1.0f;
  floats[kAlong] = 0.0f;
  floats[kAcross] = 0.0f;
}

bool ParticleRecord::Update(float dt) {
  flags &= ~kJumped;
  if (const ParticleRecord* p = Parent(); p != nullptr && p->Has(kDead) && Has(kDiesWithParent)) {
    flags |= kDead;
    return false;
  }
  BeginFrame();
  flags &= ~kSamplesBackground;
  floats[kAge] += dt;
  for (const DS_SafePtr<ZKW_PtclTransform>& transform : transforms) {
    if (transform && !transform->Apply(dt, this)) flags |= kDead;
  }
  const D3DXVECTOR3& v = vectors[kVelocity];
  const float length = D3DXVec3Length(&v);
  vectors[kDirection] = length > 0.0f ? v / length : D3DXVECTOR3(0, 1, 0);
  scaleMatrix = ScalingAbout(WorldPosition(), floats[kScale]);
  // A top-level particle's scale matrix holds its own scale once.
  if (Parent() != nullptr) ComposeScaleMatrix(scaleMatrix);
  return !Has(kDead);
}

D3DXMATRIX ParticleRecord::WorldMatrix() const {
  // Scaling(s) x B x A x Translation(t), with the scaling and the translation applied in place
  // rather than as matrix products: s scales the rows of B x A, t adds to each row its w times t.
  D3DXMATRIX local = rotationB * rotationA;
  const float s = floats[kScale];
  const D3DXVECTOR3 t = vectors[kPosition] + vectors[kPositionOffset];
  for (int r = 0; r < 4; ++r) {
    if (r < 3)
      for (int c = 0; c < 4; ++c)
        local(r, c) *= s;
    const float w = local(r, 3);
    local(r, 0) += w * t.x;
    local(r, 1) += w * t.y;
    local(r, 2) += w * t.z;
  }
  return local * (Parent() != nullptr ? Parent()->WorldMatrix() : baseMatrix);
}

D3DXVECTOR3 ParticleRecord::OwnOffsetPosition() const {
  D3DXVECTOR3 q = vectors[kPosition];
  const D3DXVECTOR3& dir = vectors[kDirection];
  const float along = floats[kAlong], across = floats[kAcross];
  q.x += along * dir.x - across * dir.y;
  q.y += across * dir.x + along * dir.y;
  return q;
}

D3DXVECTOR3 ParticleRecord::WorldPosition() const {
  D3DXVECTOR3 q = OwnOffsetPosition();
  if (Has(kRelativeToParent) && Parent() != nullptr) q += Parent()->WorldPosition();
  return q;
}

D3DXVECTOR3 ParticleRecord::WorldOrigin() const {
  const D3DXVECTOR3 zero(0, 0, 0);
  const D3DXMATRIX world = WorldMatrix();
  D3DXVECTOR3 out;
  D3DXVec3TransformCoord(&out, &zero, &world);
  return out;
}

D3DXVECTOR3 ParticleRecord::WorldVelocity() const {
  return Parent() != nullptr ? vectors[kVelocity] + Parent()->WorldVelocity() : vectors[kVelocity];
}

float ParticleRecord::WorldScale() const {
  return Parent() != nullptr ? floats[kScale] * Parent()->WorldScale() : floats[kScale];
}

float ParticleRecord::WorldAlpha() const {
  const float own = Parent() != nullptr ? floats[kAlpha] * Parent()->WorldAlpha() : floats[kAlpha];
  return std::min(own, 1.0f);
}

bool ParticleRecord::IsTaggedInChain() const {
  for (const ParticleRecord* p = this; p != nullptr; p = p->Parent())
    if (p->Has(kJumped)) return true;
  return false;
}

void ParticleRecord::DetachFromParent() {
  if (Parent() == nullptr) return;
  baseMatrix = Parent()->WorldMatrix();
  parent.Release();
}

void ParticleRecord::ComposeScaleMatrix(D3DXMATRIX& m) const {
  const ParticleRecord* p = Parent();
  if (p == nullptr) {
    m = m * scaleMatrix;
  } else if (Has(kRelativeToParent)) {
    m = m * p->scaleMatrix;
  } else {
    D3DXMATRIX q = ScalingAbout(OwnOffsetPosition(), p->floats[kScale]);
    p->ComposeScaleMatrix(q);
    m = m * q;
  }
}

ParticleHandle MakeChildParticle(const ParticleHandle& parent) {
  return ParticleHandle(std::make_unique<ParticleRecord>(D3DXVECTOR3(0, 0, 0), parent));
}
