#include "player/music/ds_audio_file.h"

#include <system_error>

#include "core/param/param_reads.h"
#include "platform/sys/file_paths.h"
#include "platform/sys/temp_directory.h"

DS_AudioFile::~DS_AudioFile() {
  if (!spilled_.empty()) sys::TempDirectory::Player().Remove(spilled_);
}

bool DS_AudioFile::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_AudioFile", kVersion);
  archive.io().WriteWideString(name);
  archive.io().WriteFileData(file);
  archive.io().WriteUInt32(volume.Value());
  return true;
}

void DS_AudioFile::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  archive.io().ReadWideString(name);
  archive.io().ReadFileData(file);
  if (version > 1) ReadChangedUInt32(archive, volume);
}

void DS_AudioFile::SpillToTemp() {
  if (file.bytes.empty()) return;
  // Only a file counts: a folder at the stored path cannot be played.
  std::error_code error;
  if (std::filesystem::is_regular_file(PlayPath(), error)) {
    file.bytes.clear();
    return;
  }
  const sys::TempFile copy = sys::TempDirectory::Player().Write(file.path, file.bytes);
  if (copy.written) spilled_ = copy.path;
  file.path = FromUtf8(copy.path.string());
  file.bytes.clear();
}

std::filesystem::path DS_AudioFile::PlayPath() const {
  return sys::ToPath(file.path);
}
