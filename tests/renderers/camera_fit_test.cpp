#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>

#include "core/crt_rand.h"
#include "core/scene/zkw_render_obj.h"
#include "renderer_fixture.h"

namespace renderer_test {
namespace {

// A 500 x 250 picture whose colour tells where in it a pixel lies: red grows from left to right
// and green from top to bottom over 256 texels; blue is 0x80 everywhere, so a pixel with blue 0
// is a border bar.
constexpr float kPictureW = 500, kPictureH = 250;
constexpr unsigned kZoomPercent = 125;  // a drifting camera shows 400 x 200 of it

enum class Camera { Still, Drifting, DriftingOffscreen };

const char* Name(Camera camera) {
  switch (camera) {
    case Camera::Still:
      return "still";
    case Camera::Drifting:
      return "drifting";
    case Camera::DriftingOffscreen:
      return "drifting, drawn through the offscreen targets";
  }
  return "";
}

struct TargetSize {
  uint32_t width, height;
};

// The background fitted into back buffers of other sizes than the picture's, with the camera
// still or drifting, in every fit mode.
class CameraFitTest : public RendererTest, public ::testing::WithParamInterface<TargetSize> {
 protected:
  CameraFitTest() : RendererTest(GetParam().width, GetParam().height) {}

  void SetUp() override {
    RendererTest::SetUp();
    gfx::Texture* texture = nullptr;
    ASSERT_EQ(
        device_->CreateTexture(256, 256, 1, 0, gfx::Format::A8R8G8B8, gfx::Pool::Managed, &texture),
        gfx::kOk);
    std::vector<uint32_t> texels(256 * 256);
    for (uint32_t y = 0; y < 256; ++y)
      for (uint32_t x = 0; x < 256; ++x)
        texels[y * 256 + x] = 0xFF000080u | x << 16 | y << 8;
    EXPECT_EQ(texture->WriteLevel(0, texels.data(), 256 * 4), gfx::kOk);
    ImageTextureSet& set = Doc().imageTextureSets[DS_ImageFileLink(u"glimres.dll", 5).Key()];
    set.textures = {ComRef<gfx::Texture>(texture)};
    set.width = uint32_t(kPictureW);
    set.height = uint32_t(kPictureH);
    set.aspect = kPictureH / kPictureW;
  }

