// The pictures and GUID targets that scene objects ask of the document.
#include <bit>
#include <memory>

#include "core/archive/resource_buffer.h"
#include "platform/gfx/image/d3dx_texture.h"
#include "platform/res/data_modules.h"
#include "player/device/device_values.h"
#include "player/document/doc_res_manager.h"
#include "player/resources/module_resources.h"

namespace {

// The smallest stored resource record: id, empty module, size 0, empty path.
constexpr uint64_t kMinResourceRecord = 16;

void TakeSize(ImageTextureSet& set, const TextureRef& made) {
  set.width = made.width;
  set.height = made.height;
  set.aspect = made.aspect;
}

}  // namespace

ResourceDataRecord LinkRecordOf(const DS_FileLink3& link) {
  ResourceDataRecord record;
  record.resourceId = static_cast<uint32_t>(link.id);
  record.module = link.name;
  return record;
}

ImageTextureSet& DS_DocResManager::GetImageTextures(const DS_FileLink3& link) {
  const LinkKey key = link.Key();
  ImageTextureSet& set = imageTextureSets[key];
  if (!set.textures.empty()) return set;
  if (link.GetExtension() == u".dll" || link.name.empty()) {
    BuildTexturesFromRecords(set, link);
  } else {
    // A picture file gets textures only from the records the project stored for it.
    resourceRecords[key];
  }
  return set;
}

bool DS_DocResManager::BuildTexturesFromRecords(ImageTextureSet& set, const DS_FileLink3& link) {
  const ResourceDataRecord record = LinkRecordOf(link);
  std::vector<ResourceDataRecord>& records = resourceRecords[link.Key()];
  if (records.empty()) records.push_back(record);
  const TextureRef made = Cache().GetLinkTexture(record);
  set.textures = {made.texture};
  TakeSize(set, made);
  set.lastSwitch = 0.0f;
  return true;
}

ImageTextureSet& DS_DocResManager::LoadModulePictures(const DS_FileLink3& link) {
  const LinkKey key = link.Key();
  ImageTextureSet& set = imageTextureSets[key];
  if (!set.textures.empty()) return set;
  const res::Module* module = res::GetDataModule(link.name);
  const auto pack = res::FindResource(module, u"DDS", ResourceIdOf(link.id));
  if (!pack || pack->empty()) return set;

  // Delays, a record count and the records; a pack that does not fit its bytes gives nothing.
  ResourceBuffer buffer;
  buffer.SetMemory(pack->data(), pack->size());
  std::vector<uint32_t> delayBits;
  buffer.ReadDwordVector(delayBits);
  uint32_t count = 0;
  buffer.ReadDword(count);
  if (buffer.Failed() || uint64_t{count} * kMinResourceRecord > buffer.Remaining()) return set;
  std::vector<ResourceDataRecord> records = resourceRecords[key];
  records.resize(count);
  for (ResourceDataRecord& record : records)
    buffer.ReadResourceRecord(record);
  if (buffer.Failed()) return set;

  set.delays.clear();
  for (uint32_t bits : delayBits)
    set.delays.push_back(std::bit_cast<float>(bits));
  std::vector<ResourceDataRecord>& stored = resourceRecords[key];
  stored = std::move(records);
  set.textures.resize(count);
  for (uint32_t i = 0; i < count; ++i) {
    const TextureRef made = Cache().GetLinkTexture(stored[i]);
    set.textures[i] = made.texture;
    TakeSize(set, made);
  }
  return set;
}

DS_ImageFileLink DS_DocResManager::RegisterModulePicture(const ResourceDataRecord& record) {
  DS_FileLink3 link;
  link.ConstructFromRecord(record);
  const LinkKey key = link.Key();
  std::vector<ResourceDataRecord>& records = resourceRecords[key];
  if (records.empty()) records.push_back(record);
  const TextureRef made = Cache().GetLinkTexture(record);
  ImageTextureSet& set = imageTextureSets[key];
  set.textures = {made.texture};
  TakeSize(set, made);
  set.lastSwitch = 0.0f;
  return DS_ImageFileLink(link.name, link.id);
}

DS_ImageFileLink DS_DocResManager::RegisterFramePictures(
    const std::vector<ResourceDataRecord>& records, const std::vector<float>& delays) {
  if (records.empty()) return DS_ImageFileLink();
  DS_FileLink3 link;
  link.ConstructFromRecord(records.front());
  const LinkKey key = link.Key();
  ImageTextureSet& set = imageTextureSets[key];
  if (set.textures.empty()) {
    std::vector<ResourceDataRecord>& stored = resourceRecords[key];
    for (const ResourceDataRecord& record : records) {
      const TextureRef made = Cache().GetLinkTexture(record);
      set.textures.push_back(made.texture);
      TakeSize(set, made);
      stored.push_back(record);
    }
    set.delays = delays;
  }
  return DS_ImageFileLink(link.name, link.id);
}

ComRef<gfx::Texture>& DS_DocResManager::GetGuidTexture(const GuidPictureKey& key) {
  ComRef<gfx::Texture>& slot = guidTextures[key];
  if (!slot) slot = TextureOfGuidPicture(key.guid);
  return slot;
}

ComRef<gfx::Texture> DS_DocResManager::TextureOfGuidPicture(const GUID& guid) {
  const auto found = framesByLink.find(GuidLinkKey(guid));
  gfx::Device* device = CurrentDevice();
  if (found == framesByLink.end() || found->second.size() != 1 || device == nullptr) return {};
  const SharedBytes& bytes = found->second.front().bytes;
  if (bytes.Count() == 0) return {};
  gfx::Texture* texture = nullptr;
  if (gfx::Succeeded(D3DXCreateTextureFromFileInMemoryEx(
          device, bytes.Data(), bytes.Count(), D3DX_DEFAULT, D3DX_DEFAULT, 1, 0,
          gfx::Format::Unknown, gfx::Pool::Managed, D3DX_FILTER_NONE, D3DX_FILTER_NONE, 0, nullptr,
          &texture))) {
    return ComRef<gfx::Texture>(texture);
  }
  if (texture != nullptr) texture->Release();
  return {};
}

RenderTargetSet* DS_DocResManager::GetGuidRenderTarget(const GuidPictureKey& key) {
  if (auto found = guidTargets.find(key); found != guidTargets.end()) return found->second.get();
  auto targets = std::make_unique<RenderTargetSet>();
  // A set that cannot be made stays empty and is kept: its users then draw without it.
  (void)targets->CreateFrom(guidTextures[key].Get(), 512, 512);
  return guidTargets.emplace(key, std::move(targets)).first->second.get();
}
