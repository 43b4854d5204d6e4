#pragma once

#include "core/graph/graph_spread_prm.h"
#include "core/param/media_param_t.h"

// One straight segment of a line node's ribbon: its length is the parameter's own value, and two
// envelopes over the segment give its width and its opacity along it.
class ZKW_StraightWidehtLine : public MediaParamT<unsigned> {
 public:
  // Length 100, opacity 1 (a transparency percent of 0), width 25, no spread, constant envelopes.
  ZKW_StraightWidehtLine();

  unsigned Length() const { return Value(); }

  GraphSpreadPrm opacity{0, -0.01f};  // stored transparency percent p gives 1 - p / 100
  GraphSpreadPrm width{25, 1.0f};
};
