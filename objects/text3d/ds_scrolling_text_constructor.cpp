#include "objects/text3d/ds_scrolling_text_constructor.h"

#include <cmath>

#include "objects/text3d/text_link_rules.h"
#include "platform/gfx/effect/effect.h"

bool DS_ScrollingTextConstructor::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_ScrollingTextConstructor", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(scrollDivisor.Value());
  io.WriteInt32(direction.Value());
  io.WriteFloat(pictureHeight);
  io.WriteFloat(pictureWidth);
  return DS_StaticTextConstructor::Save(archive);
}

bool DS_ScrollingTextConstructor::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  DS_IOF_Virtual& io = archive.io();
  io.ReadUInt32(scrollDivisor.RawValue());
  io.ReadInt32(direction.RawValue());
  if (version >= 2) {
    io.ReadFloat(pictureHeight);
    io.ReadFloat(pictureWidth);
  }
  return DS_StaticTextConstructor::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<DS_ParticleSystemCtrl> DS_ScrollingTextConstructor::Clone() const {
  return std::make_unique<DS_ScrollingTextConstructor>(*this);
}

float DS_ScrollingTextConstructor::ShiftOfPhase(float phase) {
  float whole = 0.0f;
  const float f = std::modf(phase, &whole);
  return f > 0.0f ? 3.0f * f - 1.0f : 3.0f * f + 1.0f;
}

void DS_ScrollingTextConstructor::UpdateParticle(SpriteRecord& sprite) {
  DS_StaticTextConstructor::UpdateParticle(sprite);
  const bool vertical = direction.Value() < 2;
  if (TimingHidden(timing)) {
    horizontalPhase = verticalPhase = 0.0f;
  } else if (motionElapsed != phaseClock && scrollDivisor.Value() != 0) {
    const float step = motionStep / static_cast<float>(scrollDivisor.Value());
    switch (direction.Value()) {
      case 0:
        verticalPhase += step;
        break;
      case 1:
        verticalPhase -= step;
        break;
      case 2:
        horizontalPhase += step;
        break;
      case 3:
        horizontalPhase -= step;
        break;
      default:
        break;
    }
  }
  phaseClock = motionElapsed;
  verticalShift = vertical ? ShiftOfPhase(verticalPhase) : 0.0f;
  horizontalShift = vertical ? 0.0f : ShiftOfPhase(horizontalPhase);
  sprite.leftU = 0.0f;
  sprite.topV = 0.0f;
  const bool sized = pictureWidth != 0.0f && pictureHeight != 0.0f;
  sprite.rightU = sized ? static_cast<float>(width.Value()) / pictureWidth : 1.0f;
  sprite.bottomV = sized ? static_cast<float>(height.Value()) / pictureHeight : 1.0f;
}

bool DS_ScrollingTextConstructor::SetEffectParameters(DS_2D_Light& renderer,
                                                      ParticleGeomArray& sprites) {
  if (effect) {
    const float shift[2] = {horizontalShift, verticalShift};
    effect->SetFloatArray("Shift", shift, 2);
    effect->SetTechnique("ScrollText");
  }
  DrawSprites(renderer, sprites);
  return false;
}
