#include "tools/project_writer/project_builder.h"

#include "core/archive/ds_iof_w.h"
#include "core/registry/read_by_name.h"
#include "core/startup/thread_slots.h"
#include "player/document/doc_res_manager.h"
#include "player/music/ds_audio_file.h"
#include "player/project/load_project.h"
#include "player/scene/ds_slide_container.h"
#include "player/scene/ds_slide_show_light.h"
#include "renderers/light/ds_2d_light.h"

ProjectBuilder::ProjectBuilder() {
  DocumentTlsSlot::Install(std::make_unique<DS_DocResManager>());
  root_ = std::make_unique<DS_SlideShow_Light>();
}

ProjectBuilder::~ProjectBuilder() {
  // The scene first: its objects may still be known to the document.
  root_.reset();
  DocumentTlsSlot::Reset();
}

DS_DocResManager& ProjectBuilder::Document() {
  return *DocumentTlsSlot::Get();
}

DS_SlideContainer& ProjectBuilder::AddSlide(float fadeIn, float hold, float fadeOut,
                                            const char16_t* rendererClass) {
  auto slide = std::make_unique<DS_SlideContainer>();
  slide->fadeIn.SetValueSilently(fadeIn);
  slide->hold.SetValueSilently(hold);
  slide->fadeOut.SetValueSilently(fadeOut);
  slide->name.RawValue() = u"Slide " + FromUtf8(std::to_string(root_->slides.size()));
  slide->renderer = DS_SafePtr<DS_2D_Light>(CreateByName(GetRendererRegistry(), rendererClass));
  root_->slides.emplace_back(std::move(slide));
  return *root_->slides.back();
}

DS_2D_Light* ProjectBuilder::RendererOf(DS_SlideContainer& slide) {
  return slide.renderer.Get();
}

DS_ImageFileLink ProjectBuilder::StorePicture(const zkw_string& name, std::vector<uint8_t> bytes) {
  std::vector<std::vector<uint8_t>> frames;
  frames.push_back(std::move(bytes));
  return StoreAnimatedPicture(name, std::move(frames), {});
}

DS_ImageFileLink ProjectBuilder::StoreFrames(
    const zkw_string& name, const std::vector<std::pair<std::vector<uint8_t>, float>>& frames) {
  DS_ImageFileLink link(name, nextPictureId_++);
  std::vector<PictureFrame>& stored = Document().framesByLink[link.Key()];
  for (const auto& [bytes, delay] : frames)
    stored.push_back(PictureFrame{SharedBytes::CopyOf(bytes), delay, name});
  // A link with a texture set is written with its frames (RegisterSavedLink).
  Document().linkTextureSets[link.Key()];
  return link;
}

DS_ImageFileLink ProjectBuilder::StoreFramePicture(const zkw_string& name,
                                                   std::vector<uint8_t> bytes) {
  return StoreFrames(name, {{std::move(bytes), 0.0f}});
}

DS_ImageFileLink ProjectBuilder::StoreAnimatedPicture(const zkw_string& name,
                                                      std::vector<std::vector<uint8_t>> frames,
                                                      std::vector<float> delays) {
  DS_ImageFileLink link(name, nextPictureId_++);
  DS_DocResManager& document = Document();
  std::vector<ResourceDataRecord>& records = document.resourceRecords[link.Key()];
  for (std::vector<uint8_t>& bytes : frames) {
    ResourceDataRecord record;
    record.path = name;
    record.bytes = std::move(bytes);
    records.push_back(std::move(record));
  }
  // The link's registration stores these times with its frames.
  if (!delays.empty()) document.imageTextureSets[link.Key()].delays = std::move(delays);
  return link;
}

void ProjectBuilder::StoreGuidPicture(const GUID& guid, std::vector<uint8_t> bytes) {
  GuidPictureKey key{guid, {}, 1};
  FileDataRecord picture;
  picture.bytes = std::move(bytes);
  guidPictures_.insert_or_assign(std::move(key), std::move(picture));
}

DS_AudioFile& ProjectBuilder::AddTrack(const zkw_string& name, const zkw_string& path,
                                       std::vector<uint8_t> bytes, unsigned volumePercent) {
  auto track = std::make_unique<DS_AudioFile>();
  track->name = name;
  track->file.path = path;
  track->file.bytes = std::move(bytes);
  track->volume.SetValue(volumePercent);
  root_->playlist.emplace_back(std::move(track));
  return *root_->playlist.back();
}

std::vector<uint8_t> ProjectBuilder::Write() const {
  DS_IOF_Archive archive(std::make_unique<DS_IOF_W>());
  archive.io().WriteWideString(kProjectSignature);
  archive.io().WriteDword(1);
  // The document writes its GUID pictures after the scene, whose objects may add their own.
  for (const auto& [key, picture] : guidPictures_)
    DocumentTlsSlot::Get()->guidPictureTable.insert_or_assign(key, picture);
  root_->Save(archive);
  DocumentTlsSlot::Get()->Save(archive);
  return static_cast<DS_IOF_W&>(archive.io()).TakeBytes();
}
