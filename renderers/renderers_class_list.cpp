#include "renderers/renderers_class_list.h"

#include "renderers/light/ds_2d_light.h"

void RegisterRendererClasses(ClassRegistries& registries) {
  AddClass<DS_2D_Light, DS_2D_Light>(registries.renderers, u"DS_2D_Light");
  InstallRendererServices();
}
