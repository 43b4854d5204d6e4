#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "objects/sprites/ds_glow_effect_ctrl.h"
#include "platform/math/d3dx_types.h"

// One straight piece of a discharge's bolt.
struct BoltSegment {
  D3DXVECTOR3 midpoint;
  D3DXVECTOR3 direction;  // unit
  D3DXVECTOR3 normal;     // unit, the same for every segment of a bolt
  float length = 0.0f;
};

// An electric discharge: a jagged bolt of sprites, one per segment, between two points. The
// bolt re-forms ten times a second of motion time, the sprites morph from the previous shape to
// the new one, and each segment flickers between the two rows of the bolt picture; it glows
// over the picture below (DS_GlowEffectCtrl).
//
// Record "DS_DischargeFXConstructor" version 1: start and end point (three Float each),
// jitter percent (UInt32), picture choice (Int32), flicker period and morph rate values
// (UInt32 each), then the "DS_GlowEffectCtrl" record.
class DS_DischargeFXConstructor : public DS_GlowEffectCtrl {
 public:
  static constexpr uint32_t kVersion = 1;

  // Size 50, additive, colour 0xFFFFCC, glow colour 0xFF9900, effect 97 of the resource
  // library; the points where PrepareEffect would place them.
  DS_DischargeFXConstructor();
  DS_DischargeFXConstructor(const DS_DischargeFXConstructor& other) = default;
  ~DS_DischargeFXConstructor() override;

  bool Save(DS_IOF_Archive& archive) const override;
  // Any version reads as version 1.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The re-form time and the motion clock back to 0.
  void Restart() override;
  // Both bolts sized to the count and built again.
  void SpawnParticle(SpriteRecord& sprite) override;
  // The sprite whose turn it is takes the next segment, morphed between the bolts.
  void UpdateParticle(SpriteRecord& sprite) override;
  std::unique_ptr<DS_ParticleSystemCtrl> Clone() const override;
  // The effect; the picture becomes the bolt picture 95 (choice non-zero) or 98 of the resource
  // library; the textures; and, while the re-formed flag is clear, the points are placed.
  void PrepareEffect() override;
  // Segment index 0; re-forms the bolt when more than 0.1 s of motion time has passed.
  void PreUpdate() override;

  // The bolts (built when a spawn left them to be built).
  const std::vector<BoltSegment>& PreviousBolt();
  const std::vector<BoltSegment>& NewBolt();

  MediaParamT<D3DXVECTOR3> startPoint;
  MediaParamT<D3DXVECTOR3> endPoint;
  // Sideways randomness of each segment, percent scaled to a factor.
  UINTSclaleTo<float> jitter{50, 0.01f, 0.0f};
  MediaParamT<int> pictureChoice{1};
  // Seconds between a segment's picture-row changes: 0.1 - 0.001 x the value.
  UINTSclaleTo<float> flickerPeriod{100, -0.001f, 0.1f};
  // Speed of the morph from the previous bolt to the new one.
  UINTSclaleTo<float> morphRate{50, 0.1f, 0.0f};
  int segmentIndex = 0;
  float reformTime = 0.0f;
  bool reformed = true;

 private:
  // A bolt build whose draws the thread's sequence has passed: made when the bolt is read.
  // Only the last of the builds that sprite creation asks for shows, so the others only move
  // the sequence on, and making a bolt of n sprites costs n log n rather than n x n.
  struct PendingBuild {
    uint32_t randState;
    D3DXVECTOR3 start, end;
    float jitter;
    uint32_t segments;
  };

  // The number of segments of the bolt: the count, capped at kMaxParticlesPerList.
  uint32_t Segments() const;
  PendingBuild DeferBuild();
  void ResolvePendingBolts();

  std::vector<BoltSegment> previousBolt_;
  std::vector<BoltSegment> newBolt_;
  std::optional<PendingBuild> pendingPrevious_;
  std::optional<PendingBuild> pendingNew_;
};
