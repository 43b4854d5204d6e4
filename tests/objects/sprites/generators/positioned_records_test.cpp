// The records of the positioned generators: round trips of every kind, the older lightning and
// origin generator versions, the font's glyph map and damaged records.
#include "core/timing/random_timeline.h"
#include "generator_fixture.h"
#include "objects/sprites/generators/ds_animated_font.h"
#include "objects/sprites/generators/ds_firework.h"
#include "objects/sprites/generators/ds_lightning_gn.h"
#include "objects/sprites/generators/ds_radial_rays.h"
#include "objects/sprites/generators/ds_smoke.h"

namespace generator_test {
namespace {

class PositionedRecords : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterEveryClass(); }
};

void Dress(DS_StaticGenerator& g) {
  g.name = u"Generator";
  g.pictures = {DS_ImageFileLink(u"glimres.dll", 80)};
  g.effectLink = DS_HLSLEffectFile(u"glimres.dll", 1802);
  g.colour1.SetValue(0x123456);
  g.colour2.SetValue(0x654321);
  g.blendMode.SetValue(1);
  g.lifetime.SetValue(70);
  g.emissionRate.SetValue(3);
  g.position.SetValue(D3DXVECTOR3(11, 22, 33));
}

void DressOrigins(DS_ParticleOriginGenerator& g) {
  Dress(g);
  g.originLife.SetValue(100);
  g.originRate.SetValue(12);
  g.originSize.SetValue(30);
  g.sector.SetValue(90);
  g.sector.spread.SetValue(20);
  g.ownSpeed.SetValue(60);
}

TEST_F(PositionedRecords, EveryKindRoundTrips) {
  DS_RadialRays rays;
  Dress(rays);
  rays.rayLength.SetValue(100);
  rays.rayWidth.SetValue(10);
  rays.rayCount.SetValue(12);
  rays.pictureIndex.SetValue(1);
  rays.random.SetValue(1);
  rays.seed.SetValue(5);
  rays.jitter.SetValue(30);
  rays.raySpeed.SetValue(25);
  rays.rotationMode.SetValue(2);
  rays.timelineDepth.SetValue(40);
  rays.swingAmplitude.SetValue(50);
  ReadResult read = RoundTrip(rays);
  ASSERT_NE(read.object, nullptr);
  EXPECT_FLOAT_EQ(As<DS_RadialRays>(read).jitter.Scaled(), 0.7f);
  EXPECT_FLOAT_EQ(As<DS_RadialRays>(read).swingAmplitude.Scaled(), 1.0f);
  EXPECT_EQ(As<DS_RadialRays>(read).position.Value(), D3DXVECTOR3(11, 22, 33));

  DS_Smoke smoke;
  DressOrigins(smoke);
  smoke.wind.SetValue(75);
  read = RoundTrip(smoke);
  ASSERT_NE(read.object, nullptr);
  EXPECT_FLOAT_EQ(As<DS_Smoke>(read).wind.Scaled(), 50.0f);
  EXPECT_FLOAT_EQ(As<DS_Smoke>(read).originLife.Scaled(), 4.0f);
  EXPECT_EQ(As<DS_Smoke>(read).sector.spread.Value(), 20u);

  DS_FireworkSimple firework;
  DressOrigins(firework);
  firework.sparkCount.SetValue(40);
  firework.sparkSize.SetValue(6);
  firework.sparkSpeed.SetValue(25);
  firework.glowSize.SetValue(50);
  read = RoundTrip(firework);
  ASSERT_NE(read.object, nullptr);
  EXPECT_FLOAT_EQ(As<DS_FireworkSimple>(read).sparkSpeed.Scaled(), 100.0f);
  EXPECT_FLOAT_EQ(As<DS_FireworkSimple>(read).glowSize.Scaled(), 3.0f);
  EXPECT_FLOAT_EQ(As<DS_FireworkSimple>(read).lifetime.Scaled(), 0.7f);
  EXPECT_FLOAT_EQ(As<DS_FireworkSimple>(read).emissionRate.Scaled(), 7.0f);

  DS_LightningGN lightning;
  lightning.start.SetValue(D3DXVECTOR3(1, 2, 3));
  lightning.end.SetValue(D3DXVECTOR3(4, 5, 6));
  lightning.coreWidth.SetValue(3);
  lightning.depth.SetValue(5);
  lightning.jitter.SetValue(50);
  lightning.branchAngle.SetValue(100);
  lightning.taper.SetValue(70);
  lightning.firstBranches.SetValue(2);
  lightning.flicker.SetValue(30);
  lightning.glowWidth.SetValue(9);
  lightning.newShape.SetValue(1);
  read = RoundTrip(lightning);
  ASSERT_NE(read.object, nullptr);
  EXPECT_FLOAT_EQ(As<DS_LightningGN>(read).branchAngle.Scaled(), 1.5707964f);
  EXPECT_FLOAT_EQ(As<DS_LightningGN>(read).taper.Scaled(), 0.3f);
  EXPECT_EQ(As<DS_LightningGN>(read).end.Value(), D3DXVECTOR3(4, 5, 6));

  DS_AnimatedFont font;
  Dress(font);
  font.text.SetValue(u"Fest");
  font.animationSpeed.SetValue(150);
  font.scale.SetValue(80);
  font.values[1].SetValue(4);
  font.intValue.SetValue(-3);
  font.glyphMap[u'F'] = {u"F.dds", 3001};
  font.glyphMap[u'e'] = {u"e.dds", 3002};
  font.glyphPictures = {DS_ImageFileLink(u"glyphs.dll", 3001)};
  font.sources.emplace_back(D3DXVECTOR3(1, 2, 0));
  read = RoundTrip(font);
  ASSERT_NE(read.object, nullptr);
  EXPECT_EQ(As<DS_AnimatedFont>(read).glyphMap, font.glyphMap);
  EXPECT_FLOAT_EQ(As<DS_AnimatedFont>(read).scale.Scaled(), 0.8f);
  EXPECT_FLOAT_EQ(As<DS_AnimatedFont>(read).animationSpeed.Scaled(), 1.5f);
}

