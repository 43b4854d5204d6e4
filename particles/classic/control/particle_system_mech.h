#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/scene/ds_abobj.h"
#include "core/sequence/link_texture_set.h"
#include "platform/gfx/effect/effect.h"
#include "player/render/sprite_array.h"

class ParticleAppearance;
class ZKW_ParticleSystemCtrl;

// The run-time object of every classic particle control: it owns the control's copy (as its
// description), forwards the frame calls to it and owns the quad batches the control fills.
class ZKW_ParticleSystemMech : public DS_ABObj {
 public:
  // The texture coordinates FillBatchUVs gives every quad: u of c0 and c1, u of c2 and c3, v of
  // c0 and c2, v of c1 and c3.
  struct QuadUVs {
    float u0, u1, v0, v1;
  };

  explicit ZKW_ParticleSystemMech(std::unique_ptr<ZKW_ParticleSystemCtrl> ctrl);
  ~ZKW_ParticleSystemMech() override;

  // The control's Render.
  void Render(DS_2D_Light& renderer, int* readerCount) override;
  // The control's NeedsTarget while the object is active, else 0.
  int NeedsPictureBelow() const override;
  // The control's Update with the object's local time.
  void Update(float localTime) override;
  int GetObjectKind() const override;

  // `count` batches, each with a quad count of 0 (what the kinds' attach does).
  void ResetBatches(size_t count);
  // One ARGB into the quad's four vertices: the control's first colour, alpha the colour set's
  // opacity byte x `alpha`.
  void SetQuadColors(float alpha, DX_V::PCT* quad) const;
  // Grows the batch to `quads` quads when it holds fewer (buffers never shrink), writes the base
  // texture coordinates of every quad it holds and sets its quad count. Nothing for a batch
  // index past the batches.
  void SetBatchQuadCount(uint8_t batch, uint32_t quads, const LinkTextureSet* frames,
                         const ParticleAppearance* look);
  // Grows the batch to `quads` quads when it holds fewer (buffers never shrink) and sets its
  // quad count to `quads`, or to what the batch could be given when that is less; answers the
  // count. 0 for a batch index past the batches. Vertices are left as they are.
  uint32_t ReserveBatch(uint8_t batch, uint32_t quads);
  // Every quad the batch holds gets (first u, first v), (first u, second v), (second u, first
  // v), (second u, second v) at its corners c0..c3, with u 0 and U (swapped by the horizontal
  // flip) and v V and 0 (swapped by the vertical flip); U and V are the frames' used fractions
  // (1 without frames).
  void FillBatchUVs(uint8_t batch, const LinkTextureSet* frames, const ParticleAppearance* look);
  // The coordinates FillBatchUVs writes for these frames and this look.
  static QuadUVs BaseUVs(const LinkTextureSet* frames, const ParticleAppearance* look);
  // Readies batch `batch` for `quads` quads of the look's first frame sequence and locks its
  // vertices: answers them with the quads that may be written in `room`, or null (nothing to
  // write) for a batch index past the batches, a look without frame sequences (the batch then
  // draws nothing) or a lock that fails. The caller unlocks and sets the quad count it wrote.
  DX_V::PCT* LockQuads(uint8_t batch, size_t quads, const ParticleAppearance& look, uint32_t& room);
  // As LockQuads, but no texture coordinates are written ahead: `uvs` receives the base ones,
  // the caller writes each quad it fills with them mapped into its atlas cell
  // (WriteParticleQuad) and ends with UnlockQuads. The vertices are passed over once, not twice.
  DX_V::PCT* LockQuadsUnmapped(uint8_t batch, size_t quads, const ParticleAppearance& look,
                               uint32_t& room, QuadUVs& uvs);
  // Gives the quads after the first `written` the base coordinates `uvs`, unlocks the batch and
  // sets its quad count to `written`: the batch ends as after LockQuads and a fill.
  void UnlockQuads(uint8_t batch, uint32_t written, const QuadUVs& uvs);
  // Draws the batch's quads through every pass of the technique (view, projection and world
  // from the render context); batches past 16,384 quads draw block by block.
  void DrawBatch(gfx::Effect* effect, gfx::EffectHandle technique, uint8_t batch);

  ZKW_ParticleSystemCtrl* ctrl;
  std::vector<PCTSpriteArray> batches;
  std::vector<uint32_t> quadCounts;
};
