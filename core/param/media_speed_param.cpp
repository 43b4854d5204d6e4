#include "core/param/media_speed_param.h"

#include "core/clock_step.h"

void MediaSpeedParam::Advance(double t) {
  step = Scaled() * ClockStep(lastTime, t);
  localTime += step;
}
