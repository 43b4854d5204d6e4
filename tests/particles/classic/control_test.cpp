#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "classic_fixture.h"
#include "core/list_limits.h"

namespace classic_test {
namespace {

class ControlTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterClassicTestClasses(); }
};

TEST_F(ControlTest, TheClockStepsBySpeedAndNeverMoreThanAFifthOfASecond) {
  StepControl control;
  control.speed.SetValue(50);
  for (float t : {1.0f, 1.1f, 1.1f, 4.1f, 2.0f})
    control.Update(t);
  ASSERT_EQ(control.emitSteps.size(), 5u);
  EXPECT_EQ(control.emitSteps[0], 0.0f) << "the first update measures from itself";
  EXPECT_NEAR(control.emitSteps[1], 0.05f, 1e-6f);
  EXPECT_EQ(control.emitSteps[2], 0.0f) << "the same time again";
  EXPECT_NEAR(control.emitSteps[3], 0.1f, 1e-6f) << "a jump of 3 s counts 0.2 x speed";
  EXPECT_EQ(control.emitSteps[4], 0.0f) << "time running back";
}

TEST_F(ControlTest, ContinuousControlsPrewarmOthersStartEmpty) {
  StepControl warm;
  warm.perStep = 1;
  warm.Restart();
  EXPECT_EQ(warm.emitSteps.size(), 51u) << "5 s in steps of 0.1 s, summed in floats";
  EXPECT_EQ(warm.emitSteps.front(), 0.1f);
  EXPECT_EQ(warm.particles.size(), 51u);

  // 10,000 particles a second warm their whole 5 s.
  StepControl busy;
  busy.perStep = 1000;
  busy.Restart();
  EXPECT_EQ(busy.emitSteps.size(), 51u);
  EXPECT_EQ(busy.particles.size(), 51000u);

  // A pre-warm longer than a day ends after its most steps.
  StepControl ages;
  ages.prewarm = 1e30f;
  ages.Restart();
  EXPECT_EQ(ages.emitSteps.size(), size_t(ZKW_ParticleSystemCtrl::kMaxPrewarmSteps));

  // Full lists warm the longest fixed time, 15 s, whole; a pre-warm of ages over full lists
  // stops once it has made its most particle updates. (The steps only report full lists.)
  class Full : public StepControl {
   public:
    uint64_t WarmStep(float step) override {
      StepControl::WarmStep(step);
      return kMaxParticlesPerList;
    }
  };
  Full rain;
  rain.prewarm = 15.0f;
  rain.Restart();
  EXPECT_EQ(rain.emitSteps.size(), 150u);
  Full flood;
  flood.prewarm = 1e30f;
  flood.Restart();
  EXPECT_EQ(flood.emitSteps.size(),
            size_t(ZKW_ParticleSystemCtrl::kMaxPrewarmParticleSteps / kMaxParticlesPerList));

  // No time, and an endless one (a speed of 0), which would never settle.
  for (float none : {0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN(),
                     std::numeric_limits<float>::infinity()}) {
    StepControl cold;
    cold.prewarm = none;
    cold.Restart();
    EXPECT_TRUE(cold.emitSteps.empty()) << none;
  }

  StepControl timed;
  timed.perStep = 1;
  timed.Advance(0.1f);
  ASSERT_EQ(timed.particles.size(), 1u);
  timed.timing.RawValue() = 1;  // a random timeline
  timed.Restart();
  EXPECT_TRUE(timed.particles.empty());
  EXPECT_EQ(timed.emitSteps.size(), 1u) << "no pre-warm";
}

TEST_F(ControlTest, NewcomersRunAheadByTheirShareOfTheStep) {
  StepControl control;
  control.perStep = 5;
  control.Advance(0.05f);
  ASSERT_EQ(control.steps.size(), 5u);
  const float expected[] = {0.0f, 0.01f, 0.02f, 0.03f, 0.04f};
  for (int i = 0; i < 5; ++i)
    EXPECT_NEAR(control.steps[i], expected[i], 1e-7f) << i;
  control.steps.clear();
  control.perStep = 0;
  control.Advance(0.02f);
  EXPECT_EQ(control.steps, std::vector<float>(5, 0.02f)) << "then every live particle a step";
}

TEST_F(ControlTest, EmissionStopsAtTheListLimit) {
  StepControl control;
  auto one = DS_SafePtr<RoutineParticle>(std::make_unique<RoutineParticle>(D3DXVECTOR3{}));
  control.particles.assign(kMaxParticlesPerList - 3, one);
  EXPECT_EQ(control.RoomFor(10), 3);
  EXPECT_EQ(control.RoomFor(-4), 0);
  control.perStep = std::numeric_limits<int>::max();
  control.Advance(0.1f);
  EXPECT_EQ(control.particles.size(), kMaxParticlesPerList);
}

std::vector<uint8_t> SavedControl(const ZKW_ParticleSystemCtrl& control) {
  return Bytes([&](DS_IOF_Archive& a) { control.Save(a); });
}

// Reads a control record (header and body) into a fresh control.
std::unique_ptr<StepControl> ReadControl(std::vector<uint8_t> bytes, uint64_t* left = nullptr) {
  auto control = std::make_unique<StepControl>();
  ReadArchive source(std::move(bytes));
  control->ReadBody(source.archive(), ReadBaseHeader(source.archive()));
  if (left != nullptr) *left = source.Remaining();
  EXPECT_FALSE(source.archive().Failed());
  return control;
}

