#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "behaviour_classes.h"
#include "core/math/matrix_helpers.h"
#include "particles/behaviour/particle/track_transforms.h"
#include "particles/behaviour/physics/track_physics.h"
#include "platform/math/d3dx_math.h"
#include "record_bytes.h"

namespace {

using behaviour_test::Bytes;
using behaviour_test::ExpectRoundTrip;
using behaviour_test::ReadAs;
using behaviour_test::Saved;

class Tracks : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterBehaviourTestClasses(); }
};

// A straight curve from (0, 0, 0) to (length, 0, 0).
std::unique_ptr<ZKW_VGeom2D_Curve> Line(float length) {
  std::unique_ptr<ZKW_VGeom2D> made = CreateVGeom2DByName("ZKW_VGeom2D_BSpline");
  auto* line = dynamic_cast<ZKW_VGeom2D_Curve*>(made.release());
  line->InitAsSegment(0, 0, 0, length, 0, 0);
  return std::unique_ptr<ZKW_VGeom2D_Curve>(line);
}

// A follower of `track` that is moving with `travelled` run (float parameter 0 as it would be).
template <class T>
T* Moving(ZKW_PtclSysPhys_Track& track, ParticleRecord& p, float travelled, float length) {
  track.InitNewParticle(&p);
  p.BeginFrame();
  auto* follower = dynamic_cast<T*>(p.transforms.back().Get());
  follower->travelled = travelled;
  follower->state = 2;
  follower->timer = -1.0f;
  p.floats[ParticleRecord::kLife] = travelled / length;
  return follower;
}

TEST_F(Tracks, ABouncingParticleAtOneAndAHalfLengthsIsHalfwayBack) {
  ZKW_PtclSysPhys_Track track;
  track.curve.Set(Line(100));
  track.motion.orientation.RawValue() = 1;
  ParticleRecord p;
  auto* follower = Moving<PtclTr_FollowCurve>(track, p, 140.0f, 100.0f);
  follower->Apply(0.2f, &p);  // 50 a second
  EXPECT_TRUE(follower->returning);
  EXPECT_NEAR(p.Position().x, 50.0f, 1e-3f);
  // Turned to the curve's direction there, then mirrored left-right: the first row negated.
  D3DXVECTOR3 at, d;
  track.curve.Get()->PointAtLength(50.0f, 0.0f, &at, &d);
  D3DXVec3Normalize(&d, &d);
  D3DXMATRIX turn;
  RotationZBetweenVectors(&turn, d.x, d.y, d.z, 1.0f, 0.0f, 0.0f);
  EXPECT_NEAR(p.rotationA._11, -turn._11, 1e-5f) << "mirrored on the way back";
  EXPECT_NEAR(p.rotationA._12, -turn._12, 1e-5f);
  EXPECT_NEAR(p.rotationA._21, turn._21, 1e-5f);
}

TEST_F(Tracks, APerspectiveHalfwayStandsAtSixSeventhsAndTwoSevenths) {
  ZKW_PtclSysPhys_TrackPerspective track;
  track.curve.Set(Line(70));
  track.motion.bounce.RawValue() = 0;
  ParticleRecord p;
  auto* follower = Moving<PtclTr_PerspectivePath>(track, p, 40.0f, 100.0f);
  p.floats[ParticleRecord::kScale] = 1.0f;
  follower->Apply(0.2f, &p);  // 10 of the 100 of the way
  EXPECT_NEAR(p.Position().x, 60.0f, 1e-3f);
  EXPECT_NEAR(p.floats[ParticleRecord::kScale], 2.0f / 7.0f, 1e-6f);
}

TEST_F(Tracks, APerspectiveOfDepthZeroIsAPlainTrack) {
  ZKW_PtclSysPhys_TrackPerspective track;
  track.curve.Set(Line(70));
  track.motion.bounce.RawValue() = 0;
  track.motion.depth.SetValue(0);
  ParticleRecord p;
  auto* follower = Moving<PtclTr_PerspectivePath>(track, p, 40.0f, 100.0f);
  p.floats[ParticleRecord::kScale] = 1.0f;
  follower->Apply(0.2f, &p);
  EXPECT_NEAR(p.Position().x, 35.0f, 1e-3f);
  EXPECT_EQ(p.floats[ParticleRecord::kScale], 1.0f);
}

