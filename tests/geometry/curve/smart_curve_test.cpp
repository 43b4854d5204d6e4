#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "core/param/recording_control.h"
#include "geometry/curve/zkw_smart_cubic_spline.h"
#include "geometry/curve/zkw_smart_offset_bspline.h"
#include "geometry/curve/zkw_smart_offset_polyline.h"
#include "geometry/curve/zkw_smart_poly_loop.h"
#include "geometry/offset/zkw_onion_offseter.h"
#include "geometry/vector_expect.h"

namespace {

using V = D3DXVECTOR3;

// Appends plain points at the given positions.
template <class Curve>
void AppendAll(Curve& curve, const std::vector<V>& positions) {
  for (const V& p : positions) {
    DX_SmartPnt point;
    point.SetValueSilently(p);
    curve.AppendPoint(point, nullptr);
  }
}

TEST(SmartPolyline, AppendingGivesAutomaticHandles) {
  ZKW_SmartPolyline curve;
  DX_BSplinePnt first(1, 0), second(4, 0);
  // Handles of the arguments are never taken over.
  first.firstHandle.SetValueSilently({7, 7, 7});
  second.secondHandle.SetValueSilently({7, 7, 7});
  ZKW_CornerBSplinePnt* a = curve.AppendPoint(first, nullptr);
  EXPECT_EQ(a->firstHandle.Value(), V(0, 0, 0));
  EXPECT_EQ(a->tag, first.tag) << "the tag is shared";
  ZKW_CornerBSplinePnt* b = curve.AppendPoint(second, nullptr);
  EXPECT_EQ(b->secondHandle.Value(), V(3 * -0.33f, 0, 0));
  EXPECT_EQ(b->firstHandle.Value(), V(0, 0, 0));
  EXPECT_EQ(a->firstHandle.Value(), V(3 * 0.33f, 0, 0));
  ExpectNear(b->secondHandle.Value(), {-0.99f, 0, 0});

  // A plain smart curve and an insert leave the handles at zero.
  ZKW_SmartCurve<ZKW_CornerBSplinePnt> plain;
  plain.AppendPoint(first, nullptr);
  plain.AppendPoint(second, nullptr);
  EXPECT_EQ(plain.ControlPointAt(0)->firstHandle.Value(), V(0, 0, 0));
  EXPECT_EQ(curve.InsertPoint(1, second, nullptr)->secondHandle.Value(), V(0, 0, 0));
  EXPECT_TRUE(plain.Samples().empty());
  plain.Rebuild();
  EXPECT_TRUE(plain.Samples().empty()) << "the plain smart curve has no samples";
}

TEST(SmartPolyline, SamplesCarryBisectorTangents) {
  ZKW_SmartPolyline curve;
  AppendAll(curve, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}});
  curve.Rebuild();
  const std::vector<CurveSample>& s = curve.Samples();
  ASSERT_EQ(s.size(), 3u);
  const float h = std::sqrt(0.5f);
  ExpectNear(s[0].tangent, {1, 0, 0});
  ExpectNear(s[1].tangent, {h, h, 0});
  ExpectNear(s[2].tangent, {0, 1, 0});
  EXPECT_EQ(s[0].segmentLength, 1.0f);
  EXPECT_EQ(s[1].segmentLength, 1.0f);
  EXPECT_EQ(s[2].segmentLength, 0.0f);
  EXPECT_EQ(s[0].cumulativeLength, 1.0f);
  EXPECT_EQ(s[1].cumulativeLength, 2.0f);
  EXPECT_EQ(s[2].cumulativeLength, 0.0f);

  // One point: one sample without a tangent. A repeated point: no direction for its segment.
  ZKW_SmartPolyline single;
  AppendAll(single, {{2, 3, 0}});
  single.Rebuild();
  ASSERT_EQ(single.Samples().size(), 1u);
  EXPECT_EQ(single.Samples()[0].tangent, V(0, 0, 0));
  ZKW_SmartPolyline repeated;
  AppendAll(repeated, {{2, 3, 0}, {2, 3, 0}, {5, 3, 0}});
  repeated.Rebuild();
  ExpectNear(repeated.Samples()[1].tangent, {1, 0, 0});
  EXPECT_EQ(repeated.Samples()[0].tangent, V(0, 0, 0));
}

TEST(SmartCubicSpline, SamplesThroughThePointsWithoutTangents) {
  ZKW_SmartCubicSpline curve;
  AppendAll(curve, {{0, 0, 3}, {1, 1, 3}, {2, 0, 3}});
  curve.Rebuild();
  const std::vector<CurveSample>& s = curve.Samples();
  ASSERT_EQ(s.size(), 61u);
  for (const CurveSample& sample : s) {
    EXPECT_EQ(sample.tangent, V(0, 0, 0));
    EXPECT_EQ(sample.position.z, 0.0f);
  }
  ExpectNear(s[0].position, {0, 0, 0});
  ExpectNear(s[30].position, {1, 1, 0});
  ExpectNear(s[60].position, {2, 0, 0});

  // Fewer than three points sample as the polyline.
  ZKW_SmartCubicSpline two;
  AppendAll(two, {{0, 0, 0}, {3, 4, 0}});
  two.Rebuild();
  ASSERT_EQ(two.Samples().size(), 2u);
  EXPECT_EQ(two.TotalLength(), 5.0f);
  ExpectNear(two.Samples()[0].tangent, {0.6f, 0.8f, 0});
}

