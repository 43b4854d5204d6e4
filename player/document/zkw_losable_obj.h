#pragma once

#include <cstdint>

#include "core/link/link_key.h"
#include "core/zkw_string.h"

// The base of objects that hold device objects lost with the device. Each is named by a new
// GUID's text and registers under (name, stamp) with the calling thread's current document,
// which calls OnResetDevice on it after a device reset; it leaves the current document's
// registry when destroyed. Without a current document nothing is registered.
class ZKW_LosableObj {
 public:
  ZKW_LosableObj();
  virtual ~ZKW_LosableObj();
  ZKW_LosableObj(const ZKW_LosableObj&) = delete;
  ZKW_LosableObj& operator=(const ZKW_LosableObj&) = delete;

  virtual void OnLostDevice() = 0;
  virtual void OnResetDevice() = 0;
  // Called by owners when the render context's sizes change.
  virtual void FitToRenderContext() {}

  LinkKey Key() const { return LinkKey{name, stamp}; }

  zkw_string name;  // the GUID's 38-unit braced text
  int64_t stamp = 0;
};
