#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/param/media_param.h"

// A recording control for tests: it appends its name to a shared log when told of a change, and
// can run an action at that moment. It unsubscribes itself from the parameter it was given
// unless that parameter detached it first.
class RecordingControl : public MediaControl {
 public:
  RecordingControl(std::string name, std::vector<std::string>* log, MediaParam* param = nullptr)
      : name_(std::move(name)), log_(log), param_(param) {
    if (param_ != nullptr) param_->AddControl(this);
  }
  ~RecordingControl() override {
    if (param_ != nullptr) param_->RemoveControl(this);
  }

  void Detach() override {
    param_ = nullptr;
    ++detached;
  }
  void OnParamChanged(MediaControl* source) override {
    lastSource = source;
    ++calls;
    if (log_ != nullptr) log_->push_back(name_);
    if (action) action();
  }

  std::function<void()> action;
  MediaControl* lastSource = nullptr;
  int calls = 0;
  int detached = 0;

 private:
  std::string name_;
  std::vector<std::string>* log_;
  MediaParam* param_;
};
