#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

#include "core/chrono/chrono_clock.h"
#include "core/chrono/chrono_wrap.h"
#include "core/chrono/zkw_chrono_default.h"
#include "core/startup/thread_slots.h"
#include "core/timing/timing_test_support.h"

namespace {

// An envelope that answers x itself, to see which part of a window has passed.
class RampGraph : public ZKW_VGraph {
 public:
  const char* GetClassName() const override { return "RampGraph"; }
  float MaxValue() const override { return 1.0f; }
  float ValueAt(float x, unsigned*) const override { return x; }
  bool PointAt(unsigned, float*, float*) const override { return false; }
};

// An enabled controller with the given window lengths.
std::unique_ptr<ZKW_Chrono_Default> Windows(float active, float pause) {
  auto c = std::make_unique<ZKW_Chrono_Default>();
  c->enabled.SetValue(1);
  c->activeLength.SetValue(active);
  c->pauseLength.SetValue(pause);
  return c;
}

TEST(ChronoDefault, DefaultsAndRestart) {
  ZKW_Chrono_Default c;
  EXPECT_EQ(c.enabled.Value(), 0);
  EXPECT_EQ(c.activeLength.Value(), 1.0f);
  EXPECT_EQ(c.pauseLength.Value(), 1.0f);
  EXPECT_FLOAT_EQ(c.amplitude.value.Scaled(), 1.0f);
  EXPECT_FLOAT_EQ(c.amplitude.spread.Scaled(), 1.0f);
  EXPECT_EQ(c.Phase(), ChronoPhase::Pause);
  EXPECT_EQ(c.Boundary(), 0.0f);
  EXPECT_STREQ(c.GetClassName(), "ZKW_Chrono_Default");

  c.enabled.SetValue(1);
  c.GetValue(7.5f);
  c.Restart();
  EXPECT_EQ(c.Phase(), ChronoPhase::Pause);
  EXPECT_EQ(c.Boundary(), 0.0f);
}

// Active 2 s, pause 1 s: windows laid from time 0, a boundary belongs to the next phase.
TEST(ChronoDefault, WindowsAlternateAndBoundariesBelongToTheNextPhase) {
  const auto cHeld = Windows(2.0f, 1.0f);
  ZKW_Chrono_Default& c = *cHeld;
  const struct {
    float t, value;
  } expects[] = {{0.0f, 1}, {1.99f, 1}, {2.0f, 0}, {2.5f, 0}, {3.0f, 1},
                 {4.9f, 1}, {5.0f, 0},  {6.0f, 1}, {8.0f, 0}, {9.0f, 1}};
  for (const auto& e : expects)
    EXPECT_EQ(c.GetValue(e.t), e.value) << "at " << e.t;
  EXPECT_EQ(c.Boundary(), 11.0f);
}

TEST(ChronoDefault, AmplitudeSpreadAndEnvelope) {
  const auto cHeld = Windows(2.0f, 1.0f);
  ZKW_Chrono_Default& c = *cHeld;
  c.amplitude.spread.SetValue(50);
  EXPECT_FLOAT_EQ(c.GetValue(0.5f), 0.5f) << "a spread of 50 % halves the amplitude";
  c.amplitude.value.SetValue(80);
  EXPECT_FLOAT_EQ(c.GetValue(0.6f), 0.4f);

  c.amplitude.spread.SetValue(0);
  c.amplitude.envelope.SetGraph(DS_SafePtr<ZKW_VGraph>(std::make_unique<RampGraph>()));
  EXPECT_FLOAT_EQ(c.GetValue(3.5f), 0.8f * 0.25f) << "a quarter of the window has passed";
}

// Disabled: 1, and the boundary follows the calls, so the first window after a disabled stretch
// starts at the last disabled call.
TEST(ChronoDefault, DisabledGivesOneAndMovesTheWindows) {
  const auto cHeld = Windows(2.0f, 1.0f);
  ZKW_Chrono_Default& c = *cHeld;
  c.enabled.SetValue(0);
  EXPECT_EQ(c.GetValue(2.5f), 1.0f);
  EXPECT_EQ(c.GetValue(10.0f), 1.0f);
  EXPECT_EQ(c.Boundary(), 10.0f);
  c.enabled.SetValue(1);
  EXPECT_EQ(c.GetValue(11.9f), 1.0f);
  EXPECT_EQ(c.GetValue(12.0f), 0.0f);

  const auto zeroHeld = Windows(0.0f, 0.0f);
  ZKW_Chrono_Default& zero = *zeroHeld;
  EXPECT_EQ(zero.GetValue(4.0f), 1.0f) << "both lengths 0";
}

// Lengths that are negative, NaN, infinite or far below the time's precision, and times that are
// huge or not finite: every call ends, and lengths that are not positive count as 0.
TEST(ChronoDefault, BadLengthsAndTimesEnd) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const struct {
    float active, pause, t, value;
  } cases[] = {
      {-1.0f, -2.0f, 5.0f, 1.0f},  // both count as 0: always on
      {nan, 1.0f, 5.0f, 0.0f},     // no active window: always paused
      {1.0f, nan, 5.5f, 1.0f},     // no pause: always active
      {inf, 1.0f, 5.0f, 0.0f},     // an infinite window counts as 0
      {1.0f, 1.0f, 1e9f, 1.0f},    // 1 s steps are below the precision of 1e9
      {1e-30f, 1e-30f, 1e6f, -1},  // tiny windows: any value, but the call ends
      {2.0f, 1.0f, 3e7f + 0.5f, -1},
  };
  for (const auto& c : cases) {
    const auto chronoHeld = Windows(c.active, c.pause);
    ZKW_Chrono_Default& chrono = *chronoHeld;
    const float value = chrono.GetValue(c.t);
    if (c.value >= 0) EXPECT_EQ(value, c.value) << c.active << " / " << c.pause << " at " << c.t;
    EXPECT_TRUE(std::isfinite(chrono.Boundary()));
    EXPECT_GE(chrono.Boundary(), c.t);
  }

