#pragma once

#include "core/param/media_param_tb.h"
#include "core/param/undo_ctrl.h"

// A parameter with undo: MediaParamTB<T> plus its own undo control, which is the first control of
// the list and lives exactly as long as the parameter.
template <class T>
class MediaParamT : public MediaParamTB<T> {
 public:
  MediaParamT() : undo_(this) { SubscribeUndo(); }
  explicit MediaParamT(const T& value) : MediaParamTB<T>(value), undo_(this) { SubscribeUndo(); }
  // Copies the value only: the copy has its own fresh undo control and no other observers.
  MediaParamT(const MediaParamT& other) : MediaParamTB<T>(other.Value()), undo_(this) {
    SubscribeUndo();
  }
  // Takes the other's value silently (handles are shared); the observers stay.
  MediaParamT& operator=(const MediaParamT& other) {
    if (this != &other) SetValueSilently(other.Value());
    return *this;
  }

  // Stores with no comparison and no notification; the undo control's saved copy follows.
  void SetValueSilently(const T& value) {
    this->RawValue() = value;
    undo_.OnParamChanged(nullptr);
  }

  UndoCtrlT<T>& UndoControl() { return undo_; }
  const UndoCtrlT<T>& UndoControl() const { return undo_; }

 private:
  void SubscribeUndo() {
    this->AddControl(&undo_);
    undo_.OnParamChanged(nullptr);
  }

  UndoCtrlT<T> undo_;
};

// A float parameter stored directly as a float; its editing commands step the value by one.
class ZKW_MediaFloat : public MediaParamT<float> {
 public:
  using MediaParamT<float>::MediaParamT;

  // Command 0 adds 1.0, command 1 subtracts 1.0, any other does nothing. A step that leaves the
  // value unchanged (a value too large for 1.0 to matter) notifies nobody.
  void ExecuteCommand(int command, MediaControl* source) override {
    if (command != 0 && command != 1) return;
    SetValue(Value() + (command == 0 ? 1.0f : -1.0f), source);
  }
};
