#pragma once

#include <memory>

#include "core/scene/ds_abobj.h"
#include "objects/sprites/ds_stat_base_fx_ctrl.h"
#include "objects/sprites/particle_geom_array.h"

// The run-time object of the static FX presets: owns the preset's clone, keeps its sprites and
// quads, and draws them through the preset's effect once the preset has set the effect's
// parameters for the frame.
class DS_FXObj : public DS_ABObj, public ParticleGeomArray {
 public:
  // Takes the clone, makes the sprites and prepares the preset's effect.
  explicit DS_FXObj(std::unique_ptr<DS_StatBaseFXCtrl> preset);
  ~DS_FXObj() override;

  // The preset's parameters, then the sprites with its effect when it asks for that.
  void Draw(DS_2D_Light& renderer) override;
  // The clocks and sprites, then the vertices.
  void Update(float localTime) override;
  void ExportSpriteFrames(SpriteExportState& state, bool last) override;

  DS_StatBaseFXCtrl& FXPreset() const { return *preset_; }

 private:
  DS_StatBaseFXCtrl* preset_;
};
