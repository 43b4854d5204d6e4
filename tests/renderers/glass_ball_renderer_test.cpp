#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "renderer_fixture.h"
#include "renderers/glass_ball/ds_glass_ball_light.h"
#include "renderers/glass_ball/glass_ball_motion.h"
#include "renderers/glass_ball/lens_textures.h"

namespace renderer_test {
namespace {

using gfx::TextureStageState, gfx::TextureOp;

class GlassBallTest : public RendererTest {
 protected:
  GlassBallTest() : RendererTest(64, 64) {}

  // A still ball of half size without overlays over a red-to-blue gradient, the slide picture
  // given by `texels` (64 x 64), a backdrop picture of the view's size for the fit.
  void StartBall(DS_GlassBallLight& ball, const std::vector<uint32_t>& texels) {
    ball.size.SetValue(50);
    ball.motion.SetValue(0);
    ball.overlay1.SetValue(0);
    ball.overlay2.SetValue(0);
    ball.gradientTop.SetValue(0x0000FF);     // red
    ball.gradientBottom.SetValue(0xFF0000);  // blue
    ball.backdropLink = DS_ImageFileLink(u"pictures.dll", 11);
    ProvidePicture(ball.backdropLink, 64, 64, 0xFF808080);
    ball.backgroundLink = DS_ImageFileLink(u"pictures.dll", 9);
    ProvidePicture(ball.backgroundLink, 64, 64, 64, 64, texels);
    StartSlide(ball);
  }

  std::vector<uint32_t> Shown(DS_GlassBallLight& ball) {
    ball.Update(1.0f);
    Frame(ball);
    return BackBufferPixels();
  }

  // Corner x positions (bottom-left, top-right) of a screen quad.
  static std::pair<float, float> Span(TexturedScreenQuad& quad) {
    struct Vertex {
      float x, y, z, rhw;
      uint32_t colour;
      float u, v;
    };
    if (!quad.vertices.Lock()) return {};
    const auto* v = static_cast<const Vertex*>(quad.vertices.locked);
    const std::pair<float, float> span{v[0].x, v[3].x};
    quad.vertices.Unlock();
    return span;
  }
};

TEST_F(GlassBallTest, RecordsOfBothVersions) {
  DS_GlassBallLight ball;
  ball.overlay1Link = DS_ImageFileLink(u"one.png", 1);
  ball.overlay2Link = DS_ImageFileLink(u"two.png", 2);
  ball.lowerLink = DS_ImageFileLink(u"stand.png", 3);
  ball.backdropLink = DS_ImageFileLink(u"back.png", 4);
  ball.speed.SetValue(50);
  ball.position.SetValue({-20, 35});
  ball.size.SetValue(80);
  ball.lens.SetValue(40);
  ball.overlay1.SetValue(0);
  ball.overlay2.SetValue(0);
  ball.lowerOn.SetValue(1);
  ball.backdropMode.SetValue(1);
  ball.motion.SetValue(2);
  ball.gradientTop.SetValue(0x102030);
  ball.gradientBottom.SetValue(0x405060);
  const auto bytes = Written([&](DS_IOF_Archive& a) { ball.Save(a); });
  auto back = ReadRenderer(bytes);
  auto* read = dynamic_cast<DS_GlassBallLight*>(back.get());
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->overlay1Link.name, u"one.png");
  EXPECT_EQ(read->overlay2Link.id, 2);
  EXPECT_EQ(read->lowerLink.name, u"stand.png");
  EXPECT_EQ(read->backdropLink.id, 4);
  EXPECT_FLOAT_EQ(read->speed.Scaled(), 1.5f) << "the scaled value follows";
  EXPECT_EQ(read->position.Value(), (Int32Pair{-20, 35}));
  EXPECT_EQ(read->size.Value(), 80u);
  EXPECT_EQ(read->lens.Value(), 40u);
  EXPECT_EQ(read->overlay1.Value(), 0);
  EXPECT_EQ(read->overlay2.Value(), 0);
  EXPECT_EQ(read->lowerOn.Value(), 1);
  EXPECT_EQ(read->backdropMode.Value(), 1);
  EXPECT_EQ(read->motion.Value(), 2);
  EXPECT_EQ(read->gradientTop.Value(), 0x102030u);
  EXPECT_EQ(read->gradientBottom.Value(), 0x405060u);
  EXPECT_EQ(Written([&](DS_IOF_Archive& a) { read->Save(a); }), bytes);

