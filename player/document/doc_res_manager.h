#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "core/archive/data_records.h"
#include "core/com_ref.h"
#include "core/link/ds_file_link.h"
#include "core/link/link_key.h"
#include "core/object/ds_iof_item.h"
#include "core/picture/frame_list.h"
#include "core/sequence/link_texture_set.h"
#include "platform/gfx/effect/effect.h"
#include "platform/gfx/texture.h"
#include "player/document/guid_picture_key.h"
#include "player/document/image_texture_set.h"
#include "player/document/losable_registry.h"
#include "player/document/scene_view.h"
#include "player/render/render_target_set.h"
#include "player/resources/mesh_buffers.h"
#include "player/resources/texture_cache.h"

// The per-link tables of the document. Every table is an ordered map with unique keys; an
// insertion under a present key keeps the present value (the first wins), and operator[] makes
// an empty value for an absent key.
template <class V>
using LinkTable = std::map<LinkKey, V>;
template <class V>
using GuidTable = std::map<GuidPictureKey, V>;

// The part of the document that device-dependent objects register with.
class ZKW_DocResManager {
 public:
  LosableRegistry losableRegistry;
};

// The frames of picture links and the textures made of them.
class ZKW_DocResManagerTmp : public ZKW_DocResManager {
 public:
  virtual ~ZKW_DocResManagerTmp() = default;

  // Fills `frames` with the frames of a link read from its file or module; loads nothing here.
  virtual bool LoadLinkFrames(const DS_FileLink3& link, std::vector<PictureFrame>& frames);

  // The frame textures of a link, made once per document from the link's frames (those stored
  // with the project, else those LoadLinkFrames reads) with a D3DX filter. ".gif" links get DXT1
  // textures. The set stays owned by the document.
  LinkTextureSet& BuildLinkTextures(const DS_FileLink3& link, uint32_t filter);

  // The stored frame lists: a count, then per entry name, id and frame list. Writing empties
  // framesToSave; reading enters the lists into framesByLink (first wins).
  void WriteFrameTables(DS_IOF_Archive& archive) const;
  void ReadFrameTables(DS_IOF_Archive& archive);

  LinkTable<std::vector<PictureFrame>> framesByLink;
  mutable LinkTable<std::vector<PictureFrame>> framesToSave;  // staging of a save
  LinkTable<LinkTextureSet> linkTextureSets;
};

// The document resource store of a project: the stored bytes of the pictures, effects and
// meshes that the scene's links name, the device objects made from them, the GUID pictures
// with their render targets, the device-dependent objects and the scene view. It is the last
// record of a project and the one object every scene object reaches through the thread's
// current-document slot. Main thread only.
class DS_DocResManager : public DS_IOF_Item, public ZKW_DocResManagerTmp {
 public:
  static constexpr uint32_t kVersion = 4;

  // Makes the document's own texture cache, which becomes the current one.
  DS_DocResManager();
  // Releases the device objects (telling every registered object and effect), then the cache,
  // the targets and every table. Registered objects are not deleted.
  ~DS_DocResManager() override;
  DS_DocResManager(const DS_DocResManager&) = delete;
  DS_DocResManager& operator=(const DS_DocResManager&) = delete;

  // ---- the stored record (version 4) ----
  bool Save(DS_IOF_Archive& archive) const override { return WriteRecord(archive); }
  // The class name, the version and the body.
  bool WriteRecord(DS_IOF_Archive& archive) const;
  // The body's five sections from the staging tables, which are emptied.
  bool WriteTables(DS_IOF_Archive& archive) const;
  // Reads a body of the given version (version 1 has two sections, 2 three, 3 four, every
  // other value five) and makes the textures of the stored image links and GUID pictures.
  bool Read(DS_IOF_Archive& archive, uint32_t version);

  // ---- save-side registration (fills the staging tables) ----
  // An image link being written: its stored records and delays, or for a link whose frame
  // textures were built its frames and delays. Nothing for an empty name.
  bool RegisterSavedLink(const DS_FileLink3& link);
  // A named link being written: its stored records.
  void StageLinkRecords(const LinkKey& key);

