#include "core/param/jitter_param.h"

namespace {

void ReadPart(DS_IOF_Archive& archive, UINTSclaleTo<float>& part) {
  uint32_t value = part.Value();
  archive.io().ReadUInt32(value);
  if (value != part.Value()) {
    part.RawValue() = value;
    part.NotifyChanged(nullptr);
  }
  part.NotifyChanged(nullptr);
}

}  // namespace

void ReadJitterParam(DS_IOF_Archive& archive, ZKW_JitterParam& param) {
  ReadPart(archive, param.value);
  ReadPart(archive, param.jitter);
}
