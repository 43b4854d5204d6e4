#pragma once

#include <vector>

#include "core/chrono/zkw_chrono_ctrl.h"
#include "core/ds_safe_ptr.h"
#include "core/param/media_speed_param.h"

// The clock of one thread's time-window controllers, reached through ChronoTlsSlot. Controllers
// follow no object's local time: the scene root ticks this clock once per frame with the
// absolute time, and every controller is evaluated at the clock's own local time.
class ChronoClock {
 public:
  // In order of registration; each entry is one share of its controller.
  std::vector<DS_SafePtr<ZKW_ChronoCtrl>> controllers;
  // Speed 1.0; the first tick has a step of 0.
  MediaSpeedParam speed;
};

// Adds a share of `controller` to the clock of the calling thread; nothing when that thread has
// no clock.
void RegisterWithThreadClock(const DS_SafePtr<ZKW_ChronoCtrl>& controller);

// One frame at absolute time t: the clock advances as a speed parameter does (a step of at most
// 0.2 s, 0 when time went back), then each controller that still drives a wrapper hands its value
// at the clock's local time to that wrapper; the others are dropped (releasing their share),
// keeping the order of the rest. A null clock does nothing.
void TickChronoClock(ChronoClock* clock, double t);
