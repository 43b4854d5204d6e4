#include <gtest/gtest.h>

#include "core/archive/ds_iof_r.h"
#include "core/archive/ds_iof_w.h"
#include "core/timing/manual_timeline.h"
#include "player/support/probe_object.h"
#include "player/support/scene_fixture.h"

namespace scene_test {
namespace {

using SlideRecordTest = SceneTest;

// A probe whose current timeline is a manual one with `period` hundredths of a second.
std::unique_ptr<ProbeDescription> TimedProbe(int32_t value, unsigned period) {
  auto probe = std::make_unique<ProbeDescription>();
  probe->value = value;
  probe->timing.SetValue(2);
  static_cast<ZKW_ManualTimeLine*>(probe->timing.Current())->SetPeriod(period);
  return probe;
}

unsigned PeriodOf(const DS_ABObj_Constructor& description) {
  return static_cast<ZKW_ManualTimeLine*>(description.timing.Current())->period.Value();
}

// A list of one slide record of `version` as the editor wrote it: fades 2, 1, 7 (whole seconds
// before version 5; 2.5, 1.5, 7.25 and mode 1 from version 5), setting 42, a plain renderer, one
// probe (value 7, manual period 300) and, from version 2, one extra probe (value 8).
std::vector<uint8_t> SlideList(uint32_t version, uint32_t period) {
  DS_IOF_Archive archive(std::make_unique<DS_IOF_W>());
  DS_IOF_Virtual& io = archive.io();
  io.WriteDword(1);
  WriteRecordHeader(archive, u"DS_SlideContainer", version);
  if (version >= 5) {
    io.WriteInt32(1);
    io.WriteFloat(2.5f);
    io.WriteFloat(1.5f);
    io.WriteFloat(7.25f);
  } else {
    io.WriteUInt32(2);
    io.WriteUInt32(1);
    io.WriteUInt32(7);
  }
  io.WriteInt32(42);
  io.WriteWideString(u"Slide 0");
  if (version >= 3 && version <= 5) io.WriteUInt32(period);
  DS_2D_Light().Save(archive);
  io.WriteDword(1);
  TimedProbe(7, 300)->Save(archive);
  if (version >= 2) {
    io.WriteDword(1);
    TimedProbe(8, 300)->Save(archive);
  }
  return static_cast<DS_IOF_W&>(archive.io()).TakeBytes();
}

std::vector<DS_SafePtr<DS_SlideContainer>> ReadList(const std::vector<uint8_t>& bytes,
                                                    bool* failed = nullptr) {
  ResourceBuffer buffer;
  buffer.SetMemory(bytes.data(), bytes.size());
  DS_IOF_Archive archive(std::make_unique<DS_IOF_R<ResourceBuffer>>(&buffer));
  std::vector<DS_SafePtr<DS_SlideContainer>> slides;
  ReadSlides(archive, slides);
  if (failed) *failed = archive.Failed();
  EXPECT_EQ(buffer.Remaining(), 0u) << "a record was not read to its end";
  return slides;
}

TEST_F(SlideRecordTest, EveryVersionReads) {
  struct Case {
    uint32_t version;
    uint32_t storedPeriod;
    unsigned timelinePeriod;  // what the probe's manual timeline ends with
  };
  const Case cases[] = {
      {1, 0, 1000},  {2, 0, 1000},  {3, 5, 500},  // whole seconds
      {4, 500, 500}, {5, 700, 700},               // hundredths
      {6, 0, 300},   {7, 0, 300},                 // no period: the timeline keeps its own
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    bool failed = true;
    const auto slides = ReadList(SlideList(c.version, c.storedPeriod), &failed);
    EXPECT_FALSE(failed);
    ASSERT_EQ(slides.size(), 1u);
    const DS_SlideContainer& slide = *slides[0];
    const bool floats = c.version >= 5;
    EXPECT_EQ(slide.mode.Value(), floats ? 1 : 0);
    EXPECT_EQ(slide.fadeIn.Value(), floats ? 2.5f : 2.0f);
    EXPECT_EQ(slide.fadeOut.Value(), floats ? 1.5f : 1.0f);
    EXPECT_EQ(slide.hold.Value(), floats ? 7.25f : 7.0f);
    EXPECT_EQ(slide.slideSetting.Value(), 42);
    EXPECT_EQ(slide.name.Value(), u"Slide 0");
    EXPECT_TRUE(slide.Playable());
    ASSERT_EQ(slide.savedObjects.size(), 1u);
    EXPECT_EQ(static_cast<ProbeDescription&>(*slide.savedObjects[0]).value, 7);
    EXPECT_EQ(PeriodOf(*slide.savedObjects[0]), c.timelinePeriod);
    EXPECT_EQ(slide.savedExtraObjects.size(), c.version >= 2 ? 1u : 0u);
  }
}

TEST_F(SlideRecordTest, AnUnknownClassStopsTheListWithAnEmptyEntry) {
  DS_IOF_Archive archive(std::make_unique<DS_IOF_W>());
  archive.io().WriteDword(2);
  WriteRecordHeader(archive, u"DS_SlideContainerX", 6);
  archive.io().WriteInt32(0);
  bool failed = false;
  const auto slides = ReadList(static_cast<DS_IOF_W&>(archive.io()).TakeBytes(), &failed);
  EXPECT_TRUE(failed);
  ASSERT_EQ(slides.size(), 1u);
  EXPECT_FALSE(slides[0]);
}

// Descriptions that carry the same GUID share one run-time object; the saved descriptions are
// gone after the start, and a save writes those of the run-time objects.
TEST_F(SlideRecordTest, StartSharesObjectsByGuidAndSaveWritesThemBack) {
  auto slides = ReadList(SlideList(4, 500));
  DS_SlideContainer& slide = *slides[0];
  const GUID shared = GUID::Create();
  for (int32_t value : {11, 12}) {
    auto probe = TimedProbe(value, 300);
    probe->guid = shared;
    slide.savedObjects.push_back(std::move(probe));
  }
  slide.Start();
  EXPECT_TRUE(slide.savedObjects.empty());
  EXPECT_TRUE(slide.savedExtraObjects.empty());
  ASSERT_EQ(slide.objects.size(), 3u);
  EXPECT_NE(slide.objects[0], slide.objects[1]);
  EXPECT_EQ(slide.objects[1], slide.objects[2]);
  EXPECT_EQ(slide.objects[1].Count(), 2);
  EXPECT_EQ(slide.extraObjects.size(), 1u);

  DS_IOF_Archive archive(std::make_unique<DS_IOF_W>());
  archive.io().WriteDword(1);
  slide.Save(archive);
  const auto again = ReadList(static_cast<DS_IOF_W&>(archive.io()).TakeBytes());
  const DS_SlideContainer& copy = *again[0];
  EXPECT_EQ(copy.fadeIn.Value(), 2.0f);
  EXPECT_EQ(copy.hold.Value(), 7.0f);
  ASSERT_EQ(copy.savedObjects.size(), 3u);
  std::vector<int32_t> values;
  for (const auto& d : copy.savedObjects)
    values.push_back(static_cast<ProbeDescription&>(*d).value);
  EXPECT_EQ(values, (std::vector<int32_t>{7, 11, 11}));
  EXPECT_EQ(copy.savedObjects[1]->guid, shared);
  EXPECT_EQ(PeriodOf(*copy.savedObjects[0]), 500u);
  EXPECT_EQ(copy.savedExtraObjects.size(), 1u);
}

}  // namespace
}  // namespace scene_test
