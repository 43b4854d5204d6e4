#include <gtest/gtest.h>

#include <memory>

#include "behaviour_classes.h"
#include "geometry/path/bspline_point_io.h"
#include "particles/behaviour/particle/stream_transforms.h"
#include "particles/behaviour/sources/line_emitters.h"
#include "record_bytes.h"

namespace {

using behaviour_test::Bytes;
using behaviour_test::ExpectRoundTrip;
using behaviour_test::ReadAs;
using behaviour_test::Saved;

class LineEmitters : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterBehaviourTestClasses(); }
};

void StraightPath(ZKW_PSGeometry_Line& line, float length) {
  for (const D3DXVECTOR3& at : {D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(length, 0, 0)}) {
    DX_SmartPnt point;
    point.SetValueSilently(at);
    line.path.AppendPoint(point, nullptr);
  }
  line.path.Rebuild();
}

ParticleHandle Parent(float age) {
  ParticleHandle p(std::make_unique<ParticleRecord>());
  p->floats[ParticleRecord::kAge] = age;
  return p;
}

TEST_F(LineEmitters, LineParticlesTravelThePathAndDieAtItsEnd) {
  ZKW_PSGeomEmit_Line line;
  StraightPath(line, 100.0f);
  line.speed.value.SetValue(50);
  ParticleHandle parent = Parent(0.1f);
  const ParticleList made = line.Emit(0.2f, &parent);
  ASSERT_EQ(made.size(), 1u);
  EXPECT_NEAR(made[0]->Position().x, 0.0f, 1e-3f) << "stands at the path's start";
  line.UpdateParticles(1.0f);
  ASSERT_EQ(line.particles.size(), 1u);
  EXPECT_NEAR(made[0]->Position().x, 50.0f, 1.0f);
  EXPECT_NEAR(made[0]->floats[ParticleRecord::kLife], 0.5f, 0.02f);
  line.UpdateParticles(2.0f);
  EXPECT_TRUE(line.particles.empty());
}

TEST_F(LineEmitters, TrackerOnAShortCurveKeepsTheLife) {
  std::vector<CurveSample> one(1);
  ZKW_JitterParam speed;
  speed.value.SetValue(10);
  PtclTr_PathTracker tracker(DS_SafePtr<CurveCursor>(std::make_unique<CurveCursor>(&one)), &speed,
                             1.0f);
  ParticleRecord p;
  p.floats[ParticleRecord::kLife] = 0.25f;
  tracker.Apply(0.1f, &p);
  EXPECT_FLOAT_EQ(p.floats[ParticleRecord::kLife], 0.25f);
}

TEST_F(LineEmitters, PathParticlesStartOnThePath) {
  ZKW_PSGeomEmit_Path path;
  StraightPath(path, 100.0f);
  path.absoluteDirection.SetValue(1);
  path.sector.SetValue(90);
  path.speed.value.SetValue(10);
  ParticleHandle parent = Parent(0.1f);
  const ParticleList made = path.Emit(0.2f, &parent);
  ASSERT_EQ(made.size(), 1u);
  EXPECT_GE(made[0]->Position().x, 0.0f);
  EXPECT_LE(made[0]->Position().x, 100.0f);
  EXPECT_NEAR(made[0]->Position().y, 0.0f, 1e-3f);
  EXPECT_NEAR(made[0]->Velocity().y, -10.0f, 1e-3f) << "90 degrees point to -y";
}

TEST_F(LineEmitters, RecordsRoundTripAndTheOldLineReads) {
  ZKW_PSGeomEmit_Line line;
  StraightPath(line, 30.0f);
  line.count.SetValue(8);
  ExpectRoundTrip<ZKW_PSGeomEmit_Line>(line);
  ZKW_PSGeomEmit_Path path;
  StraightPath(path, 40.0f);
  path.absoluteDirection.SetValue(1);
  path.sector.SetValue(30);
  path.sector.spread.SetValue(10);
  ExpectRoundTrip<ZKW_PSGeomEmit_Path>(path);

  // Version 1: the points follow the header directly.
  const std::vector<uint8_t> old = Bytes([&](DS_IOF_Archive& a) {
    WriteRecordHeader(a, u"ZKW_PSGeomEmit_Line", 1);
    WriteBSplinePointVector(a, line.path.Value());
    line.ZKW_PSGeometry_Emitter::Save(a);
  });
  bool whole = false;
  auto read = ReadAs<ZKW_PSGeomEmit_Line>(old, &whole);
  ASSERT_NE(read, nullptr);
  EXPECT_TRUE(whole);
  EXPECT_EQ(read->path.GetCount(), 2);
  EXPECT_EQ(read->count.Value(), 8u);
  EXPECT_EQ(Saved(*read), Saved(line));
}

}  // namespace
