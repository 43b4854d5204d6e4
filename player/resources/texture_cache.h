#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <utility>

#include "core/archive/data_records.h"
#include "core/com_ref.h"
#include "core/zkw_string.h"
#include "platform/gfx/texture.h"
#include "platform/res/resource_module.h"
#include "player/resources/mesh_buffers.h"
#include "player/resources/texture_ref.h"

// Turns stored resource records into textures and keeps each result, so that a picture is
// decoded once per cache. The player makes one cache at start-up and every document makes its
// own; the most recently made cache that still lives is the current one, which every lookup of
// the documents uses. Entries are never evicted; a picture that could not be decoded is tried
// again at the next request. Main thread only.
class TextureCache {
 public:
  TextureCache();
  ~TextureCache();
  TextureCache(const TextureCache&) = delete;
  TextureCache& operator=(const TextureCache&) = delete;

  // The current cache; null when none lives.
  static TextureCache* Current();

  // The player's own picture 2 with its full mip chain.
  ComRef<gfx::Texture> GetBuiltinTexture();

  // The texture of a stored record (each answer holds its own reference):
  // - a record with a path: its bytes, decoded anew at every call, or without bytes the file;
  // - otherwise the "DDS" resource of the record's module with the record's id, or when that is
  //   missing or broken the record's own bytes; an empty module name means the player's own
  //   resources;
  // - a module that cannot be read: the record's own bytes, or without them the player's own
  //   "DDS" resource of the record's id (its substitute of the library's picture).
  TextureRef GetLinkTexture(const ResourceDataRecord& record);
  // The picture file at the record's path.
  TextureRef GetFileTexture(const ResourceDataRecord& record);
  // The module for a module name: false (nothing kept) when a named module cannot be read; an
  // empty name gives null, the player's own resources.
  [[nodiscard]] bool GetModule(const zkw_string& name, const res::Module*& out);

  // The mesh of a stored record (see LoadMeshFromMemory):
  // - a record with a path: its bytes, or without them the file, loaded at every call;
  // - otherwise the "DDS" resource of the record's id in its module (the player's own for an
  //   empty name), loaded once per cache and module name and id, also when it cannot be
  //   loaded; when that gives no mesh, the record's own bytes, loaded at every call;
  // - a module that cannot be read: the record's own bytes, and when they give no mesh the
  //   player's own "XMESH" resource of the record's id (its substitute of the library's mesh),
  //   kept by the cache once it has loaded.
  [[nodiscard]] MeshBuffers LoadModelForLink(const ResourceDataRecord& record, uint32_t stride);

 private:
  std::map<int, ComRef<gfx::Texture>> builtinTextures_;
  std::map<zkw_string, TextureRef> fileTextures_;
  std::map<std::pair<const res::Module*, uint32_t>, TextureRef> moduleTextures_;
  std::map<std::pair<zkw_string, uint32_t>, TextureRef> namedModuleTextures_;
  std::map<std::pair<zkw_string, uint32_t>, std::optional<MeshBuffers>> moduleMeshes_;
  std::map<uint16_t, MeshBuffers> builtinMeshes_;
  std::map<zkw_string, const res::Module*> modules_;
};
