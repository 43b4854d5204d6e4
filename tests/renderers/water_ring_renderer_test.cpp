#include <gtest/gtest.h>

#include <cmath>

#include "core/crt_rand.h"
#include "player/render/matrix_values.h"
#include "renderer_fixture.h"
#include "renderers/water_ring/ds_water_ring_light.h"

namespace renderer_test {
namespace {

using gfx::RenderState;

class WaterRingTest : public RendererTest {
 protected:
  WaterRingTest() : RendererTest(64, 64) {}

  // The ramp as a picture of `width` x `height` units under the default background link.
  void ProvideRamp(uint32_t width, uint32_t height) {
    ProvidePicture(DS_ImageFileLink(u"glimres.dll", 5), width, height, 64, 64, Ramp(64));
  }

  // A water ring that shows the picture unbent and unlit: no refraction, no highlight.
  static void MakeStill(DS_WaterRingLight& renderer) {
    renderer.refraction.SetValue(0);
    renderer.specular.SetValue(0);
  }

  // Starts the renderer in fit mode `fit`, runs its camera (mode `cameraMode`) for four seconds
  // from a fixed seed and draws one frame.
  std::vector<uint32_t> Shown(DS_2D_Light& renderer, int cameraMode,
                              const RuntimeObjectList& objects = {}, int fit = 1) {
    renderer.camera.mode.SetValue(cameraMode);
    StartSlide(renderer);
    renderer.SetFitMode(fit);
    crt_srand(3);
    for (int i = 0; i <= 40; ++i)
      renderer.Update(0.1f * float(i));
    // Green where nothing draws: the water ring clears nothing before its water.
    device_->Clear(0, nullptr, gfx::ClearFlags::Target, 0xFF00FF00, 1, 0);
    // The parallax the nearest object of a frame before leaves behind.
    Context().cameraOffsetTranslation = TranslationMatrix(24, 12, 0);
    Frame(renderer, objects);
    return BackBufferPixels();
  }
};

TEST_F(WaterRingTest, RecordsOfBothVersions) {
  DS_WaterRingLight renderer;
  renderer.mode.SetValue(1);
  renderer.waveSpeed.SetValue(10);
  renderer.rows.SetValue(20);
  renderer.resolution.SetValue(30);
  renderer.dropStrength.SetValue(40);
  renderer.damping.SetValue(60);
  renderer.refraction.SetValue(70);
  renderer.dropsPerMinute.SetValue(120);
  renderer.specular.SetValue(50);
  renderer.shininess.SetValue(10);
  const auto bytes = Written([&](DS_IOF_Archive& a) { renderer.Save(a); });
  auto back = ReadRenderer(bytes);
  auto* read = dynamic_cast<DS_WaterRingLight*>(back.get());
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->mode.Value(), 1);
  EXPECT_EQ(read->waveSpeed.Value(), 10u);
  EXPECT_EQ(read->rows.Value(), 20u);
  EXPECT_EQ(read->resolution.Value(), 30u);
  EXPECT_EQ(read->dropStrength.Value(), 40u);
  EXPECT_EQ(read->damping.Value(), 60u);
  EXPECT_EQ(read->refraction.Value(), 70u);
  EXPECT_FLOAT_EQ(read->dropsPerMinute.Scaled(), 2.0f) << "the scaled values follow";
  EXPECT_FLOAT_EQ(read->specular.Scaled(), 0.5f);
  EXPECT_FLOAT_EQ(read->shininess.Scaled(), 8.0f);
  EXPECT_EQ(Written([&](DS_IOF_Archive& a) { read->Save(a); }), bytes);

  // Version 1 holds only the mode.
  const auto v1 = Written([](DS_IOF_Archive& a) {
    a.io().WriteWideString(u"DS_WaterRingLight");
    a.io().WriteDword(1);
    a.io().WriteInt32(1);
    DS_2D_Light().Save(a);
  });
  back = ReadRenderer(v1);
  read = dynamic_cast<DS_WaterRingLight*>(back.get());
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->mode.Value(), 1);
  EXPECT_TRUE(read->NeedsOffscreenPass());
  EXPECT_EQ(read->dropStrength.Value(), 50u);
  EXPECT_FLOAT_EQ(read->dropsPerMinute.Scaled(), 0.5f);
  EXPECT_FLOAT_EQ(read->shininess.Scaled(), 40.0f);
}

