#include "core/chrono/chrono_clock.h"

#include <utility>

#include "core/startup/thread_slots.h"

void RegisterWithThreadClock(const DS_SafePtr<ZKW_ChronoCtrl>& controller) {
  if (ChronoClock* clock = ChronoTlsSlot::Get()) clock->controllers.push_back(controller);
}

void TickChronoClock(ChronoClock* clock, double t) {
  if (clock == nullptr) return;
  clock->speed.Advance(t);
  const float now = clock->speed.localTime;
  auto& controllers = clock->controllers;
  size_t kept = 0;
  for (size_t i = 0; i < controllers.size(); ++i) {
    ZKW_ChronoCtrl* controller = controllers[i].Get();
    ZKW_ChronePrm* face = controller != nullptr ? controller->Face() : nullptr;
    if (face == nullptr) {
      controllers[i].Release();
      continue;
    }
    face->ApplyChronoValue(controller->GetValue(now));
    if (kept != i) controllers[kept] = std::move(controllers[i]);
    ++kept;
  }
  controllers.resize(kept);
}
