#pragma once

#include <array>
#include <cstdint>

#include "core/archive/ds_iof_archive.h"
#include "core/param/scaled_param.h"

// A version word and seven scaled values: the first six are percents (factor 0.01; defaults 0,
// 0, 100, 100, 0, 0), the seventh a raw value (factor 1, default 1).
struct ModedScaledParams {
  int32_t version = 1;
  std::array<UINTSclaleTo<float>, 7> values{{
      {0, 0.01f, 0.0f},
      {0, 0.01f, 0.0f},
      {100, 0.01f, 0.0f},
      {100, 0.01f, 0.0f},
      {0, 0.01f, 0.0f},
      {0, 0.01f, 0.0f},
      {1, 1.0f, 0.0f},
  }};
};

// Int32 version word (read and not kept), then seven UInt32, each stored and notified only when
// it differs from the held value.
void ReadModedScaledParams(DS_IOF_Archive& archive, ModedScaledParams& params);
// Int32 version word, then the seven values as UInt32.
void WriteModedScaledParams(DS_IOF_Archive& archive, const ModedScaledParams& params);
