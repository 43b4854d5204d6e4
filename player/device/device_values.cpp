#include "player/device/device_values.h"

DeviceValues& GetDeviceValues() {
  static DeviceValues values;
  return values;
}
