#include <gtest/gtest.h>

#include "core/scene/scene_test_kinds.h"
#include "core/timing/depended_timeline.h"
#include "core/timing/random_timeline.h"
#include "core/timing/timing_test_support.h"

namespace {

const GUID kMasterGuid = GUID::Parse(u"{0000000A-0000-0000-0000-000000000001}");

// A live master object whose timeline the test sets directly.
class DependedTimeLineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterTimelineClasses();
    TestDescription saved;
    saved.guid = kMasterGuid;
    fixed_ = &InstallFixed(saved.timing, 0.0f, TimingState::Hidden);
    master_ = std::make_unique<TestObject>(std::make_unique<TestDescription>(saved));
  }

  FixedTimeline* fixed_ = nullptr;
  std::unique_ptr<TestObject> master_;
};

TEST_F(DependedTimeLineTest, WithoutAMasterItIsHidden) {
  ZKW_DependedTimeLine d;
  d.mode.SetValue(1);
  d.Bind();  // zero GUID: no object
  EXPECT_EQ(d.MasterTiming(), nullptr);
  fixed_->Set(1.0f, TimingState::Shown);
  d.Step(1.0f);
  EXPECT_FALSE(d.RunActive());
  EXPECT_EQ(d.GetState(), TimingState::Hidden);
  EXPECT_EQ(d.GetValue(), 0.0f);
}

TEST_F(DependedTimeLineTest, ModeZeroMirrorsTheMaster) {
  ZKW_DependedTimeLine d;
  d.master.SetValue(kMasterGuid);  // a change of the GUID resolves the master at once
  ASSERT_EQ(d.MasterTiming(), master_->GetSmartTiming());
  for (auto [value, state] :
       {std::pair{0.25f, TimingState::FadingIn}, std::pair{1.0f, TimingState::Shown},
        std::pair{0.5f, TimingState::FadingOut}}) {
    fixed_->Set(value, state);
    d.Step(1.0f);
    EXPECT_EQ(d.GetState(), state);
    EXPECT_EQ(d.GetValue(), value);
  }
  // A change of the master's kind is followed: its current timeline is asked afresh.
  master_->GetSmartTiming()->SetValue(1);
  ASSERT_NE(dynamic_cast<ZKW_RandomTimeLine*>(master_->GetSmartTiming()->Current()), nullptr);
  EXPECT_EQ(d.GetState(), TimingState::Hidden);
  EXPECT_EQ(d.GetValue(), master_->GetSmartTiming()->Current()->GetValue());
}

// Mode 1: one run each time the master leaves hidden; delay 0, fades 0.5 s, shown 1 s.
TEST_F(DependedTimeLineTest, ModeOneRunsOncePerMasterShow) {
  ZKW_DependedTimeLine d;
  d.master.RawValue() = kMasterGuid;
  d.mode.SetValue(1);
  d.Bind();
  struct Frame {
    float t;
    TimingState master;
    TimingState expect;
    float value;
  };
  const Frame frames[] = {
      {0.5f, TimingState::Hidden, TimingState::Hidden, 0.0f},
      {1.0f, TimingState::Shown, TimingState::Hidden, 0.0f},  // run starts: 1.0 .. 3.0
      {1.2f, TimingState::Shown, TimingState::FadingIn, 0.4f},
      {1.3f, TimingState::Hidden, TimingState::FadingIn, 0.6f},
      {1.4f, TimingState::FadingIn, TimingState::FadingIn, 0.8f},  // no second run
      {2.0f, TimingState::Shown, TimingState::Shown, 1.0f},
      {2.75f, TimingState::Shown, TimingState::FadingOut, 0.5f},
      {3.1f, TimingState::Shown, TimingState::Hidden, 0.0f},  // run over
      {3.5f, TimingState::Shown, TimingState::Hidden, 0.0f},  // master still shown: idle
      {4.0f, TimingState::Hidden, TimingState::Hidden, 0.0f},
      {4.5f, TimingState::FadingIn, TimingState::Hidden, 0.0f},  // next run: 4.5 .. 6.5
      {5.1f, TimingState::FadingIn, TimingState::Shown, 1.0f},
  };
  for (const Frame& f : frames) {
    SCOPED_TRACE(f.t);
    fixed_->Set(1.0f, f.master);
    d.Step(f.t);
    EXPECT_EQ(d.GetState(), f.expect);
    EXPECT_NEAR(d.GetValue(), f.value, 1e-5f);
  }
  EXPECT_FLOAT_EQ(d.LastRun().fadeInStart, 4.5f);
  EXPECT_FLOAT_EQ(d.LastRun().end, 6.5f);
}

