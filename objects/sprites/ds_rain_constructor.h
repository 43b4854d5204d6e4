#pragma once

#include <cstdint>
#include <memory>

#include "objects/sprites/ds_flow_constructor.h"

// Rain: a flow set up as falling drops (angle 270, speed 2000, turned with the flow) whose
// drops pulse in opacity and start again at a random point of the view when they fade below the
// pulse minimum.
//
// A drop's place at the edges is the bound controls' business as for any flow: their fade of a
// drop is kept apart from its pulse (the drop's own alpha factor, which alone is drawn), so that
// a drop that leaves the view wraps like a flow sprite instead of staying claimed by the control
// that saw it leave; a drop that starts again is free of every control.
//
// Record "DS_RainConstructor" version 1: no field of its own, then the "DS_FlowConstructor"
// record.
class DS_RainConstructor : public DS_FlowConstructor {
 public:
  static constexpr uint32_t kVersion = 1;

  DS_RainConstructor();
  DS_RainConstructor(const DS_RainConstructor& other) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  std::unique_ptr<DS_ParticleSystemCtrl> Clone() const override;
  // A new export block once the current one holds more than one frame.
  bool SplitExportBlock(int& frames) override;
  // As a flow sprite, with a random alpha factor, free of the controls; turned a further three
  // quarters when it turns with the flow, so that a drop drawn along x stands along the fall.
  void SpawnParticle(SpriteRecord& sprite) override;
  // The flow's motion and controls on the drop's edge fade, then the pulse (re-spawning).
  void UpdateParticle(SpriteRecord& sprite) override;

  // A turn about z by three quarters of a turn.
  D3DXMATRIX dropTurn;
};
