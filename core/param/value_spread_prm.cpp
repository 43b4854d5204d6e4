#include "core/param/value_spread_prm.h"

#include "core/param/param_reads.h"

void ReadValueSpread(DS_IOF_Archive& archive, ValueSpreadPrm& param) {
  ReadChangedUInt32(archive, param.value);
  ReadChangedUInt32(archive, param.spread);
}

void WriteValueSpread(DS_IOF_Archive& archive, const ValueSpreadPrm& param) {
  archive.io().WriteUInt32(param.value.Value());
  archive.io().WriteUInt32(param.spread.Value());
}
