#pragma once

#include "core/param/media_param.h"

// The equality that decides whether a parameter's value changes. By default the value type's own
// ==: same bits for integers, GUIDs and points, float equality (a NaN never equals), the same
// units for strings, the same target object for DS_SafePtr handles, element by element for
// vectors and pairs. A value type whose rule differs specialises this template next to its
// definition.
template <class T>
struct MediaValueEqual {
  static bool Equal(const T& a, const T& b) { return a == b; }
};

template <class T>
bool MediaValuesEqual(const T& a, const T& b) {
  return MediaValueEqual<T>::Equal(a, b);
}

// A parameter holding one value, without undo.
//
// A value reaches a parameter in one of three ways: SetValue (compare, then store and notify),
// a silent store (MediaParamT::SetValueSilently) or a direct store through RawValue, which
// archive readers use where no observer is to hear of it.
template <class T>
class MediaParamTB : public MediaParam {
 public:
  using ValueType = T;

  MediaParamTB() : value_() {}
  explicit MediaParamTB(const T& value) : value_(value) {}
  // Copies the value only; the copy has no observers.
  MediaParamTB(const MediaParamTB& other) : MediaParam(), value_(other.value_) {}
  // Takes the value without telling anyone; the observers stay.
  MediaParamTB& operator=(const MediaParamTB& other) {
    value_ = other.value_;
    return *this;
  }

  const T& Value() const { return value_; }
  // Direct store: no comparison, no notification, no undo re-synchronisation.
  T& RawValue() { return value_; }

  // When `value` differs from the held one, stores it and notifies every control but `source`.
  // Answers whether it changed.
  bool SetValue(const T& value, MediaControl* source = nullptr) {
    if (MediaValuesEqual(value_, value)) return false;
    value_ = value;
    NotifyChanged(source);
    return true;
  }

 private:
  T value_;
};
