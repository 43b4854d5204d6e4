#pragma once

#include "core/archive/ds_iof_archive.h"
#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"

// A random duration in hundredths of a second from the range (min, max): min + rand() %
// (max - min + 1) when max > min, else min (and then rand is not called). The range is
// computed in 64 bits, so the full unsigned range cannot divide by zero.
unsigned PickRandomDuration(unsigned min, unsigned max);
// The same pick in seconds (hundredths x 0.01).
float PickRandomSeconds(unsigned min, unsigned max);

// The durations of a random timeline (and of a dependent timeline's own runs), all in hundredths
// of a second: the range of a hidden phase (a dependent timeline's delay before its run), the
// range of a shown phase, and the two fades (kept with their seconds).
struct RandomTimeLineParams {
  explicit RandomTimeLineParams(unsigned firstMin = 100, unsigned firstMax = 100);
  RandomTimeLineParams(const RandomTimeLineParams&) = delete;
  RandomTimeLineParams& operator=(const RandomTimeLineParams&) = delete;

  // Six UInt32: hidden min, hidden max, shown min, shown max, fade-in, fade-out.
  void Write(DS_IOF_Archive& archive) const;
  // The same six: the four limits straight into their values; each fade stored and notified even
  // when unchanged, so that its seconds follow.
  void Read(DS_IOF_Archive& archive);

  MediaParamT<unsigned> hiddenMin;
  MediaParamT<unsigned> hiddenMax;
  MediaParamT<unsigned> shownMin;
  MediaParamT<unsigned> shownMax;
  TimeParam fadeIn;
  TimeParam fadeOut;
};

// Reads a UInt32 into a duration and notifies it whether or not it changed.
void ReadNotifiedDuration(DS_IOF_Archive& archive, TimeParam& duration);
