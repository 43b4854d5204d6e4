#include "core/param/smart_gradient_color.h"

SmartGradientColor::SmartGradientColor() {
  InsertStop(0, {0.0f, 0xFFFFFF});
  InsertStop(1, {0.5f, 0x7F7F7F});
  InsertStop(2, {1.0f, 0x000000});
}
