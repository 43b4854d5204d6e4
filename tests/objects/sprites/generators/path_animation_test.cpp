// The path animation: its walk along the control points, the picture's quad, its record.
#include <cmath>
#include <limits>

#include "generator_fixture.h"
#include "objects/sprites/generators/ds_path_animtion.h"

namespace generator_test {
namespace {

class PathAnimation : public SpriteTest {
 protected:
  // A walker of an 8 x 8 white picture at its pixel size along `points`.
  DS_PathAnimtion Walker(const std::vector<D3DXVECTOR3>& points, unsigned speed) {
    ProvidePicture(kPicture, 8, 8, 0xFFFFFFFF);
    DS_PathAnimtion walker;
    walker.pictures = {kPicture};
    walker.pictureScale.SetValue(100);
    walker.pathSpeed.SetValue(speed);
    for (const D3DXVECTOR3& p : points) {
      DX_SmartPnt point;
      point.SetValueSilently(p);
      walker.path.AppendPoint(point, nullptr);
    }
    return walker;
  }

  const DS_ImageFileLink kPicture{u"walker.dll", 4001};
};

// Steps of 0.1 s from `from` to t; the first step of a clock is 0.
void RunTo(Running<DS_PathAnimtion>& run, float t, float from = 0.0f) {
  for (long k = std::lround(from * 10.0f); k <= std::lround(t * 10.0f); ++k)
    run.obj->Update(static_cast<float>(k) * 0.1f);
}

TEST_F(PathAnimation, TwoPointsThreeHundredApartTakeTenSecondsAtSpeedTenThenComeBack) {
  DS_PathAnimtion walker = Walker({{0, 50, 0}, {300, 50, 0}}, 10);
  auto run = StartRuntime(walker);
  ASSERT_NE(run.obj, nullptr);
  const std::pair<float, float> cases[] = {
      {5.0f, 150.0f}, {9.0f, 270.0f}, {12.0f, 240.0f}, {20.0f, 0.0f}, {21.0f, 30.0f}};
  float at = 0.0f;
  for (const auto& [t, x] : cases) {
    SCOPED_TRACE(t);
    for (; at <= t + 1e-3f; at += 0.1f)
      run.obj->Update(at);
    EXPECT_NEAR(run.Clone().currentPosition.x, x, 0.05f);
    EXPECT_NEAR(run.Clone().currentPosition.y, 50.0f, 1e-4f);
  }
}

TEST_F(PathAnimation, AStepOverSeveralSegmentsTurnsAtTheEndWithinOneFrame) {
  // 75 stored: 225 pixels per second, 45 pixels in a step of 0.2 s over a path 30 long.
  DS_PathAnimtion walker = Walker({{0, 0, 0}, {10, 0, 0}, {20, 0, 0}, {30, 0, 0}}, 75);
  auto run = StartRuntime(walker);
  ASSERT_NE(run.obj, nullptr);
  run.obj->Update(0.0f);
  run.obj->Update(0.2f);
  EXPECT_NEAR(run.Clone().currentPosition.x, 15.0f, 1e-3f);
  EXPECT_FALSE(run.Clone().path.cursor.forward);
}

// Texture coordinate u of the first corner (0 upright) and v of it (1 upright).
std::pair<float, float> FirstCornerUV(const DS_ParticlesObj& obj) {
  const auto v = LayerVertices(obj, 0);
  return v.empty() ? std::pair{-1.0f, -1.0f} : std::pair{v[0].u, v[0].v};
}

TEST_F(PathAnimation, ModeTwoMirrorsWhileMovingLeftAndModeThreeFlipsWhileMovingDown) {
  DS_PathAnimtion across = Walker({{0, 0, 0}, {30, 0, 0}}, 10);
  across.orientationMode.SetValue(2);
  auto run = StartRuntime(across);
  ASSERT_NE(run.obj, nullptr);
  RunTo(run, 0.5f);  // moving right
  EXPECT_EQ(FirstCornerUV(*run.obj).first, 0.0f);
  RunTo(run, 1.5f, 0.6f);  // turned back at 1 s
  EXPECT_EQ(FirstCornerUV(*run.obj).first, 1.0f);

  DS_PathAnimtion down = Walker({{0, 0, 0}, {0, 30, 0}}, 10);
  down.orientationMode.SetValue(3);
  auto fall = StartRuntime(down);
  ASSERT_NE(fall.obj, nullptr);
  RunTo(fall, 0.5f);  // y growing: down the picture
  EXPECT_EQ(FirstCornerUV(*fall.obj).second, 0.0f);
  RunTo(fall, 1.5f, 0.6f);
  EXPECT_EQ(FirstCornerUV(*fall.obj).second, 1.0f);
}

TEST_F(PathAnimation, ModeOneLaysTheWidthAlongTheWay) {
  DS_PathAnimtion walker = Walker({{0, 0, 0}, {0, 100, 0}}, 10);
  walker.orientationMode.SetValue(1);
  walker.pictureScale.SetValue(200);  // 16 x 16
  auto run = StartRuntime(walker);
  ASSERT_NE(run.obj, nullptr);
  RunTo(run, 1.0f);
  const auto v = LayerVertices(*run.obj, 0);
  ASSERT_EQ(v.size(), 4u);
  // Corner 0 is c - U/2 + V/2 with U = (0, 16), V = (16, 0).
  EXPECT_NEAR(v[0].x, 8.0f, 1e-3f);
  EXPECT_NEAR(v[0].y, 30.0f - 8.0f, 1e-3f);
}

TEST_F(PathAnimation, AnUnplacedWalkerTakesTheMiddleThirdOfTheTarget) {
  DS_PathAnimtion walker = Walker({{5, 5, 0}, {6, 6, 0}, {7, 7, 0}}, 10);
  walker.keepGuid = 0;
  Context().frameW = 90.0f;
  Context().frameH = 30.0f;
  auto run = StartRuntime(walker);
  ASSERT_NE(run.obj, nullptr);
  const float w = 90.0f, h = 30.0f;
  const auto& positions = run.Clone().path.Positions();
  ASSERT_EQ(positions.size(), 2u);
  EXPECT_EQ(positions[0], D3DXVECTOR3(w / 3.0f, h / 2.0f, 0));
  EXPECT_EQ(positions[1], D3DXVECTOR3(2.0f * (w / 3.0f), h / 2.0f, 0));
  EXPECT_EQ(walker.path.GetCount(), 3);  // the description's own points stay
}

// Paths the walk cannot follow keep the picture at the first point; a huge speed costs no
// more than a round trip.
TEST_F(PathAnimation, DegeneratePathsAndHugeStepsStayFinite) {
  const D3DXVECTOR3 a(4, 4, 0), b(40, 4, 0);
  struct Case {
    std::vector<D3DXVECTOR3> points;
    unsigned speed;
    bool atFirst;
  };
  const Case cases[] = {{{a}, 10, true},
                        {{a, a, a}, 10, true},
                        {{a, a, b, b}, 10, false},
                        {{a, b}, std::numeric_limits<uint32_t>::max(), false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.points.size());
    DS_PathAnimtion walker = Walker(c.points, c.speed);
    auto run = StartRuntime(walker);
    ASSERT_NE(run.obj, nullptr);
    RunTo(run, 2.0f);
    const D3DXVECTOR3& p = run.Clone().currentPosition;
    EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
    EXPECT_GE(p.x, a.x);
    EXPECT_LE(p.x, b.x);
    if (c.atFirst) EXPECT_EQ(p, a);
    EXPECT_EQ(run.obj->QuadCount(0), 1u);
  }
  // Passing the zero-length segments, the walk still reaches the far end.
  DS_PathAnimtion repeated = Walker({a, a, b, b}, 10);
  auto run = StartRuntime(repeated);
  ASSERT_NE(run.obj, nullptr);
  RunTo(run, 1.0f);
  EXPECT_NEAR(run.Clone().currentPosition.x, 34.0f, 0.05f);
}

TEST_F(PathAnimation, WithoutAPictureOrPointsNothingIsDrawn) {
  DS_PathAnimtion bare;
  DX_SmartPnt point;
  bare.path.AppendPoint(point, nullptr);
  auto run = StartRuntime(bare);
  ASSERT_NE(run.obj, nullptr);
  RunTo(run, 0.3f);
  EXPECT_EQ(run.obj->QuadCount(0), 0u);
  DS_PathAnimtion pointless = Walker({}, 10);
  auto none = StartRuntime(pointless);
  ASSERT_NE(none.obj, nullptr);
  RunTo(none, 0.3f);
  EXPECT_EQ(none.obj->QuadCount(0), 0u);
}

TEST_F(PathAnimation, FramesPlayOnTheFrameClock) {
  DS_PathAnimtion walker = Walker({{0, 0, 0}, {30, 0, 0}}, 10);
  ImageTextureSet& set = Doc().imageTextureSets[kPicture.Key()];
  set.textures.push_back(set.textures.front());
  set.delays = {0.5f, 0.5f};
  for (const auto& [speed, frame] : {std::pair{100u, 1u}, {50u, 0u}}) {
    SCOPED_TRACE(speed);
    walker.frameSpeed.SetValue(speed);
    auto run = StartRuntime(walker);
    ASSERT_NE(run.obj, nullptr);
    RunTo(run, 0.6f);
    EXPECT_EQ(run.Clone().textures[0].frameIndex, frame);
  }
}

TEST_F(PathAnimation, RecordsRoundTripAndVersionOnePlaysFramesAtSpeedOne) {
  DS_PathAnimtion walker = Walker({{1, 2, 3}, {4, 5, 6}}, 7);
  walker.pictureScale.SetValue(150);
  walker.orientationMode.SetValue(2);
  walker.verticalFlip.SetValue(1);
  walker.frameSpeed.SetValue(40);
  ReadResult read = RoundTrip(walker);
  ASSERT_NE(read.object, nullptr);
  const auto& back = As<DS_PathAnimtion>(read);
  EXPECT_FLOAT_EQ(back.pathSpeed.Scaled(), 21.0f);
  EXPECT_FLOAT_EQ(back.pictureScale.Scaled(), 1.5f);
  EXPECT_FLOAT_EQ(back.frameSpeed.Scaled(), 0.4f);
  ASSERT_EQ(back.path.GetCount(), 2);
  EXPECT_EQ(back.path.Value()[1]->Value(), D3DXVECTOR3(4, 5, 6));

  const std::vector<uint8_t> v1 = Written([&](DS_IOF_Archive& archive) {
    WriteRecordHeader(archive, u"DS_PathAnimtion", 1);
    DS_IOF_Virtual& io = archive.io();
    io.WriteUInt32(7);
    io.WriteUInt32(150);
    for (int i = 0; i < 3; ++i)
      io.WriteInt32(0);
    walker.DS_PathGenerator::Save(archive);
  });
  read = ReadDescription(v1);
  ASSERT_TRUE(ReadWhole(read));
  EXPECT_FLOAT_EQ(As<DS_PathAnimtion>(read).frameSpeed.Scaled(), 1.0f);
  EXPECT_EQ(As<DS_PathAnimtion>(read).path.GetCount(), 2);

  // Cut short, and with a point count the bytes cannot hold, the record fails.
  const std::vector<uint8_t> bytes = SavedBytes(walker);
  for (size_t cut : {bytes.size() / 3, bytes.size() - 1})
    EXPECT_TRUE(ReadDescription(std::vector<uint8_t>(bytes.begin(), bytes.begin() + cut)).failed);
  const std::vector<uint8_t> huge = Written([&](DS_IOF_Archive& archive) {
    WriteRecordHeader(archive, u"DS_PathAnimtion", 2);
    DS_IOF_Virtual& io = archive.io();
    for (int i = 0; i < 6; ++i)
      io.WriteUInt32(0);
    WriteRecordHeader(archive, u"DS_PathGenerator", 1);
    io.WriteDword(0xFFFFFFFFu);
  });
  EXPECT_TRUE(ReadDescription(huge).failed);
}

// The walker drawn through the single-layer effect: white where the path has taken it, the grey
// left as it was elsewhere.
TEST_F(PathAnimation, TheWalkerIsDrawnWhereThePathTookIt) {
  constexpr uint32_t kGrey = 0xFF808080;
  DS_2D_Light renderer;
  StartSlideOn(renderer, width_, height_, kGrey);
  DS_PathAnimtion walker = Walker({{10, 16, 0}, {50, 16, 0}}, 10);
  walker.effectLink = DS_HLSLEffectFile(u"glimres.dll", 1805);
  auto run = StartRuntime(walker);
  ASSERT_NE(run.obj, nullptr);
  RunTo(run, 1.0f);  // 30 pixels along
  Frame(renderer, {run.handle});
  const auto at = [&](int x, int y) { return BackBufferPixels()[size_t(y) * width_ + x]; };
  EXPECT_EQ(at(40, 16), 0xFFFFFFFFu);
  EXPECT_EQ(at(12, 16), kGrey);
  EXPECT_EQ(at(40, 4), kGrey);
}

}  // namespace
}  // namespace generator_test
