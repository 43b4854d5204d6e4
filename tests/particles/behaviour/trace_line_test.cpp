#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "behaviour_classes.h"
#include "particles/behaviour/physics/trace_line.h"
#include "platform/math/d3dx_math.h"
#include "record_bytes.h"

namespace {

using behaviour_test::Bytes;
using behaviour_test::ExpectRoundTrip;
using behaviour_test::ReadAs;
using behaviour_test::Saved;

class TraceLine : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterBehaviourTestClasses(); }
};

ParticleHandle Emitter(const D3DXVECTOR3& at) {
  return ParticleHandle(std::make_unique<ParticleRecord>(at));
}

std::vector<D3DXVECTOR3> Positions(const PointStripe& stripe) {
  std::vector<D3DXVECTOR3> out;
  for (const ParticleHandle& p : stripe.points->particles)
    out.push_back(p->WorldPosition());
  return out;
}

TEST_F(TraceLine, AStillEmitterKeepsOneFixedPointAndAHeadThatFollows) {
  ZKW_PtclSysPhys_TraceLine trace;
  const ParticleHandle emitter = Emitter(D3DXVECTOR3(5, 0, 0));
  trace.AddTrace(emitter);
  ASSERT_EQ(trace.stripes.size(), 1u);
  EXPECT_TRUE(trace.stripes[0].points->particles.empty());

  for (int frame = 0; frame < 5; ++frame)
    EXPECT_TRUE(trace.Update(nullptr, 0.05f).empty()) << "trails make no child particles";
  ASSERT_EQ(Positions(trace.stripes[0]),
            (std::vector<D3DXVECTOR3>{D3DXVECTOR3(5, 0, 0), D3DXVECTOR3(5, 0, 0)}));
  const ParticleRecord* fixed = trace.stripes[0].points->particles[0].Get();

  // Under 3 units away the head moves along; at 3 units a point stays behind.
  struct Step {
    float x;
    size_t points;
  };
  for (const Step& s : {Step{7.9f, 2}, Step{8.0f, 3}, Step{9.0f, 3}, Step{11.5f, 4}}) {
    emitter->Position() = D3DXVECTOR3(s.x, 0, 0);
    trace.Update(nullptr, 0.05f);
    const std::vector<D3DXVECTOR3> at = Positions(trace.stripes[0]);
    ASSERT_EQ(at.size(), s.points) << "emitter at x " << s.x;
    EXPECT_EQ(at.back(), D3DXVECTOR3(s.x, 0, 0)) << "the head is at the emitter";
  }
  EXPECT_EQ(trace.stripes[0].points->particles[0].Get(), fixed) << "the first point stays";
  EXPECT_EQ(Positions(trace.stripes[0]),
            (std::vector<D3DXVECTOR3>{D3DXVECTOR3(5, 0, 0), D3DXVECTOR3(8, 0, 0),
                                      D3DXVECTOR3(11.5f, 0, 0), D3DXVECTOR3(11.5f, 0, 0)}))
      << "the old head stays where a point was left behind";
}

TEST_F(TraceLine, AJumpStartsANewTrailAndTheOldOneFadesOnItsOwn) {
  ZKW_PtclSysPhys_TraceLine trace;
  const ParticleHandle emitter = Emitter(D3DXVECTOR3(0, 0, 0));
  trace.AddTrace(emitter);
  for (const float x : {0.0f, 4.0f, 8.0f}) {
    emitter->Position().x = x;
    trace.Update(nullptr, 0.1f);
  }
  ASSERT_EQ(trace.stripes[0].points->particles.size(), 3u);

  emitter->Position().x = -20;
  emitter->flags |= ParticleRecord::kJumped;
  trace.Update(nullptr, 0.1f);
  ASSERT_EQ(trace.stripes.size(), 2u);
  EXPECT_FALSE(trace.stripes[0].owner) << "the old trail lets its emitter go";
  EXPECT_EQ(trace.stripes[0].points->particles.size(), 3u) << "and keeps its points";
  EXPECT_EQ(trace.stripes[1].owner, emitter);
  EXPECT_EQ(Positions(trace.stripes[1]), std::vector<D3DXVECTOR3>{D3DXVECTOR3(-20, 0, 0)})
      << "the new trail starts at once where the emitter landed";

  // A jump of a parent in the chain counts too.
  ParticleHandle parent = Emitter(D3DXVECTOR3(0, 0, 0));
  ZKW_PtclSysPhys_TraceLine child;
  const ParticleHandle onParent(std::make_unique<ParticleRecord>(D3DXVECTOR3(0, 0, 0), parent));
  child.AddTrace(onParent);
  child.Update(nullptr, 0.1f);
  parent->flags |= ParticleRecord::kJumped;
  child.Update(nullptr, 0.1f);
  EXPECT_EQ(child.stripes.size(), 2u);

  // Points live 1 s: the ownerless trail goes once its last point has died.
  emitter->flags &= ~ParticleRecord::kJumped;
  for (int frame = 0; frame < 8; ++frame)
    trace.Update(nullptr, 0.1f);
  EXPECT_EQ(trace.stripes.size(), 2u);
  for (int frame = 0; frame < 3; ++frame)
    trace.Update(nullptr, 0.1f);
  ASSERT_EQ(trace.stripes.size(), 1u);
  EXPECT_EQ(trace.stripes[0].owner, emitter);
}

