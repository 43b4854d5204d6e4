// The records of the sprite text kinds: what Save writes reads back equal, older versions read
// as their layout says (the legacy durations become a random timeline), and a link or scrolling
// text holds a whole static text record.
#include "core/archive/ds_iof_w.h"
#include "core/timing/random_timeline.h"
#include "objects/text3d/ds_scrolling_text_constructor.h"
#include "objects/text3d/ds_text_link_constructor.h"
#include "platform/gfx/image/dds_reader.h"
#include "text_object_fixture.h"

namespace text_object_test {
namespace {

using SpriteTextRecords = TextObjectTest;

void Fill(DS_StaticTextConstructor& text) {
  text.textSetting1.SetValue(3);
  text.textSetting2.SetValue(-4);
  text.text.SetValue(u"Menu");
  text.font.SetValue(FontData{40, 400, 1, u"Georgia"});
  text.pictureName = u"menu title";
  text.pictureKeep = 0;
  text.position.SetValue(D3DXVECTOR3(10, 20, 0.5f));
  text.width.SetValue(120);
  text.height.SetValue(30);
  text.colour.SetValue(0x00FF00);
}

void ExpectSameText(const DS_StaticTextConstructor& a, const DS_StaticTextConstructor& b) {
  EXPECT_EQ(a.textSetting1.Value(), b.textSetting1.Value());
  EXPECT_EQ(a.textSetting2.Value(), b.textSetting2.Value());
  EXPECT_EQ(a.text.Value(), b.text.Value());
  EXPECT_EQ(a.font.Value(), b.font.Value());
  EXPECT_EQ(a.pictureGuid, b.pictureGuid);
  EXPECT_EQ(a.pictureName, b.pictureName);
  EXPECT_EQ(a.pictureKeep, b.pictureKeep);
  EXPECT_EQ(a.position.Value(), b.position.Value());
  EXPECT_EQ(a.width.Value(), b.width.Value());
  EXPECT_EQ(a.height.Value(), b.height.Value());
  EXPECT_EQ(a.colour.Value(), b.colour.Value());
}

// The static text's own fields of a version below 3, then its base record.
std::vector<uint8_t> OlderStaticText(uint32_t version, const std::vector<uint32_t>& durations,
                                     const DS_StaticTextConstructor& base) {
  auto writer = std::make_unique<DS_IOF_W>();
  DS_IOF_W& w = *writer;
  DS_IOF_Archive archive(std::move(writer));
  WriteRecordHeader(archive, u"DS_StaticTextConstructor", version);
  w.WriteInt32(7);
  w.WriteInt32(8);
  w.WriteWideString(u"old");
  WriteFontData(archive, FontData{20, 700, 0, u"Arial"});
  for (uint32_t value : durations)
    w.WriteUInt32(value);
  base.DS_StatBaseFXCtrl::Save(archive);
  return w.TakeBytes();
}

TEST_F(SpriteTextRecords, DefaultsAndTheCurrentRecord) {
  DS_StaticTextConstructor fresh;
  EXPECT_EQ(fresh.colour.Value(), 0x0000FFu);
  EXPECT_EQ(fresh.timing.timeMode.Value(), 1);
  EXPECT_EQ(fresh.timing.flags & 1u, 1u);
  EXPECT_EQ(fresh.font.Value(), (FontData{32, 700, 0, u"Arial"}));
  EXPECT_NE(fresh.pictureGuid, GUID()) << "a fresh picture GUID";
  EXPECT_NE(DS_StaticTextConstructor().pictureGuid, fresh.pictureGuid);

  DS_StaticTextConstructor text;
  Fill(text);
  bool failed = true;
  auto read = ReadAs<DS_StaticTextConstructor>(RecordOf(text), &failed);
  ASSERT_NE(read, nullptr);
  EXPECT_FALSE(failed);
  ExpectSameText(*read, text);
  // A clone shows the same stored picture.
  auto clone = text.Clone();
  ExpectSameText(dynamic_cast<DS_StaticTextConstructor&>(*clone), text);
}

// Version 1 durations (fade-in, fade-out, shown, hidden in ms) become a random timeline of
// centiseconds; a shown duration of 0 keeps the timing read with the base.
TEST_F(SpriteTextRecords, VersionOneDurationsBecomeARandomTimeline) {
  DS_StaticTextConstructor base;
  base.width.SetValue(50);
  {
    auto read = ReadAs<DS_StaticTextConstructor>(OlderStaticText(1, {250, 500, 1500, 2000}, base));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->text.Value(), u"old");
    EXPECT_EQ(read->width.Value(), 50u);
    auto* random = dynamic_cast<ZKW_RandomTimeLine*>(read->timing.Current());
    ASSERT_NE(random, nullptr);
    const RandomTimeLineParams& p = random->params;
    EXPECT_EQ(p.shownMin.Value(), 150u);
    EXPECT_EQ(p.shownMax.Value(), 150u);
    EXPECT_EQ(p.hiddenMin.Value(), 200u);
    EXPECT_EQ(p.hiddenMax.Value(), 200u);
    EXPECT_EQ(p.fadeIn.Value(), 25u);
    EXPECT_EQ(p.fadeOut.Value(), 50u);
  }
  {
    auto read = ReadAs<DS_StaticTextConstructor>(OlderStaticText(1, {250, 500, 0, 2000}, base));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->timing.Kind(), 0);
    EXPECT_EQ(dynamic_cast<ZKW_RandomTimeLine*>(read->timing.Current()), nullptr);
  }
  {
    // Durations near 2^32 ms stay whole centiseconds.
    auto read = ReadAs<DS_StaticTextConstructor>(
        OlderStaticText(1, {0xFFFFFFFFu, 0, 0xFFFFFFF0u, 0xFFFFFFFFu}, base));
    ASSERT_NE(read, nullptr);
    auto* random = dynamic_cast<ZKW_RandomTimeLine*>(read->timing.Current());
    ASSERT_NE(random, nullptr);
    EXPECT_EQ(random->params.shownMin.Value(), 0xFFFFFFF0u / 10);
  }
}

