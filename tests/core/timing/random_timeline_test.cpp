#include <gtest/gtest.h>

#include <cmath>

#include "core/timing/random_timeline.h"
#include "core/timing/smart_timing.h"
#include "core/timing/timing_test_support.h"

namespace {

struct Durations {
  unsigned hiddenMin, hiddenMax, shownMin, shownMax, fadeIn, fadeOut;
};

void Configure(ZKW_RandomTimeLine& t, const Durations& d) {
  t.params.hiddenMin.SetValue(d.hiddenMin);
  t.params.hiddenMax.SetValue(d.hiddenMax);
  t.params.shownMin.SetValue(d.shownMin);
  t.params.shownMax.SetValue(d.shownMax);
  t.params.fadeIn.SetValue(d.fadeIn);
  t.params.fadeOut.SetValue(d.fadeOut);
}

TEST(PickRandomDuration, RangeRules) {
  crt_srand(5);
  EXPECT_EQ(PickRandomDuration(70, 70), 70u);
  EXPECT_EQ(PickRandomDuration(90, 20), 90u);  // max below min: min, no draw
  EXPECT_TRUE(NothingDrawnSince(5));

  const auto draws = DrawsAfterSeed(9, 3);
  EXPECT_EQ(PickRandomDuration(100, 300), 100u + static_cast<unsigned>(draws[0]) % 201u);
  // The full unsigned range must not divide by zero: every draw is below the range.
  EXPECT_EQ(PickRandomDuration(0, 0xFFFFFFFFu), static_cast<unsigned>(draws[1]));
  EXPECT_EQ(PickRandomDuration(1, 0xFFFFFFFFu), 1u + static_cast<unsigned>(draws[2]));
}

TEST(RandomTimeLine, DefaultsAndStartState) {
  crt_srand(1);
  ZKW_RandomTimeLine t;
  EXPECT_TRUE(NothingDrawnSince(1));  // 100..100 draws nothing
  EXPECT_EQ(t.GetState(), TimingState::Hidden);
  EXPECT_FLOAT_EQ(t.GetValue(), 1.0f);  // until the first step
  EXPECT_FLOAT_EQ(t.ShownTime(), 1.0f);
  EXPECT_FLOAT_EQ(t.params.fadeIn.Scaled(), 0.5f);
  EXPECT_FLOAT_EQ(t.GetCycleLength(), 2.0f);
  EXPECT_FLOAT_EQ(t.Speed().lastTime, 0.0f);
}

// A whole cycle with the default durations (fades 0.5 s, shown 1 s, hidden 1 s), stepped by
// 0.1 s: it fades in from the first step, then shows, fades out, hides and fades in again.
TEST(RandomTimeLine, CyclesThroughItsStates) {
  ZKW_RandomTimeLine t;
  struct Expect {
    float t;
    TimingState state;
    float value;
  };
  const Expect expects[] = {
      {0.1f, TimingState::FadingIn, 0.2f},  {0.3f, TimingState::FadingIn, 0.6f},
      {0.6f, TimingState::Shown, 1.0f},     {1.4f, TimingState::Shown, 1.0f},
      {1.6f, TimingState::FadingOut, 0.8f}, {1.9f, TimingState::FadingOut, 0.2f},
      {2.1f, TimingState::Hidden, 0.0f},    {2.9f, TimingState::Hidden, 0.0f},
      {3.1f, TimingState::FadingIn, 0.2f},
  };
  float now = 0.0f;
  for (const Expect& e : expects) {
    while (now < e.t - 1e-4f) {
      now += 0.1f;
      t.Step(now);
    }
    EXPECT_EQ(t.GetState(), e.state) << "at " << e.t;
    EXPECT_NEAR(t.GetValue(), e.value, 1e-4f) << "at " << e.t;
  }
}

TEST(RandomTimeLine, ClockRules) {
  ZKW_RandomTimeLine t;
  EXPECT_NEAR(t.Step(0.1f), 0.1f, 1e-6f);
  EXPECT_NEAR(t.Step(5.0f), 0.3f, 1e-6f);  // a long gap advances 0.2 s at most
  EXPECT_NEAR(t.Step(4.0f), 0.3f, 1e-6f);  // time running backwards: step 0
  EXPECT_NEAR(t.Step(4.1f), 0.4f, 1e-5f);
}

TEST(RandomTimeLine, ResetFadesInFromTheFirstStep) {
  ZKW_RandomTimeLine t;
  for (float now = 0.1f; now < 1.0f; now += 0.1f)
    t.Step(now);
  ASSERT_EQ(t.GetState(), TimingState::Shown);
  t.Reset();
  EXPECT_EQ(t.GetState(), TimingState::Hidden);
  EXPECT_FLOAT_EQ(t.GetValue(), 1.0f);  // left as it was until the next step
  EXPECT_FLOAT_EQ(t.Speed().localTime, 0.0f);
  t.Step(0.1f);
  EXPECT_EQ(t.GetState(), TimingState::FadingIn);
  EXPECT_NEAR(t.GetValue(), 0.2f, 1e-5f);
}

TEST(RandomTimeLine, ZeroFades) {
  struct Case {
    const char* what;
    Durations durations;
    std::vector<std::pair<TimingState, float>> states;  // after steps at 0.1, 0.2, ...
  };
  const Case cases[] = {
      {"fade-in 0 jumps to 1 and is shown at the next step",
       {100, 100, 35, 35, 0, 50},
       {{TimingState::FadingIn, 1.0f},
        {TimingState::Shown, 1.0f},
        {TimingState::Shown, 1.0f},
        {TimingState::FadingOut, 0.9f}}},
      {"fade-out 0 drops to 0 for one step, then hides",
       {100, 100, 30, 30, 25, 0},
       {{TimingState::FadingIn, 0.4f},
        {TimingState::FadingIn, 0.8f},
        {TimingState::Shown, 1.0f},
        {TimingState::Shown, 1.0f},
        {TimingState::Shown, 1.0f},
        {TimingState::FadingOut, 0.0f},
        {TimingState::Hidden, 0.0f}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ZKW_RandomTimeLine t;
    Configure(t, c.durations);
    t.Reset();
    int i = 1;
    for (const auto& [state, value] : c.states) {
      t.Step(0.1f * static_cast<float>(i));
      EXPECT_EQ(t.GetState(), state) << "step " << i;
      EXPECT_NEAR(t.GetValue(), value, 1e-4f) << "step " << i;
      ++i;
    }
  }
}

// A step that passes the end of a phase that itself ends within the step moves on twice.
TEST(RandomTimeLine, ChainedTransitions) {
  ZKW_RandomTimeLine t;
  // Shown 0.05 s: fading in -> shown -> fading out within one step.
  Configure(t, {0, 0, 5, 5, 20, 20});
  t.Reset();
  t.Step(0.1f);
  EXPECT_EQ(t.GetState(), TimingState::FadingIn);  // switch at 0.2
  t.Step(0.3f);
  EXPECT_EQ(t.GetState(), TimingState::FadingOut);  // shown ended at 0.25: on at once
  EXPECT_NEAR(t.NextSwitch(), 0.45f, 1e-5f);
  EXPECT_NEAR(t.GetValue(), 0.75f, 1e-4f);
  // Hidden 0 s: fading out -> hidden -> fading in within one step.
  t.Step(0.5f);
  EXPECT_EQ(t.GetState(), TimingState::FadingIn);
  EXPECT_NEAR(t.NextSwitch(), 0.65f, 1e-5f);
  EXPECT_NEAR(t.GetValue(), 0.25f, 1e-4f);
}

// Phases shorter than a frame step: the step ends past the fade it enters, yet the value stays a
// visibility (it scales local time and opacity).
TEST(RandomTimeLine, StepsLongerThanAPhaseKeepTheValueWithinZeroAndOne) {
  using StateValue = std::pair<TimingState, float>;
  struct Case {
    const char* what;
    Durations durations;
    float step;
    StateValue first, second;  // after one and after two steps
  };
  const Case cases[] = {
      {"fade-in shorter than a step",
       {0, 0, 100, 100, 5, 50},
       0.1f,
       {TimingState::FadingIn, 1.0f},
       {TimingState::Shown, 1.0f}},
      {"shown and fade-out shorter than a step",
       {0, 0, 1, 1, 0, 1},
       0.1f,
       {TimingState::FadingIn, 1.0f},
       {TimingState::FadingOut, 0.0f}},
      {"every phase shorter than a step",
       {1, 1, 1, 1, 1, 1},
       0.2f,
       {TimingState::FadingIn, 1.0f},
       {TimingState::FadingOut, 0.0f}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ZKW_RandomTimeLine t;
    Configure(t, c.durations);
    t.Reset();
    t.Step(c.step);
    EXPECT_EQ(StateValue(t.GetState(), t.GetValue()), c.first);
    t.Step(2.0f * c.step);
    EXPECT_EQ(StateValue(t.GetState(), t.GetValue()), c.second);
    for (int i = 3; i < 60; ++i) {
      t.Step(static_cast<float>(i) * c.step);
      EXPECT_GE(t.GetValue(), 0.0f) << "step " << i;
      EXPECT_LE(t.GetValue(), 1.0f) << "step " << i;
    }
  }
}

TEST(RandomTimeLine, PhaseProgressAndZeroShownTime) {
  ZKW_RandomTimeLine t;
  for (int i = 1; i <= 10; ++i)
    t.Step(0.1f * static_cast<float>(i));  // 0.5 s shown of 1.0
  ASSERT_EQ(t.GetState(), TimingState::Shown);
  EXPECT_NEAR(t.GetPhaseProgress(), 0.5f, 1e-4f);

  Configure(t, {0, 0, 0, 0, 0, 0});
  t.Reset();  // shown time 0
  for (int i = 1; i <= 3; ++i) {
    t.Step(0.1f * static_cast<float>(i));
    EXPECT_EQ(t.GetPhaseProgress(), 0.0f);
    EXPECT_FALSE(std::isnan(t.GetValue()));
  }
}

// The draws happen in a fixed order: the shown time at construction and at every Reset, then at
// each end of a fade-out the hidden duration followed by the next shown time.
TEST(RandomTimeLine, OrderOfDraws) {
  ZKW_RandomTimeLine probe;  // durations to configure before drawing
  const Durations d{100, 300, 20, 60, 10, 10};
  const auto draws = DrawsAfterSeed(1234, 4);
  const float shown0 = static_cast<float>(20 + draws[0] % 41) * 0.01f;
  const float hidden1 = static_cast<float>(100 + draws[1] % 201) * 0.01f;
  const float shown1 = static_cast<float>(20 + draws[2] % 41) * 0.01f;
  const float shown2 = static_cast<float>(20 + draws[3] % 41) * 0.01f;

  Configure(probe, d);
  probe.Reset();  // draw 0
  EXPECT_FLOAT_EQ(probe.ShownTime(), shown0);
  float now = 0.0f;
  while (probe.GetState() != TimingState::Hidden || now < 0.05f) {
    now += 0.05f;
    probe.Step(now);
  }
  // Fade-in 0.1 + shown0 + fade-out 0.1, then hidden1 drawn before shown1.
  EXPECT_NEAR(probe.NextSwitch(), 0.1f + shown0 + 0.1f + hidden1, 1e-4f);
  EXPECT_FLOAT_EQ(probe.ShownTime(), shown1);
  probe.Reset();
  EXPECT_FLOAT_EQ(probe.ShownTime(), shown2);
}

TEST(RandomTimeLine, InitFromTakesTheOwnersDefaults) {
  RegisterTimelineClasses();
  ZKW_SmartTiming owner;
  owner.defaultFadeIn = 0.25f;
  owner.defaultShown = 3.0f;
  owner.defaultFadeOut = 0.0f;
  ZKW_RandomTimeLine t;
  t.params.hiddenMin.SetValue(7);
  t.InitFrom(owner);
  EXPECT_EQ(t.params.fadeIn.Value(), 25u);
  EXPECT_FLOAT_EQ(t.params.fadeIn.Scaled(), 0.25f);
  EXPECT_EQ(t.params.fadeOut.Value(), 0u);
  EXPECT_EQ(t.params.shownMin.Value(), 300u);
  EXPECT_EQ(t.params.shownMax.Value(), 300u);
  EXPECT_EQ(t.params.shownMax.UndoControl().Saved(), 300u);  // silent store keeps undo in step
  EXPECT_EQ(t.params.hiddenMin.Value(), 7u);
}

}  // namespace
