#include "player/resources/texture_cache.h"

#include <algorithm>
#include <vector>

#include "platform/res/data_modules.h"
#include "player/resources/mesh_loading.h"
#include "player/resources/module_resources.h"
#include "player/resources/picture_textures.h"

namespace {

// Live caches in the order they were made; the last one is current.
std::vector<TextureCache*>& LiveCaches() {
  static std::vector<TextureCache*> caches;
  return caches;
}

}  // namespace

TextureCache::TextureCache() {
  LiveCaches().push_back(this);
}

TextureCache::~TextureCache() {
  auto& caches = LiveCaches();
  caches.erase(std::remove(caches.begin(), caches.end(), this), caches.end());
}

TextureCache* TextureCache::Current() {
  const auto& caches = LiveCaches();
  return caches.empty() ? nullptr : caches.back();
}

ComRef<gfx::Texture> TextureCache::GetBuiltinTexture() {
  ComRef<gfx::Texture>& slot = builtinTextures_[2];
  if (!slot) LoadBuiltinTexture(2, slot, true);
  return slot;
}

TextureRef TextureCache::GetLinkTexture(const ResourceDataRecord& record) {
  if (!record.path.empty()) {
    return record.bytes.empty() ? GetFileTexture(record) : CreateTextureFromBytes(record.bytes);
  }
  const res::Module* module = nullptr;
  if (GetModule(record.module, module)) {
    TextureRef& entry = moduleTextures_[{module, record.resourceId}];
    if (entry.texture) return entry;
    TextureRef made;
    if (auto bytes = res::FindResource(module, u"DDS", ResourceIdOf(record.resourceId))) {
      made = CreateTextureFromBytes(*bytes);
    }
    if (!made.texture) made = CreateTextureFromBytes(record.bytes);
    entry = made;
    return entry;
  }
  TextureRef& entry = namedModuleTextures_[{record.module, record.resourceId}];
  if (entry.texture) return entry;
  entry = CreateTextureFromBytes(record.bytes);
  // The player carries substitutes of the shared library's pictures under the library's ids:
  // with the library absent and nothing stored in the project, they stand in.
  if (!entry.texture) {
    if (auto own = res::FindResource(nullptr, u"DDS", ResourceIdOf(record.resourceId))) {
      TextureRef substitute = CreateTextureFromBytes(*own);
      if (substitute.texture) entry = substitute;
    }
  }
  return entry;
}

TextureRef TextureCache::GetFileTexture(const ResourceDataRecord& record) {
  TextureRef& entry = fileTextures_[record.path];
  if (!entry.texture) entry = CreateTextureFromFile(record.path);
  return entry;
}

bool TextureCache::GetModule(const zkw_string& name, const res::Module*& out) {
  if (auto it = modules_.find(name); it != modules_.end()) {
    out = it->second;
    return true;
  }
  out = nullptr;
  if (!name.empty()) {
    out = res::GetDataModule(name);
    if (out == nullptr) return false;
  }
  modules_.emplace(name, out);
  return true;
}

MeshBuffers TextureCache::LoadModelForLink(const ResourceDataRecord& record, uint32_t stride) {
  std::optional<MeshBuffers>& cached = moduleMeshes_[{record.module, record.resourceId}];
  if (cached) return *cached;
  MeshBuffers result;
  const res::Module* module = nullptr;
  if (GetModule(record.module, module)) {
    const auto bytes = res::FindResource(module, u"DDS", ResourceIdOf(record.resourceId));
    LoadMeshFromMemory(bytes ? *bytes : std::span<const uint8_t>(), stride, result);
    cached = result;
  } else if (!record.bytes.empty()) {
    LoadMeshFromMemory(record.bytes, stride, result);
  } else {
    LoadMeshFromFile(record.path, stride, result);
  }
  return result;
}
