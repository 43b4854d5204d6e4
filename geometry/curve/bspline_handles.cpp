#include "geometry/curve/bspline_handles.h"

void SetAutomaticHandles(DX_BSplinePnt& last, DX_BSplinePnt& added) {
  added.secondHandle.SetValueSilently((added.Value() - last.Value()) * -0.33f);
  last.firstHandle.SetValue(-last.secondHandle.Value());
  if (last.firstHandle.Value() == D3DXVECTOR3()) {
    last.firstHandle.SetValue(-added.secondHandle.Value());
  }
}
