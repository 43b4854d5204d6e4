#pragma once

#include <cstdint>
#include <memory>

#include "core/param/media_param_t.h"
#include "core/param/media_speed_param.h"
#include "objects/sprites/generators/ds_single_rect_gn.h"

// An animated picture on the rectangle, its frames played forwards or backwards on a frame clock
// of its own, drawn through its effect ("Blend_Normal") with colour 1 whose opacity follows the
// timeline. A new description links the built-in effect 116.
//
// Record "DS_StaticAnimation" version 1: frame speed (UInt32, stored), reverse flag (Int32),
// then the "DS_SingleRectGN" record.
class DS_StaticAnimation : public DS_SingleRectGN {
 public:
  static constexpr uint32_t kVersion = 1;

  DS_StaticAnimation();
  DS_StaticAnimation(const DS_StaticAnimation& other) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The quad with the current frame of picture 0 through "Blend_Normal"; nothing without the
  // effect or the picture.
  void Render(DS_2D_Light& renderer, DS_ParticlesObj& obj) override;
  // The frame clock and picture 0's frame by its delays, stepped down when reversed.
  void Update(float t, DS_ParticlesObj& obj) override;
  std::unique_ptr<DS_ParticleGenerator> Clone() const override;

  MediaSpeedParam frameSpeed;  // x 0.01
  MediaParamT<int> reverse{0};
};
