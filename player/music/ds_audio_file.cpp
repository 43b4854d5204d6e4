#include "player/music/ds_audio_file.h"

#include "core/param/param_reads.h"

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
