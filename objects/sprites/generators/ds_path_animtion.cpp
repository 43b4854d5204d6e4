#include "objects/sprites/generators/ds_path_animtion.h"

#include "core/param/param_reads.h"
#include "core/scene/scene_services.h"
#include "objects/sprites/generators/ds_particles_obj.h"
#include "objects/sprites/generators/generator_quads.h"
#include "platform/math/d3dx_math.h"

bool DS_PathGenerator::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_PathGenerator", kVersion);
  WriteSmartPointVector(archive, path.Value());
  return DS_TexParticleGenerator::Save(archive);
}

bool DS_PathGenerator::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  ReadSmartPointVector(archive, path.RawValue());
  return DS_TexParticleGenerator::ReadBody(archive, ReadBaseHeader(archive));
}

DS_PathAnimtion::DS_PathAnimtion() {
  pathSpeed.SetScale(3.0f, 0.0f);
  frameSpeed.SetValue(100);
  frameSpeed.SetScale(0.01f, 0.0f);
}

bool DS_PathAnimtion::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_PathAnimtion", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(pathSpeed.Value());
  io.WriteUInt32(pictureScale.Value());
  io.WriteInt32(orientationMode.Value());
  io.WriteInt32(verticalFlip.Value());
  io.WriteInt32(horizontalFlip.Value());
  io.WriteUInt32(frameSpeed.Value());
  return DS_PathGenerator::Save(archive);
}

bool DS_PathAnimtion::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  DS_IOF_Virtual& io = archive.io();
  ReadChangedUInt32(archive, pathSpeed);
  ReadChangedUInt32(archive, pictureScale);
  io.ReadInt32(orientationMode.RawValue());
  io.ReadInt32(verticalFlip.RawValue());
  io.ReadInt32(horizontalFlip.RawValue());
  if (version > 1) ReadChangedUInt32(archive, frameSpeed);
  return DS_PathGenerator::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<DS_ParticleGenerator> DS_PathAnimtion::Clone() const {
  return std::make_unique<DS_PathAnimtion>(*this);
}

void DS_PathAnimtion::AttachRuntimeObject(DS_ParticlesObj& obj) {
  if (keepGuid == 0) {
    float w = 0.0f, h = 0.0f;
    CurrentTargetSize(w, h);
    path.RawValue().clear();
    DX_SmartPnt point;
    point.SetValueSilently(D3DXVECTOR3(w / 3.0f, h / 2.0f, 0.0f));
    path.AppendPoint(point, nullptr);
    point.SetValueSilently(D3DXVECTOR3(2.0f * (w / 3.0f), h / 2.0f, 0.0f));
    path.AppendPoint(point, nullptr);
  }
  DS_TexParticleGenerator::AttachRuntimeObject(obj);
  sources.clear();
  obj.SetLayerCount(1);
  path.Rebuild();
  path.cursor = PathCursor{};
  path.cursor.direction = D3DXVECTOR3(0, 0, 0);
  const auto& positions = path.Positions();
  currentPosition = positions.empty() ? D3DXVECTOR3(0, 0, 0) : positions.front();
  previousPosition = currentPosition;
}

void DS_PathAnimtion::Update(float t, DS_ParticlesObj& obj) {
  Step(pathSpeed, t);
  Step(frameSpeed, t);
  if (!textures.empty()) textures[0].Advance(frameSpeed.localTime);
  FillQuad(obj);
}

void DS_PathAnimtion::AdvanceAlongPath() {
  previousPosition = currentPosition;
  path.cursor.distance += pathSpeed.step;
  path.StepAlongPoints(&currentPosition);
}

void DS_PathAnimtion::Render(DS_2D_Light& renderer, DS_ParticlesObj& obj) {
  RenderSingleLayer(renderer, obj);
}

void DS_PathAnimtion::FillQuad(DS_ParticlesObj& obj) {
  // Without a picture or a point to stand on there is nothing to show.
  const bool shown = !textures.empty() && !path.Positions().empty();
  obj.SetQuadCount(0, shown ? 1 : 0);
  if (!shown || !obj.LockLayer(0)) return;
  const float w = static_cast<float>(textures[0].width) * pictureScale.Scaled();
  const float h = static_cast<float>(textures[0].height) * pictureScale.Scaled();
  AdvanceAlongPath();
  const D3DXVECTOR3& c = currentPosition;
  QuadVertices quad;
  if (orientationMode.Value() == 1) {
    D3DXVECTOR3 n = currentPosition - previousPosition;
    // Standing still, the picture keeps the way of its segment.
    if (!(D3DXVec3Length(&n) > 0.0f)) n = path.cursor.direction;
    D3DXVec3Normalize(&n, &n);
    MakeOrientedQuad(quad, c, n * w, D3DXVECTOR3(n.y, -n.x, 0.0f) * h, 1.0f);
  } else {
    MakeSpriteQuad(quad, c.x, c.y, c.z, w, h);
  }
  bool mirror = horizontalFlip.Value() != 0;
  bool upsideDown = verticalFlip.Value() != 0;
  if (orientationMode.Value() == 2 && !(currentPosition.x > previousPosition.x)) mirror = !mirror;
  if (orientationMode.Value() == 3 && currentPosition.y > previousPosition.y)
    upsideDown = !upsideDown;
  for (DX_V::PCT& v : quad) {
    if (mirror) v.u = 1.0f - v.u;
    if (upsideDown) v.v = 1.0f - v.v;
  }
  ColourQuad(quad, colour1, 1.0f);
  obj.WriteQuad(0, 0, quad);
  obj.UnlockLayer(0);
}
