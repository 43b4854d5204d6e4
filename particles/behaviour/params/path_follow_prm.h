#pragma once

#include "core/archive/ds_iof_archive.h"
#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"

// How particles travel along a curve.
struct PathFollowPrm {
  UINTSclaleTo<float> speed{50, 1.0f, 0.0f};  // length units per second
  MediaParamT<int> bounce{1};                 // 0 loops back to the start, else back and forth
  MediaParamT<int> easing{0};
  MediaParamT<int> orientation{0};
};

// The path-follow block of the track physics with its perspective; the track's record stores
// the two perspective fields itself.
struct TrackPrm : PathFollowPrm {
  UINTSclaleTo<float> depth{50, 0.1f, 0.0f};  // perspective strength (5.0)
  MediaParamT<int> reverse{0};
};

// Int32 version (ignored), UInt32 speed (stored and notified when it differs), Int32 bounce,
// Int32 easing, Int32 orientation (stored straight).
void ReadPathFollowPrm(DS_IOF_Archive& archive, PathFollowPrm& param);
// The same with version 1.
void WritePathFollowPrm(DS_IOF_Archive& archive, const PathFollowPrm& param);
