#pragma once

#include <array>
#include <cstdint>

#include "core/archive/ds_iof_virtual.h"
#include "core/com_ref.h"
#include "core/link/ds_file_link.h"
#include "core/param/color_params.h"
#include "core/param/media_param_t.h"
#include "core/param/media_param_tb.h"
#include "core/param/scaled_param.h"
#include "platform/gfx/fvf.h"
#include "platform/gfx/texture.h"
#include "platform/math/d3dx_types.h"
#include "player/render/color_quad_mesh.h"
#include "player/render/matrix_values.h"
#include "player/render/textured_screen_quad.h"
#include "player/render/vertex_buffer_holder.h"
#include "player/resources/texture_ref.h"
#include "renderers/light/ds_2d_light.h"

// The renderer that shows the whole slide inside a glass ball: the background and the objects
// are drawn off screen, and the finished picture is then seen through a 512 x 512 quad whose
// bump-environment map bends it like a lens, under two overlay pictures, rounded off by a disc
// mask, with an optional picture across its lower edge, in front of a backdrop: a vertical
// colour gradient or a picture of its own. The picture in the ball may scroll either way or
// swing from side to side. Fixed-function only.
//
// The backdrop is this renderer's own background ("background picture" and "background mode" of
// its record); the slide's background picture is the base's, and it is what the ball shows.
class DS_GlassBallLight : public DS_2D_Light {
 public:
  static constexpr uint32_t kVersion = 2;
  // XYZ | TEX2: the lens map's coordinates, then a set the camera-space position replaces.
  struct BallVertex {
    float x, y, z;
    float u, v;
    float u1, v1;
  };
  static constexpr uint32_t kBallFvf = gfx::Fvf::Xyz | gfx::Fvf::Tex2;

  // "DS_GlassBallLight" version 2: four picture links, the values, then the "DS_2D_Light"
  // record.
  bool Save(DS_IOF_Archive& archive) const override;
  // Version 1 has the same fields with the speed on another scale.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The base's, the overlay and lower pictures, the lens map, the disc mask, the gradient, the
  // quads and the bars, the ball's transforms, then the backdrop and the view.
  void Prepare() override;
  // The base's, then the lens stages: stage 0 bump-maps stage 1, which wraps.
  void ResetDeviceState() override;
  // The base's; the scroll quads let go of the slide picture.
  void ReleaseDeviceObjects() override;
  // Ends the offscreen pass (scrolling the picture first in motions 1 and 2), draws the
  // backdrop, the picture through the lens, the overlays, the mask, the lower picture and the
  // backdrop's bars.
  void Compose(void* context) override;
  // The camera, the view, then the shared phase and the swing or the scroll quads.
  void Update(float t) override;
  // The base's, then the backdrop fitted with the effective fit mode, the lens values and the
  // bars.
  void SetViewQuad(const QuadCorners& quad) override;
  // The slide's fit mode is the backdrop's with a backdrop picture; the gradient always fills
  // the view (fit mode 2).
  void SetFitMode(int mode) override;
  bool NeedsOffscreenPass() const override { return true; }
  bool AppendScreenRects(std::vector<ScreenRect>& rects) override {
    return AppendWholeTarget(rects);
  }

  // The lens camera's distance, the lens depth and the swing's amplitude from the size, the
  // lens strength, the height fraction and the zoom.
  void UpdateLensParameters();
  // The ball's world, view and projection and the stage 1 texture matrix that maps the ball
  // onto the slide picture (lens pass) or the backdrop.
  void SetupBallView(bool lensPass);
  // The lens map (none when the device refuses it).
  void BuildLensBumpMap();
  // A new gradient texture from the two colours.
  void BuildGradientTexture();
  // The backdrop, its fit and the bars for the current view quad.
  void LayOutBackdrop();
  // Q: the whole number of slide picture widths per height, at least 1.
  float PictureQuotient() const;
  // (W, H): the back buffer's size, or the view's while a pushed view is in force.
  void ViewportSize(float& width, float& height) const;

  DS_ImageFileLink overlay1Link{u"glimres.dll", 58};
  DS_ImageFileLink overlay2Link{u"glimres.dll", 59};
  DS_ImageFileLink lowerLink{u"glimres.dll", 184};
  DS_ImageFileLink backdropLink{u"glimres.dll", 5};
  UINTSclaleTo<float> speed{33, 0.03f, 0.0f};
  MediaParamTB<Int32Pair> position{Int32Pair{0, 0}};  // the view spans -250..250
  MediaParamT<unsigned> size{100};                    // percent
  MediaParamT<unsigned> lens{0};                      // percent
  MediaParamT<int> overlay1{1};
  MediaParamT<int> overlay2{1};
  MediaParamT<int> lowerOn{0};
  MediaParamT<int> backdropMode{0};  // 1: the backdrop picture; otherwise the gradient
  MediaParamT<int> motion{3};        // 0 still, 1 and 2 scroll, 3 swing
  SmartCOLORREF gradientTop{0};
  SmartCOLORREF gradientBottom{0};

  VertexBufferHolder ballVertices;
  VertexBufferHolder lowerVertices;
  float swing = 0.0f;
  ComRef<gfx::Texture> lensMap;
  ComRef<gfx::Texture> discMask;
  ComRef<gfx::Texture> gradient;
  TextureRef backdropPicture;
  ComRef<gfx::Texture> overlay1Texture, overlay2Texture, lowerTexture;
  std::array<ColorQuadMesh, 4> bars;
  TexturedScreenQuad backdropQuad;
  TexturedScreenQuad scroll1, scroll2;
  float lensCameraZ = -600.0f;
  float lensDepth = 1.0f;
  float swingAmplitude = 0.0f;
  float heightFraction = 1.0f, widthFraction = 1.0f;
  int effectiveFitMode = 1;
  float panX = 0.0f, panY = 0.0f;
  float zoomX = 1.0f, zoomY = 1.0f;
  D3DXMATRIX textureMatrix = IdentityMatrix();  // stage 1's texture transform
};
