#pragma once

#include <cstdint>
#include <filesystem>

#include "core/archive/data_records.h"
#include "core/object/ds_iof_item.h"
#include "core/param/scaled_param.h"
#include "core/zkw_string.h"

// One background-music track of a scene's playlist: a sound file that the project names by its
// path or carries inside itself, with its own volume.
class DS_AudioFile : public DS_IOF_Item {
 public:
  static constexpr uint32_t kVersion = 2;

  DS_AudioFile() = default;
  // Deletes the copy SpillToTemp wrote (the music graph holds the decoded sound by then).
  ~DS_AudioFile() override;
  DS_AudioFile(const DS_AudioFile&) = delete;
  DS_AudioFile& operator=(const DS_AudioFile&) = delete;

  // "DS_AudioFile" version 2: name, the file record, the volume percent.
  bool Save(DS_IOF_Archive& archive) const override;
  // Version 1 has no volume: the track plays at 100 %.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // Makes sure the file exists on disk. A record that carries bytes keeps its path when a file
  // exists there (a folder does not count); otherwise the bytes are written to a new file of the
  // player's temporary directory, which becomes the path (also when writing failed: the track
  // then cannot play). Either way the bytes are dropped.
  void SpillToTemp();
  // The file to play.
  std::filesystem::path PlayPath() const;

  // The volume in percent; its scaled value is the factor the track plays at.
  UINTSclaleTo<float> volume{100, 0.01f, 0.0f};
  zkw_string name;
  FileDataRecord file;

 private:
  std::filesystem::path spilled_;
};
