#pragma once

#include <list>

class MediaControl;

// The base of every parameter: a value's list of observers (controls), told synchronously and in
// subscription order when the value changes. The list does not own its controls.
//
// A control may be subscribed more than once; it is then told once per entry. A control removed
// while the list is being walked (by itself or by another control) is not told again; its entries
// leave the list when the outermost walk ends, so removal never breaks a walk. A control added
// during a walk is reached by that walk.
//
// Copying a parameter never copies its observers: a copy starts with an empty list, and assigning
// one parameter to another keeps the target's own observers.
class MediaParam {
 public:
  MediaParam() = default;
  MediaParam(const MediaParam&) {}
  MediaParam& operator=(const MediaParam&) { return *this; }
  // Detaches every control still subscribed, in list order; controls are never deleted here.
  virtual ~MediaParam();

  // Appends the control to the end of the list (null is ignored).
  void AddControl(MediaControl* control);
  // Unlinks every entry of the control; a control that is not subscribed changes nothing.
  virtual void RemoveControl(MediaControl* control);
  // Tells every subscribed control except `source`; `source` is the control that asked for the
  // change, null for owning code and readers.
  virtual void NotifyChanged(MediaControl* source);
  // An editing command addressed to the parameter; nothing in the base.
  virtual void ExecuteCommand(int command, MediaControl* source);

  // Number of entries of live controls (duplicates count once per entry).
  int ControlCount() const;

 private:
  std::list<MediaControl*> controls_;
  int walks_ = 0;            // nested NotifyChanged calls in progress
  bool hasRemoved_ = false;  // entries cleared during a walk wait for its end
};

// The base of every observer of a parameter.
class MediaControl {
 public:
  virtual ~MediaControl() = default;
  MediaControl(const MediaControl&) = delete;
  MediaControl& operator=(const MediaControl&) = delete;

  // The watched parameter is being destroyed: a control that remembers it forgets it here, so
  // that its own destructor does not unsubscribe from a dead parameter.
  virtual void Detach() {}
  // False for every control of the program; an undo manager would skip changes from one that
  // answers true.
  virtual bool SuppressesUndo() const { return false; }
  // The watched value changed; `source` is the control that caused the change, or null.
  virtual void OnParamChanged(MediaControl* source) = 0;

 protected:
  MediaControl() = default;
};
