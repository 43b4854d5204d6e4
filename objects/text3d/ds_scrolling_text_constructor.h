#pragma once

#include <cstdint>
#include <memory>

#include "objects/text3d/ds_static_text_constructor.h"

// A sprite text whose picture scrolls through the sprite: vertically for directions 0 (one
// way) and 1 (the other), horizontally for 2 and 3. The sprite shows the part of the stored
// picture that fits its size.
//
// Two phases run on the motion clock while the timeline is not hidden, the active one by the
// motion step / the scroll divisor (a divisor of 0 leaves them still); a hidden timeline sets
// both to 0. The fraction f of the active phase gives the shift 3f - 1 for f > 0, 3f + 1
// otherwise, which technique "ScrollText" takes as "Shift" (x horizontal, y vertical): the
// picture is read at uv + Shift.
//
// Record "DS_ScrollingTextConstructor" version 2: UInt32 scroll divisor, Int32 direction, Float
// picture height, Float picture width (from version 2), then the whole "DS_StaticTextConstructor"
// record.
class DS_ScrollingTextConstructor : public DS_StaticTextConstructor {
 public:
  static constexpr uint32_t kVersion = 2;

  DS_ScrollingTextConstructor() = default;
  DS_ScrollingTextConstructor(const DS_ScrollingTextConstructor& other) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);
  std::unique_ptr<DS_ParticleSystemCtrl> Clone() const override;

  // The static text's sprite, the phases once per motion step, then the texture rectangle:
  // u from 0 to width / picture width, v from 0 to height / picture height (the whole picture
  // while a picture size is 0).
  void UpdateParticle(SpriteRecord& sprite) override;
  // Technique "ScrollText" with "Shift" and the picture; answers false.
  bool SetEffectParameters(DS_2D_Light& renderer, ParticleGeomArray& sprites) override;

  // The shift of a phase: 3f - 1 for a fraction f > 0, else 3f + 1.
  static float ShiftOfPhase(float phase);

  MediaParamT<unsigned> scrollDivisor{0};
  MediaParamT<int> direction{0};
  float pictureHeight = 0.0f;
  float pictureWidth = 0.0f;
  // The scroll state: the phases and the shifts they give.
  float horizontalPhase = 1.0f / 3.0f;
  float verticalPhase = 0.0f;
  float horizontalShift = 0.0f;
  float verticalShift = 0.0f;
  // The motion clock at the last phase step, so that the phases step once per frame whatever
  // the sprite count.
  float phaseClock = 0.0f;
};
