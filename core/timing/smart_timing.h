#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "core/ds_safe_ptr.h"
#include "core/object/ds_iof_item.h"
#include "core/param/media_param_t.h"
#include "core/timing/zkw_timing.h"

// The timing part of every scene-object description: which kind of timeline the object uses,
// one kept timeline per kind that has been used, and the current one.
//
// The parameter face is the kind: 0 continuous, 1 random, 2 manual, 3 dependent. Setting it with
// notification makes the timeline kept for that kind current, creating a default one (by class
// name) the first time; a timeline made once is kept with its settings while the kind is switched
// away and back. The current timeline is always also kept under the current kind (both handles
// share one holder), except when the kind is outside 0..3 or the stored timeline could not be
// read: then the current one is held without a slot.
//
// Copies (a description's run-time copy) share the current and kept timelines.
class ZKW_SmartTiming : public virtual DS_IOF_Item, public MediaParamT<int> {
 public:
  static constexpr int kKindCount = 4;
  // Flag bit: the object's local time is never scaled by the timeline value.
  static constexpr uint32_t kUnscaledLocalTime = 0x20;
  // Flag bit set by several object kinds at construction; nothing in the player tests it.
  static constexpr uint32_t kKindMarker = 0x1;

  // Kind 0, whose continuous timeline is created and made current at once.
  ZKW_SmartTiming();
  // Copies kind, time mode, flags, default durations and clock; shares the timelines.
  ZKW_SmartTiming(const ZKW_SmartTiming& other);
  ZKW_SmartTiming& operator=(const ZKW_SmartTiming&) = delete;
  ~ZKW_SmartTiming() override;

  // "ZKW_SmartTiming" version 1: Int32 kind, Int32 time mode, Dword flags, then the current
  // timeline's own record.
  bool Save(DS_IOF_Archive& archive) const override;
  // The body after the header: kind and time mode into their values without notification, the
  // flags, then the timeline by class name; it becomes current, is kept under the kind and is
  // Reset. A class that the timeline registry does not hold (the stream has failed by then)
  // leaves a continuous timeline current instead, so that every later call is safe.
  void Read(DS_IOF_Archive& archive, uint32_t version);

  // The kind's notification: picks or creates the timeline of the new kind (see the class
  // comment), then tells the kind's other controls. A kind outside 0..3 keeps the current
  // timeline.
  void OnKindChanged(MediaControl* source);
  void NotifyChanged(MediaControl* source) override { OnKindChanged(source); }
  void ExecuteCommand(int /*command*/, MediaControl* /*source*/) override {}

  // Makes the timeline current and keeps it under the current kind; the handles it replaces are
  // released; null changes nothing. Used by the legacy conversion, the sound objects and old
  // records of other kinds.
  void SetTiming(std::unique_ptr<ZKW_Timing> timing);
  // Keeps `timing` as the timeline of `kind`, replacing the one kept there; when `kind` is the
  // current kind it also becomes current. An empty handle or a kind outside 0..3 changes nothing.
  // Used by kinds that own a timeline of their own (flat textured text).
  void KeepTiming(int kind, DS_SafePtr<ZKW_Timing> timing);

  int Kind() const { return Value(); }
  // The current timeline; null only when a kind's default timeline could not be created (no
  // timeline classes registered).
  ZKW_Timing* Current() const { return current_.Get(); }
  const DS_SafePtr<ZKW_Timing>& CurrentHandle() const { return current_; }
  // How visible the object is, 0 to 1: the current timeline's value; 1 without a timeline.
  float TimelineValue() const { return current_.Get() != nullptr ? current_->GetValue() : 1.0f; }
  // The timeline kept for a kind (empty for a kind never used, or outside 0..3).
  DS_SafePtr<ZKW_Timing> Kept(int kind) const;

  // 2: the object's local time advances by the frame step times the timeline value; 1: particle
  // systems take the value as their root opacity; 0: neither.
  MediaParamT<int> timeMode{0};
  uint32_t flags = 0;
  // Defaults a new random timeline takes (InitFrom), in seconds; not stored.
  float defaultFadeIn = 0.5f;
  float defaultShown = 1.0f;
  float defaultFadeOut = 0.5f;
  // The object's clock, advanced by ZKW_RenderObj::AdvanceTime.
  float lastTime = 0.0f;
  float localTime = 0.0f;

 private:
  static bool IsKind(int kind) { return kind >= 0 && kind < kKindCount; }
  void MakeCurrent(DS_SafePtr<ZKW_Timing> timing);

  DS_SafePtr<ZKW_Timing> current_;
  std::array<DS_SafePtr<ZKW_Timing>, kKindCount> kept_;
};
