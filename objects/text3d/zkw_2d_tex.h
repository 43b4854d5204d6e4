#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/com_ref.h"
#include "core/ds_safe_ptr.h"
#include "core/link/ds_file_link.h"
#include "core/link/ds_named_file_link.h"
#include "core/param/color_params.h"
#include "core/param/media_direction.h"
#include "core/param/media_param_t.h"
#include "core/param/media_quad.h"
#include "core/param/media_speed_param.h"
#include "core/param/scaled_param.h"
#include "core/param/text_style_params.h"
#include "core/sequence/link_texture_set.h"
#include "core/timing/zkw_timing.h"
#include "objects/text3d/flat_text_layout.h"
#include "objects/text3d/zkw_text.h"
#include "platform/gfx/effect/effect.h"
#include "player/render/warp_grid_mesh.h"

// Flat textured text: a text picture stored in the project, shown on a quad of the scene through
// the effect of its effect link over a background picture, with an optional shadow, tinted by
// the font colour or filled with an animated fill picture, and faded in and out in one of eight
// ways (alpha, four slides, three wipes) by its timeline.
//
// The picture link holds the text picture, a text-effect picture drawn under the text and the
// background picture, in that order. The effect is told everything by name on every draw:
// "wvpMatrix", "TaxtImg", "TextEffect", "Filling", "Color", "Shift", "fade_pos", "Fade_Alpha",
// "fill_tex_scale", and the techniques "Background", "Shadow", "MainColorFill" and
// "MainTexFill". The object owns a random timeline, which is kept as the description's random
// timeline when the run-time copy is prepared.
class ZKW_2DTex : public ZKW_Text {
 public:
  static constexpr uint32_t kVersion = 1;

  // No effect link, a quad of no size, no pictures, fill scale and speed 100 %, a random
  // timeline of its own.
  ZKW_2DTex();
  // Every stored and run-time value; the effect, the textures and the grids' buffers are shared,
  // and so is the own timeline.
  ZKW_2DTex(const ZKW_2DTex& other) = default;
  ZKW_2DTex& operator=(const ZKW_2DTex&) = delete;

  // "ZKW_2DTex" version 1: effect link, quad, the three layers, spare amount, shadow direction,
  // picture link, fill with picture, fill picture link, fill scale and speed, two colours, two
  // amounts, fade-in and fade-out kind, the own timeline's record, then the "ZKW_Text" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // The same order, whatever the version. Fill scale, fill speed and the transparencies are
  // stored and told only when they change; the shadow direction's vector follows; a timeline
  // that cannot be read leaves the own one.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // Takes the effect and the pictures from the current document (one texture set per image of
  // the picture link, unfiltered; the fill picture, filtered, when the link holds exactly one
  // image), makes the two grids and, with a text picture, places it on the quad, stretches the
  // background over the quad and sets the fade tables. The own timeline becomes the random one.
  void Prepare() override;
  // The background pass (also while hidden), then unless hidden the shadow and the text with
  // the fade of the timeline's state and value. Passes whose picture is missing are skipped;
  // nothing without an effect. The device's clip-plane state is off during the text and comes
  // back after it.
  void Draw(DS_2D_Light& canvas) override;
  // Advances the fill clock (fill speed x the step, at most 0.2 s) and steps the fill picture's
  // frames by it.
  void Tick(float t) override;
  std::unique_ptr<ZKW_Text> Clone() const override { return std::make_unique<ZKW_2DTex>(*this); }

  // ---- stored ----
  DS_HLSLEffectFile effectLink;
  // Corners (x min, y min), (x min, y max), (x max, y min), (x max, y max), scene units.
  MediaQuad quad;
  TextLayerParams layer1;
  TextLayerParams layer2;
  // On/off = shadow on, colour and alpha = the shadow's, amount = its distance in texels.
  TextLayerParams shadow;
  MediaParamT<unsigned> spareAmount{0};
  MediaDirection shadowDirection;
  DS_NamedFileLink pictures;
  MediaParamT<int> fillWithPicture{0};
  DS_NamedFileLink fillPicture;
  UINTSclaleTo<float> fillScale{100, 0.01f, 0.0f};
  MediaSpeedParam fillSpeed;
  ColorAlphaParam colour1;
  ColorAlphaParam colour2;
  MediaParamT<unsigned> amount1{0};
  MediaParamT<unsigned> amount2{0};
  MediaParamT<int> fadeInKind{0};
  MediaParamT<int> fadeOutKind{0};
  DS_SafePtr<ZKW_Timing> ownTimeline;

  // ---- run-time ----
  ComRef<gfx::Effect> effect;
  std::vector<LinkTextureSet> textures;  // the text, text-effect and background pictures
  LinkTextureSet fill;
  WarpGridMesh textGrid;
  WarpGridMesh backgroundGrid;
  FlatTextPlacement placement;
  FadeTable fadeIn;
  FadeTable fadeOut;
  float fillLast = 0.0f;
  float fillStep = 0.0f;
  float fillTime = 0.0f;

  // The fade of the timeline's state and value: the shown end while shown, the fade-in or
  // fade-out table at the value while fading.
  FadeEnd CurrentFade() const;

 private:
  // Places the text picture and sets grids and fade tables; needs a text picture.
  void PlaceText();
  // The fill's "fill_tex_scale": (1 / fill scale) over the fill picture's size, 0 where either
  // is 0.
  void BindFill();
};
