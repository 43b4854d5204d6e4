#include <gtest/gtest.h>

#include <memory>

#include "behaviour_classes.h"
#include "effect_records.h"
#include "geometry/gradient/zkw_vgradient_circular.h"
#include "particles/behaviour/effects/color_effects.h"
#include "particles/behaviour/effects/multiplier_effects.h"

namespace {

class GradientEffects : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterBehaviourTestClasses(); }
};

// The default linear gradient runs from 1 at (0, 0, 0) to 0 at (100, 100, 0).
TEST_F(GradientEffects, ColorGradientGivesAllChildrenOfAParentOneColour) {
  ZKW_PtclSysEffect<ZKW_PtclSysEff_ColorGradient> effect;
  struct Case {
    D3DXVECTOR3 parentAt;
    float want;  // each channel; the default colour gradient at 1 - g
  };
  for (const Case& c :
       {Case{{0, 0, 0}, 1.0f}, Case{{50, 50, 0}, 127.0f / 255.0f}, Case{{200, 200, 0}, 0.0f}}) {
    const ParticleHandle parent = MakeChildParticle({});
    parent->Position() = c.parentAt;
    // Children far apart: were their own positions sampled, they would differ.
    for (const D3DXVECTOR3& own : {D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(100, 100, 0)}) {
      const ParticleHandle child = MakeChildParticle(parent);
      child->Position() = own;
      const auto clone = effect.Clone();
      clone->ApplyToParticle(nullptr, child.Get());
      const D3DXVECTOR3& colour = child->vectors[ParticleRecord::kColour];
      EXPECT_FLOAT_EQ(colour.x, c.want) << c.parentAt.x << " child at " << own.x;
      EXPECT_FLOAT_EQ(colour.y, c.want);
      EXPECT_FLOAT_EQ(colour.z, c.want);
    }
  }
}

TEST_F(GradientEffects, WithoutAParentOrAGradientTheParticleIsLeftAlone) {
  ZKW_PtclSysEffect<ZKW_PtclSysEff_ColorGradient> colour;
  ZKW_PtclSysEffect<ZKW_PtclSysEff_Gradient> factor;
  factor.parameterIndex = ParticleRecord::kScale;
  auto check = [&](ParticleRecord& p, const char* what) {
    p.vectors[ParticleRecord::kColour] = D3DXVECTOR3(0.1f, 0.2f, 0.3f);
    p.floats[ParticleRecord::kScale] = 2.0f;
    colour.Apply(0.0f, &p);
    factor.Apply(0.0f, &p);
    EXPECT_FLOAT_EQ(p.vectors[ParticleRecord::kColour].x, 0.1f) << what;
    EXPECT_FLOAT_EQ(p.vectors[ParticleRecord::kColour].z, 0.3f) << what;
    EXPECT_FLOAT_EQ(p.floats[ParticleRecord::kScale], 2.0f) << what;
  };
  ParticleRecord orphan(D3DXVECTOR3(50, 50, 0));
  check(orphan, "no parent");

  const ParticleHandle parent = MakeChildParticle({});
  parent->Position() = D3DXVECTOR3(50, 50, 0);
  const ParticleHandle child = MakeChildParticle(parent);
  colour.gradient.SetValue(DS_SafePtr<ZKW_VGradient>());
  factor.gradient.SetValue(DS_SafePtr<ZKW_VGradient>());
  check(*child, "no gradient");
}

