#pragma once

#include <cstdint>
#include <vector>

#include "core/archive/ds_iof_archive.h"
#include "core/param/media_param_tb.h"

// Reads a UInt32 for `param`: stored, and the observers told, only when it differs from the
// value held. A stream that has run dry delivers nothing, so the value stays.
inline void ReadChangedUInt32(DS_IOF_Archive& archive, MediaParamTB<unsigned>& param) {
  uint32_t value = param.Value();
  archive.io().ReadUInt32(value);
  param.SetValue(value);
}

// Reads the Int32 version word of a parameter block stored inline in its owner's record.
inline int32_t ReadBlockVersion(DS_IOF_Archive& archive) {
  int32_t version = 0;
  archive.io().ReadInt32(version);
  return version;
}

// A Dword count, then that many floats appended to `out`. A count that the remaining bytes
// cannot hold fails the stream and appends nothing.
inline void ReadFloatArray(DS_IOF_Archive& archive, std::vector<float>& out) {
  uint32_t count = 0;
  archive.io().ReadDword(count);
  if (!archive.io().CountFits(count, sizeof(float))) return;
  for (uint32_t i = 0; i < count && !archive.Failed(); ++i) {
    float value = 0.0f;
    archive.io().ReadFloat(value);
    out.push_back(value);
  }
}
