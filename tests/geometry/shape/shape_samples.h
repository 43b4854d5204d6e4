#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "core/picture/shared_bytes.h"
#include "geometry/graph/vgraph_line.h"
#include "geometry/shape/curve_shape_kinds.h"
#include "geometry/shape/zkw_vgeom2d_freeform.h"
#include "geometry/shape/zkw_vgeom2d_rect.h"
#include "geometry/shape/zkw_vgeom2d_sector.h"
#include "geometry/shape/zkw_vgeom2d_sphere.h"
#include "geometry/shape/zkw_vgeom2d_spiral.h"
#include "geometry/shape/zkw_vgeom2d_stripe.h"
#include "geometry/shape/zkw_vgeom2d_text.h"

// One shape of each of the twelve kinds, with values other than the kind's defaults wherever its
// record stores one: the round-trip tests and the curves fuzz target's seeds use them.

// A segment, then a node with both handles set.
template <class Kind>
std::unique_ptr<ZKW_VGeom2D> SegmentWithNode() {
  auto shape = std::make_unique<Kind>();
  shape->InitAsSegment(1, 2, 0, 7, 5, 0);
  DX_BSplinePnt node(9, -1);
  node.firstHandle.SetValueSilently({1, 2, 0});
  node.secondHandle.SetValueSilently({-3, -4, 0});
  shape->AppendNode(&node);
  return shape;
}

inline void FillCells(ZKW_VGeom2D_Freeform& shape) {
  shape.cells = {{0, 0, 10, 5, 1, 2.0f}, {-4, 1, 3, 8, 1, 5.5f}};
  shape.totalWeight = 5.5f;
  const uint8_t picture[] = {0x89, 'P', 'N', 'G', 0, 7};
  shape.picture.bytes = SharedBytes::CopyOf(picture);
  shape.picture.delay = 0.25f;
}

struct ShapeSample {
  const char* name;
  std::function<std::unique_ptr<ZKW_VGeom2D>()> make;
};

inline const std::vector<ShapeSample>& ShapeSamples() {
  static const std::vector<ShapeSample> cases = {
      {"ZKW_VGeom2D_BSpline", SegmentWithNode<ZKW_VGeom2D_BSpline>},
      {"ZKW_VGeom2D_Polyline", SegmentWithNode<ZKW_VGeom2D_Polyline>},
      {"ZKW_VGeom2D_Loop", SegmentWithNode<ZKW_VGeom2D_Loop>},
      {"ZKW_VGeom2D_CubicSpline", SegmentWithNode<ZKW_VGeom2D_CubicSpline>},
      {"ZKW_VGeom2D_LineSegment", SegmentWithNode<ZKW_VGeom2D_LineSegment>},
      {"ZKW_VGeom2D_Stripe",
       [] {
         auto stripe = std::make_unique<ZKW_VGeom2D_Stripe>();
         stripe->curve.Set(AsCurveShape(SegmentWithNode<ZKW_VGeom2D_BSpline>()));
         stripe->width.value.SetValue(10);
         stripe->width.spread.SetValue(20);
         stripe->width.envelope.SetGraph(DS_SafePtr<ZKW_VGraph>(std::make_unique<ZKW_VGraph_Line>(
             std::vector<ZKW_VGraph_Line::Point>{{0, 1}, {1, 0.5f}})));
         stripe->start.SetValue(20);
         stripe->end.SetValue(60);
         return stripe;
       }},
      {"ZKW_VGeom2D_Rect",
       [] {
         auto rect = std::make_unique<ZKW_VGeom2D_Rect>();
         rect->position.SetValue({1, 2, 3});
         rect->width.SetValue(30);
         rect->height.SetValue(40);
         return rect;
       }},
      {"ZKW_VGeom2D_Sector",
       [] {
         auto sector = std::make_unique<ZKW_VGeom2D_Sector>();
         sector->position.SetValue({-1, 0, 2});
         sector->radius.SetValue(50);
         sector->innerRadius.SetValue(10);
         sector->direction.SetValue(30);
         sector->sweep.SetValue(90);
         return sector;
       }},
      {"ZKW_VGeom2D_Spiral",
       [] {
         auto spiral = std::make_unique<ZKW_VGeom2D_Spiral>();
         spiral->position.SetValue({5, 6, 7});
         spiral->radius.SetValue(70);
         spiral->arms.startAngle.SetValue(10);
         spiral->arms.armSpan.SetValue(20);
         spiral->arms.armCount.SetValue(5);
         spiral->arms.turn.SetValue(1);
         spiral->arms.twist.SetValue(300);
         return spiral;
       }},
      {"ZKW_VGeom2D_Sphere",
       [] {
         auto sphere = std::make_unique<ZKW_VGeom2D_Sphere>();
         sphere->position.SetValue({0, 0, 4});
         sphere->radius.SetValue(9);
         return sphere;
       }},
      {"ZKW_VGeom2D_Freeform",
       [] {
         auto freeform = std::make_unique<ZKW_VGeom2D_Freeform>();
         FillCells(*freeform);
         return freeform;
       }},
      {"ZKW_VGeom2D_Text",
       [] {
         auto text = std::make_unique<ZKW_VGeom2D_Text>();
         FillCells(*text);
         text->style.text.SetValue(u"Hi");
         text->style.value3.SetValue(2);
         text->offset.SetValue({5, 5, 0});
         return text;
       }},
  };
  return cases;
}
