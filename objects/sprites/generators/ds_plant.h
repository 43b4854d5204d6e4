#pragma once

#include <cstdint>
#include <memory>

#include "core/param/media_speed_param.h"
#include "core/param/scaled_param.h"
#include "objects/sprites/generators/ds_single_rect_gn.h"

// A picture on the rectangle that sways like a plant in the wind: its effect's "Main" bends it
// about its bottom edge by the plant's own clock, frequency and the two magnitudes.
//
// Record "DS_Plant" version 1: speed, frequency, sway magnitude, bend magnitude (UInt32,
// stored), then the "DS_SingleRectGN" record.
class DS_Plant : public DS_SingleRectGN {
 public:
  static constexpr uint32_t kVersion = 1;

  DS_Plant();
  DS_Plant(const DS_Plant& other) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // "Main" with the current frame of picture 0, the clock's local time, the scaled values and
  // "color" white, its alpha the timeline value in time mode 1.
  void Render(DS_2D_Light& renderer, DS_ParticlesObj& obj) override;
  // Only the plant's clock advances.
  void Update(float t, DS_ParticlesObj& obj) override;
  std::unique_ptr<DS_ParticleGenerator> Clone() const override;

  MediaSpeedParam plantSpeed;                          // x 0.02
  UINTSclaleTo<float> frequency{0, 0.1f, 0.0f};        // "Frequency"
  UINTSclaleTo<float> swayMagnitude{0, 0.002f, 0.0f};  // "WMagnitude"
  UINTSclaleTo<float> bendMagnitude{0, 0.002f, 0.0f};  // "BMagnitude"
};
