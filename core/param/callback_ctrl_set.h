#pragma once

#include <list>
#include <memory>

#include "core/param/callback_ctrl.h"

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
    auto control = std::make_unique<SmartCalbackCtrl<X>>(function, owner_, &param);
    SmartCalbackCtrl<X>& ref = *control;
    controls_.push_back(std::move(control));
    return ref;
  }

  // Calls the owner's `function` with the value whenever `param` changes, and once at once.
  template <class T>
  DS_FunLightCtrl<T, X>& WatchValue(MediaParamTB<T>& param, void (X::*function)(T)) {
    auto control = std::make_unique<DS_FunLightCtrl<T, X>>(function, owner_, &param);
    DS_FunLightCtrl<T, X>& ref = *control;
    controls_.push_back(std::move(control));
    ref.OnParamChanged(nullptr);
    return ref;
  }
  DS_FunLightCtrl<unsigned, X>& WatchUnsigned(MediaParamTB<unsigned>& param,
                                              void (X::*function)(unsigned)) {
    return WatchValue<unsigned>(param, function);
  }

  // Deletes every control in list order, then empties the list.
  void Clear() {
    for (auto& control : controls_)
      control.reset();
    controls_.clear();
  }

  size_t Size() const { return controls_.size(); }

 private:
  X* owner_;
  bool ownsOwner_;
  std::list<std::unique_ptr<MediaControl>> controls_;
};
