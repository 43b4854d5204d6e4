#include "particles/classic/particles_classic_class_list.h"

#include "particles/classic/kinds/burst_ptcl_sys.h"
#include "particles/classic/kinds/fontain_ptcl_sys.h"
#include "particles/classic/kinds/fountain_presets.h"
#include "particles/classic/lines/groving_line.h"
#include "particles/classic/lines/shooting_line.h"
#include "particles/classic/lines/sliding_line.h"
#include "particles/classic/lines/waving_line.h"
#include "particles/classic/paths/particle_path.h"
#include "particles/classic/paths/particle_trace.h"

void RegisterParticlesClassicClasses(ClassRegistries& r) {
  AddObjectClass<ZKW_BurstPtclSys>(r.objects, u"ZKW_BurstPtclSys");
  AddObjectClass<ZKW_FontainPtclSys>(r.objects, u"ZKW_FontainPtclSys");
  AddObjectClass<DS_PtclFire>(r.objects, u"DS_PtclFire");
  AddObjectClass<DS_PtclFireStream>(r.objects, u"DS_PtclFireStream");
  AddObjectClass<DS_PtclSmoke>(r.objects, u"DS_PtclSmoke");
  AddObjectClass<DS_WaterJet>(r.objects, u"DS_WaterJet");
  AddObjectClass<DS_LightBeams>(r.objects, u"DS_LightBeams");
  AddObjectClass<ZKW_GrovingLine>(r.objects, u"ZKW_GrovingLine");
  AddObjectClass<ZKW_SlidingLine>(r.objects, u"ZKW_SlidingLine");
  AddObjectClass<ZKW_ShootingLine>(r.objects, u"ZKW_ShootingLine");
  AddObjectClass<ZKW_Tears>(r.objects, u"ZKW_Tears");
  AddObjectClass<ZKW_WavingLine>(r.objects, u"ZKW_WavingLine");
  AddObjectClass<ZKW_ParticlePath>(r.objects, u"ZKW_ParticlePath");
  AddObjectClass<ZKW_ParticleTrace>(r.objects, u"ZKW_ParticleTrace");
}
