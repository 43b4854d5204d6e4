#pragma once

#include <cstdint>

#include "core/archive/ds_iof_archive.h"
#include "core/ds_safe_ptr.h"
#include "core/graph/graph_spread_prm.h"
#include "core/param/color_params.h"
#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "core/param/smart_angle.h"
#include "player/resources/zkw_alerter_texture_src.h"

// The glow, radial glow and shadow options of a picture node. Their records are read and written
// with the node; the passes that draw them are not part of the player yet, so a node draws as if
// they were off.
struct ZKW_PtclSys_Option {
  explicit ZKW_PtclSys_Option(const char16_t* optionName) : name(optionName) {}
  MediaParamT<int> enabled{0};
  zkw_string name;
};

struct ZKW_PtclSysOption_Glow : ZKW_PtclSys_Option {
  ZKW_PtclSysOption_Glow() : ZKW_PtclSys_Option(u"Outer Glow") {}
  MediaParamT<int> mode{3};  // 0 normal, 1 screen, 2 colour dodge, 3 linear dodge
  MediaParamT<int> extraPasses{1};
  SmartCOLORREF colour{0x0000FFFF};
  UINTSclaleTo<float> brightness{100, 0.02f, 0.0f};
  MediaParamT<unsigned> reduction{50};  // percent
};

struct ZKW_PtclSysOption_RadialGlow : ZKW_PtclSys_Option {
  // Its texture is a new soft circle (when the texture-source registry holds one).
  ZKW_PtclSysOption_RadialGlow();
  UINTSclaleTo<float> size{50, 0.01f, 0.0f};  // of the node's particle size
  MediaParamT<int> blend{0};
  ColorAlphaParam colour;
  ZKW_AlerterTextureSRC texture;
};

struct ZKW_PtclSysOption_Shadow : ZKW_PtclSys_Option {
  ZKW_PtclSysOption_Shadow();
  MediaParamT<unsigned> reduction{50};
  SmartCOLORREF colour{0};
  MediaParamT<int> extraPasses{0};
  UINTSclaleTo<float> brightness{50, 0.01f, 0.0f};
  GraphSpreadPrm distance{10, 1.0f};
  ZKW_SmartAngle angle;
};

struct PictureOptions {
  ZKW_PtclSysOption_Glow glow;
  ZKW_PtclSysOption_RadialGlow radialGlow;
  ZKW_PtclSysOption_Shadow shadow;
};

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
