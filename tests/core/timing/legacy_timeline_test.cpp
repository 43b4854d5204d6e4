#include <gtest/gtest.h>

#include "core/param/recording_control.h"
#include "core/timing/continues_timeline.h"
#include "core/timing/ds_timeline_control.h"
#include "core/timing/manual_timeline.h"
#include "core/timing/random_timeline.h"
#include "core/timing/smart_timing.h"
#include "core/timing/timing_test_support.h"

namespace {

struct LegacyFields {
  int32_t kind = 0;
  int32_t timeMode = 0;
  uint32_t hiddenMin = 100, hiddenMax = 100, shownMin = 100, shownMax = 100;
  uint32_t fadeIn = 50, fadeOut = 50;
  std::vector<TimeKey> keys;
  uint32_t period = 1000;
};

// A legacy record of the given version, header included.
std::vector<uint8_t> LegacyRecord(const LegacyFields& f, uint32_t version) {
  return WrittenBytes([&](DS_IOF_Archive& ar) {
    DS_IOF_Virtual& io = ar.io();
    WriteRecordHeader(ar, u"DS_TimeLineControl", version);
    io.WriteInt32(f.kind);
    io.WriteInt32(f.timeMode);
    for (uint32_t v : {f.hiddenMin, f.hiddenMax, f.shownMin, f.shownMax, f.fadeIn, f.fadeOut}) {
      io.WriteUInt32(v);
    }
    io.WriteDword(static_cast<uint32_t>(f.keys.size()));
    for (const TimeKey& k : f.keys) {
      for (float v : {k.start, k.end, k.fadeInEnd, k.fadeOutStart})
        io.WriteFloat(v);
    }
    if (version > 1) io.WriteUInt32(f.period);
  });
}

// Reads the record and converts it into a fresh timing part.
void ReadAndConvert(const std::vector<uint8_t>& bytes, ZKW_SmartTiming& timing) {
  ArchiveSource src(SourceMode::Memory, bytes);
  DS_TimeLineControl legacy;
  legacy.ReadBody(src.archive(), ReadBaseHeader(src.archive()));
  EXPECT_EQ(src.buffer().Remaining(), 0u);
  legacy.ConvertInto(timing);
}

class LegacyTimelineTest : public ::testing::Test {
 protected:
  void SetUp() override { RegisterTimelineClasses(); }
};

TEST_F(LegacyTimelineTest, SaveWritesWhatReadTakes) {
  DS_TimeLineControl record;
  record.kind.SetValue(2);
  record.shownMin.SetValue(7);
  record.fadeOut.SetValue(9);
  record.keys.insert({1, 2, 1, 2});
  record.period.SetValue(300);
  LegacyFields f;
  f.kind = 2;
  f.shownMin = 7;
  f.fadeOut = 9;
  f.keys = {{1, 2, 1, 2}};
  f.period = 300;
  EXPECT_EQ(SavedBytes(record), LegacyRecord(f, 2));
}

TEST_F(LegacyTimelineTest, KindZeroGivesAContinuousTimeline) {
  ZKW_SmartTiming timing;
  timing.SetValue(1);  // something else current before
  LegacyFields f;
  f.timeMode = 2;
  ReadAndConvert(LegacyRecord(f, 2), timing);
  EXPECT_EQ(timing.Kind(), 0);
  EXPECT_NE(dynamic_cast<ZKW_ContinuesTimeLine*>(timing.Current()), nullptr);
  EXPECT_EQ(timing.Kept(0).Get(), timing.Current());
  EXPECT_EQ(timing.timeMode.Value(), 2);
  EXPECT_EQ(timing.timeMode.UndoControl().Saved(), 2);
}

TEST_F(LegacyTimelineTest, KindOneGivesARandomTimelineWithTheRecordsDurations) {
  ZKW_SmartTiming timing;
  std::vector<std::string> log;
  RecordingControl watcher("kind", &log, &timing);
  LegacyFields f;
  f.kind = 1;
  f.hiddenMin = 11;
  f.hiddenMax = 22;
  f.shownMin = 33;
  f.shownMax = 44;
  f.fadeIn = 55;
  f.fadeOut = 0;
  ReadAndConvert(LegacyRecord(f, 2), timing);
  EXPECT_TRUE(log.empty());  // the kind is set without notification
  EXPECT_EQ(timing.Kind(), 1);
  auto* random = dynamic_cast<ZKW_RandomTimeLine*>(timing.Current());
  ASSERT_NE(random, nullptr);
  EXPECT_EQ(timing.Kept(1).Get(), random);
  EXPECT_EQ(random->params.hiddenMin.Value(), 11u);
  EXPECT_EQ(random->params.hiddenMax.Value(), 22u);
  EXPECT_EQ(random->params.shownMin.Value(), 33u);
  EXPECT_EQ(random->params.shownMax.Value(), 44u);
  EXPECT_EQ(random->params.shownMax.UndoControl().Saved(), 44u);
  EXPECT_FLOAT_EQ(random->params.fadeIn.Scaled(), 0.55f);
  EXPECT_FLOAT_EQ(random->params.fadeOut.Scaled(), 0.0f);
  EXPECT_FLOAT_EQ(random->ShownTime(), 1.0f);  // drawn at construction, kept until Reset
}

TEST_F(LegacyTimelineTest, KindTwoGivesAManualTimeline) {
  struct Case {
    const char* what;
    uint32_t version;
    unsigned expectPeriod;
  };
  const Case cases[] = {{"version 2 carries a period", 2, 450},
                        {"version 1 has none: the default stays", 1, 1000}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ZKW_SmartTiming timing;
    LegacyFields f;
    f.kind = 2;
    f.period = 450;
    f.keys = {{1, 3, 1.5f, 2.5f}, {2, 4, 2, 4}, {5, 6, 5, 6}};  // the second overlaps the first
    ReadAndConvert(LegacyRecord(f, c.version), timing);
    auto* manual = dynamic_cast<ZKW_ManualTimeLine*>(timing.Current());
    ASSERT_NE(manual, nullptr);
    EXPECT_EQ(manual->period.Value(), c.expectPeriod);
    EXPECT_FLOAT_EQ(manual->period.Scaled(), static_cast<float>(c.expectPeriod) * 0.01f);
    EXPECT_EQ(manual->keys, (TimeKeySet{{1, 3, 1.5f, 2.5f}, {5, 6, 5, 6}}));
  }
}

TEST_F(LegacyTimelineTest, OtherKindsKeepTheCurrentTimeline) {
  for (int32_t kind : {3, 9, -1}) {
    SCOPED_TRACE(kind);
    ZKW_SmartTiming timing;
    ZKW_Timing* before = timing.Current();
    LegacyFields f;
    f.kind = kind;
    f.timeMode = 1;
    ReadAndConvert(LegacyRecord(f, 2), timing);
    EXPECT_EQ(timing.Kind(), kind);
    EXPECT_EQ(timing.Current(), before);
    EXPECT_EQ(timing.timeMode.Value(), 1);
  }
}

}  // namespace
