#pragma once

#include "core/archive/ds_iof_archive.h"
#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "platform/gfx/effect/effect.h"

// How a cloud layer lies in depth: the depth ratio of its far edge, its height over the eye, a
// sideways shift and an upside-down flag. Stored inline in the cloud brush's record, without a
// header of its own.
class CloudPerspectiveParams {
 public:
  CloudPerspectiveParams() = default;
  CloudPerspectiveParams(const CloudPerspectiveParams& other) = default;
  CloudPerspectiveParams& operator=(const CloudPerspectiveParams&) = delete;

  // Depth b, height c, shift x, flip flag, values d and e.
  void Write(DS_IOF_Archive& archive) const;
  // The same; the scaled values told when they change, the flag stored straight.
  void Read(DS_IOF_Archive& archive);

  // "PX_Transform" = (b - 1) / b, "PY_TransformH" = c / b + 1, "PY_TransformZ" = c and
  // "tex_shift" = (1, -1, -x, 1) when flipped, else (1, 1, -x, 0).
  void Bind(gfx::Effect& effect) const;

  // Scaled x 0.02 + 1: never below 1, so never 0.
  UINTSclaleTo<float> depthB{0, 0.02f, 1.0f};
  // Scaled x 0.25.
  UINTSclaleTo<float> heightC{0, 0.25f, 0.0f};
  // Scaled x 0.01.
  UINTSclaleTo<float> shiftX{0, 0.01f, 0.0f};
  MediaParamT<int> flipFlag{0};
  // Stored and read; nothing binds them. Scaled x 0.1 + 1 and x 0.01.
  UINTSclaleTo<float> valueD{0, 0.1f, 1.0f};
  UINTSclaleTo<float> valueE{0, 0.01f, 0.0f};
};
