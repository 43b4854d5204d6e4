#include "core/scene/scene_services.h"

#include <stdexcept>

#include "core/startup/thread_slots.h"

SceneServices& GetSceneServices() {
  static SceneServices services;
  return services;
}

void SwitchRendererTarget(DS_2D_Light& renderer, int* readerCount, bool clear) {
  auto fn = GetSceneServices().switchTarget;
  if (fn == nullptr) throw std::logic_error("no slide renderer library installed SwitchTarget");
  fn(renderer, readerCount, clear);
}

void SaveDocumentRecord(const DS_DocResManager& document, DS_IOF_Archive& archive) {
  auto fn = GetSceneServices().saveDocument;
  if (fn == nullptr) throw std::logic_error("no document library installed its record writer");
  fn(document, archive);
}

void RegisterSavedLinkWithDocument(const DS_FileLink3& link) {
  DS_DocResManager* document = DocumentTlsSlot::Get();
  if (document == nullptr) return;
  auto fn = GetSceneServices().registerSavedLink;
  if (fn == nullptr) throw std::logic_error("no document library installed RegisterSavedLink");
  fn(*document, link);
}

void StageLinkRecordsForSave(const DS_FileLink3& link) {
  DS_DocResManager* document = DocumentTlsSlot::Get();
  if (document == nullptr) return;
  auto fn = GetSceneServices().stageLinkRecords;
  if (fn == nullptr) throw std::logic_error("no document library installed its link staging");
  fn(*document, link);
}

void CurrentTargetSize(float& width, float& height) {
  width = 0.0f;
  height = 0.0f;
  const RenderContext* context = RenderContextTlsSlot::Get();
  if (context == nullptr) return;
  auto fn = GetSceneServices().targetSize;
  if (fn == nullptr) throw std::logic_error("no render-context library installed targetSize");
  fn(*context, width, height);
}
