#pragma once

#include <cstdint>
#include <memory>

#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "fx/bases/ds_central_based.h"

// Bends the picture about the centre: a turn by an angle that fades with the distance from the
// centre, steady or swinging between two angles, drawn through the grid over the mask quad.
class DS_BendFX : public DS_CentralBased {
 public:
  static constexpr uint32_t kVersion = 2;

  // Speed factor 0.02.
  DS_BendFX();

  // "DS_BendFX" version 2: bend angles A and B, bend strength, swing mode, then the
  // "DS_CentralBased" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // A version-1 swing mode is 3 lower than now: it is raised by 3.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // PrepareGridCentral.
  void Prepare(ComRef<gfx::Texture>* maskSlot) override { PrepareGridCentral(maskSlot); }
  // The phase step, then turn = swing mode 0: -A, 1: +A, else the wave of that type swinging
  // between A and -B.
  void Tick(float time) override;
  // BindCenter, "Angle" = turn x the timeline value, "Bend" = the strength, then the grid
  // binding.
  void Draw(DS_2D_Light& canvas) override;
  bool KindFlag() const override { return true; }
  std::unique_ptr<DS_FX_Constructor> Clone() const override {
    return std::make_unique<DS_BendFX>(*this);
  }

  // Scaled x 0.002 (radians).
  UINTSclaleTo<float> bendAngleA{0, 0.002f, 0.0f};
  UINTSclaleTo<float> bendAngleB{0, 0.002f, 0.0f};
  // Scaled x 0.02: how fast the turn fades with the distance from the centre.
  UINTSclaleTo<float> bendStrength{0, 0.02f, 0.0f};
  MediaParamT<int> swingMode{0};
  // Radians, from Tick.
  float turn = 0.0f;
};
