#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "core/archive/archive_fixture.h"
#include "core/timing/timing_test_support.h"
#include "geometry/path/bspline_point_io.h"
#include "geometry/path/smart_path.h"
#include "geometry/path/spline_path.h"
#include "geometry/vector_expect.h"

namespace {

using V = D3DXVECTOR3;

// A plain path through the given positions, rebuilt.
std::unique_ptr<SmartPath<DX_SmartPnt>> PathThrough(const std::vector<V>& positions) {
  auto path = std::make_unique<SmartPath<DX_SmartPnt>>();
  for (const V& p : positions) {
    DX_SmartPnt point;
    point.SetValueSilently(p);
    path->AppendPoint(point, nullptr);
  }
  path->Rebuild();
  return path;
}

// One step of a fresh cursor set to `distance`.
V StepFromStart(ZKW_PathCtrlPoints& path, float distance) {
  path.cursor = PathCursor{};
  path.cursor.distance = distance;
  V point;
  path.StepAlongPoints(&point);
  return point;
}

TEST(PathCursor, PingPongAlongThreePositions) {
  auto path = PathThrough({{0, 0, 0}, {2, 0, 0}, {2, 1, 0}});
  EXPECT_EQ(StepFromStart(*path, 1.0f), V(1, 0, 0));
  EXPECT_EQ(StepFromStart(*path, 2.5f), V(2, 0.5f, 0));
  EXPECT_EQ(path->cursor.index, 1);

  EXPECT_EQ(StepFromStart(*path, 3.5f), V(2, 0.5f, 0)) << "past the end and on the way back";
  EXPECT_EQ(path->cursor.index, 2);
  EXPECT_FALSE(path->cursor.forward);
  EXPECT_EQ(path->cursor.distance, 0.5f);
  EXPECT_EQ(path->cursor.direction, V(0, -1, 0));
}

// Steps of 0.25 along one segment of length 1 trace it forth and back, again and again.
TEST(PathCursor, ReversesAtBothEnds) {
  auto path = PathThrough({{0, 0, 0}, {1, 0, 0}});
  const float expected[] = {0.25f, 0.5f, 0.75f, 1.0f, 0.75f, 0.5f, 0.25f, 0.0f, 0.25f, 0.5f};
  for (float x : expected) {
    path->cursor.distance += 0.25f;
    V point;
    path->StepAlongPoints(&point);
    ExpectNear(point, V(x, 0, 0));
  }
}

TEST(PathCursor, StaysWhereItIsWhenItCannotMove) {
  V point(7, 7, 7);
  auto empty = PathThrough({});
  EXPECT_EQ(*empty->StepAlongPoints(&point), V(7, 7, 7));

  auto single = PathThrough({{3, 4, 0}});
  single->cursor.distance = 5.0f;
  EXPECT_EQ(*single->StepAlongPoints(&point), V(3, 4, 0));

  auto same = PathThrough({{1, 1, 0}, {1, 1, 0}, {1, 1, 0}});
  same->cursor.distance = 2.0f;
  EXPECT_EQ(*same->StepAlongPoints(&point), V(1, 1, 0));
  same->cursor.distance = -1.0f;
  EXPECT_EQ(*same->StepAlongPoints(&point), V(1, 1, 0));

  // A position that is not a number makes its segments unusable; the walk still ends.
  const float nan = std::numeric_limits<float>::quiet_NaN();
  auto broken = PathThrough({{0, 0, 0}, {1, 0, 0}, {nan, 0, 0}});
  for (float d : {0.5f, 5.0f, -1.0f}) {
    broken->cursor.distance = d;
    broken->StepAlongPoints(&point);
  }
  EXPECT_TRUE(std::isnan(PathThrough({{nan, 0, 0}, {nan, 1, 0}})->StepAlongPoints(&point)->x));

  auto line = PathThrough({{0, 0, 0}, {1, 0, 0}});
  line->cursor.distance = nan;
  EXPECT_EQ(*line->StepAlongPoints(&point), V(0, 0, 0));
  EXPECT_EQ(line->cursor.distance, 0.0f);
  line->cursor.distance = std::numeric_limits<float>::infinity();
  EXPECT_EQ(*line->StepAlongPoints(&point), V(0, 0, 0));
}

TEST(PathCursor, ZeroLengthSegmentsAndLongDistances) {
  auto path = PathThrough({{0, 0, 0}, {0, 0, 0}, {2, 0, 0}, {2, 0, 0}, {2, 2, 0}});
  ExpectNear(StepFromStart(*path, 1.0f), V(1, 0, 0));
  EXPECT_EQ(path->cursor.direction, V(1, 0, 0));
  ExpectNear(StepFromStart(*path, 3.0f), V(2, 1, 0));
  ExpectNear(StepFromStart(*path, 5.0f), V(2, 1, 0));  // back from the end

  // A distance of many round trips (8 each) ends where the rest of it ends.
  ExpectNear(StepFromStart(*path, 8.0f * 1000000.0f + 1.0f), V(1, 0, 0), 0.05f);
  ExpectNear(StepFromStart(*path, 1e30f), StepFromStart(*path, std::fmod(1e30f, 8.0f)), 1e-3f);
}

TEST(PathCursor, AListShortenedUnderTheCursorTurnsIt) {
  auto path = PathThrough({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}});
  path->cursor.distance = 2.5f;
  V point;
  path->StepAlongPoints(&point);
  EXPECT_EQ(path->cursor.index, 2);
  path->EraseAt(3, nullptr);
  path->Rebuild();
  path->cursor.distance += 0.25f;
  path->StepAlongPoints(&point);
  ExpectNear(point, V(1.25f, 0, 0));  // from the new last position it turns back

