#pragma once

#include <cstdint>
#include <memory>

#include "core/param/media_param_t.h"
#include "core/param/media_speed_param.h"
#include "core/param/scaled_param.h"
#include "core/param/smart_points.h"
#include "geometry/path/smart_path.h"
#include "objects/sprites/generators/ds_tex_particle_generator.h"
#include "platform/math/d3dx_types.h"

// A generator that owns a motion path: its control points.
//
// Record "DS_PathGenerator" version 1: the control points (Dword count; x, y, z Float each),
// then the "DS_TexParticleGenerator" record.
class DS_PathGenerator : public DS_TexParticleGenerator {
 public:
  static constexpr uint32_t kVersion = 1;

  DS_PathGenerator() = default;
  // The copy shares the point holders.
  DS_PathGenerator(const DS_PathGenerator& other) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  SmartPath<DX_SmartPnt> path;
};

// One picture that walks back and forth along the straight segments between the path's control
// points, upright, turned along its way or mirrored by it, while its frames play on a clock of
// their own. The picture is the one quad of layer 0, rewritten every frame.
//
// Record "DS_PathAnimtion" version 2: path speed, picture scale (UInt32, stored), orientation
// mode, vertical flip, horizontal flip (Int32), frame speed (UInt32, stored), then the
// "DS_PathGenerator" record. Version 1 holds no frame speed (stored 100 is taken).
class DS_PathAnimtion : public DS_PathGenerator {
 public:
  static constexpr uint32_t kVersion = 2;

  DS_PathAnimtion();
  DS_PathAnimtion(const DS_PathAnimtion& other) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The single-layer draw: layer 0 with the current frame of picture 0.
  void Render(DS_2D_Light& renderer, DS_ParticlesObj& obj) override;
  // Both clocks, the picture's frame by its delays on the frame clock, then FillQuad.
  void Update(float t, DS_ParticlesObj& obj) override;
  // An unplaced description walks the two-point path across the middle third of the target at
  // half its height (the description's own points stay). The textured base's attach; no
  // sources; one layer; the walk starts at the first point, going forwards.
  void AttachRuntimeObject(DS_ParticlesObj& obj) override;
  std::unique_ptr<DS_ParticleGenerator> Clone() const override;

  // Moves the walk on by the path clock's step along the polyline, turning back at both ends
  // and passing zero-length segments; a path with fewer than two distinct points keeps the
  // picture at its first point.
  void AdvanceAlongPath();
  // The picture's quad at the new position, oriented and flipped by the modes, in colour 1.
  // Without a picture the layer holds no quad.
  void FillQuad(DS_ParticlesObj& obj);

  MediaSpeedParam pathSpeed;                         // x 3.0 pixels per second
  MediaSpeedParam frameSpeed;                        // x 0.01
  UINTSclaleTo<float> pictureScale{0, 0.01f, 0.0f};  // of the picture's pixel size
  // 0 upright, 1 its width along the way, 2 mirrored unless moving right, 3 upside down while
  // moving down; other values upright.
  MediaParamT<int> orientationMode{0};
  MediaParamT<int> verticalFlip{0};
  MediaParamT<int> horizontalFlip{0};
  D3DXVECTOR3 previousPosition{0, 0, 0};
  D3DXVECTOR3 currentPosition{0, 0, 0};
};