  const auto chronoHeld = Windows(2.0f, 1.0f);
  ZKW_Chrono_Default& chrono = *chronoHeld;
  chrono.GetValue(1.0f);
  EXPECT_EQ(chrono.GetValue(inf), 1.0f);
  EXPECT_EQ(chrono.GetValue(nan), 1.0f);
  EXPECT_EQ(chrono.Boundary(), 2.0f) << "a time that is not finite changes nothing";
}

// Stepping over whole cycles at once gives what stepping frame by frame gives.
TEST(ChronoDefault, FirstCallLateMatchesFrameByFrame) {
  const auto framedHeld = Windows(0.3f, 0.7f);
  ZKW_Chrono_Default& framed = *framedHeld;
  framed.amplitude.envelope.SetGraph(DS_SafePtr<ZKW_VGraph>(std::make_unique<RampGraph>()));
  const auto lateHeld = Windows(0.3f, 0.7f);
  ZKW_Chrono_Default& late = *lateHeld;
  late.amplitude.envelope.SetGraph(DS_SafePtr<ZKW_VGraph>(std::make_unique<RampGraph>()));
  for (int frame = 0; frame <= 3000; ++frame)
    framed.GetValue(static_cast<float>(frame) / 60.0f);
  const float t = 3000.0f / 60.0f + 0.01f;
  EXPECT_NEAR(late.GetValue(t), framed.GetValue(t), 1e-3f);
  EXPECT_EQ(late.Phase(), framed.Phase());
  EXPECT_NEAR(late.Boundary(), framed.Boundary(), 1e-3f);
}

