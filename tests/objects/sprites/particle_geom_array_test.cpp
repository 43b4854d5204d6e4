// The sprite array: its sprites follow the count, its clocks, its vertex fill with strips and
// flips, the picture animation of the sprite-array object, restarts and screen rectangles.
#include "objects/sprites/particle_geom_array.h"

#include <limits>

#include "core/list_limits.h"
#include "sprite_fixture.h"

namespace sprite_test {
namespace {

class GeomArray : public SpriteTest {
 protected:
  GeomArray() : SpriteTest(200, 100) {}
};

TEST_F(GeomArray, SpritesFollowTheCountFromTheBack) {
  PlacedSprites preset;
  preset.count.SetValue(5);
  auto obj = MakeArray(preset);
  auto& clone = PresetOf<PlacedSprites>(*obj);
  ASSERT_EQ(obj->Sprites().size(), 5u);
  EXPECT_EQ(clone.spawned, 5u);
  EXPECT_EQ(obj->vertices.count, 20u);
  for (int i = 0; i < 5; ++i)
    obj->Sprites()[i].eventTime = float(i + 1);

  clone.count.SetValue(3);
  ASSERT_EQ(obj->Sprites().size(), 3u);
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(obj->Sprites()[i].eventTime, float(i + 1)) << "the first three keep their state";
  EXPECT_EQ(obj->QuadCapacity(), 3u);

  clone.count.SetValue(5);
  ASSERT_EQ(obj->Sprites().size(), 5u);
  EXPECT_EQ(clone.spawned, 7u) << "two new sprites, each spawned";
  EXPECT_EQ(obj->Sprites()[2].eventTime, 3.0f);
  EXPECT_EQ(obj->Sprites()[3].eventTime, 0.0f);

  // Count 0 deletes every sprite and draws nothing; the buffers stay.
  clone.count.SetValue(0);
  EXPECT_TRUE(obj->Sprites().empty());
  EXPECT_EQ(obj->QuadCapacity(), 5u);
  EXPECT_EQ(obj->QuadCount(), 0u);
}

// A stored count makes at most kMaxParticlesPerList sprites, quads and drawn quads.
TEST_F(GeomArray, StoredCountsAreCapped) {
  PlacedSprites preset;
  preset.count.SetValue(std::numeric_limits<uint32_t>::max());
  auto obj = MakeArray(preset);
  EXPECT_EQ(obj->Sprites().size(), kMaxParticlesPerList);
  EXPECT_EQ(obj->QuadCapacity(), kMaxParticlesPerList);
  EXPECT_EQ(obj->QuadCount(), kMaxParticlesPerList);
  obj->Update(0.0f);
  EXPECT_EQ(Vertices(*obj)[4 * kMaxParticlesPerList - 1].diffuse, 0xFFFFFFFFu) << "filled";
}

// A step of 0.5 s moves both clocks by at most 0.2 s times their rates; a time that runs
// backwards still advances the motion clock.
TEST_F(GeomArray, ClocksClampTheirSteps) {
  PlacedSprites preset;
  preset.motionRate.SetValue(100);
  preset.speed.SetValue(50);
  auto obj = MakeArray(preset);
  auto& clone = PresetOf<PlacedSprites>(*obj);
  obj->Update(1.0f);
  EXPECT_FLOAT_EQ(clone.motionStep, 2.0f * 0.2f) << "from last time 0, clamped";
  EXPECT_EQ(clone.speed.step, 0.0f) << "the speed clock's first step";
  obj->Update(1.5f);
  EXPECT_FLOAT_EQ(clone.motionStep, 0.4f);
  EXPECT_FLOAT_EQ(clone.motionElapsed, 0.8f);
  EXPECT_FLOAT_EQ(clone.speed.step, 0.5f * 0.2f);
  obj->Update(1.4f);
  EXPECT_FLOAT_EQ(clone.motionStep, 2.0f * 0.1f);
  EXPECT_EQ(clone.speed.step, 0.0f);
}

// A strip of 4 frames at 10 frames per second with motion time as local time: the frame moves
// on at the first update more than 0.1 s after the last change, once per update, 3 then 0.
TEST_F(GeomArray, FrameStripStepsOncePerUpdate) {
  PlacedSprites preset;
  preset.count.SetValue(3);
  preset.frameStrip = true;
  preset.frameCount = 4;
  preset.frameRate = 10.0f;
  auto obj = MakeArray(preset);
  const float times[] = {0.0f, 0.06f, 0.12f, 0.5f, 0.55f, 0.7f, 0.9f, 1.1f};
  const unsigned frames[] = {0, 0, 1, 2, 2, 3, 0, 1};
  for (size_t i = 0; i < std::size(times); ++i) {
    obj->Update(times[i]);
    EXPECT_EQ(obj->stripFrame, frames[i]) << times[i];
    const std::vector<DX_V::PCT> v = Vertices(*obj);
    EXPECT_FLOAT_EQ(v[8].u, frames[i] / 4.0f) << "the last sprite shows the same frame";
    EXPECT_FLOAT_EQ(v[10].u, (frames[i] + 1) / 4.0f);
  }
}

TEST_F(GeomArray, FlipsSwapTheTextureEdges) {
  PlacedSprites preset;
  preset.places = {{0, {100, 100, 0xFFFFFFFF}}};
  preset.frameStrip = true;
  preset.frameCount = 4;
  preset.frameRate = 0.0f;  // never advances
  preset.horizontalFlip.SetValue(1);
  auto obj = MakeArray(preset);
  obj->stripFrame = 1;
  obj->Update(0.0f);
  std::vector<DX_V::PCT> v = Vertices(*obj);
  EXPECT_EQ(v[0].u, 0.5f);
  EXPECT_EQ(v[2].u, 0.25f);
  EXPECT_EQ(v[0].v, 1.0f);
  EXPECT_EQ(v[1].v, 0.0f);
  // Positions in strip order around the centre.
  EXPECT_EQ(v[0].x, 99.5f);
  EXPECT_EQ(v[0].y, 100.5f);
  EXPECT_EQ(v[3].x, 100.5f);
  EXPECT_EQ(v[3].y, 99.5f);

  PresetOf<PlacedSprites>(*obj).verticalFlip.SetValue(1);
  obj->Update(0.1f);
  v = Vertices(*obj);
  EXPECT_EQ(v[0].v, 0.0f);
  EXPECT_EQ(v[1].v, 1.0f);
}

// A picture whose frames last 0.05 s, with frame-locked motion: the vertices move only in
// updates in which the picture frame advanced.
TEST_F(GeomArray, FrameLockedMotionFillsOnlyWhenThePictureAdvances) {
  PlacedSprites preset;
  preset.places = {{0, {50, 50, 0xFFFFFFFF}}};
  preset.picture = DS_ImageFileLink(u"pictures.dll", 3);
  ProvidePicture(preset.picture, 8, 8, 0xFFFFFFFF);
  Doc().imageTextureSets[preset.picture.Key()].delays = {0.05f, 0.05f};
  preset.frameLockedMotion.SetValue(1);
  preset.drift = 10.0f;
  auto obj = MakeArray(preset);
  ASSERT_EQ(obj->pictureSet.delays.size(), 2u);
  obj->Update(0.0f);  // the first speed step is 0: the frame advances (0 is not below 0.05)
  float x = Vertices(*obj)[0].x;
  const std::pair<float, bool> steps[] = {
      {0.02f, false}, {0.04f, false}, {0.06f, true}, {0.08f, false}, {0.12f, true}};
  for (const auto& [t, moves] : steps) {
    const unsigned frame = obj->pictureFrame;
    obj->Update(t);
    EXPECT_EQ(obj->pictureFrame != frame, moves) << t;
    const float now = Vertices(*obj)[0].x;
    EXPECT_EQ(now != x, moves) << t;
    x = now;
  }
}

TEST_F(GeomArray, RestartsClearTheSpriteTimers) {
  PlacedSprites preset;
  preset.count.SetValue(2);
  preset.restartFlag.SetValue(0);
  auto obj = MakeArray(preset);
  for (auto restart : {&DS_SpriteArrayObj::Restart, &DS_SpriteArrayObj::OnSlideRestart}) {
    for (SpriteRecord& s : obj->Sprites()) {
      s.eventTime = s.pauseLength = s.waitUntil = s.waitClock = 2.0f;
      s.centre.x = 7.0f;
    }
    PresetOf<PlacedSprites>(*obj).motionElapsed = 3.0f;
    ((*obj).*restart)();
    for (const SpriteRecord& s : obj->Sprites()) {
      EXPECT_EQ(s.eventTime + s.pauseLength + s.waitUntil + s.waitClock, 0.0f);
      EXPECT_EQ(s.centre.x, 7.0f) << "the sprites keep their places";
    }
  }
  // Restart set the motion clock back; the slide restart without the flag left it.
  EXPECT_EQ(PresetOf<PlacedSprites>(*obj).motionElapsed, 3.0f);
}

TEST_F(GeomArray, ScreenRectsAndHitTest) {
  PlacedSprites preset;
  preset.places = {{0, {100, 100, 0xFFFFFFFF}}};
  auto obj = MakeArray(preset);
  obj->Sprites()[0].halfWidth = 10.0f;
  obj->Sprites()[0].halfHeight = 5.0f;
  std::vector<ScreenRect> rects;
  EXPECT_FALSE(obj->AppendScreenRects(rects));
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_EQ(rects[0], (ScreenRect{90, 95, 20, 10}));
  const int point[2] = {100, 100};
  EXPECT_FALSE(obj->HitTestPoint(point)) << "the base view answers false";
}

// Vertices are filled only when the buffer holds the count's quads.
TEST_F(GeomArray, FillSkipsABufferOfAnotherSize) {
  PlacedSprites preset;
  preset.count.SetValue(2);
  auto obj = MakeArray(preset);
  obj->Update(0.0f);
  obj->Reserve(3);
  DX_V::PCT* v = obj->LockVertices();
  ASSERT_NE(v, nullptr);
  v[0].diffuse = 0x12345678;
  obj->UnlockVertices();
  obj->Update(0.1f);
  EXPECT_EQ(Vertices(*obj)[0].diffuse, 0x12345678u);
}

}  // namespace
}  // namespace sprite_test
