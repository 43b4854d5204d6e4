#include "objects/text3d/ac_clock.h"

#include "objects/text3d/ds_clock_constructor.h"
#include "platform/sys/local_time.h"
#include "player/render/matrix_values.h"

AC_Static::AC_Static(DS_ClockConstructor* owner) : owner(owner) {
  owner->WatchDial();
  owner->PlaceDialBounds();
  Follow();
}

void AC_Static::Follow() {
  const MediaRectangle& rect = owner->clockRect;
  translation = TranslationMatrix(static_cast<float>(rect.extra1.Value()),
                                  static_cast<float>(rect.extra2.Value()), 0.0f);
  const float s = static_cast<float>(owner->size.Value());
  scale = ScalingMatrix(s, s, s);
}

void AC_Static::Compute(TransformNode* node) {
  Follow();
  node->world = scale * node->local * translation;
}

float AC_ClockArrow::AngleAt(int hour, int minute, int second) const {
  if (hourHand != 0)
    return (static_cast<float>(hour % 12) + static_cast<float>(minute) / 60.0f) * 30.0f;
  return (static_cast<float>(minute) + static_cast<float>(second) / 60.0f) * 6.0f;
}

void AC_ClockArrow::Compute(TransformNode* node) {
  if (const auto now = sys::CurrentLocalTime()) {
    turned_ = node->local * RotationYDegrees(AngleAt(now->hour, now->minute, now->second));
  } else if (!turned_) {
    turned_ = node->local;
  }
  node->world = *turned_;
}
