#include "objects/sprites/ds_flow_constructor.h"

#include <cmath>

#include "core/crt_rand.h"
#include "objects/sprites/sprite_preset_rules.h"
#include "platform/math/d3dx_math.h"

DS_FlowConstructor::DS_FlowConstructor() {
  timing.flags |= ZKW_SmartTiming::kKindMarker;
  tag = 1;
  frameEvent = false;
  D3DXMatrixIdentity(&directionMatrix);
  InstallControls();
  directionCallback_.WatchUnsigned(directionAngle, &DS_FlowConstructor::UpdateDirection);
}

DS_FlowConstructor::DS_FlowConstructor(const DS_FlowConstructor& other)
    : DS_IOF_Item(),
      DS_ParticleSystemCtrl(other),
      directionAngle(other.directionAngle),
      speed(other.speed),
      orientationMode(other.orientationMode),
      controls(other.controls) {
  wobbleAmplitude.SetValue(other.wobbleAmplitude.Value());
  wobbleFrequency.SetValue(other.wobbleFrequency.Value());
  D3DXMatrixIdentity(&directionMatrix);
  InstallControls();
  directionCallback_.WatchUnsigned(directionAngle, &DS_FlowConstructor::UpdateDirection);
}

// The direction callback goes first (it is the last member), then the controls.
DS_FlowConstructor::~DS_FlowConstructor() = default;

void DS_FlowConstructor::InstallControls() {
  for (int32_t side = 0; side < 4; ++side)
    controls[static_cast<size_t>(side)].Install(side, *this);
}

bool DS_FlowConstructor::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_FlowConstructor", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(directionAngle.Value());
  io.WriteUInt32(wobbleAmplitude.Value());
  io.WriteUInt32(wobbleFrequency.Value());
  io.WriteFloat(speed);
  io.WriteInt32(orientationMode.Value());
  for (const DS_BoundControl& control : controls)
    control.Save(archive);
  return DS_BaseSpriteProp::Save(archive);
}

bool DS_FlowConstructor::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  DS_IOF_Virtual& io = archive.io();
  io.ReadUInt32(directionAngle.RawValue());
  io.ReadUInt32(wobbleAmplitude.RawValue());
  io.ReadUInt32(wobbleFrequency.RawValue());
  io.ReadFloat(speed);
  if (version == 2) {
    int32_t turned = 0;
    io.ReadInt32(turned);
    orientationMode.RawValue() = turned != 0 ? 1 : 0;
  } else if (version >= 3) {
    io.ReadInt32(orientationMode.RawValue());
  }
  if (version >= 4) {
    for (DS_BoundControl& control : controls)
      control.Read(archive);
  }
  return DS_BaseSpriteProp::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<ZKW_RenderObj> DS_FlowConstructor::CreateRuntimeObject() {
  return MakeSpriteArrayObject(*this);
}

std::unique_ptr<DS_ParticleSystemCtrl> DS_FlowConstructor::Clone() const {
  return std::make_unique<DS_FlowConstructor>(*this);
}

bool DS_FlowConstructor::SplitExportBlock(int& /*frames*/) {
  return SplitOnFrameEvent(*this);
}

int DS_FlowConstructor::ParticleCount() {
  return FadingParticleCount(*this);
}

uint32_t DS_FlowConstructor::ApplyOpacity(uint32_t colour) {
  return FadingOpacity(*this, colour);
}

void DS_FlowConstructor::UpdateDirection(unsigned angle) {
  const int64_t degrees = int64_t{360} - int64_t{angle};
  D3DXMatrixRotationZ(&directionMatrix, static_cast<float>(degrees) * 3.1415927f / 180.0f);
  const D3DXVECTOR4 along(speed, 0, 0, 0), across(0, 1, 0, 0);
  D3DXVec4Transform(&flowVector, &along, &directionMatrix);
  D3DXVec4Transform(&crossVector, &across, &directionMatrix);
}

void DS_FlowConstructor::InitSprite(SpriteRecord& sprite) const {
  ApplyHalfSize(sprite);
  sprite.colour = SpriteColour(sprite.alphaFactor);
  if (orientationMode.Value() == 1) {
    const D3DXVECTOR3 x(1, 0, 0), y(0, 1, 0);
    D3DXVec3TransformCoord(&sprite.axis1, &x, &directionMatrix);
    D3DXVec3TransformCoord(&sprite.axis2, &y, &directionMatrix);
  } else if (orientationMode.Value() == 0) {
    sprite.axis1 = D3DXVECTOR3(1, 0, 0);
    sprite.axis2 = D3DXVECTOR3(0, 1, 0);
  }
}

void DS_FlowConstructor::SpawnParticle(SpriteRecord& sprite) {
  sprite.velocity.z = crt_rand_unit() * 2.0f - 1.0f;
  RandomPointInView(sprite.centre);
  sprite.directionSigns = D3DXVECTOR3(1, 1, 0);
  sprite.velocity.x = sprite.velocity.y = 0.0f;
  InitSprite(sprite);
}

void DS_FlowConstructor::UpdateParticle(SpriteRecord& sprite) {
  const float wobble = sprite.velocity.z * wobbleAmplitude.FloatValue();
  const float vx =
      (flowVector.x * sprite.directionSigns.x + crossVector.x * wobble) * sprite.sizeFactor;
  const float vy =
      (flowVector.y * sprite.directionSigns.y + crossVector.y * wobble) * sprite.sizeFactor;
  if (sprite.waiting == 0) {
    sprite.centre.x += motionStep * vx;
    sprite.centre.y += motionStep * vy;
  }
  for (DS_BoundControl& control : controls)
    if (control.Test(sprite, *this)) break;
  frameEvent = frameEvent || sprite.waiting != 0;
  if (orientationMode.Value() == 2) {
    sprite.axis1 = D3DXVECTOR3(std::signbit(vx) ? -1.0f : 1.0f, 0, 0);
    sprite.axis2 = D3DXVECTOR3(0, 1, 0);
  } else if (orientationMode.Value() == 3) {
    sprite.axis1 = D3DXVECTOR3(1, 0, 0);
    sprite.axis2 = D3DXVECTOR3(0, std::signbit(vy) ? -1.0f : 1.0f, 0);
  }
  // A frequency of 0 never draws again: the wobble of the spawn stays.
  const float frequency = wobbleFrequency.FloatValue();
  if (frequency > 0.0f && motionElapsed - sprite.eventTime > 1.0f / frequency) {
    sprite.eventTime = motionElapsed;
    if (crt_rand() % 2 == 1) sprite.velocity.z = crt_rand_unit() * 2.0f - 1.0f;
  }
  sprite.colour = SpriteColour(sprite.alphaFactor);
}
