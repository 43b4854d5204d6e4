// The node-defined curve shapes over their smart curves.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "core/param/recording_control.h"
#include "geometry/shape/curve_shape_kinds.h"
#include "geometry/shape/shape_fixture.h"
#include "geometry/shape/zkw_vgeom2d_rect.h"
#include "geometry/shape/zkw_vgeom2d_visitor.h"
#include "geometry/vector_expect.h"

namespace {

using V = D3DXVECTOR3;

template <class Kind>
void AppendAt(Kind& shape, std::initializer_list<V> positions) {
  for (const V& p : positions) {
    DX_BSplinePnt node(p.x, p.y);
    shape.AppendNode(&node);
  }
}

TEST(CurveShapes, BSplineSegmentGetsHandlesOfAThirdOfTheChord) {
  ZKW_VGeom2D_BSpline spline;
  ASSERT_TRUE(spline.InitAsSegment(0, 0, 0, 10, 0, 0));
  ASSERT_EQ(spline.Smart().GetCount(), 2);
  EXPECT_EQ(spline.NodeAt(0)->firstHandle.Value(), V(3, 0, 0));
  EXPECT_EQ(spline.NodeAt(0)->secondHandle.Value(), V(0, 0, 0));
  EXPECT_EQ(spline.NodeAt(1)->secondHandle.Value(), V(-3, 0, 0));
  EXPECT_EQ(spline.NodeAt(1)->Value(), V(10, 0, 0));
  EXPECT_EQ(spline.NodeAt(2), nullptr);
  EXPECT_EQ(spline.Smart().points.currentIndex.Value(), 1);

  // The segment is rebuilt: once its offsetter is built it measures the Bezier segment.
  spline.GetCurve().GetOffsetMaker()->Build(0);
  EXPECT_NEAR(spline.Length(), 10.0f, 1e-3f);
}

TEST(CurveShapes, SegmentsOfTheCornerKinds) {
  ZKW_VGeom2D_Loop loop;
  ASSERT_TRUE(loop.InitAsSegment(1, 2, 0, 5, 7, 0));
  std::vector<V> nodes;
  for (int i = 0; const DX_BSplinePnt* node = loop.NodeAt(i); ++i)
    nodes.push_back(node->Value());
  EXPECT_EQ(nodes, (std::vector<V>{{1, 7, 0}, {5, 7, 0}, {5, 2, 0}, {1, 2, 0}}));
  EXPECT_TRUE(loop.IsClosed());
  EXPECT_FLOAT_EQ(loop.Length(), 18.0f) << "the loop's perimeter, rebuilt at once";

  ZKW_VGeom2D_LineSegment segment;
  ASSERT_TRUE(segment.InitAsSegment(1, 2, 9, 4, 6, 9));
  EXPECT_EQ(segment.NodeAt(0)->Value(), V(1, 2, 0));
  EXPECT_EQ(segment.NodeAt(1)->Value(), V(4, 6, 0));
  EXPECT_FALSE(segment.IsClosed());

  ZKW_VGeom2D_CubicSpline cubic;
  EXPECT_FALSE(cubic.InitAsSegment(0, 0, 0, 1, 1, 0));
  EXPECT_EQ(cubic.Smart().GetCount(), 0);
}

TEST(CurveShapes, PolylineBounds) {
  ZKW_VGeom2D_Polyline polyline;
  V min(7, 7, 7), max(7, 7, 7);
  EXPECT_FALSE(polyline.GetBounds(&min, &max)) << "no nodes, nothing to measure";
  EXPECT_EQ(min, V(7, 7, 7));
  AppendAt(polyline, {{3, 1, 0}, {0, 5, 0}, {2, -4, 0}});
  ASSERT_TRUE(polyline.GetBounds(&min, &max));
  EXPECT_EQ(min, V(0, -4, 0));
  EXPECT_EQ(max, V(3, 5, 0));

  ZKW_VGeom2D_LineSegment segment;
  segment.InitAsSegment(5, 1, 0, -2, 3, 0);
  ASSERT_TRUE(segment.GetBounds(&min, &max));
  EXPECT_EQ(min, V(-2, 1, 0));
  EXPECT_EQ(max, V(5, 3, 0));

  ZKW_VGeom2D_CubicSpline cubic;
  AppendAt(cubic, {{3, 1, 0}});
  EXPECT_FALSE(cubic.GetBounds(&min, &max));
}

TEST(CurveShapes, AppendNodeStoresAndNotifiesWithoutRebuilding) {
  ZKW_VGeom2D_Polyline polyline;
  std::vector<std::string> log;
  RecordingControl index("index", &log, &polyline.Smart().points.currentIndex);
  RecordingControl list("list", &log, &polyline.Smart().points);
  RecordingControl curve("curve", &log, &polyline.GetCurve());

  DX_BSplinePnt node(4, 2);
  node.firstHandle.SetValueSilently({1, 1, 0});
  const int tagShares = node.tag.Count();
  polyline.AppendNode(&node);
  EXPECT_EQ(log, (std::vector<std::string>{"index", "list"}));
  const DX_BSplinePnt* stored = polyline.NodeAt(0);
  EXPECT_NE(dynamic_cast<const ZKW_CornerBSplinePnt*>(stored), nullptr);
  EXPECT_NE(stored, &node);
  EXPECT_EQ(stored->firstHandle.Value(), V(1, 1, 0)) << "handles are copied";
  EXPECT_EQ(node.tag.Count(), tagShares) << "a corner node gets its own tag";

  log.clear();
  polyline.AppendNode(nullptr);
  EXPECT_TRUE(log.empty());

  polyline.Smart().points.currentIndex.SetValue(1);
  log.clear();
  AppendAt(polyline, {{8, 2, 0}});
  EXPECT_EQ(log, (std::vector<std::string>{"list"})) << "the index did not change";
  polyline.GetCurve().GetOffsetMaker()->Build(0);
  EXPECT_EQ(polyline.Length(), 0.0f) << "appending does not rebuild";

  ZKW_VGeom2D_BSpline spline;
  spline.AppendNode(&node);
  EXPECT_EQ(node.tag.Count(), tagShares + 1) << "a B-spline node shares the tag";
  EXPECT_EQ(spline.NodeAt(0)->firstHandle.Value(), V(1, 1, 0));

  ZKW_VGeom2D_LineSegment segment;
  segment.AppendNode(&node);
  EXPECT_EQ(segment.Smart().GetCount(), 0);
}

TEST(CurveShapes, ConvertToCopiesNodesIntoCurveKindsOnly) {
  RegisterShapeClasses();
  ZKW_VGeom2D_BSpline spline;
  spline.InitAsSegment(0, 0, 0, 10, 0, 0);
  AppendAt(spline, {{10, 10, 0}});

  DS_SafePtr<ZKW_VGeom2D_Curve> polyline = spline.ConvertTo("ZKW_VGeom2D_Polyline");
  auto* converted = dynamic_cast<ZKW_VGeom2D_Polyline*>(polyline.Get());
  ASSERT_NE(converted, nullptr);
  EXPECT_EQ(polyline.Count(), 1);
  ASSERT_EQ(converted->Smart().GetCount(), 3);
  EXPECT_EQ(converted->NodeAt(0)->firstHandle.Value(), V(3, 0, 0));
  EXPECT_EQ(converted->NodeAt(2)->Value(), V(10, 10, 0));
  EXPECT_EQ(converted->Length(), 0.0f) << "the new shape is not rebuilt";

  DS_SafePtr<ZKW_VGeom2D_Curve> segment = converted->ConvertTo("ZKW_VGeom2D_LineSegment");
  ASSERT_NE(dynamic_cast<ZKW_VGeom2D_LineSegment*>(segment.Get()), nullptr);
  EXPECT_EQ(dynamic_cast<ZKW_VGeom2D_LineSegment&>(*segment).Smart().GetCount(), 0);

  for (const char* notACurve : {"ZKW_VGeom2D_Rect", "ZKW_VGeom2D_Stripe", "Nothing"}) {
    DS_SafePtr<ZKW_VGeom2D_Curve> none = spline.ConvertTo(notACurve);
    EXPECT_EQ(none.Get(), nullptr) << notACurve;
    EXPECT_EQ(none.Count(), 1) << "an empty handle";
  }
}

TEST(CurveShapes, CloneSharesNodesAndOutlivesItsOriginal) {
  auto original = std::make_unique<ZKW_VGeom2D_Polyline>();
  original->InitAsSegment(0, 0, 0, 10, 0, 0);
  AppendAt(*original, {{10, 10, 0}});
  original->GetCurve().Rebuild();
  original->GetCurve().GetOffsetMaker()->Build(0);
  ASSERT_FLOAT_EQ(original->Length(), 20.0f);

  std::unique_ptr<ZKW_VGeom2D> copy = original->Clone();
  auto& clone = dynamic_cast<ZKW_VGeom2D_Polyline&>(*copy);
  EXPECT_EQ(&clone.GetCurve(), &clone.Smart()) << "the clone answers through its own curve";
  EXPECT_EQ(clone.NodeAt(1), original->NodeAt(1)) << "nodes are shared";
  EXPECT_EQ(clone.GetCurve().GetOffsetMaker(), original->GetCurve().GetOffsetMaker());
  original.reset();
  EXPECT_FLOAT_EQ(clone.Length(), 20.0f);
  V point;
  float uv[2] = {0.75f, 0};
  ASSERT_TRUE(clone.PointAt(uv, &point, nullptr));
  ExpectNear(point, {10, 5, 0});
  EXPECT_EQ(clone.NodeAt(2)->Value(), V(10, 10, 0));
}

TEST(CurveShapes, QueriesAlongASampledCurve) {
  ZKW_VGeom2D_CubicSpline cubic;
  AppendAt(cubic, {{0, 0, 0}, {10, 0, 0}});
  cubic.GetCurve().Rebuild();
  V point, tangent, normal;
  float uv[2] = {0.25f, 0.9f};
  ASSERT_TRUE(cubic.PointAt(uv, &point, nullptr));
  ExpectNear(point, {2.5f, 0, 0});
  ASSERT_TRUE(cubic.PointAtUV(0.25f, 0.1f, &point, nullptr));
  ExpectNear(point, {2.5f, 0, 0});
  ExpectNear(*cubic.GetCenter(&point), {5, 0, 0});
  ASSERT_TRUE(cubic.TangentAt({0, 0, 0}, uv, &tangent));
  ExpectNear(tangent, {1, 0, 0});
  ASSERT_TRUE(cubic.NormalAtParam({0, 0, 0}, uv, &tangent, &normal));
  ExpectNear(normal, {0, 1, 0});
  ExpectNear(*cubic.NormalAt(&normal, {4, 3, 0}), {0, -1, 0});
  EXPECT_FALSE(cubic.Contains({1, 0, 0}));
  EXPECT_EQ(cubic.GetSpanAcross(0.5f), 0.0f);

  // The offset kinds find no nearest segment: a fixed normal instead of an unset tangent.
  ZKW_VGeom2D_Polyline polyline;
  polyline.InitAsSegment(0, 0, 0, 10, 0, 0);
  ExpectNear(*polyline.NormalAt(&normal, {4, 3, 0}), {1, 0, 0});
  ZKW_VGeom2D_CubicSpline single;
  AppendAt(single, {{2, 2, 0}});
  single.GetCurve().Rebuild();
  ExpectNear(*single.NormalAt(&normal, {4, 3, 0}), {1, 0, 0});
  EXPECT_FALSE(single.TangentAt({0, 0, 0}, uv, &tangent));
}

// Counts the calls of each operation.
struct CountingVisitor : ZKW_VGeom2D_Visitor {
  bool VisitPolyline(ZKW_VGeom2D_Polyline&) override { return ++polylines, true; }
  bool VisitLoop(ZKW_VGeom2D_Loop&) override { return ++loops, true; }
  int polylines = 0;
  int loops = 0;
};

TEST(CurveShapes, VisitorsMeetTheKindAndTheSegmentAsAPolyline) {
  CountingVisitor visitor;
  ZKW_VGeom2D_LineSegment segment;
  ZKW_VGeom2D_Loop loop;
  ZKW_VGeom2D_BSpline spline;
  ZKW_VGeom2D_Rect rect;
  EXPECT_TRUE(segment.Accept(visitor));
  EXPECT_TRUE(loop.Accept(visitor));
  EXPECT_FALSE(spline.Accept(visitor)) << "an operation the visitor leaves alone";
  EXPECT_FALSE(rect.Accept(visitor));
  EXPECT_EQ(visitor.polylines, 1);
  EXPECT_EQ(visitor.loops, 1);
}

TEST(CurveShapes, OffsetCurvesHaveTheirLengthOnceBuilt) {
  ZKW_VGeom2D_BSpline spline;
  ZKW_VGeom2D_LineSegment segment;
  for (ZKW_VGeom2D_Curve* curve : std::initializer_list<ZKW_VGeom2D_Curve*>{&spline, &segment}) {
    curve->InitAsSegment(0, 0, 0, 100, 0, 0);
    EXPECT_NEAR(curve->Length(), 100.0f, 1e-2f);
    V at;
    EXPECT_TRUE(curve->PointAtLength(25.0f, 0.0f, &at, nullptr));
    EXPECT_NEAR(at.x, 25.0f, 1e-2f);
  }
}

}  // namespace
