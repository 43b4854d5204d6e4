#pragma once

#include <cstdint>
#include <memory>

#include "core/link/ds_file_link.h"
#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "player/document/image_texture_set.h"
#include "renderers/brush/ds_fx_constructor.h"

// Lays a pattern picture over the picture, tiled at its own size times the pattern scale,
// turned, mirrored and shifted, its frames (when it has several) shown in turn with the phase.
class DS_PatternBrush : public DS_FX_Constructor {
 public:
  static constexpr uint32_t kVersion = 1;

  // Speed 50 x 0.02, effect glimres.dll #78, timeline flag bit 0, tag 6, time mode 1 (the
  // pattern fades with the timeline).
  DS_PatternBrush();

  // "DS_PatternBrush" version 1: the pattern link, flips (vertical, horizontal), angle, scale,
  // offsets, then the "DS_FX_Constructor" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Any version: the link, flips and angle stored straight, scale and offsets told when they
  // change.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The base's, then the pattern's frames: a module's picture pack for a ".dll" link, else the
  // link's pictures; from frame 0.
  void Prepare(ComRef<gfx::Texture>* maskSlot) override;
  // The phase step, then the next frame once the current one has shown for its delay.
  void Tick(float time) override;
  // "mix_color" (its alpha the timeline value in time mode 1); then, for a pattern of some size
  // at a scale above 0 (otherwise nothing more is set or drawn): "Pattern" = the current frame,
  // "scale" = (pattern width / height, 1), "offset", "coord_transf" = the 2 x 2 part of the
  // tiling (picture size / (pattern size x scale), negated by the flips) turned by the angle;
  // then the common binding.
  void Draw(DS_2D_Light& canvas) override;
  std::unique_ptr<DS_FX_Constructor> Clone() const override {
    return std::make_unique<DS_PatternBrush>(*this);
  }

  DS_ImageFileLink patternLink;
  MediaParamT<int> flipVertical{0};
  MediaParamT<int> flipHorizontal{0};
  // Degrees.
  MediaParamT<unsigned> patternAngle{0};
  UINTSclaleTo<float> patternScale{100, 0.01f, 0.0f};
  UINTSclaleTo<float> offsetX{0, -0.01f, 0.0f};
  UINTSclaleTo<float> offsetY{0, 0.01f, 0.0f};
  // From Prepare: the frames, their delays, the picture's size, the frame shown and the phase
  // it was switched at.
  ImageTextureSet patternFrames;
  // Tiles across and down the picture, from Draw.
  float tilesX = 1.0f;
  float tilesY = 1.0f;
};

// Stored under a class name of its own and read as a pattern brush; its run-time copy is a
// DS_PatternBrush.
class DS_PatternBrushC : public DS_PatternBrush {
 public:
  static constexpr uint32_t kVersion = 1;

  // "DS_PatternBrushC" version 1, no fields, then the whole "DS_PatternBrush" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // The "DS_PatternBrush" header, then its body.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);
};
