#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/crt_rand.h"
#include "core/param/media_quad.h"
#include "geometry/curve/curve_sample.h"
#include "particles/classic/routines/age_routines.h"
#include "particles/classic/routines/color_routine.h"
#include "particles/classic/routines/interaction_routines.h"
#include "particles/classic/routines/motion_routines.h"
#include "particles/classic/routines/oscillation_routines.h"
#include "particles/classic/routines/path_routines.h"
#include "particles/classic/routines/value_routines.h"

namespace {

DS_SafePtr<RoutineParticle> NewParticle(D3DXVECTOR3 at = {0, 0, 0}) {
  return DS_SafePtr<RoutineParticle>(std::make_unique<RoutineParticle>(at));
}

// A routine that notes the steps it is given and answers as told.
class StepLog : public InnerParticleRoutine {
 public:
  explicit StepLog(std::vector<float>* steps, bool answer = true)
      : steps_(steps), answer_(answer) {}
  bool Apply(float dt, RoutineParticle&) override {
    steps_->push_back(dt);
    return answer_;
  }

 private:
  std::vector<float>* steps_;
  bool answer_;
};

TEST(RoutineParticle, UpdateRunsTheLifeFirstThenTheRoutinesUntilOneFails) {
  auto p = NewParticle();
  p->Update(0.1f);
  EXPECT_EQ(p->direction, D3DXVECTOR3(0, 1, 0)) << "at rest the particle points down +y";
  EXPECT_EQ(p->normal, D3DXVECTOR3(-1, 0, 0));

  std::vector<float> first, second;
  p->multipliers = {5, 5, 5, 5, 5, 5, 5};
  p->force = {1, 2, 3};
  p->velocity = {0, -3, 0};
  p->AddRoutine(MakeRoutine<StepLog>(&first, false), false);
  p->AddRoutine(MakeRoutine<StepLog>(&second), false);
  EXPECT_FALSE(p->Update(0.25f));
  EXPECT_EQ(first, std::vector<float>{0.25f});
  EXPECT_TRUE(second.empty()) << "routines after a failing one do not run";
  EXPECT_EQ(p->multipliers[3], 1.0f);
  EXPECT_EQ(p->force, D3DXVECTOR3(0, 0, 0));
  EXPECT_EQ(p->direction, D3DXVECTOR3(0, -1, 0)) << "direction still follows the velocity";

  std::vector<float> life;
  auto q = NewParticle();
  q->SetLifeRoutine(MakeRoutine<StepLog>(&life, false));
  q->AddRoutine(MakeRoutine<StepLog>(&second), false);
  EXPECT_FALSE(q->Update(0.5f));
  EXPECT_EQ(life, std::vector<float>{0.5f});
  EXPECT_TRUE(second.empty()) << "a dead life routine ends the step";
}

TEST(RoutineParticle, AddRoutineAppliesAtOnceWithAStepOfZeroWhenAsked) {
  std::vector<float> steps;
  auto p = NewParticle();
  p->AddRoutine(MakeRoutine<StepLog>(&steps), true);
  p->AddRoutine(MakeRoutine<StepLog>(&steps), false);
  EXPECT_EQ(steps, std::vector<float>{0.0f});
  EXPECT_EQ(p->routines.size(), 2u);
}

TEST(RoutineParticle, ValueIndicesCountFromTheAge) {
  auto p = NewParticle();
  EXPECT_EQ(p->ValueAt(0), &p->age);
  EXPECT_EQ(p->ValueAt(3), &p->spinFactor);
  EXPECT_EQ(p->ValueAt(6), &p->lateralUnit);
  EXPECT_EQ(p->ValueAt(7 + 5), &p->multipliers[5]);
  EXPECT_EQ(p->ValueAt(14), nullptr);
  EXPECT_EQ(p->ValueAt(-1), nullptr);
}

TEST(UpdateRoutineParticles, DropsTheDeadAndKeepsTheOrder) {
  RoutineParticleList list;
  for (float lifetime : {1.0f, 0.05f, 2.0f, 0.0f}) {
    auto p = NewParticle({lifetime, 0, 0});
    p->SetLifeRoutine(MakeRoutine<IPR_ConstantAge>(lifetime));
    list.push_back(p);
  }
  UpdateRoutineParticles(list, 0.1f);
  std::vector<float> left;
  for (const auto& p : list)
    left.push_back(p->position.x);
  EXPECT_EQ(left, (std::vector<float>{1.0f, 2.0f}));
}

TEST(AgeRoutines, ConstantAgeLivesThroughItsLifetime) {
  auto p = NewParticle();
  IPR_ConstantAge age(2.0f);
  for (int step = 1; step <= 4; ++step)
    EXPECT_TRUE(age.Apply(0.5f, *p)) << step;
  EXPECT_FALSE(age.Apply(0.5f, *p)) << "dies in the fifth step";
  EXPECT_EQ(age.Limit(), 2.0f);

  UINTSclaleTo<float> speed(3, 1.0f, 0.0f);
  IPR_ConstDistance distance(6.0f, &speed);
  auto q = NewParticle();
  EXPECT_TRUE(distance.Apply(2.0f, *q));
  EXPECT_EQ(q->age, 6.0f);
  EXPECT_FALSE(distance.Apply(0.1f, *q));

  std::vector<CurveSample> samples;
  AppendCurveSample(samples, {0, 0, 0}, {1, 0, 0});
  AppendCurveSample(samples, {3, 0, 0}, {1, 0, 0});
  AppendCurveSample(samples, {3, 4, 0}, {0, 1, 0});
  EXPECT_EQ(IPR_ConstPath(&samples, &speed).Limit(), 7.0f);
}

TEST(MotionRoutines, KinematicAirAndWind) {
  auto p = NewParticle();
  p->acceleration = {0, -10, 0};
  p->velocity = {5, 0, 0};
  IPR_Kinematic().Apply(0.1f, *p);
  EXPECT_NEAR(p->position.x, 0.5f, 1e-6f);
  EXPECT_NEAR(p->position.y, -0.05f, 1e-6f);
  EXPECT_NEAR(p->velocity.x, 5.0f, 1e-6f);
  EXPECT_NEAR(p->velocity.y, -1.0f, 1e-6f);

  p->force = {0, 0, 0};
  IPR_AirResist(0.5f).Apply(0.1f, *p);
  IPR_Wind({10, 0, 0}, 0.25f).Apply(0.1f, *p);
  EXPECT_NEAR(p->force.x, -2.5f + (10 - 5) * 0.25f, 1e-6f);
  EXPECT_NEAR(p->force.y, 0.5f + 1 * 0.25f, 1e-6f);
}

TEST(ValueRoutines, IncrementAddsWhatRemainsAtTheRate) {
  auto p = NewParticle();
  IPR_Increment up(7 + 4, 0.0f, 3.0f, -2.0f);  // multiplier 4, going down
  p->age = 1.0f;
  up.Apply(0, *p);
  EXPECT_EQ(p->multipliers[4], -1.0f) << "1 + min(3, 2) with the rate's sign";
  p->age = 3.0f;
  up.Apply(0, *p);
  EXPECT_EQ(p->multipliers[4], -2.0f) << "only the remaining 1";
  up.Apply(0, *p);
  EXPECT_EQ(p->multipliers[4], -2.0f) << "nothing remains";
}

TEST(ValueRoutines, IncrementMRampsBetweenItsAges) {
  IPR_IncrementM ramp(2, 1.0f, 0.0f, 1.0f, 2.0f);
  for (const auto& [age, expected] : std::vector<std::pair<float, float>>{
           {0.5f, 1.0f}, {1.5f, 0.5f}, {2.0f, 0.0f}, {3.0f, 0.0f}}) {
    auto p = NewParticle();
    p->age = age;
    ramp.Apply(0, *p);
    EXPECT_FLOAT_EQ(p->multipliers[2], expected) << age;
  }
}

TEST(ValueRoutines, HarmonicAndPerlinScaleTheirMultiplier) {
  auto p = NewParticle();
  p->age = 0.5f;
  IPR_Harmonic(1, 0.25f, 0.5f, 2.0f, 0.5f).Apply(0, *p);
  EXPECT_FLOAT_EQ(p->multipliers[1], std::cos(0.5f * 2.0f + 0.25f) * 0.5f + 0.5f);

  crt_srand(5);
  auto q = NewParticle();
  IPR_Perlin perlin(3.0f, *q, 2, 2.0f, 0.25f);
  const float once = q->multipliers[2];
  EXPECT_NE(once, 1.0f) << "the constructor applies it once";
  crt_srand(5);
  const int r = crt_rand() % 32767;
  EXPECT_EQ(perlin.noise->seed, r * r + 2);
  EXPECT_EQ(perlin.noise->amplitude, 1.0f);
  q->multipliers[2] = 1.0f;
  perlin.Apply(0.5f, *q);
  EXPECT_EQ(perlin.noiseTime, 0.5f);
  EXPECT_GE(q->multipliers[2], 0.25f - 1.75f);
  EXPECT_LE(q->multipliers[2], 0.25f + 1.75f);
}

TEST(OscillationRoutines, AttachFollowsTheMode) {
  OscillationParams block;
  auto p = NewParticle();
  AttachScaleRoutine(block, 1, *p);
  EXPECT_TRUE(p->routines.empty()) << "mode 0 attaches nothing";

  block.mode.RawValue() = OscillationParams::kHarmonic;
  block.amplitude.SetValue(0);
  AttachScaleRoutine(block, 1, *p);
  ASSERT_EQ(p->routines.size(), 1u);
  EXPECT_EQ(p->multipliers[1], 1.0f) << "amplitude 0 scales by a constant 1";

  block.amplitude.SetValue(100);  // 0.5
  crt_srand(9);
  auto q = NewParticle();
  q->age = 0.3f;
  AttachOffsetRoutine(block, 4, *q);
  crt_srand(9);
  const float phase = crt_rand_unit() * 6.2831855f;
  EXPECT_FLOAT_EQ(q->multipliers[4], std::cos(0.3f * 5.0f + phase) * 0.5f)
      << "applied once at once, around 0";
  auto* harmonic = dynamic_cast<IPR_Harmonic*>(q->routines.front().Get());
  ASSERT_NE(harmonic, nullptr);
  EXPECT_EQ(harmonic->base, 0.0f);

  block.mode.RawValue() = OscillationParams::kPerlin;
  auto s = NewParticle();
  AttachScaleRoutine(block, 2, *s);
  auto* perlin = dynamic_cast<IPR_Perlin*>(s->routines.front().Get());
  ASSERT_NE(perlin, nullptr);
  EXPECT_EQ(perlin->base, 0.5f);
  EXPECT_EQ(perlin->noise->amplitude, 0.5f * 4 * 0.5f);
}

TEST(ColorRoutine, ModesAndTheirEdges) {
  ColorSetParams set;
  set.colors.RawValue() = {0x000000, 0x0000FF};
  set.mode1.RawValue() = 1;
  set.mode2.RawValue() = 1;  // the routine's own phase
  auto p = NewParticle();
  IPR_Color(&set, 0.5f).Apply(0, *p);
  EXPECT_EQ(p->colour, 0x00007Fu);

  // The indexed mode rounds halves to even and keeps a fraction past the life inside the list.
  set.mode1.RawValue() = 2;
  set.mode2.RawValue() = 0;  // the life fraction
  set.colors.RawValue() = {0x11, 0x22, 0x33};
  struct Case {
    float age;
    uint32_t colour;
  } cases[] = {{0.25f, 0x11}, {0.75f, 0x33}, {0.3f, 0x22}, {3.0f, 0x33}, {-1.0f, 0x11}};
  for (const Case& c : cases) {
    auto q = NewParticle();
    q->age = c.age;  // no life routine: the limit is 1
    IPR_Color(&set, 0).Apply(0, *q);
    EXPECT_EQ(q->colour, c.colour) << c.age;
  }
  auto life = NewParticle();
  life->SetLifeRoutine(MakeRoutine<IPR_ConstantAge>(4.0f));
  life->age = 2.0f;
  IPR_Color(&set, 0).Apply(0, *life);
  EXPECT_EQ(life->colour, 0x22u) << "age over the life's limit";

  set.mode1.RawValue() = 0;
  IPR_Color(&set, 0).Apply(0, *life);
  EXPECT_EQ(life->colour, 0x11u);

  set.colors.RawValue().clear();
  auto fresh = NewParticle();
  IPR_Color(&set, 0).Apply(0, *fresh);
  EXPECT_EQ(fresh->colour, 0xFFFFFFu) << "no colours: the particle keeps its white";
}

TEST(Interactions, CrossQuadIsTrueOutsideTheRectangle) {
  MediaQuad quad;
  quad.SetRect(10, 10, {5, 5, 0});
  PRC_CrossQuad outside(quad);
  struct Case {
    D3DXVECTOR3 at;
    bool outside;
  } cases[] = {{{5, 5, 0}, false},
               {{11, 5, 0}, true},
               {{5, -1, 0}, true},
               {{-1, 5, 0}, true},
               {{5, 11, 0}, true}};
  for (const Case& c : cases) {
    auto p = NewParticle(c.at);
    p->multipliers[RoutineParticle::kAlong] = p->multipliers[RoutineParticle::kAcross] = 0;
    EXPECT_EQ(outside.Test(0, *p), c.outside) << c.at.x << "," << c.at.y;
  }
  // The drawn centre counts: moved along its direction by the along multiplier.
  auto moved = NewParticle({5, 5, 0});
  moved->Update(0);  // direction (0, 1), normal (-1, 0)
  moved->multipliers[RoutineParticle::kAlong] = 7;
  moved->multipliers[RoutineParticle::kAcross] = 0;
  EXPECT_TRUE(outside.Test(0, *moved));
  EXPECT_FALSE(PRC_OR().Test(0, *moved)) << "no conditions";

  IPR_InteractionRoutine dies(DS_SafePtr<RoutineCondition>(std::make_unique<PRC_CrossQuad>(quad)),
                              DS_SafePtr<RoutineAction>(std::make_unique<PRA_Die>()));
  EXPECT_FALSE(dies.Apply(0, *moved));
  auto inside = NewParticle({5, 5, 0});
  EXPECT_TRUE(dies.Apply(0, *inside));
  EXPECT_TRUE(IPR_InteractionRoutine().Apply(0, *moved)) << "without condition and action";
}

TEST(PathRoutines, TrackerPointAndIndexedPoint) {
  std::vector<CurveSample> samples;
  AppendCurveSample(samples, {0, 0, 0}, {1, 0, 0});
  AppendCurveSample(samples, {10, 0, 0}, {1, 0, 0});
  AppendCurveSample(samples, {20, 0, 0}, {1, 0, 0});
  MediaParamTB<unsigned> offset(2);
  UINTSclaleTo<float> speed(4, 1.0f, 0.0f);

  auto p = NewParticle();
  p->lateralUnit = 0.5f;  // lateral offset 1 x 0.5 x 2 = 1, to the right of +x: -y
  IPR_PathTracker tracker(&offset, DS_SafePtr<CurveCursor>(std::make_unique<CurveCursor>(&samples)),
                          &speed, 1.5f);
  EXPECT_EQ(tracker.Limit(), 20.0f);
  EXPECT_TRUE(tracker.Apply(2.0f, *p));  // 1.5 x 2 x 4 = 12
  EXPECT_EQ(p->age, 12.0f);
  EXPECT_NEAR(p->position.x, 12.0f, 1e-5f);
  EXPECT_NEAR(p->position.y, -1.0f, 1e-5f);
  EXPECT_FALSE(tracker.Apply(2.0f, *p)) << "past the end";

  auto q = NewParticle();
  q->lateralUnit = 0.5f;
  q->age = 15.0f;
  IPR_PathPoint point(&offset, DS_SafePtr<CurveCursor>(std::make_unique<CurveCursor>(&samples)));
  EXPECT_TRUE(point.Apply(0, *q));
  EXPECT_NEAR(q->position.x, 15.0f, 1e-5f);
  EXPECT_EQ(q->pathIndex, 1);

  IPR_IndexedPathPoint indexed(&offset,
                               DS_SafePtr<CurveCursor>(std::make_unique<CurveCursor>(&samples)));
  q->pathIndex = 9;
  EXPECT_TRUE(indexed.Apply(0, *q));
  EXPECT_EQ(q->position, D3DXVECTOR3(20, -1, 0)) << "the index is kept inside the samples";
  EXPECT_EQ(q->velocity, D3DXVECTOR3(1, 0, 0));

  std::vector<CurveSample> one(1);
  IPR_IndexedPathPoint short_(&offset,
                              DS_SafePtr<CurveCursor>(std::make_unique<CurveCursor>(&one)));
  EXPECT_FALSE(short_.Apply(0, *q));
}

}  // namespace
