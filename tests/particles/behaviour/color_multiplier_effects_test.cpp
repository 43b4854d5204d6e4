#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "behaviour_classes.h"
#include "core/graph/vgraph_registry.h"
#include "effect_records.h"
#include "particles/behaviour/effects/color_effects.h"
#include "particles/behaviour/effects/multiplier_effects.h"

namespace {

class ColourAndMultiplierEffects : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterBehaviourTestClasses(); }
};

TEST_F(ColourAndMultiplierEffects, TheDefaultGradientRunsFromWhiteThroughGreyToBlack) {
  ColorSourceParams source;
  source.mode.SetValue(1);
  struct Case {
    float t;
    uint32_t want;
  };
  for (const Case& c : {Case{0.0f, 0xFFFFFFu}, Case{0.25f, 0xBFBFBFu}, Case{0.5f, 0x7F7F7Fu},
                        Case{1.0f, 0x000000u}, Case{1.01f, 0u}, Case{-0.5f, 0u}}) {
    EXPECT_EQ(source.ColorAt(c.t), std::optional<uint32_t>(c.want)) << c.t;
  }
}

TEST_F(ColourAndMultiplierEffects, AGradientHoldsItsLastStopAndChannelsBlendApart) {
  ColorSourceParams source;
  source.mode.SetValue(1);
  source.gradient.RawValue().second = {{0.0f, 0x0000FFu}, {0.8f, 0xFF2000u}};
  EXPECT_EQ(source.ColorAt(0.8f), std::optional<uint32_t>(0xFF2000u));
  EXPECT_EQ(source.ColorAt(1.0f), std::optional<uint32_t>(0xFF2000u));
  EXPECT_EQ(source.ColorAt(1.5f), std::optional<uint32_t>(0u));
  // Half way: red 255 -> 0, green 0 -> 32, blue 0 -> 255, each truncated.
  EXPECT_EQ(source.ColorAt(0.4f), std::optional<uint32_t>(0x7F107Fu));
  source.gradient.RawValue().second.resize(1);
  EXPECT_EQ(source.ColorAt(0.5f), std::optional<uint32_t>(0u)) << "one stop has no segment";
}

TEST_F(ColourAndMultiplierEffects, AListPicksTheNearestEntry) {
  ColorSourceParams source;
  EXPECT_EQ(source.ColorAt(0.7f), std::optional<uint32_t>(0xFFFFFFu)) << "the default white";
  source.colors.RawValue().second = {10, 11, 12, 13};
  struct Case {
    float t;
    std::optional<uint32_t> want;
  };
  const Case cases[] = {{0.0f, 10}, {0.16f, 10}, {0.17f, 11}, {0.49f, 11},        {0.51f, 12},
                        {1.0f, 13}, {1.2f, {}},  {-0.1f, {}}, {std::nanf(""), {}}};
  for (const Case& c : cases)
    EXPECT_EQ(source.ColorAt(c.t), c.want) << c.t;
  source.colors.RawValue().second.clear();
  EXPECT_EQ(source.ColorAt(0.5f), std::nullopt);
}

TEST_F(ColourAndMultiplierEffects, ColourEffectsSetTheParticleColourOrLeaveIt) {
  ZKW_PtclSysEffect<ZKW_PtclSysEffect_ColorD> byLife;
  byLife.source->mode.SetValue(1);
  ParticleRecord p;
  p.floats[ParticleRecord::kLife] = 0.5f;
  byLife.Apply(0.0f, &p);
  const D3DXVECTOR3& colour = p.vectors[ParticleRecord::kColour];
  EXPECT_FLOAT_EQ(colour.x, 127.0f / 255.0f);
  EXPECT_FLOAT_EQ(colour.z, 127.0f / 255.0f);

  // An empty list has no colour: the particle keeps its own.
  byLife.source->mode.SetValue(0);
  byLife.source->colors.RawValue().second.clear();
  p.vectors[ParticleRecord::kColour] = D3DXVECTOR3(0.1f, 0.2f, 0.3f);
  byLife.Apply(0.0f, &p);
  EXPECT_FLOAT_EQ(p.vectors[ParticleRecord::kColour].y, 0.2f);

  // ColorV: its own random number, fixed per clone; the clones share the source.
  ZKW_PtclSysEffect<ZKW_PtclSysEffect_ColorV> byRandom;
  byRandom.source->colors.RawValue().second = {0x0000FF, 0x00FF00};
  const auto clone = byRandom.Clone();
  auto& v = dynamic_cast<ZKW_PtclSysEffect_ColorV&>(*clone);
  v.random = 0.9f;
  ParticleRecord q;
  v.ApplyToParticle(nullptr, &q);
  EXPECT_FLOAT_EQ(q.vectors[ParticleRecord::kColour].y, 1.0f);
  EXPECT_FLOAT_EQ(q.vectors[ParticleRecord::kColour].x, 0.0f);
}