TEST(SmartBSplineStripe, SamplesFollowTheBezierSegments) {
  ZKW_Stripe<ZKW_SmartBSpline> curve;
  EXPECT_EQ(curve.GetOffsetMaker(), nullptr) << "a plain stripe holds no offsetter";
  AppendAll(curve, {{0, 0, 0}, {10, 5, 0}});
  EXPECT_EQ(curve.ControlPointAt(1)->secondHandle.Value(), V(10 * -0.33f, 5 * -0.33f, 0));
  curve.Rebuild();
  const std::vector<CurveSample>& s = curve.Samples();
  ASSERT_EQ(s.size(), 21u);
  EXPECT_EQ(s.front().position, V(0, 0, 0));
  ExpectNear(s.back().position, {10, 5, 0});

  ZKW_Stripe<ZKW_SmartBSpline> one;
  AppendAll(one, {{2, 3, 0}});
  one.Rebuild();
  ASSERT_EQ(one.Samples().size(), 1u);
  EXPECT_EQ(one.Samples()[0].tangent, V(1, 0, 0));
}

TEST(SmartCurve, PointListOperationsNotifyInOrder) {
  ZKW_SmartPolyline curve;
  std::vector<std::string> log;
  RecordingControl index("index", &log, &curve.points.currentIndex);
  RecordingControl list("list", &log, &curve.points);
  RecordingControl whole("curve", &log, &curve);
  EXPECT_EQ(curve.points.currentIndex.Value(), -1);

  AppendAll(curve, {{0, 0, 0}});
  EXPECT_EQ(log, (std::vector<std::string>{"index", "list", "curve"}));
  EXPECT_EQ(curve.points.currentIndex.Value(), 0);

  log.clear();
  DX_SmartPnt p;
  curve.InsertPoint(0, p, &list);
  EXPECT_EQ(curve.points.currentIndex.Value(), 0);
  EXPECT_EQ(log, (std::vector<std::string>{"curve"})) << "index unchanged; the source is skipped";
  EXPECT_EQ(whole.lastSource, &list);

  log.clear();
  curve.InsertPoint(2, p, nullptr);
  EXPECT_EQ(curve.points.currentIndex.Value(), 2);
  EXPECT_EQ(log, (std::vector<std::string>{"index", "list", "curve"}));

  log.clear();
  curve.EraseAt(0, nullptr);
  EXPECT_EQ(curve.GetCount(), 2);
  EXPECT_EQ(curve.points.currentIndex.Value(), 2) << "an erase leaves the current index";
  EXPECT_EQ(log, (std::vector<std::string>{"list", "curve"}));
}

TEST(SmartCurve, IndicesOutsideTheListThrow) {
  ZKW_SmartPolyline curve;
  AppendAll(curve, {{0, 0, 0}, {1, 0, 0}});
  DX_SmartPnt p;
  EXPECT_THROW(curve.ControlPointAt(2), std::out_of_range);
  EXPECT_THROW(curve.ControlPointAt(-1), std::out_of_range);
  EXPECT_THROW(curve.InsertPoint(3, p, nullptr), std::out_of_range);
  EXPECT_THROW(curve.InsertPoint(-1, p, nullptr), std::out_of_range);
  EXPECT_THROW(curve.EraseAt(2, nullptr), std::out_of_range);
  EXPECT_EQ(curve.GetCount(), 2) << "nothing inserted or erased";
  EXPECT_NO_THROW(curve.InsertPoint(2, p, nullptr));
}

TEST(SmartCurve, PointListUndo) {
  ZKW_SmartPolyline curve;
  auto& undo = curve.points.UndoControl();
  // An undo manager commits the list as it stands before each change.
  for (int i = 0; i < 21; ++i) {
    undo.Commit();
    AppendAll(curve, {{static_cast<float>(i), 0, 0}});
  }
  EXPECT_EQ(undo.History().size(), 20u);

  // Undo brings back the list as it was before the last append, with the undo control as source.
  RecordingControl list("list", nullptr, &curve.points);
  curve.points.UndoControl().Undo();
  EXPECT_EQ(curve.GetCount(), 20);
  EXPECT_EQ(list.lastSource, &undo);
  curve.points.UndoControl().Redo();
  EXPECT_EQ(curve.GetCount(), 21);
}