TEST_F(WaterRingTest, SurfaceValuesLightAndMaterial) {
  ProvideRamp(800, 400);
  DS_WaterRingLight renderer;
  renderer.waveSpeed.SetValue(50);
  renderer.dropStrength.SetValue(100);
  renderer.refraction.SetValue(50);
  StartSlide(renderer);
  const WaterHeightField& surface = renderer.surface;
  EXPECT_FLOAT_EQ(surface.waveSpeed, 2.0f);
  EXPECT_FLOAT_EQ(surface.dropStrength, 0.8f);
  EXPECT_FLOAT_EQ(surface.damping, 0.99f);
  EXPECT_FLOAT_EQ(surface.refraction, 0.5f);
  EXPECT_EQ(surface.columns, 128u);
  EXPECT_EQ(surface.rows, 64u) << "the picture's aspect";
  EXPECT_FLOAT_EQ(surface.extentX, 60.0f);
  EXPECT_TRUE(surface.vertices && surface.indices);
  for (const auto& [raw, damping] : {std::pair{0u, 0.9f}, {25u, 0.945f}, {100u, 0.999f}}) {
    renderer.damping.SetValue(raw);
    renderer.ApplySurfaceValues();
    EXPECT_FLOAT_EQ(surface.damping, damping) << raw;
  }

  gfx::Material material;
  ASSERT_EQ(device_->GetMaterial(&material), gfx::kOk);
  EXPECT_EQ(material.diffuse, (gfx::ColorValue{0, 0, 0, 1}));
  EXPECT_EQ(material.ambient, gfx::ColorValue{});
  EXPECT_FLOAT_EQ(material.specular.r, 0.9f);
  EXPECT_EQ(material.specular.a, 0.0f);
  EXPECT_FLOAT_EQ(material.power, 40.0f);
  gfx::Light light;
  bool enabled = false;
  ASSERT_EQ(device_->GetLight(0, &light), gfx::kOk);
  ASSERT_EQ(device_->GetLightEnable(0, &enabled), gfx::kOk);
  EXPECT_TRUE(enabled);
  EXPECT_EQ(light.type, gfx::LightType::Directional);
  EXPECT_EQ(light.direction, (D3DXVECTOR3{0.5f, 1.0f, -1.0f}));
  EXPECT_EQ(light.specular, (gfx::ColorValue{1, 1, 1, 0}));
  EXPECT_EQ(device_->State().Get(RenderState::Lighting), 0u);

  // The device loses the surface's buffers and gets them back at the reset.
  renderer.ReleaseDeviceObjects();
  EXPECT_FALSE(surface.vertices || surface.indices);
  renderer.ResetDeviceState();
  EXPECT_TRUE(surface.vertices && surface.indices);
}

TEST_F(WaterRingTest, DropsFallEveryIntervalAndNeverWithoutDropsAMinute) {
  ProvideRamp(256, 64);  // a small grid: 128 x 32
  // Each drop draws two numbers; the camera stands still and draws none.
  auto drawsOver = [&](unsigned perMinute, float seconds) {
    DS_WaterRingLight renderer;
    renderer.dropsPerMinute.SetValue(perMinute);
    StartSlide(renderer);
    crt_srand(5);
    for (float t = 0.0f; t <= seconds; t += 0.25f)
      renderer.Update(t);
    const int next = crt_rand();
    crt_srand(5);
    for (int draws = 0; draws < 100; ++draws)
      if (crt_rand() == next) return draws;
    return -1;
  };
  EXPECT_EQ(drawsOver(30, 2.0f), 0) << "2 seconds have not passed";
  EXPECT_EQ(drawsOver(30, 2.25f), 2);
  EXPECT_EQ(drawsOver(30, 9.0f), 8) << "at 2.25, 4.5, 6.75 and 9 s";
  EXPECT_EQ(drawsOver(0, 60.0f), 0);
}

TEST_F(WaterRingTest, AViewWithoutAreaLeavesTheWaterProjection) {
  ProvideRamp(800, 400);
  DS_WaterRingLight renderer;
  StartSlide(renderer);
  const D3DXMATRIX projection = renderer.waterProjection;
  const QuadCorners view = renderer.viewQuad;
  QuadCorners flat;
  flat.SetRect(0, 0, 0, 64);
  renderer.SetViewQuad(flat);
  EXPECT_EQ(renderer.waterProjection, projection);
  EXPECT_EQ(renderer.viewQuad.Right(), view.Right());
  // The projection spans the water's width (30 / aspect) scaled as the picture is to the
  // target: 60 x 64 / 800 wide from -30.
  D3DXMATRIX expected;
  D3DXMatrixOrthoOffCenterRH(&expected, -30.0f, -30.0f + 2 * 64.0f / 800 * 30,
                             15 - 2 * 64.0f / 400 * 15, 15, -1, 2000);
  EXPECT_EQ(projection, expected);
}