TEST_F(ColourAndMultiplierEffects, VariatorScalesByAFactorBetweenValueTimesRAndValue) {
  struct Case {
    unsigned spread;  // percent
    float r;
    float want;
  };
  for (const Case& c : {Case{0, 0.0f, 1.0f}, Case{0, 0.7f, 1.0f}, Case{100, 0.0f, 0.0f},
                        Case{100, 0.3f, 0.3f}, Case{50, 0.0f, 0.5f}}) {
    ZKW_PtclSysEffect<ZKW_PtclSysEff_VariatorMF> variator;  // index 0, mode 0
    variator.spreadValue->spread.SetValue(c.spread);
    variator.r = c.r;
    ParticleRecord p;
    p.floats[ParticleRecord::kLife] = 0.5f;
    variator.Apply(0.0f, &p);
    EXPECT_FLOAT_EQ(p.floats[ParticleRecord::kLife], 0.5f * c.want) << c.spread << " " << c.r;
  }
}

TEST_F(ColourAndMultiplierEffects, VectorModeBlendsTheFactorByItsWeights) {
  ZKW_PtclSysEffect<ZKW_PtclSysEff_VariatorMF> variator;
  variator.spreadValue->value.SetValue(300);  // factor 3
  variator.mode = 1;
  variator.parameterIndex = ParticleRecord::kScaleXYZ;
  struct Case {
    float wx, wy;
    D3DXVECTOR3 want;
  };
  for (const Case& c : {Case{0, 0, {2, 4, 5}}, Case{1, 1, {6, 12, 5}}, Case{0.5f, 0, {4, 4, 5}}}) {
    variator.xWeight = c.wx;
    variator.yWeight = c.wy;
    ParticleRecord p;
    p.vectors[ParticleRecord::kScaleXYZ] = D3DXVECTOR3(2, 4, 5);
    variator.Apply(0.0f, &p);
    const D3DXVECTOR3& got = p.vectors[ParticleRecord::kScaleXYZ];
    EXPECT_FLOAT_EQ(got.x, c.want.x);
    EXPECT_FLOAT_EQ(got.y, c.want.y);
    EXPECT_FLOAT_EQ(got.z, c.want.z);
  }
}

TEST_F(ColourAndMultiplierEffects, IndicesOutsideTheParticleAndOtherModesChangeNothing) {
  struct Case {
    int mode, index;
  };
  for (const Case& c : {Case{0, -1}, Case{0, ParticleRecord::kFloatCount}, Case{1, -3},
                        Case{1, ParticleRecord::kVectorCount}, Case{2, 0}}) {
    ZKW_PtclSysEffect<ZKW_PtclSysEff_VariatorMF> variator;
    variator.spreadValue->value.SetValue(0);
    variator.mode = c.mode;
    variator.parameterIndex = c.index;
    variator.xWeight = variator.yWeight = 1.0f;
    ParticleRecord p;
    p.floats[ParticleRecord::kLife] = 0.5f;
    p.vectors[0] = D3DXVECTOR3(1, 1, 1);
    variator.Apply(0.0f, &p);
    EXPECT_EQ(p.floats[ParticleRecord::kLife], 0.5f) << c.mode << " " << c.index;
    EXPECT_EQ(p.vectors[0].x, 1.0f);
  }
}