TEST_F(Tracks, HidingLastsOnlyWhileWaiting) {
  ZKW_PtclSysPhys_Track track;
  track.curve.Set(Line(100));
  track.pauses.startPause.SetValue(100);
  track.pauses.hideAtStart.RawValue() = 1;
  ParticleRecord p(D3DXVECTOR3(5, 5, 0));
  track.InitNewParticle(&p);
  p.Update(0.5f);
  EXPECT_EQ(p.floats[ParticleRecord::kAlpha], 0.0f);
  EXPECT_EQ(p.Position(), D3DXVECTOR3(0, 0, 0)) << "waiting at the start";
  p.Update(0.7f);
  EXPECT_EQ(p.floats[ParticleRecord::kAlpha], 1.0f);
  EXPECT_NEAR(p.Position().x, 10.0f, 1e-3f) << "0.2 s of moving";
}

TEST_F(Tracks, EveryEasing) {
  const float expected[] = {0.25f, 0.14644661f, 0.0625f, 0.15625f, 0.103515625f};
  for (int easing = 0; easing <= 4; ++easing) {
    SCOPED_TRACE(easing);
    ZKW_PtclSysPhys_Track track;
    track.curve.Set(Line(100));
    track.motion.bounce.RawValue() = 0;
    track.motion.easing.RawValue() = easing;
    ParticleRecord p;
    auto* follower = Moving<PtclTr_FollowCurve>(track, p, 20.0f, 100.0f);
    EXPECT_NEAR(follower->Progress(0.1f, 100.0f, &p), expected[easing], 1e-5f);
  }
}

TEST_F(Tracks, ALoopWaitsAtTheEndAndStartsOver) {
  ZKW_PtclSysPhys_Track track;
  track.curve.Set(Line(100));
  track.motion.bounce.RawValue() = 0;
  ParticleRecord p;
  auto* follower = Moving<PtclTr_FollowCurve>(track, p, 90.0f, 100.0f);
  follower->Apply(0.4f, &p);
  EXPECT_NEAR(p.Position().x, 100.0f, 1e-3f) << "shows at the end for a step";
  follower->Apply(0.1f, &p);
  EXPECT_NEAR(p.Position().x, 15.0f, 1e-3f) << "the 10 run past the end count in the next lap";
}

TEST_F(Tracks, ACurveOfNoLengthLeavesTheParticles) {
  ZKW_PtclSysPhys_Track track;  // an empty B-spline
  ZKW_PtclSysPhys_TrackPerspective perspective;
  ZKW_PtclSysPhys_Track none;
  none.curve.Set(nullptr);
  for (ZKW_PtclSysPhys_Track* t :
       std::initializer_list<ZKW_PtclSysPhys_Track*>{&track, &perspective, &none}) {
    ParticleRecord p(D3DXVECTOR3(3, 4, 0));
    t->InitNewParticle(&p);
    for (int frame = 0; frame < 3; ++frame)
      EXPECT_TRUE(p.Update(0.1f));
    EXPECT_EQ(p.Position(), D3DXVECTOR3(3, 4, 0));
  }
}

TEST_F(Tracks, RecordsReadBack) {
  ZKW_PtclSysPhys_Track track;
  track.curve.Set(Line(80));
  track.motion.depth.SetValue(30);
  track.motion.reverse.RawValue() = 1;
  track.motion.easing.RawValue() = 3;
  track.pauses.endPause.SetValue(25);
  track.pauses.hideAtEnd.RawValue() = 1;
  ZKW_PtclSysPhys_TrackPerspective perspective;
  perspective.count.RawValue() = 4;
  ZKW_PtclSysPhys_Track none;
  none.curve.Set(nullptr);
  for (const ZKW_PtclSys_Physics* physics :
       std::initializer_list<const ZKW_PtclSys_Physics*>{&track, &perspective}) {
    ExpectRoundTrip<ZKW_PtclSys_Physics>(*physics);
  }
  bool whole = false;
  EXPECT_NE(ReadAs<ZKW_PtclSysPhys_Track>(Saved(none), &whole), nullptr);
  EXPECT_TRUE(whole);

  const std::vector<uint8_t> old = Bytes([&](DS_IOF_Archive& a) {
    WriteRecordHeader(a, u"ZKW_PtclSysPhys_Track", 1);
    Line(80)->Save(a);
    PathFollowPrm follow;
    follow.speed.SetValue(90);
    follow.bounce.RawValue() = 0;
    WritePathFollowPrm(a, follow);
    ZKW_PtclSysPhys_ConstPntGroup().Save(a);
  });
  const auto read = ReadAs<ZKW_PtclSysPhys_Track>(old, &whole);
  ASSERT_NE(read, nullptr);
  EXPECT_TRUE(whole);
  EXPECT_EQ(read->motion.speed.Value(), 90u);
  EXPECT_EQ(read->motion.bounce.Value(), 0);
  EXPECT_EQ(read->motion.depth.Value(), 50u);
  ASSERT_NE(read->curve.Get(), nullptr);
  EXPECT_NEAR(read->curve.Get()->Length(), 80.0f, 1e-3f);
}

}  // namespace
