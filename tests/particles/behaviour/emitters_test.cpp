#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "behaviour_classes.h"
#include "core/crt_rand.h"
#include "core/math/random_direction.h"
#include "geometry/figure/zkw_vfigure_rect.h"
#include "geometry/figure/zkw_vfigure_sector.h"
#include "particles/behaviour/particle/stream_transforms.h"
#include "particles/behaviour/sources/emitter_kinds.h"
#include "platform/math/d3dx_math.h"
#include "record_bytes.h"

namespace {

using behaviour_test::Bytes;
using behaviour_test::ExpectRoundTrip;
using behaviour_test::ReadAs;
using behaviour_test::Saved;

class Emitters : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterBehaviourTestClasses(); }
};

// A parent particle of the given age.
ParticleHandle Parent(float age, float life = 0.0f) {
  ParticleHandle p(std::make_unique<ParticleRecord>());
  p->floats[ParticleRecord::kAge] = age;
  p->floats[ParticleRecord::kLife] = life;
  return p;
}

// The emitter part of `emitter`'s record.
std::vector<uint8_t> EmitterPart(const ZKW_PSGeometry_Emitter& emitter) {
  return Bytes([&](DS_IOF_Archive& a) { emitter.ZKW_PSGeometry_Emitter::Save(a); });
}

