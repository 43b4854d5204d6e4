// The run-time object of the 3D models: its parts, its copies following the count, its motion
// clock and its draws.
#include "core/list_limits.h"
#include "model_fixture.h"
#include "objects/text3d/ac_butterfly.h"
#include "objects/text3d/ds_butterfly_constructor.h"
#include "objects/text3d/ds_clock_constructor.h"

namespace model_test {
namespace {

using ModelArray = ModelTest;

// The steering controller of a copy's root.
AC_Butterfly& Steering(const FrameTree& tree) {
  return dynamic_cast<AC_Butterfly&>(*tree->modifier);
}

TEST_F(ModelArray, CountZeroHasNoCopyButLoadedParts) {
  DS_ButterflyConstructor butterflies;
  butterflies.count.SetValue(0);
  auto model = MakeModel(butterflies);
  ASSERT_NE(model, nullptr);
  EXPECT_TRUE(model->Instances().empty());
  ASSERT_EQ(model->Parts().size(), 2u);
  for (const MeshPart& part : model->Parts()) {
    EXPECT_TRUE(part.vertices.buffer) << "the library's meshes stand in";
    EXPECT_TRUE(part.placements.empty());
  }
  EXPECT_FALSE(model->Parts()[0].twoSided);
  EXPECT_TRUE(model->Parts()[1].twoSided) << "the wing";
  model->Update(0.1f);
  ClearLog();
  model->Draw(renderer_);
  EXPECT_TRUE(Log().empty()) << "nothing to draw";
}

TEST_F(ModelArray, CopiesFollowTheCountOldestFirstOut) {
  DS_ButterflyConstructor butterflies;
  butterflies.count.SetValue(2);
  auto model = MakeModel(butterflies);
  DS_3D_Obj_Ctrl& clone = model->Description();
  ASSERT_EQ(model->Instances().size(), 2u);
  TransformNode* first = model->Instances().front().get();
  TransformNode* second = model->Instances().back().get();
  for (float t = 0.1f; t < 2.0f; t += 0.1f)
    model->Update(t);
  const float flap = Steering(model->Instances().front()).flapAngle;

  clone.count.SetValue(3);
  ASSERT_EQ(model->Instances().size(), 3u);
  EXPECT_EQ(model->Instances().front().get(), first);
  EXPECT_EQ(std::next(model->Instances().begin())->get(), second);
  EXPECT_EQ(Steering(model->Instances().front()).flapAngle, flap) << "its state kept";
  TransformNode* third = model->Instances().back().get();
  // Part 0 at every root in order; part 1 at every wing, the newest copy's first.
  EXPECT_EQ(model->Parts()[0].placements, (std::list<TransformNode*>{first, second, third}));
  ASSERT_EQ(model->Parts()[1].placements.size(), 6u);
  EXPECT_EQ(model->Parts()[1].placements.front(), third->children.front());
  EXPECT_EQ(model->Parts()[1].placements.back(), first->children.back());

  clone.count.SetValue(1);
  ASSERT_EQ(model->Instances().size(), 1u);
  EXPECT_EQ(model->Instances().front().get(), third) << "the first two went";
  EXPECT_EQ(model->Parts()[0].placements.size(), 1u);
  EXPECT_EQ(model->Parts()[1].placements.size(), 2u);
}

TEST_F(ModelArray, AStoredCountStopsAtTheLimit) {
  DS_ClockConstructor clocks;
  clocks.count.RawValue() = 0xFFFFFFFFu;
  auto model = MakeModel(clocks);
  EXPECT_EQ(model->Instances().size(), kMaxParticlesPerList);
}

TEST_F(ModelArray, TheMotionClockStepsForwardsAndStopsAtRateZero) {
  DS_ButterflyConstructor butterflies;
  auto model = MakeModel(butterflies);
  DS_3D_Obj_Ctrl& clone = model->Description();
  model->Update(10.0f);
  EXPECT_FLOAT_EQ(clone.motionStep, 50 * 0.02f * 0.2f) << "a first step of at most 0.2 s";
  const float elapsed = clone.motionElapsed;
  model->Update(5.0f);
  EXPECT_FLOAT_EQ(clone.motionElapsed - elapsed, 50 * 0.02f * 0.2f) << "5 s back";
  EXPECT_EQ(clone.motionLastTime, 5.0f);

  clone.motionRate.SetValue(0);
  const D3DXMATRIX world = model->Instances().front()->world;
  const float flap = Steering(model->Instances().front()).flapAngle;
  model->Update(5.1f);
  EXPECT_EQ(clone.motionStep, 0.0f);
  EXPECT_EQ(Steering(model->Instances().front()).flapAngle, flap);
  EXPECT_EQ(model->Instances().front()->world, world) << "frozen";
}

}  // namespace
}  // namespace model_test
