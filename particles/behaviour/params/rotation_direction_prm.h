#pragma once

#include "core/archive/ds_iof_archive.h"
#include "core/ds_safe_ptr.h"
#include "core/param/media_param_t.h"

// Which way something turns: a mode shared by every copy of the owner (0 and other values +1,
// 1 -1, 2 a sign of its own), and that sign, drawn with rand() whenever a parameter is made
// (even +1, odd -1). The sign is never stored.
struct RotationDirectionPrm {
  RotationDirectionPrm();
  // Shares the mode; draws a new sign.
  RotationDirectionPrm(const RotationDirectionPrm& other);
  RotationDirectionPrm& operator=(const RotationDirectionPrm&) = delete;

  // -1 for mode 1, the sign for mode 2, +1 otherwise.
  float Factor() const;

  DS_SafePtr<MediaParamT<int>> mode;
  float sign;
};

// Int32 mode, stored straight into the shared mode (an empty handle first gets a new one).
void ReadRotationDirectionPrm(DS_IOF_Archive& archive, RotationDirectionPrm& param);
void WriteRotationDirectionPrm(DS_IOF_Archive& archive, const RotationDirectionPrm& param);
