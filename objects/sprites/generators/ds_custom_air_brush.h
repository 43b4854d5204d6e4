#pragma once

#include <cstdint>
#include <memory>

#include "core/link/ds_file_link.h"
#include "core/param/media_speed_param.h"
#include "objects/sprites/generators/ds_air_brush.h"
#include "player/document/image_texture_set.h"

// Dabs of an animated picture of its own: the quads are written once when the run-time object
// is attached, and only the picture's frames cycle afterwards, on the frame clock.
//
// Record "DS_CustomAirBrush" version 1: the own picture (name, Int64 id), frame speed (UInt32),
// then the "DS_AirBrush" record.
class DS_CustomAirBrush : public DS_AirBrush {
 public:
  static constexpr uint32_t kVersion = 1;

  DS_CustomAirBrush();
  DS_CustomAirBrush(const DS_CustomAirBrush& other) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // Layer 0 through the mask with the own picture's current frame.
  void Render(DS_2D_Light& renderer, DS_ParticlesObj& obj) override;
  // The frame clock, and the own picture's frame by its delays on that clock.
  void Update(float t, DS_ParticlesObj& obj) override;
  // The base attach, one layer, the mask, the own picture's frames (their aspect becomes the
  // dabs'), then the quads.
  void AttachRuntimeObject(DS_ParticlesObj& obj) override;
  std::unique_ptr<DS_ParticleGenerator> Clone() const override;

  DS_ImageFileLink ownPicture;
  MediaSpeedParam frameSpeed;  // x 0.01
  TextureFrameSet ownFrames;
};