TEST_F(WaterRingTest, ModeZeroShowsThePictureOnlyThroughTheWater) {
  ProvideRamp(64, 64);
  DS_WaterRingLight renderer;
  StartSlide(renderer);
  renderer.Update(0.1f);
  ClearLog();
  Frame(renderer);
  bool water = false;
  for (const gfx::FrameLogEntry& entry : Log()) {
    if (entry.kind != gfx::FrameLogEntry::Kind::Draw) {
      ADD_FAILURE() << "nothing is cleared";
      continue;
    }
    EXPECT_NE(entry.vertexBuffer, renderer.background.vertices.buffer->Id())
        << "no flat background";
    if (entry.state.fvf != WaterHeightField::kFvf) continue;
    water = true;
    EXPECT_TRUE(entry.indexed);
    EXPECT_EQ(entry.primitiveType, gfx::PrimitiveType::TriangleStrip);
    EXPECT_EQ(entry.primitiveCount, 2 * 128 * 128 - 2);
    EXPECT_EQ(entry.textures[0], renderer.picture.texture->Id());
    EXPECT_EQ(entry.state.Get(RenderState::Lighting), 1u);
    EXPECT_EQ(entry.state.Get(RenderState::SpecularEnable), 1u);
  }
  EXPECT_TRUE(water);
  EXPECT_EQ(device_->State().Get(RenderState::Lighting), 0u) << "off after the frame";

  // Unbent and unlit, the water shows the picture as the plain renderer does.
  DS_2D_Light plain;
  const auto picture = Shown(plain, 0);
  DS_WaterRingLight still;
  MakeStill(still);
  EXPECT_LE(MaxDifference(Shown(still, 0), picture), 6);
}

// The water lies where the picture does, however it is fitted and wherever the camera looks
// (the offset of the view and of the camera is carried by the pan alone), also when an object
// reads the picture and the water is drawn off screen.
TEST_F(WaterRingTest, TheWaterFollowsTheFitAndTheCamera) {
  ProvideRamp(500, 250);
  ComRef<gfx::Effect> copy = MakeEffect();
  for (int fit : {1, 2}) {
    for (int cameraMode : {0, 1}) {
      for (bool read : {false, true}) {
        SCOPED_TRACE(testing::Message()
                     << "fit " << fit << ", " << (cameraMode == 0 ? "still" : "drifting")
                     << (read ? ", read by an object" : ""));
        RuntimeObjectList objects;
        if (read)
          objects.emplace_back(std::unique_ptr<ZKW_RenderObj>(new PictureReader(copy.Get())));
        DS_2D_Light plain;
        const auto picture = Shown(plain, cameraMode, objects, fit);
        DS_WaterRingLight water;
        MakeStill(water);
        water.dropsPerMinute.SetValue(0);  // the same random camera moves as the plain renderer's
        const auto shown = Shown(water, cameraMode, objects, fit);
        int off = 0;
        for (size_t i = 0; i < shown.size(); ++i)
          off += MaxDifference({shown[i]}, {picture[i]}) > 12;
        EXPECT_LE(off, 64) << "at most the pixels of one edge differ";
        EXPECT_LE(MaxDifference({shown[32 * 64 + 32]}, {picture[32 * 64 + 32]}), 6);
        if (fit == 1) EXPECT_EQ(shown[2 * 64 + 32], 0xFF000000u) << "the bars stay black";
        EXPECT_EQ(Context().fitMode, fit) << "the frame keeps its fit mode";
      }
    }
  }
}

TEST_F(WaterRingTest, TheLightHighlightsTheRipples) {
  ProvideRamp(64, 64);
  std::vector<uint32_t> frames[2];
  for (int lit = 0; lit < 2; ++lit) {
    DS_WaterRingLight renderer;
    renderer.specular.SetValue(lit == 0 ? 0 : 90);
    renderer.dropStrength.SetValue(400);
    crt_srand(1);
    StartSlide(renderer);
    for (int i = 0; i < 5; ++i)
      renderer.surface.Drop();
    for (float t : {0.1f, 0.2f, 0.3f, 0.4f})
      renderer.Update(t);
    Frame(renderer);
    frames[lit] = BackBufferPixels();
  }
  int highlighted = 0;
  for (size_t i = 0; i < frames[0].size(); ++i) {
    for (int shift : {0, 8, 16})
      ASSERT_GE(Channel(frames[1][i], shift) + 1, Channel(frames[0][i], shift)) << "only lighter";
    highlighted += MaxDifference({frames[1][i]}, {frames[0][i]}) > 10;
  }
  EXPECT_GT(highlighted, 20);
  EXPECT_LT(highlighted, 64 * 64 / 2) << "where the ripples face the light";
}

