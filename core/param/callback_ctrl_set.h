#pragma once

#include <memory>

#include "core/param/callback_ctrl.h"
#include "core/param/owned_control_list.h"

// Owns the callback controls that one object (the owner, of class X) puts on parameters, and
// deletes them together. Each control unsubscribes itself when deleted, unless its parameter has
// already detached it. When the set owns its owner, destroying the set deletes the owner too.
template <class X>
class CallbackCtrlSet {
 public:
  explicit CallbackCtrlSet(X* owner = nullptr, bool ownsOwner = false)
      : owner_(owner), ownsOwner_(ownsOwner) {}
  CallbackCtrlSet(const CallbackCtrlSet&) = delete;
  CallbackCtrlSet& operator=(const CallbackCtrlSet&) = delete;
  ~CallbackCtrlSet() {
    Clear();
    if (ownsOwner_) delete owner_;
  }

  X* Owner() const { return owner_; }
  bool OwnsOwner() const { return ownsOwner_; }
  void SetOwner(X* owner, bool ownsOwner) {
    owner_ = owner;
    ownsOwner_ = ownsOwner;
  }

  // Calls the owner's `function` whenever `param` changes.
  SmartCalbackCtrl<X>& Watch(void (X::*function)(), MediaParam& param) {
    return controls_.Add(std::make_unique<SmartCalbackCtrl<X>>(function, owner_, &param));
  }

  // Calls the owner's `function` with the value whenever `param` changes, and once at once.
  template <class T>
  DS_FunLightCtrl<T, X>& WatchValue(MediaParamTB<T>& param, void (X::*function)(T)) {
    auto& ref = controls_.Add(std::make_unique<DS_FunLightCtrl<T, X>>(function, owner_, &param));
    ref.OnParamChanged(nullptr);
    return ref;
  }
  DS_FunLightCtrl<unsigned, X>& WatchUnsigned(MediaParamTB<unsigned>& param,
                                              void (X::*function)(unsigned)) {
    return WatchValue<unsigned>(param, function);
  }

  // Deletes every control in list order, then empties the list.
  void Clear() { controls_.Clear(); }

  size_t Size() const { return controls_.Size(); }

 private:
  X* owner_;
  bool ownsOwner_;
  OwnedControlList controls_;
};
