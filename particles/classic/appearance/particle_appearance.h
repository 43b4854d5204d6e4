#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/archive/ds_iof_archive.h"
#include "core/com_ref.h"
#include "core/link/ds_file_link.h"
#include "core/link/ds_named_file_link.h"
#include "core/param/color_params.h"
#include "core/param/color_set_params.h"
#include "core/param/media_param_t.h"
#include "core/param/media_speed_param.h"
#include "core/param/oscillation_params.h"
#include "core/param/scaled_param.h"
#include "core/sequence/link_texture_set.h"
#include "particles/classic/appearance/percent_param_quad.h"
#include "particles/classic/control/particle_system_mech.h"
#include "particles/classic/routines/routine_particle.h"
#include "platform/gfx/effect/effect.h"
#include "renderers/blur/blur_effect.h"

class DS_2D_Light;
class IPR_ConstantAge;
class ZKW_PrerenderSurface;

// Writes a particle's quad: corners centre - a + b, centre - a - b, centre + a + b,
// centre + a - b (a and b half the quad's axes), and the base texture coordinates mapped into
// the atlas cell (u scale, v scale, u offset, v offset).
void WriteParticleQuad(DX_V::PCT* v, const D3DXVECTOR3& centre, const D3DXVECTOR3& halfA,
                       const D3DXVECTOR3& halfB, const std::array<float, 4>& cell,
                       const ZKW_ParticleSystemMech::QuadUVs& uvs);

// The look of a classic particle control: the picture and effect that draw its particles, their
// colours, size and opacity over their life, spin and start angle, a glow around them, gravity
// and air resistance, and four oscillations. It dresses newborn particles (InitParticle), turns
// the live particles into one quad each (FillBatch) and draws them (Draw).
//
// Stored inside the control's record with a version of its own (Save writes version 11; the
// control writes the version and the shape name). Frame sequences, effect and glow targets
// exist only in the attached copy of a control.
class ParticleAppearance {
 public:
  static constexpr int32_t kVersion = 11;

  // Flag bits.
  enum Flag : uint32_t {
    kGravity = 0x01,           // gravity and air resistance
    kFilteredPicture = 0x02,   // textures stretched by the default filter instead of copied
    kOwnSize = 0x04,           // size from the particle's own size value alone
    kOwnOpacity = 0x08,        // opacity from the particle's own opacity value alone
    kOffsetOscillation = 0x10  // the offset oscillations
  };
  enum GlowMode : int { kNoGlow = 0, kGlow = 1, kScreenGlow = 2 };
  enum Orientation : int { kFixed = 0, kAlongVelocity = 1, kSpinning = 2 };

  ParticleAppearance();
  // Every value; the glow surface is a fresh one with the same reduction.
  ParticleAppearance(const ParticleAppearance& other);
  ParticleAppearance& operator=(const ParticleAppearance&) = delete;

  // ---- record ----
  void Save(DS_IOF_Archive& archive) const;
  // The body of version v (the version and shape name were read by the control).
  void Read(DS_IOF_Archive& archive, int32_t version);
  // The appearance as control records hold it: Int32 version 11, the shape name, the body.
  void SaveBlock(DS_IOF_Archive& archive) const;
  // The version, the shape name (stored as read) and the body of that version.
  void ReadBlock(DS_IOF_Archive& archive);
  // Copies every parameter's value, notifying each that changes; the flags and the effect link
  // as they are; the picture and the shape name through their set operations.
  void Assign(const ParticleAppearance& other);
  // An image-link list record of older layouts: it replaces the picture's links, and the first
  // link gives the picture's current name and id (kept as they are without links).
  void ReadPictureLinks(DS_IOF_Archive& archive);
  // The colour of older layouts: a Dword into the first colour (stored as read) and the UInt32
  // transparency (notified when it differs).
  void ReadLegacyColour(DS_IOF_Archive& archive);

  // ---- device objects of an attached control ----
  // The frame sequences again: one copy of the document's textures per image link.
  void LoadTextures();
  // The effect of the effect link, and the glow surface with its targets and effect 202.
  void LoadEffect();
  // Advances the frame-speed and spin clocks to absolute time t and steps the frame sequences.
  void Tick(double t);

