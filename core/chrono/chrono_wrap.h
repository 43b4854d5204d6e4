#pragma once

#include <cstdint>
#include <memory>
#include <type_traits>
#include <utility>

#include "core/archive/ds_iof_archive.h"
#include "core/chrono/smart_chrono_ctrl.h"
#include "core/param/param_reads.h"

// A parameter P that pulses over time: P itself (an unsigned parameter: UINTSclaleTo<float>,
// ZKW_SmartAlpha or MediaParamT<unsigned>) plus the time-window controller that drives it. Each
// tick of the thread's chrono clock sets the modulated value to P's value (its scaled value, or
// the unsigned value itself) times the controller's value; the owner reads Modulated() where it
// would read the plain parameter.
//
// A wrapper is the face of exactly one controller, so it is not copied.
template <class P>
class ChronoWrap : public P, public ZKW_ChronePrm {
 public:
  // P with its defaults; the default controller (registered with this thread's clock) is hooked
  // to this wrapper.
  ChronoWrap() { HookController(); }
  // P made from the arguments (for example value, factor and offset of a scaled parameter).
  template <class A, class... Rest>
  requires(!std::is_base_of_v<ChronoWrap, std::remove_cvref_t<A>>) explicit ChronoWrap(
      A&& first, Rest&&... rest)
      : P(std::forward<A>(first), std::forward<Rest>(rest)...) {
    HookController();
  }
  // The controller is let go; the clock drops it at its next tick.
  ~ChronoWrap() {
    if (ZKW_ChronoCtrl* controller = chrono.Chrono()) controller->SetFace(nullptr);
  }
  ChronoWrap(const ChronoWrap&) = delete;
  ChronoWrap& operator=(const ChronoWrap&) = delete;

  void ApplyChronoValue(float v) override {
    if constexpr (requires(const P& p) { p.Scaled(); }) {
      modulated = static_cast<float>(this->Scaled()) * v;
    } else {
      modulated = static_cast<float>(this->Value()) * v;
    }
  }

  float Modulated() const { return modulated; }

  // Unhooks the current controller (the clock drops it at its next tick), installs and
  // registers `controller` and hooks it to this wrapper. An empty handle changes nothing.
  void ReplaceChrono(const DS_SafePtr<ZKW_ChronoCtrl>& controller) {
    if (!controller) return;
    if (ZKW_ChronoCtrl* old = chrono.Chrono()) old->SetFace(nullptr);
    chrono.SetChrono(controller);
    controller->SetFace(this);
  }

  ZKW_SmartChronoCtrl chrono;
  float modulated = 0.0f;  // the last product pushed by the clock
  int32_t flag = 1;

 private:
  void HookController() {
    if (ZKW_ChronoCtrl* controller = chrono.Chrono()) controller->SetFace(this);
  }
};

// Int32 (read and not kept), UInt32 value (stored and notified when it differs), then the
// controller record by class name, which replaces the wrapper's controller. A record whose class
// no registry holds leaves the controller as it was (and fails the stream).
template <class P>
void ReadChronoWrap(DS_IOF_Archive& archive, ChronoWrap<P>& wrapper) {
  int32_t unused = 0;
  archive.io().ReadInt32(unused);
  ReadChangedUInt32(archive, wrapper);
  if (std::unique_ptr<ZKW_ChronoCtrl> controller = ReadChronoCtrl(archive)) {
    wrapper.ReplaceChrono(DS_SafePtr<ZKW_ChronoCtrl>(std::move(controller)));
  }
}

// Int32 flag, UInt32 value, then the controller's record.
template <class P>
void WriteChronoWrap(DS_IOF_Archive& archive, const ChronoWrap<P>& wrapper) {
  archive.io().WriteInt32(wrapper.flag);
  archive.io().WriteUInt32(wrapper.Value());
  if (const ZKW_ChronoCtrl* controller = wrapper.chrono.Chrono()) controller->Save(archive);
}
