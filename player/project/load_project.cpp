#include "player/project/load_project.h"

#include <string>

#include "core/archive/ds_iof_r.h"
#include "core/archive/resource_buffer.h"
#include "core/ds_error.h"
#include "core/startup/thread_slots.h"
#include "core/text_helpers.h"
#include "player/document/doc_res_manager.h"
#include "player/music/ds_audio_file.h"
#include "player/scene/ds_slide_container.h"
#include "player/scene/ds_slide_show_light.h"

namespace {

constexpr char16_t kNotSupported[] = u"Cannot open file: Format is not supported.";
constexpr char16_t kOutdated[] =
    u"Cannot open file: Outdated file format.\nPlease resave the project file with Vornique 3.4.21";
constexpr char16_t kDamaged[] = u"Cannot open file: Wrong file format.";

// The scene root and the document, the signature and header word already read. The new
// document is current while the root is read, since the objects read register with it.
// `source` names the project in errors.
std::unique_ptr<DS_SlideShow_Light> ReadProjectRecords(ResourceBuffer& buffer,
                                                       const std::string& source) {
  DS_IOF_Archive archive(std::make_unique<DS_IOF_R<ResourceBuffer>>(&buffer));
  DocumentTlsSlot::Install(std::make_unique<DS_DocResManager>());
  std::unique_ptr<DS_SlideShow_Light> root;
  try {
    root = ReadSlideShow(archive);
    ReadDocResManager(archive, *DocumentTlsSlot::Get());
    if (archive.Failed())
      throw DS_Error(DS_ErrorCode::DamagedFile, kDamaged, archive.io().FailureReason(), source);
  } catch (...) {
    root.reset();
    DocumentTlsSlot::Reset();
    throw;
  }
  return root;
}

}  // namespace

std::unique_ptr<DS_SlideShow_Light> LoadProject(const std::filesystem::path& path) {
  // Quoted and escaped: a path is the user's text, and the log is one line per error.
  constexpr size_t kLongestPath = 4096;
  const std::string source = QuoteForLog(FromUtf8(path.string()), kLongestPath);
  ResourceBuffer buffer;
  if (!buffer.Open(path))
    throw DS_Error(DS_ErrorCode::CannotOpenFile, u"", buffer.FailureReason(), source);
  if (GetLowerExtension(FromUtf8(path.string())) == u".vqe") {
    throw DS_Error(DS_ErrorCode::FormatNotSupported, kNotSupported,
                   "files named \".vqe\" in any case are not read", source);
  }
  zkw_string signature;
  buffer.ReadWideString(signature);
  if (signature != kProjectSignature) {
    std::string reason = buffer.Failed() ? "the signature cannot be read: " + buffer.FailureReason()
                                         : "the signature is " + QuoteForLog(signature) + ", not " +
                                               QuoteForLog(kProjectSignature);
    throw DS_Error(DS_ErrorCode::OutdatedFormat, kOutdated, std::move(reason), source);
  }
  uint32_t headerWord = 0;
  buffer.ReadDword(headerWord);
  return ReadProjectRecords(buffer, source);
}

std::unique_ptr<DS_SlideShow_Light> LoadProjectFromMemory(std::span<const uint8_t> bytes) {
  ResourceBuffer buffer;
  buffer.SetMemory(bytes.data(), bytes.size());
  zkw_string signature;
  buffer.ReadWideString(signature);
  uint32_t headerWord = 0;
  buffer.ReadDword(headerWord);
  return ReadProjectRecords(buffer, "a project in memory");
}

std::unique_ptr<DS_SlideShow_Light> ReadSlideShow(DS_IOF_Archive& archive) {
  const uint32_t version = ReadBaseHeader(archive);
  auto root = std::make_unique<DS_SlideShow_Light>();
  ReadSlides(archive, root->slides);
  uint32_t tracks = 0;
  archive.io().ReadDword(tracks);
  // An empty name and file record and a version: the least a track record takes.
  constexpr uint64_t kMinTrackBytes = 20;
  if (!archive.io().CountFits(tracks, kMinTrackBytes)) {
    tracks = 0;
  }
  for (uint32_t i = 0; i < tracks && !archive.Failed(); ++i)
    root->playlist.emplace_back(ReadAudioFile(archive));
  if (version >= 2) archive.io().ReadInt32(root->setting.RawValue());
  return root;
}

std::unique_ptr<DS_AudioFile> ReadAudioFile(DS_IOF_Archive& archive) {
  const uint32_t version = ReadBaseHeader(archive);
  auto track = std::make_unique<DS_AudioFile>();
  track->ReadBody(archive, version);
  return track;
}

void ReadDocResManager(DS_IOF_Archive& archive, DS_DocResManager& document) {
  document.Read(archive, ReadBaseHeader(archive));
}