  // ---- device ----
  // After a device reset: every registered object and effect is told, and the GUID targets
  // are made again from their pictures.
  void OnResetDevice();
  // Before the device goes: every registered object and effect is told, and the GUID targets
  // drop their textures.
  void ReleaseDeviceObjects();

  // ---- frames ----
  // A file link: the file's frames (a container's, else the file as one frame); ".gif" files
  // are never read. A ".dll" link: the module's "DDS" resource with the link's id (the player's
  // own when the module cannot be read), a container's frames or the resource as one frame.
  bool LoadLinkFrames(const DS_FileLink3& link, std::vector<PictureFrame>& frames) override;

  // ---- lookups ----
  // The textures of an image link. A ".dll" link or an empty name gets its module picture; a
  // file link only what the project stored for it (the file is never opened).
  ImageTextureSet& GetImageTextures(const DS_FileLink3& link);
  // Fills the set with the one texture of the link's module resource.
  bool BuildTexturesFromRecords(ImageTextureSet& set, const DS_FileLink3& link);
  // The textures of a picture pack: the module's "DDS" resource with the link's id holding
  // frame delays and resource records. Empty when there is no such pack.
  ImageTextureSet& LoadModulePictures(const DS_FileLink3& link);
  // Makes one picture available under a link made from the record, and answers that link.
  DS_ImageFileLink RegisterModulePicture(const ResourceDataRecord& record);
  // The same for a picture of several frames, the link made from the first record; a link
  // whose textures exist is left as it is. An empty list registers nothing and answers an
  // empty link.
  DS_ImageFileLink RegisterFramePictures(const std::vector<ResourceDataRecord>& records,
                                         const std::vector<float>& delays);
  // The compiled effect of an effect link, made once per document (every user shares it, with
  // its parameter values and technique); null when there is no effect to compile or it does not
  // compile, tried again at the next call. See SelectEffectBytes for where the effect comes
  // from.
  ComRef<gfx::Effect> GetEffect(const DS_HLSLEffectFile& link);
  // The texture slot of a GUID picture, made from its single stored frame on first use; it
  // stays null while the picture has no frame or several.
  ComRef<gfx::Texture>& GetGuidTexture(const GuidPictureKey& key);
  // A new texture (default size, one level, managed, unfiltered) of the picture stored under
  // the GUID; null unless exactly one frame with bytes is stored there.
  ComRef<gfx::Texture> TextureOfGuidPicture(const GUID& guid);
  // The 512 x 512 targets bound to a GUID picture, made on first use with a copy of the
  // picture; owned by the document.
  RenderTargetSet* GetGuidRenderTarget(const GuidPictureKey& key);

  // The texture cache the lookups use: the current one.
  TextureCache& Cache();

  // ---- tables ----
  LinkTable<std::vector<ResourceDataRecord>> resourceRecords;
  LinkTable<ImageTextureSet> imageTextureSets;
  LinkTable<ComRef<gfx::Effect>> effectCache;
  LinkTable<MeshBuffers> meshCache;  // filled by the 3D objects
  GuidTable<ComRef<gfx::Texture>> guidTextures;
  GuidTable<std::unique_ptr<RenderTargetSet>> guidTargets;
  // Staging tables: filled while a body is read, or by the writers of the scene's links
  // before the document's own record is written.
  mutable LinkTable<std::vector<ResourceDataRecord>> imageRecordTable;
  mutable LinkTable<std::vector<float>> frameDelayTable;
  mutable LinkTable<std::vector<ResourceDataRecord>> linkRecordTable;
  mutable GuidTable<FileDataRecord> guidPictureTable;

  SceneView sceneView;

 private:
  void ClearStaging() const;

  std::unique_ptr<TextureCache> textureCache_;
};

// The record that stands for a link without stored data: empty path, no bytes, the link's name
// as the module and the low 32 bits of its id as the resource id.
ResourceDataRecord LinkRecordOf(const DS_FileLink3& link);

// The calling thread's current document; null when it has none.
DS_DocResManager* CurrentDocument();
