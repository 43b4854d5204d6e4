#pragma once

#include "core/object/ds_iof_item.h"
#include "core/param/media_param_t.h"
#include "core/param/scaled_param.h"
#include "core/timing/time_key.h"

class ZKW_SmartTiming;

// The flat timing record of descriptions stored before timelines became objects of their own:
// the settings of every older timing kind side by side. It exists only while one description is
// read: constructed with its defaults, read, converted into the description's timing part and
// dropped.
class DS_TimeLineControl : public virtual DS_IOF_Item {
 public:
  DS_TimeLineControl();
  DS_TimeLineControl(const DS_TimeLineControl&) = delete;
  DS_TimeLineControl& operator=(const DS_TimeLineControl&) = delete;

  // "DS_TimeLineControl" version 2: Int32 kind, Int32 time mode, UInt32 hidden min, hidden max,
  // shown min, shown max, fade-in, fade-out, the keys (WriteTimeKeys), UInt32 period. No base
  // record follows.
  bool Save(DS_IOF_Archive& archive) const override;
  // The body after the header (the class name is not checked). Kind, time mode and the four
  // limits go straight into their values; fades and (from version 2) the period are stored and
  // notified when they differ.
  bool ReadBody(DS_IOF_Archive& archive, uint32_t version);

  // Installs the timeline this record describes in `timing`: the kind value is set without
  // notification; kind 0 gives a continuous, 1 a random and 2 a manual timeline carrying the
  // record's settings (a random one keeps the shown time it drew when made until its first
  // Reset); any other kind leaves the current timeline as it is. The time mode follows silently.
  void ConvertInto(ZKW_SmartTiming& timing) const;

  MediaParamT<int> kind{0};  // 0 continuous, 1 random, 2 manual
  MediaParamT<int> timeMode{0};
  MediaParamT<unsigned> hiddenMin{100};
  MediaParamT<unsigned> hiddenMax{100};
  MediaParamT<unsigned> shownMin{100};
  MediaParamT<unsigned> shownMax{100};
  TimeParam fadeIn;   // 50
  TimeParam fadeOut;  // 50
  TimeKeySet keys;
  TimeParam period;  // 1000
};