  path->EraseAt(2, nullptr);
  path->Rebuild();
  path->StepAlongPoints(&point);
  EXPECT_EQ(path->cursor.index, 0) << "an index past the list restarts the cursor";
}

TEST(PathRebuild, SmoothingNeedsMoreThanTwoPoints) {
  auto two = PathThrough({{0, 0, 5}, {4, 2, 5}});
  two->smoothing.SetValue(1);
  two->Rebuild();
  EXPECT_EQ(two->Positions(), (std::vector<V>{{0, 0, 5}, {4, 2, 5}}));

  auto three = PathThrough({{0, 0, 5}, {4, 2, 5}, {8, 0, 5}});
  EXPECT_EQ(three->Positions().size(), 3u);
  three->smoothing.SetValue(1);
  three->Rebuild();
  const auto& smooth = three->Positions();
  ASSERT_GE(smooth.size(), 100u);
  ASSERT_LE(smooth.size(), 101u);
  ExpectNear(smooth.front(), V(0, 0, 0));
  ExpectNear(smooth[smooth.size() / 2], V(4, 2, 0), 0.1f);
  EXPECT_EQ(three->TotalLength(), 0.0f) << "plain paths keep no samples";
}

TEST(SmartPath, PointOperationsNotifyAndCopiesSharePoints) {
  SmartPath<DX_SmartPnt> path;
  DX_SmartPnt source;
  source.SetValueSilently({1, 2, 3});
  DX_SmartPnt* stored = path.AppendPoint(source, nullptr);
  EXPECT_NE(stored, &source);
  EXPECT_EQ(stored->Value(), V(1, 2, 3));
  EXPECT_EQ(source.tag.Count(), 2) << "the tag is shared";
  EXPECT_EQ(path.UndoControl().Saved(), path.Value()) << "the undo copy follows";
  EXPECT_EQ(path.ControlPointAt(5), nullptr);
  EXPECT_THROW(path.InsertPoint(0, source, nullptr), int);

  SmartPath<DX_SmartPnt> copy(path);
  EXPECT_EQ(copy.ControlPointAt(0), stored);
  EXPECT_EQ(path.Value()[0].Count(), 4) << "two paths and their undo copies";
  copy.EraseAt(0, nullptr);
  EXPECT_EQ(copy.GetCount(), 0);
  EXPECT_EQ(path.GetCount(), 1);

  CameraPath camera;
  DX_CamPathPnt* cameraPoint = camera.AppendPoint(source, nullptr);
  EXPECT_EQ(cameraPoint->travelTime.Value(), 5.0f);
  EXPECT_EQ(cameraPoint->zoomPercent.Value(), 100u);
}

TEST(SplinePath, AppendedPointsGetAutomaticHandles) {
  SplinePath path;
  DX_BSplinePnt first(1, 0);
  first.firstHandle.SetValue({5, 5, 5});  // the argument's handles are never taken over
  path.AppendPoint(first, nullptr);
  path.AppendPoint(DX_BSplinePnt(4, 0), nullptr);
  const DX_BSplinePnt& a = *path.ControlPointAt(0);
  const DX_BSplinePnt& b = *path.ControlPointAt(1);
  ExpectNear(b.secondHandle.Value(), V(-0.99f, 0, 0));
  ExpectNear(a.firstHandle.Value(), V(0.99f, 0, 0));
  EXPECT_EQ(a.secondHandle.Value(), V(0, 0, 0));
  EXPECT_EQ(path.InsertPoint(0, first, nullptr), &b) << "inserting answers the last point";
}

