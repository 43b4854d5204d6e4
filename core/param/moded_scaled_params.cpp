#include "core/param/moded_scaled_params.h"

#include "core/param/param_reads.h"

void ReadModedScaledParams(DS_IOF_Archive& archive, ModedScaledParams& params) {
  int32_t version = params.version;
  archive.io().ReadInt32(version);
  for (auto& param : params.values)
    ReadChangedUInt32(archive, param);
}

void WriteModedScaledParams(DS_IOF_Archive& archive, const ModedScaledParams& params) {
  archive.io().WriteInt32(params.version);
  for (const auto& param : params.values)
    archive.io().WriteUInt32(param.Value());
}
