#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "core/archive/archive_fixture.h"
#include "core/archive/ds_iof_w.h"
#include "core/crt_rand.h"
#include "core/param/media_direction.h"
#include "core/param/media_quad.h"
#include "core/param/media_rectangle.h"
#include "core/param/recording_control.h"
#include "core/param/smart_angle.h"
#include "platform/math/d3dx_math.h"

namespace {

using Log = std::vector<std::string>;

void ExpectVec4(const D3DXVECTOR4& v, float x, float y, const char* what) {
  EXPECT_NEAR(v.x, x, 1e-6f) << what;
  EXPECT_NEAR(v.y, y, 1e-6f) << what;
  EXPECT_EQ(v.z, 0.0f) << what;
  EXPECT_EQ(v.w, 0.0f) << what;
}

TEST(SmartAngle, TurnsFromXTowardsMinusYAndFollowsChanges) {
  ZKW_SmartAngle angle;
  ExpectVec4(angle.Direction(), 1, 0, "0 degrees");
  EXPECT_TRUE(D3DXMatrixIsIdentity(&angle.Matrix()));

  Log log;
  RecordingControl watcher("w", &log, &angle);
  D3DXVECTOR4 seen;
  watcher.action = [&] { seen = angle.Direction(); };
  angle.SetValue(90);
  ExpectVec4(seen, 0, -1, "90 degrees, already recomputed when observers hear of it");
  EXPECT_FLOAT_EQ(angle.Radians(), 1.5707964f);
  EXPECT_EQ(angle.Matrix()._12, -1.0f);
  EXPECT_EQ(angle.TransposedMatrix()._21, -1.0f);
  EXPECT_EQ(angle.TransposedMatrix()._12, angle.Matrix()._21);

  ZKW_SmartAngle copy(angle);
  ExpectVec4(copy.Direction(), 0, -1, "copy");
  EXPECT_EQ(copy.ControlCount(), 2) << "its own undo and recompute controls only";
  copy.SetValue(180);
  ExpectVec4(copy.Direction(), -1, 0, "180 degrees");
  EXPECT_EQ(log.size(), 1u);
}

TEST(MediaDirection, TurnsTheOtherWayWithItsPerpendicular) {
  MediaDirection direction;
  direction.SetValue(90);
  ExpectVec4(direction.Direction(), 0, 1, "direction");
  ExpectVec4(direction.Perpendicular(), -1, 0, "perpendicular");
  MediaParamT<unsigned> degrees(270);
  MediaDirection fromParam(degrees);
  ExpectVec4(fromParam.Direction(), 0, -1, "made from a parameter");
}

TEST(MediaSector, RandomDirectionDrawsOnceWithinTheSpread) {
  MediaSector sector;
  crt_srand(1);
  for (int i = 0; i < 3; ++i) {
    const D3DXVECTOR3 d = sector.RandomDirection();
    EXPECT_NEAR(d.x, 1.0f, 1e-6f);
    EXPECT_NEAR(d.y, 0.0f, 1e-6f);
    EXPECT_EQ(d.z, 0.0f);
  }

  // With the C library generator seeded with 1 the first draw is 41.
  sector.SetValue(30);
  sector.spread.SetValue(10);
  crt_srand(1);
  const D3DXVECTOR3 d = sector.RandomDirection();
  const double degrees = 30.0 + (41.0 / 32767.0 * 20.0 - 10.0);
  const double radians = degrees * 3.14159265358979 / 180.0;
  EXPECT_NEAR(d.x, std::cos(radians), 1e-5);
  EXPECT_NEAR(d.y, -std::sin(radians), 1e-5);
  EXPECT_EQ(crt_rand(), 18467) << "exactly one draw";

  MediaSector copy(sector);
  EXPECT_EQ(copy.spread.Value(), 10u);
  EXPECT_EQ(copy.Value(), 30u);
}

TEST(MediaQuad, SetRectWritesCornersWithoutNotifying) {
  MediaQuad quad;
  Log log;
  RecordingControl onQuad("quad", &log, &quad), onCorner("corner", &log, &quad.corners[0]);
  quad.SetRect(2, 4, {1, 1, 5});
  const D3DXVECTOR3 expected[] = {{0, -1, 5}, {0, 3, 5}, {2, -1, 5}, {2, 3, 5}};
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(quad.corners[i].Value(), expected[i]) << i;
  EXPECT_TRUE(log.empty());

  auto out = std::make_unique<DS_IOF_Archive>(std::make_unique<DS_IOF_W>());
  WriteMediaQuad(*out, quad);
  const auto bytes = static_cast<DS_IOF_W&>(out->io()).Bytes();
  ASSERT_EQ(bytes.size(), 48u);
  MediaQuad read;
  ArchiveSource in(SourceMode::Memory, bytes);
  ReadMediaQuad(in.archive(), read);
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(read.corners[i].Value(), expected[i]) << i;
  MediaQuad copy(read);
  EXPECT_EQ(copy.corners[3].Value(), expected[3]);
}

TEST(MediaRectangle, HitTestIsInclusiveInPictureUnits) {
  MediaRectangle rect;
  rect.xMin.SetValue(10);
  rect.xMax.SetValue(20);
  rect.yMin.SetValue(-5);
  rect.yMax.SetValue(5);
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  struct Case {
    float x, y;
    bool hit;
  };
  const Case cases[] = {{10, -5, true},    {20, 5, true},      {15, 0, true},
                        {9.99f, 0, false}, {20.01f, 0, false}, {15, -5.01f, false},
                        {15, 5.01f, false}};
  for (const Case& c : cases)
    EXPECT_EQ(rect.HitTest(c.x, c.y, identity), c.hit) << c.x << ", " << c.y;

  // The point is mapped by the inverse view before the test: target pixels at half scale.
  D3DXMATRIX inverseView;
  D3DXMatrixScaling(&inverseView, 2, 2, 1);
  EXPECT_TRUE(rect.HitTest(10, 2.5f, inverseView));
  EXPECT_FALSE(rect.HitTest(15, 0, inverseView));
}

TEST(MediaRectangle, ReadStoresRawAndKeepsUndoCopies) {
  MediaRectangle source;
  const int values[] = {1, 2, 3, 4, 5, 6};
  MediaParamTB<int>* fields[] = {&source.xMin, &source.xMax,   &source.yMin,
                                 &source.yMax, &source.extra1, &source.extra2};
  for (int i = 0; i < 6; ++i)
    fields[i]->SetValue(values[i]);
  auto out = std::make_unique<DS_IOF_Archive>(std::make_unique<DS_IOF_W>());
  WriteMediaRectangle(*out, source);
  const auto bytes = static_cast<DS_IOF_W&>(out->io()).Bytes();
  ASSERT_EQ(bytes.size(), 24u);

  MediaRectangle read;
  Log log;
  RecordingControl watcher("xMin", &log, &read.xMin);
  ArchiveSource in(SourceMode::Memory, bytes);
  ReadMediaRectangle(in.archive(), read);
  EXPECT_EQ(read.xMin.Value(), 1);
  EXPECT_EQ(read.yMax.Value(), 4);
  EXPECT_EQ(read.extra2.Value(), 6);
  EXPECT_EQ(read.xMin.UndoControl().Saved(), 0) << "undo copy keeps its old value";
  EXPECT_TRUE(log.empty());

  MediaRectangle copy(read);
  EXPECT_EQ(copy.extra1.Value(), 5);
  EXPECT_EQ(copy.xMax.UndoControl().Saved(), 2);
}

}  // namespace
