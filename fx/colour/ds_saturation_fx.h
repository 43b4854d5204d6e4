#pragma once

#include <cstdint>
#include <memory>

#include "fx/colour/ds_saturation_wave_fx.h"

// Saturates (or desaturates) the mask quad as a whole, pulsing by the wave of its sweep mode:
// a saturation wave whose band has no width and stands beyond the target, so that its hard
// edge leaves the whole quad on its saturated side (for the default direction). Its run-time
// copy keeps the class, so that its own Tick runs.
class DS_SaturationFX : public DS_SaturationWaveFX {
 public:
  static constexpr uint32_t kVersion = 1;

  // The saturation wave's defaults with band width 0 and speed factor 0.1.
  DS_SaturationFX();

  // "DS_SaturationFX" version 1, no fields, then the whole "DS_SaturationWaveFX" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // The "DS_SaturationWaveFX" header, then its body.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The phase step; level = saturation level x w x the timeline value, w being 1 in sweep mode 0
  // and otherwise the wave of type mode + 1 brought to 0..1 ((wave - 1) x -0.5, so 1 where the
  // wave is -1); the band at (target width, 0). The saturate flag stays as it is.
  void Tick(float time) override;
  std::unique_ptr<DS_FX_Constructor> Clone() const override {
    return std::make_unique<DS_SaturationFX>(*this);
  }
};
