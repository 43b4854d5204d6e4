#include "particles/tree/tree_class_list.h"
#include "particles/tree/preset/party_balloon.h"
#include "particles/tree/preset/pstree_curve.h"
#include "particles/tree/preset/pstree_leaf.h"
#include "particles/tree/preset/pstree_node.h"
#include "particles/tree/preset/pstree_root.h"
#include "particles/tree/preset/pstree_trace.h"
#include "particles/tree/preset/ptclsys_preset.h"

#include "particles/tree/group_constructor.h"
#include "particles/tree/line/line_node.h"
#include "particles/tree/line/stripe_line_node.h"
#include "particles/tree/line/trace_node.h"
#include "particles/tree/picture_node.h"
#include "particles/tree/ptclsys_constructor.h"
#include "particles/tree/track_node.h"

// One line per class, in the form of core/registry/core_class_list.cpp. The tex-dynamic picture
// is only a base part of other nodes and has no entry.
void RegisterParticlesTreeClasses(ClassRegistries& r) {
  AddObjectClass<ZKW_PtclSys_Constructor>(r.objects, u"ZKW_PtclSys_Constructor");
  AddObjectClass<ZKW_PtclSys_Builder>(r.objects, u"ZKW_PtclSys_Builder");
  AddClass<ZKW_PtclSysNode_Root, ZKW_IOF_Item>(r.iofItems, u"ZKW_PtclSysNode_Root");
  AddClass<ZKW_PtclSysNode_Emitter, ZKW_IOF_Item>(r.iofItems, u"ZKW_PtclSysNode_Emitter");
  AddClass<ZKW_PtclSysNode_Picture, ZKW_IOF_Item>(r.iofItems, u"ZKW_PtclSysNode_Picture");
  AddClass<ZKW_PtclSysNode_Blank, ZKW_IOF_Item>(r.iofItems, u"ZKW_PtclSysNode_Blank");
  AddClass<ZKW_PtclSysNodePic_Explode, ZKW_IOF_Item>(r.iofItems, u"ZKW_PtclSysNodePic_Explode");
  AddObjectClass<ZKW_Group_Constructor>(r.objects, u"ZKW_Group_Constructor");
  AddClass<ZKW_GroupNode, ZKW_IOF_Item>(r.iofItems, u"ZKW_GroupNode");
  AddClass<ZKW_PtclSysNode_Track, ZKW_IOF_Item>(r.iofItems, u"ZKW_PtclSysNode_Track");
  AddClass<ZKW_PSTree_Stem, ZKW_IOF_Item>(r.iofItems, u"ZKW_PSTree_Stem");
  AddClass<ZKW_PSTree_Leaf, ZKW_IOF_Item>(r.iofItems, u"ZKW_PSTree_Leaf");
  AddClass<ZKW_PartyBalloon, ZKW_IOF_Item>(r.iofItems, u"ZKW_PartyBalloon");
  AddClass<ZKW_PSTree_Trace, ZKW_IOF_Item>(r.iofItems, u"ZKW_PSTree_Trace");
  AddClass<ZKW_PSTree_Curve, ZKW_IOF_Item>(r.iofItems, u"ZKW_PSTree_Curve");
  AddObjectClass<ZKW_PSTree_Root>(r.objects, u"ZKW_PSTree_Root");
  AddObjectClass<ZKW_PtclSysPreset>(r.objects, u"ZKW_PtclSysPreset");
  AddClass<ZKW_PtclSysNode_Trace, ZKW_IOF_Item>(r.iofItems, u"ZKW_PtclSysNode_Trace");
  // Stripe lines; the stripe-line base has no reader.
  AddClass<ZKW_PtclSysNode_FractalLine, ZKW_IOF_Item>(r.iofItems, u"ZKW_PtclSysNode_FractalLine");
  AddClass<ZKW_PtclSysNode_RandomLine, ZKW_IOF_Item>(r.iofItems, u"ZKW_PtclSysNode_RandomLine");
  AddClass<ZKW_PtclSysNode_Line, ZKW_IOF_Item>(r.iofItems, u"ZKW_PtclSysNode_Line");
}
