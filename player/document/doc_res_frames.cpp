// The frames of picture links and their textures.
#include "platform/res/data_modules.h"
#include "player/document/doc_res_manager.h"
#include "player/resources/frame_textures.h"
#include "player/resources/module_resources.h"

bool ZKW_DocResManagerTmp::LoadLinkFrames(const DS_FileLink3&, std::vector<PictureFrame>&) {
  return false;
}

LinkTextureSet& ZKW_DocResManagerTmp::BuildLinkTextures(const DS_FileLink3& link, uint32_t filter) {
  const LinkKey key = link.Key();
  LinkTextureSet& set = linkTextureSets[key];
  if (!set.textures.empty()) return set;
  std::vector<PictureFrame>& frames = framesByLink[key];
  if (frames.empty()) LoadLinkFrames(link, frames);
  CreateFrameTextures(set, frames, link.GetExtension() == u".gif", filter);
  return set;
}

bool DS_DocResManager::LoadLinkFrames(const DS_FileLink3& link, std::vector<PictureFrame>& frames) {
  if (link.IsFileLink()) {
    // GIF animations come only from the project's stored frames.
    if (link.GetExtension() == u".gif") return true;
    SharedBytes bytes;
    if (!bytes.ReadFile(link.name) || bytes.Count() <= sizeof kFrameContainerTag) return true;
    if (StartsWithContainerTag(bytes.Bytes())) {
      // A damaged container leaves no frames: the link shows nothing.
      (void)ReadFrameContainer(bytes.Bytes(), frames);
    } else {
      frames = {PictureFrame{bytes, 0.0f, link.GetFileName()}};
    }
    return true;
  }
  const res::Module* module = res::GetDataModule(link.name);
  const auto found = res::FindResource(module, u"DDS", ResourceIdOf(link.id));
  if (!found) return true;
  if (StartsWithContainerTag(*found)) {
    (void)ReadFrameContainer(*found, frames);  // as above: damaged, no frames
  } else {
    frames = {PictureFrame{SharedBytes::CopyOf(*found), 0.0f, link.GetFileName()}};
  }
  return true;
}
