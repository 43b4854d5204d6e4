// Compiled effects by effect link.
#include <string>

#include "platform/gfx/effect/effect_parser.h"
#include "platform/res/data_modules.h"
#include "player/device/device_values.h"
#include "player/document/doc_res_manager.h"
#include "player/document/effect_source.h"
#include "player/resources/module_resources.h"

std::span<const uint8_t> SelectEffectBytes(ResourceDataRecord& stored,
                                           std::optional<std::span<const uint8_t>> library,
                                           std::optional<std::span<const uint8_t>> builtin) {
  if (library && gfx::IsEffectText(*library)) stored.bytes.assign(library->begin(), library->end());
  if (gfx::IsEffectText(stored.bytes)) return stored.bytes;
  if (builtin && gfx::IsEffectText(*builtin)) return *builtin;
  return {};
}

ComRef<gfx::Effect> DS_DocResManager::GetEffect(const DS_HLSLEffectFile& link) {
  const LinkKey key = link.Key();
  ComRef<gfx::Effect>& slot = effectCache[key];
  if (slot) return slot;

  std::vector<ResourceDataRecord>& records = resourceRecords[key];
  if (records.empty()) records.push_back(LinkRecordOf(link));
  const uint16_t id = ResourceIdOf(link.id);
  std::optional<std::span<const uint8_t>> library;
  if (const res::Module* module = res::GetDataModule(link.name)) {
    library = res::FindResource(module, res::kRtRcData, id);
  }
  const std::span<const uint8_t> bytes =
      SelectEffectBytes(records.back(), library, res::FindResource(nullptr, res::kRtRcData, id));

  slot.Reset();
  gfx::Device* device = CurrentDevice();
  if (device == nullptr || bytes.empty()) return slot;
  const std::string name = ToUtf8(link.name) + "#" + std::to_string(link.id);
  gfx::Effect* effect = nullptr;
  if (gfx::Succeeded(D3DXCreateEffect(device, bytes.data(), static_cast<uint32_t>(bytes.size()),
                                      name, &effect, nullptr))) {
    slot.Reset(effect);
  } else if (effect != nullptr) {
    effect->Release();
  }
  return slot;
}