TEST_F(ControlTest, RecordRoundTrips) {
  StepControl control;
  control.appearance.shapeName.SetValue(u"Sphere");
  control.appearance.size.SetValue(17);
  control.speed.SetValue(250);
  control.name = u"sparks";
  control.depth.SetValue(80);
  const std::vector<uint8_t> bytes = SavedControl(control);
  uint64_t left = 1;
  auto read = ReadControl(bytes, &left);
  EXPECT_EQ(left, 0u);
  EXPECT_EQ(read->appearance.shapeName.Value(), u"Sphere");
  EXPECT_EQ(read->appearance.size.Value(), 17u);
  EXPECT_FLOAT_EQ(read->speed.Scaled(), 2.5f);
  EXPECT_EQ(read->name, u"sparks");
  EXPECT_EQ(SavedControl(*read), bytes);
}

TEST_F(ControlTest, OlderRecordsConvert) {
  uint64_t left = 1;
  auto v2 = ReadControl(LegacyControl(2, {4}, true), &left);
  EXPECT_EQ(left, 0u);
  EXPECT_EQ(v2->appearance.shapeName.Value(), u"Bubble");
  EXPECT_EQ(v2->appearance.picture.Value().links.size(), 1u);
  EXPECT_EQ(v2->appearance.picture.Value().currentId, 2);
  EXPECT_EQ(v2->appearance.effectLink.id, 202);
  EXPECT_EQ(v2->appearance.frameSpeed.Value(), 30u);
  EXPECT_EQ(v2->appearance.size.Value(), 25u);
  EXPECT_EQ(v2->appearance.colorSet.colors.Value().front(), 0x00FF00u);
  EXPECT_EQ(v2->appearance.colorSet.opacity.Value(), 10u);
  EXPECT_EQ(v2->appearance.flipVertical.Value(), 1);
  EXPECT_EQ(v2->appearance.glowPasses.Value(), 2) << "fields the version lacks stay";
  EXPECT_EQ(v2->speed.Value(), 100u);

  auto v3 = ReadControl(LegacyControl(3, {}, true), &left);
  EXPECT_EQ(left, 0u);
  EXPECT_EQ(v3->appearance.shapeName.Value(), u"") << "an empty shape list names nothing";
  auto v3b = ReadControl(LegacyControl(3, {5, 1}, true), &left);
  EXPECT_EQ(left, 0u);
  EXPECT_EQ(v3b->appearance.shapeName.Value(), u"Rain dreop");

  // Without links the picture keeps its current name and id.
  auto v4 = std::make_unique<StepControl>();
  v4->appearance.picture.RawValue().currentName = u"kept.png";
  v4->appearance.picture.RawValue().currentId = 9;
  ReadArchive source(LegacyControl(4, {9}, false));
  v4->ReadBody(source.archive(), ReadBaseHeader(source.archive()));
  EXPECT_EQ(source.Remaining(), 0u);
  EXPECT_EQ(v4->appearance.picture.Value().currentName, u"kept.png");
  EXPECT_EQ(v4->appearance.picture.Value().currentId, 9);
  EXPECT_EQ(v4->appearance.shapeName.Value(), u"");
  EXPECT_EQ(v4->speed.Value(), 300u);
}

TEST_F(ControlTest, TheRuntimeCopyIsAttachedAndACopyOfItHasNoWatches) {
  StepControl description;
  description.perStep = 1;
  std::unique_ptr<ZKW_RenderObj> object = description.CreateRuntimeObject();
  auto* mech = dynamic_cast<ZKW_ParticleSystemMech*>(object.get());
  ASSERT_NE(mech, nullptr);
  auto* clone = dynamic_cast<StepControl*>(mech->ctrl);
  ASSERT_NE(clone, nullptr);
  EXPECT_NE(clone, &description);
  EXPECT_EQ(clone->mech, mech);
  EXPECT_EQ(clone->callbacks.Size(), 1u) << "the picture is watched";
  EXPECT_EQ(clone->particles.size(), 51u) << "restarted: pre-warmed";
  EXPECT_TRUE(description.particles.empty());
  EXPECT_EQ(mech->GetObjectKind(), DS_ABObj_Constructor::kParticleSystemKind);

  StepControl copy(*clone);
  EXPECT_EQ(copy.callbacks.Size(), 0u);
  EXPECT_EQ(copy.particles.size(), 51u) << "copies share the particles";
  EXPECT_EQ(copy.particles.front().Count(), 2);

  // A changed picture reloads and gives every particle a new cell.
  for (const auto& p : clone->particles)
    p->atlasCell = {9, 9, 9, 9};
  DS_NamedFileLinkData picture({DS_ImageFileLink(u"other.png", 1)});
  picture.valueA = 2;
  clone->appearance.picture.SetValue(picture);
  for (const auto& p : clone->particles)
    EXPECT_EQ(p->atlasCell[0], 0.5f);

  // The screen glow reads the picture below while the object is active.
  EXPECT_EQ(mech->NeedsPictureBelow(), 0);
  clone->appearance.glowMode.SetValue(ParticleAppearance::kScreenGlow);
  EXPECT_EQ(mech->NeedsPictureBelow(), 1);
  mech->SetActive(false);
  EXPECT_EQ(mech->NeedsPictureBelow(), 0);
}

}  // namespace
}  // namespace classic_test
