#include "player/player_class_list.h"

#include "player/document/document_services.h"
#include "player/render/render_context.h"
#include "player/scene/ds_slide_container.h"

void RegisterPlayerClasses(ClassRegistries& r) {
  InstallDocumentServices();
  InstallRenderContextServices();

  AddClass<DS_SlideContainer, DS_SlideContainer>(r.slides, u"DS_SlideContainer");
}