TEST_F(WaterRingTest, ObjectsDrawUnlitAndScreenQuadsUnblended) {
  ProvideRamp(64, 64);
  DS_WaterRingLight renderer;
  StartSlide(renderer);
  RedSquare square;
  device_->SetRenderState(RenderState::Lighting, 1);
  ClearLog();
  renderer.DrawSpriteLayer(square.layer);
  renderer.DrawIndexedMesh(square.batch, nullptr, 0, 1);
  ASSERT_EQ(Log().size(), 2u);
  for (const gfx::FrameLogEntry& entry : Log())
    EXPECT_EQ(entry.state.Get(RenderState::Lighting), 0u);
  EXPECT_EQ(device_->State().Get(RenderState::Lighting), 1u) << "on again after";

  ColorQuadMesh overlay;
  QuadCorners whole;
  whole.FromBackBuffer();
  overlay.InitScreen(whole, 0x80000000);
  renderer.DrawFadeOverlay(&overlay);
  EXPECT_EQ(device_->State().Get(RenderState::AlphaBlendEnable), 0u);
  TexturedScreenQuad quad;
  quad.ClearTexture(whole);
  ClearLog();
  renderer.DrawScreenQuad(quad);
  ASSERT_EQ(Log().size(), 1u);
  EXPECT_EQ(Log()[0].state.Get(0, gfx::TextureStageState::ColorOp), gfx::TextureOp::SelectArg1);
  EXPECT_EQ(device_->State().Get(RenderState::AlphaBlendEnable), 0u);
  EXPECT_EQ(device_->State().Get(RenderState::ZEnable), 0u);
}

TEST_F(WaterRingTest, ADropRipplesThePictureAroundIt) {
  ProvideRamp(64, 64);
  for (int mode : {0, 1}) {
    SCOPED_TRACE(mode == 0 ? "over the picture" : "over the finished picture");
    DS_WaterRingLight renderer;
    renderer.mode.SetValue(mode);
    renderer.specular.SetValue(0);
    renderer.dropStrength.SetValue(400);
    renderer.dropsPerMinute.SetValue(0);
    StartSlide(renderer);
    // Calm the surface, then drop once at a known node.
    std::fill(renderer.surface.nodes.begin(), renderer.surface.nodes.end(),
              WaterHeightField::Node{});
    renderer.Update(0.0f);
    Frame(renderer);
    const auto calm = BackBufferPixels();
    crt_srand(1);
    const int column = crt_rand() % 126 + 1, row = crt_rand() % 126 + 1;
    crt_srand(1);
    renderer.surface.Drop();
    // Nodes lie half a pixel apart; a ripple travels at most a node a sub-step.
    const int x = column / 2, y = row / 2;
    int before = 0;
    for (float t : {0.1f, 0.2f, 0.3f}) {
      renderer.Update(t);
      Frame(renderer);
      const auto rippled = BackBufferPixels();
      int near = 0, far = 0;
      for (int py = 0; py < 64; ++py) {
        for (int px = 0; px < 64; ++px) {
          const size_t i = size_t(py) * 64 + px;
          const bool changed = MaxDifference({rippled[i]}, {calm[i]}) > 3;
          const int distance = std::max(std::abs(px - x), std::abs(py - y));
          if (distance <= 8) near += changed;
          if (distance > 16) far += changed;
        }
      }
      EXPECT_GT(near, before) << "at " << t << " s around (" << x << ", " << y << ")";
      EXPECT_EQ(far, 0) << "nothing changes far from the drop yet";
      before = near;
    }
  }
}

TEST_F(WaterRingTest, ModeOneShowsTheObjectsThroughTheWater) {
  ProvideRamp(64, 64);
  RuntimeObjectList objects;
  objects.emplace_back(std::unique_ptr<ZKW_RenderObj>(new RedSquare));
  DS_2D_Light plain;
  const auto picture = Shown(plain, 0, objects);
  ASSERT_EQ(picture[32 * 64 + 32], 0xFFFF0000u);

  DS_WaterRingLight still;
  MakeStill(still);
  still.mode.SetValue(1);
  EXPECT_LE(MaxDifference(Shown(still, 0, objects), picture), 6);

  EXPECT_EQ(device_->State().Get(RenderState::Lighting), 0u);
}

}  // namespace
}  // namespace renderer_test
