#include "player/render/render_context.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/scene/scene_services.h"
#include "core/startup/thread_slots.h"
#include "player/render/matrix_values.h"
#include "render_fixture.h"

namespace render_test {
namespace {

bool Finite(const D3DXMATRIX& m) {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c)
      if (!std::isfinite(m(r, c))) return false;
  return true;
}

// A picture of 1000 x 500 drawn white into an 80 x 80 back buffer (the fit of 800 x 800 scaled
// down tenfold), then the border bars in black.
class FitTest : public RenderTest {
 protected:
  FitTest() : RenderTest(80, 80) {}

  std::vector<uint32_t> DrawFitted(int mode) {
    RenderContext context;
    for (ColorQuadMesh& bar : context.borderBars)
      bar.InitWorld({}, 0xFF000000);
    QuadCorners view;
    view.FromBackBuffer();
    context.SetTargetView(view, {1000, 500}, {1000, 500}, mode, true);
    device_->Clear(0, nullptr, gfx::ClearFlags::Target, 0xFF0000FF, 1, 0);
    ColorQuadMesh picture;
    picture.InitWorld({0, 0, 1000, 500}, 0xFFFFFFFF);
    device_->SetTransform(gfx::TransformState::View, &context.view);
    device_->SetTransform(gfx::TransformState::Projection, &context.projection);
    context.SetWorldTransform(IdentityMatrix());
    device_->SetTextureStageState(0, gfx::TextureStageState::ColorArg1, gfx::TextureArg::Diffuse);
    device_->SetTextureStageState(0, gfx::TextureStageState::ColorOp, gfx::TextureOp::SelectArg1);
    device_->SetFVF(ColorQuadMesh::kWorldFvf);
    device_->SetStreamSource(0, picture.vertices.buffer.Get(), 0, 16);
    device_->DrawPrimitive(gfx::PrimitiveType::TriangleStrip, 0, 2);
    context.ApplyAndDrawBars();
    return BackBufferPixels();
  }
};

TEST_F(FitTest, FitModesPlaceThePictureAndMaskTheRest) {
  // Mode 1: bars above and below (rows 0-19 and 60-79).
  auto px = DrawFitted(1);
  EXPECT_EQ(px[10 * 80 + 40], 0xFF000000u);
  EXPECT_EQ(px[21 * 80 + 40], 0xFFFFFFFFu);
  EXPECT_EQ(px[58 * 80 + 5], 0xFFFFFFFFu);
  EXPECT_EQ(px[70 * 80 + 40], 0xFF000000u);
  // Mode 2: filled and cropped left and right: everything white.
  px = DrawFitted(2);
  EXPECT_EQ(px[0], 0xFFFFFFFFu);
  EXPECT_EQ(px[79 * 80 + 79], 0xFFFFFFFFu);
  // Modes 0 and 3 stretch the picture over the whole view.
  for (int mode : {0, 3}) {
    px = DrawFitted(mode);
    EXPECT_EQ(px[0], 0xFFFFFFFFu) << mode;
    EXPECT_EQ(px[79 * 80 + 79], 0xFFFFFFFFu) << mode;
  }
}

TEST_F(FitTest, ViewMatrixOfEachFitMode) {
  struct Case {
    int mode;
    float sx, sy, dx, dy;
  } cases[] = {{1, 0.8f, 0.8f, 0, 200}, {2, 1.6f, 1.6f, -400, 0}, {0, 0.8f, 1.6f, 0, 0}};
  for (const Case& c : cases) {
    RenderContext context;
    context.FitProjection({0, 0, 800, 800}, {0, 0, 1000, 500}, c.mode);
    EXPECT_FLOAT_EQ(context.view._11, c.sx) << c.mode;
    EXPECT_FLOAT_EQ(context.view._22, c.sy) << c.mode;
    EXPECT_FLOAT_EQ(context.view._41, c.dx) << c.mode;
    EXPECT_FLOAT_EQ(context.view._42, c.dy) << c.mode;
    EXPECT_FLOAT_EQ((context.view * context.inverseView)._11, 1.0f);
  }
  // A square frame in a square view has no offset in modes 1 and 2.
  for (int mode : {1, 2}) {
    RenderContext context;
    context.FitProjection({0, 0, 800, 800}, {0, 0, 300, 300}, mode);
    EXPECT_FLOAT_EQ(context.view._41, 0);
    EXPECT_FLOAT_EQ(context.view._42, 0);
  }
  // The projection is that of the 80 x 80 back buffer, while objects take the frame, in
  // picture units, as the size of their target.
  RenderContext context;
  context.FitProjection({0, 0, 800, 800}, {0, 0, 1000, 500}, 1);
  EXPECT_FLOAT_EQ(context.projection._11, 2.0f / 80);
  EXPECT_FLOAT_EQ(context.projection._22, -2.0f / 80);
  InstallRenderContextServices();
  RenderContextTlsSlot::Set(&context);
  float w = 0, h = 0;
  CurrentTargetSize(w, h);
  RenderContextTlsSlot::Set(nullptr);
  EXPECT_FLOAT_EQ(w, 1000);
  EXPECT_FLOAT_EQ(h, 500);
}

TEST_F(FitTest, ZeroSizesLeaveTheFitIdentityWithoutBars) {
  const ScreenRect frames[] = {{0, 0, 0, 500}, {0, 0, 1000, 0}};
  for (const ScreenRect& frame : frames) {
    RenderContext context;
    for (ColorQuadMesh& bar : context.borderBars)
      bar.InitWorld({}, 0xFF000000);
    context.FitProjection({0, 0, 800, 800}, frame, 1);
    EXPECT_TRUE(Finite(context.view));
    EXPECT_TRUE(Finite(context.inverseView));
    EXPECT_EQ(context.view, IdentityMatrix());
    const auto* v =
        reinterpret_cast<const float*>(context.borderBars[0].vertices.buffer->Data().data());
    EXPECT_EQ(v[0], 0.0f);
  }
  RenderContext context;
  QuadCorners view;
  view.Init();
  context.SetTargetView(view, {0, 0}, {0, 0}, 1, false);
  EXPECT_TRUE(Finite(context.view));
  EXPECT_TRUE(Finite(context.Camera().screenMatrix));
  EXPECT_TRUE(Finite(context.Camera().fitMatrix));
  EXPECT_TRUE(std::isfinite(context.Camera().unitsPerPixel));
}

TEST_F(FitTest, BorderQuadsReachAThousandUnitsBeyondTheFrame) {
  RenderContext context;
  for (ColorQuadMesh& bar : context.borderBars)
    bar.InitWorld({}, 0xFF000000);
  context.FitProjection({0, 0, 800, 800}, {0, 0, 1000, 500}, 1);
  struct V {
    float x, y, z;
    uint32_t c;
  };
  const auto* top =
      reinterpret_cast<const V*>(context.borderBars[0].vertices.buffer->Data().data());
  EXPECT_FLOAT_EQ(top[0].x, 2000);
  EXPECT_FLOAT_EQ(top[0].y, -1000);
  EXPECT_FLOAT_EQ(top[3].x, -1000);
  EXPECT_FLOAT_EQ(top[3].y, 0);
  EXPECT_EQ(top[3].c, 0xFF000000u);
  const auto* right =
      reinterpret_cast<const V*>(context.borderBars[3].vertices.buffer->Data().data());
  EXPECT_FLOAT_EQ(right[0].y, 1500);
  EXPECT_FLOAT_EQ(right[1].x, 1000);
}

TEST(RenderContextWorld, ModeThreeUsesTheMatrixAndTheCameraOffsetOnly) {
  RenderContext context;
  context.worldBase = ScalingMatrix(2, 2, 1);
  context.cameraWorld = ScalingMatrix(3, 3, 1);
  context.cameraOffsetTranslation = TranslationMatrix(5, 7, 0);
  const D3DXMATRIX m = TranslationMatrix(1, 1, 0);

  context.fitMode = 1;
  EXPECT_EQ(context.WorldFor(m), m * ScalingMatrix(2, 2, 1));
  context.cameraActive = true;
  EXPECT_EQ(context.WorldFor(m), m * ScalingMatrix(3, 3, 1) * TranslationMatrix(5, 7, 0));
  context.fitMode = 3;
  EXPECT_EQ(context.WorldFor(m), m * TranslationMatrix(5, 7, 0));
  context.cameraActive = false;
  EXPECT_EQ(context.WorldFor(m), m);

  D3DXMATRIX wvp;
  context.view = ScalingMatrix(2, 2, 1);
  context.GetWorldViewProjection(wvp, m);
  EXPECT_EQ(wvp, m * ScalingMatrix(2, 2, 1));
}

class CameraBlockTest : public RenderTest {
 protected:
  CameraBlockTest() : RenderTest(800, 800) {}
};

TEST_F(CameraBlockTest, FitFactorsOfAWidePictureInASquareView) {
  CameraBlock block;
  // 1000 x 500 inside 800 x 800: fitted (0, 200)-(800, 600).
  block.Setup(800, 800, {1000, 500}, 0, true);
  EXPECT_FLOAT_EQ(block.fittedTop, 200);
  EXPECT_FLOAT_EQ(block.unitsPerPixel, 1000.0f / 800);
  EXPECT_FLOAT_EQ(block.scaleX, 1.0f);
  EXPECT_FLOAT_EQ(block.scaleY, 2.0f);
  // B = 1, C = (400 + 400) / 400 = 2.
  EXPECT_FLOAT_EQ(block.fitScaleX, 1.0f);
  EXPECT_FLOAT_EQ(block.fitScaleY, 0.5f);
  EXPECT_FLOAT_EQ(block.fitOffsetY, (1 - 2.0f) * 0.5f * 500 / 2);
  EXPECT_FLOAT_EQ(block.screenMatrix._11, 0.8f);
  EXPECT_FLOAT_EQ(block.screenMatrix._42, 200);
  // Fit mode 1 has no fit factors.
  block.Setup(800, 800, {1000, 500}, 1, true);
  EXPECT_FLOAT_EQ(block.fitScaleY, 1.0f);
  EXPECT_FLOAT_EQ(block.fitOffsetY, 0.0f);
}

TEST(RoundToInt, RoundsHalfToEvenAndSaturates) {
  const std::pair<float, int> cases[] = {{2.5f, 2},           {3.5f, 4},   {-2.5f, -2},
                                         {1.4f, 1},           {-1.6f, -2}, {1e20f, INT32_MAX},
                                         {-1e20f, INT32_MIN}, {NAN, 0}};
  for (auto [value, expected] : cases)
    EXPECT_EQ(RoundToInt(value), expected) << value;
}

}  // namespace
}  // namespace render_test
