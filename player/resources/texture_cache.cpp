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
  MeshBuffers result;
  if (!record.path.empty()) {
    if (record.bytes.empty()) {
      LoadMeshFromFile(record.path, stride, result);
    } else {
      LoadMeshFromMemory(record.bytes, stride, result);
    }
    return result;
  }
  const res::Module* module = nullptr;
  const bool readable = GetModule(record.module, module);
  if (readable) {
    std::optional<MeshBuffers>& cached = moduleMeshes_[{record.module, record.resourceId}];
    if (!cached) {
      const auto bytes = res::FindResource(module, u"DDS", ResourceIdOf(record.resourceId));
      LoadMeshFromMemory(bytes ? *bytes : std::span<const uint8_t>(), stride, result);
      cached = result;
    }
    if (cached->vertexCount != 0) return *cached;
  }
  if (!record.bytes.empty()) LoadMeshFromMemory(record.bytes, stride, result);
  if (result.vertexCount != 0 || readable) return result;
  // The player carries substitutes of the shared library's meshes under the library's ids
  // (the library's search would find pictures among the player's own "DDS" resources): with
  // the module absent and nothing usable stored, they stand in.
  MeshBuffers& own = builtinMeshes_[ResourceIdOf(record.resourceId)];
  if (own.vertexCount == 0) {
    if (const auto bytes = res::FindResource(nullptr, u"XMESH", ResourceIdOf(record.resourceId)))
      LoadMeshFromMemory(*bytes, stride, own);
  }
  return own;
}
