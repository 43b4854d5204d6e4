#include "core/registry/core_class_list.h"

#include "core/chrono/zkw_chrono_default.h"
#include "core/graph/zkw_vgraph.h"
#include "core/timing/continues_timeline.h"
#include "core/timing/depended_timeline.h"
#include "core/timing/manual_timeline.h"
#include "core/timing/random_timeline.h"

// One line per class, under its exact class name, in its family's registry; particle effects
// are ordinary classes of their family, reading their own fields before their base's record:
//   AddClass<ZKW_ContinuesTimeLine>(r.timings, u"ZKW_ContinuesTimeLine");
//   AddObjectClass<DS_FireFX>(r.objects, u"DS_FireFX");
//   AddClass<ZKW_PtclSysEffect<ZKW_PtclSysEffect_Spin>, ZKW_IOF_Item>(r.iofItems,
//                                                                     u"ZKW_PtclSysEffect_Spin");
//   r.iofItems.AddAlias(u"ZKW_PtclSysPhys_PntCloud", u"ZKW_PtclSysPhys_ConstPntGroup");
void RegisterCoreClasses(ClassRegistries& r) {
  // Timelines.
  AddClass<ZKW_ContinuesTimeLine>(r.timings, u"ZKW_ContinuesTimeLine");
  AddClass<ZKW_RandomTimeLine>(r.timings, u"ZKW_RandomTimeLine");
  AddClass<ZKW_ManualTimeLine>(r.timings, u"ZKW_ManualTimeLine");
  AddClass<ZKW_DependedTimeLine>(r.timings, u"ZKW_DependedTimeLine");

  // Time-window controllers.
  AddClass<ZKW_Chrono_Default>(r.chronos, u"ZKW_Chrono_Default");

  // The constant envelope (the point-list kinds are geometry's).
  AddClass<ZKW_VGraph_Const>(r.vgraphs, u"ZKW_VGraph_Const");
}