// Each boundary is the previous one plus a length, in float, whether the walk is long (a first
// call late on the clock, as after a project is read again) or a frame spans whole cycles.
TEST(ChronoDefault, LongWalksAddEachLengthInTurn) {
  struct Walk {
    float boundary = 0.0f;
    ChronoPhase phase = ChronoPhase::Pause;
    void To(float t, float active, float pause) {
      while (t >= boundary) {
        const bool toPause = phase == ChronoPhase::Active;
        boundary += toPause ? pause : active;
        phase = toPause ? ChronoPhase::Pause : ChronoPhase::Active;
      }
    }
  };
  const struct {
    float active, pause, t;
  } cases[] = {{0.1f, 0.1f, 50.01f},    {0.1f, 0.1f, 3600.5f},  {0.017f, 0.033f, 600.123f},
               {2.2f, 0.9f, 10000.7f},  {1.3f, 0.45f, 3600.5f}, {0.3f, 0.7f, 50.01f},
               {0.05f, 0.0f, 1234.567f}};
  for (const auto& c : cases) {
    const auto chrono = Windows(c.active, c.pause);
    chrono->GetValue(c.t);
    Walk walk;
    walk.To(c.t, c.active, c.pause);
    EXPECT_EQ(chrono->Boundary(), walk.boundary) << c.active << " / " << c.pause << " at " << c.t;
    EXPECT_EQ(chrono->Phase(), walk.phase) << c.active << " / " << c.pause << " at " << c.t;
  }

  // Frames of 0.2 s over windows of 0.05 s: every frame crosses whole cycles.
  const auto framed = Windows(0.05f, 0.05f);
  Walk walk;
  for (int frame = 0; frame < 2000; ++frame) {
    const float t = static_cast<float>(frame) * 0.2f + 0.01f;
    const float value = framed->GetValue(t);
    walk.To(t, 0.05f, 0.05f);
    ASSERT_EQ(framed->Boundary(), walk.boundary) << "frame " << frame;
    ASSERT_EQ(value, walk.phase == ChronoPhase::Active ? 1.0f : 0.0f) << "frame " << frame;
  }
}

// The envelope's value times the amplitude, which is the percent's factor times the spread's.
TEST(ChronoDefault, EnvelopeTimesTheAmplitudeProduct) {
  const auto c = Windows(4.0f, 1.0f);
  c->amplitude.envelope.SetGraph(DS_SafePtr<ZKW_VGraph>(std::make_unique<RampGraph>()));
  for (unsigned value : {33u, 70u, 97u, 130u}) {
    for (unsigned spread : {7u, 30u, 61u}) {
      c->amplitude.value.SetValue(value);
      c->amplitude.spread.SetValue(spread);
      const float amplitude = c->amplitude.value.Scaled() * c->amplitude.spread.Scaled();
      for (float t : {5.3f, 6.1f, 7.7f, 8.9f}) {  // the second active window, [5, 9)
        const float fraction = 1.0f - (9.0f - t) / 4.0f;
        EXPECT_EQ(c->GetValue(t), fraction * amplitude) << value << " " << spread << " " << t;
      }
      c->Restart();
    }
  }
}

TEST(ChronoDefault, RecordRoundTripsThroughTheRegistry) {
  RegisterTimelineClasses();
  const auto cHeld = Windows(2.5f, 0.75f);
  ZKW_Chrono_Default& c = *cHeld;
  c.amplitude.value.SetValue(60);
  c.amplitude.spread.SetValue(20);
  const auto bytes = SavedBytes(c);

  ArchiveSource source(SourceMode::Memory, bytes);
  std::unique_ptr<ZKW_ChronoCtrl> read = ReadChronoCtrl(source.archive());
  ASSERT_NE(read, nullptr);
  EXPECT_FALSE(source.archive().Failed());
  EXPECT_EQ(source.Consumed(), bytes.size());
  auto* back = dynamic_cast<ZKW_Chrono_Default*>(read.get());
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->enabled.Value(), 1);
  EXPECT_EQ(back->activeLength.Value(), 2.5f);
  EXPECT_EQ(back->pauseLength.Value(), 0.75f);
  EXPECT_EQ(back->amplitude.value.Value(), 60u);
  EXPECT_EQ(back->amplitude.spread.Value(), 20u);
  EXPECT_FLOAT_EQ(back->amplitude.value.Scaled(), 0.6f);
  EXPECT_STREQ(back->amplitude.envelope.Graph()->GetClassName(), "ZKW_VGraph_Const");
  EXPECT_EQ(SavedBytes(*back), bytes);

  // The fields in their stored order, after the header.
  std::vector<uint8_t> head;
  head.push_back(0xFF), head.push_back(0xFE), head.push_back(0xFF), head.push_back(18);
  AppendUnits(head, u"ZKW_Chrono_Default");
  Append(head, Bytes({1, 0, 0, 0, 1, 0, 0, 0}));
  ASSERT_GT(bytes.size(), head.size() + 8);
  EXPECT_TRUE(std::equal(head.begin(), head.end(), bytes.begin()));
  float active = 0;
  std::memcpy(&active, bytes.data() + head.size(), 4);
  EXPECT_EQ(active, 2.5f);
}

