#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/scene/ds_abobj.h"
#include "objects/sprites/generators/generator_quads.h"
#include "player/render/sprite_array.h"

class ColorAlphaParam;
class DS_ParticleGenerator;
struct GeneratorParticle;

// The run-time object of every particle generator: it owns the generator's clone, forwards the
// per-frame update and the drawing to it, and owns the quad batches the clone writes into. The
// batches are layers, each with its own count of quads to draw and the screen rectangle of every
// quad written; a kind draws each layer with one picture.
//
// A layer is filled by SetQuadCount, LockLayer, one WriteQuad per quad from index 0, then
// UnlockLayer; a layer that cannot be locked keeps what it held.
class DS_ParticlesObj : public DS_ABObj {
 public:
  // Takes the clone (may be null) and attaches it: the clone sets its layers there.
  explicit DS_ParticlesObj(std::unique_ptr<DS_ParticleGenerator> generator);
  ~DS_ParticlesObj() override;

  // The generator's Render.
  void Draw(DS_2D_Light& renderer) override;
  // 0 while inactive, else the generator's NeedsTarget.
  int NeedsPictureBelow() const override;
  // The generator's Update at the local time.
  void Update(float localTime) override;
  // The generator's HitTest.
  bool HitTestPoint(const int point[2]) const override;
  // Every layer's rectangles, layers and quads in order; answers false.
  bool AppendScreenRects(std::vector<ScreenRect>& rects) override;

  // n layers: new layers empty with 0 quads, surplus layers gone with their buffers.
  void SetLayerCount(unsigned n);
  // n quads to draw in the layer (at most kMaxParticlesPerList): buffers for n quads when the
  // layer holds fewer (capacity never shrinks), n rectangles (new ones zero).
  void SetQuadCount(unsigned layer, unsigned n);
  // Locks the layer's vertices; false for a layer that does not exist or cannot be locked.
  [[nodiscard]] bool LockLayer(unsigned layer);
  void UnlockLayer(unsigned layer);
  // n quads in layers 0 and 1 and both locked; false, neither left locked, unless both lock.
  [[nodiscard]] bool LockLayerPair(unsigned n);
  // Copies the quad to quad `index` of the locked layer and records its bounding rectangle
  // {min x, min y, width, height}. Nothing on an unlocked layer or at or past the quad count.
  void WriteQuad(unsigned layer, unsigned index, const QuadVertices& quad);
  // An axis-aligned quad of side channel 1 x size at the particle, `colour` with alpha channel 2
  // x alphaFactor.
  void WriteSpriteQuad(unsigned layer, unsigned index, const GeneratorParticle& particle,
                       float size, float alphaFactor, const ColorAlphaParam& colour);
  // Layer 0: a quad of channel 1 x (width, height) at the particle turned by channel 4, `colour`
  // with alpha channel 2 x alphaFactor.
  void WriteOrientedQuad(unsigned index, const GeneratorParticle& particle, float width,
                         float height, float alphaFactor, const ColorAlphaParam& colour);

  unsigned LayerCount() const { return static_cast<unsigned>(layers_.size()); }
  const PCTSpriteArray& Layer(unsigned layer) const { return layers_[layer]; }
  // The transform block that places the layer's quads in the scene.
  TransformNode& LayerNode(unsigned layer) { return layers_[layer].node; }
  // The quads the layer is to draw, and of those the quads its buffers hold.
  unsigned QuadCount(unsigned layer) const { return quadCounts_[layer]; }
  unsigned DrawnQuads(unsigned layer) const;
  const std::vector<ScreenRect>& Rects(unsigned layer) const { return rects_[layer]; }
  DS_ParticleGenerator* Generator() const { return generator_; }

 private:
  std::vector<PCTSpriteArray> layers_;
  std::vector<std::vector<ScreenRect>> rects_;
  DS_ParticleGenerator* generator_;  // owned as the description
  std::vector<unsigned> quadCounts_;
};
