#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

#include "core/crt_rand.h"
#include "particles/behaviour/particle/particle_record.h"
#include "particles/behaviour/particle/particle_transforms.h"
#include "platform/math/d3dx_math.h"

namespace {

// A transform that runs a test's function and counts its calls.
class CountingTransform : public ZKW_PtclTransform {
 public:
  explicit CountingTransform(std::function<bool(ParticleRecord*)> body = {})
      : body_(std::move(body)) {}
  bool Apply(float, ParticleRecord* p) override {
    ++calls;
    return body_ ? body_(p) : true;
  }
  int calls = 0;

 private:
  std::function<bool(ParticleRecord*)> body_;
};

ParticleHandle Particle(const D3DXVECTOR3& position, const ParticleHandle& parent = {},
                        uint32_t flags = 0) {
  ParticleHandle p(std::make_unique<ParticleRecord>(position, parent));
  p->flags = flags;
  return p;
}

void ExpectNear(const D3DXVECTOR3& got, const D3DXVECTOR3& want) {
  EXPECT_NEAR(got.x, want.x, 1e-4f);
  EXPECT_NEAR(got.y, want.y, 1e-4f);
  EXPECT_NEAR(got.z, want.z, 1e-4f);
}

TEST(ParticleRecord, ResetDrawsIndexEightFirstAndSetsTheStartValues) {
  crt_srand(1);
  const int first = crt_rand(), second = crt_rand();
  crt_srand(1);
  ParticleRecord p(D3DXVECTOR3(1, 2, 3));
  EXPECT_FLOAT_EQ(p.floats[ParticleRecord::kRandom8], first / 32767.0f);
  EXPECT_FLOAT_EQ(p.floats[ParticleRecord::kRandom7], second / 32767.0f);
  ExpectNear(p.Position(), D3DXVECTOR3(1, 2, 3));
  ExpectNear(p.vectors[ParticleRecord::kDirection], D3DXVECTOR3(0, 1, 0));
  ExpectNear(p.vectors[ParticleRecord::kColour], D3DXVECTOR3(1, 1, 1));
  EXPECT_EQ(p.floats[6], 0.0f);
  EXPECT_EQ(p.floats[11], 0.0f);
  EXPECT_EQ(p.atlasCell[1], 1.0f);
  EXPECT_EQ(p.curve[3], 1.0f);
}

// Parent chains: what the world queries of a child give.
TEST(ParticleRecord, ChildrenComposeWithTheirParents) {
  struct Case {
    const char* name;
    uint32_t childFlags;
    float parentAlpha, childAlpha;
    D3DXVECTOR3 childVelocity;
    float along;
    D3DXVECTOR3 wantPosition, wantOrigin;
    float wantAlpha;
  };
  const Case cases[] = {
      {"relative",
       ParticleRecord::kRelativeToParent,
       1,
       1,
       {0, 0, 0},
       0,
       {11, 2, 0},
       {11, 2, 0},
       1},
      {"not relative", 0, 1, 1, {0, 0, 0}, 0, {1, 2, 0}, {11, 2, 0}, 1},
      {"alpha above 1", 0, 3, 0.5f, {0, 0, 0}, 0, {1, 2, 0}, {11, 2, 0}, 0.5f},
      {"both above 1", 0, 2, 2, {0, 0, 0}, 0, {1, 2, 0}, {11, 2, 0}, 1},
      {"at rest, offset along +y", 0, 1, 1, {0, 0, 0}, 5, {1, 7, 0}, {11, 2, 0}, 1},
      {"moving along x", 0, 1, 1, {4, 0, 0}, 5, {6, 2, 0}, {11, 2, 0}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ParticleHandle parent = Particle({10, 0, 0});
    const ParticleHandle child = Particle({1, 2, 0}, parent, c.childFlags);
    parent->Update(0.1f);
    AttachTransform<CountingTransform>(*parent, [&](ParticleRecord* p) {
      p->floats[ParticleRecord::kAlpha] = c.parentAlpha;
      return true;
    });
    AttachTransform<CountingTransform>(*child, [&](ParticleRecord* p) {
      p->floats[ParticleRecord::kAlpha] = c.childAlpha;
      p->floats[ParticleRecord::kAlong] = c.along;
      p->Velocity() = c.childVelocity;
      return true;
    });
    ASSERT_TRUE(parent->Update(0.0f));
    ASSERT_TRUE(child->Update(0.0f));
    ExpectNear(child->WorldPosition(), c.wantPosition);
    ExpectNear(child->WorldOrigin(), c.wantOrigin);
    EXPECT_FLOAT_EQ(child->WorldAlpha(), c.wantAlpha);
  }
}

TEST(ParticleRecord, DeathRunsEveryTransformAndFollowsTheParent) {
  // A transform failing mid-list: the later ones still run, the particle reports dead.
  const ParticleHandle p = Particle({0, 0, 0});
  auto* before = AttachTransform<CountingTransform>(*p);
  AttachTransform<CountingTransform>(*p, [](ParticleRecord*) { return false; });
  auto* after = AttachTransform<CountingTransform>(*p);
  EXPECT_FALSE(p->Update(0.1f));
  EXPECT_TRUE(p->Has(ParticleRecord::kDead));
  EXPECT_EQ(before->calls, 1);
  EXPECT_EQ(after->calls, 1);

  // A parent killed (as KillAll does): the child that dies with it stops at once, the other
  // lives on and keeps its parent alive.
  ParticleHandle parent = Particle({0, 0, 0});
  const ParticleHandle follower = Particle({0, 0, 0}, parent, ParticleRecord::kDiesWithParent);
  const ParticleHandle survivor = Particle({0, 0, 0}, parent);
  auto* followerCount = AttachTransform<CountingTransform>(*follower);
  parent->flags |= ParticleRecord::kDead;
  ParticleRecord* raw = parent.Get();
  parent.Release();
  EXPECT_FALSE(follower->Update(0.1f));
  EXPECT_EQ(followerCount->calls, 0);
  EXPECT_EQ(follower->floats[ParticleRecord::kAge], 0.0f) << "no frame begins";
  EXPECT_TRUE(survivor->Update(0.1f));
  EXPECT_EQ(survivor->Parent(), raw);
}

TEST(ParticleRecord, DetachingKeepsTheWorldMatrixOfThatMoment) {
  const ParticleHandle parent = Particle({10, 5, 0});
  const ParticleHandle child = Particle({1, 0, 0}, parent);
  parent->Update(0);
  child->Update(0);
  const D3DXMATRIX before = child->WorldMatrix();
  child->DetachFromParent();
  EXPECT_EQ(child->Parent(), nullptr);
  EXPECT_EQ(child->WorldMatrix(), before);
  parent->Position() = D3DXVECTOR3(-50, 0, 0);
  EXPECT_EQ(child->WorldMatrix(), before) << "no longer follows the former parent";
  EXPECT_EQ(parent.Count(), 1);
}

TEST(ParticleRecord, ScaleMatricesComposeUpTheChain) {
  const ParticleHandle parent = Particle({1, 0, 0});
  AttachTransform<PtclTr_PrmMultiplicator>(*parent, ParticleRecord::kScale, 2.0f);
  ASSERT_TRUE(parent->Update(0));
  D3DXVECTOR3 out;
  const D3DXVECTOR3 point(2, 0, 0);
  D3DXVec3TransformCoord(&out, &point, &parent->scaleMatrix);
  ExpectNear(out, D3DXVECTOR3(3, 0, 0));  // its own scale once, about its position

  const ParticleHandle child = Particle({0, 0, 0}, parent, ParticleRecord::kRelativeToParent);
  ASSERT_TRUE(child->Update(0));
  D3DXVec3TransformCoord(&out, &point, &child->scaleMatrix);
  // A relative child takes the parent's scale matrix.
  ExpectNear(out, D3DXVECTOR3(3, 0, 0));
}

TEST(ParticleTransforms, LifeAndAge) {
  ParticleRecord p;
  EXPECT_FALSE(PtclTr_MaxAge(0).Apply(0.1f, &p));
  EXPECT_EQ(p.floats[ParticleRecord::kLife], 0.0f) << "lifetime 0 dies without touching life";
  PtclTr_MaxAge maxAge(2);
  EXPECT_TRUE(maxAge.Apply(1.0f, &p));
  EXPECT_FALSE(maxAge.Apply(1.5f, &p));
  EXPECT_EQ(p.floats[ParticleRecord::kLife], 1.0f);

  ParticleRecord phoenix;
  EXPECT_TRUE(PtclTr_PhoenixLife(1).Apply(2.5f, &phoenix));
  EXPECT_FLOAT_EQ(phoenix.floats[ParticleRecord::kLife], 1.5f) << "1 is taken away only once";
  EXPECT_TRUE(PtclTr_PhoenixLife(0).Apply(1.0f, &phoenix));
  EXPECT_FLOAT_EQ(phoenix.floats[ParticleRecord::kLife], 1.5f);

  ParticleRecord timed;
  timed.floats[ParticleRecord::kAge] = 0.99f;
  EXPECT_TRUE(PtclTr_DieOnTimer(1).Apply(0, &timed));
  timed.floats[ParticleRecord::kAge] = 1.0f;
  EXPECT_FALSE(PtclTr_DieOnTimer(1).Apply(0, &timed));

  const ParticleHandle parent = Particle({0, 0, 0});
  parent->floats[ParticleRecord::kLife] = 0.25f;
  parent->vectors[ParticleRecord::kColour] = D3DXVECTOR3(0.5f, 0, 0);
  const ParticleHandle child = Particle({0, 0, 0}, parent);
  PtclTr_InheritAge().Apply(0, child.Get());
  PtclTr_InheritVectorPrm(ParticleRecord::kColour).Apply(0, child.Get());
  EXPECT_EQ(child->floats[ParticleRecord::kLife], 0.25f);
  EXPECT_EQ(child->vectors[ParticleRecord::kColour].x, 0.5f);
}

TEST(ParticleTransforms, KinematicIntegratesTheFramesAcceleration) {
  const ParticleHandle p = Particle({0, 0, 0});
  p->Velocity() = D3DXVECTOR3(1, 0, 0);
  AttachTransform<CountingTransform>(*p, [](ParticleRecord* q) {
    q->vectors[ParticleRecord::kAcceleration] = D3DXVECTOR3(0, 2, 0);
    return true;
  });
  AttachTransform<PtclTr_Kinematic>(*p);
  ASSERT_TRUE(p->Update(0.5f));
  ExpectNear(p->Position(), D3DXVECTOR3(0.5f, 0.25f, 0));
  ExpectNear(p->Velocity(), D3DXVECTOR3(1, 1, 0));
  const float r = 1.0f / std::sqrt(2.0f);
  ExpectNear(p->vectors[ParticleRecord::kDirection], D3DXVECTOR3(r, r, 0));
}

TEST(ParticleTransforms, MultipliersScaleTheirParameter) {
  ParticleRecord p;
  float owner = 0.5f;
  PtclTr_RefMultiplicator ref(ParticleRecord::kAlpha, &owner);
  ref.Apply(0, &p);
  owner = 0.25f;
  ref.Apply(0, &p);
  EXPECT_FLOAT_EQ(p.floats[ParticleRecord::kAlpha], 0.125f) << "read on every call";
  PtclTr_PrmMultiplicator(ParticleRecord::kScale, 3).Apply(0, &p);
  EXPECT_FLOAT_EQ(p.floats[ParticleRecord::kScale], 3.0f);
  EXPECT_TRUE(PtclTr_PrmMultiplicator(40, 3).Apply(0, &p)) << "an index outside is ignored";
}

TEST(ParticleTransforms, TheAtlasStepsOneCellPerCall) {
  UINTSclaleTo<float> fps(100, 1.0f, 0.0f);  // 0.01 s a frame, shorter than the step
  for (const int endMode : {0, 1}) {
    SCOPED_TRACE(endMode);
    MediaParamTB<int> mode(endMode);
    ParticleRecord p;
    PtclTr_TexAtlasAnimation atlas(2, 2, &fps, &mode);
    EXPECT_TRUE(atlas.Apply(0.5f, &p));
    EXPECT_EQ(p.atlasCell[0], 1.0f);
    EXPECT_TRUE(atlas.Apply(0.5f, &p));
    EXPECT_EQ(p.atlasCell[0], 0.0f);
    EXPECT_EQ(p.atlasCell[2], 1.0f);
    EXPECT_TRUE(atlas.Apply(0.5f, &p));
    EXPECT_EQ(atlas.Apply(0.5f, &p), endMode == 1) << "the end of the last row";
    EXPECT_EQ(p.atlasCell[2], 0.0f);
  }
  MediaParamTB<int> loop(1);
  ParticleRecord p;
  PtclTr_TexAtlasAnimation empty(0, 0, &fps, &loop);
  EXPECT_TRUE(empty.Apply(0.5f, &p)) << "no columns or rows count as one cell";
  EXPECT_EQ(p.atlasCell[0], 0.0f);
}

}  // namespace