class ChronoClockTest : public ::testing::Test {
 protected:
  void SetUp() override { ChronoTlsSlot::Set(&clock); }
  void TearDown() override { ChronoTlsSlot::Set(nullptr); }

  static ZKW_Chrono_Default& DefaultOf(ZKW_SmartChronoCtrl& param) {
    return dynamic_cast<ZKW_Chrono_Default&>(*param.Chrono());
  }

  ChronoClock clock;
};

TEST_F(ChronoClockTest, ClockStepsLikeEveryClockOfTheScene) {
  const struct {
    float t, localTime;
  } steps[] = {{10.0f, 0.0f}, {10.1f, 0.1f}, {11.1f, 0.3f}, {5.0f, 0.3f}, {5.05f, 0.35f}};
  for (const auto& s : steps) {
    TickChronoClock(&clock, s.t);
    EXPECT_NEAR(clock.speed.localTime, s.localTime, 1e-5f) << "at " << s.t;
  }
  TickChronoClock(nullptr, 1.0f);  // no clock: nothing
}

TEST_F(ChronoClockTest, TickPushesModulatedValuesIntoTheWrappers) {
  ChronoWrap<UINTSclaleTo<float>> size(100, 0.01f, 0.0f);
  ChronoWrap<ZKW_SmartAlpha> translucency;
  translucency.SetValue(40);
  ChronoWrap<MediaParamT<unsigned>> count(10u);
  ASSERT_EQ(clock.controllers.size(), 3u);
  EXPECT_EQ(size.flag, 1);
  EXPECT_EQ(clock.controllers[0].Get()->Face(), &size);

  DefaultOf(size.chrono).enabled.SetValue(1);
  DefaultOf(size.chrono).activeLength.SetValue(0.3f);
  DefaultOf(size.chrono).pauseLength.SetValue(0.2f);

  TickChronoClock(&clock, 0.0f);
  EXPECT_FLOAT_EQ(size.Modulated(), 1.0f);
  EXPECT_FLOAT_EQ(translucency.Modulated(), 0.6f);
  EXPECT_FLOAT_EQ(count.Modulated(), 10.0f);
  TickChronoClock(&clock, 0.2f);
  TickChronoClock(&clock, 0.35f);
  EXPECT_FLOAT_EQ(size.Modulated(), 0.0f) << "in the pause";
  EXPECT_FLOAT_EQ(count.Modulated(), 10.0f) << "disabled controllers give 1";
  TickChronoClock(&clock, 0.55f);
  EXPECT_FLOAT_EQ(size.Modulated(), 1.0f);
}

TEST_F(ChronoClockTest, ControllersOfGoneWrappersAreDroppedInOrder) {
  auto first = std::make_unique<ChronoWrap<UINTSclaleTo<float>>>();
  auto second = std::make_unique<ChronoWrap<UINTSclaleTo<float>>>();
  ChronoWrap<UINTSclaleTo<float>> third;
  DS_SafePtr<ZKW_ChronoCtrl> watched = first->chrono.Value();
  first.reset();
  second.reset();
  EXPECT_EQ(clock.controllers.size(), 3u) << "dropped at the next tick, not before";
  TickChronoClock(&clock, 0.0f);
  ASSERT_EQ(clock.controllers.size(), 1u);
  EXPECT_EQ(clock.controllers[0].Get()->Face(), &third);
  EXPECT_EQ(watched.Count(), 1) << "the clock released its share";
}

