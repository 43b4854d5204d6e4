#include "core/param/smart_vector.h"

void ReadDwordVector(DS_IOF_Archive& archive, std::vector<uint32_t>& values) {
  values.clear();
  uint32_t count = 0;
  archive.io().ReadDword(count);
  if (!archive.io().CountFits(count, sizeof(uint32_t))) {
    return;
  }
  values.resize(count);
  for (uint32_t& value : values)
    archive.io().ReadDword(value);
}
