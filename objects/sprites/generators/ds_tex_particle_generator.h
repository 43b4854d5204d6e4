#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "core/com_ref.h"
#include "core/link/ds_file_link.h"
#include "core/param/color_params.h"
#include "objects/sprites/generators/ds_particle_generator.h"
#include "platform/gfx/effect/effect.h"
#include "player/document/guid_picture_key.h"
#include "player/document/image_texture_set.h"

class RenderTargetSet;

// The base of every drawn generator: its pictures, a compiled effect, two colours, a blend mode
// (with two further modes the kinds give a meaning) and an off-screen mask in which the
// particles are drawn before the mask is composed with the picture drawn so far.
//
// The effect's techniques: "BlendMask" draws particles into the mask cleared to transparent
// black, "JoinMask" draws layers over the mask cleared to transparent white; the blend mode then
// picks the composition: 0 "CommonTex" (the mask over the picture), 1 "Blend_ScreenTex", 2
// "Blend_ColorDodgeTex" (both redraw the picture below with the mask), 3 "Blend_SumTex" (the
// mask added); any other mode draws with the technique set last.
//
// Record "DS_TexParticleGenerator" version 3: the picture links (Dword count, name and id
// each), the effect link, colour 1 (Dword) and its transparency (UInt32), colour 2 and its
// transparency, blend mode, second and third mode, module pictures (Int32 each), then the
// "DS_ParticleGenerator" record. Version 1 holds neither further mode, version 2 no module
// pictures flag (0 is taken for each).
class DS_TexParticleGenerator : public DS_ParticleGenerator {
 public:
  static constexpr uint32_t kVersion = 3;

  // No pictures, no effect link, white opaque colours, modes 0, a fresh mask key.
  DS_TexParticleGenerator();
  // Every member; textures and effect gain a reference; the mask target and key are shared, so
  // a clone draws into the mask of the description it was made from.
  DS_TexParticleGenerator(const DS_TexParticleGenerator& other) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // {the first picture link, module pictures, false, 1.0}, or the base's without a picture.
  PictureRef* GetPicture(PictureRef* out) override;
  // Binds the run-time object, takes one texture set per picture link from the current
  // document (the module's picture packs when module pictures is set) and the effect of the
  // effect link.
  void AttachRuntimeObject(DS_ParticlesObj& obj) override;
  // 1 for blend modes 1 and 2 while the composition can be drawn (an effect and a mask with its
  // texture), else 0: a target switched for a composition that cannot be drawn would leave the
  // picture below blank.
  int NeedsTarget() const override;

  // The mask: the document's target set under the mask key, made at the back buffer's size.
  void CreateMaskTarget();
  // Layer 0 with `texture` into the mask cleared to transparent black ("BlendMask"), then
  // ApplyBlendMode. Without an effect or without a mask texture the layer is drawn straight
  // into the current target with fixed-function alpha blending. Without a texture no particle
  // is drawn.
  void RenderBlendMask(DS_2D_Light& renderer, DS_ParticlesObj& obj, gfx::Texture* texture);
  // Layers 0 to `lastLayer`, layer i with the current frame of picture i, into the mask cleared
  // to transparent white ("JoinMask"), each over the ones before; a layer without its picture is
  // left out. Nothing without an effect or a mask texture.
  void RenderJoinMask(unsigned lastLayer, DS_2D_Light& renderer, DS_ParticlesObj& obj);
  // The two-mask draw of fireworks and lightning: layer 0 (cores) and layer 1 (glows), both with
  // the current frame of picture 0, each into one texture of the mask cleared to transparent
  // black ("BlendMask_Max"); then "Main" redraws the picture below with the glow mask added and
  // the core mask laid over, written whole. It always reads the picture below, whatever the
  // blend mode, so its kinds answer NeedsTarget 1 while CanDrawMask. Without an effect or a mask
  // texture the glows and then the cores are drawn straight with fixed-function blending.
  void RenderTwoMasks(DS_2D_Light& renderer, DS_ParticlesObj& obj);
  // A layer drawn with the current frame of a picture.
  struct MaskDraw {
    unsigned layer;
    size_t picture;
  };
  // The same with the layers given: `cores` in order into the first mask, `glows` into the
  // second; without the mask passes the glows and then the cores are drawn straight. Nothing
  // when a layer is missing.
  void RenderTwoMasks(DS_2D_Light& renderer, DS_ParticlesObj& obj,
                      std::initializer_list<MaskDraw> cores, std::initializer_list<MaskDraw> glows);
  // The single-layer draw: the current frame of picture 0 at stage 0, then layer 0 through the
  // effect as it stands (fixed-function alpha blending without one).
  void RenderSingleLayer(DS_2D_Light& renderer, DS_ParticlesObj& obj);
  // Composes the mask with the picture drawn so far by the blend mode (see the class comment),
  // drawn with the renderer's background quad. Nothing without an effect or a mask texture.
  void ApplyBlendMode(DS_2D_Light& renderer);

  // The current frame's texture of picture i; null without one.
  gfx::Texture* PictureTexture(size_t i) const;
  // Whether the mask passes can draw: an effect and a mask with its texture.
  bool CanDrawMask() const;

  std::vector<DS_ImageFileLink> pictures;
  DS_HLSLEffectFile effectLink;
  ColorAlphaParam colour1;
  ColorAlphaParam colour2;
  MediaParamT<int> blendMode{0};
  MediaParamT<int> secondMode{0};
  MediaParamT<int> thirdMode{0};
  int32_t modulePictures = 0;
  std::vector<TextureFrameSet> textures;
  ComRef<gfx::Effect> effect;
  RenderTargetSet* maskTarget = nullptr;  // the document's
  GuidNameKey maskKey;
  DS_ParticlesObj* runtimeObject = nullptr;
};