TEST_F(GradientEffects, TheGradientMultiplierScalesByTheValueAtTheParent) {
  const ParticleHandle parent = MakeChildParticle({});
  parent->Position() = D3DXVECTOR3(25, 25, 0);  // the default linear gradient gives 0.75
  ZKW_PtclSysEffect<ZKW_PtclSysEff_Gradient> factor;
  factor.parameterIndex = ParticleRecord::kScale;
  const ParticleHandle child = MakeChildParticle(parent);
  child->Position() = D3DXVECTOR3(100, 100, 0);
  child->floats[ParticleRecord::kScale] = 2.0f;
  factor.Apply(0.0f, child.Get());
  EXPECT_FLOAT_EQ(child->floats[ParticleRecord::kScale], 1.5f);

  // A circular gradient: 1 at the centre, 0.5 on and beyond the rim 10 away.
  auto circular = std::make_unique<ZKW_VGradient_Circular>();
  circular->end.SetValue(D3DXVECTOR3(10, 0, 0));
  circular->endValue.SetValue(50);
  factor.gradient.SetValue(DS_SafePtr<ZKW_VGradient>(std::move(circular)));
  factor.mode = 1;
  factor.parameterIndex = ParticleRecord::kScaleXYZ;
  factor.xWeight = 1.0f;
  parent->Position() = D3DXVECTOR3(0, 5, 0);  // 0.75
  child->vectors[ParticleRecord::kScaleXYZ] = D3DXVECTOR3(4, 4, 4);
  factor.Apply(0.0f, child.Get());
  EXPECT_FLOAT_EQ(child->vectors[ParticleRecord::kScaleXYZ].x, 3.0f);
  EXPECT_FLOAT_EQ(child->vectors[ParticleRecord::kScaleXYZ].y, 4.0f) << "weight 0";
}

TEST_F(GradientEffects, ClonesShareTheGradientAndTheColourSource) {
  ZKW_PtclSysEffect<ZKW_PtclSysEff_ColorGradient> colour;
  EXPECT_EQ(colour.source->mode.Value(), 1);
  const auto colourClone = colour.Clone();
  auto& c = dynamic_cast<ZKW_PtclSysEff_ColorGradient&>(*colourClone);
  EXPECT_EQ(c.gradient.Gradient(), colour.gradient.Gradient());
  EXPECT_EQ(c.source.Get(), colour.source.Get());

  ZKW_PtclSysEffect<ZKW_PtclSysEff_Gradient> factor;
  const auto factorClone = factor.Clone();
  EXPECT_EQ(dynamic_cast<ZKW_PtclSysEff_Gradient&>(*factorClone).gradient.Gradient(),
            factor.gradient.Gradient());
}

TEST_F(GradientEffects, BothKindsReadBack) {
  ZKW_PtclSysEffect<ZKW_PtclSysEff_ColorGradient> colour;
  colour.name = u"by parent";
  colour.source->gradient.RawValue().second = {{0.0f, 0x0000FFu}, {0.6f, 0x00FF00u}};
  auto circular = std::make_unique<ZKW_VGradient_Circular>();
  circular->start.SetValue(D3DXVECTOR3(1, 2, 3));
  circular->startValue.SetValue(30);
  colour.gradient.SetValue(DS_SafePtr<ZKW_VGradient>(std::move(circular)));
  ZKW_PtclSysEffect<ZKW_PtclSysEff_Gradient> factor;
  factor.parameterIndex = 5;
  factor.mode = 1;
  factor.yWeight = 0.25f;
  ExpectEachReadsBack({&colour, &factor});

  bool whole = false;
  const auto read = Read(Written(colour), &whole);
  const auto* back = dynamic_cast<const ZKW_PtclSysEff_ColorGradient*>(read.get());
  ASSERT_NE(back, nullptr);
  EXPECT_NE(dynamic_cast<const ZKW_VGradient_Circular*>(back->gradient.Gradient()), nullptr);
}

TEST_F(GradientEffects, AnUnregisteredGradientClassLeavesTheEffectWithoutAGradient) {
  RecordBytes r;
  DS_IOF_Archive& a = r.archive();
  WriteRecordHeader(a, u"ZKW_PtclSysEff_Gradient", 1);
  WriteRecordHeader(a, u"ZKW_VGradient_Spiral", 1);
  bool whole = true;
  const auto read = Read(r.Take(), &whole);
  EXPECT_FALSE(whole);
  // The effect itself is made before its fields are read.
  auto* factor = dynamic_cast<ZKW_PtclSysEff_Gradient*>(read.get());
  ASSERT_NE(factor, nullptr);
  EXPECT_EQ(factor->gradient.Gradient(), nullptr);
  const ParticleHandle child = MakeChildParticle(MakeChildParticle({}));
  EXPECT_EQ(factor->GetFactor(0, 0, child.Get()), 1.0f);
}

}  // namespace
