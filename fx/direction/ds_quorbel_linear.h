#pragma once

#include <cstdint>
#include <memory>

#include "fx/bases/ds_direction_based.h"

// A travelling ripple along the direction: the picture is pushed to and fro along it by the base
// strength, the ripple moving on by one wave a turn of the phase. Drawn through the grid over the
// mask quad in mode 0. The record names the effect.
class DS_QuorbelLinear : public DS_DirectionBased {
 public:
  static constexpr uint32_t kVersion = 1;

  // Speed factor 0.1, base strength factor 0.002.
  DS_QuorbelLinear();

  // "DS_QuorbelLinear" version 1: no fields, then the "DS_DirectionBased" record.
  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The base's, then the grid over the mask quad.
  void Prepare(ComRef<gfx::Texture>* maskSlot) override { PrepareGrid(maskSlot); }
  // BindScale; "Direction" = direction x base strength, "Shift" = the phase's fraction of a
  // turn; the grid binding.
  void Draw(DS_2D_Light& canvas) override;
  bool KindFlag() const override { return true; }
  std::unique_ptr<DS_FX_Constructor> Clone() const override {
    return std::make_unique<DS_QuorbelLinear>(*this);
  }
};