// A version 2 record has no picture GUID: the constructor's stays, and nothing is stored for it.
TEST_F(SpriteTextRecords, VersionTwoKeepsTheConstructorsGuid) {
  DS_StaticTextConstructor base;
  base.width.SetValue(50);
  base.height.SetValue(20);
  bool failed = true;
  auto read = ReadAs<DS_StaticTextConstructor>(OlderStaticText(2, {}, base), &failed);
  ASSERT_NE(read, nullptr);
  EXPECT_FALSE(failed);
  EXPECT_EQ(read->height.Value(), 20u);
  EXPECT_NE(read->pictureGuid, GUID());
  auto made = MakeSpriteText(*read);
  EXPECT_EQ(made.text->pictureGuid, read->pictureGuid);
  EXPECT_FALSE(made.text->textPicture) << "no picture stored under it";
}

TEST_F(SpriteTextRecords, ALinkHoldsAWholeStaticTextRecord) {
  DS_TextLinkConstructor link;
  Fill(link);
  link.targetSlide.SetValue(5);
  const std::vector<uint8_t> bytes = RecordOf(link);
  // Its header and target, then the static text's header.
  ReadArchive source(bytes);
  zkw_string name;
  uint32_t version = 0, target = 0;
  source.archive().io().ReadWideString(name);
  source.archive().io().ReadDword(version);
  source.archive().io().ReadUInt32(target);
  EXPECT_EQ(name, u"DS_TextLinkConstructor");
  EXPECT_EQ(version, 1u);
  EXPECT_EQ(target, 5u);
  source.archive().io().ReadWideString(name);
  source.archive().io().ReadDword(version);
  EXPECT_EQ(name, u"DS_StaticTextConstructor");
  EXPECT_EQ(version, 3u);

  auto read = ReadAs<DS_TextLinkConstructor>(bytes);
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->targetSlide.Value(), 5u);
  ExpectSameText(*read, link);
}

TEST_F(SpriteTextRecords, ScrollingTextVersionsOneAndTwo) {
  DS_ScrollingTextConstructor text;
  Fill(text);
  text.scrollDivisor.SetValue(7);
  text.direction.SetValue(3);
  text.pictureHeight = 64.0f;
  text.pictureWidth = 256.0f;
  auto read = ReadAs<DS_ScrollingTextConstructor>(RecordOf(text));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->scrollDivisor.Value(), 7u);
  EXPECT_EQ(read->direction.Value(), 3);
  EXPECT_EQ(read->pictureHeight, 64.0f);
  EXPECT_EQ(read->pictureWidth, 256.0f);
  ExpectSameText(*read, text);

  // Version 1 has no picture size.
  auto writer = std::make_unique<DS_IOF_W>();
  DS_IOF_W& w = *writer;
  DS_IOF_Archive archive(std::move(writer));
  WriteRecordHeader(archive, u"DS_ScrollingTextConstructor", 1);
  w.WriteUInt32(9);
  w.WriteInt32(1);
  text.DS_StaticTextConstructor::Save(archive);
  bool failed = true;
  auto older = ReadAs<DS_ScrollingTextConstructor>(w.TakeBytes(), &failed);
  ASSERT_NE(older, nullptr);
  EXPECT_FALSE(failed);
  EXPECT_EQ(older->scrollDivisor.Value(), 9u);
  EXPECT_EQ(older->direction.Value(), 1);
  EXPECT_EQ(older->pictureHeight, 0.0f);
  EXPECT_EQ(older->pictureWidth, 0.0f);
  ExpectSameText(*older, text);
}

// Save files the picture at the object's size under its GUID, for the document written after
// the objects; a text without a picture leaves what is filed there.
TEST_F(SpriteTextRecords, SaveFilesThePictureAtTheObjectsSize) {
  DS_StaticTextConstructor text;
  text.width.SetValue(8);
  text.height.SetValue(4);
  const FileDataRecord stored{u"", {1, 2, 3}};
  Doc().guidPictureTable[text.PictureKey()] = stored;
  RecordOf(text);
  EXPECT_EQ(Doc().guidPictureTable[text.PictureKey()], stored) << "nothing to file";

  text.textPicture = MakeTexture(2, 2, {0xFFFF0000, 0xFFFF0000, 0xFFFF0000, 0xFFFF0000});
  RecordOf(text);
  const auto picture = gfx::image::ReadDds(Doc().guidPictureTable[text.PictureKey()].bytes);
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->width, 8u);
  EXPECT_EQ(picture->height, 4u);
}

// A record cut anywhere fails the stream and reads what it holds, without a crash.
TEST_F(SpriteTextRecords, TruncatedRecordsFailTheStream) {
  DS_ScrollingTextConstructor text;
  Fill(text);
  const std::vector<uint8_t> bytes = RecordOf(text);
  for (size_t cut = 0; cut < bytes.size(); cut += 7) {
    bool failed = false;
    ReadAs<DS_ScrollingTextConstructor>(
        std::vector<uint8_t>(bytes.begin(), bytes.begin() + std::ptrdiff_t(cut)), &failed);
    EXPECT_TRUE(failed) << cut;
  }
}

}  // namespace
}  // namespace text_object_test
