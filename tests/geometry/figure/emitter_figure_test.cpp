// Emitter figures: points, launch directions and lattice cells of the three kinds, with a fixed
// seed, and the holder that emitters keep their figure in.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "core/param/callback_ctrl.h"
#include "core/param/media_direction.h"
#include "core/param/owned_control_list.h"
#include "geometry/figure/figure_fixture.h"
#include "geometry/figure/zkw_custom_figure.h"
#include "geometry/figure/zkw_vfigure_bspline.h"
#include "geometry/figure/zkw_vfigure_rect.h"
#include "geometry/figure/zkw_vfigure_sector.h"
#include "geometry/vector_expect.h"
#include "platform/math/d3dx_math.h"

namespace {

using V = D3DXVECTOR3;

float Unit(int draw) {
  return static_cast<float>(draw) / 32767.0f;
}

TEST(EmitterFigure, DefaultHolderEmitsAtThePositionInOneRandomDirection) {
  RegisterFigureClasses();
  ZKW_CustomFigure holder;
  ASSERT_NE(dynamic_cast<ZKW_VFigure_Rect*>(holder.Figure()), nullptr);
  for (unsigned seed : {1u, 7u, 4242u}) {
    SCOPED_TRACE(seed);
    // Two draws for the point, the third for the direction, since the point is the origin.
    const std::vector<int> draws = DrawsAfterSeed(seed, 3);
    const uint32_t after = StateAfterDraws(seed, 3);
    V point(1, 2, 3), direction;
    holder.Figure()->EmitPointAndDirection(&point, &direction, false);
    EXPECT_EQ(crt_rand_state(), after);
    ExpectNear(point, V(1, 2, 3), 0.0f);
    const float a = Unit(draws[2]) * 360.0f * 3.1415927f / 180.0f;
    ExpectNear(direction, V(std::cos(a), -std::sin(a), 0.0f));
  }
}

TEST(EmitterFigure, RectangleLaunchesAwayFromTheOrigin) {
  ZKW_VFigure_Rect rect;
  rect.width.SetValue(100);
  rect.height.SetValue(50);
  rect.position.SetValue(V(10, 0, 0));
  const std::vector<int> draws = DrawsAfterSeed(3, 2);
  const uint32_t after = StateAfterDraws(3, 2);
  V point(0, 0, 1), direction;
  rect.EmitPointAndDirection(&point, &direction, false);
  EXPECT_EQ(crt_rand_state(), after) << "no direction draw for a point off the origin";
  const V q(10 - 50 + 100 * Unit(draws[0]), -25 + 50 * Unit(draws[1]), 0);
  ExpectNear(point, q + V(0, 0, 1), 1e-4f);
  ExpectNear(direction, q / D3DXVec3Length(&q));

  // Spin turns the point and the direction together about Y with one more draw.
  const std::vector<int> spun = DrawsAfterSeed(3, 3);
  const uint32_t spunAfter = StateAfterDraws(3, 3);
  point = V(0, 0, 0);
  rect.EmitPointAndDirection(&point, &direction, true);
  EXPECT_EQ(crt_rand_state(), spunAfter);
  D3DXMATRIX turn;
  D3DXMatrixRotationY(&turn, Unit(spun[2]) * 6.2831855f);
  V expected;
  D3DXVec3TransformCoord(&expected, &q, &turn);
  ExpectNear(point, expected, 1e-4f);
  EXPECT_NEAR(D3DXVec3Length(&direction), 1.0f, 1e-5f);
  EXPECT_NEAR(D3DXVec3Dot(&direction, &expected) / D3DXVec3Length(&expected), 1.0f, 1e-5f);
}

TEST(EmitterFigure, RectangleLatticeCellsRunRowByRowFromTheLowCorner) {
  ZKW_VFigure_Rect rect;
  rect.width.SetValue(100);
  rect.height.SetValue(50);
  V out;
  ExpectNear(*rect.GridPoint(&out, 5, 2, 4), V(-12.5f, 12.5f, 0));
  ExpectNear(*rect.GridPoint(&out, 0, 2, 4), V(-37.5f, -12.5f, 0));
  rect.position.SetValue(V(1, 2, 3));
  ExpectNear(*rect.GridPoint(&out, 7, 2, 4), V(38.5f, 14.5f, 3));
}

TEST(EmitterFigure, LatticeWithoutRowsOrColumnsGivesThePosition) {
  ZKW_VFigure_Rect rect;
  rect.width.SetValue(100);
  rect.height.SetValue(50);
  ZKW_VFigure_Sector sector;
  sector.radius.SetValue(100);
  sector.sector.spread.SetValue(90);
  ZKW_VFigure_BSpline band;
  for (ZKW_VFigure* figure : std::initializer_list<ZKW_VFigure*>{&rect, &sector, &band}) {
    SCOPED_TRACE(figure->GetClassName());
    figure->position.SetValue(V(4, 5, 6));
    for (auto [rows, columns] :
         std::initializer_list<std::pair<unsigned, unsigned>>{{0, 4}, {3, 0}, {0, 0}}) {
      V out(9, 9, 9);
      EXPECT_EQ(figure->GridPoint(&out, 5, rows, columns), &out);
      ExpectNear(out, V(4, 5, 6), 0.0f);
    }
  }
}

TEST(EmitterFigure, NarrowSectorLaunchesAlongItsDirection) {
  ZKW_VFigure_Sector sector;
  sector.radius.SetValue(100);
  sector.sector.SetValue(90);
  crt_srand(11);
  for (int i = 0; i < 50; ++i) {
    V point(0, 0, 0), direction;
    sector.EmitPointAndDirection(&point, &direction, false);
    ExpectNear(direction, V(0, -1, 0));
    EXPECT_NEAR(point.x, 0.0f, 1e-4f);
    EXPECT_LE(point.y, 0.0f);
    EXPECT_GE(point.y, -100.0f - 1e-3f);
  }
}

TEST(EmitterFigure, SectorDirectionsStayWithinTheSpread) {
  ZKW_VFigure_Sector sector;
  sector.innerRadius.SetValue(50);
  sector.radius.SetValue(100);
  sector.sector.SetValue(0);
  sector.sector.spread.SetValue(60);
  crt_srand(5);
  for (int i = 0; i < 200; ++i) {
    V point(0, 0, 0), direction;
    sector.EmitPointAndDirection(&point, &direction, false);
    const float angle = std::atan2(-direction.y, direction.x) * 180.0f / 3.1415927f;
    EXPECT_LE(std::fabs(angle), 30.0f + 1e-3f);
    const float r = D3DXVec3Length(&point);
    EXPECT_GE(r, 50.0f - 1e-3f);
    EXPECT_LE(r, 100.0f + 1e-3f);
    ExpectNear(point / r, direction);
  }
}

TEST(EmitterFigure, SectorWithoutRadiusDrawsOnlyTheAngleAndTheSpin) {
  ZKW_VFigure_Sector sector;
  sector.position.SetValue(V(7, 8, 9));
  sector.sector.SetValue(30);
  sector.sector.spread.SetValue(40);
  for (bool spin : {false, true}) {
    SCOPED_TRACE(spin);
    const std::vector<int> draws = DrawsAfterSeed(21, 2);
    const uint32_t after = StateAfterDraws(21, spin ? 2 : 1);
    V point(1, 1, 1), direction;
    sector.EmitPointAndDirection(&point, &direction, spin);
    EXPECT_EQ(crt_rand_state(), after);
    ExpectNear(point, V(8, 9, 10), 0.0f);
    if (!spin) {
      const float a = (30 + (-40 + 80 * Unit(draws[0])) / 2) * 0.017453292f;
      ExpectNear(direction, V(std::cos(a), -std::sin(a), 0));
    }
  }
  // AddRandomPoint is the same point without spin.
  const uint32_t afterOne = StateAfterDraws(21, 1);
  V point(0, 0, 0);
  sector.AddRandomPoint(&point);
  EXPECT_EQ(crt_rand_state(), afterOne);
  ExpectNear(point, V(7, 8, 9), 0.0f);
}

TEST(EmitterFigure, SectorLatticeRowsAreRingsFromTheOutside) {
  ZKW_VFigure_Sector sector;
  sector.radius.SetValue(100);
  sector.sector.SetValue(90);
  sector.position.SetValue(V(1, 2, 3));
  V out;
  ExpectNear(*sector.GridPoint(&out, 0, 2, 1), V(1, 2 - 75, 3), 1e-4f);
  ExpectNear(*sector.GridPoint(&out, 1, 2, 1), V(1, 2 - 25, 3), 1e-4f);
  // Columns are slices from D - A/2: two slices of 90 degrees centred on 45 and 135.
  sector.sector.spread.SetValue(180);
  const float h = 75 * std::sqrt(0.5f);
  ExpectNear(*sector.GridPoint(&out, 0, 2, 2), V(1 + h, 2 - h, 3), 1e-3f);
  ExpectNear(*sector.GridPoint(&out, 1, 2, 2), V(1 - h, 2 - h, 3), 1e-3f);
}

TEST(EmitterFigure, EmptyBandEmitsAtThePosition) {
  ZKW_VFigure_BSpline band;
  band.halfWidth.SetValue(10);
  band.position.SetValue(V(3, 4, 5));
  V point(1, 0, 0), direction(0, 0, 0);
  band.EmitPointAndDirection(&point, &direction, true);
  ExpectNear(point, V(4, 4, 5), 0.0f);
  ExpectNear(direction, V(1, 0, 0), 0.0f);
  V out;
  ExpectNear(*band.GridPoint(&out, 3, 2, 2), V(3, 4, 5), 0.0f);
}

TEST(EmitterFigure, BandPointsLieAlongThePathWithinTheHalfWidth) {
  ZKW_VFigure_BSpline band;
  for (float x : {0.0f, 100.0f}) {
    DX_SmartPnt node;
    node.SetValueSilently(V(x, 0, 0));
    band.path.AppendPoint(node, nullptr);
  }
  band.path.Rebuild();
  band.halfWidth.SetValue(10);
  crt_srand(9);
  bool left = false, right = false;
  for (int i = 0; i < 100; ++i) {
    V point(0, 0, 0), direction;
    band.EmitPointAndDirection(&point, &direction, false);
    EXPECT_GE(point.x, -1e-3f);
    EXPECT_LE(point.x, 100.0f + 1e-3f);
    EXPECT_LE(std::fabs(point.y), 10.0f + 1e-3f);
    EXPECT_NEAR(D3DXVec3Length(&direction), 1.0f, 1e-5f);
    EXPECT_NEAR(direction.x, 1.0f, 1e-4f);
    left |= point.y > 5;
    right |= point.y < -5;
  }
  EXPECT_TRUE(left && right) << "the band spreads to both sides";
}

// A figure that puts one control on its position, counting how often it is asked to.
class RecordingFigure : public ZKW_VFigure_Rect {
 public:
  void AttachParamCallbacks(OwnedControlList* list) override {
    ++attached;
    list->Watch(position, [] {});
  }
  int attached = 0;
};

TEST(EmitterFigure, SetFigureRebuildsTheControlsAndNotifiesOnlyOnAChange) {
  RegisterFigureClasses();
  ZKW_CustomFigure holder;
  EXPECT_EQ(holder.Controls().Size(), 0u) << "no kind puts controls on its parameters";
  int notified = 0;
  SmartFunctionCtrl watch([&notified] { ++notified; }, &holder);

  auto recording = std::make_unique<RecordingFigure>();
  RecordingFigure& figure = *recording;
  const DS_SafePtr<ZKW_VFigure> handle(std::move(recording));
  holder.SetFigure(handle, nullptr);
  EXPECT_EQ(notified, 1);
  EXPECT_EQ(figure.attached, 1);
  EXPECT_EQ(holder.Figure(), &figure);

  holder.SetFigure(handle, nullptr);
  EXPECT_EQ(notified, 1) << "the held figure again is no change";
  EXPECT_EQ(figure.attached, 2);
  EXPECT_EQ(holder.Controls().Size(), 1u) << "the old controls went first";

  // The source of a change is not told.
  holder.SetFigure(DS_SafePtr<ZKW_VFigure>(std::make_unique<ZKW_VFigure_Rect>()), &watch);
  EXPECT_EQ(notified, 1);
  EXPECT_EQ(holder.Controls().Size(), 0u);
  EXPECT_EQ(handle.Count(), 1) << "the holder and its undo control released the old figure";
}

TEST(EmitterFigure, MakeSectorFigureHoldsTheSectorOfOldEmitterRecords) {
  RegisterFigureClasses();
  ZKW_CustomFigure holder;
  int notified = 0;
  SmartFunctionCtrl watch([&notified] { ++notified; }, &holder);
  holder.MakeSectorFigure(90, 30, 200);
  EXPECT_EQ(notified, 1);
  auto* sector = dynamic_cast<ZKW_VFigure_Sector*>(holder.Figure());
  ASSERT_NE(sector, nullptr);
  EXPECT_EQ(sector->innerRadius.Value(), 0u);
  EXPECT_EQ(sector->radius.Value(), 200u);
  EXPECT_EQ(sector->sector.Value(), 90u);
  EXPECT_EQ(sector->sector.spread.Value(), 30u);
  MediaDirection ninety;
  ninety.SetValue(90);
  EXPECT_EQ(sector->sector.Direction(), ninety.Direction()) << "derived vectors follow D";
}

}  // namespace
