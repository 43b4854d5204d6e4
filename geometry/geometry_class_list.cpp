#include "geometry/geometry_class_list.h"

#include "geometry/graph/vgraph_line.h"
#include "geometry/graph/vgraph_line_kinds.h"

// One line per class, in the form of core/registry/core_class_list.cpp.
void RegisterGeometryClasses(ClassRegistries& r) {
  // Envelope graphs with point lists (the constant one is core's).
  AddClass<ZKW_VGraph_Line>(r.vgraphs, u"ZKW_VGraph_Line");
  AddClass<ZKW_VGraph_QBezier>(r.vgraphs, u"ZKW_VGraph_QBezier");
  AddClass<ZKW_VGraph_GradientLine>(r.vgraphs, u"ZKW_VGraph_GradientLine");
  AddClass<ZKW_VGraph_StraightLine>(r.vgraphs, u"ZKW_VGraph_StraightLine");
}
