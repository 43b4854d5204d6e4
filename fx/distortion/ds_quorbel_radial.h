#pragma once

#include <cstdint>
#include <memory>

#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "fx/bases/ds_central_based.h"

// A radial ripple about the centre that travels with the phase, pushing the picture outwards or
// inwards, drawn through the grid over the mask quad.
class DS_QuorbelRadial : public DS_CentralBased {
 public:
  static constexpr uint32_t kVersion = 2;

  // Speed factor 0.1.
  DS_QuorbelRadial();

  // "DS_QuorbelRadial" version 2: amplitude, direction flag, then the "DS_CentralBased" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Version 1 holds no direction flag: it becomes 0.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // PrepareGridCentral.
  void Prepare(ComRef<gfx::Texture>* maskSlot) override { PrepareGridCentral(maskSlot); }
  // BindCenter, "Amplitude" = (amplitude, 0) outwards with the direction flag, else
  // (0, amplitude) inwards, "Shift" = the phase's fraction of a turn, then the grid binding.
  void Draw(DS_2D_Light& canvas) override;
  bool KindFlag() const override { return true; }
  std::unique_ptr<DS_FX_Constructor> Clone() const override {
    return std::make_unique<DS_QuorbelRadial>(*this);
  }

  // Scaled x 0.005.
  UINTSclaleTo<float> amplitude{0, 0.005f, 0.0f};
  MediaParamT<int> directionFlag{0};
};
