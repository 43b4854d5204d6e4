#include "objects/sprites/generators/ds_radial_rays.h"

#include <cmath>

#include "core/crt_rand.h"
#include "core/float_to_int.h"
#include "core/list_limits.h"
#include "core/param/param_reads.h"
#include "objects/sprites/generators/ds_particles_obj.h"
#include "platform/math/d3dx_math.h"

DS_RadialRays::DS_RadialRays() {
  raySpeed.SetScale(0.02f, 0.0f);
  D3DXMatrixIdentity(&rotation);
}

bool DS_RadialRays::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_RadialRays", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(rayLength.Value());
  io.WriteUInt32(rayWidth.Value());
  io.WriteUInt32(rayCount.Value());
  io.WriteInt32(pictureIndex.Value());
  io.WriteInt32(random.Value());
  io.WriteUInt32(seed.Value());
  io.WriteUInt32(jitter.Value());
  io.WriteUInt32(raySpeed.Value());
  io.WriteInt32(rotationMode.Value());
  io.WriteUInt32(timelineDepth.Value());
  io.WriteUInt32(swingAmplitude.Value());
  return DS_StaticGenerator::Save(archive);
}

bool DS_RadialRays::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  DS_IOF_Virtual& io = archive.io();
  io.ReadUInt32(rayLength.RawValue());
  io.ReadUInt32(rayWidth.RawValue());
  io.ReadUInt32(rayCount.RawValue());
  io.ReadInt32(pictureIndex.RawValue());
  io.ReadInt32(random.RawValue());
  io.ReadUInt32(seed.RawValue());
  ReadChangedUInt32(archive, jitter);
  ReadChangedUInt32(archive, raySpeed);
  io.ReadInt32(rotationMode.RawValue());
  ReadChangedUInt32(archive, timelineDepth);
  ReadChangedUInt32(archive, swingAmplitude);
  return DS_StaticGenerator::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<DS_ParticleGenerator> DS_RadialRays::Clone() const {
  return std::make_unique<DS_RadialRays>(*this);
}

void DS_RadialRays::AttachRuntimeObject(DS_ParticlesObj& obj) {
  DS_StaticGenerator::AttachRuntimeObject(obj);
  CreateMaskTarget();
  obj.SetLayerCount(1);
  BuildRays(obj);
}

void DS_RadialRays::Update(float t, DS_ParticlesObj& /*obj*/) {
  Step(raySpeed, t);
  const float local = raySpeed.localTime;
  float angle = local;
  if (rotationMode.Value() == 1) angle = -local;
  if (rotationMode.Value() == 2)
    angle = static_cast<float>(std::sin(static_cast<double>(local))) * swingAmplitude.Scaled();
  D3DXMatrixRotationZ(&rotation, angle);
}

void DS_RadialRays::Render(DS_2D_Light& renderer, DS_ParticlesObj& obj) {
  BuildRays(obj);
  const int index = pictureIndex.Value();
  RenderBlendMask(renderer, obj, index >= 0 ? PictureTexture(static_cast<size_t>(index)) : nullptr);
}

void DS_RadialRays::BuildRays(DS_ParticlesObj& obj) {
  const int s0 = crt_rand();
  const bool jittered = random.Value() != 0;
  if (jittered) crt_srand(seed.Value());
  const unsigned n = std::min(rayCount.Value(), kMaxParticlesPerList);
  obj.SetQuadCount(0, n);
  if (n > 0 && obj.LockLayer(0)) {
    float length = static_cast<float>(rayLength.Value());
    float width = static_cast<float>(rayWidth.Value());
    float alpha = static_cast<float>(colour1.alpha.Scaled());
    const float d = timelineDepth.Scaled();
    const float k = (1.0f - d) * timing.TimelineValue() + d;
    if (timing.timeMode.Value() == 0) {
      length *= k;
      width *= k;
    } else if (timing.timeMode.Value() == 1) {
      alpha = static_cast<float>(SaturatingTruncate<int>(alpha * k));
    }
    const D3DXVECTOR3 first(length, 0.0f, 0.0f);
    D3DXVECTOR3 direction;
    D3DXVec3TransformCoord(&direction, &first, &rotation);
    const float step = 6.2831855f / static_cast<float>(n);
    D3DXMATRIX turn;
    D3DXMatrixRotationZ(&turn, step);
    const float j = jitter.Scaled();
    const D3DXVECTOR3 centre = position.Value();
    for (unsigned i = 0; i < n; ++i) {
      float f = 1.0f;
      if (jittered) f = j + crt_rand_unit() * (1.0f - j);
      const D3DXVECTOR3 along = direction * f;
      QuadVertices quad;
      MakeSegmentQuad(D3DXVec3Length(&along), quad, centre, along, f * width, f * width);
      const float uv[4][2] = {{0.01f, 0.99f}, {0.01f, 0.01f}, {0.99f, 0.99f}, {0.99f, 0.01f}};
      for (int v = 0; v < 4; ++v) {
        quad[v].u = uv[v][0];
        quad[v].v = uv[v][1];
      }
      SetQuadVertexColors(colour1.Value(), alpha, quad.data());
      if (jittered)
        D3DXMatrixRotationZ(&turn, crt_rand_unit() * ((2.0f - j) * step - j * step) + j * step);
      const D3DXVECTOR3 before = direction;
      D3DXVec3TransformCoord(&direction, &before, &turn);
      obj.WriteQuad(0, i, quad);
    }
    obj.UnlockLayer(0);
  }
  if (jittered) crt_srand(static_cast<unsigned>(s0));
}
