#include "objects/sprites/generators/ds_aurora.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <type_traits>

#include "core/list_limits.h"
#include "core/param/param_reads.h"
#include "objects/sprites/generators/ds_particles_obj.h"
#include "platform/math/d3dx_math.h"

namespace {

// sin(u / length + clock), in double precision on the float argument.
float Wave(float u, float length, float clock) {
  return static_cast<float>(std::sin(static_cast<double>(u / length + clock)));
}

// The eleven stored values in record order.
template <class Aurora>
auto StoredValues(Aurora& a) {
  using Value = std::conditional_t<std::is_const_v<Aurora>, const MediaParamT<unsigned>,
                                   MediaParamT<unsigned>>;
  return std::array<Value*, 11>{&a.curtainHeight, &a.stretchSpeed, &a.stretchAmount,
                                &a.stretchLength, &a.glowSpeed,    &a.glowAmount,
                                &a.glowLength,    &a.swaySpeed,    &a.swayAmount,
                                &a.swayLength,    &a.swayDirection};
}

}  // namespace

DS_Aurora::DS_Aurora() {
  for (MediaSpeedParam* clock : {&stretchSpeed, &glowSpeed, &swaySpeed})
    clock->SetFactor(0.03f);
}

bool DS_Aurora::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_Aurora", kVersion);
  for (const MediaParamT<unsigned>* value : StoredValues(*this))
    archive.io().WriteUInt32(value->Value());
  return DS_AirBrush::Save(archive);
}

bool DS_Aurora::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  // Told of the change, so that the scaled values follow.
  for (MediaParamT<unsigned>* value : StoredValues(*this))
    ReadChangedUInt32(archive, *value);
  return DS_AirBrush::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<DS_ParticleGenerator> DS_Aurora::Clone() const {
  return std::make_unique<DS_Aurora>(*this);
}

void DS_Aurora::AddParticle(const D3DXVECTOR3& position, float /*a*/, float /*b*/, float /*c*/,
                            float /*d*/) {
  if (dabs.size() < kMaxParticlesPerList) dabs.emplace_back(position);
}

void DS_Aurora::AttachRuntimeObject(DS_ParticlesObj& obj) {
  DS_TexParticleGenerator::AttachRuntimeObject(obj);
  obj.SetLayerCount(1);
  CreateMaskTarget();
}

void DS_Aurora::Update(float t, DS_ParticlesObj& /*obj*/) {
  Step(stretchSpeed, t);
  Step(glowSpeed, t);
  Step(swaySpeed, t);
  FillLayer();
}

void DS_Aurora::Render(DS_2D_Light& renderer, DS_ParticlesObj& obj) {
  RenderJoinMask(0, renderer, obj);
  ApplyBlendMode(renderer);
}

void DS_Aurora::FillLayer() {
  DS_ParticlesObj* obj = runtimeObject;
  if (obj == nullptr) return;
  obj->SetQuadCount(0, static_cast<unsigned>(std::min<size_t>(dabs.size(), kMaxParticlesPerList)));
  if (!obj->LockLayer(0)) return;
  D3DXMATRIX turn;
  D3DXMatrixRotationZ(&turn, static_cast<float>(swayDirection.Value()) * 3.14159265f / 180.0f);
  const D3DXVECTOR3 across(1.0f, 0.0f, 0.0f);
  D3DXVECTOR3 sideways;
  D3DXVec3TransformCoord(&sideways, &across, &turn);
  const float width = static_cast<float>(size.Value());
  const float height = static_cast<float>(curtainHeight.Value());
  unsigned i = 0;
  for (GeneratorParticle& dab : dabs) {
    const float u = dab.channels[GeneratorParticle::kLife];
    const float stretch =
        Wave(u, stretchLength.Scaled(), stretchSpeed.localTime) * stretchAmount.Scaled() + 1.0f;
    const float glow =
        Wave(u, glowLength.Scaled(), glowSpeed.localTime) * glowAmount.Scaled() + 1.0f;
    const float sway = Wave(u, swayLength.Scaled(), swaySpeed.localTime) * swayAmount.Scaled();
    const D3DXVECTOR3 home = dab.position;
    dab.position += sideways * sway;
    obj->WriteOrientedQuad(i++, dab, width, height * stretch, glow, colour1);
    dab.position = home;
  }
  obj->UnlockLayer(0);
}
