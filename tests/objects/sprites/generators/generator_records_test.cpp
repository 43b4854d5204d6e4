// The records of the air-brush kinds and of the generator bases they end in: round trips,
// older versions, dab channels, damaged records.
#include <array>

#include "core/list_limits.h"
#include "generator_fixture.h"
#include "objects/sprites/generators/ds_aurora.h"
#include "objects/sprites/generators/ds_bling.h"
#include "objects/sprites/generators/ds_custom_air_brush.h"
#include "objects/sprites/generators/ds_twinkling_stars.h"

namespace generator_test {
namespace {

// Every class of the program registered, so that records are read by class name.
class GeneratorRecords : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterEveryClass(); }
};

// The fields every generator kind carries, set away from their defaults.
void Dress(DS_AirBrush& brush) {
  brush.name = u"Brush";
  brush.pictures = {DS_ImageFileLink(u"glimres.dll", 79), DS_ImageFileLink(u"glimres.dll", 75)};
  brush.effectLink = MaskEffect();
  brush.colour1.SetValue(0x123456);
  brush.colour1.alpha.SetValue(20);
  brush.colour2.SetValue(0x654321);
  brush.colour2.alpha.SetValue(40);
  brush.blendMode.SetValue(2);
  brush.secondMode.SetValue(5);
  brush.thirdMode.SetValue(-6);
  brush.modulePictures = 1;
  brush.lifetime.SetValue(7);
  brush.emissionRate.SetValue(8);
  brush.auxiliary.SetValue(9);
  brush.startSpeed.SetValue(10);
  brush.emissionSwitch.SetValue(1);
  brush.sources.emplace_back(D3DXVECTOR3(1, 2, 3));
  brush.size.SetValue(24);
  for (int i = 0; i < 2; ++i) {
    GeneratorParticle dab(D3DXVECTOR3(10.0f * i, 5, 0));
    for (int c = 0; c < GeneratorParticle::kChannels; ++c)
      dab.channels[c] = 0.5f * c + i;
    brush.dabs.push_back(dab);
  }
}

TEST_F(GeneratorRecords, EveryKindRoundTrips) {
  DS_Bling bling;
  Dress(bling);
  bling.twinkleSpeed.SetValue(40);
  bling.riseTime.SetValue(50);
  bling.fallTime.SetValue(150);
  bling.spinSpeed.SetValue(30);
  bling.minimumSize.SetValue(25);
  ReadResult read = RoundTrip(bling);
  ASSERT_NE(read.object, nullptr);
  const DS_Bling& b = As<DS_Bling>(read);
  EXPECT_FLOAT_EQ(b.riseTime.Scaled(), 0.5f);
  EXPECT_FLOAT_EQ(b.fallTime.Scaled(), 1.5f);
  EXPECT_FLOAT_EQ(b.twinkleSpeed.Scaled(), 0.8f);
  EXPECT_FLOAT_EQ(b.minimumSize.Scaled(), 0.25f);
  EXPECT_EQ(b.colour1.alpha.Scaled(), 204);  // 255 - 2.55 x 20
  ASSERT_EQ(b.dabs.size(), 2u);
  EXPECT_EQ(b.dabs.back().channels, bling.dabs.back().channels);
  EXPECT_EQ(b.sources.front().position, D3DXVECTOR3(1, 2, 3));
  EXPECT_EQ(b.sources.front().previous, D3DXVECTOR3(1, 2, 3));
  EXPECT_FALSE(b.KindQuery());
  PictureRef picture;
  const_cast<DS_Bling&>(b).GetPicture(&picture);
  EXPECT_EQ(picture.link, &b.pictures.front());
  EXPECT_EQ(picture.value, 1) << "module pictures";
  DS_Bling none;
  none.GetPicture(&picture);
  EXPECT_EQ(picture.link, nullptr);

  DS_CustomAirBrush custom;
  Dress(custom);
  custom.ownPicture = DS_ImageFileLink(u"glimres.dll", 80);
  custom.frameSpeed.SetValue(250);
  read = RoundTrip(custom);
  ASSERT_NE(read.object, nullptr);
  EXPECT_EQ(As<DS_CustomAirBrush>(read).ownPicture.Key(), custom.ownPicture.Key());
  EXPECT_FLOAT_EQ(As<DS_CustomAirBrush>(read).frameSpeed.Scaled(), 2.5f);

  DS_TwinklingStars stars;
  Dress(stars);
  stars.twinkleSpeed.SetValue(300);
  read = RoundTrip(stars);
  ASSERT_NE(read.object, nullptr);
  EXPECT_FLOAT_EQ(As<DS_TwinklingStars>(read).twinkleSpeed.Scaled(), 4.0f);

  DS_Aurora aurora;
  Dress(aurora);
  unsigned value = 1;
  for (MediaParamT<unsigned>* p : std::array<MediaParamT<unsigned>*, 11>{
           &aurora.curtainHeight, &aurora.stretchSpeed, &aurora.stretchAmount,
           &aurora.stretchLength, &aurora.glowSpeed, &aurora.glowAmount, &aurora.glowLength,
           &aurora.swaySpeed, &aurora.swayAmount, &aurora.swayLength, &aurora.swayDirection})
    p->SetValue(value++ * 10);
  read = RoundTrip(aurora);
  ASSERT_NE(read.object, nullptr);
  const DS_Aurora& a = As<DS_Aurora>(read);
  EXPECT_EQ(a.curtainHeight.Value(), 10u);
  EXPECT_FLOAT_EQ(a.stretchSpeed.Scaled(), 0.6f);
  EXPECT_FLOAT_EQ(a.glowLength.Scaled(), 71.0f);
  EXPECT_EQ(a.swayDirection.Value(), 110u);
}

