#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/archive/ds_iof_archive.h"
#include "core/ds_safe_ptr.h"
#include "core/graph/graph_spread_prm.h"
#include "core/param/color_params.h"
#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "core/param/smart_angle.h"
#include "particles/tree/particle_quad_batch.h"
#include "platform/gfx/effect/effect.h"
#include "player/resources/zkw_alerter_texture_src.h"
#include "renderers/blur/blur_effect.h"

class DS_2D_Light;
struct ParticleRecord;

// The glow, radial glow and shadow options of a picture node: their records are read and written
// with the node, and each adds a pass to the node's drawing when enabled.
struct ZKW_PtclSys_Option {
  explicit ZKW_PtclSys_Option(const char16_t* optionName) : name(optionName) {}
  MediaParamT<int> enabled{0};
  zkw_string name;
};

// The particles drawn again into a blur surface, blurred, tinted and composed over the picture.
struct ZKW_PtclSysOption_Glow : ZKW_PtclSys_Option {
  ZKW_PtclSysOption_Glow();
  ZKW_PtclSysOption_Glow(const ZKW_PtclSysOption_Glow&) = delete;
  ZKW_PtclSysOption_Glow& operator=(const ZKW_PtclSysOption_Glow&) = delete;

  // Blur targets of the render context's picture size and effect 202.
  void CreateDeviceObjects();
  // Blurs what was drawn into the surface and lays it on the picture through the renderer's
  // background quad: modes 1 to 3 over the picture below ("Background") when the renderer has
  // one, mode 0 (or none below) as a normal glow. Answers the technique used.
  const char* Compose(DS_2D_Light& renderer);

  MediaParamT<int> mode{3};  // 0 normal, 1 screen, 2 colour dodge, 3 linear dodge
  MediaParamT<int> extraPasses{1};
  SmartCOLORREF colour{0x0000FFFF};
  UINTSclaleTo<float> brightness{100, 0.02f, 0.0f};
  ZKW_BlurSurface blur;
  MediaParamT<unsigned>& reduction = blur.reduction;  // percent
};

// One camera-facing quad per particle, textured with a soft circle, drawn after the particles.
struct ZKW_PtclSysOption_RadialGlow : ZKW_PtclSys_Option {
  // Its texture is a new soft circle (when the texture-source registry holds one).
  ZKW_PtclSysOption_RadialGlow();
  ZKW_PtclSysOption_RadialGlow(const ZKW_PtclSysOption_RadialGlow&) = delete;
  ZKW_PtclSysOption_RadialGlow& operator=(const ZKW_PtclSysOption_RadialGlow&) = delete;

  // Effect 185, then the texture's frames.
  void CreateDeviceObjects();
  // Loads and marks the frames of the texture's source, when it has one.
  void OnTextureChanged();
  // Holds `source` through a new handle (the old one released), without notification.
  void SetTextureSource(std::unique_ptr<ZKW_TextureSRC> source);
  // One quad per particle of edge size x `particleSize`, coloured by the option's colour and
  // alpha times the particle's alpha, into `batch`.
  void FillQuads(ParticleQuadBatch& batch, const std::vector<DS_SafePtr<ParticleRecord>>& particles,
                 float particleSize) const;
  // Draws the batch with "Texture0" = the texture's current frame, "BlendNormal_AlphaPM" (blend
  // 0) or "BlendSum" (blend 1).
  void Draw(const ParticleQuadBatch& batch);

  UINTSclaleTo<float> size{50, 0.01f, 0.0f};  // of the node's particle size
  MediaParamT<int> blend{0};
  ColorAlphaParam colour;
  ZKW_AlerterTextureSRC texture;
  ComRef<gfx::Effect> effect;

 private:
  SmartCalbackCtrl<ZKW_PtclSysOption_RadialGlow> textureWatcher_{
      &ZKW_PtclSysOption_RadialGlow::OnTextureChanged, this, &texture};
};

// The particles drawn shifted into a blur surface, blurred, tinted and laid under them.
struct ZKW_PtclSysOption_Shadow : ZKW_PtclSys_Option {
  ZKW_PtclSysOption_Shadow();
  ZKW_PtclSysOption_Shadow(const ZKW_PtclSysOption_Shadow&) = delete;
  ZKW_PtclSysOption_Shadow& operator=(const ZKW_PtclSysOption_Shadow&) = delete;

  // Blur targets of the render context's picture size and effect 202.
  void CreateDeviceObjects();
  // The shift: the low end of the distance's range (envelope at 0 x value x (1 - spread)) along
  // the angle's direction (cos a, -sin a, 0).
  D3DXVECTOR3 Offset() const;
  // When enabled: `batch` drawn shifted with `pictureEffect` into the blur surface, blurred,
  // tinted and laid on the target as a normal glow.
  void Draw(DS_2D_Light& renderer, ParticleQuadBatch& batch, gfx::Effect* pictureEffect);

  SmartCOLORREF colour{0};
  MediaParamT<int> extraPasses{0};
  UINTSclaleTo<float> brightness{50, 0.01f, 0.0f};
  GraphSpreadPrm distance{10, 1.0f};
  ZKW_SmartAngle angle;
  ZKW_BlurSurface blur;
  MediaParamT<unsigned>& reduction = blur.reduction;  // percent
};

struct PictureOptions {
  // The glow's, the radial glow's and the shadow's.
  void CreateDeviceObjects();

  ZKW_PtclSysOption_Glow glow;
  ZKW_PtclSysOption_RadialGlow radialGlow;
  ZKW_PtclSysOption_Shadow shadow;
};

// The part every option record starts with: Int32 option version (1; read and dropped), Int32
// `enabled` (read without notification) and the wide-string name.
void WriteOptionBase(DS_IOF_Archive& archive, const ZKW_PtclSys_Option& option);
void ReadOptionBase(DS_IOF_Archive& archive, ZKW_PtclSys_Option& option);

// The block of picture records of version 10 and later, after the node's own first Int32: Int32 1,
// then the three records.
void WriteOptions(DS_IOF_Archive& archive, const PictureOptions& options);
// Each option's own record (older picture records carry them one by one).
void WriteGlowOption(DS_IOF_Archive& archive, const ZKW_PtclSysOption_Glow& glow);
void WriteRadialGlowOption(DS_IOF_Archive& archive, const ZKW_PtclSysOption_RadialGlow& glow);
void WriteShadowOption(DS_IOF_Archive& archive, const ZKW_PtclSysOption_Shadow& shadow);
void ReadGlowOption(DS_IOF_Archive& archive, ZKW_PtclSysOption_Glow& glow);
void ReadRadialGlowOption(DS_IOF_Archive& archive, ZKW_PtclSysOption_RadialGlow& glow);
void ReadShadowOption(DS_IOF_Archive& archive, ZKW_PtclSysOption_Shadow& shadow);
