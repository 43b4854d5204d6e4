#pragma once

#include <functional>
#include <utility>

#include "core/param/media_param.h"
#include "core/param/media_param_tb.h"

// A control subscribed to at most one parameter at a time: from Watch until its own destruction,
// which unsubscribes it, or the parameter's destruction, which detaches it.
class WatchingControl : public MediaControl {
 public:
  ~WatchingControl() override { Watch(nullptr); }

  // Moves the subscription to another parameter (null: none).
  void Watch(MediaParam* param) {
    if (param == watched_) return;
    if (watched_ != nullptr) watched_->RemoveControl(this);
    watched_ = param;
    if (watched_ != nullptr) watched_->AddControl(this);
  }
  MediaParam* Watched() const { return watched_; }

  void Detach() override { watched_ = nullptr; }

 protected:
  WatchingControl() = default;

 private:
  MediaParam* watched_ = nullptr;
};

// Calls a member function of an object (without arguments) whenever the watched parameter
// changes, whatever the source.
template <class X>
class SmartCalbackCtrl : public WatchingControl {
 public:
  using Function = void (X::*)();

  SmartCalbackCtrl(Function function, X* object, MediaParam* watched = nullptr)
      : function_(function), object_(object) {
    Watch(watched);
  }

  void OnParamChanged(MediaControl*) override {
    if (object_ != nullptr) (object_->*function_)();
  }

 private:
  Function function_;
  X* object_;
};

// Calls a function (without arguments) whenever the watched parameter changes, whatever the
// source: the form for owners that the watched code cannot name, such as a particle node that
// watches its shape's parameters.
class SmartFunctionCtrl : public WatchingControl {
 public:
  explicit SmartFunctionCtrl(std::function<void()> function, MediaParam* watched = nullptr)
      : function_(std::move(function)) {
    Watch(watched);
  }

  void OnParamChanged(MediaControl*) override {
    if (function_) function_();
  }

 private:
  std::function<void()> function_;
};

// The same control under the name the envelope holder uses.
template <class X>
class ZKW_SmartCalbackCtrl : public SmartCalbackCtrl<X> {
 public:
  using SmartCalbackCtrl<X>::SmartCalbackCtrl;
};

// A control bound to one parameter of type P that does nothing when told; the base of controls
// that need their parameter when they are told.
template <class P>
class MediaControlT : public MediaControl {
 public:
  explicit MediaControlT(P* param) : param_(param) {
    if (param_ != nullptr) param_->AddControl(this);
  }
  ~MediaControlT() override {
    if (param_ != nullptr) param_->RemoveControl(this);
  }

  void Detach() override { param_ = nullptr; }
  void OnParamChanged(MediaControl*) override {}
  P* Param() const { return param_; }

 protected:
  P* param_;
};

// Calls a member function of an object with the parameter's current value whenever it changes.
template <class T, class X>
class DS_FunLightCtrl : public MediaControlT<MediaParamTB<T>> {
 public:
  using Function = void (X::*)(T);

  DS_FunLightCtrl(Function function, X* object, MediaParamTB<T>* param)
      : MediaControlT<MediaParamTB<T>>(param), function_(function), object_(object) {}

  void OnParamChanged(MediaControl*) override {
    if (this->param_ != nullptr) (object_->*function_)(this->param_->Value());
  }

 private:
  Function function_;
  X* object_;
};
