#include "player/document/document_services.h"

#include "core/scene/scene_services.h"
#include "player/document/doc_res_manager.h"

void InstallDocumentServices() {
  SceneServices& services = GetSceneServices();
  services.saveDocument = [](const DS_DocResManager& document, DS_IOF_Archive& archive) {
    document.WriteRecord(archive);
  };
  services.registerSavedLink = [](DS_DocResManager& document, const DS_FileLink3& link) {
    document.RegisterSavedLink(link);
  };
  services.stageLinkRecords = [](DS_DocResManager& document, const DS_FileLink3& link) {
    document.StageLinkRecords(link.Key());
  };
}
