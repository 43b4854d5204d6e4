#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/archive/data_records.h"
#include "core/com_ref.h"
#include "core/link/ds_file_link.h"
#include "core/param/color_params.h"
#include "core/param/media_param_t.h"
#include "core/param/media_speed_param.h"
#include "objects/sprites/ds_view_obj_ctrl.h"
#include "objects/sprites/sprite_record.h"
#include "platform/gfx/texture.h"

// The saved form shared by every sprite preset: a number of textured quads (sprites) in the
// view rectangle, all showing one picture (optionally a strip of frames, optionally with a
// second picture drawn over it), tinted by one colour and faded by one transparency and the
// object's timeline. The sprite list, the clocks and the vertex fill are the sprite array's
// (particle_geom_array.h); each kind moves the sprites through SpawnParticle and
// UpdateParticle.
//
// Record "DS_BaseSpriteProp" version 7. Unlike other records it holds its base first: the
// whole "DS_ViewObjCtrl" record, then count, size, transparency (UInt32 each), blend mode
// (Int32), colour (Dword), pulse rate, minimum, maximum, size factor minimum, maximum (Float),
// picture and second picture (name, Int64 id each), spare count (UInt32), spare rate (Float),
// frame count (UInt32), frame rate (Float), frame strip (Bool), picture source, vertical flip,
// horizontal flip, frame-locked motion (Int32 each), speed percent (UInt32). Version 1 holds the
// embedded picture frames in place of the links and their delays after the strip flag, and
// ends there; versions below 3 hold the motion rate after the count.
class DS_BaseSpriteProp : public DS_ViewObjCtrl {
 public:
  static constexpr uint32_t kVersion = 7;

  DS_BaseSpriteProp();
  // Every field, the speed's clock included; the links get fresh undo controls.
  DS_BaseSpriteProp(const DS_BaseSpriteProp& other);
  DS_BaseSpriteProp& operator=(const DS_BaseSpriteProp&) = delete;
  ~DS_BaseSpriteProp() override;

  bool Save(DS_IOF_Archive& archive) const override;
  // Reads the header and body of the view record, then the fields the version has; fields it
  // lacks keep their defaults. Transparency and speed are notified when they change.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // {the picture link, the picture source, false, 1 / frame count}.
  PictureRef* GetPicture(PictureRef* out) override;
  // One element: a copy of the picture link (the second picture is not listed).
  void AppendImageLinks(std::vector<DS_ImageFileLink>& links) override;

  // Whether the sprite export starts a new block after `frames` frames: more than 10 here.
  virtual bool SplitExportBlock(int& frames);
  // A new sprite, already sized and coloured by the array: the kind places it. Nothing here.
  virtual void SpawnParticle(SpriteRecord& sprite);
  // One sprite's frame after both clocks advanced: the kind moves it. Nothing here.
  virtual void UpdateParticle(SpriteRecord& sprite);
  // The strip frame after `frame`; a frame count of 0 counts as 1.
  virtual unsigned NextFrame(unsigned frame);
  // How many sprites from the front are drawn: the count.
  virtual int ParticleCount();
  // The colour word with its alpha scaled by the current timeline's value.
  virtual uint32_t ApplyOpacity(uint32_t colour);

  // Before a kind clones itself for its run-time object: a picture link without a name takes
  // the link under which the document registers the embedded frames (and the second picture
  // that of the embedded second picture, when it has a resource id); the embedded frames are
  // then dropped. Nothing when the picture is named.
  void ResolveEmbeddedPictures();

  // The sprite colour word 0xAARRGGBB: the colour's red, green and blue and the alpha byte x
  // `alphaFactor`, truncated and held in 0..255 (NaN gives 0).
  uint32_t SpriteColour(float alphaFactor) const;
  // Half sizes from the size, the sprite's size factor and its aspect: s = size x factor / 2;
  // an aspect below 1 gives s by s x aspect, otherwise s / aspect by s.
  void ApplyHalfSize(SpriteRecord& sprite) const;
  // The frame count, 0 counted as 1.
  unsigned FrameCount() const { return frameCount != 0 ? frameCount : 1; }
  // The height / width of one frame of the picture (the document's picture set of the link, or
  // its texture set for picture source 2), times the frame count of a strip; 1 without a
  // document or a picture.
  float PictureAspect() const;
  // The value of the current timeline, 1 without one.
  float TimelineValue() const;

  MediaParamT<unsigned> count{1};
  // The longer side in pixels of a sprite whose size factor is 1; kinds set it.
  MediaParamT<unsigned> size{0};
  TransparencyAlpha transparency;
  // Sprite layer: 0 normal alpha blending, any other value additive. Glow: 1 screen, others
  // normal.
  MediaParamT<int> blendMode{0};
  SmartCOLORREF colour{0xFFFFFF};
  // Change of a sprite's alpha factor per motion second, with a random sign per sprite.
  float pulseRate = 0.0f;
  float pulseMin = 0.0f;
  float pulseMax = 1.0f;
  float sizeFactorMin = 1.0f;
  float sizeFactorMax = 1.0f;
  DS_ImageFileLink picture;
  DS_ImageFileLink secondPicture;
  // Stored and copied; nothing acts on them.
  unsigned spareCount = 1;
  float spareRate = 0.0f;
  // Frames side by side in a strip, and strip frames per second of the motion clock.
  unsigned frameCount = 1;
  float frameRate = 0.0f;
  bool frameStrip = false;
  // 1: the frames of a module picture; 2: the link's texture set with used-part texture
  // coordinates; any other value: the document's picture set of the link.
  int32_t pictureSource = 0;
  MediaParamT<int> verticalFlip{0};
  MediaParamT<int> horizontalFlip{0};
  // Non-zero: vertices are refilled only in frames in which the picture's animation advanced.
  MediaParamT<int> frameLockedMotion{0};
  // Version 1 only: the embedded picture's frames and delays, and the second picture.
  std::vector<float> embeddedDelays;
  std::vector<ResourceDataRecord> embeddedFrames;
  ResourceDataRecord embeddedSecondPicture;
  // Percent, scaled to a factor; its clock is the speed clock of the sprite array.
  MediaSpeedParam speed;
  // Cleared before each update; kinds set it in UpdateParticle for SplitExportBlock.
  bool frameEvent = false;
};

// The colour word with its alpha byte replaced by `alpha`, truncated and held in 0..255 (NaN
// gives 0).
uint32_t ColourWithAlpha(uint32_t colour, float alpha);

// The texture of the current frame of the current document's picture set for `link`; none for
// an empty name or without a document.
ComRef<gfx::Texture> CurrentPictureTexture(const DS_ImageFileLink& link);

// The level of the preset kinds: a sprite preset that copies itself for its run-time object.
class DS_ParticleSystemCtrl : public DS_BaseSpriteProp {
 public:
  DS_ParticleSystemCtrl() = default;
  DS_ParticleSystemCtrl(const DS_ParticleSystemCtrl& other) = default;

  // A new copy made by the kind's copy constructor.
  virtual std::unique_ptr<DS_ParticleSystemCtrl> Clone() const = 0;
};
