#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/timing/manual_timeline.h"
#include "core/timing/timing_test_support.h"

namespace {

// Steps the timeline in 0.1 s steps until its position reaches `position` (from a reset).
void StepToPosition(ZKW_ManualTimeLine& t, float position) {
  t.Reset();
  float now = 0.0f;
  while (t.Position() < position - 1e-4f) {
    now += 0.1f;
    t.Step(now);
  }
}

std::vector<uint8_t> KeyBytes(const std::vector<TimeKey>& keys, uint32_t count) {
  return WrittenBytes([&](DS_IOF_Archive& ar) {
    ar.io().WriteDword(count);
    for (const TimeKey& k : keys) {
      ar.io().WriteFloat(k.start);
      ar.io().WriteFloat(k.end);
      ar.io().WriteFloat(k.fadeInEnd);
      ar.io().WriteFloat(k.fadeOutStart);
    }
  });
}

TEST(ManualTimeLine, DefaultsAndNoKeys) {
  ZKW_ManualTimeLine t;
  EXPECT_EQ(t.period.Value(), 1000u);
  EXPECT_FLOAT_EQ(t.period.Scaled(), 10.0f);
  for (int i = 1; i <= 30; ++i) {
    t.Step(0.1f * static_cast<float>(i));
    EXPECT_EQ(t.GetState(), TimingState::Hidden);
    EXPECT_EQ(t.GetValue(), 0.0f);
    EXPECT_EQ(t.GetCycleLength(), 0.0f);
  }
}

// One key: fade in 5..6, shown 6..7, fade out 7..8.
TEST(ManualTimeLine, StatesWithinAKeyAndTheLookAhead) {
  ZKW_ManualTimeLine t;
  t.keys.insert({5.0f, 8.0f, 6.0f, 7.0f});
  struct Case {
    float position;
    TimingState state;
    float value, cycle, progress;
  };
  const Case cases[] = {
      {1.5f, TimingState::Hidden, 0.0f, 0.0f, 0.0f},  // starts more than 3 s ahead
      {2.5f, TimingState::Hidden, 0.0f, 3.0f, 0.0f},  // within 3 s: its length is known
      {5.5f, TimingState::FadingIn, 0.5f, 3.0f, 0.0f},
      {6.3f, TimingState::Shown, 1.0f, 3.0f, 0.3f},
      {7.5f, TimingState::FadingOut, 0.5f, 3.0f, 0.0f},
      {8.5f, TimingState::Hidden, 0.0f, 0.0f, 0.0f},  // past the last key
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.position);
    StepToPosition(t, c.position);
    EXPECT_EQ(t.GetState(), c.state);
    EXPECT_NEAR(t.GetValue(), c.value, 1e-3f);
    EXPECT_NEAR(t.GetCycleLength(), c.cycle, 1e-5f);
    EXPECT_NEAR(t.GetPhaseProgress(), c.progress, 1e-3f);
  }
}

TEST(ManualTimeLine, RepeatsEveryPeriod) {
  ZKW_ManualTimeLine t;
  t.SetPeriod(200);  // 2 s
  t.keys.insert({0.5f, 1.5f, 0.5f, 1.5f});
  float now = 0.0f;
  for (int i = 0; i < 25; ++i)
    t.Step(now += 0.1f);
  EXPECT_NEAR(t.Position(), 0.5f, 1e-3f);  // 2.5 s wrapped into the period
  t.Step(now += 0.1f);
  EXPECT_EQ(t.GetState(), TimingState::Shown);
  EXPECT_NEAR(t.GetCycleLength(), 1.0f, 1e-5f);
}

// A period of 0 leaves the position undefined; the timeline stays hidden instead.
TEST(ManualTimeLine, ZeroPeriodIsHidden) {
  ZKW_ManualTimeLine t;
  t.keys.insert({0.0f, 5.0f, 0.0f, 5.0f});
  t.SetPeriod(0);
  for (int i = 1; i <= 5; ++i) {
    t.Step(0.1f * static_cast<float>(i));
    EXPECT_EQ(t.GetState(), TimingState::Hidden);
    EXPECT_EQ(t.GetValue(), 0.0f);
    EXPECT_EQ(t.Position(), 0.0f);
  }
}

// A key whose fade-out has no span ends hidden with value 0 rather than NaN.
TEST(ManualTimeLine, ZeroFadeSpanGivesNoNaN) {
  ZKW_ManualTimeLine t;
  t.keys.insert({0.0f, 0.5f, 0.0f, 0.5f});
  for (float now : {0.125f, 0.25f, 0.375f, 0.5f})
    t.Step(now);  // exact binary steps
  ASSERT_EQ(t.Position(), 0.5f);
  EXPECT_EQ(t.GetState(), TimingState::FadingOut);
  EXPECT_EQ(t.GetValue(), 0.0f);
}

TEST(TimeKeys, SetKeepsTheFirstOfOverlappingOrTouchingKeys) {
  TimeKeySet keys;
  EXPECT_TRUE(keys.insert({1, 2, 1, 2}).second);
  EXPECT_FALSE(keys.insert({2, 3, 2, 3}).second);     // touches
  EXPECT_FALSE(keys.insert({0, 1.5f, 0, 1}).second);  // overlaps
  EXPECT_TRUE(keys.insert({3, 4, 3, 4}).second);
  EXPECT_TRUE(keys.insert({0, 0.5f, 0, 0.5f}).second);
  std::vector<float> starts;
  for (const TimeKey& k : keys)
    starts.push_back(k.start);
  EXPECT_EQ(starts, (std::vector<float>{0, 1, 3}));
}

TEST(TimeKeys, ReadDropsOverlappingAndUnusableKeys) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const std::vector<TimeKey> stored = {
      {4, 6, 4.5f, 5.5f}, {5, 7, 5, 7},  // overlaps the first: dropped
      {9, 8, 9, 8},                      // ends before it starts
      {nan, 1, 0, 1},     {0, inf, 0, 1}, {1, 2, 1.5f, 1.5f},
  };
  ArchiveSource src(SourceMode::Memory, KeyBytes(stored, static_cast<uint32_t>(stored.size())));
  TimeKeySet keys;
  ReadTimeKeys(src.archive(), keys);
  EXPECT_FALSE(src.archive().Failed());
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_EQ(*keys.begin(), (TimeKey{1, 2, 1.5f, 1.5f}));
  EXPECT_EQ(*keys.rbegin(), (TimeKey{4, 6, 4.5f, 5.5f}));

  // Written back in set order, it reads as the same set.
  ArchiveSource again(SourceMode::Memory,
                      WrittenBytes([&](DS_IOF_Archive& ar) { WriteTimeKeys(ar, keys); }));
  TimeKeySet back;
  ReadTimeKeys(again.archive(), back);
  EXPECT_EQ(back, keys);
}

TEST(TimeKeys, CountBeyondTheRemainingBytesReadsNothing) {
  ArchiveSource src(SourceMode::Memory, KeyBytes({{1, 2, 1, 2}}, 1000000));
  TimeKeySet keys;
  ReadTimeKeys(src.archive(), keys);
  EXPECT_TRUE(src.archive().Failed());
  EXPECT_TRUE(keys.empty());
}

}  // namespace