TEST(SmartCurve, CopySharesPointsAndOffsetter) {
  ZKW_SmartOffsetPolyline curve;
  AppendAll(curve, {{0, 0, 0}, {10, 0, 0}});
  const int shares = curve.points.Value()[0].Count();
  const ZKW_SmartOffsetPolyline copy(curve);
  EXPECT_EQ(copy.GetOffsetMaker(), curve.GetOffsetMaker());
  EXPECT_EQ(copy.points.Value(), curve.points.Value());
  EXPECT_EQ(copy.points.currentIndex.Value(), 1);
  EXPECT_EQ(curve.points.Value()[0].Count(), shares + 2) << "the copy's list and its undo copy";
}

TEST(SmartOffsetPolyline, MeasuresThroughItsOnion) {
  ZKW_SmartOffsetPolyline curve;
  AppendAll(curve, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}});
  ASSERT_NE(dynamic_cast<ZKW_OnionOffseter*>(curve.GetOffsetMaker()), nullptr);
  for (int i = 0; i < 3; ++i)
    curve.Rebuild();
  curve.GetOffsetMaker()->Build(2.0f);
  EXPECT_EQ(curve.TotalLength(), 20.0f);
  EXPECT_TRUE(curve.Samples().empty());
  V point, direction;
  EXPECT_FALSE(curve.ClosestPoint({1, 1, 0}, &point, &direction));
  EXPECT_FALSE(curve.DirectionAtLength(1.0f, &direction));
  // The ends of the band: the start moved right, the end moved left.
  ASSERT_TRUE(curve.PointAtLength(0.0f, 1.0f, &point, &direction));
  ExpectNear(point, {0, -1, 0});
  ASSERT_TRUE(curve.PointAtLength(20.0f, -2.0f, &point, nullptr));
  ExpectNear(point, {8, 10, 0});
  EXPECT_FALSE(curve.PointAtLength(5.0f, 3.0f, &point, nullptr));

  std::vector<std::pair<V, V>> segments;
  curve.ForEachSegment([&](const V& a, const V& b) { segments.emplace_back(a, b); });
  EXPECT_EQ(segments,
            (std::vector<std::pair<V, V>>{{{0, 0, 0}, {10, 0, 0}}, {{10, 0, 0}, {10, 10, 0}}}));
  int lengths = 0;
  curve.ForEachLength([&](const float&, const float&) { ++lengths; });
  EXPECT_EQ(lengths, 0);
}

TEST(SmartOffsetBSpline, SamplesGoToTheOnion) {
  ZKW_SmartOffsetBSpline curve;
  AppendAll(curve, {{0, 0, 0}, {30, 0, 0}});
  curve.Rebuild();
  EXPECT_TRUE(curve.Samples().empty());
  auto& onion = dynamic_cast<ZKW_OnionOffseter&>(*curve.GetOffsetMaker());
  EXPECT_EQ(onion.Points().size(), 101u) << "100 samples per segment";
  onion.Build(1.0f);
  EXPECT_NEAR(curve.TotalLength(), 30.0f, 1e-3f);
  V point, direction;
  ASSERT_TRUE(curve.PointAtLength(15.0f, 0.5f, &point, &direction));
  ExpectNear(point, {15, -0.5f, 0}, 1e-3f);
  // The straight samples simplify to the first step of 1.0 or more and the (kept) rest.
  std::vector<std::pair<V, V>> segments;
  curve.ForEachSegment([&](const V& a, const V& b) { segments.emplace_back(a, b); });
  ASSERT_EQ(segments.size(), 2u);
  EXPECT_EQ(segments[0].first, V(0, 0, 0));
  ExpectNear(segments[1].second, {30, 0, 0}, 1e-4f);
}

TEST(SmartPolyLoop, AnswersThroughItsZeroLine) {
  ZKW_SmartPolyLoop loop;
  AppendAll(loop, {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}});
  EXPECT_EQ(loop.TotalLength(), 0.0f) << "nothing until Rebuild";
  loop.Rebuild();
  EXPECT_EQ(loop.TotalLength(), 40.0f);
  EXPECT_TRUE(loop.Samples().empty());
  V point, direction;
  ASSERT_TRUE(loop.PointAtLength(45.0f, 3.0f, &point, &direction));
  ExpectNear(point, {5, 0, 0});
  ExpectNear(direction, {0, -1, 0});
  EXPECT_FALSE(loop.DirectionAtLength(5.0f, &direction));
  EXPECT_FALSE(loop.ClosestPoint({1, 1, 0}, &point, &direction));
  std::vector<std::pair<V, V>> segments;
  loop.ForEachSegment([&](const V& a, const V& b) { segments.emplace_back(a, b); });
  ASSERT_EQ(segments.size(), 4u);
  EXPECT_EQ(segments.back(), (std::pair<V, V>{{0, 10, 0}, {0, 0, 0}}));
}

}  // namespace
