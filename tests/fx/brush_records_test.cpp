// The records of every brush kind and base through the writing stream: the own fields in their
// stored order ahead of the base record, older versions, and truncated records.
#include <gtest/gtest.h>

#include <functional>
#include <typeinfo>

#include "fx/bases/ds_direction_based.h"
#include "fx/distortion/ds_bend_fx.h"
#include "fx/distortion/ds_expand_fx.h"
#include "fx/distortion/ds_quorbel_radial.h"
#include "fx/distortion/ds_quorbel_vortical.h"
#include "fx/distortion/ds_rotation_fx.h"
#include "fx/lines/ds_perspective_fx.h"
#include "fx/lines/ds_stretch_fx.h"
#include "fx/record_cases.h"
#include "fx/waves/ds_radial_wave_fx.h"
#include "fx/waves/ds_waves_fx.h"

namespace fx_test {
namespace {

using BrushRecordsTest = FxTest;

const RecordCase kRecords[] = {
    {"DS_WavesFX",
     1,
     [] {
       auto b = std::make_unique<DS_WavesFX>();
       b->amplitude.SetValue(1);
       b->wavelength.SetValue(2);
       b->directionAngle.SetValue(3);
       b->parallelFlag.SetValue(4);
       return b;
     },
     {1, 2, 3, 4},
     u"DS_FX_Constructor"},
    {"DS_RadialWaveFX",
     3,
     [] {
       auto b = std::make_unique<DS_RadialWaveFX>();
       b->amplitude.SetValue(1);
       b->wavelength.SetValue(2);
       b->ringStretch.SetValue(3);
       b->timeSignFlag.SetValue(4);
       return b;
     },
     {1, 2, 3, 4},
     u"DS_CentralBased"},
    {"DS_ExpandFX",
     2,
     [] {
       auto b = std::make_unique<DS_ExpandFX>();
       b->expansion.SetValue(1);
       b->contraction.SetValue(2);
       b->swingMode.SetValue(3);
       return b;
     },
     {1, 2, 3},
     u"DS_CentralBased"},
    {"DS_RotationFX",
     2,
     [] {
       auto b = std::make_unique<DS_RotationFX>();
       b->ellipseRatio.SetValue(1);
       b->ellipseTilt.SetValue(2);
       b->reverseFlag.SetValue(3);
       b->timelineDriven.SetValue(4);
       b->angleOffset.SetValue(5);
       return b;
     },
     {1, 2, 3, 4, 5},
     u"DS_CentralBased"},
    {"DS_BendFX",
     2,
     [] {
       auto b = std::make_unique<DS_BendFX>();
       b->bendAngleA.SetValue(1);
       b->bendAngleB.SetValue(2);
       b->bendStrength.SetValue(3);
       b->swingMode.SetValue(4);
       return b;
     },
     {1, 2, 3, 4},
     u"DS_CentralBased"},
    {"DS_QuorbelRadial",
     2,
     [] {
       auto b = std::make_unique<DS_QuorbelRadial>();
       b->amplitude.SetValue(1);
       b->directionFlag.SetValue(2);
       return b;
     },
     {1, 2},
     u"DS_CentralBased"},
    {"DS_QuorbelVortical",
     1,
     [] {
       auto b = std::make_unique<DS_QuorbelVortical>();
       b->ellipseDeformation.SetValue(1);
       b->ellipseTilt.SetValue(2);
       b->reverseFlag.SetValue(3);
       b->amplitude.SetValue(4);
       return b;
     },
     {1, 2, 3, 4},
     u"DS_CentralBased"},
    {"DS_PerspectiveFX",
     3,
     [] {
       auto b = std::make_unique<DS_PerspectiveFX>();
       b->strengthA.SetValue(1);
       b->tilt.SetValue(2);
       b->swingMode.SetValue(3);
       b->strengthB.SetValue(4);
       return b;
     },
     {1, 2, 3, 4},
     u"DS_LineBased"},
    {"DS_StretchFX",
     1,
     [] {
       auto b = std::make_unique<DS_StretchFX>();
       b->swingMode.SetValue(1);
       b->strengthA.SetValue(2);
       b->strengthB.SetValue(3);
       return b;
     },
     {1, 2, 3},
     u"DS_LineBased"},
};

TEST_F(BrushRecordsTest, EveryKindStoresItsFieldsAheadOfItsBaseAndReadsBack) {
  for (const RecordCase& c : kRecords)
    ExpectStoredAheadOfBase(c);
}

TEST_F(BrushRecordsTest, TruncatedRecordsFailTheStreamAndKeepDefaults) {
  for (const RecordCase& c : kRecords)
    ExpectTruncatedFails(c);
}

TEST_F(BrushRecordsTest, CentreAndLineRecordsHoldTheCentreAsFloats) {
  DS_StretchFX stretch;
  stretch.lineDirection.SetValue(135);
  stretch.centre.SetValue(D3DXVECTOR3(1.5f, -2.5f, 3.0f));
  const auto bytes = Written([&](DS_IOF_Archive& a) { stretch.DS_LineBased::Save(a); });
  ReadArchive layout(bytes);
  DS_IOF_Virtual& io = layout.archive().io();
  zkw_string name;
  uint32_t word = 0;
  float x = 0, y = 0, z = 0;
  io.ReadWideString(name);
  io.ReadDword(word);
  EXPECT_EQ(name, u"DS_LineBased");
  EXPECT_EQ(word, 1u);
  io.ReadUInt32(word);
  EXPECT_EQ(word, 135u);
  io.ReadFloat(x);
  io.ReadFloat(y);
  io.ReadFloat(z);
  EXPECT_EQ(D3DXVECTOR3(x, y, z), D3DXVECTOR3(1.5f, -2.5f, 3.0f));
  io.ReadWideString(name);
  EXPECT_EQ(name, u"DS_FX_Constructor") << "no centre header inside";

  auto read = ReadBrush<DS_StretchFX>(Written([&](DS_IOF_Archive& a) { stretch.Save(a); }));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->centre.Value(), stretch.centre.Value());
  EXPECT_EQ(read->lineDirection.Value(), 135u);
  EXPECT_NEAR(read->lineDirection.Direction().x, -0.70710677f, 1e-6f) << "its vectors follow";
}

TEST_F(BrushRecordsTest, OlderVersionsReadAsTheyWereMeant) {
  DS_ExpandFX expandBase;
  DS_BendFX bendBase;
  auto centralOf = [](const DS_CentralBased& b) {
    return [&b](DS_IOF_Archive& a) { b.DS_CentralBased::Save(a); };
  };

  // Swing modes of version 1 counted from the sine swing (expand) and the value noise (bend).
  auto expand =
      ReadBrush<DS_ExpandFX>(OldRecord(u"DS_ExpandFX", 1, {30, 40, 1}, centralOf(expandBase)));
  ASSERT_NE(expand, nullptr);
  EXPECT_EQ(expand->swingMode.Value(), 3);
  EXPECT_FLOAT_EQ(expand->contraction.Scaled(), 0.2f);
  auto bend = ReadBrush<DS_BendFX>(OldRecord(u"DS_BendFX", 1, {1, 2, 3, 1}, centralOf(bendBase)));
  ASSERT_NE(bend, nullptr);
  EXPECT_EQ(bend->swingMode.Value(), 4);

  // A version-1 radial wave stores no fields of its own.
  DS_RadialWaveFX radialBase;
  radialBase.centre.SetValue(D3DXVECTOR3(7, 8, 0));
  auto radial =
      ReadBrush<DS_RadialWaveFX>(OldRecord(u"DS_RadialWaveFX", 1, {}, centralOf(radialBase)));
  ASSERT_NE(radial, nullptr);
  EXPECT_EQ(radial->amplitude.Value(), 50u);
  EXPECT_EQ(radial->wavelength.Value(), 50u);
  EXPECT_EQ(radial->ringStretch.Value(), 50u);
  EXPECT_EQ(radial->timeSignFlag.Value(), 0);
  EXPECT_EQ(radial->centre.Value().y, 8.0f);

  // A version-1 rotation has neither the timeline-driven flag nor the angle offset.
  DS_RotationFX rotationBase;
  auto rotation = ReadBrush<DS_RotationFX>(
      OldRecord(u"DS_RotationFX", 1, {1000, 45, 1}, centralOf(rotationBase)));
  ASSERT_NE(rotation, nullptr);
  EXPECT_FLOAT_EQ(rotation->ellipseRatio.Scaled(), 1.0f);
  EXPECT_EQ(rotation->ellipseTilt.Value(), 45u);
  EXPECT_EQ(rotation->timelineDriven.Value(), 0);
  EXPECT_EQ(rotation->angleOffset.Value(), 0u);

  // A version-1 radial ripple has no direction flag: it is 0.
  DS_QuorbelRadial rippleBase;
  auto ripple =
      ReadBrush<DS_QuorbelRadial>(OldRecord(u"DS_QuorbelRadial", 1, {60}, centralOf(rippleBase)));
  ASSERT_NE(ripple, nullptr);
  EXPECT_EQ(ripple->amplitude.Value(), 60u);
  EXPECT_EQ(ripple->directionFlag.Value(), 0);
}

TEST_F(BrushRecordsTest, OldPerspectiveRecordsPutTheirStrengthOnOneSide) {
  DS_PerspectiveFX base;
  auto lineOf = [&](DS_IOF_Archive& a) { base.DS_LineBased::Save(a); };
  struct Case {
    uint32_t version;
    std::vector<uint32_t> fields;  // strength A, tilt, then side code or mode (and strength B)
    unsigned a, b;
    int mode;
  };
  const Case cases[] = {
      {1, {300, 2, 0}, 300, 0, 3},    // side 0: A
      {1, {300, 2, 1}, 0, 300, 3},    // side 1: B
      {1, {300, 2, 7}, 300, 300, 3},  // any other: both
      {2, {300, 2, 5}, 300, 0, 5},    // no strength B: its default
      {3, {300, 2, 5, 9}, 300, 9, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "version " << c.version << ", word " << c.fields[2]);
    auto read =
        ReadBrush<DS_PerspectiveFX>(OldRecord(u"DS_PerspectiveFX", c.version, c.fields, lineOf));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->strengthA.Value(), c.a);
    EXPECT_EQ(read->strengthB.Value(), c.b);
    EXPECT_FLOAT_EQ(read->strengthB.Scaled(), float(c.b) * 0.002f) << "told, so scaled";
    EXPECT_EQ(read->swingMode.Value(), c.mode);
    EXPECT_FLOAT_EQ(read->tilt.Scaled(), 20.0f);
  }
}