TEST_F(TraceLine, ATrailOfADeadEmitterDrawsUntilItsPointsDie) {
  ZKW_PtclSysPhys_TraceLine trace;
  ParticleHandle emitter = Emitter(D3DXVECTOR3(0, 0, 0));
  trace.AddTrace(emitter);
  trace.AddTrace(Emitter(D3DXVECTOR3(1, 1, 0)));
  trace.AddTrace(ParticleHandle());
  trace.Update(nullptr, 0.5f);
  EXPECT_EQ(trace.stripes.size(), 2u) << "an empty trail without emitter goes at once";
  emitter->flags |= ParticleRecord::kDead;
  emitter.Release();
  trace.Update(nullptr, 0.5f);
  EXPECT_EQ(trace.stripes.size(), 2u);
  EXPECT_EQ(trace.stripes[0].points->particles.size(), 1u) << "no point is added for the dead";
  trace.Update(nullptr, 0.6f);
  EXPECT_EQ(trace.stripes.size(), 1u);
  trace.KillAll();
  EXPECT_TRUE(trace.stripes.empty());
}

TEST_F(TraceLine, PointsTakeSizeAndAlphaFromTheParametersAndTheEmitter) {
  ZKW_PtclSysPhys_TraceLine trace;
  ParticleHandle parent = Emitter(D3DXVECTOR3(0, 0, 0));
  parent->floats[ParticleRecord::kScale] = 3;
  parent->floats[ParticleRecord::kAlpha] = 0.8f;
  const ParticleHandle emitter(std::make_unique<ParticleRecord>(D3DXVECTOR3(0, 0, 0), parent));
  emitter->floats[ParticleRecord::kScale] = 0.5f;
  emitter->floats[ParticleRecord::kAlpha] = 0.5f;
  trace.AddTrace(emitter);
  const ParticleHandle point = trace.MakeTracePoint(D3DXVECTOR3(1, 2, 3), trace.stripes[0]);
  EXPECT_EQ(point->Position(), D3DXVECTOR3(1, 2, 3));
  EXPECT_EQ(point->Parent(), nullptr);
  EXPECT_FLOAT_EQ(point->floats[ParticleRecord::kScale], 20 * 0.5f * 3);
  EXPECT_FLOAT_EQ(point->floats[ParticleRecord::kAlpha], 0.5f * 0.8f);

  // The alpha envelope falls from 1 through the Bezier to 0 at the end of the point's life.
  point->Update(0.5f);
  EXPECT_GT(point->floats[ParticleRecord::kAlpha], 0.0f);
  EXPECT_LT(point->floats[ParticleRecord::kAlpha], 0.4f * 0.25f);
  EXPECT_FALSE(point->Update(0.5f)) << "a point lives 1 s";

  emitter->floats[ParticleRecord::kAlpha] = 4;
  const ParticleHandle bright = trace.MakeTracePoint(D3DXVECTOR3(), trace.stripes[0]);
  EXPECT_FLOAT_EQ(bright->floats[ParticleRecord::kAlpha], 1.0f) << "alpha is capped at 1";
}

TEST_F(TraceLine, RecordsReadBackWhateverTheirVersion) {
  ZKW_PtclSysPhys_TraceLine trace;
  trace.pointLife.value.SetValue(25);
  trace.pointSize.spread.SetValue(40);
  trace.pointAlpha.value.SetValue(50);
  ExpectRoundTrip<ZKW_PtclSysPhys_TraceLine>(trace);
  ExpectRoundTrip<ZKW_PtclSysPhys_TraceLine>(ZKW_PtclSysPhys_TraceLine());

  std::vector<uint8_t> bytes = Saved(trace);
  // The version word follows the class name.
  const size_t versionAt =
      Bytes([](DS_IOF_Archive& a) { a.io().WriteWideString(u"ZKW_PtclSysPhys_TraceLine"); }).size();
  for (const uint8_t version : {0, 9}) {
    bytes[versionAt] = version;
    bool whole = false;
    const auto read = ReadAs<ZKW_PtclSysPhys_TraceLine>(bytes, &whole);
    ASSERT_NE(read, nullptr);
    EXPECT_TRUE(whole) << "version " << int{version};
    EXPECT_FLOAT_EQ(read->pointLife.value.Scaled(), 2.5f);
    EXPECT_FLOAT_EQ(read->pointSize.spread.Scaled(), 0.6f);
  }
}

}  // namespace
