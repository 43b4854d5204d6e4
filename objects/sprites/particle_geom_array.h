#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/param/callback_ctrl_set.h"
#include "core/sequence/link_texture_set.h"
#include "objects/sprites/sprite_export.h"
#include "objects/sprites/sprite_record.h"
#include "platform/gfx/texture.h"
#include "platform/math/d3dx_types.h"
#include "player/render/sprite_array.h"

class DS_BaseSpriteProp;

// The sprites of a sprite preset and their quads: it keeps one SpriteRecord per sprite (at most
// kMaxParticlesPerList), following every change of the preset's count, advances the preset's
// two clocks, calls its hooks and fills one quad per sprite into the quad batch it is. The
// sprites lie contiguous in creation order; only the back of the list grows or shrinks.
// The preset belongs to the run-time object that owns the array.
class ParticleGeomArray : public PCTSpriteArray {
 public:
  ParticleGeomArray() = default;
  ParticleGeomArray(const ParticleGeomArray&) = delete;
  ParticleGeomArray& operator=(const ParticleGeomArray&) = delete;
  ~ParticleGeomArray();

  // Follows `preset`'s count from now on, starting with its current value.
  void BindConstructor(DS_BaseSpriteProp* preset);
  // Buffers for n quads (left alone for 0), then sprites appended (each made, then handed to
  // the preset's SpawnParticle) or deleted at the back until there are n. n is capped at
  // kMaxParticlesPerList.
  void OnCountChanged(unsigned n);
  // The motion clock (a step of |t - last|, at most 0.2 s, times rate x 0.02), the speed clock,
  // then the preset's UpdateParticle for every sprite, front to back. t is the local time.
  void Update(float t);
  // One quad per sprite with `source`'s opacity, the sprite's texture edges and flips and the
  // strip frame; nothing while the buffer does not hold exactly the capped count's quads or
  // cannot be locked.
  void FillVertices(DS_BaseSpriteProp& source);
  // Appends one frame of the sprites' screen placement to `state` (see sprite_export.h).
  void ExportSpriteFrames(SpriteExportState& state, bool last);

  // The count the array follows: the preset's, capped at kMaxParticlesPerList.
  uint32_t CappedCount() const;
  // The number of quads a draw takes: the preset's ParticleCount within the quads there are.
  uint32_t DrawnQuads() const;

  DS_BaseSpriteProp* Preset() const { return preset_; }
  std::vector<SpriteRecord>& Sprites() { return sprites_; }
  const std::vector<SpriteRecord>& Sprites() const { return sprites_; }

  // The motion time of the last strip frame change, and the strip frame all sprites show.
  float stripChangeTime = 0.0f;
  unsigned stripFrame = 0;
  // The timeline state the previous export saw.
  int exportState = 0;

 private:
  // A new sprite with its size factor, aspect, half sizes, colour and alpha rate.
  SpriteRecord MakeSprite() const;
  std::string FrameText() const;

  DS_BaseSpriteProp* preset_ = nullptr;
  std::vector<SpriteRecord> sprites_;
  CallbackCtrlSet<ParticleGeomArray> callbacks_{this};
};

// The four corners of a sprite's quad in strip order: P - wX + hY, P - wX - hY, P + wX + hY,
// P + wX - hY, with P the centre, X and Y the axes and w and h the half sizes.
std::array<D3DXVECTOR3, 4> SpriteCorners(const SpriteRecord& sprite);

// A batch together with its picture's animation: the picture set, the frame shown and the
// speed-clock time of its last change.
template <class Array>
class AnimatedTexture : public Array {
 public:
  LinkTextureSet pictureSet;
  unsigned pictureFrame = 0;
  float pictureChangeTime = 0.0f;
};
