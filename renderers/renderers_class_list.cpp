#include "renderers/renderers_class_list.h"

#include "renderers/flame/ds_flame_light.h"
#include "renderers/glass_ball/ds_glass_ball_light.h"
#include "renderers/lake/fake_lake_2d.h"
#include "renderers/light/ds_2d_light.h"
#include "renderers/matrix_code/ds_matrix_code_light.h"
#include "renderers/underwater/fake_undervater.h"
#include "renderers/water_ring/ds_water_ring_light.h"

void RegisterRendererClasses(ClassRegistries& registries) {
  AddClass<DS_2D_Light, DS_2D_Light>(registries.renderers, u"DS_2D_Light");
  AddClass<FakeUndervater, DS_2D_Light>(registries.renderers, u"FakeUndervater");
  AddClass<DS_FlameLight, DS_2D_Light>(registries.renderers, u"DS_FlameLight");
  AddClass<FakeLake2D, DS_2D_Light>(registries.renderers, u"FakeLake2D");
  AddClass<DS_WaterRingLight, DS_2D_Light>(registries.renderers, u"DS_WaterRingLight");
  AddClass<DS_GlassBallLight, DS_2D_Light>(registries.renderers, u"DS_GlassBallLight");
  AddClass<DS_MatrixCodeLight, DS_2D_Light>(registries.renderers, u"DS_MatrixCodeLight");
  InstallRendererServices();
}