// The versions of each part of a twinkling-stars record, with the fields each version has.
struct Versions {
  uint32_t stars = 1, airBrush = 3, tex = 3, generator = 3;
};

// A dab as stored: its position and channel pairs (or single channels).
struct StoredDab {
  D3DXVECTOR3 at;
  std::vector<std::pair<float, float>> channels;
};

std::vector<uint8_t> StarsRecord(const Versions& v, const std::vector<StoredDab>& dabs) {
  return Written([&](DS_IOF_Archive& archive) {
    DS_IOF_Virtual& io = archive.io();
    WriteRecordHeader(archive, u"DS_TwinklingStars", v.stars);
    io.WriteUInt32(250);  // twinkle speed
    WriteRecordHeader(archive, u"DS_AirBrush", v.airBrush);
    io.WriteUInt32(16);  // size
    if (v.airBrush > 1) {
      io.WriteUInt32(uint32_t(dabs.size()));
    } else {
      io.WriteDword(uint32_t(dabs.size()));
    }
    for (const StoredDab& dab : dabs) {
      io.WriteFloat(dab.at.x);
      io.WriteFloat(dab.at.y);
      io.WriteFloat(dab.at.z);
      if (v.airBrush == 1) continue;
      io.WriteUInt32(uint32_t(dab.channels.size()));
      for (const auto& [first, second] : dab.channels) {
        io.WriteFloat(first);
        if (v.airBrush >= 3) io.WriteFloat(second);
      }
    }
    WriteRecordHeader(archive, u"DS_TexParticleGenerator", v.tex);
    io.WriteDword(1);
    io.WriteWideString(u"glimres.dll");
    io.WriteInt64(80);
    io.WriteWideString(u"glimres.dll");
    io.WriteInt64(1801);
    for (uint32_t colour : {0x00FF00u, 0xFF0000u}) {
      io.WriteDword(colour);
      io.WriteUInt32(10);
    }
    io.WriteInt32(3);
    if (v.tex >= 2) {
      io.WriteInt32(4);
      io.WriteInt32(5);
    }
    if (v.tex >= 3) io.WriteInt32(1);
    WriteRecordHeader(archive, u"DS_ParticleGenerator", v.generator);
    if (v.generator > 1) {
      io.WriteDword(1);
      for (float f : {4.0f, 5.0f, 6.0f})
        io.WriteFloat(f);
    }
    if (v.generator > 2) {
      for (uint32_t value : {1u, 2u, 3u, 4u})
        io.WriteUInt32(value);
      io.WriteInt32(1);
    }
    DS_TwinklingStars().DS_ABObj_Constructor::Save(archive);
  });
}

