#pragma once

#include "core/ds_safe_ptr.h"
#include "core/param/media_param_t.h"
#include "geometry/gradient/zkw_vgradient.h"

// The undoable holder of a gradient, shared through its handle: a default linear gradient from
// construction on (none when no class list has registered it).
class ZKW_CustomGradient : public MediaParamT<DS_SafePtr<ZKW_VGradient>> {
 public:
  ZKW_CustomGradient();
  // Shares the other's gradient (the handle's count goes up); fresh observers and undo control.
  ZKW_CustomGradient(const ZKW_CustomGradient&) = default;
  ZKW_CustomGradient& operator=(const ZKW_CustomGradient&) = delete;

  ZKW_VGradient* Gradient() const { return Value().Get(); }
  // Reads a gradient record by class name and installs what it read, notifying the observers:
  // an unregistered class leaves the holder without a gradient.
  void ReadGradient(DS_IOF_Archive& archive);
};
