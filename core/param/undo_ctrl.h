#pragma once

#include <cstddef>
#include <iterator>
#include <list>
#include <utility>

#include "core/param/media_param_tb.h"

class UndoCtrl;

// Decides which parameter changes become undo steps. The player attaches none; a manager that
// is attached is told of every change whose source is a control that does not suppress undo.
class UndoManager {
 public:
  virtual ~UndoManager() = default;
  // Called before the undo control takes the new value: its saved copy is still the old one.
  virtual void Record(UndoCtrl* control, MediaControl* source) = 0;
};

// The process-wide undo manager, null unless one is attached (main thread only).
UndoManager* GetUndoManager();
void SetUndoManager(UndoManager* manager);

// The undo face of a control: steps its parameter back and forth through its history.
class UndoCtrl : public MediaControl {
 public:
  virtual void Undo() = 0;
  virtual void Redo() = 0;
  virtual void Commit() = 0;
};

// The undo control embedded in every MediaParamT<T>: it keeps a copy of the value as of the last
// change and a history of earlier values, newest first, at most kMaxHistory entries. Without an
// undo manager the history stays empty and only the saved copy follows the value.
//
// The owner is the parameter whose value it keeps: a MediaParamTB<T>, or any parameter with the
// same Value(), SetValue(value, source) and RemoveControl (list parameters keep their own).
// With `kOnlyChanges` a change is recorded only when the value differs from the saved copy (a
// list command that moved nothing is no undo step).
template <class T, class Owner = MediaParamTB<T>, bool kOnlyChanges = false>
class UndoCtrlT final : public UndoCtrl {
 public:
  static constexpr size_t kMaxHistory = 20;

  explicit UndoCtrlT(Owner* owner) : owner_(owner) {}
  ~UndoCtrlT() override {
    if (owner_ != nullptr) owner_->RemoveControl(this);
  }

  void Detach() override { owner_ = nullptr; }

  void OnParamChanged(MediaControl* source) override {
    bool changed = true;
    if constexpr (kOnlyChanges) changed = owner_ == nullptr || !(owner_->Value() == saved_);
    if (source != nullptr && !source->SuppressesUndo() && changed) {
      if (UndoManager* manager = GetUndoManager()) manager->Record(this, source);
    }
    if (owner_ != nullptr) saved_ = owner_->Value();
  }

  // Makes the saved copy the newest history entry, dropping what could have been redone.
  void Commit() override {
    if (!history_.empty() && current_ != history_.begin()) {
      history_.erase(history_.begin(), current_);
    }
    history_.push_front(saved_);
    if (history_.size() > kMaxHistory) history_.pop_back();
    current_ = history_.begin();
  }

  // Exchanges the saved copy with the entry to undo and moves one entry older, then writes the
  // saved copy back. The exchange keeps the undone value in the entry for Redo.
  void Undo() override {
    if (!history_.empty() && current_ != history_.end()) {
      using std::swap;
      swap(saved_, *current_);
      ++current_;
    }
    WriteBack();
  }

  void Redo() override {
    if (!history_.empty() && current_ != history_.begin()) {
      --current_;
      using std::swap;
      swap(saved_, *current_);
    }
    WriteBack();
  }

  const T& Saved() const { return saved_; }
  const std::list<T>& History() const { return history_; }
  // Entries that Undo can still bring back.
  size_t UndoDepth() const {
    typename std::list<T>::const_iterator from = current_;
    return static_cast<size_t>(std::distance(from, history_.cend()));
  }

 private:
  // Stores the saved copy into the parameter when it differs; the notification skips this
  // control, so the saved copy is not overwritten by its own write-back.
  void WriteBack() {
    if (owner_ != nullptr) owner_->SetValue(saved_, this);
  }

  T saved_{};
  Owner* owner_;
  std::list<T> history_;
  typename std::list<T>::iterator current_ = history_.end();
};
