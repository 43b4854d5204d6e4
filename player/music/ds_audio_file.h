#pragma once

#include <cstdint>

#include "core/archive/data_records.h"
#include "core/object/ds_iof_item.h"
#include "core/param/scaled_param.h"
#include "core/zkw_string.h"

// One background-music track of a scene's playlist: a sound file that the project names by its
// path or carries inside itself, with its own volume.
class DS_AudioFile : public DS_IOF_Item {
 public:
  static constexpr uint32_t kVersion = 2;

  // "DS_AudioFile" version 2: name, the file record, the volume percent.
  bool Save(DS_IOF_Archive& archive) const override;
  // Version 1 has no volume: the track plays at 100 %.
  void ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // The volume in percent; its scaled value is the factor the track plays at.
  UINTSclaleTo<float> volume{100, 0.01f, 0.0f};
  zkw_string name;
  FileDataRecord file;
};