TEST_F(PositionedRecords, TheFirstMapEntryOfACharacterStays) {
  DS_AnimatedFont font;
  const std::vector<uint8_t> bytes = Written([&](DS_IOF_Archive& archive) {
    WriteRecordHeader(archive, u"DS_AnimatedFont", 1);
    DS_IOF_Virtual& io = archive.io();
    io.WriteWideString(u"AA");
    for (int i = 0; i < 5; ++i)
      io.WriteUInt32(100);
    io.WriteInt32(0);
    io.WriteDword(2);
    for (int64_t id : {7, 8}) {
      io.WriteInt16(u'A');
      io.WriteWideString(id == 7 ? u"first" : u"second");
      io.WriteInt64(id);
    }
    WriteImageLinks(archive, {});
    font.DS_StaticGenerator::Save(archive);
  });
  ReadResult read = ReadDescription(bytes);
  ASSERT_TRUE(ReadWhole(read));
  const auto& map = As<DS_AnimatedFont>(read).glyphMap;
  ASSERT_EQ(map.size(), 1u);
  EXPECT_EQ(map.at(u'A').id, 7);
  EXPECT_EQ(map.at(u'A').name, u"first");
}

TEST_F(PositionedRecords, OldLightningTimesBecomeARandomTimeline) {
  DS_LightningGN base;
  const std::vector<uint8_t> bytes = Written([&](DS_IOF_Archive& archive) {
    WriteRecordHeader(archive, u"DS_LightningGN", 1);
    DS_IOF_Virtual& io = archive.io();
    for (int i = 0; i < 10; ++i)
      io.WriteUInt32(i == 1 ? 2 : 0);  // depth 2
    for (uint32_t f : {300u, 700u, 2000u, 1000u, 4000u, 11u, 12u})
      io.WriteUInt32(f);
    io.WriteUInt32(0);
    io.WriteUInt32(8);
    io.WriteInt32(0);
    base.DS_StringGenerator::Save(archive);
  });
  ReadResult read = ReadDescription(bytes);
  ASSERT_TRUE(ReadWhole(read));
  const auto& lightning = As<DS_LightningGN>(read);
  EXPECT_EQ(lightning.depth.Value(), 2u);
  EXPECT_EQ(lightning.glowWidth.Value(), 8u);
  EXPECT_EQ(lightning.timing.Kind(), 1);
  const auto* random = dynamic_cast<const ZKW_RandomTimeLine*>(lightning.timing.Current());
  ASSERT_NE(random, nullptr);
  EXPECT_EQ(random->params.fadeIn.Value(), 30u);
  EXPECT_EQ(random->params.fadeOut.Value(), 70u);
  EXPECT_EQ(random->params.shownMin.Value(), 200u);
  EXPECT_EQ(random->params.shownMax.Value(), 200u);
  EXPECT_EQ(random->params.hiddenMin.Value(), 100u);
  EXPECT_EQ(random->params.hiddenMax.Value(), 400u);
}

