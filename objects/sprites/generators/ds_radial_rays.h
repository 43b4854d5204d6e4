#pragma once

#include <cstdint>
#include <memory>

#include "core/param/media_param_t.h"
#include "core/param/media_speed_param.h"
#include "core/param/scaled_param.h"
#include "objects/sprites/generators/ds_static_generator.h"
#include "platform/math/d3dx_types.h"

// A fan of textured rays from the position, all around it, turning one way or the other or
// swinging on the generator's own clock. The timeline shrinks the rays (time mode 0) or fades
// them (time mode 1). With the random option the rays get their own lengths and uneven spacing
// from a fixed seed, so the fan keeps its shape from frame to frame. Rebuilt at every draw and
// drawn through the mask by the blend mode.
//
// Record "DS_RadialRays" version 1: ray length, ray width, ray count (UInt32), picture index,
// random (Int32), seed, jitter, speed (UInt32), rotation mode (Int32), timeline depth, swing
// amplitude (UInt32), then the "DS_StaticGenerator" record.
class DS_RadialRays : public DS_StaticGenerator {
 public:
  static constexpr uint32_t kVersion = 1;

  DS_RadialRays();
  DS_RadialRays(const DS_RadialRays& other) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  void Render(DS_2D_Light& renderer, DS_ParticlesObj& obj) override;
  // The clock, then the angle: the local time (mode 0 and others), minus it (mode 1) or
  // sin(local time) x swing amplitude (mode 2).
  void Update(float t, DS_ParticlesObj& obj) override;
  // The static attach, the mask, one layer, the rays.
  void AttachRuntimeObject(DS_ParticlesObj& obj) override;
  std::unique_ptr<DS_ParticleGenerator> Clone() const override;

  // Writes the rays into layer 0 (see the class comment). One crt_rand draw comes first and,
  // when random, reseeds the sequence after the seeded draws, so that the fixed seed does not
  // repeat in the draws of other objects.
  void BuildRays(DS_ParticlesObj& obj);

  MediaParamT<unsigned> rayLength{0};
  MediaParamT<unsigned> rayWidth{0};
  MediaParamT<unsigned> rayCount{0};
  MediaParamT<int> pictureIndex{0};
  MediaParamT<int> random{0};
  MediaParamT<unsigned> seed{0};
  UINTSclaleTo<float> jitter{0, -0.01f, 1.0f};
  MediaSpeedParam raySpeed;  // x 0.02
  MediaParamT<int> rotationMode{0};
  UINTSclaleTo<float> timelineDepth{0, -0.01f, 1.0f};
  UINTSclaleTo<float> swingAmplitude{0, 0.02f, 0.0f};  // radians
  D3DXMATRIX rotation;
};