std::vector<uint8_t> Concat(std::vector<uint8_t> head, const std::vector<uint8_t>& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

TEST_F(Emitters, EmitCountFollowsTheSchedule) {
  ZKW_PSGeomEmit_Sector e;  // count 5, duration 1, pause 0, delay 0
  // Count 5 over a second in steps of 0.1 (ages on a decimal grid): one in every second step,
  // never two.
  int total = 0;
  for (int i = 0; i < 10; ++i) {
    const int n = e.EmitCount(0.1f, static_cast<float>(i) / 10.0f);
    EXPECT_LE(n, 1) << i;
    total += n;
  }
  EXPECT_EQ(total, 5);

  const struct {
    float delay, pause, dt, t;
    int count;
  } cases[] = {
      {0.5f, 0, 0.3f, 0.1f, 0},   // younger than the delay
      {0.5f, 0, 0.25f, 0.5f, 1},  // the first window starts at the delay
      {0, 1, 0.5f, 1.2f, 0},      // the pause of every second second
      {0, 1, 0.5f, 2.1f, 2},      // 2.1 to 2.6: the particles at 2.25 and 2.5
      {0, 1, 0.9f, 2.6f, 2},      // a step over the window's end stops at it: 2.75 and 3
      {0, 0, -1, 0.5f, 0},        // a negative step
  };
  e.count.SetValue(4);  // spacing 0.25
  for (const auto& c : cases) {
    e.delay.SetValue(c.delay);
    e.pause.SetValue(c.pause);
    EXPECT_EQ(e.EmitCount(c.dt, c.t), c.count) << c.delay << " " << c.pause << " " << c.t;
  }
  e.delay.SetValue(0);
  e.duration.SetValue(0);
  EXPECT_EQ(e.EmitCount(0.5f, 0.2f), 0) << "an empty window releases nothing";
  e.duration.SetValue(1);
  e.count.SetValue(0);
  EXPECT_EQ(e.EmitCount(0.5f, 0.2f), 0);
  e.count.SetValue(4000000000u);
  EXPECT_LE(e.EmitCount(1.0f, 0.0f), 131072) << "a count from a file stops at the ceiling";
}

TEST_F(Emitters, SectorEmitterDrawsInOrderAndMovesUnderGravity) {
  ZKW_PSGeomEmit_Sector e;
  e.sector.SetValue(90);
  e.sector.spread.SetValue(20);
  e.speed.value.SetValue(10);
  e.forces.gravityMode.SetValue(1);
  e.forces.gravity.SetValue(10);
  e.position.SetValue(D3DXVECTOR3(1, 2, 0));
  ParticleHandle parent = Parent(0.05f);
  parent->Position() = D3DXVECTOR3(100, 0, 0);

  crt_srand(5);
  const ParticleList made = e.Emit(0.2f, &parent);
  ASSERT_EQ(made.size(), 1u);
  ASSERT_EQ(e.particles.size(), 1u);

  // The draws: the particle's two numbers, the standard transforms (2 for the cell, 8 for the
  // oscillators, 3 for the spin), then the direction (the figure's point and the speed follow).
  crt_srand(5);
  for (int i = 0; i < 15; ++i)
    crt_rand();
  D3DXVECTOR3 direction;
  RandomDirection2D(&direction, 1.0f, 80.0f, 100.0f);
  const float speed = 10.0f;  // no spread: the full speed whatever the number
  const D3DXVECTOR3 v = made[0]->Velocity();
  EXPECT_NEAR(v.x, direction.x * speed, 1e-4f);
  EXPECT_NEAR(v.y, direction.y * speed, 1e-4f);
  EXPECT_NEAR(made[0]->Position().x, 101.0f, 1e-4f) << "the parent's anchor plus the position";
  EXPECT_NEAR(made[0]->Position().y, 2.0f, 1e-4f);

  // Gravity 10 adds 50 to the y acceleration of the frame.
  made[0]->Update(0.0f);
  EXPECT_NEAR(made[0]->vectors[ParticleRecord::kAcceleration].y, 50.0f, 1e-3f);
}

TEST_F(Emitters, EnvelopesGiveConstantFactorsAtTheParentsLife) {
  ZKW_PSGeomEmit_Point e;
  e.size.value.SetValue(100);
  e.sizeEnvelope.values[1].SetValue(20);
  e.sizeEnvelope.values[2].SetValue(80);
  e.sizeEnvelope.values[4].SetValue(0);
  e.sizeEnvelope.values[5].SetValue(0);
  const float lives[] = {0.0f, 0.1f, 0.5f, 0.9f, 1.0f};
  const float factors[] = {0.0f, 0.5f, 1.0f, 0.5f, 0.0f};
  for (int i = 0; i < 5; ++i) {
    ParticleHandle parent = Parent(0.1f, lives[i]);
    const ParticleList made = e.Emit(0.2f, &parent);
    ASSERT_EQ(made.size(), 1u);
    parent->floats[ParticleRecord::kLife] = 0.5f;  // later changes of the parent do not count
    made[0]->Update(0.0f);
    EXPECT_NEAR(made[0]->floats[ParticleRecord::kScale], factors[i], 1e-5f) << lives[i];
  }
}

TEST_F(Emitters, AttachedParticlesStartAtThePositionInTheParentsSpace) {
  ZKW_PSGeomEmit_Point e;
  e.attached.SetValue(1);
  e.position.SetValue(D3DXVECTOR3(3, 0, 0));
  ParticleHandle parent = Parent(0.1f);
  parent->Position() = D3DXVECTOR3(50, 50, 0);
  const ParticleList made = e.Emit(0.2f, &parent);
  ASSERT_EQ(made.size(), 1u);
  EXPECT_TRUE(made[0]->Has(ParticleRecord::kRelativeToParent));
  EXPECT_EQ(made[0]->Parent(), parent.Get());
  EXPECT_NEAR(made[0]->Position().x, 3.0f, 1e-5f);
}

TEST_F(Emitters, StreamWithoutLengthHasNoPerspective) {
  ZKW_PSGeomEmit_Stream e;
  e.perspective.SetValue(1);
  e.speed.value.SetValue(20);
  e.start.SetValue(D3DXVECTOR3(5, 5, 0));
  e.end.SetValue(D3DXVECTOR3(5, 5, 0));
  ParticleHandle parent = Parent(0.1f);
  const ParticleList made = e.Emit(0.2f, &parent);
  ASSERT_EQ(made.size(), 1u);
  e.size.value.SetValue(100);
  made[0]->Update(0.0f);
  EXPECT_FLOAT_EQ(made[0]->floats[ParticleRecord::kScale], 1.0f);
  EXPECT_NEAR(D3DXVec3Length(&made[0]->Velocity()), 20.0f, 1e-3f);
}

TEST_F(Emitters, FieldWithoutTiltHasNoPerspective) {
  ZKW_PSGeomEmit_Field e;
  e.width.SetValue(100);
  e.depth.SetValue(50);
  e.size.value.SetValue(100);
  ParticleHandle parent = Parent(0.1f);
  const ParticleList made = e.Emit(0.2f, &parent);
  ASSERT_EQ(made.size(), 1u);
  const D3DXVECTOR3 uv = made[0]->Velocity();
  made[0]->Update(0.0f);
  EXPECT_FLOAT_EQ(made[0]->floats[ParticleRecord::kScale], 1.0f);
  EXPECT_NEAR(made[0]->Position().x, 100.0f * uv.x, 1e-3f);
  EXPECT_NEAR(made[0]->Position().y, 50.0f * uv.y, 1e-3f);
}

TEST_F(Emitters, CircularParticlesCircleTheirBirthPoint) {
  ZKW_PSGeomEmit_Circular e;
  e.speed.value.SetValue(90);  // degrees per second
  auto rect = std::make_unique<ZKW_VFigure_Rect>();
  rect->width.SetValue(20);
  e.figure.SetFigure(DS_SafePtr<ZKW_VFigure>(std::move(rect)), nullptr);
  ParticleHandle parent = Parent(0.1f);
  const ParticleList made = e.Emit(0.2f, &parent);
  ASSERT_EQ(made.size(), 1u);
  const float radius = D3DXVec3Length(&made[0]->Position());
  made[0]->Update(1.0f);
  EXPECT_NEAR(D3DXVec3Length(&made[0]->Position()), radius, 1e-3f);
}

TEST_F(Emitters, EveryKindRoundTrips) {
  ZKW_PSGeomEmit_Point point;
  point.figureSpin.SetValue(1);
  point.reverse.SetValue(1);
  point.forces.dragMode.SetValue(2);
  point.count.SetValue(9);
  point.lifetime.SetValue(3.5f);
  ExpectRoundTrip<ZKW_PSGeomEmit_Point>(point);
  ZKW_PSGeomEmit_Circular circular;
  circular.radialSpeed.value.SetValue(40);
  circular.radialMode.SetValue(1);
  ExpectRoundTrip<ZKW_PSGeomEmit_Circular>(circular);
  ZKW_PSGeomEmit_Sector sector;
  sector.sector.SetValue(45);
  sector.sector.spread.SetValue(30);
  ExpectRoundTrip<ZKW_PSGeomEmit_Sector>(sector);
  ZKW_PSGeomEmit_Rect rect;
  rect.directionFromFigure.SetValue(1);
  auto figure = std::make_unique<ZKW_VFigure_Sector>();
  figure->radius.SetValue(30);
  rect.figure.SetFigure(DS_SafePtr<ZKW_VFigure>(std::move(figure)), nullptr);
  ExpectRoundTrip<ZKW_PSGeomEmit_Rect>(rect);
  ZKW_PSGeomEmit_Field field;
  field.tilt.SetValue(30);
  field.width.SetValue(7);
  ExpectRoundTrip<ZKW_PSGeomEmit_Field>(field);
  ZKW_PSGeomEmit_Stream stream;
  stream.end.SetValue(D3DXVECTOR3(1, 2, 3));
  stream.firstEdge.SetValue(10);
  stream.perspective.SetValue(1);
  ExpectRoundTrip<ZKW_PSGeomEmit_Stream>(stream);
}

TEST_F(Emitters, OlderVersionsRead) {
  ZKW_PSGeomEmit_Point base;
  base.count.SetValue(7);
  const std::vector<uint8_t> part = EmitterPart(base);
  bool whole = false;
  // An emitter part of version 1: no figure.
  std::vector<uint8_t> part1 = Bytes([&](DS_IOF_Archive& a) {
    WriteRecordHeader(a, u"ZKW_PSGeometry_Emitter", 1);
    a.io().WriteFloat(2.0f);
    a.io().WriteUInt32(3);
    a.io().WriteFloat(1.0f);
    a.io().WriteFloat(0.0f);
    a.io().WriteFloat(0.0f);
    a.io().WriteUInt32(0);
    a.io().WriteUInt32(0);
    a.io().WriteInt32(0);
    base.ZKW_PtclSys_Geometry::Save(a);
  });

  // Point 1: a sector figure first, no reverse flag.
  auto point1 =
      ReadAs<ZKW_PSGeomEmit_Point>(Concat(Bytes([](DS_IOF_Archive& a) {
                                            WriteRecordHeader(a, u"ZKW_PSGeomEmit_Point", 1);
                                            a.io().WriteUInt32(90);
                                            a.io().WriteUInt32(40);
                                            a.io().WriteUInt32(25);
                                            a.io().WriteInt32(1);
                                            WriteForcesPrm(a, ForcesPrm());
                                          }),
                                          part1),
                                   &whole);
  ASSERT_NE(point1, nullptr);
  EXPECT_TRUE(whole);
  auto* sectorFigure = dynamic_cast<ZKW_VFigure_Sector*>(point1->figure.Figure());
  ASSERT_NE(sectorFigure, nullptr);
  EXPECT_EQ(sectorFigure->radius.Value(), 25u);
  EXPECT_EQ(point1->figureSpin.Value(), 1);
  EXPECT_EQ(point1->reverse.Value(), 0);
  EXPECT_EQ(point1->count.Value(), 3u);

  // Point 2: no sector, no reverse flag.
  auto point2 =
      ReadAs<ZKW_PSGeomEmit_Point>(Concat(Bytes([](DS_IOF_Archive& a) {
                                            WriteRecordHeader(a, u"ZKW_PSGeomEmit_Point", 2);
                                            a.io().WriteInt32(0);
                                            WriteForcesPrm(a, ForcesPrm());
                                          }),
                                          part),
                                   &whole);
  ASSERT_NE(point2, nullptr);
  EXPECT_TRUE(whole);

  // Rect 1: width and height first become the rectangle; no direction flag.
  auto rect1 = ReadAs<ZKW_PSGeomEmit_Rect>(Concat(Bytes([](DS_IOF_Archive& a) {
                                                    WriteRecordHeader(a, u"ZKW_PSGeomEmit_Rect", 1);
                                                    a.io().WriteUInt32(40);
                                                    a.io().WriteUInt32(30);
                                                    a.io().WriteUInt32(90);
                                                    a.io().WriteUInt32(10);
                                                    WriteForcesPrm(a, ForcesPrm());
                                                  }),
                                                  part1),
                                           &whole);
  ASSERT_NE(rect1, nullptr);
  EXPECT_TRUE(whole);
  auto* rectFigure = dynamic_cast<ZKW_VFigure_Rect*>(rect1->figure.Figure());
  ASSERT_NE(rectFigure, nullptr);
  EXPECT_EQ(rectFigure->width.Value(), 40u);
  EXPECT_EQ(rectFigure->height.Value(), 30u);
  EXPECT_EQ(rect1->sector.Value(), 90u);

  // Rect 2: no direction flag.
  auto rect2 = ReadAs<ZKW_PSGeomEmit_Rect>(Concat(Bytes([](DS_IOF_Archive& a) {
                                                    WriteRecordHeader(a, u"ZKW_PSGeomEmit_Rect", 2);
                                                    a.io().WriteUInt32(90);
                                                    a.io().WriteUInt32(10);
                                                    WriteForcesPrm(a, ForcesPrm());
                                                  }),
                                                  part),
                                           &whole);
  ASSERT_NE(rect2, nullptr);
  EXPECT_TRUE(whole);
  EXPECT_EQ(rect2->directionFromFigure.Value(), 0);

  // Circular 1: the rotation mode only.
  auto circular1 =
      ReadAs<ZKW_PSGeomEmit_Circular>(Concat(Bytes([](DS_IOF_Archive& a) {
                                               WriteRecordHeader(a, u"ZKW_PSGeomEmit_Circular", 1);
                                               a.io().WriteInt32(2);
                                             }),
                                             part),
                                      &whole);
  ASSERT_NE(circular1, nullptr);
  EXPECT_TRUE(whole);
  EXPECT_EQ(circular1->rotationMode.Value(), 2);
  EXPECT_EQ(circular1->radialSpeed.value.Value(), 0u);

  // The default rectangle stays.
  auto sector1 =
      ReadAs<ZKW_PSGeomEmit_Sector>(Concat(Bytes([](DS_IOF_Archive& a) {
                                             WriteRecordHeader(a, u"ZKW_PSGeomEmit_Sector", 2);
                                             a.io().WriteUInt32(0);
                                             a.io().WriteUInt32(0);
                                             WriteForcesPrm(a, ForcesPrm());
                                           }),
                                           part1),
                                    &whole);
  ASSERT_NE(sector1, nullptr);
  EXPECT_TRUE(whole);
  EXPECT_NE(dynamic_cast<ZKW_VFigure_Rect*>(sector1->figure.Figure()), nullptr);
  EXPECT_EQ(sector1->count.Value(), 3u);
}

}  // namespace
