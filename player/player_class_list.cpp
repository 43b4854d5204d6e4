#include "player/player_class_list.h"

#include "player/document/document_services.h"
#include "player/render/render_context.h"

void RegisterPlayerClasses(ClassRegistries&) {
  InstallDocumentServices();
  InstallRenderContextServices();
}