// The direction base, under a kind of the test's own (the library's direction kinds come later).
class TestDirectionBrush : public DS_DirectionBased {
 public:
  void Draw(DS_2D_Light&) override {}
  std::unique_ptr<DS_FX_Constructor> Clone() const override {
    return std::make_unique<TestDirectionBrush>(*this);
  }
};

TEST_F(BrushRecordsTest, DirectionBaseKeepsItsUnitDirection) {
  TestDirectionBrush brush;
  EXPECT_NEAR(brush.direction.x, 1.0f, 1e-6f);
  EXPECT_NEAR(brush.direction.y, 0.0f, 1e-6f);
  struct Case {
    unsigned angle;
    float x, y;
  };
  for (const Case c : {Case{0, 1, 0}, Case{90, 0, -1}, Case{450, 0, -1}, Case{180, -1, 0},
                       Case{0xFFFFFFFFu, 0.9998477f, 0.0174524f}}) {
    SCOPED_TRACE(c.angle);
    brush.directionAngle.SetValue(c.angle);
    EXPECT_NEAR(brush.direction.x, c.x, 1e-6f);
    EXPECT_NEAR(brush.direction.y, c.y, 1e-6f);
  }

  brush.baseStrength.SetValue(70);
  brush.directionAngle.SetValue(90);
  const auto bytes = Written([&](DS_IOF_Archive& a) { brush.Save(a); });
  TestDirectionBrush read;
  ReadArchive source(bytes);
  read.ReadBody(source.archive(), ReadBaseHeader(source.archive()));
  EXPECT_FALSE(source.archive().Failed());
  EXPECT_EQ(source.Remaining(), 0u);
  EXPECT_EQ(read.baseStrength.Value(), 70u);
  EXPECT_EQ(read.directionAngle.Value(), 90u);
  EXPECT_EQ(read.direction, TestDirectionBrush().direction) << "stored straight: not followed";
  const std::unique_ptr<DS_FX_Constructor> copy = read.Clone();
  auto& turned = static_cast<TestDirectionBrush&>(*copy);
  EXPECT_NEAR(turned.direction.y, -1.0f, 1e-6f) << "the copy computes it";
  turned.directionAngle.SetValue(180);
  EXPECT_NEAR(turned.direction.x, -1.0f, 1e-6f) << "and follows its own angle";
}

}  // namespace
}  // namespace fx_test
