#include "player/document/doc_res_manager.h"

#include "core/startup/thread_slots.h"
#include "player/document/zkw_losable_obj.h"

DS_DocResManager::DS_DocResManager() : textureCache_(std::make_unique<TextureCache>()) {}

DS_DocResManager::~DS_DocResManager() {
  ReleaseDeviceObjects();
  textureCache_.reset();
  for (auto& [key, targets] : guidTargets)
    targets->Release();
  guidTargets.clear();
}

TextureCache& DS_DocResManager::Cache() {
  TextureCache* current = TextureCache::Current();
  return current != nullptr ? *current : *textureCache_;
}

void DS_DocResManager::ReleaseDeviceObjects() {
  for (const auto& [key, object] : losableRegistry.Entries())
    object->OnLostDevice();
  for (auto& [key, effect] : effectCache)
    if (effect) effect->OnLostDevice();
  for (auto& [key, targets] : guidTargets)
    targets->Release();
}

void DS_DocResManager::OnResetDevice() {
  for (const auto& [key, object] : losableRegistry.Entries())
    object->OnResetDevice();
  for (auto& [key, effect] : effectCache)
    if (effect) effect->OnResetDevice();
  // As when first made: a set that cannot be made again stays empty.
  for (auto& [key, targets] : guidTargets)
    (void)targets->CreateFrom(guidTextures[key].Get(), targets->width, targets->height);
}

DS_DocResManager* CurrentDocument() {
  return DocumentTlsSlot::Get();
}
