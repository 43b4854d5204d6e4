#pragma once

#include <cstdint>
#include <memory>

#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "fx/bases/ds_central_based.h"

// Swirls the picture about the centre on a tilted ellipse, the swirl travelling with the phase,
// drawn through the grid over the mask quad. It does not follow the target point.
class DS_QuorbelVortical : public DS_CentralBased {
 public:
  static constexpr uint32_t kVersion = 1;

  // Speed factor 0.1.
  DS_QuorbelVortical();

  // "DS_QuorbelVortical" version 1: ellipse deformation, ellipse tilt, reverse flag, amplitude,
  // then the "DS_CentralBased" record.
  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // PrepareGridCentral.
  void Prepare(ComRef<gfx::Texture>* maskSlot) override { PrepareGridCentral(maskSlot); }
  // BindCenter, "r_matrix2" and "r_matrix3" (turns by the tilt and back), "ElipsDeform",
  // "Amplitude" (negated when the reverse flag is 1), "Shift" = the phase's fraction of a turn,
  // then the grid binding.
  void Draw(DS_2D_Light& canvas) override;
  std::unique_ptr<DS_FX_Constructor> Clone() const override {
    return std::make_unique<DS_QuorbelVortical>(*this);
  }

  // Scaled x 0.001.
  UINTSclaleTo<float> ellipseDeformation{0, 0.001f, 0.0f};
  // Degrees.
  MediaParamT<unsigned> ellipseTilt{0};
  MediaParamT<int> reverseFlag{0};
  // Scaled x 0.005.
  UINTSclaleTo<float> amplitude{0, 0.005f, 0.0f};
};
