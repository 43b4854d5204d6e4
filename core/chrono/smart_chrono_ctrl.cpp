#include "core/chrono/smart_chrono_ctrl.h"

#include <memory>

#include "core/chrono/chrono_clock.h"
#include "core/chrono/zkw_chrono_default.h"

ZKW_SmartChronoCtrl::ZKW_SmartChronoCtrl() {
  SetChrono(DS_SafePtr<ZKW_ChronoCtrl>(std::make_unique<ZKW_Chrono_Default>()));
}

void ZKW_SmartChronoCtrl::SetChrono(const DS_SafePtr<ZKW_ChronoCtrl>& controller) {
  SetValue(controller);
  RegisterWithThreadClock(controller);
}
