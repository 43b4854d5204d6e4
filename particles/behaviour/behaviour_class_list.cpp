#include "particles/behaviour/behaviour_class_list.h"

#include "particles/behaviour/physics/point_groups.h"
#include "particles/behaviour/physics/root_point.h"

// One line per class, in the form of core/registry/core_class_list.cpp. The parameter blocks
// here are stored inline in their owners' records and have no entry; the sources, physics,
// effects and motion laws register here.
void RegisterParticlesBehaviourClasses(ClassRegistries& r) {
  AddClass<ZKW_PtclSysPhys_RootPnt, ZKW_IOF_Item>(r.iofItems, u"ZKW_PtclSysPhys_RootPnt");
  AddClass<ZKW_PtclSysPhys_ConstPntGroup, ZKW_IOF_Item>(r.iofItems,
                                                        u"ZKW_PtclSysPhys_ConstPntGroup");
  // The older name of the point group.
  AddClass<ZKW_PtclSysPhys_ConstPntGroup, ZKW_IOF_Item>(r.iofItems, u"ZKW_PtclSysPhys_PntCloud");
}