TEST_F(GeneratorRecords, OlderGeneratorPartsTakeTheirDefaults) {
  struct Case {
    uint32_t version;
    size_t sources;
    unsigned lifetime, rate;
    int emission;
  };
  for (const Case& c : {Case{1, 0, 20, 30, 0}, Case{2, 1, 20, 30, 0}, Case{3, 1, 1, 2, 1}}) {
    SCOPED_TRACE(c.version);
    Versions v;
    v.generator = c.version;
    const ReadResult read = ReadDescription(StarsRecord(v, {}));
    ASSERT_TRUE(ReadWhole(read));
    const auto& stars = As<DS_TwinklingStars>(read);
    EXPECT_EQ(stars.sources.size(), c.sources);
    EXPECT_EQ(stars.lifetime.Value(), c.lifetime);
    EXPECT_EQ(stars.emissionRate.Value(), c.rate);
    EXPECT_FLOAT_EQ(stars.emissionRate.Scaled(), float(c.rate));
    EXPECT_EQ(stars.emissionSwitch.Value(), c.emission);
    EXPECT_EQ(stars.auxiliary.Value(), c.version == 3 ? 3u : 0u);
    EXPECT_EQ(stars.startSpeed.Value(), c.version == 3 ? 4u : 0u);
  }
}

TEST_F(GeneratorRecords, OlderTexturePartsTakeModesOfZero) {
  struct Case {
    uint32_t version;
    int second, third, module;
  };
  for (const Case& c : {Case{1, 0, 0, 0}, Case{2, 4, 5, 0}, Case{3, 4, 5, 1}}) {
    SCOPED_TRACE(c.version);
    Versions v;
    v.tex = c.version;
    const ReadResult read = ReadDescription(StarsRecord(v, {}));
    ASSERT_TRUE(ReadWhole(read));
    const auto& stars = As<DS_TwinklingStars>(read);
    EXPECT_EQ(stars.blendMode.Value(), 3);
    EXPECT_EQ(stars.secondMode.Value(), c.second);
    EXPECT_EQ(stars.thirdMode.Value(), c.third);
    EXPECT_EQ(stars.modulePictures, c.module);
    EXPECT_EQ(stars.effectLink.id, 1801);
    EXPECT_EQ(stars.colour2.Value(), 0xFF0000u);
    EXPECT_EQ(stars.colour2.alpha.Scaled(), 229);
    EXPECT_EQ(stars.sources.size(), 1u) << "the generator part follows in step";
  }
}

// Version 1 dabs are positions with default channels; version 2 dabs hold channels 0 to m - 1
// and channel 9 becomes 0; version 3 dabs hold pairs (i, 5 + i). Pairs past the fifth are read
// and dropped.
TEST_F(GeneratorRecords, DabsOfEveryVersionReadTheirChannels) {
  using Channels = std::array<float, GeneratorParticle::kChannels>;
  const StoredDab two{{1, 2, 3}, {{0.1f, 5.1f}, {0.2f, 5.2f}}};
  std::vector<std::pair<float, float>> seven;
  for (int i = 0; i < 7; ++i)
    seven.emplace_back(10.0f + i, 20.0f + i);
  const StoredDab many{{4, 5, 6}, seven};
  struct Case {
    uint32_t version;
    Channels first, second;
  };
  const Case cases[] = {
      {1, GeneratorParticle::kDefaultChannels, GeneratorParticle::kDefaultChannels},
      {2, {0.1f, 0.2f, 1, 0, 0, 1, 1, 1, 1, 0}, {10, 11, 12, 13, 14, 1, 1, 1, 1, 0}},
      {3, {0.1f, 0.2f, 1, 0, 0, 5.1f, 5.2f, 1, 1, 1}, {10, 11, 12, 13, 14, 20, 21, 22, 23, 24}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.version);
    Versions v;
    v.airBrush = c.version;
    const ReadResult read = ReadDescription(StarsRecord(v, {two, many}));
    ASSERT_TRUE(ReadWhole(read));
    const auto& stars = As<DS_TwinklingStars>(read);
    EXPECT_EQ(stars.size.Value(), 16u);
    ASSERT_EQ(stars.dabs.size(), 2u);
    EXPECT_EQ(stars.dabs.front().position, D3DXVECTOR3(1, 2, 3));
    EXPECT_EQ(stars.dabs.front().previous, D3DXVECTOR3());
    EXPECT_TRUE(stars.dabs.front().processes.empty());
    EXPECT_EQ(stars.dabs.front().channels, c.first);
    EXPECT_EQ(stars.dabs.back().channels, c.second);
    EXPECT_EQ(stars.pictures.size(), 1u) << "the texture part follows in step";
  }
}