// A wrapper read from a project replaces its default controller; the default stays in the clock
// until the next tick.
TEST_F(ChronoClockTest, ReadWrapperReplacesItsController) {
  RegisterTimelineClasses();
  const auto storedHeld = Windows(2.0f, 1.0f);
  ZKW_Chrono_Default& stored = *storedHeld;
  const auto bytes = WrittenBytes([&](DS_IOF_Archive& a) {
    a.io().WriteInt32(1);
    a.io().WriteUInt32(250);
    stored.Save(a);
  });
  ChronoWrap<UINTSclaleTo<float>> size(100, 0.01f, 0.0f);
  DS_SafePtr<ZKW_ChronoCtrl> old = size.chrono.Value();
  ArchiveSource source(SourceMode::Memory, bytes);
  ReadChronoWrap(source.archive(), size);
  EXPECT_FALSE(source.archive().Failed());
  EXPECT_EQ(size.Value(), 250u);
  EXPECT_FLOAT_EQ(size.Scaled(), 2.5f);
  EXPECT_EQ(old->Face(), nullptr);
  EXPECT_EQ(size.chrono.Chrono()->Face(), &size);
  EXPECT_EQ(clock.controllers.size(), 2u);

  TickChronoClock(&clock, 0.0f);
  ASSERT_EQ(clock.controllers.size(), 1u);
  EXPECT_EQ(clock.controllers[0].Get(), size.chrono.Chrono());
  EXPECT_EQ(old.Count(), 1);
  EXPECT_FLOAT_EQ(size.Modulated(), 2.5f);
  TickChronoClock(&clock, 0.2f);
  TickChronoClock(&clock, 0.4f);
  TickChronoClock(&clock, 0.6f);
  EXPECT_EQ(clock.speed.localTime, 0.6f);

  // What the wrapper writes reads back the same way.
  const auto again = WrittenBytes([&](DS_IOF_Archive& a) { WriteChronoWrap(a, size); });
  EXPECT_EQ(again, bytes);
}

TEST_F(ChronoClockTest, UnknownControllerClassKeepsTheController) {
  RegisterTimelineClasses();
  const auto bytes = WrittenBytes([&](DS_IOF_Archive& a) {
    a.io().WriteInt32(1);
    a.io().WriteUInt32(7);
    a.io().WriteWideString(u"ZKW_Chrono_Unknown");
    a.io().WriteDword(1);
  });
  ChronoWrap<MediaParamT<unsigned>> count(3u);
  ZKW_ChronoCtrl* before = count.chrono.Chrono();
  ArchiveSource source(SourceMode::Memory, bytes);
  ReadChronoWrap(source.archive(), count);
  EXPECT_TRUE(source.archive().Failed());
  EXPECT_EQ(count.Value(), 7u);
  EXPECT_EQ(count.chrono.Chrono(), before);
  EXPECT_EQ(before->Face(), &count);
}

TEST(ChronoWithoutClock, WrappersWorkButRegisterNothing) {
  ASSERT_EQ(ChronoTlsSlot::Get(), nullptr);
  ChronoWrap<UINTSclaleTo<float>> size(50, 0.01f, 0.0f);
  ASSERT_NE(size.chrono.Chrono(), nullptr);
  EXPECT_EQ(size.chrono.Value().Count(), 2) << "the parameter and its undo copy";
  size.ApplyChronoValue(0.5f);
  EXPECT_FLOAT_EQ(size.Modulated(), 0.25f);
}

}  // namespace

// The scene root ticks with the absolute time since start-up; after days of play a frame must
// still advance the clock by the frame's own length.
TEST_F(ChronoClockTest, StepsStayExactAfterDaysOfPlay) {
  const double start = 3 * 24 * 3600.0;
  TickChronoClock(&clock, start);
  const float before = clock.speed.localTime;
  TickChronoClock(&clock, start + 0.016);
  EXPECT_NEAR(clock.speed.localTime - before, 0.016f, 1e-6f);
}
