#pragma once

#include "core/archive/ds_iof_archive.h"
#include "core/param/scaled_param.h"

// The random flight of a swarm's particles.
struct RandomFlyPrm {
  UINTSclaleTo<float> speed{100, 0.02f, 0.0f};        // multiplies every displacement (2.0)
  UINTSclaleTo<float> vertical{100, 0.01f, 0.0f};     // multiplies the vertical one (1.0)
  UINTSclaleTo<float> retargetRate{50, 0.02f, 0.1f};  // divides the time to a new target (1.1)
  UINTSclaleTo<float> travelTime{20, 0.02f, 0.02f};   // seconds to reach a target (0.42)
};

// Int32 version (ignored), then the four values as UInt32, each stored and notified only when it
// differs.
void ReadRandomFlyPrm(DS_IOF_Archive& archive, RandomFlyPrm& param);
// The same with version 1.
void WriteRandomFlyPrm(DS_IOF_Archive& archive, const RandomFlyPrm& param);