// A first version keeps the spin and minimum size of its constructor.
TEST_F(GeneratorRecords, AFirstVersionBlingKeepsSpinAndMinimumSize) {
  std::vector<uint8_t> bytes = Written([](DS_IOF_Archive& archive) {
    WriteRecordHeader(archive, u"DS_Bling", 1);
    for (uint32_t value : {100u, 150u, 50u})  // twinkle speed, fall, rise
      archive.io().WriteUInt32(value);
  });
  DS_TwinklingStars inner;  // any air brush: its air-brush record follows
  std::vector<uint8_t> tail = SavedBytes(inner);
  // Drop the twinkling stars' own header and speed (4 + 2 x 17 + 4 + 4 bytes).
  const size_t own = 4 + 2 * 17 + 4 + 4;
  bytes.insert(bytes.end(), tail.begin() + own, tail.end());
  const ReadResult read = ReadDescription(bytes);
  ASSERT_TRUE(ReadWhole(read));
  const auto& bling = As<DS_Bling>(read);
  EXPECT_FLOAT_EQ(bling.twinkleSpeed.Scaled(), 2.0f);
  EXPECT_FLOAT_EQ(bling.fallTime.Scaled(), 1.5f);
  EXPECT_FLOAT_EQ(bling.riseTime.Scaled(), 0.5f);
  EXPECT_EQ(bling.spinSpeed.Value(), 1u);
  EXPECT_FLOAT_EQ(bling.spinSpeed.Scaled(), 0.02f);
  EXPECT_EQ(bling.minimumSize.Value(), 0u);
}

TEST_F(GeneratorRecords, TwinklingStarsOfAnyVersionReadTheirSpeed) {
  for (uint32_t version : {0u, 1u, 7u}) {
    Versions v;
    v.stars = version;
    const ReadResult read = ReadDescription(StarsRecord(v, {}));
    ASSERT_TRUE(ReadWhole(read)) << version;
    EXPECT_FLOAT_EQ(As<DS_TwinklingStars>(read).twinkleSpeed.Scaled(), 3.5f);
  }
}

// Counts the remaining bytes cannot hold fail the stream before anything is made; a record cut
// anywhere reads what it holds and fails.
TEST_F(GeneratorRecords, DamagedRecordsFailWithoutGuessing) {
  std::vector<uint8_t> bytes = StarsRecord(Versions{}, {});
  // The dab count lies after the two headers' names and versions and the speed and size.
  const size_t countAt = 4 + 2 * 17 + 4 + 4 + (4 + 2 * 11) + 4 + 4;
  ASSERT_EQ(bytes[countAt], 0);
  bytes[countAt + 3] = 0x40;  // about a billion dabs
  ReadResult read = ReadDescription(bytes);
  EXPECT_TRUE(read.failed);
  ASSERT_NE(read.object, nullptr);
  EXPECT_TRUE(As<DS_TwinklingStars>(read).dabs.empty());

  StoredDab dab{{1, 1, 1}, {{1, 2}}};
  const std::vector<uint8_t> whole = StarsRecord(Versions{}, {dab, dab, dab});
  for (size_t cut = 0; cut < whole.size(); cut += 3) {
    read = ReadDescription({whole.begin(), whole.begin() + cut});
    EXPECT_TRUE(read.failed || read.object == nullptr) << cut;
  }
}

TEST_F(GeneratorRecords, DabsPastTheListLimitAreReadAndDropped) {
  std::vector<StoredDab> dabs(kMaxParticlesPerList + 3, StoredDab{{1, 2, 3}, {}});
  const ReadResult read = ReadDescription(StarsRecord(Versions{}, dabs));
  ASSERT_TRUE(ReadWhole(read));
  EXPECT_EQ(As<DS_TwinklingStars>(read).dabs.size(), kMaxParticlesPerList);
}

}  // namespace
}  // namespace generator_test
