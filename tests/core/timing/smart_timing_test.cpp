#include <gtest/gtest.h>

#include "core/param/recording_control.h"
#include "core/timing/continues_timeline.h"
#include "core/timing/depended_timeline.h"
#include "core/timing/manual_timeline.h"
#include "core/timing/random_timeline.h"
#include "core/timing/smart_timing.h"
#include "core/timing/timing_registry.h"
#include "core/timing/timing_test_support.h"

namespace {

class SmartTimingTest : public ::testing::Test {
 protected:
  void SetUp() override { RegisterTimelineClasses(); }
};

// Reads a "ZKW_SmartTiming" record (header included) into a new timing part.
void ReadSmart(const std::vector<uint8_t>& bytes, ZKW_SmartTiming& timing, bool* failed = nullptr) {
  ArchiveSource src(SourceMode::Memory, bytes);
  timing.Read(src.archive(), ReadBaseHeader(src.archive()));
  if (failed != nullptr) *failed = src.archive().Failed();
}

TEST_F(SmartTimingTest, RegistryHoldsTheFourKinds) {
  for (const char16_t* name : {u"ZKW_ContinuesTimeLine", u"ZKW_RandomTimeLine",
                               u"ZKW_ManualTimeLine", u"ZKW_DependedTimeLine"}) {
    EXPECT_NE(CreateTimingByName(name), nullptr);
  }
  EXPECT_EQ(CreateTimingByName(u"ZKW_Timing"), nullptr);  // only the kinds are created
  EXPECT_EQ(CreateTimingByName(u"zkw_randomtimeline"), nullptr);
}

TEST_F(SmartTimingTest, StartsContinuousKeptUnderKindZero) {
  ZKW_SmartTiming timing;
  EXPECT_EQ(timing.Kind(), 0);
  ASSERT_NE(dynamic_cast<ZKW_ContinuesTimeLine*>(timing.Current()), nullptr);
  EXPECT_EQ(timing.CurrentHandle().Count(), 2);  // current and kept share one holder
  EXPECT_EQ(timing.Kept(0).Get(), timing.Current());
  EXPECT_FALSE(timing.Kept(1));
}

TEST_F(SmartTimingTest, SwitchingKindsKeepsEachTimelineWithItsSettings) {
  ZKW_SmartTiming timing;
  std::vector<std::string> log;
  RecordingControl watcher("kind", &log, &timing);

  timing.SetValue(1);
  auto* random = dynamic_cast<ZKW_RandomTimeLine*>(timing.Current());
  ASSERT_NE(random, nullptr);
  // A new random timeline takes the defaults of its owner.
  EXPECT_EQ(random->params.fadeIn.Value(), 50u);
  EXPECT_EQ(random->params.shownMax.Value(), 100u);
  random->params.hiddenMin.SetValue(333);

  timing.SetValue(2);
  EXPECT_NE(dynamic_cast<ZKW_ManualTimeLine*>(timing.Current()), nullptr);
  timing.SetValue(1);
  EXPECT_EQ(timing.Current(), random);
  EXPECT_EQ(random->params.hiddenMin.Value(), 333u);
  EXPECT_EQ(log.size(), 3u);  // the kind's other controls hear of every change

  // A kind outside 0..3 names no timeline: the current one stays.
  timing.SetValue(9);
  EXPECT_EQ(timing.Current(), random);
  EXPECT_FALSE(timing.Kept(9));
  EXPECT_EQ(log.size(), 4u);
}

// Every kind's record reads back into a timeline that writes the same bytes.
TEST_F(SmartTimingTest, RecordsOfEveryKindReadBack) {
  auto random = std::make_unique<ZKW_RandomTimeLine>();
  random->params.hiddenMin.SetValue(10);
  random->params.hiddenMax.SetValue(20);
  random->params.shownMin.SetValue(30);
  random->params.shownMax.SetValue(40);
  random->params.fadeIn.SetValue(5);
  random->params.fadeOut.SetValue(6);
  auto manual = std::make_unique<ZKW_ManualTimeLine>();
  manual->SetPeriod(777);
  manual->keys.insert({1, 2, 1.25f, 1.75f});
  manual->keys.insert({3, 4, 3, 4});
  auto depended = std::make_unique<ZKW_DependedTimeLine>();
  depended->master.RawValue() = GUID::Parse(u"{00112233-4455-6677-8899-AABBCCDDEEFF}");
  depended->mode.SetValue(1);
  depended->params.shownMax.SetValue(250);

  struct Case {
    int kind;
    std::unique_ptr<ZKW_Timing> timeline;
  };
  Case cases[4];
  cases[0] = {0, std::make_unique<ZKW_ContinuesTimeLine>()};
  cases[1] = {1, std::move(random)};
  cases[2] = {2, std::move(manual)};
  cases[3] = {3, std::move(depended)};
  for (Case& c : cases) {
    SCOPED_TRACE(c.kind);
    ZKW_SmartTiming timing;
    timing.RawValue() = c.kind;
    timing.timeMode.RawValue() = 2;
    timing.flags = 0x21;
    timing.SetTiming(std::move(c.timeline));
    const auto bytes = SavedBytes(timing);

    ZKW_SmartTiming back;
    bool failed = true;
    ReadSmart(bytes, back, &failed);
    EXPECT_FALSE(failed);
    EXPECT_EQ(back.Kind(), c.kind);
    EXPECT_EQ(back.timeMode.Value(), 2);
    EXPECT_EQ(back.flags, 0x21u);
    EXPECT_EQ(back.Kept(c.kind).Get(), back.Current());
    EXPECT_EQ(SavedBytes(back), bytes);
  }
}

TEST_F(SmartTimingTest, RecordLayout) {
  ZKW_SmartTiming timing;
  timing.flags = 0x20;
  const auto bytes = SavedBytes(timing);
  auto expected = WrittenBytes([](DS_IOF_Archive& ar) {
    WriteRecordHeader(ar, u"ZKW_SmartTiming", 1);
    ar.io().WriteInt32(0);
    ar.io().WriteInt32(0);
    ar.io().WriteDword(0x20);
    WriteRecordHeader(ar, u"ZKW_ContinuesTimeLine", 1);
    WriteRecordHeader(ar, u"ZKW_Timing", 1);
  });
  EXPECT_EQ(bytes, expected);
}

// A read timeline is reset: a random one draws its shown time again.
TEST_F(SmartTimingTest, ReadTimelineIsReset) {
  ZKW_RandomTimeLine stored;
  stored.params.shownMin.SetValue(20);
  stored.params.shownMax.SetValue(60);
  const auto bytes = WrittenBytes([&](DS_IOF_Archive& ar) {
    WriteRecordHeader(ar, u"ZKW_SmartTiming", 1);
    ar.io().WriteInt32(1);
    ar.io().WriteInt32(0);
    ar.io().WriteDword(0);
    stored.Save(ar);
  });
  const auto draws = DrawsAfterSeed(77, 1);
  ZKW_SmartTiming timing;
  ReadSmart(bytes, timing);
  auto* random = dynamic_cast<ZKW_RandomTimeLine*>(timing.Current());
  ASSERT_NE(random, nullptr);
  EXPECT_FLOAT_EQ(random->ShownTime(), static_cast<float>(20 + draws[0] % 41) * 0.01f);
}

// A timeline class no registry holds: the stream fails and a continuous timeline is current, so
// that the object still steps and draws safely.
TEST_F(SmartTimingTest, UnknownTimelineClassLeavesAContinuousTimeline) {
  const auto bytes = WrittenBytes([](DS_IOF_Archive& ar) {
    WriteRecordHeader(ar, u"ZKW_SmartTiming", 1);
    ar.io().WriteInt32(2);
    ar.io().WriteInt32(0);
    ar.io().WriteDword(0);
    WriteRecordHeader(ar, u"ZKW_FutureTimeLine", 1);
  });
  ZKW_SmartTiming timing;
  bool failed = false;
  ReadSmart(bytes, timing, &failed);
  EXPECT_TRUE(failed);
  ASSERT_NE(dynamic_cast<ZKW_ContinuesTimeLine*>(timing.Current()), nullptr);
  EXPECT_FALSE(timing.Kept(2));
  timing.Current()->Step(0.1f);
  EXPECT_EQ(timing.Current()->GetValue(), 1.0f);
}

// A stored kind outside 0..3 keeps the read timeline current without a slot.
TEST_F(SmartTimingTest, StoredKindOutsideTheKindsIsHeldWithoutASlot) {
  ZKW_SmartTiming source;
  source.RawValue() = 7;
  source.SetTiming(std::make_unique<ZKW_ManualTimeLine>());  // held, not kept
  EXPECT_FALSE(source.Kept(2));
  const auto bytes = SavedBytes(source);

  ZKW_SmartTiming timing;
  ZKW_Timing* continuous = timing.Current();
  ReadSmart(bytes, timing);
  EXPECT_EQ(timing.Kind(), 7);
  EXPECT_NE(dynamic_cast<ZKW_ManualTimeLine*>(timing.Current()), nullptr);
  EXPECT_EQ(timing.Kept(0).Get(), continuous);
  for (int kind = 1; kind < 4; ++kind)
    EXPECT_FALSE(timing.Kept(kind)) << kind;
}

TEST_F(SmartTimingTest, CopiesShareTheTimelines) {
  ZKW_SmartTiming timing;
  timing.SetValue(2);
  timing.timeMode.SetValue(2);
  timing.flags = 1;
  timing.localTime = 4.0f;
  ZKW_SmartTiming copy(timing);
  EXPECT_EQ(copy.Kind(), 2);
  EXPECT_EQ(copy.timeMode.Value(), 2);
  EXPECT_EQ(copy.flags, 1u);
  EXPECT_EQ(copy.localTime, 4.0f);
  EXPECT_EQ(copy.Current(), timing.Current());
  EXPECT_EQ(copy.Kept(0).Get(), timing.Kept(0).Get());
  // A kind first used in the copy is the copy's own.
  copy.SetValue(1);
  EXPECT_TRUE(copy.Kept(1));
  EXPECT_FALSE(timing.Kept(1));
}

}  // namespace