TEST_F(ColourAndMultiplierEffects, TheGraphMultiplierFollowsTheDefaultConstantEnvelope) {
  ZKW_PtclSysEffect<ZKW_PtclSysEff_Graph> graph;
  graph.parameterIndex = ParticleRecord::kScale;
  ParticleRecord p;
  p.floats[ParticleRecord::kScale] = 2.0f;
  p.floats[ParticleRecord::kLife] = 0.3f;
  unsigned cursor = 1;
  const float factor = graph.envelope.ValueAt(0.3f, &cursor);
  graph.Apply(0.0f, &p);
  EXPECT_FLOAT_EQ(p.floats[ParticleRecord::kScale], 2.0f * factor);
}

TEST_F(ColourAndMultiplierEffects, EveryKindReadsBack) {
  ZKW_PtclSysEffect<ZKW_PtclSysEffect_ColorD> byLife;
  byLife.source->mode.RawValue() = 1;
  byLife.source->colors.RawValue().second = {1, 2, 3};
  byLife.source->gradient.RawValue().second = {{0.0f, 5u}, {0.25f, 6u}};
  ZKW_PtclSysEffect<ZKW_PtclSysEffect_ColorV> byRandom;
  byRandom.name = u"random";
  ZKW_PtclSysEffect<ZKW_PtclSysEff_VariatorMF> variator;
  variator.mode = 1;
  variator.parameterIndex = 6;
  variator.xWeight = 0.5f;
  variator.yWeight = 1.5f;
  variator.zWeight = 2.0f;
  variator.spreadValue->spread.SetValue(40);
  ZKW_PtclSysEffect<ZKW_PtclSysEff_Graph> graph;
  graph.parameterIndex = 2;
  ExpectEachReadsBack({&byLife, &byRandom, &variator, &graph});
}

TEST_F(ColourAndMultiplierEffects, AVersionOneMultiplicatorKeepsModeZero) {
  RecordBytes r;
  DS_IOF_Archive& a = r.archive();
  WriteRecordHeader(a, u"ZKW_PtclSysEff_VariatorMF", 1);
  a.io().WriteUInt32(200);
  a.io().WriteUInt32(0);
  WriteRecordHeader(a, u"ZKW_PtclSysEff_Multiplicator", 1);
  a.io().WriteDword(3);
  WriteRecordHeader(a, u"ZKW_ParticlSystem_Effect", 3);
  a.io().WriteWideString(u"");
  a.io().WriteWideString(u"");
  a.io().WriteBool(false);
  bool whole = false;
  const auto read = Read(r.Take(), &whole);
  ASSERT_NE(read, nullptr);
  EXPECT_TRUE(whole);
  auto& v = dynamic_cast<ZKW_PtclSysEff_VariatorMF&>(*read);
  EXPECT_EQ(v.parameterIndex, 3);
  EXPECT_EQ(v.mode, 0);
  EXPECT_EQ(v.xWeight, 0.0f);
  EXPECT_FLOAT_EQ(v.GetFactor(0, 0, nullptr), 2.0f);
}

TEST_F(ColourAndMultiplierEffects, AColourSourceWithMoreStopsThanBytesFailsTheStream) {
  RecordBytes r;
  DS_IOF_Archive& a = r.archive();
  WriteRecordHeader(a, u"ZKW_PtclSysEffect_ColorD", 1);
  a.io().WriteInt32(1);
  a.io().WriteInt32(1);
  a.io().WriteDword(0);
  a.io().WriteInt32(1);
  a.io().WriteDword(0x40000000u);
  bool whole = true;
  const auto read = Read(r.Take(), &whole);
  EXPECT_FALSE(whole);
  if (auto* c = dynamic_cast<ZKW_PtclSysEffect_ColorD*>(read.get()))
    EXPECT_TRUE(c->source->gradient.Value().second.empty());
}

}  // namespace
