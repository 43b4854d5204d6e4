#pragma once

#include "core/chrono/zkw_chrono_ctrl.h"
#include "core/ds_safe_ptr.h"
#include "core/param/media_param_t.h"

// The undoable parameter that holds a wrapper's time-window controller. It starts with a new
// ZKW_Chrono_Default, registered with the constructing thread's clock.
class ZKW_SmartChronoCtrl : public MediaParamT<DS_SafePtr<ZKW_ChronoCtrl>> {
 public:
  ZKW_SmartChronoCtrl();
  ZKW_SmartChronoCtrl(const ZKW_SmartChronoCtrl&) = delete;
  ZKW_SmartChronoCtrl& operator=(const ZKW_SmartChronoCtrl&) = delete;

  // Holds `controller` (SetValue: the observers are told when it differs), then registers a
  // further share of it with the calling thread's clock.
  void SetChrono(const DS_SafePtr<ZKW_ChronoCtrl>& controller);

  ZKW_ChronoCtrl* Chrono() const { return Value().Get(); }
};
