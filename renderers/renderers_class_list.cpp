#include "renderers/renderers_class_list.h"

#include "renderers/flame/ds_flame_light.h"
#include "renderers/light/ds_2d_light.h"
#include "renderers/underwater/fake_undervater.h"

void RegisterRendererClasses(ClassRegistries& registries) {
  AddClass<DS_2D_Light, DS_2D_Light>(registries.renderers, u"DS_2D_Light");
  AddClass<FakeUndervater, DS_2D_Light>(registries.renderers, u"FakeUndervater");
  AddClass<DS_FlameLight, DS_2D_Light>(registries.renderers, u"DS_FlameLight");
  InstallRendererServices();
}
