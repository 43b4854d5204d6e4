#pragma once

#include <cstdint>

#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "platform/gfx/texture.h"
#include "platform/math/d3dx_types.h"
#include "renderers/light/ds_2d_light.h"
#include "renderers/water_ring/water_height_field.h"

// The renderer that shows the slide through water: the picture is the texture of a rippling
// height-field surface that random drops disturb, lit by one directional light with a specular
// highlight. In mode 0 the surface takes the place of the flat background and the objects draw
// over it; in mode 1 the background and the objects are drawn off screen and the surface then
// refracts the finished picture.
class DS_WaterRingLight : public DS_2D_Light {
 public:
  static constexpr uint32_t kVersion = 2;

  DS_WaterRingLight();

  // "DS_WaterRingLight" version 2: the nine raw values, the mode, then the "DS_2D_Light" record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Version 1 stores only the mode.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // Lighting is off while objects draw their layers and meshes, and on again after.
  void DrawIndexedMesh(const IndexedMesh& mesh, gfx::Effect* effect, uint32_t firstQuad,
                       uint32_t quadCount) override;
  void DrawFrameList(const MeshPart& part) override;
  void DrawSpriteLayer(const SpriteLayer& layer) override;
  void DrawFrameTree(const MeshGeometry& mesh) override;

  // The base's, the surface's values and grid for the picture, the material.
  void Prepare() override;
  // The light, the material and the states of the water draw; the grid again; the view; the
  // targets.
  void ResetDeviceState() override;
  void ReleaseDeviceObjects() override;
  // Mode 1: the finished picture through the water. Then the border bars.
  void Compose(void* context) override;
  // Mode 1: the plain background (to the offscreen targets). Otherwise the water over the
  // picture, and no flat background.
  void DrawBackground(void* context) override;
  // The camera; a drop when its interval has passed; the surface's step.
  void Update(float t) override;
  // A view without width or height is ignored. Otherwise the base's, then the water's
  // orthographic projection for the render target and the picture.
  void SetViewQuad(const QuadCorners& quad) override;
  void SetFitMode(int mode) override;
  void DrawFadeOverlay(const ColorQuadMesh* overlay) override;
  void DrawScreenQuad(const TexturedScreenQuad& quad) override;
  // The offscreen pass is the base's in every mode: the picture is drawn into the targets
  // without the camera, which objects that read it apply once as they draw it back. (Switching
  // the pass to fit mode 0 would draw the camera's view into the targets, so that readers
  // zoomed and panned it twice, and ending it in fit mode 1 would lose the player's fit mode.)
  bool NeedsOffscreenPass() const override { return mode.Value() == 1; }
  bool AppendScreenRects(std::vector<ScreenRect>& rects) override {
    return AppendWholeTarget(rects);
  }

  // The surface with `texture` on it, placed over the picture as the view and the camera show
  // it; nothing when the device refuses the surface's buffers.
  void DrawWater(gfx::Texture* texture);
  // The material of the surface: black but for its specular level and power.
  gfx::Material WaterMaterial() const;
  // The surface's wave speed, drop strength, damping and refraction from the raw values.
  void ApplySurfaceValues();

  MediaParamT<int> mode{0};
  MediaParamT<unsigned> waveSpeed{0};
  MediaParamT<unsigned> rows{0};
  MediaParamT<unsigned> resolution{0};
  MediaParamT<unsigned> dropStrength{50};
  MediaParamT<unsigned> damping{50};
  MediaParamT<unsigned> refraction{20};
  UINTSclaleTo<float> dropsPerMinute{30, 1.0f / 60.0f, 0.0f};  // drops a second
  UINTSclaleTo<float> specular{90, 0.01f, 0.0f};
  UINTSclaleTo<float> shininess{50, 0.8f, 0.0f};
  WaterHeightField surface;
  D3DXVECTOR3 lightDirection{0.5f, 1.0f, -1.0f};
  gfx::ColorValue lightDiffuse{1.0f, 1.0f, 1.0f, 1.0f};
  D3DXMATRIX waterWorld;
  D3DXMATRIX waterView;  // the inverse of the rotation
  D3DXMATRIX rotation;   // the surface stood up: RotationX(-pi / 2)
  D3DXMATRIX waterProjection;
  D3DXVECTOR3 eye{0.0f, 120.0f, 0.0f};
  float lastDropTime = 0.0f;
};
