#pragma once

#include <cstdint>
#include <utility>

#include "core/param/smart_vector.h"

// A colour gradient: stops of {position 0..1, COLORREF} with the selected stop, one undoable
// value. A new gradient runs white (0.0), grey 0x7F7F7F (0.5), black (1.0) with the last stop
// selected.
class SmartGradientColor : public ZKW_SmartArray<std::pair<float, uint32_t>> {
 public:
  using Stop = std::pair<float, uint32_t>;

  SmartGradientColor();
  SmartGradientColor(const SmartGradientColor& other) = default;
  SmartGradientColor& operator=(const SmartGradientColor&) = delete;

  // Inserts the stop before position `index` (at the end when it equals the count; kept inside
  // the list), selects it and tells the observers. Answers the position used.
  int InsertStop(int index, const Stop& stop) { return Insert(index, stop); }
};