TEST_F(PositionedRecords, AVersionOneOriginPartHasNoSpread) {
  DS_FireworkSimple firework;
  firework.sector.SetValue(45);
  const std::vector<uint8_t> bytes = Written([&](DS_IOF_Archive& archive) {
    WriteRecordHeader(archive, u"DS_FireworkSimple", 1);
    DS_IOF_Virtual& io = archive.io();
    for (uint32_t v : {5u, 6u, 7u, 8u})
      io.WriteUInt32(v);
    WriteRecordHeader(archive, u"DS_ParticleOriginGenerator", 1);
    for (uint32_t v : {100u, 10u, 20u, 45u, 50u})
      io.WriteUInt32(v);
    firework.DS_StaticGenerator::Save(archive);
  });
  ReadResult read = ReadDescription(bytes);
  ASSERT_TRUE(ReadWhole(read));
  const auto& f = As<DS_FireworkSimple>(read);
  EXPECT_EQ(f.sector.spread.Value(), 0u);
  EXPECT_EQ(f.ownSpeed.Value(), 50u);
  EXPECT_EQ(f.sparkCount.Value(), 5u);
  // Every origin starts in the sector direction: 45 degrees, measured up the screen.
  for (int i = 0; i < 3; ++i) {
    const D3DXVECTOR3 d = f.sector.RandomDirection();
    EXPECT_NEAR(d.x, 0.70710677f, 1e-5f);
    EXPECT_NEAR(d.y, -0.70710677f, 1e-5f);
  }
}

TEST_F(PositionedRecords, TruncatedRecordsFailTheStream) {
  DS_AnimatedFont font;
  font.glyphMap[u'x'] = {u"x", 1};
  DS_LightningGN lightning;
  DS_Smoke smoke;
  for (const DS_IOF_Item* item :
       {static_cast<const DS_IOF_Item*>(&font), static_cast<const DS_IOF_Item*>(&lightning),
        static_cast<const DS_IOF_Item*>(&smoke)}) {
    std::vector<uint8_t> bytes = SavedBytes(*item);
    for (size_t cut : {bytes.size() / 3, bytes.size() - 1}) {
      ReadResult read = ReadDescription(std::vector<uint8_t>(bytes.begin(), bytes.begin() + cut));
      EXPECT_TRUE(read.failed) << cut;
    }
  }
  // A glyph map count that the bytes cannot hold reads nothing.
  const std::vector<uint8_t> huge = Written([&](DS_IOF_Archive& archive) {
    WriteRecordHeader(archive, u"DS_AnimatedFont", 1);
    DS_IOF_Virtual& io = archive.io();
    io.WriteWideString(u"");
    for (int i = 0; i < 5; ++i)
      io.WriteUInt32(0);
    io.WriteInt32(0);
    io.WriteDword(0xFFFFFFFFu);
  });
  ReadResult read = ReadDescription(huge);
  EXPECT_TRUE(read.failed);
}

}  // namespace
}  // namespace generator_test
