#include "player/player_class_list.h"

#include "player/document/document_services.h"

void RegisterPlayerClasses(ClassRegistries&) {
  InstallDocumentServices();
}
