#pragma once

#include <cstdint>
#include <vector>

#include "core/ds_safe_ptr.h"
#include "platform/math/d3dx_types.h"

struct ParticleRecord;

// A per-particle transform: moves, ages, colours or kills one particle once per frame. Each
// particle holds its own transform objects (they may keep state such as a phase), and the
// particle is always passed in.
class ZKW_PtclTransform {
 public:
  virtual ~ZKW_PtclTransform() = default;
  // Changes the particle for a step of `dt` seconds; false when the particle is to die.
  virtual bool Apply(float dt, ParticleRecord* particle) = 0;
  // Brings per-particle state back to its start.
  virtual void Restart(ParticleRecord*) {}
};

// The particle of the tree-shaped engines: a plain record, always held through a
// DS_SafePtr<ParticleRecord>, with an optional parent whose world matrix, velocity, scale and alpha
// it composes with its own, and an ordered list of transforms that `Update` runs.
struct ParticleRecord {
  // Flags.
  static constexpr uint32_t kDead = 0x01;
  static constexpr uint32_t kRelativeToParent = 0x02;  // position is in the parent's space
  static constexpr uint32_t kDiesWithParent = 0x04;
  static constexpr uint32_t kSamplesBackground = 0x08;  // cleared at every update
  static constexpr uint32_t kNoKinematic = 0x10;
  static constexpr uint32_t kJumped = 0x20;  // cleared at every update

  // Float parameters by index.
  static constexpr int kLife = 0;    // life fraction, 0 to 1
  static constexpr int kScale = 1;   // uniform scale (per frame)
  static constexpr int kAlpha = 2;   // (per frame)
  static constexpr int kAlong = 3;   // offset along the direction of motion (per frame)
  static constexpr int kAcross = 4;  // offset across it (per frame)
  static constexpr int kAge = 5;     // seconds
  static constexpr int kRandom7 = 7, kRandom8 = 8;  // drawn at Reset
  static constexpr int kFloatCount = 12;

  // Vector parameters by index.
  static constexpr int kPosition = 0;
  static constexpr int kVelocity = 1;
  static constexpr int kAcceleration = 2;  // per frame
  static constexpr int kDirection = 3;     // unit velocity, (0, 1, 0) when at rest
  static constexpr int kColour = 4;
  static constexpr int kPositionOffset = 5;  // per frame, in the world matrix only
  static constexpr int kScaleXYZ = 6;        // per frame
  static constexpr int kSurface = 7;         // (u, v) of the point the particle was placed on
  static constexpr int kVectorCount = 8;

  // The parent (none by default), no transforms, flags 0, then Reset and the position.
  explicit ParticleRecord(const D3DXVECTOR3& position = D3DXVECTOR3(0, 0, 0),
                          DS_SafePtr<ParticleRecord> parentHandle = {});

  // Every value back to its start (drawing the two random numbers, index 8 first); flags, parent
  // and transforms are kept.
  void Reset();
  // Resets what lives for one frame; the previous world matrix takes the current one.
  void BeginFrame();
  // One frame: runs the transforms (a false result marks the particle dead; the others still
  // run), then derives the direction and the scale matrix. Answers whether it is alive. A child
  // that dies with its parent and finds it dead is marked dead at once.
  bool Update(float dt);

  D3DXMATRIX WorldMatrix() const;
  D3DXVECTOR3 WorldPosition() const;
  D3DXVECTOR3 WorldOrigin() const;
  D3DXVECTOR3 WorldVelocity() const;
  float WorldScale() const;
  // Alpha times the parent's, at most 1 at every level.
  float WorldAlpha() const;
  bool IsTaggedInChain() const;
  // Bakes the parent's world matrix into the base matrix and lets the parent go.
  void DetachFromParent();
  // m = m x the scale of the parent chain (a particle without a parent: its own scale matrix).
  void ComposeScaleMatrix(D3DXMATRIX& m) const;

  ParticleRecord* Parent() const { return parent.Get(); }
  bool Has(uint32_t flag) const { return (flags & flag) != 0; }
  D3DXVECTOR3& Position() { return vectors[kPosition]; }
  const D3DXVECTOR3& Position() const { return vectors[kPosition]; }
  D3DXVECTOR3& Velocity() { return vectors[kVelocity]; }

  float floats[kFloatCount] = {};
  D3DXVECTOR3 vectors[kVectorCount];
  D3DXMATRIX rotationA, rotationB;
  D3DXMATRIX scaleMatrix;
  D3DXMATRIX birthMatrix;
  D3DXMATRIX previousWorld;
  float texRect[4] = {0, 1, 0, 1};    // u start, u end, v start, v end
  float atlasCell[4] = {0, 1, 0, 1};  // column, 1, row, 1
  uint32_t flags = 0;
  float presetCell[4] = {1, 1, 0, 0};
  float curve[4] = {1, 1, 0, 1};
  DS_SafePtr<ParticleRecord> parent;
  D3DXMATRIX baseMatrix;
  std::vector<DS_SafePtr<ZKW_PtclTransform>> transforms;

 private:
  // The position plus the offsets along and across the direction, without the parent's.
  D3DXVECTOR3 OwnOffsetPosition() const;
};

using ParticleHandle = DS_SafePtr<ParticleRecord>;
using ParticleList = std::vector<ParticleHandle>;

// A new particle whose parent is `parent` (null: none), Reset; for physics and sources.
ParticleHandle MakeChildParticle(const ParticleHandle& parent);
// Appends a transform to the particle's list.
template <class T, class... Args>
T* AttachTransform(ParticleRecord& particle, Args&&... args) {
  auto transform = std::make_unique<T>(std::forward<Args>(args)...);
  T* raw = transform.get();
  particle.transforms.emplace_back(std::unique_ptr<ZKW_PtclTransform>(std::move(transform)));
  return raw;
}
