#pragma once

#include "core/archive/ds_iof_archive.h"
#include "core/graph/zkw_custom_graph.h"
#include "core/param/value_spread_prm.h"

// A value and spread whose factor also follows an envelope graph over x in [0, 1] (a particle's
// life fraction, the position along a stripe, the part of a time window that has passed).
struct GraphSpreadPrm : ValueSpreadPrm {
  using ValueSpreadPrm::ValueSpreadPrm;

  // The value-and-spread factor for the random number r times the envelope at x.
  float FactorAt(float r, float x, unsigned* cursor) const {
    return Factor(r) * envelope.ValueAt(x, cursor);
  }

  ZKW_CustomGraph envelope;
};

// The envelope's graph record, read by class name (a class the registry does not hold leaves the
// graph as it was and fails the stream), then UInt32 value and UInt32 spread percent, each
// stored and notified only when it differs. No version word.
void ReadGraphSpreadPrm(DS_IOF_Archive& archive, GraphSpreadPrm& param);
// The graph's record, then the value and the spread percent as UInt32.
void WriteGraphSpreadPrm(DS_IOF_Archive& archive, const GraphSpreadPrm& param);
