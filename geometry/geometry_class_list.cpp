#include "geometry/geometry_class_list.h"

#include "geometry/figure/zkw_vfigure_bspline.h"
#include "geometry/figure/zkw_vfigure_rect.h"
#include "geometry/figure/zkw_vfigure_sector.h"
#include "geometry/gradient/zkw_vgradient_circular.h"
#include "geometry/gradient/zkw_vgradient_linear.h"
#include "geometry/graph/vgraph_line.h"
#include "geometry/graph/vgraph_line_kinds.h"
#include "geometry/shape/curve_shape_kinds.h"
#include "geometry/shape/zkw_vgeom2d_freeform.h"
#include "geometry/shape/zkw_vgeom2d_rect.h"
#include "geometry/shape/zkw_vgeom2d_sector.h"
#include "geometry/shape/zkw_vgeom2d_sphere.h"
#include "geometry/shape/zkw_vgeom2d_spiral.h"
#include "geometry/shape/zkw_vgeom2d_stripe.h"
#include "geometry/shape/zkw_vgeom2d_text.h"

// One line per class, in the form of core/registry/core_class_list.cpp.
void RegisterGeometryClasses(ClassRegistries& r) {
  // Envelope graphs with point lists (the constant one is core's).
  AddClass<ZKW_VGraph_Line>(r.vgraphs, u"ZKW_VGraph_Line");
  AddClass<ZKW_VGraph_QBezier>(r.vgraphs, u"ZKW_VGraph_QBezier");
  AddClass<ZKW_VGraph_GradientLine>(r.vgraphs, u"ZKW_VGraph_GradientLine");
  AddClass<ZKW_VGraph_StraightLine>(r.vgraphs, u"ZKW_VGraph_StraightLine");

  // Shapes.
  AddClass<ZKW_VGeom2D_BSpline>(r.vgeom2d, u"ZKW_VGeom2D_BSpline");
  AddClass<ZKW_VGeom2D_Polyline>(r.vgeom2d, u"ZKW_VGeom2D_Polyline");
  AddClass<ZKW_VGeom2D_Loop>(r.vgeom2d, u"ZKW_VGeom2D_Loop");
  AddClass<ZKW_VGeom2D_CubicSpline>(r.vgeom2d, u"ZKW_VGeom2D_CubicSpline");
  AddClass<ZKW_VGeom2D_LineSegment>(r.vgeom2d, u"ZKW_VGeom2D_LineSegment");
  AddClass<ZKW_VGeom2D_Stripe>(r.vgeom2d, u"ZKW_VGeom2D_Stripe");
  AddClass<ZKW_VGeom2D_Rect>(r.vgeom2d, u"ZKW_VGeom2D_Rect");
  AddClass<ZKW_VGeom2D_Sector>(r.vgeom2d, u"ZKW_VGeom2D_Sector");
  AddClass<ZKW_VGeom2D_Spiral>(r.vgeom2d, u"ZKW_VGeom2D_Spiral");
  AddClass<ZKW_VGeom2D_Sphere>(r.vgeom2d, u"ZKW_VGeom2D_Sphere");
  AddClass<ZKW_VGeom2D_Freeform>(r.vgeom2d, u"ZKW_VGeom2D_Freeform");
  AddClass<ZKW_VGeom2D_Text>(r.vgeom2d, u"ZKW_VGeom2D_Text");

  // Emitter figures.
  AddClass<ZKW_VFigure_Rect>(r.vfigures, u"ZKW_VFigure_Rect");
  AddClass<ZKW_VFigure_Sector>(r.vfigures, u"ZKW_VFigure_Sector");
  AddClass<ZKW_VFigure_BSpline>(r.vfigures, u"ZKW_VFigure_BSpline");

  // Gradients.
  AddClass<ZKW_VGradient_Linear>(r.vgradients, u"ZKW_VGradient_Linear");
  AddClass<ZKW_VGradient_Circular>(r.vgradients, u"ZKW_VGradient_Circular");
}