  // Starts a slide as the player does, lets the camera run for four seconds, draws one frame
  // and answers the back buffer; `centre` is the picture point the camera looks at.
  std::vector<uint32_t> Frame(int fitMode, Camera camera, D3DXVECTOR2& centre) {
    DS_2D_Light renderer;
    renderer.camera.mode.SetValue(camera == Camera::Still ? 0 : 1);
    renderer.camera.zoom.SetValue(kZoomPercent);
    renderer.Prepare();
    QuadCorners view;
    view.SetRect(0, 0, 1, 1);
    renderer.SetViewQuad(view);
    renderer.SetFitMode(fitMode);
    view.FromBackBuffer();
    renderer.SetViewQuad(view);
    renderer.EnableCamera(true);
    renderer.ResetDeviceState();
    crt_srand(3);
    for (int i = 0; i <= 40; ++i)
      renderer.Update(0.1f * float(i));
    const D3DXVECTOR3& offset = Context().cameraOffset;
    centre = {kPictureW / 2 - offset.x, kPictureH / 2 - offset.y};

    ComRef<gfx::Effect> effect = MakeEffect();
    RuntimeObjectList objects;
    int readers = 0;
    if (camera == Camera::DriftingOffscreen) {
      objects.emplace_back(std::unique_ptr<ZKW_RenderObj>(new PictureReader(effect.Get())));
      readers = 1;
      device_->Clear(0, nullptr, gfx::ClearFlags::Target, 0, 1, 0);
      renderer.BeginTargets();
    }
    renderer.DrawBackground(nullptr);
    renderer.RenderObjects(objects, readers);
    renderer.Compose(nullptr);
    return BackBufferPixels();
  }
};

TEST_P(CameraFitTest, ThePictureFillsTheFittedAreaAndBarsMaskOnlyTheRest) {
  const float W = float(width_), H = float(height_);
  for (int fitMode : {0, 1, 2, 3}) {
    for (Camera camera : {Camera::Still, Camera::Drifting, Camera::DriftingOffscreen}) {
      SCOPED_TRACE(::testing::Message() << "fit mode " << fitMode << ", camera " << Name(camera));
      D3DXVECTOR2 centre;
      const std::vector<uint32_t> px = Frame(fitMode, camera, centre);

      // What the view shows: the picture / zoom around the camera's point; in fit mode 3 the
      // world is used unchanged and the whole picture shows.
      const bool moves = camera != Camera::Still && fitMode != 3;
      const float frameW = moves ? std::trunc(kPictureW * 100 / kZoomPercent) : kPictureW;
      const float frameH = moves ? std::trunc(kPictureH * 100 / kZoomPercent) : kPictureH;
      if (!moves) centre = {kPictureW / 2, kPictureH / 2};
      if (camera != Camera::Still && fitMode != 3)
        ASSERT_GT(std::hypot(centre.x - kPictureW / 2, centre.y - kPictureH / 2), 5.0f)
            << "the camera has drifted off the centre";

      // The fitted frame: inside with bars (1), filled and cropped (2), or stretched.
      float sx = W / frameW, sy = H / frameH;
      if (fitMode == 1) sx = sy = std::min(sx, sy);
      if (fitMode == 2) sx = sy = std::max(sx, sy);
      const float left = (W - frameW * sx) / 2, top = (H - frameH * sy) / 2;
      const float right = left + frameW * sx, bottom = top + frameH * sy;

      int wrong = 0;
      std::ostringstream first;
      for (uint32_t y = 0; y < height_; ++y) {
        for (uint32_t x = 0; x < width_; ++x) {
          const float cx = float(x) + 0.5f, cy = float(y) + 0.5f;
          const float edge = std::min({std::fabs(cx - left), std::fabs(cx - right),
                                       std::fabs(cy - top), std::fabs(cy - bottom)});
          if (edge < 1.5f) continue;  // filtered across the edge of a bar
          const uint32_t got = px[y * width_ + x] & 0xFFFFFF;
          uint32_t want = 0;  // a bar
          int tolerance = 0;
          if (cx > left && cx < right && cy > top && cy < bottom) {
            const float pictureX = (cx - left) / sx - frameW / 2 + centre.x;
            const float pictureY = (cy - top) / sy - frameH / 2 + centre.y;
            const auto texel = [](float at, float size) {
              return uint32_t(std::clamp(std::lround(at / size * 256 - 0.5f), 0L, 255L));
            };
            want = texel(pictureX, kPictureW) << 16 | texel(pictureY, kPictureH) << 8 | 0x80;
            tolerance = 3;
          }
          const auto near = [&](int shift) {
            return std::abs(int(got >> shift & 0xFF) - int(want >> shift & 0xFF)) <= tolerance;
          };
          if (near(16) && near(8) && near(0)) continue;
          if (wrong++ == 0)
            first << std::hex << "pixel (" << std::dec << x << ", " << y << ") is 0x" << std::hex
                  << got << ", expected 0x" << want;
        }
      }
      EXPECT_EQ(wrong, 0) << first.str();
    }
  }
}

INSTANTIATE_TEST_SUITE_P(TargetSizes, CameraFitTest,
                         ::testing::Values(TargetSize{640, 300}, TargetSize{1024, 768},
                                           TargetSize{300, 400}),
                         [](const ::testing::TestParamInfo<TargetSize>& info) {
                           return std::to_string(info.param.width) + "x" +
                                  std::to_string(info.param.height);
                         });

}  // namespace
}  // namespace renderer_test
