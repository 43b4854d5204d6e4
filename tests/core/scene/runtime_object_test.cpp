#include <gtest/gtest.h>

#include "core/scene/runtime_object_map.h"
#include "core/scene/scene_test_kinds.h"
#include "core/timing/timing_test_support.h"

namespace {

const GUID kGuid = GUID::Parse(u"{CAFE0000-0000-0000-0000-000000000001}");

class RuntimeObjectTest : public ::testing::Test {
 protected:
  void SetUp() override { RegisterTimelineClasses(); }

  static std::unique_ptr<TestObject> Make(const TestDescription& saved) {
    return std::make_unique<TestObject>(std::make_unique<TestDescription>(saved));
  }
};

TEST_F(RuntimeObjectTest, GuidOfTheRuntimeCopy) {
  struct Case {
    const char* what;
    GUID guid;
    uint8_t keep;
    bool keeps;
  };
  const Case cases[] = {
      {"zero GUID gets a fresh one", GUID{}, 1, false},
      {"non-zero GUID with keep-GUID stays", kGuid, 1, true},
      {"keep-GUID clear gets a fresh one", kGuid, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TestDescription saved;
    saved.guid = c.guid;
    saved.keepGuid = c.keep;
    auto object = Make(saved);
    const GUID got = object->Description()->guid;
    EXPECT_FALSE(got.IsNull());
    EXPECT_EQ(got == c.guid, c.keeps);
    EXPECT_EQ(saved.guid, c.guid);  // the saved description keeps its own
    EXPECT_EQ(FindRuntimeObject(got), object.get());
    object.reset();
    EXPECT_EQ(FindRuntimeObject(got), nullptr);
  }
}

// Two live objects with one GUID: the later owns the entry, and destroying the earlier one
// leaves that entry alone.
TEST_F(RuntimeObjectTest, MapEntryBelongsToTheObjectThatNamesIt) {
  TestDescription saved;
  saved.guid = kGuid;
  auto first = Make(saved);
  auto second = Make(saved);
  EXPECT_EQ(FindRuntimeObject(kGuid), second.get());
  first.reset();
  EXPECT_EQ(FindRuntimeObject(kGuid), second.get());
  second.reset();
  EXPECT_EQ(FindRuntimeObject(kGuid), nullptr);

  // The entry is left under the GUID the object entered with, even if the GUID changes later.
  auto object = Make(saved);
  object->Description()->guid = GUID{};
  object.reset();
  EXPECT_EQ(FindRuntimeObject(kGuid), nullptr);
}

TEST_F(RuntimeObjectTest, MapOrdersGuidsByTheirStoredBytes) {
  GUID low, high;
  low.Data1 = 0x01000000;   // stored 00 00 00 01
  high.Data1 = 0x00000001;  // stored 01 00 00 00
  EXPECT_TRUE(GuidByteOrder{}(low, high));
  EXPECT_FALSE(GuidByteOrder{}(high, low));
  EXPECT_FALSE(GuidByteOrder{}(low, low));
}

TEST_F(RuntimeObjectTest, WithoutADescription) {
  const size_t before = GetRuntimeObjectMap()->size();
  struct Bare : DS_ABObj {
    Bare() : DS_ABObj(nullptr) {}
    void Update(float t) override { last = t; }
    float last = -1.0f;
  } bare;
  EXPECT_EQ(GetRuntimeObjectMap()->size(), before);
  EXPECT_EQ(bare.GetSmartTiming(), nullptr);
  EXPECT_FALSE(bare.TestDataFlag(1));
  bare.AdvanceTime(2.5f);
  EXPECT_EQ(bare.last, 2.5f);
  bare.Restart();
  bare.OnSlideRestart();
  bare.BindTiming();
  EXPECT_EQ(bare.HoverTest(1, 1), 0);
}

// Local time follows the slide time, scaled by the timeline value in time mode 2 unless the
// timing's flag 0x20 is set.
TEST_F(RuntimeObjectTest, AdvanceTimeScalesByTheTimelineValue) {
  struct Case {
    const char* what;
    int timeMode;
    uint32_t flags;
    float expectLocal;
  };
  const Case cases[] = {
      {"mode 0 is unscaled", 0, 0, 0.4f},
      {"mode 2 at value 0.5 advances half", 2, 0, 0.2f},
      {"flag 0x20 leaves it unscaled", 2, 0x20, 0.4f},
      {"mode 1 is unscaled", 1, 0, 0.4f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TestDescription saved;
    saved.timing.timeMode.SetValue(c.timeMode);
    saved.timing.flags = c.flags;
    FixedTimeline& fixed = InstallFixed(saved.timing, 0.5f);
    auto object = Make(saved);
    object->AdvanceTime(0.2f);
    object->AdvanceTime(0.4f);
    EXPECT_EQ(fixed.steps, 2);
    ZKW_SmartTiming* timing = object->GetSmartTiming();
    EXPECT_FLOAT_EQ(timing->lastTime, 0.4f);
    EXPECT_FLOAT_EQ(timing->localTime, c.expectLocal);
    ASSERT_EQ(object->updates.size(), 2u);
    EXPECT_FLOAT_EQ(object->updates[1], c.expectLocal);
  }
}

TEST_F(RuntimeObjectTest, RestartAndSlideRestart) {
  for (int restartFlag : {0, 1}) {
    SCOPED_TRACE(restartFlag);
    TestDescription saved;
    saved.restartFlag.SetValue(restartFlag);
    FixedTimeline& fixed = InstallFixed(saved.timing, 1.0f);
    auto object = Make(saved);
    object->AdvanceTime(0.2f);

    // The slide restarts: only with the flag set; the clock stays.
    object->OnSlideRestart();
    EXPECT_EQ(fixed.resets, restartFlag);
    EXPECT_EQ(object->Desc()->restarts, restartFlag);
    EXPECT_FLOAT_EQ(object->GetSmartTiming()->localTime, 0.2f);
    EXPECT_FLOAT_EQ(object->GetSmartTiming()->lastTime, 0.2f);

    // Restart always: clock to 0 before the description restarts.
    object->Restart();
    EXPECT_EQ(fixed.resets, restartFlag + 1);
    EXPECT_EQ(object->Desc()->restarts, restartFlag + 1);
    EXPECT_EQ(object->Desc()->localTimeAtRestart, 0.0f);
    EXPECT_EQ(object->GetSmartTiming()->lastTime, 0.0f);
  }
}

TEST_F(RuntimeObjectTest, ForwardsToItsDescription) {
  TestDescription saved;
  saved.kind = DS_ABObj_Constructor::kSoundKind;
  FixedTimeline& fixed = InstallFixed(saved.timing, 1.0f);
  auto object = Make(saved);
  object->BindTiming();
  EXPECT_EQ(fixed.binds, 1);
  object->ForwardLostDevice();
  EXPECT_EQ(object->Desc()->lostDevices, 1);
  EXPECT_EQ(object->HoverTest(3, 4), 7);
  object->Click(5, 6);
  EXPECT_EQ(object->Desc()->clicks, (std::vector<std::pair<int, int>>{{5, 6}}));
  EXPECT_EQ(object->GetObjectKind(), DS_ABObj_Constructor::kSoundKind);
  std::vector<ScreenRect> rects;
  EXPECT_TRUE(object->AppendScreenRects(rects));
  EXPECT_EQ(rects.size(), 1u);
  EXPECT_TRUE(object->IsActive());
  object->SetActive(false);
  EXPECT_FALSE(object->IsActive());
  EXPECT_EQ(object->NeedsPictureBelow(), 0);
  EXPECT_FALSE(object->ExpandForRender(nullptr));
  EXPECT_EQ(object->GetMemberCount(), 0);
}

// An archive that opens the preset file it is asked for.
class PresetArchive : public DS_IOF_Archive {
 public:
  PresetArchive() : DS_IOF_Archive(std::make_unique<DS_IOF_W>()) {}
  int BeginFile(zkw_string folder, zkw_string fileName) override {
    this->folder = std::move(folder);
    this->fileName = std::move(fileName);
    return 1;
  }
  const std::vector<uint8_t>& Bytes() { return static_cast<DS_IOF_W&>(io()).Bytes(); }
  zkw_string folder, fileName;
};

TEST_F(RuntimeObjectTest, ExportPreset) {
  TestDescription saved;
  saved.guid = kGuid;
  auto object = Make(saved);

  // The player's archives open no file: nothing is written.
  auto writer = std::make_unique<DS_IOF_W>();
  DS_IOF_W& w = *writer;
  DS_IOF_Archive playerArchive(std::move(writer));
  EXPECT_EQ(object->ExportPreset(playerArchive, u"dir", u"lamp"), 0);
  EXPECT_TRUE(w.Bytes().empty());

  // An archive that opens it gets the preset header and the description's record (there is no
  // current document to follow it here).
  PresetArchive archive;
  EXPECT_EQ(object->ExportPreset(archive, u"dir", u"lamp"), 1);
  EXPECT_EQ(archive.folder, u"dir");
  EXPECT_EQ(archive.fileName, u"lamp.zmo_obj");
  auto expected = WrittenBytes([](DS_IOF_Archive& ar) {
    ar.io().WriteWideString(u"ZMO_OBJ");
    ar.io().WriteDword(1);
  });
  Append(expected, SavedBytes(*object->Description()));
  EXPECT_EQ(archive.Bytes(), expected);
}

}  // namespace