// The delay is drawn before the shown time.
TEST_F(DependedTimeLineTest, RunDrawsDelayThenShownTime) {
  ZKW_DependedTimeLine d;
  d.master.SetValue(kMasterGuid);
  d.mode.SetValue(1);
  d.params.hiddenMin.SetValue(0);
  d.params.hiddenMax.SetValue(100);
  d.params.shownMin.SetValue(50);
  d.params.shownMax.SetValue(150);
  const auto draws = DrawsAfterSeed(42, 2);
  fixed_->Set(1.0f, TimingState::Shown);
  d.Step(2.0f);
  const float delay = static_cast<float>(draws[0] % 101) * 0.01f;
  const float shown = static_cast<float>(50 + draws[1] % 101) * 0.01f;
  EXPECT_FLOAT_EQ(d.LastRun().fadeInStart, 2.0f + delay);
  EXPECT_FLOAT_EQ(d.LastRun().shownStart, 2.5f + delay);
  EXPECT_FLOAT_EQ(d.LastRun().fadeOutStart, 2.5f + delay + shown);
  EXPECT_FLOAT_EQ(d.LastRun().end, 3.0f + delay + shown);
}

TEST_F(DependedTimeLineTest, VersionOneRecordIsMirrorMode) {
  ZKW_DependedTimeLine stored;
  stored.master.RawValue() = kMasterGuid;
  const auto bytes = WrittenBytes([&](DS_IOF_Archive& ar) {
    WriteRecordHeader(ar, u"ZKW_DependedTimeLine", 1);
    ar.WriteGuid(kMasterGuid);
    ZKW_Timing* base = &stored;
    base->ZKW_Timing::Save(ar);
  });
  ArchiveSource src(SourceMode::Memory, bytes);
  ZKW_DependedTimeLine d;
  d.mode.SetValue(1);
  d.ReadBody(src.archive(), ReadBaseHeader(src.archive()));
  EXPECT_EQ(src.buffer().Remaining(), 0u);
  EXPECT_EQ(d.master.Value(), kMasterGuid);
  EXPECT_EQ(d.mode.Value(), 0);
  EXPECT_EQ(d.mode.UndoControl().Saved(), 0);
  EXPECT_EQ(d.MasterTiming(), nullptr);  // resolved only at Bind
  d.Bind();
  EXPECT_EQ(d.MasterTiming(), master_->GetSmartTiming());
}

// A chain of mirrors that leads back to itself must not recurse without end.
TEST_F(DependedTimeLineTest, MirrorCyclesAnswerHidden) {
  const GUID a = GUID::Parse(u"{0000000A-0000-0000-0000-00000000000A}");
  const GUID b = GUID::Parse(u"{0000000A-0000-0000-0000-00000000000B}");
  auto makeFollower = [](const GUID& own, const GUID& follows) {
    TestDescription saved;
    saved.guid = own;
    auto d = std::make_unique<ZKW_DependedTimeLine>();
    d->master.RawValue() = follows;
    saved.timing.SetTiming(std::move(d));
    return std::make_unique<TestObject>(std::make_unique<TestDescription>(saved));
  };
  auto self = makeFollower(a, a);
  auto first = makeFollower(b, kMasterGuid);
  for (TestObject* o : {self.get(), first.get()})
    o->BindTiming();
  EXPECT_EQ(self->GetSmartTiming()->Current()->GetState(), TimingState::Hidden);
  EXPECT_EQ(self->GetSmartTiming()->Current()->GetValue(), 0.0f);

  // master -> b -> a -> b: point the master at b too.
  auto* masterFollow = new ZKW_DependedTimeLine();
  masterFollow->master.RawValue() = b;
  master_->GetSmartTiming()->SetTiming(std::unique_ptr<ZKW_Timing>(masterFollow));
  masterFollow->Bind();
  EXPECT_EQ(first->GetSmartTiming()->Current()->GetState(), TimingState::Hidden);
  EXPECT_EQ(first->GetSmartTiming()->Current()->GetValue(), 0.0f);
}

}  // namespace
