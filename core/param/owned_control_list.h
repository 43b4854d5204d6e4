#pragma once

#include <cstddef>
#include <functional>
#include <list>
#include <memory>
#include <utility>

#include "core/param/callback_ctrl.h"
#include "core/param/media_param.h"

// Controls that one owner has put on parameters it does not own (a particle node or a figure
// holder on the parameters of its shape), owned by the list and deleted together. Each control
// unsubscribes itself when deleted, unless its parameter has already detached it, so a list may
// outlive the parameters it watches.
class OwnedControlList {
 public:
  OwnedControlList() = default;
  OwnedControlList(const OwnedControlList&) = delete;
  OwnedControlList& operator=(const OwnedControlList&) = delete;
  ~OwnedControlList() { Clear(); }

  // Takes `control` over and answers it.
  template <class C>
  C& Add(std::unique_ptr<C> control) {
    C& added = *control;
    controls_.push_back(std::move(control));
    return added;
  }
  // A new control, owned by the list, that calls `callback` whenever `param` changes.
  SmartFunctionCtrl& Watch(MediaParam& param, std::function<void()> callback) {
    return Add(std::make_unique<SmartFunctionCtrl>(std::move(callback), &param));
  }
  // Deletes every control in list order, then empties the list.
  void Clear() {
    for (auto& control : controls_)
      control.reset();
    controls_.clear();
  }

  size_t Size() const { return controls_.size(); }

 private:
  std::list<std::unique_ptr<MediaControl>> controls_;
};
