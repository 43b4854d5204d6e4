// How a butterfly steers, flaps and decides, driven by its description's motion clock.
#include "core/crt_rand.h"
#include "model_fixture.h"
#include "objects/text3d/ac_butterfly.h"
#include "objects/text3d/ds_butterfly_constructor.h"

namespace model_test {
namespace {

class Butterfly : public ModelTest {
 protected:
  // The tree is built once the scene has its size.
  void SetUp() override {
    ModelTest::SetUp();
    tree_ = owner_.BuildFrameTree();
  }

  // Steps the tree `frames` times by `dt` of motion, the elapsed motion time held at 0 (no
  // decisions).
  void Fly(int frames, float dt) {
    owner_.motionStep = dt;
    owner_.motionElapsed = 0.0f;
    for (int i = 0; i < frames; ++i)
      tree_->UpdateWorld(nullptr);
  }
  AC_Butterfly& Steering() { return dynamic_cast<AC_Butterfly&>(*tree_->modifier); }

  DS_ButterflyConstructor owner_;
  FrameTree tree_;  // goes before its owner
};

TEST_F(Butterfly, TheTreeIsARootWithTwoWings) {
  ASSERT_EQ(tree_->children.size(), 2u);
  AC_Butterfly& steering = Steering();
  EXPECT_EQ(tree_->children.front()->modifier.get(), steering.wing1);
  EXPECT_EQ(tree_->children.back()->modifier.get(), steering.wing2);
  EXPECT_GE(steering.x, 0.0f);
  EXPECT_LE(steering.x, float(width_));
  EXPECT_EQ(steering.heading.current, steering.heading.target);
  Fly(1, 0.01f);
  // Flap 7: the first wing shows its front, the mirrored one its back.
  EXPECT_EQ(tree_->children.front()->flag, 1u);
  EXPECT_EQ(tree_->children.back()->flag, 0u);
}

// Above the view's top the butterfly wants to glide: the flap maximum drops to 0 at once, and it
// glides only once its wings are below half the flap minimum (-27.5).
TEST_F(Butterfly, AboveTheTopItGlidesOnceTheWingsAreLow) {
  AC_Butterfly& b = Steering();
  b.x = 32.0f;
  b.y = -10.0f;
  Fly(1, 0.01f);
  EXPECT_EQ(b.modeTarget, 1);
  EXPECT_EQ(b.flapMaximum, 0.0f);
  EXPECT_EQ(b.climb.target, 100.0f);
  EXPECT_EQ(b.mode, 0);
  int frames = 1;
  float before = b.flapAngle;
  while (b.mode == 0 && frames < 100) {
    before = b.flapAngle;
    Fly(1, 0.01f);
    ++frames;
  }
  ASSERT_EQ(b.mode, 1);
  EXPECT_GE(before, -27.5f);
  EXPECT_LT(b.flapAngle, -27.5f);
  EXPECT_FLOAT_EQ(b.flapSpeed, -1.6f) << "-|-160| / 100";
}

TEST_F(Butterfly, MotionRateZeroNeitherMovesNorFlapsNorDraws) {
  owner_.motionRate.SetValue(0);
  owner_.count.SetValue(2);
  auto model = MakeModel(owner_);
  std::vector<std::pair<float, float>> places;
  for (const FrameTree& tree : model->Instances()) {
    const auto& b = dynamic_cast<const AC_Butterfly&>(*tree->modifier);
    places.emplace_back(b.x, b.y);
  }
  const uint32_t state = crt_rand_state();
  for (float t = 0.0f; t < 3.0f; t += 0.1f)
    model->Update(t);
  EXPECT_EQ(crt_rand_state(), state) << "no decision drawn";
  size_t i = 0;
  for (const FrameTree& tree : model->Instances()) {
    const auto& b = dynamic_cast<const AC_Butterfly&>(*tree->modifier);
    EXPECT_EQ(std::pair(b.x, b.y), places[i++]);
    EXPECT_EQ(b.flapAngle, 0.0f);
  }
}

TEST_F(Butterfly, ItDecidesFourTimesAMotionSecond) {
  AC_Butterfly& b = Steering();
  b.x = 32.0f;
  b.y = 32.0f;
  owner_.motionStep = 0.01f;
  const uint32_t state = crt_rand_state();
  owner_.motionElapsed = 0.2f;
  tree_->UpdateWorld(nullptr);
  EXPECT_EQ(crt_rand_state(), state);
  owner_.motionElapsed = 0.3f;
  tree_->UpdateWorld(nullptr);
  EXPECT_NE(crt_rand_state(), state);
  EXPECT_EQ(b.lastDecision, 0.3f);
}

// The size in per cent scales the model, and follows the description's changes.
TEST_F(Butterfly, TheScaleFollowsTheSize) {
  AC_Butterfly& b = Steering();
  EXPECT_FLOAT_EQ(b.scale._11, 1.0f);
  owner_.size.SetValue(50);
  Fly(1, 0.0f);
  EXPECT_FLOAT_EQ(b.scale._22, 0.5f);
  EXPECT_FLOAT_EQ(tree_->world._33 * tree_->world._33 + tree_->world._31 * tree_->world._31 +
                      tree_->world._32 * tree_->world._32,
                  0.25f * 0.25f)
      << "half of the half-sized model";
}

}  // namespace
}  // namespace model_test
