#include "particles/classic/particles_classic_class_list.h"

#include "particles/classic/kinds/burst_ptcl_sys.h"
#include "particles/classic/kinds/fontain_ptcl_sys.h"
#include "particles/classic/kinds/fountain_presets.h"

void RegisterParticlesClassicClasses(ClassRegistries& r) {
  AddObjectClass<ZKW_BurstPtclSys>(r.objects, u"ZKW_BurstPtclSys");
  AddObjectClass<ZKW_FontainPtclSys>(r.objects, u"ZKW_FontainPtclSys");
  AddObjectClass<DS_PtclFire>(r.objects, u"DS_PtclFire");
  AddObjectClass<DS_PtclFireStream>(r.objects, u"DS_PtclFireStream");
  AddObjectClass<DS_PtclSmoke>(r.objects, u"DS_PtclSmoke");
  AddObjectClass<DS_WaterJet>(r.objects, u"DS_WaterJet");
  AddObjectClass<DS_LightBeams>(r.objects, u"DS_LightBeams");
}
