#include "core/param/media_param.h"

namespace {

// Counts a walk of a control list for as long as it lasts, also when a control throws.
class WalkScope {
 public:
  explicit WalkScope(int& walks) : walks_(walks) { ++walks_; }
  ~WalkScope() { --walks_; }
  WalkScope(const WalkScope&) = delete;
  WalkScope& operator=(const WalkScope&) = delete;

 private:
  int& walks_;
};

}  // namespace

MediaParam::~MediaParam() {
  WalkScope walk(walks_);
  for (MediaControl* control : controls_) {
    if (control != nullptr) control->Detach();
  }
}

void MediaParam::AddControl(MediaControl* control) {
  if (control != nullptr) controls_.push_back(control);
}

void MediaParam::RemoveControl(MediaControl* control) {
  if (control == nullptr) return;
  if (walks_ == 0) {
    controls_.remove(control);
    return;
  }
  // A walk holds a position in the list: clear the entries now, unlink them when it ends.
  for (MediaControl*& entry : controls_) {
    if (entry == control) {
      entry = nullptr;
      hasRemoved_ = true;
    }
  }
}

void MediaParam::NotifyChanged(MediaControl* source) {
  {
    WalkScope walk(walks_);
    for (auto it = controls_.begin(); it != controls_.end(); ++it) {
      MediaControl* control = *it;
      if (control != nullptr && control != source) control->OnParamChanged(source);
    }
  }
  if (walks_ == 0 && hasRemoved_) {
    controls_.remove(nullptr);
    hasRemoved_ = false;
  }
}

void MediaParam::ExecuteCommand(int, MediaControl*) {}

int MediaParam::ControlCount() const {
  int count = 0;
  for (const MediaControl* control : controls_)
    count += control != nullptr ? 1 : 0;
  return count;
}
