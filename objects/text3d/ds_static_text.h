#pragma once

#include <cstdint>
#include <memory>

#include "core/param/color_params.h"
#include "core/param/media_direction.h"
#include "core/param/media_param_t.h"
#include "core/sequence/link_texture_set.h"
#include "core/zkw_string.h"
#include "particles/classic/kinds/static_object.h"
#include "platform/math/d3dx_types.h"

// A text picture on the single quad of a static object, drawn through effect 198 of
// "glimres.dll" (techniques "Main" and "Shadow", parameters "Texture", "Shift", "Color"): the
// second image of the picture link under the first, the first with a shadow when the shadow is
// on. The text, font, layout, outline and fill values are what the editor drew the pictures
// with; they are only carried so that the record writes back unchanged.
//
// Record "DS_StaticText" version 1: WideString text, WideString font face, UInt32 font size,
// Int32 x 2 font values, Dword font colour, Int32 x 3 layout values, Dword outline colour,
// UInt32 x 2 outline amounts, Int32 fill value, Dword fill colour, UInt32 fill amount, Int32
// shadow on, Dword shadow colour and UInt32 its transparency, UInt32 shadow distance, UInt32
// shadow direction (degrees), two further colours (Dword and UInt32 transparency each), UInt32
// x 2 further values, then the "ZKW_StaticObject" record.
class DS_StaticText : public ZKW_StaticObject {
 public:
  static constexpr uint32_t kVersion = 1;

  DS_StaticText() = default;
  DS_StaticText(const DS_StaticText& other) = default;

  bool Save(DS_IOF_Archive& archive) const override;
  // The version is not consulted; the inner record's class name is not compared.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);
  std::unique_ptr<ZKW_ParticleSystemCtrl> Clone() const override;

  // The effect link becomes ("glimres.dll", 198), then the one-quad attach of the static object.
  void AttachRuntimeObject(ZKW_ParticleSystemMech* mech) override;
  // The text never reads the picture below, whatever glow its look names.
  int NeedsTarget() const override { return 0; }
  // The second picture by "Main", then the shadowed draw of the first with no shift.
  void Render(DS_2D_Light& renderer, int* readerCount) override;
  // The picture link's textures again.
  virtual void ReloadPictures();

  // The first picture by "Main" at `shift` (in texture units), after its shadow by "Shadow" at
  // ShadowShift(shift) in "Color" when the shadow is on. Nothing without an effect, a batch or
  // a first picture.
  void DrawShadowed(const D3DXVECTOR2& shift);
  // `shift` moved by the shadow distance x (cos, -sin) of the direction over the first
  // picture's texture width and height (no move along an axis the picture has no size on).
  D3DXVECTOR2 ShadowShift(const D3DXVECTOR2& shift) const;
  // The first picture of the link, null without one.
  const LinkTextureSet* FirstPicture() const;

  MediaParamT<zkw_string> text;
  MediaParamT<zkw_string> fontFace;
  MediaParamT<unsigned> fontSize{0};
  MediaParamT<int> fontValue1{0};
  MediaParamT<int> fontValue2{0};
  SmartCOLORREF fontColour{0};
  MediaParamT<int> layout1{0};
  MediaParamT<int> layout2{0};
  MediaParamT<int> layout3{0};
  SmartCOLORREF outlineColour{0};
  MediaParamT<unsigned> outlineAmount1{0};
  MediaParamT<unsigned> outlineAmount2{0};
  MediaParamT<int> fillValue{0};
  SmartCOLORREF fillColour{0};
  MediaParamT<unsigned> fillAmount{0};
  MediaParamT<int> shadowOn{0};
  ColorAlphaParam shadowColour;
  MediaParamT<unsigned> shadowDistance{0};  // texels
  MediaDirection shadowDirection;
  ColorAlphaParam furtherColour1;
  ColorAlphaParam furtherColour2;
  MediaParamT<unsigned> furtherValue1{0};
  MediaParamT<unsigned> furtherValue2{0};
};
