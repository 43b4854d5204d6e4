#pragma once

#include <array>
#include <cstdint>

#include "core/com_ref.h"
#include "core/param/color_params.h"
#include "core/param/media_param_t.h"
#include "core/param/media_speed_param.h"
#include "core/param/scaled_param.h"
#include "platform/gfx/texture.h"
#include "player/document/guid_picture_key.h"
#include "player/render/color_quad_mesh.h"
#include "player/render/render_meshes.h"
#include "renderers/light/ds_2d_light.h"

// The renderer that turns the lower part of the slide into a lake: below a horizon line the
// picture shows its own band above the line mirrored, rippled by a bump map whose environment
// matrix turns over time, and tinted by the lake colour. Fixed-function only: stage 0 bumps,
// stage 1 reads the mirror; no offscreen pass of its own.
class FakeLake2D : public DS_2D_Light {
 public:
  static constexpr uint32_t kVersion = 2;
  // XYZ | TEX2: position, bump-map coordinates, reflection coordinates.
  struct MirrorVertex {
    float x, y, z;
    float bumpU, bumpV;
    float u, v;
  };
  static constexpr uint32_t kMirrorFvf = 0x302;

  // A new GUID names the lake's bump map.
  FakeLake2D();

  // "FakeLake2D" version 2: six scaled raw values, the bump amplitude, the horizon strip, the
  // reflection size, the lake colour, the GUID, name and keep flag, then the "DS_2D_Light"
  // record. The bump map goes into the document's GUID pictures first, so that the project
  // keeps it.
  bool Save(DS_IOF_Archive& archive) const override;
  // Version 1 stores only the GUID, name and keep flag.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The base's; the mirror and the two colour quads, the view and the reflection copy; the bump
  // coordinates; the bump map stored in the project under the lake's GUID (none without one).
  void Prepare() override;
  void ResetDeviceState() override;
  // The camera, then the ripple phase and the bump matrix (size 0.04, turning 4.5 radians per
  // unit of phase).
  void Update(float t) override;
  // The background, the rippled mirror below the horizon, then the water and horizon colours.
  void DrawBackground(void* context) override;
  // The base's, then the reflection copy of the picture and the layout of the lake on it.
  void RefreshView() override;
  // Texture addresses wrap while the drawable sets itself up; they clamp after.
  void DrawCustom(CustomDrawable& drawable, void* argument) override;
  // The base's, then stage 0 takes alpha from its first argument.
  void DrawSpriteLayer(const SpriteLayer& layer) override;
  bool AppendScreenRects(std::vector<ScreenRect>& rects) override {
    return AppendWholeTarget(rects);
  }

  // Stage 0 bumps with the bump map (clamped) and the bump matrix; stage 1 shows the reflection
  // copy at the bumped coordinates.
  void SetupBumpStage();
  // Places the mirror and the colour quads on the picture for the horizon.
  void Layout();
  // The lake colour as 0x00RRGGBB.
  uint32_t ColourRgb() const;

  MediaSpeedParam waveSpeed;
  UINTSclaleTo<float> bumpTiling{100, 0.01f, 0.0f};
  // a: the water covers the lowest a of the picture height.
  UINTSclaleTo<float> horizon{25, -0.005f, 0.5f};
  UINTSclaleTo<float> bumpFade{100, 0.01f, 0.0f};  // stored only
  UINTSclaleTo<float> colourStrength{31, 0.008f, 0.0f};
  UINTSclaleTo<float> colourFade{58, 0.01f, 0.0f};
  MediaParamT<unsigned> bumpAmplitude{25};  // stored only
  MediaParamT<unsigned> horizonStrip{7};    // pixels of colour above the horizon
  MediaParamT<int> reflectionSize{1};       // the copy is (128 << size) pixels square
  SmartCOLORREF lakeColour{0x408000};
  ComRef<gfx::Texture> reflectionCopy;
  ColorQuadMesh waterQuad, horizonQuad;
  std::array<float, 4> bumpMatrix{};  // 00, 01, 10, 11
  SimpleMesh mirror;
  GuidNameKey bumpKey;  // the bump map's GUID and name
  bool keep = true;     // stored only
  ComRef<gfx::Texture> bumpMap;
};
