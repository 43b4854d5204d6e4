#include "particles/classic/particles_classic_class_list.h"

#include "particles/classic/kinds/brown_animation.h"
#include "particles/classic/kinds/burst_ptcl_sys.h"
#include "particles/classic/kinds/field_ptcl_sys.h"
#include "particles/classic/kinds/firefly.h"
#include "particles/classic/kinds/fontain_ptcl_sys.h"
#include "particles/classic/kinds/fountain_presets.h"
#include "particles/classic/kinds/rain_on_glass.h"
#include "particles/classic/kinds/ray_of_light.h"
#include "particles/classic/kinds/single_object_path.h"
#include "particles/classic/kinds/splash_ptcl_sys.h"
#include "particles/classic/kinds/spray_presets.h"
#include "particles/classic/kinds/static_object.h"
#include "particles/classic/kinds/stream_ptcl_sys.h"
#include "particles/classic/kinds/through_space_ctrl.h"
#include "particles/classic/kinds/vortex_ptcl_sys.h"

void RegisterParticlesClassicClasses(ClassRegistries& r) {
  AddObjectClass<ZKW_BurstPtclSys>(r.objects, u"ZKW_BurstPtclSys");
  AddObjectClass<ZKW_FontainPtclSys>(r.objects, u"ZKW_FontainPtclSys");
  AddObjectClass<DS_PtclFire>(r.objects, u"DS_PtclFire");
  AddObjectClass<DS_PtclFireStream>(r.objects, u"DS_PtclFireStream");
  AddObjectClass<DS_PtclSmoke>(r.objects, u"DS_PtclSmoke");
  AddObjectClass<DS_WaterJet>(r.objects, u"DS_WaterJet");
  AddObjectClass<DS_LightBeams>(r.objects, u"DS_LightBeams");
  AddObjectClass<ZKW_ThroughSpaceCtrl>(r.objects, u"ZKW_ThroughSpaceCtrl");
  AddObjectClass<ZKW_FieldPtclSys>(r.objects, u"ZKW_FieldPtclSys");
  AddObjectClass<ZKW_BrownAnimation>(r.objects, u"ZKW_BrownAnimation");
  AddObjectClass<ZKW_Firefly>(r.objects, u"ZKW_Firefly");
  AddObjectClass<ZKW_StaticObject>(r.objects, u"ZKW_StaticObject");
  AddObjectClass<ZKW_SigleObjectPath>(r.objects, u"ZKW_SigleObjectPath");
  AddObjectClass<ZKW_SplashPtclSys>(r.objects, u"ZKW_SplashPtclSys");
  AddObjectClass<ZKW_SprayPtclSys>(r.objects, u"ZKW_SprayPtclSys");
  AddObjectClass<DS_PtclFog>(r.objects, u"DS_PtclFog");
  AddObjectClass<DS_BokehLights>(r.objects, u"DS_BokehLights");
  AddObjectClass<DS_PtclSmoke3>(r.objects, u"DS_PtclSmoke3");
  AddObjectClass<DS_Shimmer>(r.objects, u"DS_Shimmer");
  AddObjectClass<DS_StreamPtclSys>(r.objects, u"DS_StreamPtclSys");
  AddObjectClass<DS_PtclSmoke2>(r.objects, u"DS_PtclSmoke2");
  AddObjectClass<ZKW_VortexPtclSys>(r.objects, u"ZKW_VortexPtclSys");
  AddObjectClass<DS_RainOnGlass>(r.objects, u"DS_RainOnGlass");
  AddObjectClass<DS_RayOfLight>(r.objects, u"DS_RayOfLight");
}
