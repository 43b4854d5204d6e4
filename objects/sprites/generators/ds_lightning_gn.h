#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "objects/sprites/generators/ds_string_generator.h"
#include "objects/sprites/generators/generator_quads.h"

// One point of a lightning bolt; a bolt is the list of its points from start to end.
struct BoltPoint {
  D3DXVECTOR3 position;
  float width = 1.0f;             // factor on the core and glow widths
  float phase = 0.0f;             // light phase: the fork's at a bolt's start, 0 at its end
  std::vector<BoltPoint> branch;  // the bolt forking here; empty when none
};
using Bolt = std::vector<BoltPoint>;

// A branch to be placed on a bolt, with the slots of its own sub-branches.
struct BranchSlot {
  std::vector<BranchSlot> sub;
  uint32_t index = 0;
};

// A lightning bolt from the start point to the end point: a tree of jagged lines made by
// midpoint displacement and corner cutting, with up to three levels of branches, drawn as
// tapering core and glow strips into two masks. A new bolt is made each time the timeline
// leaves its hidden state (the same one from the seed unless a new shape each time is asked
// for); it lights up from its start while fading in, flickers while shown and dims while fading
// out.
//
// Record "DS_LightningGN" version 2: core width, subdivision depth, jitter, seed, branch length,
// branch angle, taper, first-, second- and third-level branches, flicker, glow width (UInt32),
// new shape each time (Int32), then the "DS_StringGenerator" record. Version 1 holds seven
// timing values after the branch counts; their milliseconds become a random timeline.
class DS_LightningGN : public DS_StringGenerator {
 public:
  static constexpr uint32_t kVersion = 2;
  // Levels of midpoint displacement at most: each level doubles the points of a bolt.
  static constexpr unsigned kMaxDepth = 10;

  DS_LightningGN() = default;
  DS_LightningGN(const DS_LightningGN& other) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  void Restart() override { lastTime = 0.0f; }
  // The two-mask draw of layers 0 (cores) and 1 (glows).
  void Render(DS_2D_Light& renderer, DS_ParticlesObj& obj) override;
  // Remembers t; a new bolt when the timeline has come back from hidden; then the three layers.
  void Update(float t, DS_ParticlesObj& obj) override;
  // The textured attach, a bolt, the mask, three layers.
  void AttachRuntimeObject(DS_ParticlesObj& obj) override;
  // 1 while the composition can be drawn, in every blend mode: "Main" reads the picture below
  // and is written whole, so that without the switch it would lay the slide's bare background
  // picture over the objects drawn below.
  int NeedsTarget() const override;
  std::unique_ptr<DS_ParticleGenerator> Clone() const override;

  // Reseeds (unless a new shape each time), plans the branch slots and builds the main bolt.
  void Generate();
  // Builds the bolt S-E of `depth` levels (at most kMaxDepth) with width w and light phase g
  // into `bolt`, placing the slots as branches. A branch that would take the tree's core layer
  // past kMaxParticlesPerList quads is not made.
  void BuildBolt(const D3DXVECTOR3& s, const D3DXVECTOR3& e, Bolt& bolt, int depth, float w,
                 std::vector<BranchSlot>& slots, float g);
  // How bright a point of light phase h is at the current timeline state and value.
  float Brightness(float h) const;
  // Writes the bolt and its branches into the three layers from texture coordinate u.
  void FillBolt(DS_ParticlesObj& obj, const Bolt& bolt, float u);

  MediaParamT<unsigned> coreWidth{0};
  MediaParamT<unsigned> depth{0};
  UINTSclaleTo<float> jitter{0, 0.004f, 0.0f};
  MediaParamT<unsigned> seed{0};
  UINTSclaleTo<float> branchLength{0, 0.01f, 0.0f};
  UINTSclaleTo<float> branchAngle{0, 0.015707964f, 0.0f};  // radians
  UINTSclaleTo<float> taper{0, -0.01f, 1.0f};              // the width left at a bolt's end
  MediaParamT<unsigned> firstBranches{0};
  MediaParamT<unsigned> secondBranches{0};
  MediaParamT<unsigned> thirdBranches{0};
  UINTSclaleTo<float> flicker{0, 0.01f, 0.0f};
  MediaParamT<unsigned> glowWidth{0};
  MediaParamT<int> newShape{0};
  Bolt bolt;
  float lastTime = 0.0f;
  uint8_t generated = 0;

 private:
  // Layer-0 quads of the tree built so far (while building) and the quads written per layer
  // (while filling).
  size_t builtQuads_ = 0;
  std::array<unsigned, 3> written_{};
};

// Segments and bolts of a tree.
struct BoltCounts {
  size_t segments = 0;
  size_t bolts = 0;
};
BoltCounts CountBolt(const Bolt& bolt);