  // ---- particles ----
  // Dresses a newborn: atlas cell, life routine, colour, size, opacity and spin values, start
  // angle, oscillations, gravity and air resistance, with rand() drawn in that order.
  void InitParticle(const DS_SafePtr<RoutineParticle>& particle,
                    DS_SafePtr<InnerParticleRoutine> life) const;
  // Opacity 0..1 before the colour set's opacity byte.
  float ParticleOpacity(const RoutineParticle& particle) const;
  // The size factor of a particle.
  float ParticleSize(const RoutineParticle& particle) const;
  // ParticleOpacity and ParticleSize at a life fraction of the particle's (LifeFraction).
  float OpacityAt(const RoutineParticle& particle, float life) const;
  float SizeAt(const RoutineParticle& particle, float life) const;
  // The age over the life routine's limit, or NaN (no envelope) when the limit is not above 0.
  static float LifeFraction(const RoutineParticle& particle);
  // A new atlas cell for a particle, as at birth (column first).
  void PickAtlasCell(RoutineParticle& particle) const;

  // The particle's matrix as its quad is drawn: orientation 2 adds the spin (the particle's spin
  // factor x the spin clock, while the spin speed is not 0), orientation 1 turns the quad's x
  // axis onto `heading` (not at all for a heading of no length or along -x).
  D3DXMATRIX QuadMatrix(const RoutineParticle& particle, const D3DXVECTOR3& heading) const;
  // One quad per particle, in list order, into batch `batch` of the mech; nothing without a
  // frame sequence.
  void FillBatch(const RoutineParticleList& particles, ZKW_ParticleSystemMech& mech, float size,
                 uint8_t batch) const;
  // The glow (when on), then the batch's quads with the blend technique; nothing without an
  // effect or a frame sequence. The glow needs its blur targets, made when the render context
  // has a picture size.
  void Draw(ZKW_ParticleSystemMech& mech, uint8_t batch, DS_2D_Light& renderer);
  void DrawGlow(ZKW_ParticleSystemMech& mech, uint8_t batch, DS_2D_Light& renderer);

  // ---- line strips (the look of a line control's strip) ----
  // The effect (LoadEffect), then `surface` sized to the back buffer and made.
  void PrepareLineSurface(ZKW_PrerenderSurface& surface);
  // Draws the strip quads of the batch: after the glow (a screen glow first switches the
  // target), blend 0 lays them over the target ("BlendNormal"); any other blend draws them into
  // the cleared surface and multiplies the picture below by it ("BlendMultiplay", after a switch
  // of the target). Switches the target exactly as many times as LineReaders counts, even when
  // nothing can be drawn. Without the surface's texture the picture below is composed unchanged.
  void DrawLine(ZKW_PrerenderSurface& surface, ZKW_ParticleSystemMech& mech, uint8_t batch,
                DS_2D_Light& renderer, int* readerCount);

  // The atlas's columns and rows, at least 1.
  uint32_t Columns() const;
  uint32_t Rows() const;
  // The frame drawn: the first sequence's current texture (empty without one).
  ComRef<gfx::Texture> CurrentFrame() const;

  MediaParamT<zkw_string> shapeName;
  DS_NamedFileLink picture;
  DS_HLSLEffectFile effectLink;
  MediaSpeedParam frameSpeed;
  MediaParamT<int> framesBackwards{0};
  MediaParamT<int> flipVertical{0};
  MediaParamT<int> flipHorizontal{0};
  ColorSetParams colorSet;
  MediaParamT<unsigned> size{0};
  PercentParamQuad sizeEnvelope;
  UINTSclaleTo<float> sizeSpread{0, 0.01f, 0.0f};
  // Records hold its start factor twice and no end factor, which a read leaves as it was.
  PercentParamQuad opacityEnvelope;
  UINTSclaleTo<float> opacitySpread{0, 0.01f, 0.0f};
  MediaParamT<int> spinDirection{0};  // 0 positive, 1 negative, 2 random sign
  MediaSpeedParam spinSpeed;
  ZKW_JitterMediaPrm spinSpread;
  MediaParamT<int> blend{0};  // 0 "BlendNormal", 1 "BlendSum"
  MediaParamT<int> orientation{kFixed};
  MediaParamT<unsigned> startAngle{0};
  MediaParamT<unsigned> angleSpread{0};
  MediaParamT<int> glowMode{kNoGlow};
  SmartCOLORREF glowColour{0x0000FFFF};
  UINTSclaleTo<float> glowBrightness{100, 0.02f, 0.0f};
  MediaParamT<int> glowPasses{2};
  OscillationParams opacityOscillation;
  OscillationParams sizeOscillation;
  uint32_t flags = 0;
  MediaParamT<int> gravityDirection{0};  // 1 down the picture (+y), 2 up
  UINTSclaleTo<float> gravity{0, 5.0f, 0.0f};
  UINTSclaleTo<float> airResistance{0, 0.01f, 0.0f};
  OscillationParams alongOscillation;
  OscillationParams acrossOscillation;

  std::vector<LinkTextureSet> frames;
  ComRef<gfx::Effect> effect;
  // Its reduction percent is the appearance's glow reduction.
  ZKW_BlurSurface glowSurface;
};
