// The sprite preset base: its record in every version, its colour and opacity rules, its frame
// steps and its pictures.
#include "objects/sprites/ds_base_sprite_prop.h"

#include "core/param/param_reads.h"
#include "objects/sprites/ds_sparkle_constructor.h"
#include "objects/sprites/media_float.h"
#include "platform/gfx_image/picture_bytes.h"
#include "sprite_fixture.h"

namespace sprite_test {
namespace {

class BaseSpriteProp : public SpriteTest {};

// A sparkle record whose "DS_BaseSpriteProp" part is of `version` (see WriteBaseSpriteRecord).
std::vector<uint8_t> SparkleRecord(uint32_t version, const DS_SparkleConstructor& view,
                                   const std::vector<ResourceDataRecord>& frames = {},
                                   const std::vector<float>& delays = {},
                                   uint32_t rateAfterCount = 30) {
  return Written([&](DS_IOF_Archive& archive) {
    WriteRecordHeader(archive, u"DS_SparkleConstructor", 1);
    WriteBaseSpriteRecord(archive, version, view, frames, delays, rateAfterCount);
  });
}

TEST_F(BaseSpriteProp, RecordRoundTrip) {
  DS_SparkleConstructor preset;
  preset.count.SetValue(12);
  preset.size.SetValue(30);
  preset.transparency.SetValue(25);
  preset.blendMode.SetValue(1);
  preset.colour.SetValue(0x123456);
  preset.pulseRate = 0.7f;
  preset.pulseMin = 0.2f;
  preset.pulseMax = 0.8f;
  preset.sizeFactorMin = 0.5f;
  preset.sizeFactorMax = 1.5f;
  preset.picture = DS_ImageFileLink(u"glimres.dll", 79);
  preset.secondPicture = DS_ImageFileLink(u"glimres.dll", 75);
  preset.spareCount = 9;
  preset.spareRate = 1.25f;
  preset.frameCount = 4;
  preset.frameRate = 12.0f;
  preset.frameStrip = true;
  preset.pictureSource = 2;
  preset.verticalFlip.SetValue(1);
  preset.horizontalFlip.SetValue(1);
  preset.frameLockedMotion.SetValue(1);
  preset.speed.SetValue(150);
  const std::vector<uint8_t> bytes = SavedBytes(preset);

  ReadResult read = ReadDescription(bytes);
  ASSERT_TRUE(ReadWhole(read));
  auto& back = dynamic_cast<DS_SparkleConstructor&>(*read.object);
  EXPECT_EQ(back.count.Value(), 12u);
  EXPECT_EQ(back.transparency.Scaled(), 191) << "notified, so the alpha follows";
  EXPECT_EQ(back.picture.Key(), preset.picture.Key());
  EXPECT_EQ(back.secondPicture.Key(), preset.secondPicture.Key());
  EXPECT_EQ(back.pictureSource, 2);
  EXPECT_FLOAT_EQ(back.speed.Scaled(), 1.5f) << "notified, so the factor follows";
  EXPECT_EQ(SavedBytes(back), bytes);
}

// Version 2 carries the motion rate after the count and none of the later fields.
TEST_F(BaseSpriteProp, VersionTwoOverridesTheRateAndLeavesLaterFieldsAtDefaults) {
  DS_SparkleConstructor view;
  view.motionRate.SetValue(80);
  ReadResult read = ReadDescription(SparkleRecord(2, view, {}, {}, 30));
  ASSERT_TRUE(ReadWhole(read));
  auto& back = dynamic_cast<DS_SparkleConstructor&>(*read.object);
  EXPECT_EQ(back.motionRate.Value(), 30u);
  EXPECT_EQ(back.count.Value(), 7u);
  EXPECT_EQ(back.size.Value(), 24u);
  EXPECT_EQ(back.frameCount, 4u);
  EXPECT_TRUE(back.frameStrip);
  EXPECT_EQ(back.picture.Key(), (LinkKey{u"glimres.dll", 79}));
  EXPECT_EQ(back.pictureSource, 0);
  EXPECT_EQ(back.verticalFlip.Value(), 0);
  EXPECT_EQ(back.horizontalFlip.Value(), 0);
  EXPECT_EQ(back.frameLockedMotion.Value(), 0);
  EXPECT_EQ(back.speed.Value(), 100u);
  EXPECT_FLOAT_EQ(back.speed.Scaled(), 1.0f);
}

// Version 1 embeds its frames; the first run-time object registers them with the document and
// names the picture, a second finds it named and registers nothing more.
TEST_F(BaseSpriteProp, VersionOneRegistersItsEmbeddedFramesOnce) {
  ResourceDataRecord frame;
  frame.path = u"spark.png";
  frame.bytes = gfx_image_test::EncodePicture(gfx_image_test::FileKind::Png, 4, 2, 4,
                                              gfx_image_test::Words(8, 0xFFFF0000));
  DS_SparkleConstructor view;
  ReadResult read = ReadDescription(SparkleRecord(1, view, {frame, frame}, {0.1f, 0.2f}));
  ASSERT_TRUE(ReadWhole(read));
  auto& preset = dynamic_cast<DS_SparkleConstructor&>(*read.object);
  EXPECT_EQ(preset.embeddedFrames.size(), 2u);
  EXPECT_EQ(preset.embeddedDelays, (std::vector<float>{0.1f, 0.2f}));
  EXPECT_TRUE(preset.picture.name.empty());
  EXPECT_EQ(preset.pictureSource, 0) << "version 1 ends after the delays";

  auto first = preset.CreateRuntimeObject();
  EXPECT_EQ(preset.picture.name, u"spark.png");
  EXPECT_TRUE(preset.embeddedFrames.empty());
  EXPECT_TRUE(preset.embeddedDelays.empty());
  const ImageTextureSet& set = Doc().imageTextureSets[preset.picture.Key()];
  EXPECT_EQ(set.textures.size(), 2u);
  EXPECT_EQ(set.delays, (std::vector<float>{0.1f, 0.2f}));
  const size_t sets = Doc().imageTextureSets.size();
  const LinkKey key = preset.picture.Key();

  auto second = preset.CreateRuntimeObject();
  EXPECT_EQ(preset.picture.Key(), key);
  EXPECT_EQ(Doc().imageTextureSets.size(), sets);
  // The run-time object took the two frames and animates them.
  auto& obj = dynamic_cast<DS_SpriteArrayObj&>(*second);
  EXPECT_EQ(obj.pictureSet.textures.size(), 2u);
  EXPECT_NE(obj.FrameTexture(), nullptr);
}

// Whatever prefix of a record arrives, the read ends failed, with defaults where data was
// missing.
TEST_F(BaseSpriteProp, TruncatedRecordsReadAsDefaults) {
  DS_SparkleConstructor preset;
  preset.count.SetValue(5);
  preset.speed.SetValue(200);
  const std::vector<uint8_t> bytes = SavedBytes(preset);
  for (size_t n = 0; n < bytes.size(); n += 7) {
    ReadResult read = ReadDescription({bytes.begin(), bytes.begin() + n});
    EXPECT_TRUE(read.failed || read.object == nullptr) << n;
    if (auto* back = dynamic_cast<DS_SparkleConstructor*>(read.object.get())) {
      EXPECT_TRUE(back->count.Value() == 1u || back->count.Value() == 5u);
      EXPECT_TRUE(back->speed.Value() == 100u || back->speed.Value() == 200u);
    }
  }
}

TEST_F(BaseSpriteProp, ColourAndOpacityRules) {
  DS_SparkleConstructor preset;
  preset.colour.SetValue(0x336699);  // red 0x99, green 0x66, blue 0x33
  preset.transparency.SetValue(40);
  EXPECT_EQ(preset.transparency.Scaled(), 153);
  EXPECT_EQ(preset.SpriteColour(1.0f), 0x99996633u);
  EXPECT_EQ(preset.SpriteColour(0.5f) >> 24, 76u);
  // Alpha factors outside 0..1 (pulse bounds of the project) hold the alpha instead of
  // wrapping it; NaN gives 0.
  EXPECT_EQ(preset.SpriteColour(1.8f) >> 24, 255u);
  EXPECT_EQ(preset.SpriteColour(-1.0f) >> 24, 0u);
  EXPECT_EQ(preset.SpriteColour(std::numeric_limits<float>::quiet_NaN()) >> 24, 0u);

  SetTimelineValue(preset, 0.5f);
  EXPECT_EQ(preset.ApplyOpacity(0xFF123456u), 0x7F123456u);
  SetTimelineValue(preset, 1.0f);
  EXPECT_EQ(preset.ApplyOpacity(0x80123456u), 0x80123456u);
}

TEST_F(BaseSpriteProp, FramesPicturesAndHalfSizes) {
  DS_SparkleConstructor preset;
  preset.frameCount = 5;
  EXPECT_EQ(preset.NextFrame(4), 0u);
  EXPECT_EQ(preset.NextFrame(2), 3u);
  preset.frameCount = 1;
  EXPECT_EQ(preset.NextFrame(0), 0u);
  preset.frameCount = 0;  // counts as 1
  EXPECT_EQ(preset.NextFrame(7), 0u);
  PictureRef ref;
  EXPECT_EQ(preset.GetPicture(&ref)->scale, 1.0f);

  preset.frameCount = 4;
  preset.picture = DS_ImageFileLink(u"a.png", 1);
  preset.secondPicture = DS_ImageFileLink(u"b.png", 2);
  preset.pictureSource = 2;
  preset.GetPicture(&ref);
  EXPECT_EQ(ref.link, &preset.picture);
  EXPECT_EQ(ref.value, 2);
  EXPECT_FALSE(ref.flag);
  EXPECT_EQ(ref.scale, 0.25f);
  std::vector<DS_ImageFileLink> links;
  preset.AppendImageLinks(links);
  ASSERT_EQ(links.size(), 1u);
  EXPECT_EQ(links[0].Key(), preset.picture.Key());

  preset.size.SetValue(40);
  SpriteRecord wide;
  wide.sizeFactor = 0.5f;
  wide.aspect = 0.5f;
  preset.ApplyHalfSize(wide);
  EXPECT_EQ(wide.halfWidth, 10.0f);
  EXPECT_EQ(wide.halfHeight, 5.0f);
  SpriteRecord tall;
  tall.aspect = 2.0f;
  preset.ApplyHalfSize(tall);
  EXPECT_EQ(tall.halfWidth, 10.0f);
  EXPECT_EQ(tall.halfHeight, 20.0f);
}

TEST_F(BaseSpriteProp, FloatArraysCheckTheirCountFirst) {
  const std::vector<uint8_t> bytes = Written([](DS_IOF_Archive& archive) {
    archive.io().WriteDword(1000000);
    archive.io().WriteFloat(1.0f);
  });
  ReadArchive source(bytes);
  std::vector<float> values;
  ReadFloatArray(source.archive(), values);
  EXPECT_TRUE(source.archive().Failed());
  EXPECT_TRUE(values.empty());
}

// A kind's own setting kept as a float follows every notified change and survives a copy.
TEST(MediaFloatTest, FloatFollowsTheValue) {
  MediaFloat<unsigned> param(30, 0.5f, 1.0f);
  EXPECT_EQ(param.FloatValue(), 16.0f);
  param.SetValue(10);
  EXPECT_EQ(param.FloatValue(), 6.0f);
  MediaFloat<unsigned> copy(param);
  EXPECT_EQ(copy.FloatValue(), 6.0f);
  EXPECT_EQ(MediaFloat<unsigned>().FloatValue(), 0.0f);
}

}  // namespace
}  // namespace sprite_test
