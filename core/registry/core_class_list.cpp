#include "core/registry/core_class_list.h"

// One line per class, under its exact class name, in its family's registry:
//   AddClass<ZKW_ContinuesTimeLine>(r.timings, u"ZKW_ContinuesTimeLine");
//   AddObjectClass<DS_FireFX>(r.objects, u"DS_FireFX");
//   AddEffectClass<ZKW_PtclSysEffect_Spin>(r.iofItems, u"ZKW_PtclSysEffect_Spin");
//   r.iofItems.AddAlias(u"ZKW_PtclSysPhys_PntCloud", u"ZKW_PtclSysPhys_ConstPntGroup");
void RegisterCoreClasses(ClassRegistries& r) {
  (void)r;
}
