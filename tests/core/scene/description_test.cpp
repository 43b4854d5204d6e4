#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "core/param/recording_control.h"
#include "core/scene/runtime_object_map.h"
#include "core/scene/scene_test_kinds.h"
#include "core/timing/continues_timeline.h"
#include "core/timing/ds_timeline_control.h"
#include "core/timing/manual_timeline.h"
#include "core/timing/random_timeline.h"
#include "core/timing/timing_test_support.h"

namespace {

const GUID kGuid = GUID::Parse(u"{12345678-9ABC-DEF0-1234-56789ABCDEF0}");

class DescriptionTest : public ::testing::Test {
 protected:
  void SetUp() override { RegisterTimelineClasses(); }
};

// Reads a "DS_ABObj_Constructor" record (header included) into `d`; answers whether every byte
// was consumed.
bool ReadDescription(const std::vector<uint8_t>& bytes, TestDescription& d) {
  ArchiveSource src(SourceMode::Memory, bytes);
  d.DS_ABObj_Constructor::ReadBody(src.archive(), ReadBaseHeader(src.archive()));
  return !src.archive().Failed() && src.buffer().Remaining() == 0;
}

TEST_F(DescriptionTest, Defaults) {
  TestDescription d;
  EXPECT_EQ(d.depth.Value(), 100u);
  EXPECT_TRUE(d.name.empty());
  EXPECT_EQ(d.restartFlag.Value(), 1);
  EXPECT_EQ(d.keepGuid, 1);
  EXPECT_TRUE(d.guid.IsNull());
  EXPECT_NE(dynamic_cast<ZKW_ContinuesTimeLine*>(d.timing.Current()), nullptr);
  EXPECT_EQ(std::u16string_view(d.GetPresetFolder()), u"\\Animations Presets\\");
  PictureRef picture{nullptr, 5, true, 0.25f};
  EXPECT_EQ(d.GetPicture(&picture), &picture);
  EXPECT_EQ(picture.link, nullptr);
  EXPECT_EQ(picture.value, 0);
  EXPECT_FALSE(picture.flag);
  EXPECT_EQ(picture.scale, 1.0f);
  EXPECT_TRUE(d.KindQuery());
  EXPECT_FALSE(d.TestFlag(1));
}

TEST_F(DescriptionTest, CurrentRecordLayoutAndReadBack) {
  TestDescription d;
  d.name = u"Lamp";
  d.depth.SetValue(80);
  d.guid = kGuid;
  d.restartFlag.SetValue(0);
  d.timing.SetValue(2);
  d.timing.timeMode.SetValue(2);
  const auto bytes = SavedBytes(d);
  const auto expected = WrittenBytes([&](DS_IOF_Archive& ar) {
    WriteRecordHeader(ar, u"DS_ABObj_Constructor", 4);
    ar.io().WriteWideString(u"Lamp");
    ar.io().WriteUInt32(80);
    WriteRecordHeader(ar, u"ZKW_RenderObjData", 2);
    ar.WriteGuid(kGuid);
    d.timing.Save(ar);
    ar.io().WriteInt32(0);
  });
  EXPECT_EQ(bytes, expected);

  TestDescription back;
  EXPECT_TRUE(ReadDescription(bytes, back));
  EXPECT_EQ(back.name, u"Lamp");
  EXPECT_EQ(back.depth.Value(), 80u);
  EXPECT_EQ(back.guid, kGuid);
  EXPECT_EQ(back.restartFlag.Value(), 0);
  EXPECT_NE(dynamic_cast<ZKW_ManualTimeLine*>(back.timing.Current()), nullptr);
  EXPECT_EQ(SavedBytes(back), bytes);
}

// The stored forms of every version.
TEST_F(DescriptionTest, OlderVersions) {
  DS_TimeLineControl legacy;
  legacy.kind.SetValue(1);
  legacy.hiddenMin.SetValue(12);
  legacy.fadeIn.SetValue(70);
  TestDescription current;
  current.depth.SetValue(40);
  current.timing.SetValue(2);

  struct Case {
    const char* what;
    uint32_t version;
    std::function<void(DS_IOF_Archive&)> body;  // after name (and depth)
    bool hasDepth;
    unsigned depth;
    int kind;
    int restartFlag;
  };
  const Case cases[] = {
      {"v0: name only", 0, [](DS_IOF_Archive&) {}, false, 100, 0, 1},
      {"v1: name only", 1, [](DS_IOF_Archive&) {}, false, 100, 0, 1},
      {"v2: legacy timing right after the name", 2, [&](DS_IOF_Archive& ar) { legacy.Save(ar); },
       false, 100, 1, 1},
      {"v3: depth, then legacy timing", 3, [&](DS_IOF_Archive& ar) { legacy.Save(ar); }, true, 40,
       1, 1},
      {"v4 with a version 1 object data record: restart flag stays 1", 4,
       [&](DS_IOF_Archive& ar) {
         WriteRecordHeader(ar, u"ZKW_RenderObjData", 1);
         ar.WriteGuid(kGuid);
         current.timing.Save(ar);
       },
       true, 40, 2, 1},
      {"v7 reads as v4", 7,
       [&](DS_IOF_Archive& ar) {
         WriteRecordHeader(ar, u"ZKW_RenderObjData", 2);
         ar.WriteGuid(kGuid);
         current.timing.Save(ar);
         ar.io().WriteInt32(0);
       },
       true, 40, 2, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto bytes = WrittenBytes([&](DS_IOF_Archive& ar) {
      WriteRecordHeader(ar, u"DS_ABObj_Constructor", c.version);
      ar.io().WriteWideString(u"Old");
      if (c.hasDepth) ar.io().WriteUInt32(40);
      c.body(ar);
    });
    TestDescription d;
    std::vector<std::string> log;
    RecordingControl watcher("kind", &log, &d.timing);
    EXPECT_TRUE(ReadDescription(bytes, d));
    EXPECT_EQ(d.name, u"Old");
    EXPECT_EQ(d.depth.Value(), c.depth);
    EXPECT_EQ(d.timing.Kind(), c.kind);
    EXPECT_EQ(d.restartFlag.Value(), c.restartFlag);
    ASSERT_NE(d.timing.Current(), nullptr);
    if (c.version < 2) EXPECT_EQ(log.size(), 1u);  // the kind's observers hear of kind 0
    if (c.kind == 1) {
      auto* random = dynamic_cast<ZKW_RandomTimeLine*>(d.timing.Current());
      ASSERT_NE(random, nullptr);
      EXPECT_EQ(random->params.hiddenMin.Value(), 12u);
      EXPECT_FLOAT_EQ(random->params.fadeIn.Scaled(), 0.7f);
    }
  }
}

// Records assembled byte by byte from the stored forms, independent of the writer: what a
// project made by the editor holds must read field for field.
class GoldenBytes {
 public:
  GoldenBytes& Text(std::u16string_view text) {
    Append(bytes, Bytes({0xFF, 0xFE, 0xFF, static_cast<int>(text.size())}));
    AppendUnits(bytes, text);
    return *this;
  }
  GoldenBytes& U32(uint32_t v) {
    for (int i = 0; i < 4; ++i)
      bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
    return *this;
  }
  GoldenBytes& F32(float v) {
    uint32_t bits = 0;
    std::memcpy(&bits, &v, 4);
    return U32(bits);
  }
  std::vector<uint8_t> bytes;
};

TEST_F(DescriptionTest, GoldenVersion4WithARandomTimeline) {
  GoldenBytes g;
  g.Text(u"DS_ABObj_Constructor").U32(4).Text(u"Lamp").U32(80);
  g.Text(u"ZKW_RenderObjData").U32(2).Text(u"{12345678-9ABC-DEF0-1234-56789ABCDEF0}");
  g.Text(u"ZKW_SmartTiming").U32(1).U32(1).U32(2).U32(0x21);
  g.Text(u"ZKW_RandomTimeLine").U32(1).U32(10).U32(20).U32(30).U32(40).U32(5).U32(6);
  g.Text(u"ZKW_Timing").U32(1);
  g.U32(0);  // restart flag

  TestDescription d;
  ASSERT_TRUE(ReadDescription(g.bytes, d));
  EXPECT_EQ(d.name, u"Lamp");
  EXPECT_EQ(d.depth.Value(), 80u);
  EXPECT_EQ(d.guid, kGuid);
  EXPECT_EQ(d.timing.Kind(), 1);
  EXPECT_EQ(d.timing.timeMode.Value(), 2);
  EXPECT_EQ(d.timing.flags, 0x21u);
  EXPECT_EQ(d.restartFlag.Value(), 0);
  auto* random = dynamic_cast<ZKW_RandomTimeLine*>(d.timing.Current());
  ASSERT_NE(random, nullptr);
  const RandomTimeLineParams& p = random->params;
  EXPECT_EQ(std::vector<unsigned>({p.hiddenMin.Value(), p.hiddenMax.Value(), p.shownMin.Value(),
                                   p.shownMax.Value(), p.fadeIn.Value(), p.fadeOut.Value()}),
            std::vector<unsigned>({10, 20, 30, 40, 5, 6}));
  EXPECT_FLOAT_EQ(p.fadeOut.Scaled(), 0.06f);
  EXPECT_EQ(SavedBytes(d), g.bytes);
}

TEST_F(DescriptionTest, GoldenVersion3WithALegacyManualRecordOfVersion1) {
  GoldenBytes g;
  g.Text(u"DS_ABObj_Constructor").U32(3).Text(u"Old").U32(40);
  g.Text(u"DS_TimeLineControl").U32(1);
  g.U32(2).U32(2);                                // kind manual, time mode 2
  g.U32(1).U32(2).U32(3).U32(4).U32(25).U32(75);  // limits and fades
  g.U32(2).F32(1).F32(3).F32(1.5f).F32(2.5f);     // two keys...
  g.F32(2).F32(4).F32(2).F32(4);                  // ...the second overlapping
  // Version 1 stores no period.

  TestDescription d;
  ASSERT_TRUE(ReadDescription(g.bytes, d));
  EXPECT_EQ(d.depth.Value(), 40u);
  EXPECT_EQ(d.timing.Kind(), 2);
  EXPECT_EQ(d.timing.timeMode.Value(), 2);
  auto* manual = dynamic_cast<ZKW_ManualTimeLine*>(d.timing.Current());
  ASSERT_NE(manual, nullptr);
  EXPECT_EQ(manual->period.Value(), 1000u);
  EXPECT_EQ(manual->keys, (TimeKeySet{{1, 3, 1.5f, 2.5f}}));
}

TEST_F(DescriptionTest, CopyKeepsEverythingButTheGroupLink) {
  TestDescription d;
  d.name = u"n";
  d.depth.SetValue(55);
  d.tag = 6;
  d.guid = kGuid;
  d.keepGuid = 0;
  d.restartFlag.SetValue(0);
  d.groupLink = kGuid;
  d.timing.SetValue(1);
  TestDescription copy(d);
  EXPECT_EQ(copy.name, u"n");
  EXPECT_EQ(copy.depth.Value(), 55u);
  EXPECT_EQ(copy.tag, 6);
  EXPECT_EQ(copy.guid, kGuid);
  EXPECT_EQ(copy.keepGuid, 0);
  EXPECT_EQ(copy.restartFlag.Value(), 0);
  EXPECT_TRUE(copy.groupLink.IsNull());
  EXPECT_EQ(copy.timing.Current(), d.timing.Current());  // timelines are shared
}

TEST_F(DescriptionTest, DescriptionsSharingAGuidShareOneRuntimeObject) {
  TestDescription a, b, c, zero1, zero2;
  a.guid = kGuid;
  b.guid = kGuid;
  c.guid = GUID::Parse(u"{00000000-0000-0000-0000-000000000003}");
  RuntimeObjectList objects;
  RuntimeObjectsByGuid made;
  for (TestDescription* d : {&a, &zero1, &b, &c, &zero2})
    d->GetOrCreateRuntimeObject(objects, made);
  ASSERT_EQ(objects.size(), 5u);
  EXPECT_EQ(objects[0], objects[2]);
  EXPECT_EQ(objects[0].Count(), 3);   // the list twice and the map once
  EXPECT_NE(objects[1], objects[4]);  // zero GUIDs never share
  EXPECT_NE(objects[0], objects[3]);
  EXPECT_EQ(made.size(), 3u);
  EXPECT_EQ(made[GUID{}], objects[4]);  // the later zero-GUID object replaced the first
}

TEST_F(DescriptionTest, ScreenRectWithoutARenderContextIsEmpty) {
  TestDescription d;
  std::vector<ScreenRect> rects;
  EXPECT_TRUE(d.AppendScreenRects(rects));
  EXPECT_EQ(rects, (std::vector<ScreenRect>{{0, 0, 0, 0}}));
}

// A group description answers the node it holds; plain descriptions pass the link on.
class GroupDescription : public TestDescription {
 public:
  ZKW_GroupNode* ResolveGroupLink() override { return node; }
  std::unique_ptr<ZKW_RenderObj> CreateRuntimeObject() override {
    return std::make_unique<TestObject>(std::make_unique<GroupDescription>(*this));
  }
  ZKW_GroupNode* node = nullptr;
};

TEST_F(DescriptionTest, ResolveGroupLink) {
  int nodeStandIn = 0;
  GroupDescription group;
  group.guid = kGuid;
  group.node = reinterpret_cast<ZKW_GroupNode*>(&nodeStandIn);
  auto groupObject = group.CreateRuntimeObject();

  TestDescription member;
  EXPECT_EQ(member.ResolveGroupLink(), nullptr);  // no link
  member.groupLink = GUID::Parse(u"{00000000-0000-0000-0000-0000000000FF}");
  EXPECT_EQ(member.ResolveGroupLink(), nullptr);  // no such object
  member.groupLink = kGuid;
  EXPECT_EQ(member.ResolveGroupLink(), group.node);

  // A plain object in between passes the link on; one without a link ends the chain.
  TestDescription middle;
  middle.guid = GUID::Parse(u"{00000000-0000-0000-0000-0000000000AA}");
  auto middleObject = middle.CreateRuntimeObject();
  auto* middleDescription = static_cast<TestObject*>(middleObject.get())->Description();
  member.groupLink = middle.guid;
  EXPECT_EQ(member.ResolveGroupLink(), nullptr);
  middleDescription->groupLink = kGuid;
  EXPECT_EQ(member.ResolveGroupLink(), group.node);

  // A link that leads back to itself (objects sharing GUIDs) ends instead of recursing.
  middleDescription->groupLink = middle.guid;
  EXPECT_EQ(member.ResolveGroupLink(), nullptr);
}

}  // namespace
