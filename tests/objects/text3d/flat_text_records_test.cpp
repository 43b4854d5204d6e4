// The flat textured text's record through the writing stream, and its run-time copy.
#include <gtest/gtest.h>

#include "core/param/recording_control.h"
#include "core/timing/random_timeline.h"
#include "objects/text3d/text3d_fixture.h"
#include "objects/text3d/zkw_2d_tex.h"

namespace text3d_test {
namespace {

using FlatTextRecordsTest = Text3dTest;

// A flat text whose every stored field differs from its default.
std::unique_ptr<ZKW_2DTex> Filled() {
  auto t = std::make_unique<ZKW_2DTex>();
  t->effectLink = DS_HLSLEffectFile(u"glimres.dll", 1902);
  t->quad.SetRect(40, 20, D3DXVECTOR3(30, 40, 1));
  t->layer1.enabled.SetValue(1);
  t->layer1.color.SetValue(0x112233);
  t->layer2.amount.SetValue(7);
  t->shadow.enabled.SetValue(1);
  t->shadow.color.alpha.SetValue(50);
  t->shadow.amount.SetValue(4);
  t->spareAmount.SetValue(9);
  t->shadowDirection.SetValue(90);
  t->pictures.SetValue(
      DS_NamedFileLinkData({DS_ImageFileLink(u"text.png", 1), DS_ImageFileLink(u"glow.png", 2)}));
  t->fillWithPicture.SetValue(1);
  t->fillPicture.SetValue(DS_NamedFileLinkData({DS_ImageFileLink(u"fill.gif", 3)}));
  t->fillScale.SetValue(250);
  t->fillSpeed.SetValue(30);
  t->colour1.SetValue(0x445566);
  t->colour2.alpha.SetValue(20);
  t->amount1.SetValue(11);
  t->amount2.SetValue(12);
  t->fadeInKind.SetValue(6);
  t->fadeOutKind.SetValue(3);
  static_cast<ZKW_RandomTimeLine&>(*t->ownTimeline).params.shownMax.SetValue(777);
  t->text.text.SetValue(u"Title");
  t->text.font.face.SetValue(u"Georgia");
  t->text.font.color.SetValue(0x0000FF);
  t->text.value1.SetValue(1);
  t->text.value2.SetValue(2);
  t->depth.SetValue(80);
  t->name = u"flat";
  return t;
}

std::vector<uint8_t> Record(const DS_IOF_Item& item) {
  return Written([&](DS_IOF_Archive& a) { item.Save(a); });
}

TEST_F(FlatTextRecordsTest, ReadsBackWhatItWrites) {
  const auto written = Record(*Filled());
  bool failed = true;
  uint64_t remaining = 1;
  auto read = ReadText<ZKW_2DTex>(written, &failed, &remaining);
  ASSERT_NE(read, nullptr);
  EXPECT_FALSE(failed);
  EXPECT_EQ(remaining, 0u);
  EXPECT_EQ(Record(*read), written);

  EXPECT_EQ(read->effectLink.id, 1902);
  EXPECT_EQ(read->quad.corners[3].Value().x, 50.0f);
  EXPECT_EQ(read->shadow.color.alpha.Scaled(), 127) << "the alpha follows the transparency";
  EXPECT_EQ(read->colour2.alpha.Scaled(), 204);
  EXPECT_NEAR(read->shadowDirection.Direction().y, 1.0f, 1e-6f) << "the vector follows the angle";
  EXPECT_EQ(read->pictures.Value().links.size(), 2u);
  EXPECT_FLOAT_EQ(read->fillScale.Scaled(), 2.5f);
  EXPECT_FLOAT_EQ(read->fillSpeed.Scaled(), 0.3f);
  EXPECT_EQ(read->fadeInKind.Value(), 6);
  EXPECT_EQ(static_cast<ZKW_RandomTimeLine&>(*read->ownTimeline).params.shownMax.Value(), 777u);
  EXPECT_EQ(read->text.text.Value(), u"Title");
  EXPECT_EQ(read->text.value2.Value(), 2);
  EXPECT_EQ(read->name, u"flat");
}

TEST_F(FlatTextRecordsTest, TransparenciesAreToldOnlyWhenTheyChange) {
  const auto written = Record(*Filled());  // colour 1 at transparency 0, colour 2 at 20
  ZKW_2DTex target;
  target.colour2.alpha.SetValue(20);
  RecordingControl same("same", nullptr, &target.colour1.alpha);
  RecordingControl changed("changed", nullptr, &target.colour2.alpha);
  RecordingControl shadow("shadow", nullptr, &target.shadow.color.alpha);
  ReadArchive source(written);
  EXPECT_EQ(ReadBaseHeader(source.archive()), ZKW_2DTex::kVersion);
  target.ReadBody(source.archive(), ZKW_2DTex::kVersion);
  EXPECT_FALSE(source.archive().Failed());
  EXPECT_EQ(same.calls, 0) << "0 read over 0";
  EXPECT_EQ(changed.calls, 0) << "20 read over 20";
  EXPECT_EQ(shadow.calls, 1) << "50 read over 0";
}

TEST_F(FlatTextRecordsTest, ATruncatedRecordFailsTheStream) {
  const auto written = Record(*Filled());
  for (size_t cut : {size_t{40}, written.size() / 2, written.size() - 3}) {
    SCOPED_TRACE(cut);
    bool failed = false;
    auto read = ReadText<ZKW_2DTex>({written.begin(), written.begin() + ptrdiff_t(cut)}, &failed);
    EXPECT_TRUE(failed);
    ASSERT_NE(read, nullptr);
    EXPECT_NE(read->ownTimeline.Get(), nullptr) << "a timeline that cannot be read leaves its own";
  }
}

TEST_F(FlatTextRecordsTest, TheRunTimeObjectDrawsAClone) {
  auto text = Filled();
  text->effectLink = DS_HLSLEffectFile();
  DS_SafePtr<ZKW_RenderObj> object = MakeObject(*text);
  ZKW_2DTex& drawn = DrawnAs<ZKW_2DTex>(object);
  EXPECT_NE(&drawn, text.get());
  text->fadeInKind.SetValue(1);
  text->text.text.SetValue(u"Changed");
  EXPECT_EQ(drawn.fadeInKind.Value(), 6);
  EXPECT_EQ(drawn.text.text.Value(), u"Title");
  EXPECT_EQ(drawn.ownTimeline.Get(), text->ownTimeline.Get()) << "the timeline is shared";
}

TEST_F(FlatTextRecordsTest, PreparingKeepsTheOwnTimelineAsTheRandomOne) {
  auto text = Filled();
  text->timing.SetValue(1);
  ZKW_Timing* randomBefore = text->timing.Current();
  ASSERT_NE(randomBefore, text->ownTimeline.Get());
  DS_SafePtr<ZKW_RenderObj> object = MakeObject(*text);
  ZKW_2DTex& drawn = DrawnAs<ZKW_2DTex>(object);
  EXPECT_EQ(drawn.timing.Current(), drawn.ownTimeline.Get()) << "kind 1 is current";
  EXPECT_EQ(drawn.timing.Kept(1).Get(), drawn.ownTimeline.Get());

  auto continuous = Filled();
  ZKW_Timing* current = continuous->timing.Current();
  DS_SafePtr<ZKW_RenderObj> other = MakeObject(*continuous);
  ZKW_2DTex& kept = DrawnAs<ZKW_2DTex>(other);
  EXPECT_EQ(kept.timing.Current(), current) << "kind 0 stays current";
  EXPECT_EQ(kept.timing.Kept(1).Get(), kept.ownTimeline.Get());
}

}  // namespace
}  // namespace text3d_test
