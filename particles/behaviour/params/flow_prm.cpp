#include "particles/behaviour/params/flow_prm.h"

#include "core/param/param_reads.h"

void ReadFlowPrm(DS_IOF_Archive& archive, FlowPrm& param) {
  ReadBlockVersion(archive);
  ReadValueSpread(archive, param.speed);
  ReadChangedUInt32(archive, param.direction);
  ReadChangedUInt32(archive, param.scatter);
}

void WriteFlowPrm(DS_IOF_Archive& archive, const FlowPrm& param) {
  archive.io().WriteInt32(1);
  WriteValueSpread(archive, param.speed);
  archive.io().WriteUInt32(param.direction.Value());
  archive.io().WriteUInt32(param.scatter.Value());
}
