#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/sequence/frame_cursor.h"
#include "core/sequence/link_texture_set.h"

namespace {

// Texture handles are shared references; a shared_ptr stands in for the graphics layer's.
using TestSet = LinkTextureSetT<std::shared_ptr<int>>;

struct Cursor {
  std::vector<float> delays;
  float lastSwitch = 0;
  uint32_t index = 0;
};

std::vector<uint32_t> Step(Cursor c, const std::vector<float>& times, int mode) {
  std::vector<uint32_t> out;
  for (float t : times) {
    if (mode == 0) AdvanceFrameForward(c.delays, c.lastSwitch, c.index, t);
    if (mode == 1) AdvanceFrameBackward(c.delays, c.lastSwitch, c.index, t);
    if (mode == 2) DurationCycler(c.delays, c.lastSwitch, c.index).Advance(t);
    out.push_back(c.index);
  }
  return out;
}

TEST(FrameCursor, DelayTable) {
  using V = std::vector<uint32_t>;
  struct Case {
    const char* what;
    std::vector<float> delays;
    std::vector<float> times;
    int mode;  // 0 forward, 1 backward, 2 duration cycler
    V indices;
  };
  const Case cases[] = {
      {"forward keeps the overshoot",
       {0.1f, 0.2f},
       {0, 0.05f, 0.15f, 0.25f, 0.4f},
       0,
       V{0, 0, 1, 1, 0}},
      {"forward again", {0.1f, 0.2f}, {0, 0.15f, 0.32f}, 0, V{0, 1, 0}},
      {"the cycler drops it and switches later", {0.1f, 0.2f}, {0, 0.15f, 0.32f}, 2, V{0, 1, 1}},
      {"backward from 0 goes to the last frame",
       {0.1f, 0.1f, 0.1f},
       {0, 0.15f, 0.3f, 0.45f},
       1,
       V{0, 2, 1, 0}},
      {"a delay of 0 passes at the next later time", {0, 0.5f}, {0, 0.001f, 0.002f}, 0, V{0, 1, 1}},
      {"a long gap advances one frame per call",
       {0.1f, 0.1f, 0.1f},
       {0, 5, 5, 5},
       0,
       V{0, 1, 2, 0}},
      {"no delays: the index stays", {}, {0, 1, 2}, 0, V{0, 0, 0}},
      {"time running backwards restarts the timing",
       {0.1f, 0.1f},
       {0, 0.15f, 0.05f, 0.1f, 0.2f},
       0,
       V{0, 1, 1, 1, 0}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Step({c.delays}, c.times, c.mode), c.indices) << c.what;
}

TEST(FrameCursor, OvershootCarriesOver) {
  Cursor c{{0.1f, 0.2f}};
  AdvanceFrameForward(c.delays, c.lastSwitch, c.index, 0.15f);
  EXPECT_FLOAT_EQ(c.lastSwitch, 0.1f);
  AdvanceFrameForward(c.delays, c.lastSwitch, c.index, 0.4f);
  EXPECT_FLOAT_EQ(c.lastSwitch, 0.3f);
  DurationCycler(c.delays, c.lastSwitch, c.index).Advance(0.5f);
  EXPECT_FLOAT_EQ(c.lastSwitch, 0.5f) << "the cycler restarts from the call's time";
}

TEST(FrameCursor, IndexPastTheDelaysIsBroughtBack) {
  // The set had more frames before: index 7 of 3 delays continues as 7 mod 3.
  const Cursor c{{0.1f, 0.1f, 0.1f}, 0, 7};
  EXPECT_EQ(Step(c, {0, 0.2f}, 0), (std::vector<uint32_t>{1, 2}));
  EXPECT_EQ(Step(c, {0, 0.2f}, 1), (std::vector<uint32_t>{1, 0}));
  EXPECT_EQ(Step(c, {0, 0.2f}, 2), (std::vector<uint32_t>{1, 2}));
}

TEST(LinkTextureSet, CursorResetAndTextures) {
  TestSet set;
  set.delays = {0.1f, 0.2f, 0.3f};
  set.textures = {std::make_shared<int>(1), std::make_shared<int>(2)};  // a frame short
  set.AdvanceFrame(0);
  set.AdvanceFrame(0.15f);
  EXPECT_EQ(set.frameIndex, 1u);
  EXPECT_EQ(*set.CurrentTexture(), 2);
  set.AdvanceFrame(0.4f);
  EXPECT_EQ(set.frameIndex, 2u);
  EXPECT_EQ(set.CurrentTexture(), nullptr) << "no texture for the third delay";
  set.AdvanceFrameBackward(0.8f);
  EXPECT_EQ(set.frameIndex, 1u);

  {
    TestSet copy = set;
    EXPECT_EQ(set.textures[0].use_count(), 2) << "a copy shares the textures";
  }
  set.RestartFrames();
  EXPECT_EQ(set.frameIndex, 0u);
  EXPECT_EQ(set.lastSwitch, 0.0f);
  EXPECT_EQ(set.delays.size(), 3u);

  set.sourceWidth = 300;
  set.usedU = 0.5f;
  set.frameIndex = 2;
  set.Reset();
  EXPECT_EQ(set.sourceWidth, 0u);
  EXPECT_EQ(set.textureHeight, 0u);
  EXPECT_EQ(set.usedU, 1.0f);
  EXPECT_EQ(set.usedV, 1.0f);
  EXPECT_EQ(set.aspect, 1.0f);
  EXPECT_TRUE(set.textures.empty());
  EXPECT_TRUE(set.delays.empty());
  EXPECT_EQ(set.frameIndex, 0u);
}

TEST(LinkTextureSet, AssignTakesEveryFieldAndSharesTheTextures) {
  TestSet source;
  source.sourceWidth = 300;
  source.sourceHeight = 200;
  source.textureWidth = 512;
  source.textureHeight = 256;
  source.usedU = 300.0f / 512;
  source.usedV = 200.0f / 256;
  source.aspect = 200.0f / 300;
  source.textures = {std::make_shared<int>(7)};
  source.delays = {0.5f};
  source.frameIndex = 0;
  source.lastSwitch = 1.5f;

  TestSet target;
  auto old = std::make_shared<int>(1);
  target.textures = {old, old};
  target.Assign(source);
  EXPECT_EQ(old.use_count(), 1) << "the textures held before are released";
  EXPECT_EQ(source.textures[0].use_count(), 2);
  EXPECT_EQ(target.sourceWidth, 300u);
  EXPECT_EQ(target.textureHeight, 256u);
  EXPECT_FLOAT_EQ(target.usedV, 200.0f / 256);
  EXPECT_FLOAT_EQ(target.aspect, 200.0f / 300);
  EXPECT_EQ(target.delays, source.delays);
  EXPECT_EQ(target.lastSwitch, 1.5f);
  target.Assign(target);
  EXPECT_EQ(source.textures[0].use_count(), 2);
}

}  // namespace
