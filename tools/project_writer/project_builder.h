#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "core/archive/data_records.h"
#include "core/guid.h"
#include "core/link/ds_file_link.h"
#include "core/zkw_string.h"
#include "player/document/guid_picture_key.h"

class DS_2D_Light;
class DS_AudioFile;
class DS_DocResManager;
class DS_SlideContainer;
class DS_SlideShow_Light;

// Builds a project from code and writes it as a project file, through the classes' own Save and
// the writing stream. While it lives the builder's document is the calling thread's current one
// (the one before is freed), as the writers of links expect; it goes with the builder.
class ProjectBuilder {
 public:
  ProjectBuilder();
  ~ProjectBuilder();
  ProjectBuilder(const ProjectBuilder&) = delete;
  ProjectBuilder& operator=(const ProjectBuilder&) = delete;

  DS_SlideShow_Light& Root() { return *root_; }
  DS_DocResManager& Document();

  // Appends a slide with its timing in seconds and the renderer of `rendererClass` (made by
  // class name; no renderer when no class has the name).
  DS_SlideContainer& AddSlide(float fadeIn, float hold, float fadeOut,
                              const char16_t* rendererClass = u"DS_2D_Light");
  // The slide's renderer, null without one.
  static DS_2D_Light* RendererOf(DS_SlideContainer& slide);

  // Stores a picture file's bytes in the project under the file name `name` and answers the
  // link that names it. Each name gets its own id, the same on every run.
  DS_ImageFileLink StorePicture(const zkw_string& name, std::vector<uint8_t> bytes);
  // Stores the frames of a picture (each a picture file's bytes and its display time in seconds)
  // under a link named `name`, as the document's frame lists, which the objects that build
  // their textures from a link's frames read (BuildLinkTextures). Each name gets its own id.
  DS_ImageFileLink StoreFrames(const zkw_string& name,
                               const std::vector<std::pair<std::vector<uint8_t>, float>>& frames);
  // The one frame of a picture file's bytes, shown without end: StoreFrames with one frame.
  DS_ImageFileLink StoreFramePicture(const zkw_string& name, std::vector<uint8_t> bytes);
  // Stores the frames of an animated picture (each a picture file's bytes) and their display
  // times in seconds under the file name `name` and answers the link: the form in which the
  // document hands out a picture with its frames (GetImageTextures). Each name gets its own id.
  DS_ImageFileLink StoreAnimatedPicture(const zkw_string& name,
                                        std::vector<std::vector<uint8_t>> frames,
                                        std::vector<float> delays);
  // Stores a picture file's bytes in the project under a GUID, as objects that keep a picture of
  // their own (sprite text, brush masks, the lake's bump map) find it: GetGuidTexture of a key
  // with that GUID. An object whose Save stores a picture under the same GUID replaces it.
  void StoreGuidPicture(const GUID& guid, std::vector<uint8_t> bytes);
  // Appends a music track that carries its file's bytes.
  DS_AudioFile& AddTrack(const zkw_string& name, const zkw_string& path, std::vector<uint8_t> bytes,
                         unsigned volumePercent = 100);

  // The project file: the signature, the header word 1, the scene root, the document.
  std::vector<uint8_t> Write() const;

 private:
  std::unique_ptr<DS_SlideShow_Light> root_;
  int64_t nextPictureId_ = 1;
  std::map<GuidPictureKey, FileDataRecord> guidPictures_;
};