  // Version 1 keeps the speed on another scale: 60 is floor(120 / 3) + 33.
  const auto v1 = Written([](DS_IOF_Archive& a) {
    a.io().WriteWideString(u"DS_GlassBallLight");
    a.io().WriteDword(1);
    for (int i = 0; i < 4; ++i)
      WriteFileLink(a, DS_ImageFileLink(u"glimres.dll", 58 + i));
    a.io().WriteUInt32(60);
    a.io().WriteInt32Pair({0, 0});
    a.io().WriteUInt32(100);
    a.io().WriteUInt32(0);
    for (int32_t value : {1, 1, 0, 0, 3})
      a.io().WriteInt32(value);
    a.io().WriteDword(0);
    a.io().WriteDword(0);
    DS_2D_Light().Save(a);
  });
  back = ReadRenderer(v1);
  read = dynamic_cast<DS_GlassBallLight*>(back.get());
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->speed.Value(), 73u);
  EXPECT_EQ(read->motion.Value(), 3);
  EXPECT_EQ(read->backdropLink.id, 61);
}

TEST_F(GlassBallTest, TheMaskTheLensMapAndTheGradient) {
  const auto mask = DiscMaskTexels();
  ASSERT_EQ(mask.size(), 1024u * 1024u);
  EXPECT_EQ(mask[512 * 1024 + 512], 0);
  EXPECT_EQ(mask[512 * 1024 + 512 + 508], 0) << "distance 508";
  EXPECT_EQ(mask[512 * 1024 + 512 + 509], 255) << "distance 509";
  EXPECT_EQ(mask[(512 - 508) * 1024 + 512], 0);
  EXPECT_EQ(mask[(512 - 509) * 1024 + 512], 255);
  EXPECT_EQ(mask[0], 255);

  // The slopes of a hemisphere of radius 128: towards the right and lower neighbours, scaled
  // from radians so that a right angle is 25600.
  const auto lens = LensBumpTexels();
  ASSERT_EQ(lens.size(), 2u * 256 * 256);
  auto du = [&](int r, int c) { return lens[2 * (r * 256 + c)]; };
  auto dv = [&](int r, int c) { return lens[2 * (r * 256 + c) + 1]; };
  auto height = [](int r, int c) {
    const double d = (r - 128.0) * (r - 128.0) + (c - 128.0) * (c - 128.0);
    return d <= 16384 ? std::sqrt(16384 - d) : 0.0;
  };
  for (const auto& [r, c] : {std::pair{128, 128}, {100, 40}, {128, 250}, {5, 128}, {200, 170}}) {
    EXPECT_EQ(du(r, c), int(std::atan(height(r, c) - height(r, c + 1)) * 51200 / std::numbers::pi))
        << r;
    EXPECT_EQ(dv(r, c), int(std::atan(height(r, c) - height(r + 1, c)) * 51200 / std::numbers::pi))
        << c;
  }
  EXPECT_GT(du(128, 200), 0) << "the surface falls to the right on the right";
  EXPECT_LT(du(128, 50), 0);
  EXPECT_GT(dv(200, 128), 0);
  for (const auto& [r, c] : {std::pair{0, 0}, {255, 255}, {10, 245}})
    EXPECT_EQ(du(r, c) | dv(r, c), 0) << "outside the hemisphere";
  EXPECT_EQ(du(128, 255), 0) << "the last column compares with itself";

  // Rows from the top colour to the bottom one, alpha 0: red 0x0000FF to blue 0xFF0000.
  const auto gradient = GradientTexels(0x0000FF, 0xFF0000);
  ASSERT_EQ(gradient.size(), 256u * 256u);
  EXPECT_EQ(gradient[0], 0x00FF0000u);
  EXPECT_EQ(gradient[255 * 256 + 7], 0x000000FFu);
  EXPECT_EQ(gradient[128 * 256], 0x007F0080u) << "trunc(255 - 128), trunc(128)";
  EXPECT_EQ(gradient[128 * 256 + 255], gradient[128 * 256]) << "rows are even";

  // Made on the device at the slide's start.
  DS_GlassBallLight ball;
  StartBall(ball, Stripes(64, 64, 64, 0xFF00FF00, 0xFF00FF00));
  ASSERT_TRUE(ball.lensMap && ball.discMask && ball.gradient);
  EXPECT_EQ(ball.lensMap->GetFormat(), gfx::Format::V16U16);
  EXPECT_EQ(ball.lensMap->Width(), 256u);
  EXPECT_EQ(ball.discMask->GetFormat(), gfx::Format::A8);
  EXPECT_EQ(ball.discMask->Width(), 1024u);
  EXPECT_EQ(Pixels(ball.gradient.Get())[0] & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(ball.backdropQuad.texture.Get(), ball.gradient.Get());
  EXPECT_EQ(ball.effectiveFitMode, 2);
}

TEST_F(GlassBallTest, LensParameters) {
  DS_GlassBallLight ball;
  ball.UpdateLensParameters();
  EXPECT_FLOAT_EQ(ball.lensCameraZ, -600.0f);
  EXPECT_FLOAT_EQ(ball.lensDepth, (1.105f + 0.385f) * 1.05f);
  EXPECT_FLOAT_EQ(ball.swingAmplitude, 0.125f);

  ball.size.SetValue(50);
  ball.lens.SetValue(100);
  ball.heightFraction = 0.8f;
  ball.zoomX = 1.25f;
  ball.UpdateLensParameters();
  EXPECT_FLOAT_EQ(ball.lensCameraZ, -600.0f / 0.625f);
  EXPECT_FLOAT_EQ(ball.lensDepth, (0.5f * 1.105f + 0.385f) * 1.05f * 1.5f);
  EXPECT_FLOAT_EQ(ball.swingAmplitude, 0.1875f);

  // A zoom of 0 keeps the camera where it would be without one.
  ball.zoomX = 0.0f;
  ball.UpdateLensParameters();
  EXPECT_FLOAT_EQ(ball.lensCameraZ, -600.0f);
}

TEST_F(GlassBallTest, TheSwingIsATriangleWaveOfTheSharedPhase) {
  const std::pair<float, float> wave[] = {{0.0f, 1.0f},   {0.5f, 0.0f},  {1.0f, -1.0f},
                                          {1.5f, 0.0f},   {2.0f, 1.0f},  {0.25f, 0.5f},
                                          {2.75f, -0.5f}, {-0.5f, 0.0f}, {-1.0f, -1.0f}};
  for (const auto& [phase, swing] : wave)
    EXPECT_NEAR(SwingAt(phase), swing, 1e-6f) << phase;

  // Speed raw 32: 0.96 x 0.0625 = 0.06 units of phase a second, from the first time seen.
  GlassBallPhase& shared = SharedGlassBallPhase();
  shared = GlassBallPhase{};
  DS_GlassBallLight ball, other;
  ball.speed.SetValue(32);
  ball.Update(3.0f);
  EXPECT_FLOAT_EQ(shared.phase, 0.0f);
  EXPECT_FLOAT_EQ(ball.swing, 1.0f);
  ball.Update(13.0f);
  EXPECT_NEAR(shared.phase, 0.6f, 1e-5f);
  EXPECT_NEAR(ball.swing, SwingAt(0.6f), 1e-5f);
  // Every glass ball moves the one phase; a still one neither reads nor moves it.
  other.Update(23.0f);
  EXPECT_NEAR(shared.phase, 0.6f + 10 * 33 * 0.03f * 0.0625f, 1e-4f);
  other.motion.SetValue(0);
  other.Update(40.0f);
  EXPECT_EQ(other.swing, 0.0f);
  EXPECT_FLOAT_EQ(shared.lastTime, 23.0f);
  // A time that runs backwards runs the phase back.
  const float before = shared.phase;
  ball.Update(20.0f);
  EXPECT_NEAR(shared.phase, before - 3 * 0.06f, 1e-4f);
}

TEST_F(GlassBallTest, TheScrollQuadsCoverTheTargetSideBySide) {
  DS_GlassBallLight ball;
  StartBall(ball, Ramp());
  const float w = float(ball.targets.width);
  ASSERT_GT(w, 0.0f);
  GlassBallPhase& shared = SharedGlassBallPhase();
  // Phase 0.5 is x = -0.25 (motion 1) or 0.25 (motion 2); phase 3.5 is -1.75 or 1.75.
  for (const auto& [motion, phase, f] :
       {std::tuple{1, 0.5f, 0.75f}, {2, 0.5f, 0.25f}, {1, 3.5f, 0.25f}, {2, 3.5f, 0.75f}}) {
    ball.motion.SetValue(motion);
    shared = GlassBallPhase{phase, 0.0f, true};
    ball.Update(0.0f);
    EXPECT_FLOAT_EQ(ball.swing, 0.0f);
    const auto [left1, right1] = Span(ball.scroll1);
    const auto [left2, right2] = Span(ball.scroll2);
    EXPECT_NEAR(left1, w * f, 1e-3f) << motion << " " << phase;
    EXPECT_NEAR(right1, w * f + w, 1e-3f);
    EXPECT_NEAR(left2, w * (f - 1), 1e-3f);
    EXPECT_NEAR(right2, w * f, 1e-3f);
  }
}

TEST_F(GlassBallTest, ThePictureShowsInsideTheDiscBeforeTheGradient) {
  DS_GlassBallLight ball;
  StartBall(ball, Stripes(64, 64, 64, 0xFF00FF00, 0xFF00FF00));
  const auto shown = Shown(ball);
  auto pixel = [&](int x, int y) { return shown[y * 64 + x]; };
  // The ball (about 20 pixels in radius) shows the green picture.
  for (const auto& [x, y] : {std::pair{32, 32}, {22, 32}, {42, 30}, {32, 16}, {32, 46}})
    EXPECT_EQ(pixel(x, y) & 0xFFFFFF, 0x00FF00u) << x << ", " << y;
  // Above and below it the gradient: red at the top, blue at the bottom.
  EXPECT_GT(Channel(pixel(32, 3), 16), 200u);
  EXPECT_LT(Channel(pixel(32, 3), 0), 60u);
  EXPECT_GT(Channel(pixel(32, 60), 0), 200u);
  EXPECT_LT(Channel(pixel(32, 60), 16), 60u);
  EXPECT_EQ(Channel(pixel(32, 60), 8), 0u);
  // Outside the disc but on the ball's quad the mask puts the backdrop back (its alpha aside).
  for (int y : {13, 51})
    EXPECT_LE(MaxDifference({pixel(49, y) | 0xFF000000}, {pixel(4, y) | 0xFF000000}), 12) << y;
}

TEST_F(GlassBallTest, TheLensStrengthChangesThePictureOffTheCentre) {
  std::vector<uint32_t> frames[2];
  for (int i = 0; i < 2; ++i) {
    DS_GlassBallLight ball;
    ball.lens.SetValue(i == 0 ? 0 : 100);
    StartBall(ball, Ramp());
    frames[i] = Shown(ball);
  }
  // The stronger lens shows less of the picture: 16 pixels from the centre the ramp differs by
  // about 20 steps.
  int most = 0;
  for (const auto& [x, y] : {std::pair{16, 32}, {48, 32}, {32, 16}, {32, 48}})
    most = std::max(most, MaxDifference({frames[0][y * 64 + x]}, {frames[1][y * 64 + x]}));
  EXPECT_GT(most, 15);
  EXPECT_LE(MaxDifference({frames[0][32 * 64 + 32]}, {frames[1][32 * 64 + 32]}), 12)
      << "the centre stays";
}

TEST_F(GlassBallTest, ComposeDrawsTheLensTheOverlaysTheMaskAndTheStand) {
  DS_GlassBallLight ball;
  StartBall(ball, Ramp());
  ball.overlay1.SetValue(1);
  ball.overlay2.SetValue(1);
  ball.lowerOn.SetValue(1);
  ball.Update(1.0f);
  ClearLog();
  Frame(ball);
  // The bars are screen quads of 20-byte vertices drawn after the ball's last draw.
  auto countBars = [&](size_t after) {
    int n = 0;
    for (size_t i = after + 1; i < Log().size(); ++i)
      n += Log()[i].kind == gfx::FrameLogEntry::Kind::Draw && Log()[i].stride == 20;
    return n;
  };
  auto ballDrawsOf = [&](const DS_GlassBallLight& of, size_t& last) {
    std::vector<const gfx::FrameLogEntry*> draws;
    for (size_t i = 0; i < Log().size(); ++i)
      if (Log()[i].kind == gfx::FrameLogEntry::Kind::Draw &&
          Log()[i].vertexBuffer == of.ballVertices.buffer->Id()) {
        draws.push_back(&Log()[i]);
        last = i;
      }
    return draws;
  };
  size_t last = 0;
  const auto ballDraws = ballDrawsOf(ball, last);
  int lowerDraws = 0;
  for (const auto& entry : Log())
    lowerDraws += entry.kind == gfx::FrameLogEntry::Kind::Draw &&
                  entry.vertexBuffer == ball.lowerVertices.buffer->Id();
  ASSERT_EQ(ballDraws.size(), 4u) << "the lens, two overlays, the mask";
  const gfx::FrameLogEntry& lensDraw = *ballDraws[0];
  EXPECT_EQ(lensDraw.state.Get(0, TextureStageState::ColorOp), TextureOp::BumpEnvMap);
  EXPECT_EQ(lensDraw.textures[0], ball.lensMap->Id());
  EXPECT_EQ(lensDraw.textures[1], ball.targets.current->Id()) << "the finished picture";
  EXPECT_EQ(lensDraw.state.Get(1, TextureStageState::TexCoordIndex),
            gfx::TexCoordIndex::CameraSpacePosition | 1);
  EXPECT_EQ(lensDraw.state.Get(1, TextureStageState::TextureTransformFlags),
            gfx::TextureTransform::Count2);
  EXPECT_EQ(lensDraw.state.Get(gfx::RenderState::AlphaBlendEnable), 0u);
  const gfx::FrameLogEntry& maskDraw = *ballDraws[3];
  EXPECT_EQ(maskDraw.textures[0], ball.discMask->Id());
  EXPECT_EQ(maskDraw.textures[1], ball.gradient->Id());
  EXPECT_EQ(maskDraw.state.Get(gfx::RenderState::AlphaBlendEnable), 1u);
  EXPECT_EQ(lowerDraws, 1);
  EXPECT_EQ(countBars(last), 0) << "no bars around a gradient";
  uint32_t flags = 0;
  ASSERT_EQ(device_->GetTextureStageState(1, TextureStageState::TextureTransformFlags, &flags),
            gfx::kOk);
  EXPECT_EQ(flags, gfx::TextureTransform::Disable);

  // A backdrop picture fitted inside the view has its four bars.
  DS_GlassBallLight framed;
  framed.backdropMode.SetValue(1);
  StartBall(framed, Ramp());
  framed.SetFitMode(1);
  EXPECT_EQ(framed.effectiveFitMode, 1);
  EXPECT_EQ(framed.backdropQuad.texture.Get(), framed.backdropPicture.texture.Get());
  framed.Update(1.0f);
  ClearLog();
  Frame(framed);
  ASSERT_EQ(ballDrawsOf(framed, last).size(), 2u) << "the lens and the mask";
  EXPECT_EQ(countBars(last), 4);
}

TEST_F(GlassBallTest, SizesOfNothingGiveAStillOffsetAndWholeFractions) {
  // The picture's quotient: whole widths per height, at least 1.
  DS_GlassBallLight ball;
  for (const auto& [w, h, q] :
       {std::tuple{300u, 100u, 3.0f}, {64u, 64u, 1.0f}, {50u, 100u, 1.0f}, {64u, 0u, 1.0f}}) {
    ball.picture.width = w;
    ball.picture.height = h;
    EXPECT_EQ(ball.PictureQuotient(), q) << w << " x " << h;
  }

  // No backdrop picture and a view of no size: no pan, whole fractions, and a lens view of
  // finite numbers.
  DS_GlassBallLight bare;
  bare.backdropLink = DS_ImageFileLink(u"missing.png", 1);
  bare.backgroundLink = DS_ImageFileLink(u"missing.png", 2);
  bare.Prepare();
  QuadCorners none;
  none.Init();
  bare.SetViewQuad(none);
  EXPECT_EQ(bare.panX, 0.0f);
  EXPECT_EQ(bare.panY, 0.0f);
  EXPECT_EQ(bare.widthFraction, 1.0f);
  EXPECT_EQ(bare.heightFraction, 1.0f);
  bare.swing = 1.0f;
  for (bool lensPass : {true, false}) {
    bare.SetupBallView(lensPass);
    const float* m = &bare.textureMatrix._11;
    for (int i = 0; i < 16; ++i)
      EXPECT_TRUE(std::isfinite(m[i])) << i;
    EXPECT_TRUE(std::isfinite(bare.lensCameraZ));
  }
}

}  // namespace
}  // namespace renderer_test
