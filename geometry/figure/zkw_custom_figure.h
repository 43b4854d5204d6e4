#pragma once

#include "core/ds_safe_ptr.h"
#include "core/param/media_param_t.h"
#include "core/param/owned_control_list.h"
#include "geometry/figure/zkw_vfigure.h"

// The undoable holder of an emitter's figure, shared through its handle. It holds a figure from
// construction on (a rectangle of 0 x 0, which emits at the position) and keeps the controls the
// held figure puts on its parameters.
class ZKW_CustomFigure : public MediaParamT<DS_SafePtr<ZKW_VFigure>> {
 public:
  ZKW_CustomFigure();
  ZKW_CustomFigure(const ZKW_CustomFigure&) = delete;
  ZKW_CustomFigure& operator=(const ZKW_CustomFigure&) = delete;

  // Holds `figure`: when it differs from the held one (by target) the handle is replaced and the
  // observers but `source` are told; in every case the control list is rebuilt for the figure.
  void SetFigure(DS_SafePtr<ZKW_VFigure> figure, MediaControl* source);
  // Holds a new sector of inner radius 0, outer radius `radius`, spread `spread` and direction
  // `direction` (degrees): the figure of emitters stored before figures existed.
  void MakeSectorFigure(unsigned direction, unsigned spread, unsigned radius);

  ZKW_VFigure* Figure() const { return Value().Get(); }
  const OwnedControlList& Controls() const { return controls_; }

 private:
  OwnedControlList controls_;
};
