#pragma once

#include <memory>
#include <utility>

#include "core/ds_safe_ptr.h"
#include "core/param/media_param_t.h"

// The parameter through which an owner holds its shape (T is ZKW_VGeom2D or ZKW_VGeom2D_Curve),
// with its undo control. It starts with an empty holder; copies share the shape.
template <class T>
class ZKW_SmartGeom : public MediaParamT<DS_SafePtr<T>> {
 public:
  ZKW_SmartGeom() : MediaParamT<DS_SafePtr<T>>(DS_SafePtr<T>(std::unique_ptr<T>())) {}
  ZKW_SmartGeom(const ZKW_SmartGeom&) = default;
  ZKW_SmartGeom& operator=(const ZKW_SmartGeom&) = delete;

  // Holds `shape` (null: nothing) in a new handle. When it differs from the held shape, the held
  // handle is released (deleting the old shape at its last reference) and the observers are told.
  void Set(std::unique_ptr<T> shape) { this->SetValue(DS_SafePtr<T>(std::move(shape))); }

  T* Get() const { return this->Value().Get(); }
};