// Two segments of 20 steps: 41 samples, the joint once; length and totals agree.
TEST(SplinePath, BezierSamplesWithoutDoubledJoints) {
  SplinePath path;
  for (V p : {V(0, 0, 0), V(10, 0, 0), V(10, 10, 0)})
    path.AppendPoint(DX_BSplinePnt(p.x, p.y), nullptr);
  path.Rebuild();
  const auto& s = path.Samples();
  ASSERT_EQ(s.size(), 41u);
  EXPECT_EQ(s.front().position, V(0, 0, 0));
  EXPECT_EQ(s[20].position, V(10, 0, 0));
  EXPECT_EQ(s.back().position, V(10, 10, 0));
  for (size_t i = 1; i < s.size(); ++i)
    EXPECT_NE(s[i].position, s[i - 1].position) << i;
  EXPECT_EQ(path.totalLength, s[s.size() - 2].cumulativeLength);
  EXPECT_EQ(path.TotalLength(), path.totalLength);
  EXPECT_GT(path.totalLength, 20.0f * 0.9f);
  ExpectNear(s.front().tangent, V(1, 0, 0));
  EXPECT_TRUE(path.Positions().empty()) << "the position list is not touched";

  int segments = 0;
  path.ForEachSegment([&](const V&, const V&) { ++segments; });
  EXPECT_EQ(segments, 40);
}

TEST(SplinePath, ReverseSamplingRunsFromTheLastPointBack) {
  SplinePath path;
  path.AppendPoint(DX_BSplinePnt(0, 0), nullptr);
  path.AppendPoint(DX_BSplinePnt(3, 3), nullptr);
  std::vector<CurveSample> forward, reversed;
  path.SampleBezierSegments(forward, 20, false);
  path.SampleBezierSegments(reversed, 20, true);
  ASSERT_EQ(reversed.size(), 21u);
  EXPECT_EQ(reversed.front().position, V(3, 3, 0));
  EXPECT_EQ(reversed.back().position, V(0, 0, 0));
  for (size_t i = 0; i < reversed.size(); ++i) {
    ExpectNear(reversed[i].position, forward[20 - i].position);
    ExpectNear(reversed[i].tangent, -forward[20 - i].tangent);
    EXPECT_LT(reversed[i].tangent.x, 0.0f);
  }
  EXPECT_NEAR(path.totalLength, forward[19].cumulativeLength, 1e-4f);

  SplinePath single;
  single.AppendPoint(DX_BSplinePnt(2, 5), nullptr);
  single.Rebuild();
  ASSERT_EQ(single.Samples().size(), 1u);
  EXPECT_EQ(single.Samples()[0].tangent, V(1, 0, 0));
  EXPECT_EQ(single.totalLength, 0.0f);
}

TEST(BSplinePointIO, VectorRoundTripsAndReplacesOldPoints) {
  std::vector<DS_SafePtr<DX_BSplinePnt>> points;
  for (float x : {1.0f, 2.0f}) {
    points.emplace_back(std::make_unique<DX_BSplinePnt>(x, -x));
    points.back()->firstHandle.SetValue({x, 0.5f, 0});
    points.back()->secondHandle.SetValue({-x, 0, 0.25f});
  }
  const auto bytes = WrittenBytes([&](DS_IOF_Archive& a) { WriteBSplinePointVector(a, points); });
  EXPECT_EQ(bytes.size(), 4u + 2u * 40u);

  DS_SafePtr<DX_BSplinePnt> old(std::make_unique<DX_BSplinePnt>());
  std::vector<DS_SafePtr<DX_BSplinePnt>> back{old};
  ArchiveSource source(SourceMode::Memory, bytes);
  ReadBSplinePointVector(source.archive(), back);
  EXPECT_EQ(old.Count(), 1) << "the old points were released";
  ASSERT_EQ(back.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(back[i]->Value(), points[i]->Value());
    EXPECT_EQ(back[i]->firstHandle.Value(), points[i]->firstHandle.Value());
    EXPECT_EQ(back[i]->secondHandle.Value(), points[i]->secondHandle.Value());
  }

  ArchiveSource none(SourceMode::Memory, Bytes({0, 0, 0, 0}));
  ReadBSplinePointVector(none.archive(), back);
  EXPECT_TRUE(back.empty());
  EXPECT_FALSE(none.archive().Failed());

  ArchiveSource tooMany(SourceMode::Memory, Bytes({3, 0, 0, 0, 1, 0, 0, 0}));
  ReadBSplinePointVector(tooMany.archive(), back);
  EXPECT_TRUE(back.empty());
  EXPECT_TRUE(tooMany.archive().Failed());
}

}  // namespace
